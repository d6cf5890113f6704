// Applying a language file to a window and to the text tables. Plain C++: the window side shows the
// returned messages and refills its lists.
#pragma once

#include "calc/Message.h"
#include "lang/LanguageFiles.h"
#include "lang/LanguageTarget.h"
#include "lang/TextTables.h"
#include "persist/Ini.h"

#include <string>
#include <vector>

namespace kelvra
{

// Puts the captions and hint texts of the file's section named after the window into the window's
// controls, in file order. "name" sets a caption, "name_ttt" a hint text, "name(i)" and
// "name_ttt(i)" those of element i of a control array. Keys that name nothing are skipped silently.
void ApplyLanguageToForm(const std::string& path, LanguageTarget& window, char decimalSeparator);

// The language step of the start-up: the rows found, whether there are any, the stored row number
// (negative or unreadable numbers become 0) and the messages to show, in order: one per bad file,
// then, with no usable file, the notice titled with the window caption.
struct LanguageDiscovery {
    LanguageSearch search;
    bool languagesFound = false;
    int languageIndex = 0;
    std::vector<Message> messages;
};
LanguageDiscovery DiscoverLanguages(const IniStore& ini, char decimalSeparator, const std::string& caption);

// What Load_Language does before it refills the lists: the tables go back to the built-in texts;
// with language files, a row number past the last row becomes 0, the row's file is applied to the
// window and to the five tables, and "Language" of section "Settings" is written. Returns the
// messages to show.
std::vector<Message> ApplyChosenLanguage(const IniStore& ini, const std::vector<LanguageRow>& languages,
                                         bool languagesFound, int& languageIndex, TextTables& tables,
                                         LanguageTarget& window, char decimalSeparator);

} // namespace kelvra
