// The cut plan in words: the lines the "Cut plan" window shows and prints.
#include "layouter/CutPlanText.h"

#include <gtest/gtest.h>

using namespace kelvra;

TEST(CutPlanText, OneBoardInBothNumberFormats)
{
    // 20.5 x 30 lies turned across the top of 122x61, so that the strip below it is the largest.
    const std::vector<BestFitBoard> boards = {{"front", 20.5, 30}};
    const BestFitResult r = BestFit(boards, 0.2);
    ASSERT_TRUE(r.ok());
    for (char sep : {',', '.'}) {
        const std::string s(1, sep);
        const CutPlanText t = describeCutPlan(*r.plan, {" Voorzijde "}, sep);
        const std::vector<std::string> summary = {
            "Sheet: 122x61, 1 sheet", "Saw kerf: 2 mm", "Cuts: 2, total length 81" + s + "5 cm",
            "Waste: 91" + s + "7 % of the sheets", "Largest left-over: 61 x 101" + s + "3 cm"};
        EXPECT_EQ(t.summary, summary) << sep;
        const std::vector<std::string> cuts = {
            "1. Sheet 1, piece 1 (61 x 122 cm): cut 20" + s +
                "5 cm from the top edge, left to right, 61 cm long; gives pieces 2 and 3",
            "2. Sheet 1, piece 2 (61 x 20" + s + "5 cm): cut 30 cm from the left edge, top to bottom, 20" +
                s + "5 cm long; gives pieces 4 and 5"};
        EXPECT_EQ(t.cuts, cuts) << sep;
        const std::vector<std::string> placed = {
            "Voorzijde (30 x 20" + s + "5 cm): sheet 1, 0 cm from the left, 0 cm from the top, turned"};
        EXPECT_EQ(t.boards, placed) << sep;
        const std::vector<std::string> offcuts = {
            "Piece 3 (61 x 101" + s + "3 cm): sheet 1, 0 cm from the left, 20" + s + "7 cm from the top",
            "Piece 5 (30" + s + "8 x 20" + s + "5 cm): sheet 1, 30" + s +
                "2 cm from the left, 0 cm from the top"};
        EXPECT_EQ(t.offcuts, offcuts) << sep;
    }
}

TEST(CutPlanText, KeysStandInForMissingNamesAndTheKerfCanEatTheRest)
{
    // 60.9 cm of 61 leaves 0.1 cm, less than the 0.2 cm kerf: no piece comes off.
    const std::vector<BestFitBoard> boards = {{"top", 60.9, 122}};
    const BestFitResult r = BestFit(boards, 0.2);
    ASSERT_TRUE(r.ok());
    const CutPlanText t = describeCutPlan(*r.plan, {}, '.');
    ASSERT_EQ(t.cuts.size(), 1u);
    EXPECT_EQ(t.cuts[0], "1. Sheet 1, piece 1 (61 x 122 cm): cut 60.9 cm from the left edge, top to bottom, "
                         "122 cm long; gives piece 2, the rest goes in the kerf");
    EXPECT_EQ(t.boards[0], "top (60.9 x 122 cm): sheet 1, 0 cm from the left, 0 cm from the top");
    EXPECT_EQ(t.summary.back(), "Largest left-over: none");
    EXPECT_TRUE(t.offcuts.empty());
    EXPECT_NEAR(r.plan->cuts[0].fromX, 60.95, 1e-9); // the middle of the 0.1 cm the blade takes
}

TEST(CutPlanText, SeveralSheetsAreCounted)
{
    const std::vector<BestFitBoard> boards(3, {"x", 150, 120});
    const BestFitResult r = BestFit(boards, 0.3);
    ASSERT_TRUE(r.ok());
    const CutPlanText t = describeCutPlan(*r.plan, {}, ',');
    EXPECT_EQ(t.summary[0], "Sheet: 122x305, 2 sheets");
    EXPECT_EQ(t.summary[1], "Saw kerf: 3 mm");
}
