// The acoustics models against worked examples done by hand, and the driven circuit against the
// textbook responses it must equal.
#include "acoustics/Acoustics.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>

using namespace kelvra;

namespace
{

// A 12" woofer in round figures: Fs 30 Hz, Qes 0,4, Qms 5, Vas 80 l, Sd 500 cm2, Xmax 12 mm, Re 3,5, Pe 400.
Woofer twelveInch()
{
    return Woofer{"test 12", 30, std::nullopt, 0.4, 5, 80, 500, 12, 3.5, 400, 0};
}

Port roundPort(double diameterCm, double lengthCm)
{
    return Port{1, true, diameterCm, 0, 0, lengthCm, kDefaultEndCorrection};
}

template <typename T> std::string nameOf(const ::testing::TestParamInfo<T>& info)
{
    return info.param.name;
}

} // namespace

TEST(Acoustics, PortTuningAndPortLengthByHand)
{
    // Round 10 cm, 20 cm long, 50 l, k 0,732: S = pi 0,05^2 = 0,0078540 m2, Leff = 0,2 + 0,0732 m,
    //   Fb = 344 / 2pi * sqrt(0,0078540 / (0,05 * 0,2732)) = 41,514 Hz.
    // Two rectangular 5 x 30 cm, 40 cm long, 80 l, k 0,850: Dv = 2 sqrt(0,015 / pi) = 0,138198 m,
    //   Fb = 344 / 2pi * sqrt(0,03 / (0,08 * (0,4 + 0,85 * 0,138198))) = 46,607 Hz.
    const std::tuple<Port, double, double> cases[] = {
        {roundPort(10, 20), 50, 41.514343},
        {Port{2, false, 0, 5, 30, 40, EndCorrection::BothFlanged}, 80, 46.607140}};
    for (const auto& [port, vb, want] : cases) {
        const auto fb = tuningFrequency(port, vb);
        ASSERT_TRUE(fb.ok()) << fb.error().message;
        EXPECT_NEAR(*fb, want, 0.001);
        // The length for that tuning is the port's own length again.
        EXPECT_NEAR(*portLengthFor(port, vb, *fb), port.lengthCm, 1e-9);
    }
    // Leff = c^2 S / ((2pi 32)^2 Vb) = 0,459609 m, minus 0,732 * 0,1 m: 38,661 cm.
    EXPECT_NEAR(*portLengthFor(roundPort(10, 0), 50, 32), 38.6609, 0.001);
    // So wide a port that its end correction alone tunes lower than 100 Hz: no length can do it.
    EXPECT_EQ(portLengthFor(roundPort(20, 0), 200, 100).error().field, "targetfb");
}

TEST(Acoustics, EndCorrectionsAndCabinCorners)
{
    EXPECT_EQ(endCorrectionFactor(EndCorrection::BothFree), 0.614); // the others tune the ports above
    const struct {
        CarClass car;
        double corner;
    } cars[] = {{CarClass::Compact, 87}, {CarClass::Midsize, 66}, {CarClass::Van, 48}};
    for (const auto& c : cars) {
        EXPECT_EQ(cabinGain(c.car, c.corner), 0.0);
        EXPECT_EQ(cabinGain(c.car, c.corner * 1.5), 0.0);
        // One octave below the corner: 40 log10 2 = 12,04 dB; two octaves: 24,08 dB.
        EXPECT_NEAR(cabinGain(c.car, c.corner / 2), 12.0412, 1e-4);
        EXPECT_NEAR(cabinGain(c.car, c.corner / 4), 24.0824, 1e-4);
    }
    EXPECT_EQ(cabinGain(CarClass::None, 10), 0.0);
}

// --- The woofer's alignment ----------------------------------------------------------------------

TEST(Acoustics, SealedBoxByHand)
{
    // Qts 0,4, Fs 30, Vas 80 l in 40 l: sqrt(80/40 + 1) = 1,732051, Qtc 0,692820, Fc 51,9615 Hz;
    // F3 = Fc sqrt((b + sqrt(b^2 + 4)) / 2), b = 1/Qtc^2 - 2 = 0,083333: 53,0551 Hz.
    Woofer w = twelveInch();
    w.qes.reset();
    w.qms.reset();
    w.qts = 0.4;
    const auto s = sealedAlignment(w, 40);
    ASSERT_TRUE(s.ok());
    EXPECT_NEAR(s->qtc, 0.692820, 1e-6);
    EXPECT_NEAR(s->fc, 51.9615, 1e-4);
    EXPECT_NEAR(s->f3, 53.0551, 1e-4);
    EXPECT_EQ(s->peakDb, 0.0);
    // Qtc 1 peaks by 20 log10(1 / sqrt(0,75)) = 1,249 dB; at Qtc = 0,7071 F3 equals Fc.
    w.qts = 0.5;
    EXPECT_NEAR(sealedAlignment(w, 80 / 3.0)->peakDb, 1.2494, 1e-4);
    const auto butterworth = sealedAlignment(w, 80);
    EXPECT_NEAR(butterworth->f3, butterworth->fc, 1e-9);
}

