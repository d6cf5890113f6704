#include "persist/ProjectFile.h"

#include <array>

namespace kelvra
{

namespace
{

// Section "DATA" in the order it is written and read.
constexpr std::array<std::string_view, 21> kDataOrder = {
    "sub", "pieces0", "pieces1", "pieces2", "corr", "pwhere", "ptype",  "h2",     "l3",     "b2",    "ca",
    "cb",  "lp",      "dp",      "bp",      "hp",   "thick0", "thick1", "thick2", "subvol", "vother"};

} // namespace

std::vector<std::string> ProjectContents::replacedKeys() const
{
    std::vector<std::string> keys;
    for (const StoredValue& v : values)
        if (v.replaced && v.key)
            keys.emplace_back(v.key->name);
    return keys;
}

IniWriteStatus WriteProject(const IniStore& ini, std::string_view folder, std::string_view fileName,
                            const ModelInputs& inputs, const LayoutStrings& layoutStrings,
                            const WooferTexts* woofer)
{
    IniWriteStatus status = IniWriteStatus::Ok;
    const auto write = [&](std::string_view section, std::string_view key, std::string_view value) {
        if (ini.WriteIni(section, key, value, fileName, folder) != IniWriteStatus::Ok)
            status = IniWriteStatus::Failed;
    };
    write("MAIN", "fid", kProjectFormatTag);
    for (std::string_view name : kDataOrder) {
        const ModelKey& key = *findModelKey(name);
        write("DATA", name,
              key.kind == KeyKind::List ? std::to_string(listPosition(inputs, key)) : textOf(inputs, key));
    }
    for (std::size_t i = 0; i < kLayoutKeys.size(); ++i)
        write("LAYOUT", kLayoutKeys[i], layoutStrings[i]);
    for (std::string_view key : kExtraLayoutKeys) {
        const auto text = layoutStrings.extra.find(key);
        write("LAYOUT", key, text == layoutStrings.extra.end() ? std::string_view() : text->second);
    }
    if (woofer)
        for (std::size_t i = 0; i < kWooferKeys.size(); ++i)
            write(kWooferSection, kWooferKeys[i], woofer->text[i]);
    return status;
}

ProjectContents ReadProject(const IniStore& ini, std::string_view folder, std::string_view fileName,
                            const LayoutStrings& current, char separator)
{
    ProjectContents contents;
    contents.fid = ini.ReadIni("MAIN", "fid", "v0", fileName, folder);
    contents.oldVersion = contents.fid != kProjectFormatTag;
    contents.values.reserve(kDataOrder.size());
    for (std::string_view name : kDataOrder) {
        const ModelKey& key = *findModelKey(name);
        contents.values.push_back(ConvertStoredValue(
            key, ini.ReadIni("DATA", name, StoredDefault(key), fileName, folder), separator));
    }
    for (std::size_t i = 0; i < kLayoutKeys.size(); ++i)
        contents.layoutStrings[i] = ini.ReadIni("LAYOUT", kLayoutKeys[i], current[i], fileName, folder);
    // Files without these keys keep the current texts, as for the seven boards.
    contents.layoutStrings.extra = current.extra;
    for (std::string_view key : kExtraLayoutKeys) {
        const auto now = current.extra.find(key);
        std::string text =
            ini.ReadIni("LAYOUT", key, now == current.extra.end() ? "" : now->second, fileName, folder);
        if (text.empty())
            contents.layoutStrings.extra.erase(std::string(key));
        else
            contents.layoutStrings.extra[std::string(key)] = std::move(text);
    }
    for (std::size_t i = 0; i < kWooferKeys.size(); ++i)
        contents.woofer.text[i] = ini.ReadIni(kWooferSection, kWooferKeys[i], "", fileName, folder);
    return contents;
}

} // namespace kelvra
