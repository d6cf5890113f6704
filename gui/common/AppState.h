// The run-wide state that several windows share. frmMain owns the one instance for the whole run and
// hands it to every window it opens; nothing else of the program is global.
#pragma once

#include "acoustics/Woofer.h"
#include "calc/Model.h"
#include "calc/Recalculate.h"
#include "lang/LanguageFiles.h"
#include "lang/TextTables.h"
#include "persist/Ini.h"
#include "units/Units.h"

#include <string>
#include <vector>

namespace kelvra
{

struct AppState {
    AppState(AppPaths paths, char separator) : ini(std::move(paths)), decimalSeparator(separator) {}

    IniStore ini;          // the settings file and named INI files
    char decimalSeparator; // of the user's locale, for every number text
    // The system every length and volume is typed and shown in ("Measure" of section "Settings"); the
    // model and the project files stay metric.
    Measure measure = Measure::Metric;
    TextTables tables = ResetTextTables();

    // A mirror of what frmMain's controls hold, kept current by frmMain on every change; the other
    // windows read it, only frmMain writes it.
    ModelInputs inputs;
    // The derived measures, result captions and figure of the last recalculation; only frmMain's
    // recalculation writes them.
    CalcState calc;
    bool simulationOn = false;

    // The woofer's parameters and the sound options as typed in the sound window, kept here so that the
    // project file carries them while that window is closed.
    WooferTexts sound;

    LayoutStrings layoutStrings{};  // the layouter's placement texts, saved in project files
    std::string currentProjectFile; // file name with ".tbx", no folder; empty when none

    int useCount = 1;
    int editionStatus = 1;
    bool betaBuild = false;

    std::vector<LanguageRow> languages; // the usable language files, in file-name order
    bool languagesFound = false;
    int languageIndex = 0;
};

} // namespace kelvra
