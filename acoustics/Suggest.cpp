// The boxes a woofer suits, and the warnings in words.
#include "acoustics/Acoustics.h"

#include "calc/Numeric.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kelvra
{

namespace
{

constexpr double kButterworthQ = 0.70710678118654752;

// Small's vented response with losses, G(s) = s^4 / (s^4 + a1 s^3 + a2 s^2 + a3 s + 1) with s in units
// of 1 / T0 = 2 pi sqrt(Fs Fb). With y = (omega T0)^2, |G|^2 = y^4 / (y^4 + p(y)) where
// p(y) = A y^3 + B y^2 + C y + 1, and its -3 dB point is the root of y^4 = p(y). |G|^2 rises all the
// way to its passband (no hump above it, and no dip that climbs back either) exactly when its slope
// 4 p - y p' = A y^3 + 2 B y^2 + 3 C y + 4 >= 0 for every y > 0.
struct Cubic {
    double a = 0, b = 0, c = 0;
    double operator()(double y) const { return ((a * y + b) * y + c) * y + 1.0; }
};

Cubic ventedCubic(double qt, double ql, double alpha, double h)
{
    const double sh = std::sqrt(h);
    const double a1 = (ql + h * qt) / (sh * ql * qt);
    const double a2 = (h + (alpha + 1 + h * h) * ql * qt) / (h * ql * qt);
    const double a3 = (h * ql + qt) / (sh * ql * qt);
    return {a1 * a1 - 2 * a2, a2 * a2 + 2 - 2 * a1 * a3, a3 * a3 - 2 * a2};
}

// p >= 0 at its minima over y > 0 (a hair of rounding allowed).
bool nonNegative(const Cubic& p)
{
    constexpr double tolerance = 1e-9;
    if (p.a < -tolerance)
        return false;
    const auto fine = [&](double y) {
        return y <= 0 || p(y) >= -tolerance * std::max(1.0, y * y * y * y);
    };
    if (std::abs(p.a) <= tolerance) {
        if (p.b < 0)
            return false;
        return p.b == 0 ? p.c >= 0 : fine(-p.c / (2 * p.b));
    }
    const double disc = p.b * p.b - 3 * p.a * p.c;
    if (disc < 0)
        return true; // p rises all the way from p(0) = 1
    const double root = std::sqrt(disc);
    return fine((-p.b + root) / (3 * p.a)) && fine((-p.b - root) / (3 * p.a));
}

bool flat(const Cubic& p)
{
    return nonNegative(Cubic{p.a / 4, p.b / 2, 3 * p.c / 4});
}

// The real roots of y^3 + b y^2 + c y + d = 0, by the trigonometric or Cardano form.
std::vector<double> cubicRoots(double b, double c, double d)
{
    const double shift = b / 3;
    const double p = c - b * b / 3;
    const double q = 2 * b * b * b / 27 - b * c / 3 + d;
    std::vector<double> roots;
    const double disc = q * q / 4 + p * p * p / 27;
    if (disc > 0) {
        const double r = std::sqrt(disc);
        roots.push_back(std::cbrt(-q / 2 + r) + std::cbrt(-q / 2 - r) - shift);
    } else if (p == 0) {
        roots.push_back(-shift);
    } else {
        const double m = 2 * std::sqrt(-p / 3);
        const double theta = std::acos(std::clamp(3 * q / (p * m), -1.0, 1.0)) / 3;
        for (int k = 0; k < 3; ++k)
            roots.push_back(m * std::cos(theta - 2 * kPi * k / 3) - shift);
    }
    return roots;
}

// The largest y where |G|^2 = g, g = 10^-0.3 (-3 dB as ventedF3 takes it): y^4 = k p(y), k = g / (1 - g).
// Coming down from high frequencies, the first -3 dB point. Between the turning points of
// q = y^4 - k p, q is monotone, so the highest stretch where q changes sign holds it.
double minusThreeY(const Cubic& p)
{
    const double g = std::pow(10.0, -0.3);
    const double k = g / (1 - g);
    const auto q = [&](double y) {
        return y * y * y * y - k * p(y);
    };
    std::vector<double> edges{0.0, 1.0 + k * std::max({std::abs(p.a), std::abs(p.b), std::abs(p.c), 1.0})};
    // q' = 4 y^3 - k (3 a y^2 + 2 b y + c).
    for (double y : cubicRoots(-0.75 * k * p.a, -0.5 * k * p.b, -0.25 * k * p.c))
        if (y > 0 && y < edges[1])
            edges.push_back(y);
    std::sort(edges.begin(), edges.end());
    for (std::size_t i = edges.size() - 1; i > 0; --i) {
        double lo = edges[i - 1], hi = edges[i];
        if (!(q(lo) <= 0 && q(hi) > 0))
            continue;
        for (int k = 0; k < 60; ++k) {
            const double mid = 0.5 * (lo + hi);
            (q(mid) > 0 ? hi : lo) = mid;
        }
        return 0.5 * (lo + hi);
    }
    return 0.0;
}

// For a box ratio alpha = Vas / Vb: the highest tuning ratio h = Fb / Fs with no hump, and the F3 / Fs
// it gives; none when even the lowest tuning humps.
struct Tuned {
    double h = 0, f3 = 0;
};
std::optional<Tuned> flattestTuning(double qt, double ql, double alpha)
{
    // The flat tunings of one box lie between a lowest and a highest; the highest goes lowest. Look
    // from the top down for one, then close in on the edge above it.
    constexpr double lowH = 0.1, highH = 4.0;
    constexpr int steps = 16;
    const double ratio = std::pow(highH / lowH, 1.0 / steps);
    double lo = highH, hi = highH;
    bool found = false;
    for (int i = steps; i >= 0 && !found; --i) {
        hi = lo;
        lo = lowH * std::pow(ratio, i);
        found = flat(ventedCubic(qt, ql, alpha, lo));
    }
    if (!found)
        return std::nullopt;
    if (lo < hi)
        for (int i = 0; i < 24; ++i) {
            const double mid = std::sqrt(lo * hi);
            (flat(ventedCubic(qt, ql, alpha, mid)) ? lo : hi) = mid;
        }
    return Tuned{lo, std::sqrt(minusThreeY(ventedCubic(qt, ql, alpha, lo)) * lo)};
}

std::optional<SuggestedVented> flatVented(const Woofer& w, double qt, double ql)
{
    // Box ratios from a box 20 times Vas down to one a fiftieth of it: a coarse look, then a golden
    // section about the best.
    constexpr double lowAlpha = 0.05, highAlpha = 50.0;
    constexpr int steps = 20;
    const double ratio = std::pow(highAlpha / lowAlpha, 1.0 / steps);
    const auto f3Of = [&](double alpha) {
        const auto t = flattestTuning(qt, ql, alpha);
        return t ? t->f3 : INFINITY;
    };
    int best = -1;
    double bestF3 = INFINITY;
    for (int i = 0; i <= steps; ++i) {
        const double f3 = f3Of(lowAlpha * std::pow(ratio, i));
        if (f3 < bestF3)
            bestF3 = f3, best = i;
    }
    if (best < 0)
        return std::nullopt;
    double lo = std::log(lowAlpha) + std::max(0, best - 1) * std::log(ratio);
    double hi = std::log(lowAlpha) + std::min(steps, best + 1) * std::log(ratio);
    const double g = (std::sqrt(5.0) - 1) / 2;
    double x1 = hi - g * (hi - lo), x2 = lo + g * (hi - lo);
    double f1 = f3Of(std::exp(x1)), f2 = f3Of(std::exp(x2));
    for (int i = 0; i < 16; ++i) {
        if (f1 <= f2) {
            hi = x2, x2 = x1, f2 = f1;
            x1 = hi - g * (hi - lo), f1 = f3Of(std::exp(x1));
        } else {
            lo = x1, x1 = x2, f1 = f2;
            x2 = lo + g * (hi - lo), f2 = f3Of(std::exp(x2));
        }
    }
    const double alpha = std::exp(f1 <= f2 ? x1 : x2);
    const auto tuned = flattestTuning(qt, ql, alpha);
    if (!tuned)
        return std::nullopt;
    return SuggestedVented{w.vas / alpha, tuned->h * w.fs, tuned->f3 * w.fs};
}

std::string shown(double value, int decimals, char separator)
{
    return formatDouble(roundHalfEven(value, decimals), separator);
}

} // namespace

SuggestedBoxes suggestBoxes(const Woofer& one, const SoundOptions& options)
{
    SuggestedBoxes out;
    const Woofer w = equivalentDriver(one, options.woofers);
    const auto q = completeQualities(w);
    if (!q)
        return out;
    if (q->qts < kButterworthQ) {
        // Qtc = Qts sqrt(Vas / Vb + 1) = 1 / sqrt 2; a Butterworth high pass has its -3 dB point at Fc.
        const double alpha = 0.5 / (q->qts * q->qts) - 1.0;
        out.sealed = SuggestedSealed{w.vas / alpha, w.fs * kButterworthQ / q->qts};
    }
    if (options.ql > 0)
        out.vented = flatVented(w, q->qts, options.ql);
    return out;
}

std::string warningText(const SoundWarning& w, char separator)
{
    switch (w.kind) {
    case SoundWarningKind::QtsDisagrees:
        return "Qts " + shown(w.value, 3, separator) +
               " disagrees with Qes and Qms by more than 2 %: they give " + shown(w.limit, 3, separator) +
               ", which the figures use.";
    case SoundWarningKind::PowerAboveRated:
        return "The power " + shown(w.value, 1, separator) + " W is above the rated power of " +
               shown(w.limit, 1, separator) + " W.";
    case SoundWarningKind::TargetPortTooLong:
        return "Target Fb " + shown(w.target, 1, separator) + " Hz needs a port of " +
               shown(w.value, 1, separator) + " cm; the box has room for " + shown(w.limit, 1, separator) +
               " cm.";
    case SoundWarningKind::LoadBelowOneOhm:
        return "The amplifier sees " + shown(w.value, 2, separator) + " ohm: below 1 ohm.";
    case SoundWarningKind::PipeResonanceLow:
        return "The port's pipe resonance at " + shown(w.value, 1, separator) +
               " Hz is below 150 Hz: it may be heard.";
    }
    return {};
}

} // namespace kelvra