TEST(Acoustics, SensitivityByHand)
{
    // eta0 = 4 pi^2 / 344^3 * 30^3 * 0,08 / 0,4 = 0,0052369, 112 + 10 log10 eta0 = 89,1908 dB.
    Woofer w = twelveInch();
    w.qms.reset();
    w.qts = 0.37;
    EXPECT_NEAR(sensitivity(w), 89.1908, 1e-4);
    // Qes and Qms give the Qts: 0,4 * 5 / 5,4.
    EXPECT_NEAR(checkWoofer(twelveInch())->qts, 0.370370, 1e-6);
}

TEST(Acoustics, VentedF3IsTheMinusThreeDecibelPoint)
{
    const Woofer w = twelveInch();
    const auto f3 = ventedF3(w, 60, 32, 7);
    ASSERT_TRUE(f3.ok());
    EXPECT_NEAR(ventedResponseDb(w, 60, 32, 7, *f3), -3.0, 1e-9);
    EXPECT_GT(ventedResponseDb(w, 60, 32, 7, *f3 * 1.05), -3.0);
}

// --- The driven circuit -------------------------------------------------------------------------

struct CircuitCase {
    std::string name;
    std::optional<double> fb; // none: sealed
    double ql;
    double power;
};

class CircuitIdentity : public ::testing::TestWithParam<CircuitCase>
{
};

TEST_P(CircuitIdentity, SplIsSensitivityPlusPowerPlusTheTextbookResponse)
{
    const CircuitCase& c = GetParam();
    const Woofer w = twelveInch();
    const double vb = 45;
    SoundOptions o;
    o.ql = c.ql;
    o.power = c.power;
    const auto circuit = makeBoxCircuit(w, vb, c.fb, 0.01, o);
    ASSERT_TRUE(circuit.ok());
    const double base = sensitivity(w) + 10 * std::log10(c.power);
    const SealedAlignment sealed = *sealedAlignment(w, vb);
    for (const CurvePoint& p : computeCurve(*circuit)) {
        const double response =
            c.fb ? ventedResponseDb(w, vb, *c.fb, c.ql, p.f) : sealedResponseDb(sealed, p.f);
        EXPECT_NEAR(p.spl, base + response, 0.01) << p.f << " Hz";
    }
}

INSTANTIATE_TEST_SUITE_P(Acoustics, CircuitIdentity,
                         ::testing::Values(CircuitCase{"SealedOneWatt", std::nullopt, 7, 1},
                                           CircuitCase{"VentedQl7", 32.0, 7, 1},
                                           CircuitCase{"VentedLeakyQl3", 40.0, 3, 250},
                                           CircuitCase{"VentedTightQl100", 25.0, 100, 10}),
                         nameOf<CircuitCase>);

TEST(Acoustics, ExcursionAndPortSpeedAtTheStaticLimitByHand)
{
    // Very slowly, the force Bl e / Re pushes against the suspension and the box air in parallel:
    // x = F (1/Cms + Sd^2/Cab)^-1, peak = sqrt(2) x RMS; and all the cone's air goes out of the port.
    const Woofer w = twelveInch();
    SoundOptions o;
    o.power = 100;
    const auto sealed = *makeBoxCircuit(w, 45, std::nullopt, 0, o);
    const double force = std::sqrt(100 * w.re) * sealed.bl / w.re;
    const double compliance = 1 / (1 / sealed.cms + sealed.sd * sealed.sd / sealed.cab);
    EXPECT_NEAR(evaluate(sealed, 0.001).excursion, std::sqrt(2.0) * force * compliance * 1000, 1e-6);

    const auto vented = *makeBoxCircuit(w, 45, 30.0, 0.01, o);
    const double f = 0.01;
    const CircuitPoint at = evaluate(vented, f);
    EXPECT_NEAR(at.portSpeed * 0.01, at.excursion / 1000 * 2 * kPi * f * vented.sd, 1e-6 * at.portSpeed);
}

