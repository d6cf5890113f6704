#include "fit/FitModel.h"

#include "acoustics/DesignPort.h"
#include "boards/Boards.h"
#include "calc/InputRules.h"
#include "calc/Numeric.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kelvra::fit_detail
{

namespace
{

constexpr double kRoundSizes[] = {7.5, 10, 12.5, 15, 20};
constexpr double kSlotNarrowest = 2, kSlotWidest = 15, kSlotStep = 1;

double radians(double degrees)
{
    return degrees * std::numbers::pi / 180;
}

// A measure as the input boxes hold it: to 0.1 mm, so that the text reads back as the same number.
double asTyped(double cm)
{
    return std::round(cm * 100) / 100;
}

} // namespace

std::vector<PortChoice> portChoices(FitBoxType type)
{
    std::vector<PortChoice> out;
    if (type == FitBoxType::Any || type == FitBoxType::Sealed)
        out.push_back({PortKind::Sealed, 0, 0});
    if (type == FitBoxType::Any || type == FitBoxType::Slot)
        for (double w = kSlotNarrowest; w <= kSlotWidest + 1e-9; w += kSlotStep)
            out.push_back({PortKind::Slot, 1, w});
    if (type == FitBoxType::Any || type == FitBoxType::Round)
        for (int count : {1, 2})
            for (double d : kRoundSizes)
                out.push_back({PortKind::Round, count, d});
    return out;
}

std::optional<std::string> partsOf(const FitRequest& request, BoxParts& out)
{
    const ModelInputs& d = request.design;
    const char sep = request.decimalSeparator;
    const Boot& boot = request.boot;
    for (double v : {boot.depth, boot.height, boot.width})
        if (!std::isfinite(v) || !(v > 0) || v > 1000)
            return std::string("The boot's depth, height and width must be more than 0 and at most 1000 cm.");
    if (!std::isfinite(boot.seatAngle) || !(boot.seatAngle >= 30 && boot.seatAngle <= 150))
        return std::string("The seat angle must be from 30 to 150 degrees.");
    const Result<std::int16_t> thick0 = toInt16(d.thick0, sep), thick2 = toInt16(d.thick2, sep);
    if (!thick0 || *thick0 <= 0 || !thick2 || *thick2 <= 0)
        return std::string("The board thicknesses thick0 and thick2 must be whole millimetres above 0.");
    out.t = *thick0 / 10.0;
    out.t2 = *thick2 / 10.0;
    out.seatAngle = boot.seatAngle;
    out.cotCa = boot.seatAngle == 90 ? 0 : 1 / std::tan(radians(boot.seatAngle));
    out.sinCa = boot.seatAngle == 90 ? 1 : std::sin(radians(boot.seatAngle));
    const std::string size = sizeEntryText(d.sub);
    if (size.empty())
        return std::string("Choose the woofers' size.");
    out.wooferDiameter = std::stoi(size) * 2.54;
    out.woofers = std::max(0, d.pieces0) + kPiecesFirst[0];
    const Result<double> subvol = toDouble(d.subvol, sep);
    const Result<std::int16_t> other = toInt16(d.vother, sep);
    if (!subvol || !other)
        return std::string("The woofers' displacement subvol and the other volume vother must be numbers.");
    out.wooferCm3 = *subvol != 0 ? *subvol * 1000 : defaultWooferLitres(d.sub) * out.woofers * 1000;
    out.otherCm3 = *other * 1000.0;
    out.factor = std::max(0, d.corr) / 10.0 + 1;
    out.endCorrection = endCorrectionFactor(request.sound.endCorrection);

    // The smallest front that holds the woofers, with the room a box needs to exist at all.
    const double needHeight = out.wooferDiameter + 2 * out.t;
    const double needWidth = out.woofers * out.wooferDiameter + 2 * out.t;
    if (!(boot.height > needHeight) || !(boot.width > needWidth))
        return "The boot is too small for " + std::to_string(out.woofers) + " woofer" +
               (out.woofers > 1 ? "s" : "") + " of " + size + ": their front needs more than " +
               formatDouble(roundHalfEven(needHeight, 1), sep) + " cm of height and " +
               formatDouble(roundHalfEven(needWidth, 1), sep) + " cm of width.";
    return std::nullopt;
}

bool shapeOf(const BoxParts& p, double h2, double b2, double l3, Shape& out)
{
    const double t = p.t;
    if (!(b2 - h2 * p.cotCa > 0) || !(2 * t < h2) || !(2 * t < l3))
        return false;
    const auto innerWidth = [&](double y) {
        return b2 - t - t / p.sinCa - y * p.cotCa;
    };
    const double bottom = innerWidth(t), top = innerWidth(h2 - t);
    if (!(bottom > 0) || !(top > 0))
        return false;
    out.h2 = h2;
    out.b2 = b2;
    out.l3 = l3;
    out.innerHeight = h2 - 2 * t;
    out.innerLength = l3 - 2 * t;
    out.runRoom = std::min(bottom, top);
    out.midRoom = innerWidth(h2 / 2);
    out.innerCm3 = (bottom + top) / 2 * out.innerHeight * out.innerLength;
    out.outerCm3 = l3 * h2 * (b2 - h2 * p.cotCa / 2);
    return true;
}

bool portOn(const BoxParts& p, const Shape& s, const PortChoice& port, PortOnShape& out)
{
    out = PortOnShape{};
    if (port.kind == PortKind::Sealed)
        return wooferFitsFront(p.wooferDiameter, p.woofers, s.innerLength, s.innerHeight);
    const double n = port.count;
    double oneArea = 0, across = 0, clearance = 0, room = 0;
    if (port.kind == PortKind::Slot) {
        out.height = asTyped(s.innerHeight);
        across = n * (port.size + p.t2);
        oneArea = port.size / 100 * (out.height / 100);
        // The slot's air and its wall's wood, over the run inside the box: lp less the front panel.
        out.cm3PerCm = n * out.height * (port.size + p.t2);
        out.cm3 = -out.cm3PerCm * p.t;
        clearance = std::min(port.size, out.height);
        room = s.runRoom;
    } else {
        if (port.size > s.innerHeight)
            return false;
        across = n * port.size;
        oneArea = kPi * (port.size / 100) * (port.size / 100) / 4.0;
        out.cm3PerCm = n * kPi / 4 * port.size * port.size;
        out.cm3 = -out.cm3PerCm * p.t;
        clearance = port.size;
        room = s.midRoom;
    }
    if (across > s.innerLength ||
        !wooferFitsFront(p.wooferDiameter, p.woofers, s.innerLength - across, s.innerHeight))
        return false;
    out.areaAll = oneArea * n;
    out.deq = equivalentDiameter(oneArea);
    // The port's inner end leaves at least its own smaller inner measure to the wall it faces; its length
    // counts from the front panel's outer face.
    out.maxLength = room - clearance + p.t;
    return out.maxLength > 0;
}

double sealedLitres(const BoxParts& p, const Shape& s)
{
    return (s.innerCm3 - p.wooferCm3 - p.otherCm3) * p.factor / 1000;
}

Tuned tune(const BoxParts& p, const Shape& s, const PortOnShape& port, double fb)
{
    Tuned out;
    // The net volume falls with the length (B per metre) and Vb Leff = K sets the tuning: a quadratic in the
    // length whose smaller root is the port, written so that B = 0 stays exact.
    const double free = s.innerCm3 - p.wooferCm3 - p.otherCm3 - port.cm3;
    const double a0 = free * p.factor * 1e-6;
    const double b = port.cm3PerCm * p.factor * 1e-4;
    const double w = 2 * kPi * fb;
    const double k = kSpeedOfSound * kSpeedOfSound * port.areaAll / (w * w);
    const double kd = p.endCorrection * port.deq;
    const double bq = a0 - b * kd, cq = k - a0 * kd;
    const double disc = bq * bq - 4 * b * cq;
    if (!(bq > 0) || !(disc >= 0))
        return out;
    const double metres = 2 * cq / (bq + std::sqrt(disc));
    out.length = metres * 100;
    if (!(asTyped(out.length) > p.t)) {
        out.status = TuneStatus::TooShort;
        return out;
    }
    out.netLitres = (free - port.cm3PerCm * out.length) * p.factor / 1000;
    if (asTyped(out.length) > port.maxLength || !(out.netLitres > 0))
        return out;
    out.fb = fb;
    out.status = TuneStatus::Ok;
    return out;
}

ModelInputs inputsOf(const FitRequest& request, const Shape& s, const PortChoice& port, const PortOnShape& on,
                     double length)
{
    const char sep = request.decimalSeparator;
    const auto text = [&](double v) {
        return formatDouble(v, sep);
    };
    ModelInputs in = request.design;
    in.h2 = text(s.h2);
    in.b2 = text(s.b2);
    in.l3 = text(s.l3);
    in.ca = text(request.boot.seatAngle);
    in.cb = "90";
    in.pieces1 = 0;
    in.pieces2 = port.count;
    in.pwhere = 0;
    in.ptype = port.kind == PortKind::Round ? 0 : 1;
    if (port.kind == PortKind::Sealed)
        return in;
    in.lp = text(asTyped(length));
    if (port.kind == PortKind::Round) {
        in.dp = text(port.size);
    } else {
        in.bp = text(port.size);
        in.hp = text(on.height);
    }
    return in;
}

SoundSettings soundOf(const FitRequest& request)
{
    SoundSettings s;
    s.woofer = request.woofer;
    s.options = request.sound;
    s.options.woofers = std::max(0, request.design.pieces0) + kPiecesFirst[0];
    s.options.power = request.power ? *request.power : s.options.woofers * request.woofer.pe;
    s.options.targetFb.reset();
    s.options.subsonic = request.subsonic
                             ? Filter{static_cast<FilterType>(request.subsonicOrder), *request.subsonic}
                             : Filter{};
    s.options.lowpass = Filter{};
    s.splAt = splFrequency(request);
    return s;
}

std::optional<FitDesign> designOf(const FitRequest& request, const ModelInputs& inputs, bool& valid)
{
    valid = false;
    const char sep = request.decimalSeparator;
    const BoardsResult built = buildBoards(inputs, sep);
    if (!built.ok())
        return std::nullopt;
    const auto port = designPort(inputs, sep, request.sound.endCorrection);
    if (!port)
        return std::nullopt;
    FitDesign d;
    d.inputs = inputs;
    d.netVolume = built.boards->netVolumeExact;
    double areaAll = 0;
    if (port->count > 0) {
        const auto fb = tuningFrequency(*port, d.netVolume);
        if (!fb)
            return std::nullopt;
        d.fb = *fb;
        areaAll = *portArea(*port) * port->count;
    }
    const SoundVerdict v = judgeExactly(soundOf(request), d.netVolume, d.fb, areaAll);
    d.f3 = v.f3;
    d.maxSplAt = v.maxSplAt;
    d.portSpeedMax = v.portSpeedMax;
    d.excursionMax = v.excursionMax;
    d.portSpeedMargin = kPortSpeedLimit - v.portSpeedMax;
    d.excursionMargin = request.woofer.xmax - v.excursionMax;
    const double h2 = *toDouble(inputs.h2, sep), b2 = *toDouble(inputs.b2, sep),
                 l3 = *toDouble(inputs.l3, sep);
    const double ca = *toDouble(inputs.ca, sep);
    const double cotCa = ca == 90 ? 0 : 1 / std::tan(radians(ca));
    d.outerVolume = l3 * h2 * (b2 - h2 * cotCa / 2) / 1000;
    valid = v.valid;
    return d;
}

} // namespace kelvra::fit_detail
