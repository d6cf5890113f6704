#include "layouter/BoardExports.h"

#include "calc/Numeric.h"
#include "layouter/CutPlanText.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>

namespace kelvra
{

namespace
{

const Board* boardOf(const BoxBoards& boards, const BoardPlacement& p)
{
    const auto i = static_cast<std::size_t>(p.board);
    return i < boards.boards.size() ? &boards.boards[i] : nullptr;
}

std::string nameOf(const BoxBoards& boards, const BoardPlacement& p)
{
    const Board* b = boardOf(boards, p);
    std::string name = b ? b->name : p.key;
    const auto first = name.find_first_not_of(' ');
    const auto last = name.find_last_not_of(' ');
    return first == std::string::npos ? p.key : name.substr(first, last - first + 1);
}

// "40 x 36,4 cm": the board's length and breadth in cm to 1 mm, or in inches to 1/16".
std::string sizeText(const BoxBoards& boards, const BoardPlacement& p, char sep, Measure measure)
{
    const Board* b = boardOf(boards, p);
    if (!b)
        return {};
    if (measure == Measure::Imperial)
        return inchText(inchesOfCm(b->length)) + " x " + inchText(inchesOfCm(b->breadth));
    return boardSizeText(b->length, sep) + " x " + boardSizeText(b->breadth, sep) + " cm";
}

// Drawings are in mm, or in inches for a builder who measures in inches.
struct DrawingUnit {
    double perCm;
    int decimals;
    const char* name;
};
DrawingUnit drawingUnit(Measure measure)
{
    return measure == Measure::Imperial ? DrawingUnit{1 / kCmPerInch, 4, "in"} : DrawingUnit{10, 2, "mm"};
}

SheetPoint centreOf(const std::vector<SheetPoint>& outline)
{
    SheetPoint c;
    for (const SheetPoint& p : outline) {
        c.x += p.x / static_cast<double>(outline.size());
        c.y += p.y / static_cast<double>(outline.size());
    }
    return c;
}

// The board's outline as it lies on the sheet: the turn (and mirror) that takes the board's own outline
// onto its placement, found from their corners.
struct Placed {
    double a = 1, b = 0, c = 0, d = 1, tx = 0, ty = 0; // sheet = (a x + b y + tx, c x + d y + ty)
    SheetPoint operator()(Point2 p) const { return {a * p.x + b * p.y + tx, c * p.x + d * p.y + ty}; }
};

std::optional<Placed> placedOf(const Board& board, const BoardPlacement& p)
{
    const std::size_t n = board.outline.size();
    if (n < 3 || p.outline.size() != n)
        return std::nullopt;
    for (int reversed = 0; reversed < 2; ++reversed)
        for (std::size_t shift = 0; shift < n; ++shift) {
            auto sheetAt = [&](std::size_t i) {
                const std::size_t k = reversed ? (shift + n - i) % n : (shift + i) % n;
                return p.outline[k];
            };
            // Three corners fix the map; the others must agree with it.
            const Point2 p0 = board.outline[0], p1 = board.outline[1], p2 = board.outline[2];
            const SheetPoint q0 = sheetAt(0), q1 = sheetAt(1), q2 = sheetAt(2);
            const double ux = p1.x - p0.x, uy = p1.y - p0.y, vx = p2.x - p0.x, vy = p2.y - p0.y;
            const double det = ux * vy - uy * vx;
            if (std::abs(det) < 1e-12)
                continue;
            const double ax = q1.x - q0.x, ay = q1.y - q0.y, bx = q2.x - q0.x, by = q2.y - q0.y;
            Placed m;
            m.a = (ax * vy - bx * uy) / det;
            m.b = (bx * ux - ax * vx) / det;
            m.c = (ay * vy - by * uy) / det;
            m.d = (by * ux - ay * vx) / det;
            m.tx = q0.x - m.a * p0.x - m.b * p0.y;
            m.ty = q0.y - m.c * p0.x - m.d * p0.y;
            bool fits = true;
            for (std::size_t i = 0; i < n && fits; ++i) {
                const SheetPoint q = m(board.outline[i]), r = sheetAt(i);
                fits = std::abs(q.x - r.x) < 1e-4 && std::abs(q.y - r.y) < 1e-4;
            }
            if (fits)
                return m;
        }
    return std::nullopt;
}

} // namespace

std::vector<SheetHole> holesOnSheet(const BoxBoards& boards, const BoardPlacement& p)
{
    std::vector<SheetHole> out;
    const auto i = static_cast<std::size_t>(p.board);
    if (i >= boards.boards.size())
        return out;
    const Board& board = boards.boards[i];
    const std::optional<Placed> m = placedOf(board, p);
    if (!m)
        return out;
    for (const BoardHole& h : board.holes) {
        SheetHole s{h.kind, (*m)(h.center), h.diameter, {}};
        for (const Point2& q : h.outline)
            s.outline.push_back((*m)(q));
        out.push_back(std::move(s));
    }
    return out;
}

std::string sheetSvg(const CutPlan& plan, const BoxBoards& boards, int sheet, char decimalSeparator,
                     Measure measure)
{
    const DrawingUnit unit = drawingUnit(measure);
    // Drawing numbers always use '.'.
    auto mm = [&](double cm) {
        return formatDouble(roundHalfEven(cm * unit.perCm, unit.decimals), '.');
    };
    // Line widths and font sizes are set in mm; in inches they are converted.
    auto penMm = [&](double mmValue, int decimals) {
        return measure == Measure::Imperial ? formatDouble(roundHalfEven(mmValue / 25.4, 3), '.')
                                            : formatDouble(roundHalfEven(mmValue, decimals), '.');
    };
    const std::string pen = penMm(1, 0);
    const std::string w = mm(plan.sheet.width), h = mm(plan.sheet.height);
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + w + unit.name + "\" height=\"" + h +
           unit.name + "\" viewBox=\"0 0 " + w + " " + h + "\">\n";
    out +=
        "<title>Sheet " + std::to_string(sheet + 1) + " of " + std::to_string(plan.sheetCount) + "</title>\n";
    out += "<rect class=\"sheet\" x=\"0\" y=\"0\" width=\"" + w + "\" height=\"" + h +
           "\" fill=\"#ffe0c0\" stroke=\"black\" stroke-width=\"" + pen + "\"/>\n";
    for (const BoardPlacement& p : plan.placements) {
        if (p.sheet != sheet)
            continue;
        std::string points;
        for (const SheetPoint& q : p.outline)
            points += (points.empty() ? "" : " ") + mm(q.x) + "," + mm(q.y);
        out += "<polygon class=\"board\" id=\"" + xmlEscaped(p.key) +
               (p.copy ? "-" + std::to_string(p.copy + 1) : "") + "\" points=\"" + points +
               "\" fill=\"#c8e6c8\" stroke=\"black\" stroke-width=\"" + pen + "\"/>\n";
        const SheetPoint c = centreOf(p.outline);
        const double size = std::clamp(std::min(p.rect.width, p.rect.height) * 10 / 8, 8.0, 30.0);
        out += "<text class=\"label\" x=\"" + mm(c.x) + "\" y=\"" + mm(c.y) +
               "\" font-family=\"sans-serif\" font-size=\"" + penMm(size, 1) +
               "\" text-anchor=\"middle\"><tspan x=\"" + mm(c.x) + "\" dy=\"-0.2em\">" +
               xmlEscaped(nameOf(boards, p)) + "</tspan><tspan x=\"" + mm(c.x) + "\" dy=\"1.2em\">" +
               xmlEscaped(sizeText(boards, p, decimalSeparator, measure)) + "</tspan></text>\n";
        for (const SheetHole& h : holesOnSheet(boards, p)) {
            if (h.outline.empty()) {
                out += "<circle class=\"hole\" cx=\"" + mm(h.center.x) + "\" cy=\"" + mm(h.center.y) +
                       "\" r=\"" + mm(h.diameter / 2) + "\" fill=\"none\" stroke=\"black\" stroke-width=\"" +
                       pen + "\"/>\n";
                continue;
            }
            std::string corners;
            for (const SheetPoint& q : h.outline)
                corners += (corners.empty() ? "" : " ") + mm(q.x) + "," + mm(q.y);
            out += "<polygon class=\"hole\" points=\"" + corners +
                   "\" fill=\"none\" stroke=\"black\" stroke-width=\"" + pen + "\"/>\n";
        }
    }
    const std::string kerf = mm(std::max(plan.kerf, 0.1));
    for (const Cut& c : plan.cuts) {
        if (c.sheet != sheet)
            continue;
        out += "<line class=\"cut\" x1=\"" + mm(c.fromX) + "\" y1=\"" + mm(c.fromY) + "\" x2=\"" + mm(c.toX) +
               "\" y2=\"" + mm(c.toY) + "\" stroke=\"#c80000\" stroke-opacity=\"0.6\" stroke-width=\"" +
               kerf + "\"/>\n";
        out += "<text class=\"cut-number\" x=\"" + mm((c.fromX + c.toX) / 2) + "\" y=\"" +
               mm((c.fromY + c.toY) / 2) + "\" font-family=\"sans-serif\" font-size=\"" + penMm(24, 0) +
               "\" fill=\"#c80000\" text-anchor=\"middle\">" + std::to_string(c.n) + "</text>\n";
    }
    out += "</svg>\n";
    return out;
}

namespace
{

// One DXF group: its code on a line of its own, then its value.
void group(std::string& out, int code, const std::string& value)
{
    out += std::to_string(code) + "\n" + value + "\n";
}

std::string dxfNumber(double mmValue)
{
    return formatDouble(roundHalfEven(mmValue, 3), '.');
}

void layer(std::string& out, const char* name, int colour)
{
    group(out, 0, "LAYER");
    group(out, 2, name);
    group(out, 70, "0");
    group(out, 62, std::to_string(colour));
    group(out, 6, "CONTINUOUS");
}

void polyline(std::string& out, const char* layerName, const std::vector<std::pair<double, double>>& points)
{
    group(out, 0, "POLYLINE");
    group(out, 8, layerName);
    group(out, 66, "1");
    group(out, 10, "0.0");
    group(out, 20, "0.0");
    group(out, 30, "0.0");
    group(out, 70, "1"); // closed
    for (const auto& [x, y] : points) {
        group(out, 0, "VERTEX");
        group(out, 8, layerName);
        group(out, 10, dxfNumber(x));
        group(out, 20, dxfNumber(y));
        group(out, 30, "0.0");
    }
    group(out, 0, "SEQEND");
    group(out, 8, layerName);
}

void text(std::string& out, double x, double y, double height, const std::string& value)
{
    group(out, 0, "TEXT");
    group(out, 8, "LABELS");
    group(out, 10, dxfNumber(x));
    group(out, 20, dxfNumber(y));
    group(out, 30, "0.0");
    group(out, 40, dxfNumber(height));
    group(out, 1, value);
    group(out, 72, "1"); // centred on the point 11/21
    group(out, 11, dxfNumber(x));
    group(out, 21, dxfNumber(y));
    group(out, 31, "0.0");
}

} // namespace

std::string planDxf(const CutPlan& plan, const BoxBoards& boards, Measure measure)
{
    const double per = drawingUnit(measure).perCm;
    const double sheetW = plan.sheet.width * per, sheetH = plan.sheet.height * per;
    const double gap = measure == Measure::Imperial ? kDxfSheetGapMm / 25.4 : kDxfSheetGapMm;
    const int count = std::max(plan.sheetCount, 1);
    const double totalW = count * sheetW + (count - 1) * gap;
    std::string out;
    group(out, 0, "SECTION");
    group(out, 2, "HEADER");
    group(out, 9, "$ACADVER");
    group(out, 1, "AC1009");
    group(out, 9, "$INSUNITS");
    group(out, 70, measure == Measure::Imperial ? "1" : "4"); // inches or mm
    group(out, 9, "$EXTMIN");
    group(out, 10, "0.0");
    group(out, 20, "0.0");
    group(out, 9, "$EXTMAX");
    group(out, 10, dxfNumber(totalW));
    group(out, 20, dxfNumber(sheetH));
    group(out, 0, "ENDSEC");

    group(out, 0, "SECTION");
    group(out, 2, "TABLES");
    group(out, 0, "TABLE");
    group(out, 2, "LTYPE");
    group(out, 70, "1");
    group(out, 0, "LTYPE");
    group(out, 2, "CONTINUOUS");
    group(out, 70, "0");
    group(out, 3, "Solid line");
    group(out, 72, "65");
    group(out, 73, "0");
    group(out, 40, "0.0");
    group(out, 0, "ENDTAB");
    group(out, 0, "TABLE");
    group(out, 2, "LAYER");
    group(out, 70, "4");
    layer(out, "SHEETS", 8);
    layer(out, "OUTLINES", 7);
    layer(out, "LABELS", 3);
    layer(out, "HOLES", 1);
    group(out, 0, "ENDTAB");
    group(out, 0, "ENDSEC");

    group(out, 0, "SECTION");
    group(out, 2, "ENTITIES");
    auto at = [&](int sheet, SheetPoint p) {
        return std::pair{sheet * (sheetW + gap) + p.x * per, sheetH - p.y * per};
    };
    for (int s = 0; s < plan.sheetCount; ++s)
        polyline(out, "SHEETS",
                 {at(s, {0, 0}), at(s, {plan.sheet.width, 0}), at(s, {plan.sheet.width, plan.sheet.height}),
                  at(s, {0, plan.sheet.height})});
    for (const BoardPlacement& p : plan.placements) {
        std::vector<std::pair<double, double>> points;
        for (const SheetPoint& q : p.outline)
            points.push_back(at(p.sheet, q));
        polyline(out, "OUTLINES", points);
        const auto [x, y] = at(p.sheet, centreOf(p.outline));
        const double heightMm = std::clamp(std::min(p.rect.width, p.rect.height) * 10 / 10, 8.0, 30.0);
        const double height = measure == Measure::Imperial ? heightMm / 25.4 : heightMm;
        text(out, x, y + height * 0.7, height, nameOf(boards, p));
        text(out, x, y - height * 0.7, height, sizeText(boards, p, '.', measure));
        // The holes for the router: circles, and the slots' openings as closed polylines.
        for (const SheetHole& h : holesOnSheet(boards, p)) {
            if (!h.outline.empty()) {
                std::vector<std::pair<double, double>> corners;
                for (const SheetPoint& q : h.outline)
                    corners.push_back(at(p.sheet, q));
                polyline(out, "HOLES", corners);
                continue;
            }
            const auto [cx, cy] = at(p.sheet, h.center);
            group(out, 0, "CIRCLE");
            group(out, 8, "HOLES");
            group(out, 10, dxfNumber(cx));
            group(out, 20, dxfNumber(cy));
            group(out, 30, "0.0");
            group(out, 40, dxfNumber(h.diameter / 2 * per));
        }
    }
    group(out, 0, "ENDSEC");
    group(out, 0, "EOF");
    return out;
}

namespace
{

std::string csvField(const std::string& text, char fieldSep)
{
    if (text.find_first_of(std::string("\"\r\n") + fieldSep) == std::string::npos)
        return text;
    std::string out = "\"";
    for (char c : text)
        out += c == '"' ? std::string("\"\"") : std::string(1, c);
    return out + "\"";
}

std::string csvRow(const std::vector<std::string>& fields, char fieldSep)
{
    std::string out;
    for (std::size_t i = 0; i < fields.size(); ++i)
        out += (i ? std::string(1, fieldSep) : std::string()) + csvField(fields[i], fieldSep);
    return out + "\r\n";
}

} // namespace

std::string cutListCsv(const CutPlan& plan, const BoxBoards& boards, char decimalSeparator, Measure measure)
{
    const char fs = decimalSeparator == ',' ? ';' : ',';
    const bool inches = measure == Measure::Imperial;
    auto n = [&](double v, int decimals) {
        return formatDouble(roundHalfEven(v, decimals), decimalSeparator);
    };
    // A length of the model's cm, in cm to 2 decimals or in decimal inches.
    auto len = [&](double cm) {
        return inches ? inchDecimal(inchesOfCm(cm), decimalSeparator) : n(cm, 2);
    };
    auto thick = [&](int mm) {
        return inches ? inchDecimal(inchesOfCm(mm / 10.0), decimalSeparator) : std::to_string(mm);
    };
    const std::string u = inches ? " in" : " cm";
    std::string out =
        csvRow({"name", "key", "count", "length" + u, "breadth" + u, inches ? "thickness in" : "thickness mm",
                "bevels degrees", "sheet", "left" + u, "top" + u, "turned", "nested with"},
               fs);
    for (const BoardPlacement& p : plan.placements) {
        const Board* b = boardOf(boards, p);
        std::string bevels;
        if (b)
            for (const Bevel& v : b->bevels)
                bevels += (bevels.empty() ? "" : " ") + n(v.degrees, 1) + (v.beyondSaw ? "!" : "");
        std::string nested;
        if (p.nestedWith >= 0 && static_cast<std::size_t>(p.nestedWith) < plan.placements.size())
            nested = nameOf(boards, plan.placements[static_cast<std::size_t>(p.nestedWith)]);
        out += csvRow({nameOf(boards, p), p.key, std::to_string(b ? b->count : 1), len(b ? b->length : 0),
                       len(b ? b->breadth : 0), thick(b ? b->thicknessMm : 0), bevels,
                       std::to_string(p.sheet + 1), len(p.rect.left), len(p.rect.top),
                       p.turned ? "yes" : "no", nested},
                      fs);
    }
    out += "\r\n";
    out += csvRow({"cut", "sheet", "piece", "direction", "from x" + u, "from y" + u, "to x" + u, "to y" + u,
                   "length" + u, "angle degrees"},
                  fs);
    for (const Cut& c : plan.cuts)
        out += csvRow({std::to_string(c.n), std::to_string(c.sheet + 1), std::to_string(c.piece),
                       c.slanted ? "slanted" : (c.vertical ? "top to bottom" : "left to right"), len(c.fromX),
                       len(c.fromY), len(c.toX), len(c.toY), len(c.length), n(c.angle, 1)},
                      fs);
    return out;
}

std::string sheetFileName(const std::string& path, int sheet)
{
    if (sheet <= 0)
        return path;
    const std::filesystem::path p(path);
    const std::string stem = p.stem().string() + "-" + std::to_string(sheet + 1) + p.extension().string();
    return (p.parent_path() / stem).string();
}

} // namespace kelvra