TEST(Acoustics, LimitsAreFirstReachedComingDownFrom200Hz)
{
    const Woofer w = twelveInch();
    SoundOptions o;
    o.power = 300;
    const auto circuit = *makeBoxCircuit(w, 45, 32.0, 0.006, o);
    const auto xmaxAt = excursionLimitFrequency(circuit, w.xmax);
    ASSERT_TRUE(xmaxAt);
    EXPECT_NEAR(evaluate(circuit, *xmaxAt).excursion, w.xmax, 1e-6);
    for (double f = 200; f > *xmaxAt * 1.001; f /= 1.01)
        EXPECT_LT(evaluate(circuit, f).excursion, w.xmax) << f;
    const auto speedAt = portSpeedLimitFrequency(circuit);
    ASSERT_TRUE(speedAt);
    EXPECT_NEAR(evaluate(circuit, *speedAt).portSpeed, kPortSpeedLimit, 1e-6);
    // A whisper reaches neither limit.
    o.power = 0.01;
    const auto quiet = *makeBoxCircuit(w, 45, 32.0, 0.006, o);
    EXPECT_FALSE(excursionLimitFrequency(quiet, w.xmax));
    EXPECT_FALSE(portSpeedLimitFrequency(quiet));
}

TEST(Acoustics, PortAreaForSpeedKeepsThePeakAtTheLimit)
{
    const Woofer w = twelveInch();
    SoundOptions o;
    o.power = 300;
    const auto cm2 = portAreaForSpeed(w, 45, 32, 2, o);
    ASSERT_TRUE(cm2.ok());
    const auto circuit = *makeBoxCircuit(w, 45, 32.0, 2 * *cm2 / 10000, o);
    double peak = 0;
    for (double f = 10; f <= 200; f *= 1.001)
        peak = std::max(peak, evaluate(circuit, f).portSpeed);
    EXPECT_NEAR(peak, kPortSpeedLimit, 0.01);
}

// --- Bad input ----------------------------------------------------------------------------------

struct BadCase {
    std::string name;
    void (*spoil)(Woofer&, Port&, double& vb);
    std::string field;
};

class BadInput : public ::testing::TestWithParam<BadCase>
{
};

TEST_P(BadInput, NamesTheFieldAndGivesNoNumbers)
{
    Woofer w = twelveInch();
    Port port = roundPort(10, 20);
    double vb = 50;
    GetParam().spoil(w, port, vb);
    const auto report = analyseSound(w, port, vb, SoundOptions{});
    ASSERT_FALSE(report.ok());
    EXPECT_EQ(report.error().field, GetParam().field);
    EXPECT_NE(report.error().message.find(GetParam().field), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Acoustics, BadInput,
    ::testing::Values(
        BadCase{"QtsZero", [](Woofer& w, Port&, double&) { w.qes.reset(), w.qts = 0.0; }, "qts"},
        BadCase{"NegativeVas", [](Woofer& w, Port&, double&) { w.vas = -80; }, "vas"},
        BadCase{"FsNotANumber", [](Woofer& w, Port&, double&) { w.fs = std::nan(""); }, "fs"},
        BadCase{"SdInfinite", [](Woofer& w, Port&, double&) { w.sd = INFINITY; }, "sd"},
        BadCase{"QesBelowQts", [](Woofer& w, Port&, double&) { w.qms.reset(), w.qts = 0.5; }, "qes"},
        BadCase{"NegativeLe", [](Woofer& w, Port&, double&) { w.le = -1; }, "le"},
        BadCase{"NoQAtAll", [](Woofer& w, Port&, double&) { w.qes.reset(), w.qms.reset(); }, "qts"},
        BadCase{"NoVolume", [](Woofer&, Port&, double& vb) { vb = 0; }, "vb"},
        BadCase{"PortWithoutDiameter", [](Woofer&, Port& p, double&) { p.diameterCm = 0; }, "dp"},
        BadCase{"HugeFsGivesNoFiniteResult", [](Woofer& w, Port&, double&) { w.fs = 1e200; }, "fs"}),
    nameOf<BadCase>);

TEST(Acoustics, AGoodDesignHasOnlyFiniteNumbers)
{
    const auto report = analyseSound(twelveInch(), roundPort(10, 30), 50, SoundOptions{});
    ASSERT_TRUE(report.ok()) << report.error().message;
    for (const CurvePoint& p : report->curve)
        for (double v : {p.f, p.spl, p.splCabin, p.excursion, p.portSpeed})
            EXPECT_TRUE(std::isfinite(v));
    EXPECT_NEAR(report->curve.front().f, 10.0, 1e-12);
    EXPECT_NEAR(report->curve.back().f, 10 * std::exp2(51 / 12.0), 1e-9);
}
