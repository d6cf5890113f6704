// How the box will sound: port tuning, the woofer's alignment in the box, the small-signal circuit
// driven at a power, and the car's cabin gain. Plain C++; every model is a pure function.
//
// Units at this interface: frequencies Hz, box volume litres, port measures cm (as the enclosure model
// holds them), woofer parameters as a data sheet gives them (see Woofer.h). Inside, everything is SI.
// Excursion (mm) and port air speed (m/s) are PEAK values: sqrt(2) times the RMS value of the sine that
// the chosen power drives. SPL is at 1 m in half space; its scale is that of the sensitivity
// (112 dB + 10 log10 eta0 at 1 W), so that with Le = 0 the circuit's SPL equals the sensitivity +
// 10 log10(power) + the textbook sealed or vented response exactly.
#pragma once

#include "acoustics/Woofer.h"

#include <array>
#include <complex>
#include <optional>
#include <string>
#include <vector>

namespace kelvra
{

// Air at room temperature, named once for every model.
inline constexpr double kSpeedOfSound = 344.0;        // m/s
inline constexpr double kAirDensity = 1.18;           // kg/m3
inline constexpr double kPi = 3.14159265358979323846; // true pi: acoustics is not the 3.14 of the calculator

inline constexpr double kPortSpeedLimit = 17.0;       // m/s, peak; above it a port starts to chuff
inline constexpr double kDefaultBoxLosses = 7.0;      // QL of a typical vented box
inline constexpr double kDefaultPower = 1.0;          // W
inline constexpr double kLowestLoad = 1.0;            // ohm; below it most amplifiers shut down or overheat
inline constexpr double kLowestPipeResonance = 150.0; // Hz; below it the port's pipe note can be heard
inline constexpr double kF3SearchLow = 5.0, kF3SearchHigh = 400.0; // Hz: an F3 outside is "not reached"

// Several identical woofers in one chamber as the one driver that moves the same air: N x Vas, N x Sd
// (so N x moving mass and 1/N x compliance: Fs and the Q values stay), N x Pe; Re and Le stay, so the
// force factor grows by sqrt N and the equivalent's impedance is that of each woofer in the shared box.
// Driving it with P watts into Re shares P equally: the sensitivity at 1 W total rises by 10 log10 N.
Woofer equivalentDriver(const Woofer& woofer, int count);

// The nominal load the amplifier sees (ohm): a woofer's two coils in series (2 z) or parallel (z / 2),
// the woofers in parallel (/ N) or in series (x N).
double nominalLoad(const Woofer& woofer, const SoundOptions& options);
// What the wired set's impedance is of one woofer's in the shared box: 1 / N in parallel, N in series.
double wiringImpedanceFactor(const SoundOptions& options);

// The amplifier's filters at f: the product of the high pass (subsonic) and the low pass, each off,
// Butterworth of order 2 or 4, or Linkwitz-Riley 4 (two Butterworth 2 in a row, -6 dB at its frequency).
std::complex<double> filterResponse(const SoundOptions& options, double f);
// The filters' group delay at f, ms.
double filterGroupDelayMs(const SoundOptions& options, double f);

// k of Leff = Lv + k Dv: 0.614, 0.732, 0.850.
double endCorrectionFactor(EndCorrection endCorrection);

// The cabin-gain corner: 87, 66, 48 Hz; 0 for None.
double cabinCorner(CarClass car);
// +12 dB per octave below the corner: 40 log10(fc / f) dB below fc, 0 at and above it (and for None).
double cabinGain(CarClass car, double f);

// The designed port(s), with the enclosure model's measures.
struct Port {
    int count = 0; // 0: a sealed box
    bool round = true;
    double diameterCm = 0; // dp, round ports
    double widthCm = 0;    // bp, rectangular ports
    double heightCm = 0;   // hp, rectangular ports
    double lengthCm = 0;   // lp
    EndCorrection endCorrection = kDefaultEndCorrection;
};

// Area of one port in m2 (true pi for a round one); error naming "dp", "bp" or "hp" when not > 0.
Checked<double> portArea(const Port& port);
// Diameter of the round port of the same area, m: 2 sqrt(S / pi).
double equivalentDiameter(double areaM2);
// The port's first pipe resonance c / (2 Leff), Hz, Leff = Lv + k Dv as for the tuning.
Checked<double> pipeResonance(const Port& port);

// Fb = (c / 2pi) sqrt(Sv / (Vb Leff)), Sv the area of all ports, Leff = Lv + k Dv. Errors name "pieces2"
// (no port), "vb", "lp", "dp", "bp" or "hp".
Checked<double> tuningFrequency(const Port& port, double vbLitres);
// The port length Lv in cm that tunes the box to `targetFb` with the port's area and count; error
// "targetfb" when the target is not > 0 or the ports are too wide for it (the length would be < 0).
Checked<double> portLengthFor(const Port& port, double vbLitres, double targetFb);
// The area in cm2 that the given count of ports needs (each of them) so that the peak port speed stays
// at or below `speedLimit` at every frequency 10..200 Hz, for a box tuned to `fb` at `options.power`.
// At a fixed tuning the port's air flow does not depend on its area, so this is exact.
Checked<double> portAreaForSpeed(const Woofer& woofer, double vbLitres, double fb, int portCount,
                                 const SoundOptions& options, double speedLimit = kPortSpeedLimit);

// The woofer's reference efficiency eta0 = (4 pi^2 / c^3) Fs^3 Vas / Qes and the sensitivity
// 112 + 10 log10(eta0) dB at 1 W, 1 m. (The woofer must be valid: see checkWoofer.)
double referenceEfficiency(const Woofer& woofer);
double sensitivity(const Woofer& woofer);

// The sealed box: Qtc = Qts sqrt(Vas/Vb + 1), Fc = Fs sqrt(Vas/Vb + 1), the -3 dB frequency of the
// second-order high pass and its peak in dB (0 when Qtc <= 1/sqrt 2).
struct SealedAlignment {
    double qtc = 0;
    double fc = 0;
    double f3 = 0;
    double peakDb = 0;
};
Checked<SealedAlignment> sealedAlignment(const Woofer& woofer, double vbLitres);
// Response of the sealed box (lossless) at f, dB relative to the passband.
double sealedResponseDb(const SealedAlignment& sealed, double f);

// Small's fourth-order vented response with leakage losses QL, dB relative to the passband.
double ventedResponseDb(const Woofer& woofer, double vbLitres, double fb, double ql, double f);
// The -3 dB point of that response: coming down from high frequencies, the first frequency where
// it falls 3 dB below the passband.
Checked<double> ventedF3(const Woofer& woofer, double vbLitres, double fb, double ql);

// The boxes the woofers suit (the equivalent driver of options.woofers): the sealed box of Qtc 0,707
// (none when Qts is 0,707 or more: no sealed box is that flat), and the vented box with the lowest F3
// whose response with the box losses options.ql nowhere rises above the passband (no hump).
struct SuggestedSealed {
    double vb = 0, f3 = 0; // litres, Hz
};
struct SuggestedVented {
    double vb = 0, fb = 0, f3 = 0;
};
struct SuggestedBoxes {
    std::optional<SuggestedSealed> sealed;
    std::optional<SuggestedVented> vented;
};
SuggestedBoxes suggestBoxes(const Woofer& woofer, const SoundOptions& options);

// The curve's frequencies: f = 10 * 2^(i/12) Hz, i = 0..51 (10 to about 190 Hz).
inline constexpr int kCurvePoints = 52;
double curveFrequency(int i);

struct CurvePoint {
    double f = 0;
    double spl = 0;            // dB at 1 m half space, at the chosen power
    double splCabin = 0;       // spl + cabin gain of the car class
    double excursion = 0;      // mm, peak
    double portSpeed = 0;      // m/s, peak, in the ports (0 for a sealed box)
    double maxSpl = 0;         // dB at maxPower
    double maxPower = 0;       // W total: the most that keeps the cones within Xmax and under N x Pe
    double impedance = 0;      // ohm, the wired set
    double impedancePhase = 0; // degrees
    double groupDelay = 0;     // ms, of the sound, filters included
};
using Curve = std::array<CurvePoint, kCurvePoints>;

// The circuit evaluated at one frequency (voice coil Re + Le, moving mass, suspension, box compliance,
// leakage of quality QL and port mass when vented), driven by sqrt(P Re) volts RMS through the
// amplifier's filters.
struct CircuitPoint {
    double spl = 0;       // dB, 1 m half space
    double excursion = 0; // mm peak
    double portSpeed = 0; // m/s peak
};

// The woofer in its box, ready to be evaluated at any frequency. Build with makeBoxCircuit.
struct BoxCircuit {
    double powerW = 1, re = 0, le = 0, bl = 0, sd = 0;
    double mms = 0, rms = 0, cms = 0; // mechanical side, SI
    double cab = 0, ral = 0, map = 0; // acoustic box: compliance, leak resistance, port mass (0: none)
    double portAreaM2 = 0;            // all ports together
    bool vented = false;
    double splOffset = 0; // dB so that the scale is that of the sensitivity
    CarClass car = CarClass::None;
    double xmaxMm = 0, ratedPowerW = 0; // the limits of the maximum power: Xmax, N x Pe
    double impedanceFactor = 1;         // the wired set's impedance over one woofer's
    Filter subsonic, lowpass;
};
// The equivalent driver of options.woofers woofers in the box. `fb` null: a sealed box (lossless);
// otherwise vented at fb with options.ql. `portAreaM2` (all ports) turns the port's volume velocity
// into its air speed; 0 gives a port speed of 0.
Checked<BoxCircuit> makeBoxCircuit(const Woofer& woofer, double vbLitres, std::optional<double> fb,
                                   double portAreaM2, const SoundOptions& options);
CircuitPoint evaluate(const BoxCircuit& circuit, double f);
// The same circuit driven at another total power.
BoxCircuit atPower(BoxCircuit circuit, double powerW);
// The wired set's electrical impedance, ohm (the filters are in the amplifier, not in the load).
std::complex<double> impedance(const BoxCircuit& circuit, double f);
// The group delay of the sound at f, ms, filters included.
double groupDelayMs(const BoxCircuit& circuit, double f);
// The largest total power (W) at f that keeps the cones within Xmax and the power within N x Pe, and
// the SPL it gives (dB, 1 m half space).
struct PowerLimit {
    double powerW = 0;
    double spl = 0;
};
PowerLimit maxPowerAt(const BoxCircuit& circuit, double f);
Curve computeCurve(const BoxCircuit& circuit);

// Where a limit is first reached: coming down from 200 Hz towards 10 Hz, the first frequency at which
// the value reaches the limit; none when it stays below it over 10..200 Hz.
std::optional<double> excursionLimitFrequency(const BoxCircuit& circuit, double xmaxMm);
std::optional<double> portSpeedLimitFrequency(const BoxCircuit& circuit, double limit = kPortSpeedLimit);

// What deserves the builder's attention though the figures stand.
enum class SoundWarningKind {
    QtsDisagrees,      // value: the typed Qts, limit: Qes Qms / (Qes + Qms), which the figures use
    PowerAboveRated,   // value: the power, limit: N x Pe
    TargetPortTooLong, // value: the length the target needs (cm), limit: the room the box has (cm),
                       // target: the target Fb
    LoadBelowOneOhm,   // value: the load (ohm)
    PipeResonanceLow,  // value: the port's first pipe resonance (Hz)
};
struct SoundWarning {
    SoundWarningKind kind = SoundWarningKind::QtsDisagrees;
    double value = 0, limit = 0, target = 0;
    bool operator==(const SoundWarning&) const = default;
};
// The warning as one English sentence, numbers with the given decimal separator.
std::string warningText(const SoundWarning& warning, char decimalSeparator);

// Where the limits are first reached at the full rated power N x Pe.
struct FullPower {
    double power = 0;                       // W total
    std::optional<double> excursionLimitAt; // Hz
    std::optional<double> portSpeedLimitAt; // Hz; none for a sealed box
};

// Everything the window and kelvra-calc show for one design.
struct SoundReport {
    int woofers = 1;                       // the count the figures are for
    std::optional<double> fb;              // Hz; none for a sealed box
    std::optional<double> portLength;      // cm, for options.targetFb when one is set and reachable
    std::optional<double> qtc, fc;         // sealed box only
    std::optional<double> f3;              // Hz; none when not reached between 5 and 400 Hz
    double peakDb = 0;                     // sealed box only; 0 otherwise
    double sensitivity = 0;                // dB, 1 W total / 1 m
    double ratedPower = 0;                 // W, N x Pe
    double load = 0;                       // ohm, nominal, what the amplifier sees
    std::optional<double> excursionLimitF; // Hz where the excursion first reaches Xmax
    std::optional<double> portSpeedLimitF; // Hz where the port speed first reaches 17 m/s
    std::optional<double> portResonance;   // Hz, the port's first pipe resonance; none when sealed
    FullPower fullPower;
    SuggestedBoxes suggested;
    std::vector<SoundWarning> warnings; // in the order the inputs are typed
    Curve curve{};
};
// The whole analysis: a port count of 0 is sealed, otherwise vented at the port's Fb. Errors name the
// field (woofer keys, "vb", port keys, "ql", "power"). The woofer must lie within its ranges.
Checked<SoundReport> analyseSound(const Woofer& woofer, const Port& port, double vbLitres,
                                  const SoundOptions& options);

} // namespace kelvra
