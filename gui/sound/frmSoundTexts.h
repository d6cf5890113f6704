// The sound window's texts that no control shows by itself, built-in (Dutch), by the names a
// language file's [frmSound] translates them with.
#pragma once

#include <array>
#include <utility>

namespace kelvra
{

inline constexpr std::array<std::pair<const char*, const char*>, 57> kSoundTexts = {{
    {"dlgSaveWoofer", "Woofer opslaan"},
    {"dlgWooferName", "Naam van de woofer:"},
    {"wooferNamed", "Woofer: %1"},
    {"msgFieldWrong", "Geen curve tot %1 verbeterd is."},
    {"resFb", "Fb (afstemming van de poort): %1 Hz"},
    {"resPortLength", "Poortlengte voor %1 Hz: %2 cm"},
    {"resNoPortLength", "Geen poortlengte haalt %1 Hz met deze poorten."},
    {"resTypeTarget", "Typ een doel-Fb voor de poortlengte die het haalt."},
    {"resSealedFb", "Fb: geen, de box is gesloten (geen poort)."},
    {"resChoosePort", "Kies een poort in het hoofdvenster voor een poortlengte."},
    {"msgNoWoofer", "Typ de parameters van de woofer of laad er een uit de bibliotheek voor de curves."},
    {"resNotReached", "niet gehaald"},
    {"resSealed", "Gesloten: Qtc %1, Fc %2 Hz, F3 %3"},
    {"resVented", "Met poort: F3 %1"},
    {"resSensitivity", "Gevoeligheid: %1 dB (1 W / 1 m)"},
    {"resSensitivityN", "Gevoeligheid: %1 dB (%2 woofers, 1 W samen / 1 m)"},
    {"resLoad", "Belasting van de versterker: %1 Ω (%2 woofer(s))"},
    {"resNotInRange", "niet van 10 tot 200 Hz"},
    {"resFullPowerVented", "Bij het nominale %1 W: Xmax bij %2, %3 m/s bij %4"},
    {"resFullPower", "Bij het nominale %1 W: Xmax bij %2"},
    {"resPipeResonance", "Resonantie van de poortbuis: %1 Hz"},
    {"resThisBox", "deze box %1 l, %2 l %3"},
    {"resMore", "meer"},
    {"resLess", "minder"},
    {"resSuggestedSealed", "Voorstel gesloten (Qtc 0.707): %1 l, F3 %2 Hz (%3)"},
    {"resNoSuggestedSealed", "Voorstel gesloten: geen, Qts is 0.707 of meer"},
    {"resSuggestedVented", "Voorstel met poort (vlak): %1 l, Fb %2 Hz, F3 %3 Hz (%4)"},
    {"resNoSuggestedVented", "Voorstel met poort: geen zonder bult"},
    {"resXmaxAt", "Xmax (%1 mm) gehaald bij %2 Hz"},
    {"resXmaxNot", "Xmax (%1 mm) niet gehaald van 10 tot 200 Hz"},
    {"resNoPortSpeed", "Luchtsnelheid in de poort: geen poort"},
    {"resPortSpeedAt", "Luchtsnelheid in de poort %1 m/s gehaald bij %2 Hz"},
    {"resPortSpeedNot", "Luchtsnelheid in de poort blijft onder %1 m/s van 10 tot 200 Hz"},
    {"dlgExportCsv", "De curves exporteren"},
    {"filterCsv", "CSV-bestanden (*.csv)"},
    {"dlgExportPng", "De grafieken exporteren"},
    {"filterPng", "PNG-afbeeldingen (*.png)"},
    {"msgNeedsSimulation",
     "De figuren vragen de simulatiemodus: zet die aan met \"Simulatie\" (F5) in het hoofdvenster."},
    {"chartSpl", "Geluidsdruk op 1 m"},
    {"chartSplLine1", "SPL"},
    {"chartSplLine2", "SPL met versterking in de auto"},
    {"chartExcursion", "Conusuitslag"},
    {"chartExcursionLine1", "Uitslag"},
    {"chartExcursionLine2", "Xmax"},
    {"chartPortSpeed", "Luchtsnelheid in de poort"},
    {"chartPortSpeedLine1", "Luchtsnelheid"},
    {"chartPortSpeedLine2", "Grens"},
    {"chartMaxSpl", "Maximale SPL (Xmax of nominaal vermogen)"},
    {"chartMaxSplLine1", "Maximale SPL"},
    {"chartMaxPower", "Maximaal vermogen (Xmax of nominaal vermogen)"},
    {"chartMaxPowerLine1", "Maximaal vermogen"},
    {"chartMaxPowerLine2", "Nominaal vermogen"},
    {"chartImpedance", "Impedantie"},
    {"chartImpedanceLine1", "Impedantie"},
    {"chartImpedanceLine2", "Fase"},
    {"chartGroupDelay", "Groepsvertraging"},
    {"chartGroupDelayLine1", "Groepsvertraging"},
}};

} // namespace kelvra
