// Fit my boot: of every box that can be built from boards inside a car's boot for the design's woofers,
// the best one for a goal and the Pareto front of (F3, maximum SPL at F, outer volume).
//
// The box's rear panel leans against the rear seat's back (the seat angle is its `ca`, the front stands
// square), its outer measures run in 0.5 cm steps within the boot, and a vented box is tuned in 0.5 Hz
// steps from 20 to 60 Hz, its port length following from the tuning through the volume it leaves.
#pragma once

#include "acoustics/Woofer.h"
#include "calc/Model.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kelvra
{

// The space in the boot, cm, and the rear seat back's angle to the floor, degrees.
struct Boot {
    double depth = 0;  // floor depth from the rear seat's foot
    double height = 0; // to the parcel shelf or lid
    double width = 0;  // across, between the wheel arches
    double seatAngle = 90;
};

// The stored numbers are those of kelvra-calc's `boxtype` and `goal`.
enum class FitBoxType { Any = 0, Sealed = 1, Slot = 2, Round = 3 };
enum class FitGoal { Deepest = 0, Loudest = 1, Smallest = 2 };

inline constexpr double kDefaultLoudestAt = 40.0; // Hz, "loudest at F"
inline constexpr double kDefaultTargetF3 = 35.0;  // Hz, "smallest" with F3 at or below it

struct FitRequest {
    Boot boot;
    // The design's woofers (`sub`, `pieces0`, `subvol`), boards (`thick0`, `thick2`) and correction
    // (`corr`); the measures and the port are what the search chooses.
    ModelInputs design;
    Woofer woofer;      // one woofer, as its data sheet gives it
    SoundOptions sound; // QL and the end correction; the power is `power` below
    FitBoxType boxType = FitBoxType::Any;
    FitGoal goal = FitGoal::Deepest;
    std::optional<double> goalF;    // F of "loudest" or the target F3 of "smallest"; the defaults above
    std::optional<double> power;    // W, all woofers together; none: the rated N x Pe
    std::optional<double> subsonic; // Hz, the amplifier's high-pass filter; none: no filter
    int subsonicOrder = 4;          // 2 or 4 (Butterworth), 5 (Linkwitz-Riley of order 4)
    char decimalSeparator = '.';    // of the measures written into the design's input texts
};

// One design as it will be built, with the figures the sound and boards cores give its inputs.
struct FitDesign {
    ModelInputs inputs;         // every measure and port input of the box, as kelvra-calc --set takes them
    double netVolume = 0;       // litres, of the real boards
    std::optional<double> fb;   // Hz; none for a sealed box
    double f3 = 0;              // Hz
    double maxSplAt = 0;        // dB at F: the largest power that keeps the cone within Xmax there
    double portSpeedMax = 0;    // m/s, peak, highest over the band at the power
    double excursionMax = 0;    // mm, peak, highest over the band at the power
    double outerVolume = 0;     // litres of the box's outer shape
    double portSpeedMargin = 0; // m/s below 17 m/s
    double excursionMargin = 0; // mm below Xmax
};

struct FitResult {
    std::optional<FitDesign> best;
    std::vector<FitDesign> front; // at most kFrontSize, by outer volume
    std::uint64_t evaluated = 0;  // candidate designs decided (see fit/Fit.cpp)
    std::uint64_t judged = 0;     // of those, judged in full by the sound rules
    double seconds = 0;
    bool cancelled = false;
    std::string error; // why there is no search at all (a boot too small, a bad woofer)
};

inline constexpr std::size_t kFrontSize = 20;

// Cancel: set from any thread, the search stops within a few milliseconds. Progress: called from the
// search's threads with the fraction done, 0 to 1.
struct FitControl {
    const std::atomic<bool>* cancel = nullptr;
    std::function<void(double)> progress;
};

FitResult fitBoot(const FitRequest& request, const FitControl& control = {});

// The loudest goal's F and the smallest goal's target of a request, defaults filled in.
double splFrequency(const FitRequest& request);
double targetF3(const FitRequest& request);

} // namespace kelvra
