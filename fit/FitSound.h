// What the search asks of the sound model, in one place: the woofers as one equivalent driver, the
// amplifier's subsonic filter, and a fast form of the box circuit for one net volume and tuning that
// gives the same figures as the sound core's own functions (checked against them in the tests).
#pragma once

#include "acoustics/Acoustics.h"

#include <complex>
#include <optional>
#include <vector>

namespace kelvra::fit_detail
{

// The band over which the cone and the port must stay within their limits: from the subsonic filter's
// frequency, or without one from 0.75 Fb (vented) or 20 Hz (sealed), up to 200 Hz.
double bandStart(const Filter& subsonic, std::optional<double> fb);
inline constexpr double kBandTop = 200.0;
inline constexpr double kFlatTolerance = 1.0; // dB above the level at 100 Hz

// The band's check points: 200 Hz down in 1/48 octave to 10 Hz (the grid on which the sound window
// looks for the limits), then the band's start itself.
int gridPoints();
double gridFrequency(int k);

struct SoundVerdict {
    bool valid = false;
    double f3 = 0;
    double maxSplAt = 0;
    double portSpeedMax = 0;
    double excursionMax = 0;
};

// The settings of one search: the equivalent driver, power, filter, the frequency of the maximum SPL.
struct SoundSettings {
    Woofer woofer;        // the equivalent driver
    SoundOptions options; // options.power is the total power
    std::optional<double> subsonic;
    int subsonicOrder = 2;
    double splAt = 40;
};

// The rules and figures of one box from the sound core's own functions (slow, the reference).
SoundVerdict judgeExactly(const SoundSettings& settings, double vbLitres, std::optional<double> fb,
                          double portAreaAllM2);

// What the rules say of every net volume in a narrow range at one tuning (or sealed), from exact bounds of
// the circuit over the range: at each frequency the cone's, the port's and the radiated flow are a fixed
// number over |z + 1/Cab|^2, a quadratic in 1/Cab whose least and greatest value on the range are exact.
struct VolumeCell {
    bool known = false;
    signed char rules = 0;         // the flatness and Xmax rules: -1 fail for all, 1 hold for all, 0 either
    double portLo = 0, portHi = 0; // bounds of the highest (port speed x port area)^2 over the band
    bool f3Known = false;          // where the F3 scan of the cell's volumes may start
    double f3From = 0, f3Upper = 0;
};
class CellCache
{
public:
    static int indexOf(double vbLitres); // -1 outside every cell
    VolumeCell* find(int tuning, int index);
    static double lowEdge(int index);
    static double highEdge(int index) { return lowEdge(index + 1); }

private:
    std::vector<std::vector<VolumeCell>> m_cells; // [tuning + 1][cell]
};

// The same from precomputed woofer-side terms: what the search runs for every candidate.
class FastSound
{
public:
    explicit FastSound(const SoundSettings& settings);
    // Decides a candidate from its cell where the bounds can: -1 fails, 1 keeps every rule, 0 unknown.
    int quick(double vbLitres, int tuning, std::optional<double> fb, double portAreaAllM2,
              CellCache& cache) const;
    // Of the net volumes from low to high, the range outside which the flatness or Xmax rule fails for
    // certain at this tuning (low > high: none).
    std::pair<double, double> possibleVolumes(std::optional<double> fb, double lowLitres,
                                              double highLitres) const;
    // F3 and the maximum SPL of a design that keeps every rule; false when they are not finite.
    bool figures(double vbLitres, std::optional<double> fb, SoundVerdict& out, int tuning = 0,
                 CellCache* cache = nullptr) const;
    // False when a rule fails (then `out` is incomplete); F3 and the maximum SPL are computed only for a
    // design that keeps every rule.
    bool judge(double vbLitres, std::optional<double> fb, double portAreaAllM2, SoundVerdict& out,
               int tuning = 0, CellCache* cache = nullptr) const;

private:
    struct Point {
        double f = 0, w = 0, filt2 = 1;
        std::complex<double> zs; // the woofer's side as an acoustic impedance
        double pg2 = 0;          // |pressure source|^2
    };
    Point pointAt(double f) const;
    bool within(const Point& p, double cab, double map, double ral, bool vented, double area, double splRef,
                bool inBand, SoundVerdict& out, double* splOut) const;
    double f3Of(double vbLitres, std::optional<double> fb, VolumeCell* cell) const;
    void fillF3Start(VolumeCell& cell, double lowLitres, double highLitres, double fb) const;
    void fillCell(VolumeCell& cell, double lowLitres, double highLitres, std::optional<double> fb) const;

    SoundSettings m_s;
    Woofer m_driver;   // the woofers as one
    BoxCircuit m_base; // the woofer's side of the circuit
    std::vector<Point> m_grid;
    int m_at100 = 0;
    Point m_atF;             // the frequency of the maximum SPL
    double m_xmaxLimit2 = 0; // |U_d|^2 / w^2 at Xmax
    double m_qts = 0;
};

} // namespace kelvra::fit_detail
