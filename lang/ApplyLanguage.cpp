#include "lang/ApplyLanguage.h"

#include "calc/Numeric.h"

#include <optional>

namespace kelvra
{

namespace
{
constexpr std::string_view kHintSuffix = "_ttt";
} // namespace

void ApplyLanguageToForm(const std::string& path, LanguageTarget& window, char decimalSeparator)
{
    const std::string section = window.windowName();
    for (const std::string& key : SectionKeyNames(path, section)) {
        IndexedName split = SplitIndexedName(key, decimalSeparator);
        ControlProperty which = ControlProperty::Caption;
        if (split.name.size() >= kHintSuffix.size() &&
            std::string_view(split.name).substr(split.name.size() - kHintSuffix.size()) == kHintSuffix) {
            which = ControlProperty::HintText;
            split.name.resize(split.name.size() - kHintSuffix.size());
        }
        const std::optional<int> index = split.indexed ? std::optional<int>(split.index) : std::nullopt;
        const std::optional<std::string> current = window.property(split.name, index, which);
        if (!current)
            continue;
        window.setProperty(split.name, index, which,
                           languageText(ReadLanguageValue(path, section, key, *current)));
    }
}

LanguageDiscovery DiscoverLanguages(const IniStore& ini, char decimalSeparator, const std::string& caption)
{
    LanguageDiscovery d;
    d.search = FindLanguageFiles(ini.paths().programFolder);
    d.messages = d.search.messages;
    d.languagesFound = d.search.found();
    if (d.languagesFound) {
        const Result<std::int16_t> stored =
            toInt16(ini.ReadIni("Settings", "Language", "0"), decimalSeparator);
        d.languageIndex = (stored && *stored > 0) ? *stored : 0;
    } else {
        d.messages.push_back({"Couldn't find any language file. Using Standard.", caption,
                              MessageIcon::Information, MessageButtons::Ok});
    }
    return d;
}

std::vector<Message> ApplyChosenLanguage(const IniStore& ini, const std::vector<LanguageRow>& languages,
                                         bool languagesFound, int& languageIndex, TextTables& tables,
                                         LanguageTarget& window, char decimalSeparator)
{
    std::vector<Message> messages;
    tables = ResetTextTables();
    if (!languagesFound || languages.empty())
        return messages;
    // A negative row can only come from a hand-edited state; it is treated like one past the end.
    if (languageIndex < 0 || static_cast<std::size_t>(languageIndex) >= languages.size())
        languageIndex = 0;
    const LanguageRow& row = languages[static_cast<std::size_t>(languageIndex)];
    const std::string path = languageFilePath(ini.paths().programFolder, row);
    ApplyLanguageToForm(path, window, decimalSeparator);
    for (std::string_view name : kTableNames) {
        std::vector<Message> tableMessages =
            LoadLanguageList(path, row.file, name, tables.table(name), decimalSeparator);
        messages.insert(messages.end(), tableMessages.begin(), tableMessages.end());
    }
    ini.WriteIni("Settings", "Language", std::to_string(languageIndex));
    return messages;
}

} // namespace kelvra
