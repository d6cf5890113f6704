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
                       .dump());
    return points.dump();
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
        targets.emplace_back(text, *f);
    }
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
    json::Object lengths;
    if (fb)
        out.human += "Port tuning Fb: " + shown(*fb, 2, sep) + " Hz\n";
    for (const auto& [text, target] : targets) {
        std::optional<double> length;
        if (vb && port)
            if (const auto l = designPortLengthFor(run.inputs, sep, options->endCorrection, target))
                length = *l;
        lengths.raw(text, numberOrNull(length, 4));
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

    if (woofer && vb && port) {
        const auto report = analyseSound(*woofer, *port, *vb, *options);
        if (!report) {
            out.designError = report.error().message;
            o.str("error", out.designError);
        } else {
            const SoundReport& r = *report;
            o.raw("qtc", numberOrNull(r.qtc, 4))
                .raw("fc", numberOrNull(r.fc, 4))
                .raw("f3", number(r.f3, 4))
                .raw("sensitivity", number(r.sensitivity, 3))
                .raw("excursionLimitAt", numberOrNull(r.excursionLimitF, 4))
                .raw("portSpeedLimitAt", numberOrNull(r.portSpeedLimitF, 4))
                .raw("curve", curveJson(r.curve));
            if (r.qtc)
                out.human +=
                    "Sealed: Qtc " + shown(*r.qtc, 3, sep) + ", Fc " + shown(*r.fc, 2, sep) + " Hz\n";
            out.human += "F3: " + shown(r.f3, 2, sep) + " Hz\n";
            out.human += "Sensitivity: " + shown(r.sensitivity, 2, sep) + " dB (1 W, 1 m)\n";
            // Coming down from 200 Hz, where each limit is first reached.
            const auto limit = [&](const char* what, std::optional<double> f) {
                out.human +=
                    std::string(what) + (f ? shown(*f, 1, sep) + " Hz" : "not between 10 and 200 Hz") + "\n";
            };
            limit("Xmax first reached at: ", r.excursionLimitF);
            if (r.fb)
                limit("17 m/s port speed first reached at: ", r.portSpeedLimitF);
            out.csv = curveCsv(r.curve, sep);
        }
    } else if (woofer) {
        out.designError = !vb ? vb.error().message : port.error().message;
        o.str("error", out.designError);
    }
    out.json = o.dump();
    if (!out.human.empty())
        out.human = "\nHow it will sound:\n" + out.human;
    return out;
}

} // namespace kelvra
