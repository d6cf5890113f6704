#include "boards/Boards.h"

#include "boards/BoxSection.h"
#include "calc/Numeric.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace kelvra
{

using namespace boards_detail;

namespace
{

constexpr std::array<const char*, 7> kBuiltInNames = {"Voorzijde", "Achterzijde", "Bovenzijde", "Onderzijde",
                                                      "Zij links", "Zij rechts",  "Poort"};

std::string trimmed(const std::string& text)
{
    const auto first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t\r\n") - first + 1);
}

std::string boardName(std::span<const std::string> names, std::size_t index)
{
    if (index < names.size())
        return trimmed(names[index]);
    return kBuiltInNames[index];
}

double radians(double degrees)
{
    return degrees * std::numbers::pi / 180;
}

// Reads the input texts; the first one that does not read is the error.
class DesignReader
{
public:
    DesignReader(const ModelInputs& in, char sep) : m_in(in), m_sep(sep) {}

    std::optional<BoardsError> read(Design& d)
    {
        d.decimalSeparator = m_sep;
        length(&ModelInputs::h2, "top", "the height h2", d.h2);
        length(&ModelInputs::l3, "left", "the length l3", d.l3);
        length(&ModelInputs::b2, "bottom", "the width b2", d.b2);
        number(&ModelInputs::ca, "rear", "the rear-seat angle ca", d.ca);
        number(&ModelInputs::cb, "front", "the front angle cb", d.cb);
        thickness(&ModelInputs::thick0, "front", "the board thickness thick0", d.thick0, true);
        d.ports = std::max(0, m_in.pieces2);
        d.partitions = std::max(0, m_in.pieces1);
        d.woofers = std::max(0, m_in.pieces0) + 1;
        d.ptype = m_in.ptype;
        d.pwhere = m_in.pwhere;
        d.sub = m_in.sub;
        d.corr = m_in.corr;
        thickness(&ModelInputs::thick1, "partition1", "the partition board thickness thick1", d.thick1,
                  d.partitions > 0);
        thickness(&ModelInputs::thick2, "port", "the port board thickness thick2", d.thick2,
                  d.ports > 0 && d.ptype != 0);
        number(&ModelInputs::lp, "port", "the port length lp", d.lp);
        number(&ModelInputs::dp, "port", "the port diameter dp", d.dp);
        number(&ModelInputs::bp, "port", "the port width bp", d.bp);
        number(&ModelInputs::hp, "port", "the port height hp", d.hp);
        number(&ModelInputs::subvol, "", "the maker's volume subvol", d.subvol);
        if (!m_error) {
            const Result<std::int16_t> other = toInt16(m_in.vother, m_sep);
            if (other)
                d.otherLitres = *other;
            else
                fail(BoardsFault::BadNumber, "", "the other volume vother");
        }
        if (!m_error)
            angle("rear", "the rear-seat angle ca", d.ca);
        if (!m_error)
            angle("front", "the front angle cb", d.cb);
        if (!m_error && d.ports > 0)
            portMeasures(d);
        return m_error;
    }

private:
    void fail(BoardsFault fault, const char* board, const char* measure, double value = 0)
    {
        if (!m_error)
            m_error = BoardsError{fault, board, measure, value, 0, {}, m_sep};
    }

    void number(std::string ModelInputs::*box, const char* board, const char* measure, double& out)
    {
        if (m_error)
            return;
        const Result<double> v = toDouble(m_in.*box, m_sep);
        if (!v)
            fail(BoardsFault::BadNumber, board, measure);
        else
            out = *v;
    }

    void length(std::string ModelInputs::*box, const char* board, const char* measure, double& out)
    {
        number(box, board, measure, out);
        if (!m_error && !(out > 0))
            fail(BoardsFault::NotPositive, board, measure, out);
    }

    // Thicknesses are whole millimetres, read as the main window reads them.
    void thickness(std::string ModelInputs::*box, const char* board, const char* measure, int& out, bool used)
    {
        if (m_error)
            return;
        const Result<std::int16_t> v = toInt16(m_in.*box, m_sep);
        if (!v) {
            if (used)
                fail(BoardsFault::BadNumber, board, measure);
            return;
        }
        out = *v;
        if (used && out <= 0)
            fail(BoardsFault::NotPositive, board, measure, out);
    }

    void angle(const char* board, const char* measure, double degrees)
    {
        if (degrees == 0)
            fail(BoardsFault::ZeroAngle, board, measure, degrees);
        else if (degrees < 0 || degrees >= 180)
            fail(BoardsFault::BadAngle, board, measure, degrees);
    }

    void portMeasures(const Design& d)
    {
        if (!(d.lp > 0))
            fail(BoardsFault::NotPositive, "port", "the port length lp", d.lp);
        else if (d.ptype == 0 && !(d.dp > 0))
            fail(BoardsFault::NotPositive, "port", "the port diameter dp", d.dp);
        else if (d.ptype != 0 && !(d.bp > 0))
            fail(BoardsFault::NotPositive, "port", "the port width bp", d.bp);
        else if (d.ptype != 0 && !(d.hp > 0))
            fail(BoardsFault::NotPositive, "port", "the port height hp", d.hp);
    }

    const ModelInputs& m_in;
    char m_sep;
    std::optional<BoardsError> m_error;
};

BoardsError tooLarge(const char* board, const char* measure, double value, const char* limitMeasure,
                     double limit, BoardsFault fault = BoardsFault::TooThick)
{
    return {fault, board, measure, value, limit, limitMeasure};
}

BoardsError crossed(const char* measure, double value, const char* where)
{
    return {BoardsFault::TopCrossed, "top", measure, value, 0, where};
}

// Whether the cross-section is a box at all: the end panels must not cross and the boards must leave air.
std::optional<BoardsError> sectionFits(const Design& d, const Section& s)
{
    const double t = s.t;
    const double outerTop = s.frontOuter(d.h2) - s.rearOuter(d.h2);
    if (!(outerTop > 0))
        return crossed("the top's outer width", outerTop, "the end panels cross below the top:");
    if (!(2 * t < d.h2))
        return tooLarge("bottom", "twice the board thickness thick0", 2 * t, "the height h2", d.h2);
    if (!(2 * t < d.l3))
        return tooLarge("left", "twice the board thickness thick0", 2 * t, "the length l3", d.l3);
    if (!(s.innerWidth(s.innerBottom()) > 0))
        return tooLarge("bottom", "the end panels' thickness across the bottom",
                        d.b2 - s.innerWidth(s.innerBottom()), "the width b2", d.b2);
    if (!(s.innerWidth(s.innerTop()) > 0))
        return crossed("the inner width under the top", s.innerWidth(s.innerTop()),
                       "the end panels cross inside the boards:");
    if (d.partitions > 0 && !(d.partitions * d.thick1 / 10.0 < d.l3 - 2 * t))
        return tooLarge("partition1", "the partition walls together", d.partitions * d.thick1 / 10.0,
                        "the inner length", d.l3 - 2 * t);
    return std::nullopt;
}

Board makeBoard(std::string_view key, std::string name, int thicknessMm)
{
    Board b;
    b.key = key;
    b.name = std::move(name);
    b.thicknessMm = thicknessMm;
    return b;
}

// A board cut from a blank of length x breadth whose edges 0..3 (length side first) carry the bevels.
void rectangularOutline(Board& b, double length, double breadth, std::array<double, 4> tilts)
{
    b.outline = {{0, 0}, {length, 0}, {length, breadth}, {0, breadth}};
    b.length = mmPrecision(length);
    b.breadth = mmPrecision(breadth);
    for (double tilt : tilts)
        b.bevels.push_back(bevelOf(tilt));
}

// The extent of a cross-section along a direction.
double extentAlong(const std::vector<Point2>& section, double dx, double dy)
{
    double lo = INFINITY, hi = -INFINITY;
    for (const Point2& p : section) {
        lo = std::min(lo, p.x * dx + p.y * dy);
        hi = std::max(hi, p.x * dx + p.y * dy);
    }
    return hi - lo;
}

void addShell(const Design& d, const Section& s, std::span<const std::string> names, BoxBoards& out)
{
    const double t = s.t, h = d.h2, l3 = d.l3, lo = t, hi = h - t;
    const double run = l3 - 2 * t; // front, rear, top and bottom sit between the sides
    const double tiltCa = std::abs(90 - d.ca), tiltCb = std::abs(90 - d.cb);

    const std::vector<Point2> front = {
        {s.frontInner(lo), lo}, {s.frontOuter(lo), lo}, {s.frontOuter(hi), hi}, {s.frontInner(hi), hi}};
    const std::vector<Point2> rear = {
        {s.rearOuter(lo), lo}, {s.rearInner(lo), lo}, {s.rearInner(hi), hi}, {s.rearOuter(hi), hi}};
    const std::vector<Point2> top = {
        {s.rearOuter(hi), hi}, {s.frontOuter(hi), hi}, {s.frontOuter(h), h}, {s.rearOuter(h), h}};
    const std::vector<Point2> bottom = {{0, 0}, {d.b2, 0}, {s.frontOuter(lo), lo}, {s.rearOuter(lo), lo}};
    const std::vector<Point2> side = {{0, 0}, {d.b2, 0}, {s.frontOuter(h), h}, {s.rearOuter(h), h}};

    const double cb = radians(d.cb), ca = radians(d.ca);
    struct Shell {
        int index;
        const std::vector<Point2>& section;
        double breadth;
        std::array<double, 4> tilts; // edges: foot or rear, right end, head or front, left end
    };
    const std::array<Shell, 4> between = {{
        {0, front, extentAlong(front, -std::cos(cb), std::sin(cb)), {tiltCb, 0, tiltCb, 0}},
        {1, rear, extentAlong(rear, std::cos(ca), std::sin(ca)), {tiltCa, 0, tiltCa, 0}},
        {2, top, extentAlong(top, 1, 0), {tiltCa, 0, tiltCb, 0}},
        {3, bottom, extentAlong(bottom, 1, 0), {tiltCa, 0, tiltCb, 0}},
    }};
    for (const Shell& sh : between) {
        Board b = makeBoard(kLayoutKeys[static_cast<std::size_t>(sh.index)],
                            boardName(names, static_cast<std::size_t>(sh.index)), d.thick0);
        // Edge 0 of the blank is its foot (front, rear) or rear edge (top, bottom), edge 2 the opposite.
        rectangularOutline(b, run, sh.breadth, sh.tilts);
        b.solid = prism(sh.section, t, l3 - t);
        out.boards.push_back(std::move(b));
    }
    for (int i : {4, 5}) {
        Board b = makeBoard(kLayoutKeys[static_cast<std::size_t>(i)],
                            boardName(names, static_cast<std::size_t>(i)), d.thick0);
        b.outline = side;
        const Point2 size = normalise(b.outline);
        b.length = mmPrecision(size.x);
        b.breadth = mmPrecision(size.y);
        b.bevels.assign(4, Bevel{});
        b.solid = i == 4 ? prism(side, 0, t) : prism(side, l3 - t, l3);
        out.boards.push_back(std::move(b));
    }
}

// Partition walls divide the air into equal chambers along the length.
void addPartitions(const Design& d, const Section& s, BoxBoards& out)
{
    const double wall = d.thick1 / 10.0;
    const double chamber = (d.l3 - 2 * s.t - d.partitions * wall) / (d.partitions + 1);
    const std::vector<Point2> section = s.inner();
    for (int k = 1; k <= d.partitions; ++k) {
        const std::string key = "partition" + std::to_string(k);
        Board b = makeBoard(key, "Tussenwand " + std::to_string(k), d.thick1);
        b.outline = section;
        const Point2 size = normalise(b.outline);
        b.length = mmPrecision(size.x);
        b.breadth = mmPrecision(size.y);
        b.bevels.assign(4, Bevel{});
        const double z0 = s.t + k * chamber + (k - 1) * wall;
        b.solid = prism(section, z0, z0 + wall);
        out.boards.push_back(std::move(b));
    }
}

double wooferVolume(const Design& d)
{
    if (d.subvol != 0)
        return d.subvol * 1000;
    return defaultWooferLitres(d.sub) * d.woofers * 1000;
}

void addVolumes(const Design& d, const Section& s, BoxBoards& out)
{
    const double inner = s.innerArea() * (d.l3 - 2 * s.t);
    out.innerVolumeExact = inner / 1000;
    const double taken = portVolume(d, s) + wooferVolume(d) + d.partitions * s.innerArea() * d.thick1 / 10.0 +
                         d.otherLitres * 1000.0;
    const double factor = d.corr / 10.0 + 1;
    out.netVolumeExact = (inner - taken) * factor / 1000;
    if (out.netVolumeExact < 0)
        addNotice(out, {BoardsNotice::Kind::TakesTooMuch}, d.decimalSeparator);
}

bool finite(const BoxBoards& b)
{
    for (const Board& board : b.boards)
        for (const Point3& p : board.solid)
            if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
                return false;
    return std::isfinite(b.innerVolumeExact) && std::isfinite(b.netVolumeExact);
}

} // namespace

namespace boards_detail
{

const std::string& addNotice(BoxBoards& out, BoardsNotice notice, char decimalSeparator)
{
    out.notices.push_back(notice);
    out.warnings.push_back(noticeText(notice, decimalSeparator));
    return out.warnings.back();
}

std::vector<Point2> Section::inner() const
{
    const double lo = innerBottom(), hi = innerTop();
    return {{rearInner(lo), lo}, {frontInner(lo), lo}, {frontInner(hi), hi}, {rearInner(hi), hi}};
}

Section sectionOf(const Design& d)
{
    Section s;
    s.t = d.thick0 / 10.0;
    s.h2 = d.h2;
    s.b2 = d.b2;
    // At exactly 90 degrees the cotangent is 0, not the 6e-17 that cos(pi / 2) gives.
    s.cotCa = d.ca == 90 ? 0 : 1 / std::tan(radians(d.ca));
    s.cotCb = d.cb == 90 ? 0 : 1 / std::tan(radians(d.cb));
    s.sinCa = d.ca == 90 ? 1 : std::sin(radians(d.ca));
    s.sinCb = d.cb == 90 ? 1 : std::sin(radians(d.cb));
    return s;
}

std::vector<Point3> prism(const std::vector<Point2>& section, double z0, double z1)
{
    std::vector<Point3> solid;
    solid.reserve(section.size() * 2);
    for (double z : {z0, z1})
        for (const Point2& p : section)
            solid.push_back({p.x, p.y, z});
    return solid;
}

Point2 normalise(std::vector<Point2>& outline)
{
    double minX = INFINITY, minY = INFINITY, maxX = -INFINITY, maxY = -INFINITY;
    for (const Point2& p : outline) {
        minX = std::min(minX, p.x);
        minY = std::min(minY, p.y);
        maxX = std::max(maxX, p.x);
        maxY = std::max(maxY, p.y);
    }
    for (Point2& p : outline)
        p = {p.x - minX, p.y - minY};
    return {maxX - minX, maxY - minY};
}

Bevel bevelOf(double tiltDegrees)
{
    Bevel b;
    b.degrees = roundHalfEven(tiltDegrees, 1);
    b.beyondSaw = b.degrees > 45;
    if (b.beyondSaw)
        b.complementary = roundHalfEven(90 - b.degrees, 1);
    return b;
}

double mmPrecision(double cm)
{
    return roundHalfEven(cm, 2);
}

} // namespace boards_detail

bool Board::isTrapezoid() const
{
    if (outline.size() != 4)
        return false;
    for (std::size_t i = 0; i < 4; ++i) {
        const Point2 a = outline[i], b = outline[(i + 1) % 4];
        if (std::abs(a.x - b.x) > 1e-9 && std::abs(a.y - b.y) > 1e-9)
            return true;
    }
    return false;
}

std::string RefusalWords::phrase(std::string_view english) const
{
    for (std::size_t i = 0; i < kRefusalPhrases.size(); ++i)
        if (english == kRefusalPhrases[i])
            return phrases[i].empty() ? std::string(english) : phrases[i];
    return std::string(english);
}

std::string RefusalWords::boardPhrase(const std::string& key) const
{
    if (key.empty())
        return phrase("the box");
    if (key == "front" || key == "rear")
        return phrase("the " + key + " panel");
    if (key == "left" || key == "right")
        return phrase("the " + key + " side");
    if (key == kPortStripKey)
        return phrase("the port's closing strip");
    if (key.rfind("partition", 0) == 0)
        return withFigures(phrase("partition wall %1"), {key.substr(9)});
    return phrase("the " + key);
}

std::string RefusalWords::subject(const std::string& key) const
{
    std::string who = boardPhrase(key);
    if (!who.empty())
        who[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(who[0])));
    return who;
}

