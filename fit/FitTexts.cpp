#include "fit/FitTexts.h"

#include "calc/Numeric.h"

#include <algorithm>
#include <cmath>

namespace kelvra
{

bool isFitKey(std::string_view key)
{
    return std::find(kFitKeys.begin(), kFitKeys.end(), key) != kFitKeys.end();
}

std::string applyFitKey(FitRequest& r, std::string_view key, const std::string& text, char separator)
{
    const std::string name(key);
    const bool optional = key == "goalf" || key == "subsonic" || key == "power";
    if (optional && text.empty()) {
        (key == "goalf" ? r.goalF : key == "subsonic" ? r.subsonic : r.power).reset();
        return {};
    }
    const Result<double> value = toDouble(text, separator);
    if (!value || !std::isfinite(*value))
        return name + ": not a number: '" + text + "'";
    const double v = *value;
    const auto outside = [&](double lo, double hi) {
        return name + ": must be from " + formatDouble(lo, separator) + " to " + formatDouble(hi, separator);
    };
    const auto whole = [&](std::initializer_list<int> allowed) {
        return std::any_of(allowed.begin(), allowed.end(), [&](int a) { return v == a; });
    };
    if (key == "bootdepth" || key == "bootheight" || key == "bootwidth") {
        if (!(v > 0 && v <= 1000))
            return outside(0, 1000);
        (key == "bootdepth" ? r.boot.depth : key == "bootheight" ? r.boot.height : r.boot.width) = v;
    } else if (key == "seatangle") {
        if (!(v >= 30 && v <= 150))
            return outside(30, 150);
        r.boot.seatAngle = v;
    } else if (key == "boxtype") {
        if (!whole({0, 1, 2, 3}))
            return name + ": must be 0 (any), 1 (sealed), 2 (slot) or 3 (round)";
        r.boxType = static_cast<FitBoxType>(static_cast<int>(v));
    } else if (key == "goal") {
        if (!whole({0, 1, 2}))
            return name + ": must be 0 (deepest), 1 (loudest) or 2 (smallest)";
        r.goal = static_cast<FitGoal>(static_cast<int>(v));
    } else if (key == "goalf") {
        if (!(v >= 10 && v <= 200))
            return outside(10, 200);
        r.goalF = v;
    } else if (key == "subsonic") {
        if (!(v >= 5 && v <= 100))
            return outside(5, 100);
        r.subsonic = v;
    } else if (key == "subsonicorder") {
        if (!whole({2, 4, 5}))
            return name + ": must be 2 or 4 (Butterworth) or 5 (Linkwitz-Riley of order 4)";
        r.subsonicOrder = static_cast<int>(v);
    } else if (key == "power") {
        if (!(v >= 0.001 && v <= 100000))
            return outside(0.001, 100000);
        r.power = v;
    } else {
        return name + ": not a key of the search";
    }
    return {};
}

std::string fitNumber(double value, int decimals, char separator)
{
    return formatDouble(roundHalfEven(value, decimals), separator);
}

} // namespace kelvra
