// The main window's language loading on top of the language core: what frmMain::Load_Language and
// the start-up's language step run, with their message boxes.
#pragma once

#include "gui/common/MainWindowHost.h"
#include "lang/LanguageTarget.h"

namespace kelvra
{

// Looks for the language files beside the program and keeps the result in the run-wide state:
// languages, languagesFound and the stored languageIndex. Shows one message per bad file, and the
// "no language file" notice titled with the window caption when none is usable.
void FindLanguages(MainWindowHost& host);

// When the language is loaded: at start the three text-dependent lists take the positions of the
// settings file's last inputs; a later change keeps the positions the user chose and recalculates.
enum class LanguageLoad { AtStart, Change };

// Resets the text tables; with language files, applies row languageIndex to the window and to the
// tables and writes "Language" back; then refills the three text-dependent lists.
void Load_Language(MainWindowHost& host, LanguageTarget& window, LanguageLoad when = LanguageLoad::Change);

} // namespace kelvra
