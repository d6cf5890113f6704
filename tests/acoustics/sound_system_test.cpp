// The system as it is wired and filtered, against values worked by hand: several woofers as one
// driver, the load of each wiring, the impedance, the filters, the maximum power, the suggested boxes,
// the ranges and the warnings.
#include "acoustics/Acoustics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace kelvra;

namespace
{

// Fs 30 Hz, Qes 0,4, Qms 5 (Qts 0,370370), Vas 80 l, Sd 500 cm2, Xmax 12 mm, Re 3,5, Pe 400, Le 0.
Woofer twelveInch()
{
    return Woofer{"test 12", 30, std::nullopt, 0.4, 5, 80, 500, 12, 3.5, 400, 0};
}

SoundOptions count(int woofers, double power = 1)
{
    SoundOptions o;
    o.woofers = woofers;
    o.power = power;
    return o;
}

template <typename T> std::string nameOf(const ::testing::TestParamInfo<T>& info)
{
    return info.param.name;
}

} // namespace

TEST(SoundSystem, TwoWoofersAreOneDriverOfTwiceVasAndSd)
{
    // Sealed 100 l: sqrt(2 * 80 / 100 + 1) = 1,612452, Qtc 0,370370 * 1,612452 = 0,597205, Fc 48,3735;
    // sensitivity 10 log10 2 = 3,0103 dB above one woofer's; rated power 800 W.
    const Port sealed{};
    const auto one = analyseSound(twelveInch(), sealed, 100, count(1));
    const auto two = analyseSound(twelveInch(), sealed, 100, count(2));
    ASSERT_TRUE(one.ok() && two.ok());
    EXPECT_EQ(two->woofers, 2);
    EXPECT_NEAR(*two->qtc, 0.597205, 1e-6);
    EXPECT_NEAR(*two->fc, 48.3735, 1e-4);
    EXPECT_NEAR(two->sensitivity - one->sensitivity, 3.0103, 1e-4);
    EXPECT_EQ(two->ratedPower, 800);
    EXPECT_EQ(two->fullPower.power, 800);

    // Two woofers in Vb at 2P with ports of area A: each cone works as one woofer in Vb / 2 at P with
    // ports of A / 2. Excursion and port speed are the same, the pressure twice (+6,02 dB).
    const double fb = 32;
    const auto both = *makeBoxCircuit(twelveInch(), 90, fb, 0.02, count(2, 200));
    const auto half = *makeBoxCircuit(twelveInch(), 45, fb, 0.01, count(1, 100));
    for (double f : {12.0, 25.0, 32.0, 60.0, 150.0}) {
        const CircuitPoint a = evaluate(both, f), b = evaluate(half, f);
        EXPECT_NEAR(a.excursion, b.excursion, 1e-9 * b.excursion) << f;
        EXPECT_NEAR(a.portSpeed, b.portSpeed, 1e-9 * b.portSpeed) << f;
        EXPECT_NEAR(a.spl, b.spl + 20 * std::log10(2.0), 1e-9) << f;
    }
}

struct LoadCase {
    std::string name;
    int coils;
    double z;
    bool coilsInParallel, woofersInSeries;
    int woofers;
    double load;
};
class Load : public ::testing::TestWithParam<LoadCase>
{
};
TEST_P(Load, OfEachWiring)
{
    const LoadCase& c = GetParam();
    Woofer w = twelveInch();
    w.coils = c.coils;
    w.z = c.z;
    SoundOptions o = count(c.woofers);
    o.wiring = {c.coilsInParallel, c.woofersInSeries};
    EXPECT_DOUBLE_EQ(nominalLoad(w, o), c.load);
    const auto report = analyseSound(w, Port{}, 100, o);
    ASSERT_TRUE(report.ok());
    const bool warned =
        std::any_of(report->warnings.begin(), report->warnings.end(),
                    [](const SoundWarning& s) { return s.kind == SoundWarningKind::LoadBelowOneOhm; });
    EXPECT_EQ(warned, c.load < 1);
}
INSTANTIATE_TEST_SUITE_P(SoundSystem, Load,
                         ::testing::Values(LoadCase{"Single4", 1, 4, false, false, 1, 4},
                                           LoadCase{"Dvc2Series", 2, 2, false, false, 1, 4},
                                           LoadCase{"Dvc2Parallel", 2, 2, true, false, 1, 1},
                                           LoadCase{"TwoDvc4SeriesInParallel", 2, 4, false, false, 2, 4},
                                           LoadCase{"TwoSvc8InSeries", 1, 8, false, true, 2, 16},
                                           LoadCase{"FourDvc1ParallelInParallel", 2, 1, true, false, 4,
                                                    0.125}),
                         nameOf<LoadCase>);

