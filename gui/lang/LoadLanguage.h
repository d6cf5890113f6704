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

// Resets the text tables; with language files, applies row languageIndex to the window and to the
// tables and writes "Language" back; then refills the three text-dependent lists and sets them
// from "corr", "pwhere" and "ptype" of the settings file.
void Load_Language(MainWindowHost& host, LanguageTarget& window);

} // namespace kelvra
