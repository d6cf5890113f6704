#include "acoustics/Acoustics.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace kelvra
{

namespace
{

using Complex = std::complex<double>;

// The lowest and highest frequency of the curve and of the limit search.
constexpr double kLowestF = 10.0;
constexpr double kHighestF = 200.0;
// The sensitivity's 112 dB is one acoustic watt radiated into half space, counted as if the pressure at
// 1 m were uniform over the hemisphere; the circuit's pressure uses that scale, so 112 is exact.
constexpr double kSensitivityAtOneWatt = 112.0;

AcousticsError fieldError(std::string_view key, std::string_view what)
{
    return AcousticsError{std::string(key), std::string(key) + ": " + std::string(what)};
}

bool positive(double v)
{
    return std::isfinite(v) && v > 0;
}

double litresToM3(double litres)
{
    return litres / 1000.0;
}

Checked<double> checkedVb(double vbLitres)
{
    if (!positive(vbLitres))
        return fieldError("vb", "the net volume must be greater than 0");
    return litresToM3(vbLitres);
}

// A valid woofer and a net volume > 0 (m3), checked in that order, as every model of the box needs them.
struct WooferInBox {
    QualityFactors q;
    double vb = 0;
};
Checked<WooferInBox> checkedWooferInBox(const Woofer& woofer, double vbLitres)
{
    const auto q = completeQualities(woofer);
    if (!q)
        return q.error();
    const auto vb = checkedVb(vbLitres);
    if (!vb)
        return vb.error();
    return WooferInBox{*q, *vb};
}

// The net volume (m3) and the area of one port (m2), checked in that order.
struct PortInBox {
    double vb = 0;
    double area = 0;
};
Checked<PortInBox> checkedPortInBox(const Port& port, double vbLitres)
{
    const auto vb = checkedVb(vbLitres);
    if (!vb)
        return vb.error();
    const auto area = portArea(port);
    if (!area)
        return area.error();
    return PortInBox{*vb, *area};
}

// Bisects [lo, hi] on a log scale for the frequency where `above(f)` changes; `above(lo)` differs from
// `above(hi)`.
template <typename Above> double bisectLog(double lo, double hi, Above above)
{
    const bool aboveLo = above(lo);
    for (int i = 0; i < 36; ++i) {
        const double mid = std::sqrt(lo * hi);
        (above(mid) == aboveLo ? lo : hi) = mid;
    }
    return std::sqrt(lo * hi);
}

// Coming down from 200 Hz in 1/48-octave steps, the first frequency where value(f) >= limit.
template <typename Value> std::optional<double> firstFromAbove(Value value, double limit)
{
    const double step = std::pow(2.0, -1.0 / 48.0);
    double upper = kHighestF;
    if (value(upper) >= limit)
        return upper;
    for (double f = upper * step; f > kLowestF * step * 0.999; upper = f, f *= step) {
        const double lower = std::max(f, kLowestF);
        if (value(lower) >= limit)
            return bisectLog(lower, upper, [&](double x) { return value(x) >= limit; });
        if (lower == kLowestF)
            break;
    }
    return std::nullopt;
}

// One second-order section at s / wc: a high pass s^2 / (s^2 + s / q + 1) or a low pass 1 / (...).
Complex section(Complex sn, double q, bool highPass)
{
    const Complex den = sn * sn + sn / q + 1.0;
    return (highPass ? sn * sn : Complex(1.0)) / den;
}

Complex filterAt(const Filter& filter, bool highPass, double f)
{
    if (!filter.on())
        return 1.0;
    const Complex sn(0.0, f / filter.frequency);
    switch (filter.type) {
    case FilterType::Butterworth2:
        return section(sn, 1 / std::sqrt(2.0), highPass);
    case FilterType::Butterworth4:
        return section(sn, 1 / (2 * std::cos(kPi / 8)), highPass) *
               section(sn, 1 / (2 * std::cos(3 * kPi / 8)), highPass);
    case FilterType::LinkwitzRiley4: {
        const Complex half = section(sn, 1 / std::sqrt(2.0), highPass);
        return half * half;
    }
    case FilterType::Off:
        break;
    }
    return 1.0;
}

Complex filtersAt(const Filter& subsonic, const Filter& lowpass, double f)
{
    if (!subsonic.on() && !lowpass.on())
        return 1.0;
    return filterAt(subsonic, true, f) * filterAt(lowpass, false, f);
}

// The four limits of a report in one walk down from 200 Hz: excursion and port speed reach their limit
// at the chosen power and at the full rated power. The values grow with the square root of the power,
// so the full power's limits are the chosen power's at limit * sqrt(power / full power).
struct LimitWalk {
    std::array<std::optional<double>, 4> at; // Xmax, port speed, Xmax at full power, port speed at full
};

struct Driven {
    Complex ud; // cone, m3/s RMS, into the box
    Complex up; // port, m3/s RMS, out of the box
    Complex u0; // radiated in all, m3/s RMS
};

Driven drive(const BoxCircuit& c, double f)
{
    const double w = 2 * kPi * f;
    const Complex s(0.0, w);
    const Complex ze = c.re + s * c.le;
    const double sd2 = c.sd * c.sd;
    const Complex pg = std::sqrt(c.powerW * c.re) * c.bl / (c.sd * ze) * filtersAt(c.subsonic, c.lowpass, f);
    const Complex zs = (s * c.mms + c.rms + 1.0 / (s * c.cms) + c.bl * c.bl / ze) / sd2;
    Complex ybox = s * c.cab;
    if (c.vented)
        ybox += 1.0 / c.ral + 1.0 / (s * c.map);
    const Complex zbox = 1.0 / ybox;
    Driven d;
    d.ud = pg / (zs + zbox);
    const Complex pb = d.ud * zbox;
    d.up = c.vented ? pb / (s * c.map) : Complex(0.0);
    // What the cone pushes in and the port and leak let out is what the box air is compressed by;
    // its opposite is what leaves the box in all, cone front, port and leak together.
    d.u0 = pb * s * c.cab;
    return d;
}

double excursionMm(const BoxCircuit& c, const Driven& d, double f)
{
    return std::sqrt(2.0) * std::abs(d.ud) / (c.sd * 2 * kPi * f) * 1000.0;
}

double portSpeedOf(const BoxCircuit& c, const Driven& d)
{
    return c.vented && c.portAreaM2 > 0 ? std::sqrt(2.0) * std::abs(d.up) / c.portAreaM2 : 0.0;
}

double splOf(const Driven& d, double f)
{
    // Acoustic power into half space at 1 m: |p|^2 2 pi r^2 / (rho c), p = rho j w U0 / (2 pi r).
    const double w = 2 * kPi * f;
    const double watts = kAirDensity * w * w * std::norm(d.u0) / (2 * kPi * kSpeedOfSound);
    return kSensitivityAtOneWatt + 10 * std::log10(watts);
}

bool finiteReport(const SoundReport& r)
{
    const auto fine = [](std::optional<double> v) {
        return !v || std::isfinite(*v);
    };
    if (!fine(r.fb) || !fine(r.portLength) || !fine(r.qtc) || !fine(r.fc) || !fine(r.f3) ||
        !std::isfinite(r.peakDb) || !std::isfinite(r.sensitivity) || !fine(r.excursionLimitF) ||
        !fine(r.portSpeedLimitF) || !fine(r.portResonance) || !std::isfinite(r.load))
        return false;
    return std::all_of(r.curve.begin(), r.curve.end(), [](const CurvePoint& p) {
        return std::isfinite(p.f) && std::isfinite(p.spl) && std::isfinite(p.splCabin) &&
               std::isfinite(p.excursion) && std::isfinite(p.portSpeed) && std::isfinite(p.maxSpl) &&
               std::isfinite(p.maxPower) && std::isfinite(p.impedance) && std::isfinite(p.impedancePhase) &&
               std::isfinite(p.groupDelay);
    });
}

// The phase change of u(f) over a small step about f as a delay, ms: -dphi / domega.
template <typename Response> double delayMs(Response u, double f)
{
    constexpr double step = 1e-4;
    const Complex turn = u(f * (1 + step)) * std::conj(u(f * (1 - step)));
    return -std::arg(turn) / (2 * kPi * f * 2 * step) * 1000.0;
}

} // namespace

Woofer equivalentDriver(const Woofer& woofer, int count)
{
    Woofer eq = woofer;
    const double n = std::max(1, count);
    eq.vas *= n;
    eq.sd *= n;
    eq.pe *= n;
    return eq;
}

double nominalLoad(const Woofer& woofer, const SoundOptions& options)
{
    const double one =
        woofer.coils == 2 ? (options.wiring.coilsInParallel ? woofer.z / 2 : woofer.z * 2) : woofer.z;
    const double n = std::max(1, options.woofers);
    return options.wiring.woofersInSeries ? one * n : one / n;
}

double wiringImpedanceFactor(const SoundOptions& options)
{
    const double n = std::max(1, options.woofers);
    return options.wiring.woofersInSeries ? n : 1.0 / n;
}

std::complex<double> filterResponse(const SoundOptions& options, double f)
{
    return filtersAt(options.subsonic, options.lowpass, f);
}

double filterGroupDelayMs(const SoundOptions& options, double f)
{
    return delayMs([&](double x) { return filtersAt(options.subsonic, options.lowpass, x); }, f);
}

double endCorrectionFactor(EndCorrection endCorrection)
{
    switch (endCorrection) {
    case EndCorrection::BothFree:
        return 0.614;
    case EndCorrection::BothFlanged:
        return 0.850;
    case EndCorrection::OneFlanged:
        break;
    }
    return 0.732;
}

double cabinCorner(CarClass car)
{
    switch (car) {
    case CarClass::Compact:
        return 87.0;
    case CarClass::Midsize:
        return 66.0;
    case CarClass::Van:
        return 48.0;
    case CarClass::None:
        break;
    }
    return 0.0;
}

double cabinGain(CarClass car, double f)
{
    const double fc = cabinCorner(car);
    return fc > 0 && f > 0 && f < fc ? 40.0 * std::log10(fc / f) : 0.0;
}

Checked<double> portArea(const Port& port)
{
    if (port.round) {
        if (!positive(port.diameterCm))
            return fieldError("dp", "the port diameter must be greater than 0");
        const double d = port.diameterCm / 100.0;
        return kPi * d * d / 4.0;
    }
    if (!positive(port.widthCm))
        return fieldError("bp", "the port width must be greater than 0");
    if (!positive(port.heightCm))
        return fieldError("hp", "the port height must be greater than 0");
    return port.widthCm / 100.0 * port.heightCm / 100.0;
}

double equivalentDiameter(double areaM2)
{
    return 2.0 * std::sqrt(areaM2 / kPi);
}

Checked<double> tuningFrequency(const Port& port, double vbLitres)
{
    if (port.count <= 0)
        return fieldError("pieces2", "a sealed box has no port tuning");
    const auto box = checkedPortInBox(port, vbLitres);
    if (!box)
        return box.error();
    if (!std::isfinite(port.lengthCm) || port.lengthCm < 0)
        return fieldError("lp", "the port length must be 0 or more");
    const double leff =
        port.lengthCm / 100.0 + endCorrectionFactor(port.endCorrection) * equivalentDiameter(box->area);
    const double fb = kSpeedOfSound / (2 * kPi) * std::sqrt(box->area * port.count / (box->vb * leff));
    if (!std::isfinite(fb))
        return fieldError("lp", "the port gives no finite tuning");
    return fb;
}

Checked<double> pipeResonance(const Port& port)
{
    if (port.count <= 0)
        return fieldError("pieces2", "a sealed box has no port");
    const auto area = portArea(port);
    if (!area)
        return area.error();
    if (!std::isfinite(port.lengthCm) || port.lengthCm < 0)
        return fieldError("lp", "the port length must be 0 or more");
    const double leff =
        port.lengthCm / 100.0 + endCorrectionFactor(port.endCorrection) * equivalentDiameter(*area);
    return kSpeedOfSound / (2 * leff);
}

Checked<double> portLengthFor(const Port& port, double vbLitres, double targetFb)
{
    if (port.count <= 0)
        return fieldError("pieces2", "a sealed box has no port to size");
    if (!positive(targetFb))
        return fieldError("targetfb", "the target tuning must be greater than 0");
    const auto box = checkedPortInBox(port, vbLitres);
    if (!box)
        return box.error();
    const double w = 2 * kPi * targetFb;
    const double leff = kSpeedOfSound * kSpeedOfSound * box->area * port.count / (w * w * box->vb);
    const double length = leff - endCorrectionFactor(port.endCorrection) * equivalentDiameter(box->area);
    if (!std::isfinite(length) || length < 0)
        return fieldError("targetfb", "the port is too wide for this tuning: make it narrower");
    return length * 100.0;
}

double referenceEfficiency(const Woofer& woofer)
{
    const auto q = completeQualities(woofer);
    const double qes = q ? q->qes : 0.0;
    const double fs = woofer.fs;
    return 4 * kPi * kPi / std::pow(kSpeedOfSound, 3) * fs * fs * fs * litresToM3(woofer.vas) / qes;
}

double sensitivity(const Woofer& woofer)
{
    return kSensitivityAtOneWatt + 10 * std::log10(referenceEfficiency(woofer));
}

Checked<SealedAlignment> sealedAlignment(const Woofer& woofer, double vbLitres)
{
    const auto box = checkedWooferInBox(woofer, vbLitres);
    if (!box)
        return box.error();
    const double ratio = std::sqrt(woofer.vas / vbLitres + 1.0);
    SealedAlignment a;
    a.qtc = box->q.qts * ratio;
    a.fc = woofer.fs * ratio;
    // |G|^2 = 1/2 of the second-order high pass, solved for (f/fc)^2.
    const double b = 1.0 / (a.qtc * a.qtc) - 2.0;
    a.f3 = a.fc * std::sqrt((b + std::sqrt(b * b + 4.0)) / 2.0);
    a.peakDb =
        a.qtc > 1.0 / std::sqrt(2.0) ? 20 * std::log10(a.qtc * a.qtc / std::sqrt(a.qtc * a.qtc - 0.25)) : 0.0;
    return a;
}

double sealedResponseDb(const SealedAlignment& sealed, double f)
{
    const double x2 = (f / sealed.fc) * (f / sealed.fc);
    const double re = 1.0 - x2; // denominator of x^2 / (1 - x^2 + j x / Q)
    const double im = std::sqrt(x2) / sealed.qtc;
    return 10 * std::log10(x2 * x2 / (re * re + im * im));
}

namespace
{

// Small's response with its coefficients worked out once, for the searches that call it often.
struct VentedResponse {
    double a1 = 0, a2 = 0, a3 = 0, t0 = 0;
    VentedResponse(const Woofer& woofer, double vbLitres, double fb, double ql)
    {
        const auto q = completeQualities(woofer);
        const double qt = q ? q->qts : 0.0;
        const double h = fb / woofer.fs;
        const double alpha = woofer.vas / vbLitres;
        const double sh = std::sqrt(h);
        a1 = (ql + h * qt) / (sh * ql * qt);
        a2 = (h + (alpha + 1 + h * h) * ql * qt) / (h * ql * qt);
        a3 = (h * ql + qt) / (sh * ql * qt);
        t0 = 1.0 / (2 * kPi * std::sqrt(woofer.fs * fb));
    }
    double db(double f) const
    {
        const Complex x(0.0, 2 * kPi * f * t0);
        const Complex x2 = x * x;
        const Complex g = x2 * x2 / (x2 * x2 + a1 * x2 * x + a2 * x2 + a3 * x + 1.0);
        return 10 * std::log10(std::norm(g));
    }
};

} // namespace

double ventedResponseDb(const Woofer& woofer, double vbLitres, double fb, double ql, double f)
{
    return VentedResponse(woofer, vbLitres, fb, ql).db(f);
}

Checked<double> ventedF3(const Woofer& woofer, double vbLitres, double fb, double ql)
{
    const auto box = checkedWooferInBox(woofer, vbLitres);
    if (!box)
        return box.error();
    if (!positive(fb))
        return fieldError("fb", "the tuning must be greater than 0");
    if (!positive(ql))
        return fieldError("ql", "must be greater than 0");
    const VentedResponse response(woofer, vbLitres, fb, ql);
    const auto below = [&](double f) {
        return response.db(f) <= -3.0;
    };
    const double step = std::pow(2.0, -1.0 / 48.0);
    if (below(kF3SearchHigh))
        return fieldError("fb", "the response has no -3 dB point between 5 and 400 Hz");
    for (double upper = kF3SearchHigh, f = upper * step; upper > kF3SearchLow; upper = f, f *= step) {
        const double lower = std::max(f, kF3SearchLow);
        if (below(lower))
            return bisectLog(lower, upper, below);
    }
    return fieldError("fb", "the response has no -3 dB point between 5 and 400 Hz");
}

double curveFrequency(int i)
{
    return 10.0 * std::exp2(i / 12.0);
}

Checked<BoxCircuit> makeBoxCircuit(const Woofer& one, double vbLitres, std::optional<double> fb,
                                   double portAreaM2, const SoundOptions& options)
{
    const Woofer woofer = equivalentDriver(one, options.woofers);
    const auto box = checkedWooferInBox(woofer, vbLitres);
    if (!box)
        return box.error();
    const QualityFactors& q = box->q;
    if (!positive(options.power))
        return fieldError("power", "must be greater than 0");
    if (fb && !positive(*fb))
        return fieldError("fb", "the tuning must be greater than 0");
    if (fb && !positive(options.ql))
        return fieldError("ql", "must be greater than 0");

    const double rc2 = kAirDensity * kSpeedOfSound * kSpeedOfSound;
    const double ws = 2 * kPi * woofer.fs;
    BoxCircuit c;
    c.powerW = options.power;
    c.re = woofer.re;
    c.le = woofer.le / 1000.0;
    c.sd = woofer.sd / 10000.0;
    c.cms = litresToM3(woofer.vas) / (rc2 * c.sd * c.sd);
    c.mms = 1.0 / (ws * ws * c.cms);
    c.rms = q.qms ? ws * c.mms / *q.qms : 0.0;
    c.bl = std::sqrt(ws * c.mms * c.re / q.qes);
    c.cab = box->vb / rc2;
    c.car = options.car;
    c.xmaxMm = woofer.xmax;
    c.ratedPowerW = woofer.pe;
    c.impedanceFactor = wiringImpedanceFactor(options);
    c.subsonic = options.subsonic;
    c.lowpass = options.lowpass;
    if (fb) {
        const double wb = 2 * kPi * *fb;
        c.vented = true;
        c.map = 1.0 / (wb * wb * c.cab);
        // Small's QL = wb Cab RAL: the leak in parallel with the box air.
        c.ral = options.ql / (wb * c.cab);
        c.portAreaM2 = std::max(0.0, portAreaM2);
    }
    return c;
}

CircuitPoint evaluate(const BoxCircuit& circuit, double f)
{
    const Driven d = drive(circuit, f);
    return {splOf(d, f), excursionMm(circuit, d, f), portSpeedOf(circuit, d)};
}

BoxCircuit atPower(BoxCircuit circuit, double powerW)
{
    circuit.powerW = powerW;
    return circuit;
}

std::complex<double> impedance(const BoxCircuit& c, double f)
{
    const Complex s(0.0, 2 * kPi * f);
    const Complex ze = c.re + s * c.le;
    Complex ybox = s * c.cab;
    if (c.vented)
        ybox += 1.0 / c.ral + 1.0 / (s * c.map);
    const Complex zm = s * c.mms + c.rms + 1.0 / (s * c.cms) + c.sd * c.sd / ybox;
    return (ze + c.bl * c.bl / zm) * c.impedanceFactor;
}

double groupDelayMs(const BoxCircuit& circuit, double f)
{
    // The pressure is j omega U0: the constant quarter turn of j delays nothing.
    return delayMs([&](double x) { return drive(circuit, x).u0; }, f);
}

namespace
{

PowerLimit powerLimitOf(const BoxCircuit& c, const CircuitPoint& at)
{
    // Excursion grows with the square root of the power; the rated power caps it.
    const double byXmax =
        at.excursion > 0 ? c.powerW * (c.xmaxMm / at.excursion) * (c.xmaxMm / at.excursion) : c.ratedPowerW;
    PowerLimit limit;
    limit.powerW = std::min(byXmax, c.ratedPowerW);
    limit.spl = at.spl + 10 * std::log10(limit.powerW / c.powerW);
    return limit;
}

} // namespace

PowerLimit maxPowerAt(const BoxCircuit& circuit, double f)
{
    return powerLimitOf(circuit, evaluate(circuit, f));
}

Curve computeCurve(const BoxCircuit& circuit)
{
    Curve curve;
    for (int i = 0; i < kCurvePoints; ++i) {
        CurvePoint& p = curve[static_cast<std::size_t>(i)];
        p.f = curveFrequency(i);
        const CircuitPoint at = evaluate(circuit, p.f);
        p.spl = at.spl;
        p.splCabin = at.spl + cabinGain(circuit.car, p.f);
        p.excursion = at.excursion;
        p.portSpeed = at.portSpeed;
        const PowerLimit limit = powerLimitOf(circuit, at);
        p.maxPower = limit.powerW;
        p.maxSpl = limit.spl;
        const Complex z = impedance(circuit, p.f);
        p.impedance = std::abs(z);
        p.impedancePhase = std::arg(z) * 180.0 / kPi;
        p.groupDelay = groupDelayMs(circuit, p.f);
    }
    return curve;
}

std::optional<double> excursionLimitFrequency(const BoxCircuit& circuit, double xmaxMm)
{
    return firstFromAbove([&](double f) { return evaluate(circuit, f).excursion; }, xmaxMm);
}

std::optional<double> portSpeedLimitFrequency(const BoxCircuit& circuit, double limit)
{
    if (!circuit.vented || circuit.portAreaM2 <= 0)
        return std::nullopt;
    return firstFromAbove([&](double f) { return evaluate(circuit, f).portSpeed; }, limit);
}

namespace
{

LimitWalk walkLimits(const BoxCircuit& c, double xmaxMm, double fullPowerW)
{
    const double scale = std::sqrt(c.powerW / fullPowerW);
    const std::array<double, 4> limit{xmaxMm, kPortSpeedLimit, xmaxMm * scale, kPortSpeedLimit * scale};
    const bool port = c.vented && c.portAreaM2 > 0;
    const auto value = [&](std::size_t k, double f) {
        const CircuitPoint p = evaluate(c, f);
        return k % 2 == 0 ? p.excursion : p.portSpeed;
    };
    LimitWalk walk;
    std::array<bool, 4> open{true, port, true, port};
    const double step = std::pow(2.0, -1.0 / 48.0);
    double upper = kHighestF;
    CircuitPoint at = evaluate(c, upper);
    for (std::size_t k = 0; k < 4; ++k)
        if (open[k] && (k % 2 == 0 ? at.excursion : at.portSpeed) >= limit[k]) {
            walk.at[k] = upper;
            open[k] = false;
        }
    for (double f = upper * step; f > kLowestF * step * 0.999 && (open[0] || open[1] || open[2] || open[3]);
         upper = f, f *= step) {
        const double lower = std::max(f, kLowestF);
        at = evaluate(c, lower);
        for (std::size_t k = 0; k < 4; ++k)
            if (open[k] && (k % 2 == 0 ? at.excursion : at.portSpeed) >= limit[k]) {
                walk.at[k] = bisectLog(lower, upper, [&](double x) { return value(k, x) >= limit[k]; });
                open[k] = false;
            }
        if (lower == kLowestF)
            break;
    }
    return walk;
}

} // namespace

Checked<double> portAreaForSpeed(const Woofer& woofer, double vbLitres, double fb, int portCount,
                                 const SoundOptions& options, double speedLimit)
{
    if (portCount <= 0)
        return fieldError("pieces2", "a sealed box has no port to size");
    if (!positive(speedLimit))
        return fieldError("speed", "the speed limit must be greater than 0");
    // The unit area makes the port speed equal the port's volume velocity.
    const auto circuit = makeBoxCircuit(woofer, vbLitres, fb, 1.0, options);
    if (!circuit)
        return circuit.error();
    double peak = 0;
    for (double f = kLowestF; f <= kHighestF * 1.0001; f *= std::pow(2.0, 1.0 / 96.0))
        peak = std::max(peak, evaluate(*circuit, f).portSpeed);
    const double cm2 = peak / speedLimit / portCount * 10000.0;
    if (!std::isfinite(cm2))
        return fieldError("fs", "the woofer's parameters give no finite port area");
    return cm2;
}

Checked<SoundReport> analyseSound(const Woofer& one, const Port& port, double vbLitres,
                                  const SoundOptions& options)
{
    if (const auto q = checkWoofer(one); !q)
        return q.error();
    const Woofer woofer = equivalentDriver(one, options.woofers);
    if (const auto box = checkedWooferInBox(woofer, vbLitres); !box)
        return box.error();

    SoundReport report;
    report.woofers = std::max(1, options.woofers);
    report.sensitivity = sensitivity(woofer);
    report.ratedPower = woofer.pe;
    report.load = nominalLoad(one, options);
    if (!std::isfinite(report.sensitivity))
        return fieldError("fs", "the woofer's parameters give no finite result");
    const auto inSearch = [](double f) {
        return f >= kF3SearchLow && f <= kF3SearchHigh ? std::optional<double>(f) : std::nullopt;
    };
    double areaAll = 0;
    if (port.count > 0) {
        const auto fb = tuningFrequency(port, vbLitres);
        if (!fb)
            return fb.error();
        report.fb = *fb;
        areaAll = *portArea(port) * port.count;
        if (options.targetFb) {
            const auto length = portLengthFor(port, vbLitres, *options.targetFb);
            if (length)
                report.portLength = *length;
        }
        if (!positive(options.ql))
            return fieldError("ql", "must be greater than 0");
        const auto f3 = ventedF3(woofer, vbLitres, *fb, options.ql);
        if (f3)
            report.f3 = *f3;
        if (const auto pipe = pipeResonance(port))
            report.portResonance = *pipe;
    } else {
        const auto sealed = sealedAlignment(woofer, vbLitres);
        if (!sealed)
            return sealed.error();
        report.qtc = sealed->qtc;
        report.fc = sealed->fc;
        report.f3 = inSearch(sealed->f3);
        report.peakDb = sealed->peakDb;
    }

    const auto circuit = makeBoxCircuit(one, vbLitres, report.fb, areaAll, options);
    if (!circuit)
        return circuit.error();
    report.curve = computeCurve(*circuit);
    const LimitWalk walk = walkLimits(*circuit, one.xmax, report.ratedPower);
    report.excursionLimitF = walk.at[0];
    report.portSpeedLimitF = walk.at[1];
    report.fullPower.power = report.ratedPower;
    report.fullPower.excursionLimitAt = walk.at[2];
    report.fullPower.portSpeedLimitAt = walk.at[3];
    report.suggested = suggestBoxes(one, options);

    if (const auto qts = qtsDisagreement(one))
        report.warnings.push_back({SoundWarningKind::QtsDisagrees, *one.qts, *qts});
    if (options.power > report.ratedPower)
        report.warnings.push_back({SoundWarningKind::PowerAboveRated, options.power, report.ratedPower});
    if (report.load < kLowestLoad)
        report.warnings.push_back({SoundWarningKind::LoadBelowOneOhm, report.load});
    if (report.portResonance && *report.portResonance < kLowestPipeResonance)
        report.warnings.push_back({SoundWarningKind::PipeResonanceLow, *report.portResonance});
    if (!finiteReport(report))
        return fieldError("fs", "the woofer's parameters give no finite result");
    return report;
}

} // namespace kelvra