TEST(SoundSystem, SealedImpedancePeaksAtFcWithReTimesOnePlusQmsOverQes)
{
    // Le 0: at Fc the motion's reactances cancel, |Z| = Re (1 + Qmc / Qec) = 3,5 * (1 + 5 / 0,4) = 47,25.
    const auto c = *makeBoxCircuit(twelveInch(), 40, std::nullopt, 0, count(1));
    const double fc = 30 * std::sqrt(80.0 / 40 + 1);
    EXPECT_NEAR(std::abs(impedance(c, fc)), 47.25, 1e-6);
    EXPECT_NEAR(std::arg(impedance(c, fc)), 0, 1e-9);
    EXPECT_LT(std::abs(impedance(c, fc * 1.05)), 47.25);
    EXPECT_LT(std::abs(impedance(c, fc / 1.05)), 47.25);
    // Two woofers in parallel: half of one woofer's in the shared box; in series, twice.
    const auto two = *makeBoxCircuit(twelveInch(), 80, std::nullopt, 0, count(2));
    EXPECT_NEAR(std::abs(impedance(two, fc)), 47.25 / 2, 1e-6);
    SoundOptions series = count(2);
    series.wiring.woofersInSeries = true;
    EXPECT_NEAR(std::abs(impedance(*makeBoxCircuit(twelveInch(), 80, std::nullopt, 0, series), fc)),
                47.25 * 2, 1e-6);
}

TEST(SoundSystem, VentedImpedanceHasTwoPeaksAndItsDipNearFb)
{
    const double fb = 32;
    const auto c = *makeBoxCircuit(twelveInch(), 60, fb, 0.01, count(1));
    // Walk the magnitude from 5 to 200 Hz and note its local maxima and minima.
    std::vector<double> peaks, dips;
    double f0 = 5, z0 = std::abs(impedance(c, f0)), f1 = f0 * 1.002, z1 = std::abs(impedance(c, f1));
    for (double f2 = f1 * 1.002; f2 < 200; f2 *= 1.002) {
        const double z2 = std::abs(impedance(c, f2));
        if (z1 > z0 && z1 > z2)
            peaks.push_back(f1);
        if (z1 < z0 && z1 < z2)
            dips.push_back(f1);
        f0 = f1, z0 = z1, f1 = f2, z1 = z2;
    }
    ASSERT_EQ(peaks.size(), 2u);
    ASSERT_EQ(dips.size(), 1u);
    EXPECT_LT(peaks[0], fb);
    EXPECT_GT(peaks[1], fb);
    EXPECT_NEAR(dips[0], fb, 0.03 * fb);
}

struct FilterCase {
    std::string name;
    FilterType type;
    bool highPass;
    double gainAtCorner;   // |H| at its frequency
    double lowDelayFactor; // low pass: group delay at f -> 0 times omega_c
};
class Filters : public ::testing::TestWithParam<FilterCase>
{
};
TEST_P(Filters, CornerAndLowFrequencyDelay)
{
    const FilterCase& c = GetParam();
    SoundOptions o;
    (c.highPass ? o.subsonic : o.lowpass) = Filter{c.type, 80};
    EXPECT_NEAR(std::abs(filterResponse(o, 80)), c.gainAtCorner, 1e-9);
    if (!c.highPass) {
        EXPECT_NEAR(filterGroupDelayMs(o, 0.5), c.lowDelayFactor / (2 * kPi * 80) * 1000, 1e-3);
        EXPECT_NEAR(std::abs(filterResponse(o, 1)), 1, 1e-6);
    } else {
        EXPECT_NEAR(std::abs(filterResponse(o, 5000)), 1, 1e-6);
    }
}
// Butterworth 2: -3 dB, delay sqrt 2 / wc; Butterworth 4: 1/Q of its sections, 2 cos(pi/8) + 2 cos(3pi/8)
// = 2,613126; Linkwitz-Riley 4: -6 dB (1/2), 2 sqrt 2 / wc.
INSTANTIATE_TEST_SUITE_P(
    SoundSystem, Filters,
    ::testing::Values(FilterCase{"Butterworth2LowPass", FilterType::Butterworth2, false, M_SQRT1_2, M_SQRT2},
                      FilterCase{"Butterworth4LowPass", FilterType::Butterworth4, false, M_SQRT1_2, 2.613126},
                      FilterCase{"LinkwitzRiley4LowPass", FilterType::LinkwitzRiley4, false, 0.5,
                                 2 * M_SQRT2},
                      FilterCase{"Butterworth2Subsonic", FilterType::Butterworth2, true, M_SQRT1_2, 0},
                      FilterCase{"Butterworth4Subsonic", FilterType::Butterworth4, true, M_SQRT1_2, 0},
                      FilterCase{"LinkwitzRiley4Subsonic", FilterType::LinkwitzRiley4, true, 0.5, 0}),
    nameOf<FilterCase>);

