// The words of the cutting plan's lines as the windows that show the plan register them: built-in
// (Dutch), by the names a language file's [frmCutPlan] and [frmBoards] translate them with; %1, %2 ...
// stand for the figures. The cut plan window and the boards window's sheet plan share them.
#pragma once

#include "layouter/CutPlanText.h"

#include <functional>
#include <string>

namespace kelvra
{

struct CutPlanWord {
    const char* name;
    const char* builtIn;
    std::string CutPlanWords::*member;
};

inline const CutPlanWord kCutPlanWords[] = {
    {"planCm", "%1 cm", &CutPlanWords::cm},
    {"planMm", "%1 mm", &CutPlanWords::mm},
    {"planSize", "%1 x %2", &CutPlanWords::size},
    {"planSheet", "Plaat: %1, %2", &CutPlanWords::sheet},
    {"planOneSheet", "%1 plaat", &CutPlanWords::oneSheet},
    {"planSheets", "%1 platen", &CutPlanWords::sheets},
    {"planKerf", "Zaagsnede: %1 breed", &CutPlanWords::kerf},
    {"planCuts", "Zaagsneden: %1, samen %2 lang", &CutPlanWords::cutCount},
    {"planWaste", "Afval: %1 % van de platen", &CutPlanWords::waste},
    {"planLargest", "Grootste restje: %1", &CutPlanWords::largest},
    {"planNoLeftover", "Grootste restje: geen", &CutPlanWords::noLeftover},
    {"cutHead", "%1. Plaat %2, stuk %3", &CutPlanWords::cutHead},
    {"cutStraightDown", "zaag %1 vanaf de linkerrand, van boven naar beneden, %2 lang",
     &CutPlanWords::straightDown},
    {"cutStraightAcross", "zaag %1 vanaf de bovenrand, van links naar rechts, %2 lang",
     &CutPlanWords::straightAcross},
    {"cutGivesPiece", "geeft stuk %1, de rest verdwijnt in de zaagsnede", &CutPlanWords::givesPiece},
    {"cutGivesPieces", "geeft stukken %1 en %2", &CutPlanWords::givesPieces},
    {"cutSlanted",
     "schuine snede onder %1\u00b0 met de %2 (%3\u00b0 uit haaks), van %4 naar rechts en %5 omlaag tot %6 "
     "naar rechts en %7 omlaag vanaf de linkerbovenhoek van het stuk, %8 lang",
     &CutPlanWords::slanted},
    {"cutTopAndBottom", "boven- en onderrand", &CutPlanWords::topAndBottom},
    {"cutLeftAndRight", "linker- en rechterrand", &CutPlanWords::leftAndRight},
    {"cutParts", "scheidt %1 van %2", &CutPlanWords::parts},
    {"cutTrims", "zaagt %1 op vorm, de rest is afval", &CutPlanWords::trims},
    {"boardPlace", "%1 (%2): plaat %3, %4", &CutPlanWords::boardPlace},
    {"boardWhere", "%1 van links, %2 van boven", &CutPlanWords::where},
    {"boardTurned", "gedraaid", &CutPlanWords::turned},
    {"boardNested", "kop aan staart met %1", &CutPlanWords::nested},
    {"offcutPlace", "Stuk %1 (%2): plaat %3, %4", &CutPlanWords::offcutPlace},
    {"bevelCut", "%1. Verstek: %2, kant %3 (%4): %5", &CutPlanWords::bevel},
    {"bevelTilt", "zaagblad %1 gekanteld", &CutPlanWords::bladeTilt},
    {"bevelTiltOnEdge", "zaagblad %1 gekanteld met de plank op haar kant (%2 uit haaks)",
     &CutPlanWords::bladeTiltOnEdge},
    {"bevelOuterLong", "de buitenkant lang", &CutPlanWords::outerLong},
    {"bevelInnerLong", "de binnenkant lang", &CutPlanWords::innerLong},
};

// The plan's words as a window's texts have them, `text` reading one by its name.
inline CutPlanWords cutPlanWords(const std::function<std::string(const char*)>& text)
{
    CutPlanWords words;
    for (const CutPlanWord& w : kCutPlanWords)
        words.*w.member = text(w.name);
    return words;
}

} // namespace kelvra
