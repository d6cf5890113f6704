#include "fit/FitSound.h"

#include <algorithm>
#include <cmath>

namespace kelvra::fit_detail
{

namespace
{

using Complex = std::complex<double>;

constexpr double kLowestF = 10.0;
constexpr double kGridStep = 48.0; // points per octave
constexpr double kReferenceF = 100.0;
const double kFlatFactor = std::pow(10.0, kFlatTolerance / 10);

double splOfPower(double acousticWatts)
{
    return 112.0 + 10 * std::log10(acousticWatts);
}

// Acoustic watts into half space per |U0|^2 w^2 (see the sound core's SPL).
constexpr double kWattsPerU0w2 = kAirDensity / (2 * kPi * kSpeedOfSound);

} // namespace

double bandStart(const Filter& subsonic, std::optional<double> fb)
{
    if (subsonic.on())
        return subsonic.frequency;
    return fb ? 0.75 * *fb : 20.0;
}

int gridPoints()
{
    return static_cast<int>(std::floor(kGridStep * std::log2(kBandTop / kLowestF) + 1e-9)) + 1;
}

double gridFrequency(int k)
{
    return kBandTop * std::exp2(-k / kGridStep);
}

SoundVerdict judgeExactly(const SoundSettings& s, double vbLitres, std::optional<double> fb,
                          double portAreaAllM2)
{
    SoundVerdict v;
    const auto circuit = makeBoxCircuit(s.woofer, vbLitres, fb, portAreaAllM2, s.options);
    if (!circuit)
        return v;
    const double ref = evaluate(*circuit, kReferenceF).spl;
    const double start = bandStart(s.options.subsonic, fb);
    std::vector<double> band;
    for (int k = 0; k < gridPoints(); ++k) {
        const double f = gridFrequency(k);
        if (evaluate(*circuit, f).spl > ref + kFlatTolerance)
            return v;
        if (f >= start)
            band.push_back(f);
    }
    band.push_back(start);
    for (double f : band) {
        const CircuitPoint p = evaluate(*circuit, f);
        v.excursionMax = std::max(v.excursionMax, p.excursion);
        v.portSpeedMax = std::max(v.portSpeedMax, p.portSpeed);
    }
    if (v.excursionMax > circuit->xmaxMm || v.portSpeedMax > kPortSpeedLimit)
        return v;
    const Woofer driver = equivalentDriver(s.woofer, s.options.woofers);
    if (fb) {
        const auto f3 = ventedF3(driver, vbLitres, *fb, s.options.ql);
        if (!f3)
            return v;
        v.f3 = *f3;
    } else {
        const auto sealed = sealedAlignment(driver, vbLitres);
        if (!sealed || !(sealed->f3 >= kF3SearchLow && sealed->f3 <= kF3SearchHigh))
            return v;
        v.f3 = sealed->f3;
    }
    v.maxSplAt = maxPowerAt(*circuit, s.splAt).spl;
    v.valid = std::isfinite(v.f3) && std::isfinite(v.maxSplAt);
    return v;
}

FastSound::FastSound(const SoundSettings& settings)
    : m_s(settings), m_driver(equivalentDriver(settings.woofer, settings.options.woofers))
{
    const auto circuit = makeBoxCircuit(m_s.woofer, 1.0, std::nullopt, 0, m_s.options);
    if (circuit)
        m_base = *circuit;
    const auto q = checkWoofer(m_driver);
    m_qts = q ? q->qts : 0.0;
    const int n = gridPoints();
    m_grid.reserve(static_cast<std::size_t>(n));
    for (int k = 0; k < n; ++k)
        m_grid.push_back(pointAt(gridFrequency(k)));
    m_at100 = static_cast<int>(std::lround(kGridStep * std::log2(kBandTop / kReferenceF)));
    m_atF = pointAt(m_s.splAt);
    const double sd = m_base.sd;
    m_xmaxLimit2 = std::pow(m_driver.xmax / 1000.0 * sd, 2) / 2.0;
}

FastSound::Point FastSound::pointAt(double f) const
{
    const BoxCircuit& c = m_base;
    Point p;
    p.f = f;
    p.w = 2 * kPi * f;
    const Complex s(0.0, p.w);
    const Complex ze = c.re + s * c.le;
    const double sd2 = c.sd * c.sd;
    const Complex pg = std::sqrt(c.powerW * c.re) * c.bl / (c.sd * ze);
    p.pg2 = std::norm(pg);
    p.zs = (s * c.mms + c.rms + 1.0 / (s * c.cms) + c.bl * c.bl / ze) / sd2;
    p.filt2 = std::norm(filterResponse(m_s.options, f));
    return p;
}

// One frequency: whether the rules hold there, with the running maxima. The pressure inside the box is
// pg / (zs ybox + 1); the cone's, the port's and the radiated flow follow from it.
bool FastSound::within(const Point& p, double cab, double map, double ral, bool vented, double area,
                       double splRef, bool inBand, SoundVerdict& out, double* splOut) const
{
    const Complex ybox = vented ? Complex(1.0 / ral, p.w * cab - 1.0 / (p.w * map)) : Complex(0.0, p.w * cab);
    const double pb2 = p.pg2 / std::norm(p.zs * ybox + 1.0) * p.filt2;
    const double radiated = pb2 * p.w * p.w * cab * cab * p.w * p.w; // |U0|^2 w^2
    if (splOut)
        *splOut = radiated;
    if (splRef > 0 && radiated > splRef)
        return false;
    if (!inBand)
        return true;
    const double cone = pb2 * std::norm(ybox) / (p.w * p.w); // |Ud|^2 / w^2
    if (cone > m_xmaxLimit2)
        return false;
    out.excursionMax = std::max(out.excursionMax, cone);
    if (vented && area > 0) {
        const double port = 2.0 * pb2 / (p.w * p.w * map * map * area * area);
        if (port > kPortSpeedLimit * kPortSpeedLimit)
            return false;
        out.portSpeedMax = std::max(out.portSpeedMax, port);
    }
    return true;
}

bool FastSound::judge(double vbLitres, std::optional<double> fb, double portAreaAllM2, SoundVerdict& out,
                      int tuning, CellCache* cache) const
{
    out = SoundVerdict{};
    if (!(vbLitres > 0) || m_grid.empty())
        return false;
    const double rc2 = kAirDensity * kSpeedOfSound * kSpeedOfSound;
    const double cab = vbLitres / 1000.0 / rc2;
    double map = 0, ral = 0;
    if (fb) {
        const double wb = 2 * kPi * *fb;
        map = 1.0 / (wb * wb * cab);
        ral = m_s.options.ql / (wb * cab);
    }
    const bool vented = fb.has_value();
    const double start = bandStart(m_s.options.subsonic, fb);
    double ref = 0;
    SoundVerdict scratch;
    within(m_grid[static_cast<std::size_t>(m_at100)], cab, map, ral, vented, portAreaAllM2, 0, false, scratch,
           &ref);
    const double limit = ref * kFlatFactor;
    for (const Point& p : m_grid)
        if (!within(p, cab, map, ral, vented, portAreaAllM2, limit, p.f >= start, out, nullptr))
            return false;
    if (!within(pointAt(start), cab, map, ral, vented, portAreaAllM2, 0, true, out, nullptr))
        return false;
    out.excursionMax = std::sqrt(2.0 * out.excursionMax) / m_base.sd * 1000.0;
    out.portSpeedMax = std::sqrt(out.portSpeedMax);
    return figures(vbLitres, fb, out, tuning, cache);
}

bool FastSound::figures(double vbLitres, std::optional<double> fb, SoundVerdict& out, int tuning,
                        CellCache* cache) const
{
    VolumeCell* cell = nullptr;
    if (cache && fb) {
        const int index = CellCache::indexOf(vbLitres);
        if (index >= 0) {
            cell = cache->find(tuning, index);
            if (!cell->f3Known)
                fillF3Start(*cell, CellCache::lowEdge(index), CellCache::highEdge(index), *fb);
        }
    }
    const double rc2 = kAirDensity * kSpeedOfSound * kSpeedOfSound;
    const double cab = vbLitres / 1000.0 / rc2;
    double map = 0, ral = 0;
    if (fb) {
        const double wb = 2 * kPi * *fb;
        map = 1.0 / (wb * wb * cab);
        ral = m_s.options.ql / (wb * cab);
    }
    const bool vented = fb.has_value();
    out.f3 = f3Of(vbLitres, fb, cell);
    const Point& atF = m_atF;
    double radiated = 0;
    SoundVerdict none;
    within(atF, cab, map, ral, vented, 0, 0, false, none, &radiated);
    const Complex ybox =
        vented ? Complex(1.0 / ral, atF.w * cab - 1.0 / (atF.w * map)) : Complex(0.0, atF.w * cab);
    const double cone2 =
        atF.pg2 / std::norm(atF.zs * ybox + 1.0) * atF.filt2 * std::norm(ybox) / (atF.w * atF.w);
    const double excursion = std::sqrt(2.0 * cone2) / m_base.sd * 1000.0;
    out.maxSplAt =
        splOfPower(kWattsPerU0w2 * radiated) + std::min(0.0, 20 * std::log10(m_s.woofer.xmax / excursion));
    out.valid = std::isfinite(out.f3) && out.f3 > 0 && std::isfinite(out.maxSplAt);
    return out.valid;
}

// F3 as the sound core finds it: the sealed box's closed form, or the vented response scanned down in
// 1/48 octave from 20 x max(Fs, Fb) and bisected, with the same steps in the same order.
namespace
{

const double kHalfPower = std::pow(10.0, -0.3);
const double kF3Step = std::pow(2.0, -1.0 / 48.0);
constexpr double kNoF3 = 0;

// Small's vented response with losses: the terms of D = (w^4 - a2 w^2 + 1) + j (a3 w - a1 w^3).
struct Vented {
    double a1 = 0, a3 = 0, t0 = 0;
    double a2base = 0, a2perAlpha = 0; // a2 = a2base + a2perAlpha alpha
};

Vented ventedTerms(const Woofer& w, double qt, double ql, double fb)
{
    Vented v;
    const double h = fb / w.fs;
    const double sh = std::sqrt(h);
    v.a1 = (ql + h * qt) / (sh * ql * qt);
    v.a3 = (h * ql + qt) / (sh * ql * qt);
    v.t0 = 1.0 / (2 * kPi * std::sqrt(w.fs * fb));
    v.a2base = (h + (1 + h * h) * ql * qt) / (h * ql * qt);
    v.a2perAlpha = 1.0 / h;
    return v;
}

} // namespace

// F3 as the sound core finds it: the sealed box's closed form, or the vented response scanned down in
// 1/48 octave from 20 x max(Fs, Fb) and bisected, at the same frequencies, |G|^2 against one half instead
// of its logarithm against -3 dB. The cell's bound lets the scan start where some volume of it can first
// be 3 dB down: no frequency above that is for any.
double FastSound::f3Of(double vbLitres, std::optional<double> fb, VolumeCell* cell) const
{
    const Woofer& w = m_driver;
    if (!fb) {
        const auto sealed = sealedAlignment(w, vbLitres);
        return sealed && sealed->f3 >= kF3SearchLow && sealed->f3 <= kF3SearchHigh ? sealed->f3 : kNoF3;
    }
    const Vented v = ventedTerms(w, m_qts, m_s.options.ql, *fb);
    const double a2 = v.a2base + v.a2perAlpha * (w.vas / vbLitres);
    const auto below = [&](double f) {
        const double x = 2 * kPi * f * v.t0, x2 = x * x, x4 = x2 * x2;
        const double re = x4 - a2 * x2 + 1.0, im = v.a3 * x - v.a1 * x2 * x;
        return x4 * x4 <= kHalfPower * (re * re + im * im);
    };
    double upper = kF3SearchHigh, f = upper * kF3Step;
    if (cell && cell->f3Known) {
        upper = cell->f3Upper;
        f = cell->f3From;
    } else if (below(kF3SearchHigh)) {
        return kNoF3;
    }
    for (; upper > kF3SearchLow; upper = f, f *= kF3Step) {
        const double lower = std::max(f, kF3SearchLow);
        if (below(lower)) {
            double lo = lower, hi = upper;
            const bool belowLo = below(lo);
            for (int i = 0; i < 40; ++i) {
                const double mid = std::sqrt(lo * hi);
                (below(mid) == belowLo ? lo : hi) = mid;
            }
            return std::sqrt(lo * hi);
        }
    }
    return kNoF3;
}

void FastSound::fillF3Start(VolumeCell& cell, double lowLitres, double highLitres, double fb) const
{
    const Woofer& w = m_driver;
    const Vented v = ventedTerms(w, m_qts, m_s.options.ql, fb);
    // The cell's a2 range, widened by far more than rounding can move a design's own a2.
    const double a2lo = (v.a2base + v.a2perAlpha * (w.vas / highLitres)) * (1 - 1e-9);
    const double a2hi = (v.a2base + v.a2perAlpha * (w.vas / lowLitres)) * (1 + 1e-9);
    const auto belowAny = [&](double f) {
        const double x = 2 * kPi * f * v.t0, x2 = x * x, x4 = x2 * x2;
        const double im = v.a3 * x - v.a1 * x2 * x;
        const double r1 = x4 - a2lo * x2 + 1.0, r2 = x4 - a2hi * x2 + 1.0;
        return x4 * x4 <= kHalfPower * (std::max(r1 * r1, r2 * r2) + im * im) * (1 + 1e-9);
    };
    // A design of the cell 3 dB down at 400 Hz has no F3: the scan starts from the top then.
    double upper = kF3SearchHigh, f = upper * kF3Step;
    if (!belowAny(kF3SearchHigh))
        for (; upper > kF3SearchLow; upper = f, f *= kF3Step)
            if (belowAny(std::max(f, kF3SearchLow)))
                break;
    cell.f3Upper = upper;
    cell.f3From = f;
    cell.f3Known = !belowAny(kF3SearchHigh);
}

namespace
{

constexpr double kCellLowest = 0.1;  // litres
constexpr double kCellRatio = 1.004; // each cell 0.4 % wide
const double kLogCellRatio = std::log(kCellRatio);

} // namespace

double CellCache::lowEdge(int index)
{
    static const std::vector<double> edges = [] {
        std::vector<double> e;
        for (int i = 0; kCellLowest * std::pow(kCellRatio, i - 2) < 2e5; ++i)
            e.push_back(kCellLowest * std::pow(kCellRatio, i));
        return e;
    }();
    return edges[static_cast<std::size_t>(index)];
}

int CellCache::indexOf(double vbLitres)
{
    if (!(vbLitres > kCellLowest) || !(vbLitres < 1e5))
        return -1;
    int i = static_cast<int>(std::log(vbLitres / kCellLowest) / kLogCellRatio);
    // The logarithm may round across an edge: the cell must hold the volume.
    while (i > 0 && vbLitres < lowEdge(i))
        --i;
    while (vbLitres > highEdge(i))
        ++i;
    return i;
}

VolumeCell* CellCache::find(int tuning, int index)
{
    const auto i = static_cast<std::size_t>(index);
    const auto t = static_cast<std::size_t>(tuning + 1);
    if (m_cells.size() <= t)
        m_cells.resize(t + 1);
    if (m_cells[t].size() <= i)
        m_cells[t].resize(i + 64);
    return &m_cells[t][i];
}

void FastSound::fillCell(VolumeCell& cell, double lowLitres, double highLitres,
                         std::optional<double> fb) const
{
    cell.known = true;
    const double rc2 = kAirDensity * kSpeedOfSound * kSpeedOfSound;
    // u = 1 / Cab over the cell.
    const double u1 = rc2 / (lowLitres / 1000.0);
    const double u0 = rc2 / (highLitres / 1000.0);
    const double wb = fb ? 2 * kPi * *fb : 0;
    const double start = bandStart(m_s.options.subsonic, fb);
    struct Bound {
        double dMin = 0, dMax = 0, y2 = 0;
    };
    const auto bound = [&](const Point& p) {
        const Complex y0 = fb ? Complex(wb / m_s.options.ql, p.w - wb * wb / p.w) : Complex(0.0, p.w);
        const Complex z = p.zs * y0;
        const auto d = [&](double u) {
            return (z.real() + u) * (z.real() + u) + z.imag() * z.imag();
        };
        const double uStar = std::clamp(-z.real(), u0, u1);
        return Bound{d(uStar), std::max(d(u0), d(u1)), std::norm(y0)};
    };
    const Point& ref = m_grid[static_cast<std::size_t>(m_at100)];
    const Bound refB = bound(ref);
    const double flat = std::pow(10.0, kFlatTolerance / 10);
    const double refSpl = ref.pg2 * ref.filt2 * std::pow(ref.w, 4);
    const double refLo = refSpl / refB.dMax * flat, refHi = refSpl / refB.dMin * flat;
    bool allHold = true;
    // False when the rules fail at this frequency for every volume of the cell.
    const auto look = [&](const Point& p, bool flatness) {
        const Bound b = bound(p);
        const double g = p.pg2 * p.filt2;
        if (flatness) {
            const double spl = g * std::pow(p.w, 4);
            if (spl / b.dMax > refHi)
                return false;
            if (spl / b.dMin > refLo)
                allHold = false;
        }
        if (p.f < start)
            return true;
        const double cone = g * b.y2 / (p.w * p.w);
        if (cone / b.dMax > m_xmaxLimit2)
            return false;
        if (cone / b.dMin > m_xmaxLimit2)
            allHold = false;
        if (fb) {
            const double port = 2 * g * wb * wb * wb * wb / (p.w * p.w);
            cell.portLo = std::max(cell.portLo, port / b.dMax);
            cell.portHi = std::max(cell.portHi, port / b.dMin);
        }
        return true;
    };
    cell.rules = -1;
    for (const Point& p : m_grid)
        if (!look(p, true))
            return;
    if (!look(pointAt(start), false))
        return;
    cell.rules = allHold ? 1 : 0;
}

std::pair<double, double> FastSound::possibleVolumes(std::optional<double> fb, double lowLitres,
                                                     double highLitres) const
{
    // Wide cells: only a range that fails for certain is left out.
    constexpr double kRatio = 1.05;
    double lo = INFINITY, hi = 0;
    for (double v = lowLitres; v < highLitres; v *= kRatio) {
        VolumeCell cell;
        fillCell(cell, v, v * kRatio, fb);
        if (cell.rules >= 0) {
            lo = std::min(lo, v);
            hi = v * kRatio;
        }
    }
    return {lo, hi};
}

int FastSound::quick(double vbLitres, int tuning, std::optional<double> fb, double portAreaAllM2,
                     CellCache& cache) const
{
    const int index = CellCache::indexOf(vbLitres);
    if (index < 0)
        return 0;
    VolumeCell* cell = cache.find(tuning, index);
    if (!cell->known)
        fillCell(*cell, CellCache::lowEdge(index), CellCache::highEdge(index), fb);
    if (cell->rules < 0)
        return -1;
    if (fb) {
        const double limit = kPortSpeedLimit * kPortSpeedLimit * portAreaAllM2 * portAreaAllM2;
        if (cell->portLo > limit)
            return -1;
        if (cell->portHi > limit)
            return 0;
    }
    return cell->rules;
}

} // namespace kelvra::fit_detail
