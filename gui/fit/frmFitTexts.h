// The fit window's texts that no control shows by itself, built-in (Dutch), by the names a language
// file's [frmFit] translates them with. Units in brackets stay as they are: the window puts them into
// the program's measure.
#pragma once

#include <array>
#include <utility>

namespace kelvra
{

inline constexpr std::array<std::pair<const char*, const char*>, 34> kFitTexts = {{
    {"capGoalF", "F (Hz)"},
    {"capTargetF3", "Doel-F3 (Hz)"},
    {"emptyPower", "N x Pe"},
    {"emptySubsonic", "geen"},
    {"colSize", "h2 x b2 x l3 (cm)"},
    {"colNet", "Netto (l)"},
    {"colFb", "Fb (Hz)"},
    {"colPort", "Poort"},
    {"colF3", "F3 (Hz)"},
    {"colMaxSpl", "Max. SPL bij F (dB)"},
    {"colPortSpeed", "Marge luchtsnelheid poort (m/s)"},
    {"colXmax", "Marge Xmax (mm)"},
    {"colOuter", "Buitenvolume (l)"},
    {"rowBest", "Beste"},
    {"portSealed", "gesloten"},
    {"portRound", "%1 x rond %2, lp %3"},
    {"portSlot", "sleuf %1 x %2, lp %3"},
    {"resBest", "Beste: %1 x %2 x %3 %8, %4, netto %5, F3 %6 Hz, max. SPL bij F %7 dB."},
    {"msgSearching", "Zoeken..."},
    {"msgCancelled", "Geannuleerd."},
    {"msgDesigns", "%1 ontwerpen in %2 s."},
    {"msgNoBox", "Geen box in deze kofferbak houdt zich aan elke regel voor dit doel."},
    {"msgNoWoofer", "De woofer: %1. Typ eerst zijn parameters in \"Hoe het zal klinken\" (F7)."},
    {"picDepth", "diepte"},
    {"picHeight", "hoogte"},
    {"picAngle", "hoek"},
    {"picWidth", "breedte"},
    {"chartFront", "F3 en max. SPL bij F per buitenvolume"},
    {"chartFrontLine1", "F3 (Hz)"},
    {"chartFrontLine2", "Max. SPL bij F (dB)"},
    {"chartFrontBest", "Beste (F3)"},
    {"axisVolume", "Buitenvolume (l)"},
    {"axisF3", "F3 (Hz)"},
    {"axisSpl", "dB"},
}};

} // namespace kelvra
