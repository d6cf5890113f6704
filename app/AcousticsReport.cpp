#include "app/AcousticsReport.h"

#include "acoustics/CurveCsv.h"
#include "acoustics/DesignPort.h"
#include "acoustics/PortTuning.h"
#include "boards/Boards.h"

#include <algorithm>
#include <cmath>

namespace kelvra
{

namespace
{

// JSON numbers always use "."; enough decimals for 0.1 Hz and 0.01 dB with room to spare.
std::string number(double value, int decimals)
{
    return formatDouble(roundHalfEven(value, decimals), '.');
}

std::string numberOrNull(std::optional<double> value, int decimals)
{
    return value ? number(*value, decimals) : "null";
}

std::string shown(double value, int decimals, char separator)
{
    return formatDouble(roundHalfEven(value, decimals), separator);
}

std::string curveJson(const Curve& curve)
{
    json::Array points;
    for (const CurvePoint& p : curve)
        points.raw(json::Object()
                       .raw("f", number(p.f, 4))
                       .raw("spl", number(p.spl, 3))
                       .raw("splCabin", number(p.splCabin, 3))
                       .raw("excursion", number(p.excursion, 4))
                       .raw("portSpeed", number(p.portSpeed, 3))
                       .raw("maxSpl", number(p.maxSpl, 3))
                       .raw("maxPower", number(p.maxPower, 3))
                       .raw("impedance", number(p.impedance, 4))
                       .raw("impedancePhase", number(p.impedancePhase, 3))
                       .raw("groupDelay", number(p.groupDelay, 4))
                       .dump());
    return points.dump();
}

std::string suggestedJson(const SuggestedBoxes& s)
{
    json::Object o;
    o.raw("sealed",
          s.sealed
              ? json::Object().raw("vb", number(s.sealed->vb, 3)).raw("f3", number(s.sealed->f3, 4)).dump()
              : "null");
    o.raw("vented", s.vented ? json::Object()
                                   .raw("vb", number(s.vented->vb, 3))
                                   .raw("fb", number(s.vented->fb, 4))
                                   .raw("f3", number(s.vented->f3, 4))
                                   .dump()
                             : "null");
    return o.dump();
}

} // namespace

Checked<double> boxVolumeForAcoustics(const CalcRun& run)
{
    const BoardsResult built = buildBoards(run.inputs, run.decimalSeparator);
    if (!built.ok())
        return AcousticsError{"vb", "vb: no net volume: " + built.error.text()};
    return built.boards->netVolumeExact;
}

namespace
{

// The port's inner end to the wall it faces, cm, and the warning when that is too near.
struct Clearance {
    std::optional<double> cm;
    std::optional<std::string> warning;
};

Clearance clearanceOf(const CalcRun& run)
{
    const BoardsResult built = buildBoards(run.inputs, run.decimalSeparator);
    if (!built.ok())
        return {};
    return {built.boards->portClearance, built.boards->clearanceWarning};
}

} // namespace

AcousticsOutcome acousticsOf(const CalcRun& run, const AcousticsRequest& request)
{
    AcousticsOutcome out;
    const char sep = run.decimalSeparator;
    const auto options = parseSoundOptions(request.texts, sep);
    if (!options) {
        out.inputError = options.error().message;
        return out;
    }
    std::vector<std::pair<std::string, double>> targets;
    for (const std::string& text : request.targetTexts) {
        const Result<double> f = toDouble(text, sep);
        if (!f || !(*f > 0) || !std::isfinite(*f)) {
            out.inputError = "--target-fb takes a frequency in Hz greater than 0, not '" + text + "'";
            return out;
        }
        if (outOfRange("targetfb", *f)) {
            out.inputError = "--target-fb takes a frequency from 5 to 200 Hz, not '" + text + "'";
            return out;
        }
        targets.emplace_back(text, *f);
    }
    SoundOptions withCount = *options;
    withCount.woofers = run.inputs.pieces0 + 1;
    const std::string& storedTarget = *request.texts.find("targetfb");
    if (options->targetFb &&
        std::none_of(targets.begin(), targets.end(), [&](const auto& t) { return t.first == storedTarget; }))
        targets.emplace_back(storedTarget, *options->targetFb);
    std::optional<Woofer> woofer;
    if (!request.texts.noWoofer()) {
        const auto parsed = parseWoofer(request.texts, sep);
        if (!parsed) {
            out.inputError = parsed.error().message;
            return out;
        }
        woofer = *parsed;
    }

    const Checked<double> vb = boxVolumeForAcoustics(run);
    const auto port = designPort(run.inputs, sep, options->endCorrection);
    std::optional<double> fb;
    if (vb && port && port->count > 0)
        if (const auto tuned = tuningFrequency(*port, *vb))
            fb = *tuned;

    json::Object o;
    o.raw("fb", numberOrNull(fb, 4));
    std::vector<SoundWarning> warnings;
    json::Object lengths;
    if (fb)
        out.human += "Port tuning Fb: " + shown(*fb, 2, sep) + " Hz\n";
    for (const auto& [text, target] : targets) {
        std::optional<double> length;
        if (vb && port)
            if (const auto l = designPortLengthFor(run.inputs, sep, options->endCorrection, target))
                length = *l;
        lengths.raw(text, numberOrNull(length, 4));
        if (length)
            if (const auto room = targetPortRoom(run.inputs, sep, *length, target))
                warnings.push_back(*room);
        out.human +=
            "Port length for " + text + " Hz: " + (length ? shown(*length, 2, sep) + " cm" : "-") + "\n";
    }
    o.raw("portLengthFor", lengths.dump());
    if (port && port->count > 0) {
        // From the port's inner end to the wall it faces, cm; null when the boards cannot be built.
        const Clearance clearance = clearanceOf(run);
        o.raw("portClearance", numberOrNull(clearance.cm, 2));
        if (clearance.warning)
            out.human += "Warning: " + *clearance.warning + "\n";
    }

    std::string curve;
    if (woofer && vb && port) {
        const auto report = analyseSound(*woofer, *port, *vb, withCount);
        if (!report) {
            out.designError = report.error().message;
            o.str("error", out.designError);
        } else {
            const SoundReport& r = *report;
            warnings.insert(warnings.begin(), r.warnings.begin(), r.warnings.end());
            o.integer("woofers", r.woofers)
                .raw("qtc", numberOrNull(r.qtc, 4))
                .raw("fc", numberOrNull(r.fc, 4))
                .raw("f3", numberOrNull(r.f3, 4))
                .raw("sensitivity", number(r.sensitivity, 3))
                .raw("load", number(r.load, 4))
                .raw("excursionLimitAt", numberOrNull(r.excursionLimitF, 4))
                .raw("portSpeedLimitAt", numberOrNull(r.portSpeedLimitF, 4))
                .raw("portResonance", numberOrNull(r.portResonance, 3))
                .raw("fullPower", json::Object()
                                      .raw("power", number(r.fullPower.power, 3))
                                      .raw("excursionLimitAt", numberOrNull(r.fullPower.excursionLimitAt, 4))
                                      .raw("portSpeedLimitAt", numberOrNull(r.fullPower.portSpeedLimitAt, 4))
                                      .dump())
                .raw("suggested", suggestedJson(r.suggested));
            out.human +=
                "Woofers: " + std::to_string(r.woofers) + ", load " + shown(r.load, 2, sep) + " ohm\n";
            if (r.qtc)
                out.human +=
                    "Sealed: Qtc " + shown(*r.qtc, 3, sep) + ", Fc " + shown(*r.fc, 2, sep) + " Hz\n";
            out.human += "F3: " + (r.f3 ? shown(*r.f3, 2, sep) + " Hz" : std::string("not reached")) + "\n";
            out.human += "Sensitivity: " + shown(r.sensitivity, 2, sep) + " dB (1 W, 1 m)\n";
            // Coming down from 200 Hz, where each limit is first reached.
            const auto limit = [&](const std::string& what, std::optional<double> f) {
                out.human += what + (f ? shown(*f, 1, sep) + " Hz" : "not between 10 and 200 Hz") + "\n";
            };
            limit("Xmax first reached at: ", r.excursionLimitF);
            if (r.fb)
                limit("17 m/s port speed first reached at: ", r.portSpeedLimitF);
            const std::string full = "At the rated " + shown(r.fullPower.power, 0, sep) + " W, ";
            limit(full + "Xmax first reached at: ", r.fullPower.excursionLimitAt);
            if (r.fb)
                limit(full + "17 m/s port speed first reached at: ", r.fullPower.portSpeedLimitAt);
            if (r.portResonance)
                out.human += "Port pipe resonance: " + shown(*r.portResonance, 1, sep) + " Hz\n";
            if (r.suggested.sealed)
                out.human += "Suggested sealed box (Qtc 0.707): " + shown(r.suggested.sealed->vb, 1, sep) +
                             " l, F3 " + shown(r.suggested.sealed->f3, 1, sep) + " Hz\n";
            else
                out.human += "Suggested sealed box: none (Qts is 0.707 or more)\n";
            if (r.suggested.vented)
                out.human += "Suggested vented box: " + shown(r.suggested.vented->vb, 1, sep) + " l, Fb " +
                             shown(r.suggested.vented->fb, 1, sep) + " Hz, F3 " +
                             shown(r.suggested.vented->f3, 1, sep) + " Hz\n";
            else
                out.human += "Suggested vented box: none without a hump\n";
            out.csv = curveCsv(r.curve, sep);
            curve = curveJson(r.curve);
        }
    } else if (woofer) {
        out.designError = !vb ? vb.error().message : port.error().message;
        o.str("error", out.designError);
    }
    // An older reader of a design without a woofer finds the object as it was.
    json::Array texts;
    for (const SoundWarning& w : warnings) {
        texts.raw(json::quote(warningText(w, sep)));
        out.human += "Warning: " + warningText(w, sep) + "\n";
    }
    if (!curve.empty() || !warnings.empty())
        o.raw("warnings", texts.dump());
    if (!curve.empty())
        o.raw("curve", curve);
    out.json = o.dump();
    if (!out.human.empty())
        out.human = "\nHow it will sound:\n" + out.human;
    return out;
}

} // namespace kelvra
