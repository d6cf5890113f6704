// The fit window's texts that no control shows by itself, built-in (Dutch), by the names a language
// file's [frmFit] translates them with. Units in brackets stay as they are: the window puts them into
// the program's measure.
#pragma once

#include <array>
#include <utility>

namespace kelvra
{

inline constexpr std::array<std::pair<const char*, const char*>, 41> kFitTexts = {{
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
    {"errFitNumber", "%1: geen getal: '%2'"},
    {"errFitRange", "%1: moet van %2 tot %3 zijn"},
    {"errFitPower", "Het vermogen moet meer dan 0 W zijn."},
    {"errFitBoot",
     "De diepte, hoogte en breedte van de kofferbak moeten meer dan 0 en hoogstens 1000 cm zijn."},
    {"errFitSeat", "De hoek van de achterbank moet van 30 tot 150 graden zijn."},
    {"errFitBoards", "De plankdiktes thick0 en thick2 moeten hele millimeters boven 0 zijn."},
    {"errFitVolumes",
     "De verplaatsing van de woofers subvol en het overige volume vother moeten getallen zijn."},
}};

} // namespace kelvra
