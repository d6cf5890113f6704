// Fit my boot: the search's best equals a brute force over every candidate of small boots, every front
// design keeps every rule when its inputs are built and sounded again, and Cancel stops it at once.
#include "boards/Boards.h"
#include "calc/InputRules.h"
#include "calc/Numeric.h"
#include "fit/Fit.h"
#include "fit/FitFront.h"
#include "fit/FitModel.h"
#include "fit/FitSound.h"
#include "tests/support/SeparatorText.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace kelvra;
using namespace kelvra::fit_detail;

namespace
{

// The generic 8" example woofer.
Woofer eightInch()
{
    Woofer w;
    w.fs = 38;
    w.qes = 0.5;
    w.qms = 4.5;
    w.vas = 22;
    w.sd = 220;
    w.xmax = 8;
    w.re = 3.6;
    w.pe = 200;
    w.le = 1.0;
    return w;
}

struct SmallBoot {
    const char* name;
    Boot boot;
    int woofers;
    FitBoxType type;
    FitGoal goal;
    std::optional<double> power, subsonic;
};

// Boots a few centimetres larger than the woofers' front, so that every candidate can be judged in full.
const SmallBoot kBoots[] = {
    {"AnyDeepest", {34, 27, 26.5, 75}, 1, FitBoxType::Any, FitGoal::Deepest, 60, 30},
    {"RoundLoudest", {36, 27.5, 33, 90}, 1, FitBoxType::Round, FitGoal::Loudest, 40, std::nullopt},
    {"SlotSmallest", {40, 29, 28, 65}, 1, FitBoxType::Slot, FitGoal::Smallest, 30, 28},
    {"SealedTwoWoofers",
     {30, 26.5, 48, 80},
     2,
     FitBoxType::Sealed,
     FitGoal::Deepest,
     std::nullopt,
     std::nullopt},
};

void PrintTo(const SmallBoot& b, std::ostream* os)
{
    *os << b.name;
}

FitRequest requestOf(const SmallBoot& b, char sep)
{
    FitRequest r;
    r.boot = b.boot;
    r.design.sub = 1; // 8"
    r.design.pieces0 = b.woofers - 1;
    r.woofer = eightInch();
    r.boxType = b.type;
    r.goal = b.goal;
    r.goalF = b.goal == FitGoal::Smallest ? std::optional<double>(60) : std::nullopt;
    r.power = b.power;
    r.subsonic = b.subsonic;
    r.subsonicOrder = 4;
    r.decimalSeparator = sep;
    return r;
}

double steppedUp(double above)
{
    return (std::floor(above / kStep) + 1) * kStep;
}

// Every candidate judged at every frequency, no bound and no break: the best by the same order.
std::optional<ModelInputs> bruteForce(const FitRequest& r)
{
    BoxParts parts;
    if (partsOf(r, parts))
        return std::nullopt;
    const FastSound sound(soundOf(r));
    const double target = targetF3(r);
    std::optional<Scored> best;
    std::optional<ModelInputs> bestInputs;
    std::uint64_t order = 0;
    for (double h2 = steppedUp(parts.wooferDiameter + 2 * parts.t); h2 <= r.boot.height; h2 += kStep)
        for (double b2 = steppedUp(2 * parts.t); b2 <= r.boot.depth; b2 += kStep)
            for (double l3 = steppedUp(parts.woofers * parts.wooferDiameter + 2 * parts.t);
                 l3 <= r.boot.width; l3 += kStep) {
                Shape shape;
                const bool built = shapeOf(parts, h2, b2, l3, shape);
                for (const PortChoice& port : portChoices(r.boxType))
                    for (int i = 0; i < (port.kind == PortKind::Sealed ? 1 : kTunings); ++i, ++order) {
                        PortOnShape on;
                        if (!built || !portOn(parts, shape, port, on))
                            continue;
                        SoundVerdict v;
                        double length = 0;
                        if (port.kind == PortKind::Sealed) {
                            if (!sound.judge(sealedLitres(parts, shape), std::nullopt, 0, v))
                                continue;
                        } else {
                            const Tuned t = tune(parts, shape, on, kHighestFb - i * kFbStep);
                            if (t.status != TuneStatus::Ok || !sound.judge(t.netLitres, t.fb, on.areaAll, v))
                                continue;
                            length = t.length;
                        }
                        const Scored s{v.f3, v.maxSplAt, shape.outerCm3 / 1000, order};
                        if (counts(s, r.goal, target) && (!best || better(s, *best, r.goal, target))) {
                            best = s;
                            bestInputs = inputsOf(r, shape, port, on, length);
                        }
                    }
            }
    return bestInputs;
}

double number(const std::string& text, char sep)
{
    return *toDouble(text, sep);
}

// The rules a design must keep, read back from its inputs alone.
void expectKeepsEveryRule(const FitRequest& r, const FitDesign& d)
{
    const char sep = r.decimalSeparator;
    const ModelInputs& in = d.inputs;
    SCOPED_TRACE(in.h2 + " x " + in.b2 + " x " + in.l3 + " lp " + in.lp);
    EXPECT_LE(number(in.h2, sep), r.boot.height);
    EXPECT_LE(number(in.b2, sep), r.boot.depth);
    EXPECT_LE(number(in.l3, sep), r.boot.width);
    EXPECT_EQ(number(in.ca, sep), r.boot.seatAngle);
    const BoardsResult built = buildBoards(in, sep);
    ASSERT_TRUE(built.ok()) << built.error.text();
    bool valid = false;
    const auto again = designOf(r, in, valid);
    ASSERT_TRUE(again && valid);
    EXPECT_EQ(again->f3, d.f3);
    const double t = number(in.thick0, sep) / 10;
    const double innerHeight = number(in.h2, sep) - 2 * t, innerLength = number(in.l3, sep) - 2 * t;
    double portAcross = 0;
    if (in.pieces2 > 0) {
        const double size = number(in.ptype == 0 ? in.dp : in.bp, sep);
        portAcross = in.pieces2 * (size + (in.ptype == 0 ? 0 : number(in.thick2, sep) / 10));
        // The port's inner end leaves its own smaller measure to the rear panel.
        const double needed = in.ptype == 0 ? size : std::min(size, number(in.hp, sep));
        ASSERT_TRUE(built.boards->portClearance.has_value());
        EXPECT_GE(*built.boards->portClearance, needed - 1e-9);
        EXPECT_FALSE(built.boards->clearanceWarning.has_value());
    }
    EXPECT_TRUE(wooferFitsFront(std::stoi(sizeEntryText(in.sub)) * 2.54, in.pieces0 + 1,
                                innerLength - portAcross, innerHeight));
    EXPECT_LE(d.excursionMax, r.woofer.xmax + 1e-9);
    EXPECT_LE(d.portSpeedMax, 17 + 1e-9);
}

class FitSmallBoot : public ::testing::TestWithParam<std::tuple<SmallBoot, char>>
{
};

} // namespace