TEST(SoundSystem, FiltersShapeEveryCurve)
{
    SoundOptions plain = count(1, 100), filtered = plain;
    filtered.subsonic = Filter{FilterType::Butterworth4, 25};
    const auto a = *makeBoxCircuit(twelveInch(), 60, 32.0, 0.01, plain);
    const auto b = *makeBoxCircuit(twelveInch(), 60, 32.0, 0.01, filtered);
    const Curve ca = computeCurve(a), cb = computeCurve(b);
    for (std::size_t i = 0; i < ca.size(); ++i) {
        const double gain = std::abs(filterResponse(filtered, ca[i].f));
        EXPECT_NEAR(cb[i].spl, ca[i].spl + 20 * std::log10(gain), 1e-9);
        EXPECT_NEAR(cb[i].excursion, ca[i].excursion * gain, 1e-9);
        EXPECT_NEAR(cb[i].portSpeed, ca[i].portSpeed * gain, 1e-9);
        EXPECT_NEAR(cb[i].impedance, ca[i].impedance, 1e-12); // the load is the same
        EXPECT_NEAR(cb[i].groupDelay, ca[i].groupDelay + filterGroupDelayMs(filtered, ca[i].f), 1e-3);
    }
}

TEST(SoundSystem, MaximumPowerIsTheLowerOfXmaxAndTheRatedPower)
{
    // Two woofers, 2 x 400 W rated; at 1 W the excursion at 10 Hz is far from Xmax.
    const auto c = *makeBoxCircuit(twelveInch(), 90, std::nullopt, 0, count(2));
    for (const CurvePoint& p : computeCurve(c)) {
        const double byXmax = (12 / p.excursion) * (12 / p.excursion); // W: x grows with sqrt P
        EXPECT_NEAR(p.maxPower, std::min(800.0, byXmax), 1e-9 * p.maxPower) << p.f;
        EXPECT_NEAR(p.maxSpl, p.spl + 10 * std::log10(p.maxPower), 1e-9) << p.f;
    }
    // Low down Xmax limits and the cone is then exactly at Xmax; high up the rated power does.
    const PowerLimit low = maxPowerAt(c, 10), high = maxPowerAt(c, 150);
    EXPECT_LT(low.powerW, 800);
    EXPECT_NEAR(evaluate(atPower(c, low.powerW), 10).excursion, 12, 1e-9);
    EXPECT_EQ(high.powerW, 800);
}

TEST(SoundSystem, PipeResonanceByHand)
{
    // Leff = 0,20 + 0,732 * 0,10 = 0,2732 m: 344 / 0,5464 = 629,58 Hz; 100 cm long: 152,60 -> 100 + 7,32.
    EXPECT_NEAR(*pipeResonance(Port{1, true, 10, 0, 0, 20, kDefaultEndCorrection}), 629.5754, 1e-3);
    const Port longPort{1, true, 10, 0, 0, 120, kDefaultEndCorrection};
    const auto report = analyseSound(twelveInch(), longPort, 200, count(1));
    ASSERT_TRUE(report.ok());
    EXPECT_NEAR(*report->portResonance, 344 / (2 * 1.2732), 1e-6);
    EXPECT_EQ(report->warnings.back().kind, SoundWarningKind::PipeResonanceLow);
}

TEST(SoundSystem, SuggestedBoxes)
{
    // Qtc 0,707: Vas / Vb = 0,5 / Qts^2 - 1 = 2,645 -> 30,246 l; F3 = Fc = 30 * 0,707107 / 0,370370.
    const SuggestedBoxes s = suggestBoxes(twelveInch(), count(1));
    ASSERT_TRUE(s.sealed);
    EXPECT_NEAR(s.sealed->vb, 80 / (0.5 / (0.37037037 * 0.37037037) - 1), 1e-4);
    EXPECT_NEAR(s.sealed->f3, 57.2756, 1e-4);
    EXPECT_NEAR(sealedAlignment(twelveInch(), s.sealed->vb)->qtc, M_SQRT1_2, 1e-9);
    // Two woofers: twice the volume.
    EXPECT_NEAR(suggestBoxes(twelveInch(), count(2)).sealed->vb, 2 * s.sealed->vb, 1e-9);

    // The vented box rises all the way to its passband with QL 7, -3 dB at its F3; a higher tuning
    // falls back somewhere (a hump, or a dip that climbs again).
    ASSERT_TRUE(s.vented);
    const SuggestedVented v = *s.vented;
    const auto steady = [&](double fb) {
        double last = -1000, fall = 0;
        for (double f = 5; f < 2000; f *= 1.01) {
            const double db = ventedResponseDb(twelveInch(), v.vb, fb, 7, f);
            fall = std::max(fall, last - db);
            last = db;
        }
        return fall;
    };
    EXPECT_LE(steady(v.fb), 1e-6);
    EXPECT_GT(steady(v.fb * 1.05), 1e-3);
    EXPECT_NEAR(ventedResponseDb(twelveInch(), v.vb, v.fb, 7, v.f3), -3, 1e-6);
    EXPECT_LT(v.f3, s.sealed->f3);

    // Qts 0,707 or more has no sealed box that flat.
    Woofer loose = twelveInch();
    loose.qes = 0.8, loose.qms = 20;
    EXPECT_FALSE(suggestBoxes(loose, count(1)).sealed);
}

