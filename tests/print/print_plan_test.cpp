// What goes on the printed pages: the items, their places in twips, the pages and the documents.
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

// Each image as "source@x,y" and each outline as "#", in page order after the header.
std::string items(const PrintPage& page)
{
    std::string out;
    for (const PrintItem& i : page.items)
        if (i.kind == PrintItem::Kind::Image)
            out += " " + i.source + "@" + std::to_string(int(i.x)) + "," + std::to_string(int(i.y));
        else if (i.kind == PrintItem::Kind::Outline)
            out += " #";
    return out;
}

TEST(PrintPlan, ItemsFollowBelowTheDrawingCentredAt500TheFramesInTheWindowsArrangement)
{
    EXPECT_EQ(printHeader("Kelvra [0.1 Build53]"), kHeader);
    const PrintChoice standard;
    EXPECT_TRUE(standard.mPanel && !standard.settings && !standard.figure && !standard.layouter);
    MainPrintGeometry odd = designMain();
    odd.picture1 = {7201, 4814.5}; // the left edge is not rounded; 5314.5 rounds down to even
    const std::tuple<PrintChoice, MainPrintGeometry, int, std::string> cases[] = {
        {standard, designMain(), 1, " Picture1@1900,500"},
        {PrintChoice{true, false, false, false}, designMain(), 1,
         " fraInfo@1900,500 fraCorrection@4660,500 fraPort@7420,500 fraWoofer@1900,3140 fraResult@4660,2780"},
        {PrintChoice{true, true, true, false}, designMain(), 3,
         " Picture1@1900,500 picFigure@3250,5315 fraInfo@1900,8315 fraCorrection@4660,8315 fraPort@7420,8315 "
         "fraWoofer@1900,10955 fraResult@4660,10595"},
        {PrintChoice{false, true, true, false}, odd, 2, " Picture1@1899,500 picFigure@3250,5314"}};
    for (const auto& [choice, geometry, count, expected] : cases) {
        const FirstPage first = composeFirstPage(choice, geometry, kPortrait, kHeader);
        EXPECT_EQ(first.count, count);
        EXPECT_EQ(first.page.items.at(0), (PrintItem{PrintItem::Kind::Header, kHeader, 0, 0, 0, 0}));
        EXPECT_EQ(items(first.page), expected);
    }
    EXPECT_DOUBLE_EQ(composeFirstPage(standard, odd, kPortrait, kHeader).page.items[1].x, 1899.5);
    odd.picture1.height = 4815.5; // 5315.5 rounds up to even
    EXPECT_EQ(
        composeFirstPage(PrintChoice{false, true, true, false}, odd, kPortrait, kHeader).page.items[2].y,
        5316);
    EXPECT_EQ(roundTwips(-2.5), -2);
    EXPECT_EQ(roundTwips(40000), 32767);
}

TEST(PrintPlan, TheLayoutIsALandscapePageInTheSameDocumentOrASecondOneAfterTwoItems)
{
    // The orientation of each page, documents apart; each page starts with the header.
    const std::pair<PrintChoice, std::string> cases[] = {{PrintChoice{false, false, false, false}, ""},
                                                         {PrintChoice{}, "P"},
                                                         {PrintChoice{false, false, false, true}, "PL"},
                                                         {PrintChoice{false, false, true, true}, "PL"},
                                                         {PrintChoice{true, true, false, true}, "P|L"}};
    for (const auto& [choice, expected] : cases) {
        std::string pages;
        for (const PrintDocument& d :
             composePrint(choice, designMain(), designSheet(true), kPortrait, kLandscape, kHeader)
                 .documents) {
            pages += pages.empty() ? "" : "|";
            for (const PrintPage& p : d.pages)
                pages += p.items.at(0).source != kHeader              ? "?"
                         : p.orientation == PageOrientation::Portrait ? "P"
                                                                      : "L";
        }
        EXPECT_EQ(pages, expected);
    }
    EXPECT_TRUE(layoutIsSecondDocument(2));
    EXPECT_FALSE(layoutIsSecondDocument(1));
}

TEST(PrintPlan, TheLayoutPageCentresTheSheetAndOutlinesEveryPanelShown)
{
    const PrintPage page = composeLayoutPage(designSheet(true), kLandscape, kHeader);
    // The sheet at ((15500 - 10980) / 2, (11000 - 5490) / 2), each panel at its corner plus its own place.
    EXPECT_EQ(items(page), " # shFront@2410,3055 # shRear@3910,3055 # shTop@5410,3055 # shBottom@6910,3055 # "
                           "shLeft@8410,3055 # shRight@9910,3055 # shPort@11410,3055 #");
    EXPECT_EQ(page.items[1],
              (PrintItem{PrintItem::Kind::Outline, "", 2260, 2755, 2260 + 10980, 2755 + 5490}));
    EXPECT_EQ(items(composeLayoutPage(designSheet(false), kLandscape, kHeader)),
              " # shFront@2410,3055 # shRear@3910,3055 # shTop@5410,3055 # shBottom@6910,3055 # "
              "shLeft@8410,3055 # shRight@9910,3055 #");
}

TEST(PrintPlan, TheRealBoardsFillTheDrawingsPlaceAsATableThatClosesUpWhenLong)
{
    // A sloped front far longer than the classic one, under either separator, and a box of many walls.
    const std::vector<PrintBoardRow> few = {{"Voorzijde", "1", "91,4 x 36,4", "18 mm"},
                                            {"Poort", "2", "16.1 x 5", "12 mm"}};
    const std::vector<PrintBoardRow> many(20, PrintBoardRow{"Tussenschot", "1", "40 x 36,4", "18 mm"});
    const TwipSize area{8175, 4575};
    for (const auto& [rows, rowHeight] : {std::pair{few, 330.0}, std::pair{many, (4575 - 240) / 21.0}}) {
        const std::vector<PrintItem> table =
            boardTableItems(rows, area, {"Board", "Count", "l x b (in)", "Thickness"});
        ASSERT_EQ(table.size(), 4 * (rows.size() + 1) + 2);
        std::vector<std::string> texts;
        for (const PrintItem& t : table) {
            EXPECT_GE(t.x, 0);
            EXPECT_LE(t.x2, area.width);
            EXPECT_LE(t.y2, area.height);
            if (t.kind == PrintItem::Kind::Text) {
                texts.push_back(t.source);
                EXPECT_NEAR(t.y2 - t.y, rowHeight, 1e-9) << t.source;
            }
        }
        EXPECT_EQ((std::vector<std::string>(texts.begin(), texts.begin() + 4)),
                  (std::vector<std::string>{"Board", "Count", "l x b (in)", "Thickness"}));
        // Each board's row below the one before, its cells in the boards window's order.
        for (std::size_t r = 0; r < rows.size(); ++r) {
            const PrintItem* cells = &table[4 * (r + 1)];
            EXPECT_EQ(
                (std::vector<std::string>{cells[0].source, cells[1].source, cells[2].source,
                                          cells[3].source}),
                (std::vector<std::string>{rows[r].name, rows[r].count, rows[r].size, rows[r].thickness}));
            EXPECT_NEAR(cells[0].y, 120 + rowHeight * static_cast<double>(r + 1), 1e-9);
            EXPECT_LT(cells[0].x2, cells[1].x);
        }
        EXPECT_EQ(table.back().kind, PrintItem::Kind::Outline);
        EXPECT_NEAR(table[table.size() - 2].y2, 120 + rowHeight * static_cast<double>(rows.size() + 1), 1e-9);
    }
}

} // namespace
} // namespace kelvra