TEST_P(FitSmallBoot, BestIsTheBruteForceBestAndTheFrontKeepsEveryRule)
{
    const auto& [boot, sep] = GetParam();
    const FitRequest request = requestOf(boot, sep);
    const FitResult result = fitBoot(request);
    ASSERT_TRUE(result.error.empty()) << result.error;
    const auto brute = bruteForce(request);
    ASSERT_TRUE(brute.has_value());
    ASSERT_TRUE(result.best.has_value());
    EXPECT_EQ(result.best->inputs, *brute);

    ASSERT_FALSE(result.front.empty());
    EXPECT_LE(result.front.size(), kFrontSize);
    for (const FitDesign& d : result.front)
        expectKeepsEveryRule(request, d);
    expectKeepsEveryRule(request, *result.best);
    // No front design is worse than another in all three figures.
    for (const FitDesign& a : result.front)
        for (const FitDesign& b : result.front)
            EXPECT_FALSE(&a != &b && a.f3 <= b.f3 && a.maxSplAt >= b.maxSplAt &&
                         a.outerVolume <= b.outerVolume &&
                         (a.f3 < b.f3 || a.maxSplAt > b.maxSplAt || a.outerVolume < b.outerVolume));
}

INSTANTIATE_TEST_SUITE_P(Boots, FitSmallBoot,
                         ::testing::Combine(::testing::ValuesIn(kBoots), ::testing::Values(',', '.')),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) == ',' ? "_comma" : "_point");
                         });

TEST(FitBoot, ABootTooSmallForTheWoofersSaysWhatTheyNeed)
{
    FitRequest r = requestOf(kBoots[3], '.');
    r.boot.width = 40;
    const FitResult result = fitBoot(r);
    EXPECT_EQ(result.error, "The boot is too small for 2 woofers of 8\": their front needs more than 23.9 cm "
                            "of height and 44.2 cm of "
                            "width.");
    EXPECT_FALSE(result.best.has_value());
}

TEST(FitBoot, CancelStopsWithin100Milliseconds)
{
    FitRequest r = requestOf(kBoots[0], '.');
    r.boot = {90, 60, 130, 70};
    std::atomic<bool> cancel{false};
    std::atomic<bool> started{false};
    FitControl control{&cancel, [&](double) {
                           started = true;
                       }};
    std::chrono::steady_clock::time_point cancelledAt;
    std::thread canceller([&] {
        while (!started)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        cancelledAt = std::chrono::steady_clock::now();
        cancel = true;
    });
    const FitResult result = fitBoot(r, control);
    const auto stopped = std::chrono::steady_clock::now();
    canceller.join();
    EXPECT_TRUE(result.cancelled);
    EXPECT_FALSE(result.best.has_value());
    EXPECT_LT(std::chrono::duration<double>(stopped - cancelledAt).count(), 0.1);
}
