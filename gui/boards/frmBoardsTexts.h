// The boards window's texts that no control shows by itself, built-in (Dutch), by the names a
// language file's [frmBoards] translates them with; %1, %2 ... stand for the figures.
#pragma once

#include <array>
#include <utility>

namespace kelvra
{

inline constexpr std::array<std::pair<const char*, const char*>, 44> kBoardsTexts = {{
    {"colBoard", "Plank"},
    {"colCount", "Aantal"},
    {"colSize", "l x b"},
    {"colThickness", "Dikte"},
    {"colBevels", "Verstek (zaaghoek)"},
    {"dlgSvg", "SVG per plaat exporteren"},
    {"filterSvg", "SVG-tekeningen (*.svg)"},
    {"dlgDxf", "DXF exporteren"},
    {"filterDxf", "DXF-tekeningen (*.dxf)"},
    {"dlgCsv", "CSV zaaglijst exporteren"},
    {"filterCsv", "CSV-bestanden (*.csv)"},
    {"dlgPdf", "Opslaan als PDF"},
    {"filterPdf", "PDF-bestanden (*.pdf)"},
    {"msgNoBoards", "Met deze maten kan geen box gebouwd worden:"},
    {"msgFollow", "Verbeter het ontwerp in het hoofdvenster; dit "
                  "venster volgt het."},
    {"bevSquare", "haaks"},
    {"bevEdge", "kant %1: %2"},
    {"bevTrapezoid", "trapezium %1"},
    {"portHole", "Poort: %1 rond gat van \u00d8 %2 cm in %3"},
    {"portHoles", "Poort: %1 ronde gaten van \u00d8 %2 cm in %3"},
    {"portSlot", "Poort: %1 sleufopening van %2 x %3 cm in %4"},
    {"portSlots", "Poort: %1 sleufopeningen van %2 x %3 cm in %4"},
    {"volExact", "Exact binnenvolume: %1 liter, exact nettovolume: %2 liter"},
    {"holeLine", "Gat, %1"},
    {"holeWoofer", "%1: uitsparing woofer \u00d8 %2 cm, midden %3 cm opzij, "
                   "%4 cm omhoog"},
    {"holePort", "%1: poortgat \u00d8 %2 cm, midden %3 cm opzij, %4 cm omhoog"},
    {"holeSlot", "%1: sleufopening %2 x %3 cm, vanaf %4 cm opzij, %5 cm omhoog"},
    {"noteBeyondSaw", "* voorbij 45\u00b0, verder dan de meeste zagen kantelen: "
                      "de tweede hoek, met de plank op haar kant, zaagt "
                      "dezelfde verbinding."},
    {"wrnTakesTooMuch", "De woofers, de poort, de tussenschotten en het overige "
                        "volume nemen meer ruimte in dan de box binnen heeft."},
    {"wrnCutoutGuess", "De gebruikelijke uitsparing van \u00d8 %1 cm past niet op "
                       "de voorzijde; typ de uitsparing van de woofer om haar "
                       "te plaatsen."},
    {"wrnClearanceRound", "De poort eindigt %1 cm van de wand ertegenover; laat "
                          "minstens %2 cm (haar diameter) vrij zodat de lucht "
                          "kan keren."},
    {"wrnClearanceSlot", "De poort eindigt %1 cm van de wand ertegenover; laat "
                         "minstens %2 cm (haar kleinste binnenmaat) vrij zodat "
                         "de lucht kan keren."},
    {"bevLongOutside", "lang buiten"},
    {"bevLongInside", "lang binnen"},
    {"picOutlinesHint",
     "Rode randen hebben verstek: het nummer van de rand, de kanteling van het zaagblad uit het "
     "haakse en de kant die het verstek lang laat."},
    {"picSheetCaption", "Plaat %1 van %2, %3"},
    {"hdrBoards", "Planken"},
    {"hdrOutlines", "Omtrekken en verstekken"},
    {"hdrBox", "De box"},
    {"hdrSheetPlan", "Plaatindeling"},
    {"hdrSheet", "Plaat %1"},
    {"hdrCuts", "Zaagsneden, in deze volgorde"},
    {"hdrPlanBoards", "Planken op de platen"},
    {"hdrOffcuts", "Restjes"},
}};

} // namespace kelvra