std::string BoardsError::text(const RefusalWords& words) const
{
    const std::string who = words.subject(board);
    auto num = [&](double v) {
        return formatDouble(roundHalfEven(v, 2), decimalSeparator);
    };
    const std::string what = words.phrase(measure);
    auto say = [&](RefusalSentence s, std::initializer_list<std::string> figures) {
        return withFigures(words.sentences[s], figures);
    };
    switch (fault) {
    case BoardsFault::BadNumber:
        return say(kRefuseBadNumber, {who, what});
    case BoardsFault::NotPositive:
        return say(kRefuseNotPositive, {who, what, num(value)});
    case BoardsFault::ZeroAngle:
        return say(kRefuseZeroAngle, {who, what});
    case BoardsFault::BadAngle:
        return say(kRefuseBadAngle, {who, what, num(value)});
    case BoardsFault::TopCrossed:
        return say(kRefuseCrossed, {who, words.phrase(limitMeasure), what, num(value)});
    case BoardsFault::TooLarge:
        return say(kRefuseTooLarge, {who, what});
    case BoardsFault::HoleTooClose:
        return say(kRefuseTooClose, {who, what, num(value), words.phrase(limitMeasure), num(limit)});
    case BoardsFault::TooThick:
    case BoardsFault::PortTooLong:
    case BoardsFault::PortTooHigh:
    case BoardsFault::PortTooWide:
    case BoardsFault::WooferTooDeep:
        break;
    }
    return say(kRefuseDoesNotFit, {who, what, num(value), words.phrase(limitMeasure), num(limit)});
}

