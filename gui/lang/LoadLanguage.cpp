#include "gui/lang/LoadLanguage.h"

#include "gui/common/MessageService.h"
#include "lang/ApplyLanguage.h"
#include "persist/Settings.h"

#include <array>
#include <string_view>

namespace kelvra
{

namespace
{

void showAll(MainWindowHost& host, const std::vector<Message>& messages)
{
    for (const Message& m : messages)
        messageService().show(host.window(), m);
}

} // namespace

void FindLanguages(MainWindowHost& host)
{
    AppState& app = host.app();
    LanguageDiscovery d = DiscoverLanguages(app.ini, app.decimalSeparator, host.caption());
    app.languages = std::move(d.search.languages);
    app.languagesFound = d.languagesFound;
    if (d.languagesFound)
        app.languageIndex = d.languageIndex;
    showAll(host, d.messages);
}

void Load_Language(MainWindowHost& host, LanguageTarget& window, LanguageLoad when)
{
    AppState& app = host.app();
    const std::vector<Message> messages =
        ApplyChosenLanguage(app.ini, app.languages, app.languagesFound, app.languageIndex, app.tables, window,
                            app.decimalSeparator);
    showAll(host, messages);
    host.refillTextLists();
    if (when == LanguageLoad::Change) {
        // The lists keep the user's choices; captions a language file set (the results too) are
        // brought back to the design's figures.
        host.runRecalculate();
        return;
    }
    // The last inputs of the settings file count at start only.
    static constexpr std::array<std::string_view, 3> kListKeys = {"corr", "pwhere", "ptype"};
    for (std::string_view name : kListKeys) {
        if (const ModelKey* key = findModelKey(name))
            host.setModelListPosition(*key, LoadListSetting(app.ini, name, app.decimalSeparator));
    }
}

} // namespace kelvra
