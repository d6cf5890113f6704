#include "print/PrintPlan.h"

#include <gtest/gtest.h>

namespace kelvra
{
namespace
{

// The main window's design sizes: a top row of three frames, a second row of two.
MainPrintGeometry designMain()
{
    MainPrintGeometry g;
    g.picture1 = {7200, 4815};
    g.picFigure = {4500, 3000};
    g.fraInfo = {120, 120, 2655, 2415};
    g.fraCorrection = {2760, 120, 2655, 2055};
    g.fraPort = {5520, 120, 2655, 2415};
    g.fraWoofer = {120, 2640, 2655, 1455};
    g.fraResult = {2760, 2280, 5415, 1815};
    return g;
}

SheetPrintGeometry designSheet(bool port)
{
    SheetPrintGeometry s;
    s.picPanel = {10980, 5490};
    for (int i = 0; i < 7; ++i)
        s.panels[i] = {150.0 + 1500 * i, 300, 1200, 900 + 15.0 * i};
    s.portVisible = port;
    return s;
}

const TwipSize kPortrait{11000, 15500};
const TwipSize kLandscape{15500, 11000};
const std::string kHeader = "Kelvra [0.1 Build53] Plaatjes zagen";

std::vector<std::string> imageSources(const PrintPage& page)
{
    std::vector<std::string> out;
    for (const PrintItem& item : page.items)
        if (item.kind == PrintItem::Kind::Image)
            out.push_back(item.source);
    return out;
}

const PrintItem* find(const PrintPage& page, const std::string& source)
{
    for (const PrintItem& item : page.items)
        if (item.kind == PrintItem::Kind::Image && item.source == source)
            return &item;
    return nullptr;
}

int outlines(const PrintPage& page)
{
    int n = 0;
    for (const PrintItem& item : page.items)
        n += item.kind == PrintItem::Kind::Outline;
    return n;
}

TEST(PrintPlan, HeaderIsTitleFollowedByPlaatjesZagen)
{
    EXPECT_EQ(printHeader("Kelvra [0.1 Build53]"), "Kelvra [0.1 Build53] Plaatjes zagen");
}

TEST(PrintPlan, DefaultTicksArePanelMeasurementsOnly)
{
    const PrintChoice c;
    EXPECT_TRUE(c.mPanel);
    EXPECT_FALSE(c.settings);
    EXPECT_FALSE(c.figure);
    EXPECT_FALSE(c.layouter);
}

TEST(PrintPlan, NothingTickedPrintsNothing)
{
    PrintChoice c;
    c.mPanel = false;
    const PrintPlan plan = composePrint(c, designMain(), designSheet(true), kPortrait, kLandscape, kHeader);
    EXPECT_TRUE(plan.documents.empty());
}

TEST(PrintPlan, DefaultTicksGiveOnePortraitPageWithTheDrawingCentredAt500)
{
    const PrintPlan plan =
        composePrint(PrintChoice{}, designMain(), std::nullopt, kPortrait, kLandscape, kHeader);
    ASSERT_EQ(plan.documents.size(), 1u);
    ASSERT_EQ(plan.documents[0].pages.size(), 1u);
    const PrintPage& page = plan.documents[0].pages[0];
    EXPECT_EQ(page.orientation, PageOrientation::Portrait);
    ASSERT_EQ(page.items.size(), 2u);
    EXPECT_EQ(page.items[0], (PrintItem{PrintItem::Kind::Header, kHeader, 0, 0, 0, 0}));
    EXPECT_EQ(page.items[1], (PrintItem{PrintItem::Kind::Image, "Picture1", 1900, 500, 0, 0}));
}

TEST(PrintPlan, PanelDrawingLeftEdgeIsNotRounded)
{
    MainPrintGeometry g = designMain();
    g.picture1.width = 7201;
    const FirstPage first = composeFirstPage(PrintChoice{}, g, kPortrait, kHeader);
    EXPECT_DOUBLE_EQ(find(first.page, "Picture1")->x, 1899.5);
}

TEST(PrintPlan, OnlyInputValuesPutsTheTopRowAt500InTheWindowArrangement)
{
    PrintChoice c;
    c.mPanel = false;
    c.settings = true;
    const FirstPage first = composeFirstPage(c, designMain(), kPortrait, kHeader);
    EXPECT_EQ(first.count, 1);
    EXPECT_EQ(imageSources(first.page),
              (std::vector<std::string>{"fraInfo", "fraCorrection", "fraPort", "fraWoofer", "fraResult"}));
    // x follows the panel drawing's left edge even when the drawing is not printed.
    const double x = 1900;
    EXPECT_EQ(find(first.page, "fraInfo")->x, x);
    EXPECT_EQ(find(first.page, "fraInfo")->y, 500);
    EXPECT_EQ(find(first.page, "fraCorrection")->x, x + 2760);
    EXPECT_EQ(find(first.page, "fraCorrection")->y, 500);
    EXPECT_EQ(find(first.page, "fraPort")->x, x + 5520);
    EXPECT_EQ(find(first.page, "fraPort")->y, 500);
    EXPECT_EQ(find(first.page, "fraWoofer")->x, x);
    EXPECT_EQ(find(first.page, "fraWoofer")->y, 500 + 2640);
    EXPECT_EQ(find(first.page, "fraResult")->x, x + 2760);
    EXPECT_EQ(find(first.page, "fraResult")->y, 500 + 2280);
}

TEST(PrintPlan, EachItemFollowsDirectlyBelowTheOneBefore)
{
    PrintChoice c;
    c.figure = true;
    c.settings = true;
    const FirstPage first = composeFirstPage(c, designMain(), kPortrait, kHeader);
    EXPECT_EQ(first.count, 3);
    EXPECT_EQ(find(first.page, "Picture1")->y, 500);
    EXPECT_EQ(find(first.page, "picFigure")->y, 500 + 4815);
    EXPECT_EQ(find(first.page, "picFigure")->x, (11000 - 4500) / 2.0);
    EXPECT_EQ(find(first.page, "fraInfo")->y, 500 + 4815 + 3000);
}

TEST(PrintPlan, HeightsRoundHalvesToEven)
{
    MainPrintGeometry g = designMain();
    g.picture1.height = 4814.5; // 5314.5 rounds down to even
    PrintChoice c;
    c.figure = true;
    FirstPage first = composeFirstPage(c, g, kPortrait, kHeader);
    EXPECT_EQ(find(first.page, "picFigure")->y, 5314);
    g.picture1.height = 4815.5; // 5315.5 rounds up to even
    first = composeFirstPage(c, g, kPortrait, kHeader);
    EXPECT_EQ(find(first.page, "picFigure")->y, 5316);
    EXPECT_EQ(roundTwips(2.5), 2);
    EXPECT_EQ(roundTwips(3.5), 4);
    EXPECT_EQ(roundTwips(-2.5), -2);
    EXPECT_EQ(roundTwips(40000), 32767);
}

TEST(PrintPlan, OnlyLayoutGivesHeaderPageThenLandscapePageInOneDocument)
{
    PrintChoice c;
    c.mPanel = false;
    c.layouter = true;
    const PrintPlan plan = composePrint(c, designMain(), designSheet(true), kPortrait, kLandscape, kHeader);
    ASSERT_EQ(plan.documents.size(), 1u);
    ASSERT_EQ(plan.documents[0].pages.size(), 2u);
    const PrintPage& first = plan.documents[0].pages[0];
    EXPECT_EQ(first.orientation, PageOrientation::Portrait);
    ASSERT_EQ(first.items.size(), 1u);
    EXPECT_EQ(first.items[0].kind, PrintItem::Kind::Header);
    const PrintPage& layout = plan.documents[0].pages[1];
    EXPECT_EQ(layout.orientation, PageOrientation::Landscape);
    EXPECT_EQ(layout.items[0], (PrintItem{PrintItem::Kind::Header, kHeader, 0, 0, 0, 0}));
}

TEST(PrintPlan, OneItemBeforeTheLayoutKeepsOneDocument)
{
    PrintChoice c;
    c.layouter = true;
    const PrintPlan plan = composePrint(c, designMain(), designSheet(true), kPortrait, kLandscape, kHeader);
    ASSERT_EQ(plan.documents.size(), 1u);
    EXPECT_EQ(plan.documents[0].pages.size(), 2u);
}

TEST(PrintPlan, ThreeTicksGiveTwoDocuments)
{
    PrintChoice c;
    c.mPanel = false;
    c.settings = true;
    c.figure = true;
    c.layouter = true;
    const PrintPlan plan = composePrint(c, designMain(), designSheet(true), kPortrait, kLandscape, kHeader);
    ASSERT_EQ(plan.documents.size(), 2u);
    ASSERT_EQ(plan.documents[0].pages.size(), 1u);
    ASSERT_EQ(plan.documents[1].pages.size(), 1u);
    EXPECT_EQ(plan.documents[0].pages[0].orientation, PageOrientation::Portrait);
    EXPECT_EQ(imageSources(plan.documents[0].pages[0]),
              (std::vector<std::string>{"picFigure", "fraInfo", "fraCorrection", "fraPort", "fraWoofer",
                                        "fraResult"}));
    EXPECT_EQ(plan.documents[1].pages[0].orientation, PageOrientation::Landscape);
    EXPECT_EQ(plan.documents[1].pages[0].items[0].source, kHeader);
    EXPECT_TRUE(layoutIsSecondDocument(2));
    EXPECT_FALSE(layoutIsSecondDocument(1));
}

TEST(PrintPlan, LayoutPageCentresTheSheetAndOutlinesEveryPanel)
{
    const PrintPage page = composeLayoutPage(designSheet(true), kLandscape, kHeader);
    EXPECT_EQ(imageSources(page), (std::vector<std::string>{"shFront", "shRear", "shTop", "shBottom",
                                                            "shLeft", "shRight", "shPort"}));
    EXPECT_EQ(outlines(page), 8);
    const double x = roundTwips((15500 - 10980) / 2.0);
    const double y = roundTwips((11000 - 5490) / 2.0); // 2755
    ASSERT_EQ(page.items[1].kind, PrintItem::Kind::Outline);
    EXPECT_EQ(page.items[1], (PrintItem{PrintItem::Kind::Outline, "", x, y, x + 10980, y + 5490}));
    // shTop: image at the sheet's corner plus its own position, then its outline.
    EXPECT_EQ(page.items[6], (PrintItem{PrintItem::Kind::Image, "shTop", x + 3150, y + 300, 0, 0}));
    EXPECT_EQ(page.items[7],
              (PrintItem{PrintItem::Kind::Outline, "", x + 3150, y + 300, x + 4350, y + 1230}));
}

TEST(PrintPlan, NoPortGivesSixPanels)
{
    const PrintPage page = composeLayoutPage(designSheet(false), kLandscape, kHeader);
    EXPECT_EQ(imageSources(page).size(), 6u);
    EXPECT_EQ(find(page, "shPort"), nullptr);
    EXPECT_EQ(outlines(page), 7);
}

} // namespace
} // namespace kelvra
