// The workshop files read back: the SVG of each sheet is well-formed XML with every board and cut, the
// DXF opens in a group-code reader with its layers and mm coordinates, the CSV gives the same numbers.
// libstdc++'s <regex> trips GCC's maybe-uninitialized analysis at -O1 with the sanitizers: a false alarm.
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#include "layouter/BoardExports.h"
#include "layouter/BoardPlan.h"
#include "tests/support/SeparatorText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

using namespace kelvra;

namespace
{

// A large sloped box on two 122x244 sheets, names that need escaping and quoting.
struct Fixture {
    BoxBoards boards;
    CutPlan plan;
};

Fixture twoSheets(char sep)
{
    ModelInputs in = firstRunInputs();
    in.sub = 0;
    for (const auto& [key, text] : {std::pair{"h2", "60"}, {"l3", "100"}, {"b2", "90,5"}, {"ca", "60"}})
        textOf(in, *findModelKey(key)) = test::under(text, sep);
    const std::vector<std::string> names = {"Front; \"A\" & <B>", "", "", "", "Left, side", "", ""};
    BoardPlanResult r = planDesign(in, sep, 0.3, names);
    EXPECT_TRUE(r.ok()) << r.text();
    return {*r.boards, *r.plan};
}

// A small XML reader: elements nest and close in order, attribute values are quoted without '<', every
// '&' starts one of the five entities of XML. Gives the elements with their attributes, or the first fault.
struct Element {
    std::string name;
    std::map<std::string, std::string> attributes;
};

std::string xmlFault(const std::string& xml, std::vector<Element>& elements)
{
    static const std::regex tag(
        R"re(<(/?)([A-Za-z][\w-]*)((?:\s+[\w:-]+="[^"<]*")*)\s*(/?)>|<\?xml[^>]*\?>)re");
    static const std::regex attribute(R"re(([\w:-]+)="([^"]*)")re");
    static const std::regex entity(R"(&(?!(amp|lt|gt|quot|apos);))");
    if (std::regex_search(xml, entity))
        return "bad entity";
    std::vector<std::string> open;
    std::size_t tags = 0;
    for (std::sregex_iterator m(xml.begin(), xml.end(), tag), end; m != end; ++m, ++tags) {
        const std::string name = (*m)[2];
        if ((*m)[1].length() > 0) {
            if (open.empty() || open.back() != name)
                return "</" + name + "> closes nothing open";
            open.pop_back();
        } else if (!name.empty()) {
            Element e{name, {}};
            const std::string attrs = (*m)[3];
            for (std::sregex_iterator a(attrs.begin(), attrs.end(), attribute); a != end; ++a)
                e.attributes[(*a)[1]] = (*a)[2];
            elements.push_back(e);
            if ((*m)[4].length() == 0)
                open.push_back(name);
        }
    }
    if (tags != static_cast<std::size_t>(std::count(xml.begin(), xml.end(), '<')) ||
        tags != static_cast<std::size_t>(std::count(xml.begin(), xml.end(), '>')))
        return "a '<' or '>' outside a well-formed tag";
    return open.empty() ? "" : "<" + open.back() + "> is never closed";
}

std::string mm(double cm)
{
    std::ostringstream s;
    s << std::round(cm * 1000) / 100;
    return s.str();
}

// The DXF as (group code, value) pairs.
std::vector<std::pair<int, std::string>> dxfGroups(const std::string& dxf)
{
    std::vector<std::pair<int, std::string>> groups;
    std::istringstream in(dxf);
    std::string code, value;
    while (std::getline(in, code) && std::getline(in, value))
        groups.emplace_back(std::stoi(code), value);
    return groups;
}

// The rows of a CSV file: fields apart at `fieldSep` outside quotes, "" a quote inside them.
std::vector<std::vector<std::string>> csvRows(const std::string& csv, char fieldSep)
{
    std::vector<std::vector<std::string>> rows(1, std::vector<std::string>(1));
    bool quoted = false;
    for (std::size_t i = 0; i < csv.size(); ++i) {
        const char c = csv[i];
        if (c == '"' && !(quoted && i + 1 < csv.size() && csv[i + 1] == '"' && ++i))
            quoted = !quoted;
        else if (!quoted && c == fieldSep)
            rows.back().emplace_back();
        else if (!quoted && c == '\n')
            rows.emplace_back(1);
        else if (quoted || c != '\r')
            rows.back().back() += c;
    }
    rows.pop_back(); // after the last line break
    return rows;
}

double number(std::string text, char sep)
{
    for (char& c : text)
        if (c == sep)
            c = '.';
    return std::stod(text);
}

class BoardExports : public ::testing::TestWithParam<char>
{
};
INSTANTIATE_TEST_SUITE_P(Locale, BoardExports, ::testing::Values(',', '.'), test::SeparatorName{});

} // namespace

TEST_P(BoardExports, EachSheetIsAWellFormedDrawingInMm)
{
    const Fixture f = twoSheets(GetParam());
    ASSERT_EQ(f.plan.sheetCount, 2);
    for (int s = 0; s < f.plan.sheetCount; ++s) {
        std::vector<Element> elements;
        const std::string svg = sheetSvg(f.plan, f.boards, s, GetParam());
        ASSERT_EQ(xmlFault(svg, elements), "") << svg;
        ASSERT_EQ(elements.front().name, "svg");
        EXPECT_EQ(elements.front().attributes["viewBox"], "0 0 2440 1220");
        EXPECT_EQ(elements.front().attributes["width"], "2440mm");
        std::vector<const BoardPlacement*> boards;
        for (const BoardPlacement& p : f.plan.placements)
            if (p.sheet == s)
                boards.push_back(&p);
        std::size_t polygons = 0, cuts = 0;
        for (const Element& e : elements) {
            if (e.name == "polygon") {
                ASSERT_LT(polygons, boards.size());
                const SheetPoint first = boards[polygons]->outline.front();
                EXPECT_EQ(e.attributes.at("points").rfind(mm(first.x) + "," + mm(first.y) + " ", 0), 0u)
                    << e.attributes.at("points");
                ++polygons;
            }
            cuts += e.name == "line";
        }
        EXPECT_EQ(polygons, boards.size()) << "sheet " << s;
        EXPECT_EQ(cuts, static_cast<std::size_t>(std::count_if(f.plan.cuts.begin(), f.plan.cuts.end(),
                                                               [&](const Cut& c) { return c.sheet == s; })));
    }
}

TEST_P(BoardExports, DxfOpensWithItsLayersAndMmCoordinates)
{
    const Fixture f = twoSheets(GetParam());
    const auto groups = dxfGroups(planDxf(f.plan, f.boards));
    ASSERT_FALSE(groups.empty());
    EXPECT_EQ(groups.back(), (std::pair<int, std::string>{0, "EOF"}));
    std::map<std::string, std::string> header;
    std::map<std::string, int> polylines, texts;
    std::vector<std::string> layers;
    std::vector<std::vector<std::pair<double, double>>> outlines;
    std::string entity, layer;
    for (std::size_t i = 0; i < groups.size(); ++i) {
        const auto& [code, value] = groups[i];
        if (code == 9 && i + 1 < groups.size())
            header[value] = groups[i + 1].second;
        if (code == 0) {
            if (entity == "POLYLINE")
                ++polylines[layer];
            if (entity == "TEXT")
                ++texts[layer];
            if (value == "POLYLINE")
                outlines.emplace_back();
            entity = value;
        }
        if (code == 8)
            layer = value;
        if (code == 2 && entity == "LAYER")
            layers.push_back(value);
        if (code == 10 && entity == "VERTEX" && layer == "OUTLINES")
            outlines.back().emplace_back(std::stod(value), std::stod(groups[i + 1].second));
        ASSERT_TRUE(code != 10 || groups[i + 1].first == 20) << "x without y at group " << i;
    }
    EXPECT_EQ(header["$ACADVER"], "AC1009");
    EXPECT_EQ(header["$INSUNITS"], "4");
    EXPECT_EQ(layers, (std::vector<std::string>{"SHEETS", "OUTLINES", "LABELS", "HOLES"}));
    EXPECT_EQ(polylines["SHEETS"], 2);
    EXPECT_EQ(polylines["OUTLINES"], static_cast<int>(f.plan.placements.size()));
    EXPECT_EQ(texts["LABELS"], 2 * static_cast<int>(f.plan.placements.size()));
    // Each outline in mm, y up from the sheet's lower edge, the second sheet beside the first.
    outlines.erase(outlines.begin(), outlines.begin() + 2);
    for (std::size_t b = 0; b < f.plan.placements.size(); ++b) {
        const BoardPlacement& p = f.plan.placements[b];
        ASSERT_EQ(outlines[b].size(), p.outline.size());
        const double dx = p.sheet * (f.plan.sheet.width * 10 + kDxfSheetGapMm);
        for (std::size_t k = 0; k < p.outline.size(); ++k) {
            EXPECT_NEAR(outlines[b][k].first, dx + p.outline[k].x * 10, 1e-3) << p.key;
            EXPECT_NEAR(outlines[b][k].second, 1220 - p.outline[k].y * 10, 1e-3) << p.key;
        }
    }
}

// Two woofers and a round port on the front, two slots in the left side: the holes read back from the
// DXF at their places on their boards and at their sizes.
TEST_P(BoardExports, HolesReadBackFromTheDxfAtTheirPlacesAndSizes)
{
    const char sep = GetParam();
    ModelInputs in = firstRunInputs();
    for (const auto& [key, text] : {std::pair{"l3", "90"}, {"dp", "7,5"}, {"lp", "20"}})
        textOf(in, *findModelKey(key)) = test::under(text, sep);
    in.pieces0 = 1;
    in.pieces2 = 1;
    const BoardsResult built = buildBoards(in, sep, {}, {test::under("25,5", sep), ""});
    ASSERT_TRUE(built.ok()) << built.error.text();
    const BoardPlanResult r = planBoards(*built.boards, 0.3);
    ASSERT_TRUE(r.ok()) << r.text();
    const auto groups = dxfGroups(planDxf(*r.plan, *r.boards));
    struct Circle {
        double x = 0, y = 0, r = 0;
    };
    std::vector<Circle> circles;
    std::string entity;
    for (std::size_t i = 0; i + 1 < groups.size(); ++i) {
        const auto& [code, value] = groups[i];
        if (code == 0)
            entity = value;
        if (code == 0 && value == "CIRCLE")
            circles.emplace_back();
        if (entity == "CIRCLE" && code == 8) {
            EXPECT_EQ(value, "HOLES");
        }
        if (entity == "CIRCLE" && (code == 10 || code == 20 || code == 40))
            (code == 10   ? circles.back().x
             : code == 20 ? circles.back().y
                          : circles.back().r) = std::stod(value);
    }
    ASSERT_EQ(circles.size(), 3u);
    // The front is 86,4 cm long: gaps of (86,4 - 2 x 25,5 - 7,5) / 4 = 6,975 cm, at half its breadth.
    const auto front = std::find_if(r.plan->placements.begin(), r.plan->placements.end(),
                                    [](const BoardPlacement& p) { return p.key == "front"; });
    ASSERT_NE(front, r.plan->placements.end());
    const double left = front->rect.left * 10, bottom = 1220 - (front->rect.top + front->rect.height) * 10;
    const double along[] = {69.75 + 127.5, 69.75 * 2 + 255 + 127.5, 69.75 * 3 + 510 + 37.5};
    const double radii[] = {127.5, 127.5, 37.5};
    for (std::size_t k = 0; k < 3; ++k) {
        const Circle& c = circles[k];
        EXPECT_NEAR(c.r, radii[k], 1e-2);
        // Turned or not, the centre lies at its distance from one end and half the breadth across.
        const bool upright = front->rect.height > front->rect.width;
        const double x = c.x - left, y = c.y - bottom;
        const double u = upright ? y : x, v = upright ? x : y;
        const double length = upright ? front->rect.height * 10 : front->rect.width * 10;
        EXPECT_NEAR(std::min(u, length - u), std::min(along[k], 864 - along[k]), 1e-2) << k;
        EXPECT_NEAR(v, 182, 1e-2) << k;
    }
}

TEST_P(BoardExports, CsvReadsBackWithTheSameNumbers)
{
    const char sep = GetParam();
    const Fixture f = twoSheets(sep);
    const auto rows = csvRows(cutListCsv(f.plan, f.boards, sep), sep == ',' ? ';' : ',');
    const std::size_t boards = f.plan.placements.size();
    ASSERT_EQ(rows.size(), 1 + boards + 1 + 1 + f.plan.cuts.size());
    EXPECT_EQ(rows[0][0], "name");
    EXPECT_EQ(rows[1][0], "Front; \"A\" & <B>");
    for (std::size_t i = 0; i < boards; ++i) {
        const auto& row = rows[1 + i];
        const BoardPlacement& p = f.plan.placements[i];
        const Board& b = f.boards.boards[static_cast<std::size_t>(p.board)];
        ASSERT_EQ(row.size(), 12u);
        EXPECT_EQ(row[1], p.key);
        EXPECT_EQ(std::stoi(row[2]), b.count);
        EXPECT_DOUBLE_EQ(number(row[3], sep), b.length);
        EXPECT_DOUBLE_EQ(number(row[4], sep), b.breadth);
        EXPECT_EQ(std::stoi(row[5]), b.thicknessMm);
        EXPECT_EQ(std::stoi(row[7]), p.sheet + 1);
        EXPECT_NEAR(number(row[8], sep), p.rect.left, 0.005);
        EXPECT_NEAR(number(row[9], sep), p.rect.top, 0.005);
        EXPECT_EQ(row[11].empty(), p.nestedWith < 0);
    }
    EXPECT_EQ(rows[1 + boards], std::vector<std::string>{""});
    for (std::size_t i = 0; i < f.plan.cuts.size(); ++i) {
        const auto& row = rows[2 + boards + 1 + i];
        EXPECT_EQ(std::stoi(row[0]), f.plan.cuts[i].n);
        EXPECT_NEAR(number(row[8], sep), f.plan.cuts[i].length, 0.005);
        EXPECT_EQ(row[3] == "slanted", f.plan.cuts[i].slanted);
    }
}

TEST(BoardExportFiles, LaterSheetsGetTheirNumberBeforeTheExtension)
{
    struct Case {
        const char* path;
        int sheet;
        const char* expected;
    };
    for (const Case& c : {Case{"plan.svg", 0, "plan.svg"}, Case{"plan.svg", 1, "plan-2.svg"},
                          Case{"out/box plan.svg", 2, "out/box plan-3.svg"}, Case{"plan", 1, "plan-2"}})
        EXPECT_EQ(sheetFileName(c.path, c.sheet), c.expected) << c.path;
}