BoardsResult buildBoards(const ModelInputs& in, char decimalSeparator, std::span<const std::string> names,
                         const HoleSpec& holes)
{
    BoardsResult r;
    auto refuse = [&](BoardsError e) {
        e.decimalSeparator = decimalSeparator;
        r.error = std::move(e);
        return r;
    };
    Design d;
    if (auto e = DesignReader(in, decimalSeparator).read(d))
        return refuse(*e);
    const Section s = sectionOf(d);
    if (auto e = sectionFits(d, s))
        return refuse(*e);
    if (d.ports > 0)
        if (auto e = portFits(d, s))
            return refuse(*e);

    BoxBoards out;
    out.boards.reserve(static_cast<std::size_t>(kShellBoardCount + 2 + d.partitions));
    addShell(d, s, names, out);
    if (d.ports > 0) {
        const std::array<std::string, 2> portNames = {
            boardName(names, 6), names.size() > 7 ? trimmed(names[7]) : std::string(kPortStripName)};
        addPort(d, s, portNames, out);
    }
    addPartitions(d, s, out);
    addVolumes(d, s, out);
    if (!finite(out))
        return refuse({BoardsFault::TooLarge, "", "a measure of the box", 0, 0, {}});
    if (auto e = addHoles(d, s, holes, out))
        return refuse(*e);
    r.boards = std::move(out);
    return r;
}

std::optional<double> exactNetVolume(const ModelInputs& in, char decimalSeparator)
{
    const BoardsResult r = buildBoards(in, decimalSeparator);
    if (!r.ok())
        return std::nullopt;
    return r.boards->netVolumeExact;
}

std::string boardSizeText(double cm, char decimalSeparator)
{
    return formatDouble(roundHalfEven(cm, 1), decimalSeparator);
}

} // namespace kelvra
