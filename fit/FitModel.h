// What the search asks of the boards and the enclosure model, in one place: the box's inner and outer
// volume, where the port stands and what it takes from the air, the port length that gives a tuning,
// and the input texts that describe a candidate to every other part of the program.
#pragma once

#include "fit/Fit.h"
#include "fit/FitSound.h"

#include <optional>
#include <string>
#include <vector>

namespace kelvra::fit_detail
{

enum class PortKind { Sealed, Slot, Round };
struct PortChoice {
    PortKind kind = PortKind::Sealed;
    int count = 0;
    double size = 0; // cm: the slot's width or the round port's diameter
};
// The ports the search tries for a box type, sealed first.
std::vector<PortChoice> portChoices(FitBoxType type);

inline constexpr double kStep = 0.5;     // cm, outer measures
inline constexpr double kLowestFb = 20;  // Hz
inline constexpr double kHighestFb = 60; // Hz
inline constexpr double kFbStep = 0.5;   // Hz
inline constexpr int kTunings = 81;

// The parts of the box the search does not choose.
struct BoxParts {
    double t = 0, t2 = 0; // board and port board thickness, cm
    double cotCa = 0, sinCa = 1, seatAngle = 90;
    double wooferDiameter = 0; // cm, the size's nominal diameter
    int woofers = 1;
    double wooferCm3 = 0, otherCm3 = 0;
    double factor = 1;            // the damping correction
    double endCorrection = 0.732; // k of Leff = L + k D
};
// The fixed parts of a request, or the message why it cannot be searched.
std::optional<std::string> partsOf(const FitRequest& request, BoxParts& out);

// One outer shape with what the ports need of it.
struct Shape {
    double h2 = 0, b2 = 0, l3 = 0;
    double innerHeight = 0, innerLength = 0;
    double runRoom = 0; // the length a front slot can run along, from the front's inner face
    double midRoom = 0; // the same at half height, where a round port runs
    double innerCm3 = 0, outerCm3 = 0;
};
// False when the boards cannot build this shape.
bool shapeOf(const BoxParts& parts, double h2, double b2, double l3, Shape& out);

// A port on a shape: its area, its end correction's diameter and what it takes from the air per cm of
// its length (and fixed). False when it cannot stand there beside the woofers.
struct PortOnShape {
    double areaAll = 0; // m², all ports
    double deq = 0;     // m, of one port
    double height = 0;  // cm, a slot's
    double cm3PerCm = 0, cm3 = 0;
    double maxLength = 0; // cm, with the clearance to the wall it faces
};
bool portOn(const BoxParts& parts, const Shape& shape, const PortChoice& port, PortOnShape& out);

// The port length (cm; the input box gets it to 0.1 mm) that tunes the box it leaves to `fb`, with the net
// volume (litres) and the tuning that length gives. A lower tuning needs a longer port: TooLong holds for
// every lower tuning too, TooShort (the port is too wide for this tuning) may not.
enum class TuneStatus { Ok, TooShort, TooLong };
struct Tuned {
    TuneStatus status = TuneStatus::TooLong;
    double length = 0, netLitres = 0, fb = 0;
};
Tuned tune(const BoxParts& parts, const Shape& shape, const PortOnShape& port, double fb);
// The net volume of a sealed box, litres.
double sealedLitres(const BoxParts& parts, const Shape& shape);

// The candidate's every input, as the window and kelvra-calc take them.
ModelInputs inputsOf(const FitRequest& request, const Shape& shape, const PortChoice& port,
                     const PortOnShape& on, double length);

// The sound settings of a request: the woofers as one driver, the power (default N x Pe), the filter.
SoundSettings soundOf(const FitRequest& request);

// The figures of a design from its inputs alone, through the same calls as the sound and boards windows;
// none when the boards core does not build it.
std::optional<FitDesign> designOf(const FitRequest& request, const ModelInputs& inputs, bool& valid);

} // namespace kelvra::fit_detail