TEST(SoundSystem, F3OutsideFiveTo400HzIsNotReached)
{
    // Sealed 0,1 l: Fc = 30 sqrt(801) = 849 Hz.
    const auto tiny = analyseSound(twelveInch(), Port{}, 0.1, count(1));
    ASSERT_TRUE(tiny.ok());
    EXPECT_FALSE(tiny->f3);
    EXPECT_TRUE(analyseSound(twelveInch(), Port{}, 50, count(1))->f3);
}

struct RangeCase {
    std::string name;
    std::string key, text;
    bool ok;
};
class Ranges : public ::testing::TestWithParam<RangeCase>
{
};
TEST_P(Ranges, RefusedOutsideNamingTheKey)
{
    const RangeCase& c = GetParam();
    for (char separator : {'.', ','}) {
        WooferTexts t;
        const std::pair<const char*, const char*> good[] = {{"fs", "30"},  {"qes", "0.4"}, {"qms", "5"},
                                                            {"vas", "80"}, {"sd", "500"},  {"xmax", "12"},
                                                            {"re", "3.5"}, {"pe", "400"}};
        for (const auto& [key, text] : good)
            *t.find(key) = text;
        *t.find(c.key) = c.text;
        for (std::string& text : t.text)
            std::replace(text.begin(), text.end(), '.', separator);
        const auto woofer = parseWoofer(t, separator);
        const auto options = parseSoundOptions(t, separator);
        const std::string field = !woofer ? woofer.error().field : !options ? options.error().field : "";
        EXPECT_EQ(field, c.ok ? "" : c.key) << separator;
    }
}
INSTANTIATE_TEST_SUITE_P(
    SoundSystem, Ranges,
    ::testing::Values(
        RangeCase{"FsAtFive", "fs", "5", true}, RangeCase{"FsBelow", "fs", "4.9", false},
        RangeCase{"FsAbove", "fs", "500.1", false}, RangeCase{"QesBelow", "qes", "0.04", false},
        RangeCase{"QmsBelow", "qms", "0.45", false}, RangeCase{"VasAbove", "vas", "5001", false},
        RangeCase{"SdBelow", "sd", "9", false}, RangeCase{"XmaxBelow", "xmax", "0.4", false},
        RangeCase{"ReAbove", "re", "101", false}, RangeCase{"PeAtTop", "pe", "20000", true},
        RangeCase{"LeAbove", "le", "51", false}, RangeCase{"QlBelow", "ql", "0.9", false},
        RangeCase{"PowerTiny", "power", "0.001", true}, RangeCase{"PowerAbove", "power", "100001", false},
        RangeCase{"TargetFbBelow", "targetfb", "4", false},
        RangeCase{"TargetFbAbove", "targetfb", "201", false}, RangeCase{"CoilsThree", "coils", "3", false},
        RangeCase{"ZThree", "z", "3", false}, RangeCase{"WiringTwo", "wiring", "2", false},
        RangeCase{"SubsonicBelow", "subsonic", "4", false},
        RangeCase{"LowpassOrderThree", "lowpassorder", "3", false},
        RangeCase{"LinkwitzRiley", "subsonicorder", "5", true}),
    nameOf<RangeCase>);

TEST(SoundSystem, WarningsOfQtsAndPower)
{
    Woofer w = twelveInch();
    w.qts = 0.45; // Qes and Qms give 0,3704: 21 % off
    const auto report = analyseSound(w, Port{}, 100, count(2, 1000));
    ASSERT_TRUE(report.ok());
    ASSERT_EQ(report->warnings.size(), 2u);
    EXPECT_EQ(report->warnings[0], (SoundWarning{SoundWarningKind::QtsDisagrees, 0.45, 0.4 * 5 / 5.4}));
    EXPECT_EQ(report->warnings[1], (SoundWarning{SoundWarningKind::PowerAboveRated, 1000, 800}));
    EXPECT_EQ(warningText(report->warnings[1], ','), "The power 1000 W is above the rated power of 800 W.");
    // Within 2 %, and at the rated power, nothing.
    w.qts = 0.375;
    EXPECT_TRUE(analyseSound(w, Port{}, 100, count(2, 800))->warnings.empty());
}
