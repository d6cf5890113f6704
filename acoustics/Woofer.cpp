#include "acoustics/Woofer.h"

#include "calc/Numeric.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <tuple>

namespace kelvra
{

namespace
{

AcousticsError fieldError(std::string_view key, std::string_view what)
{
    return AcousticsError{std::string(key), std::string(key) + ": " + std::string(what)};
}

bool positive(double v)
{
    return std::isfinite(v) && v > 0;
}

// A number text of `key`: none when empty, an error when it is not a number.
Checked<std::optional<double>> number(const WooferTexts& texts, std::string_view key, char separator)
{
    const std::string& text = *texts.find(key);
    if (text.empty())
        return std::optional<double>{};
    const Result<double> value = toDouble(text, separator);
    if (!value || !std::isfinite(*value))
        return fieldError(key, "not a number");
    return std::optional<double>{*value};
}

// A whole number of `allowed` (`fallback` when empty); the error lists them.
Checked<int> choice(const WooferTexts& texts, std::string_view key, std::initializer_list<int> allowed,
                    int fallback, char separator)
{
    const auto v = number(texts, key, separator);
    if (!v)
        return v.error();
    if (!*v)
        return fallback;
    for (int a : allowed)
        if (**v == a)
            return a;
    if (*allowed.begin() == 0 && allowed.size() > 2)
        return fieldError(key, "must be one of 0 to " + std::to_string(allowed.size() - 1));
    std::string list;
    std::size_t i = 0;
    for (int a : allowed)
        list += (i++ == 0 ? "" : i == allowed.size() ? " or " : ", ") + std::to_string(a);
    return fieldError(key, "must be " + list);
}

} // namespace

std::string* WooferTexts::find(std::string_view key)
{
    const auto it = std::find(kWooferKeys.begin(), kWooferKeys.end(), key);
    return it == kWooferKeys.end() ? nullptr : &text[static_cast<std::size_t>(it - kWooferKeys.begin())];
}

const std::string* WooferTexts::find(std::string_view key) const
{
    return const_cast<WooferTexts*>(this)->find(key);
}

bool WooferTexts::noWoofer() const
{
    return std::all_of(text.begin() + 1, text.begin() + kThieleSmallKeys,
                       [](const std::string& t) { return t.empty(); });
}

bool WooferTexts::empty() const
{
    return std::all_of(text.begin(), text.end(), [](const std::string& t) { return t.empty(); });
}

const ValueRange& rangeOf(std::string_view key)
{
    for (const ValueRange& r : kWooferRanges)
        if (r.key == key)
            return r;
    return kWooferRanges.back();
}

std::optional<AcousticsError> outOfRange(std::string_view key, double value)
{
    const ValueRange& r = rangeOf(key);
    if (std::isfinite(value) && value >= r.low && value <= r.high)
        return std::nullopt;
    // Below 0 says what it always said; a value of the wrong size gives the range.
    if (std::isfinite(value) && value <= 0 && r.low >= 0)
        return fieldError(key, r.low > 0 ? "must be greater than 0" : "must be 0 or more");
    return fieldError(key, "must be from " + formatDouble(r.low, '.') + " to " + formatDouble(r.high, '.') +
                               r.unit);
}

Checked<QualityFactors> checkWoofer(const Woofer& w)
{
    const std::pair<const char*, double> values[] = {{"fs", w.fs},     {"vas", w.vas}, {"sd", w.sd},
                                                     {"xmax", w.xmax}, {"re", w.re},   {"pe", w.pe},
                                                     {"le", w.le}};
    for (const auto& [key, value] : values)
        if (const auto bad = outOfRange(key, value))
            return *bad;
    const std::pair<const char*, const std::optional<double>*> qs[] = {
        {"qts", &w.qts}, {"qes", &w.qes}, {"qms", &w.qms}};
    for (const auto& [key, value] : qs)
        if (*value)
            if (const auto bad = outOfRange(key, **value))
                return *bad;
    if (w.coils != 1 && w.coils != 2)
        return fieldError("coils", "must be 1 or 2");
    if (w.z != 1 && w.z != 2 && w.z != 4 && w.z != 8)
        return fieldError("z", "must be 1, 2, 4 or 8");
    return completeQualities(w);
}

Checked<QualityFactors> completeQualities(const Woofer& w)
{
    const std::pair<const char*, double> required[] = {{"fs", w.fs},     {"vas", w.vas}, {"sd", w.sd},
                                                       {"xmax", w.xmax}, {"re", w.re},   {"pe", w.pe}};
    for (const auto& [key, value] : required)
        if (!positive(value))
            return fieldError(key, "must be greater than 0");
    if (!std::isfinite(w.le) || w.le < 0)
        return fieldError("le", "must be 0 or more");
    const std::pair<const char*, const std::optional<double>*> qs[] = {
        {"qts", &w.qts}, {"qes", &w.qes}, {"qms", &w.qms}};
    for (const auto& [key, value] : qs)
        if (*value && !positive(**value))
            return fieldError(key, "must be greater than 0");

    QualityFactors q;
    if (w.qes && w.qms) {
        q.qes = *w.qes;
        q.qms = *w.qms;
        q.qts = q.qes * *q.qms / (q.qes + *q.qms);
    } else if (w.qts && w.qes) {
        if (*w.qes <= *w.qts)
            return fieldError("qes", "must be greater than qts");
        q.qts = *w.qts;
        q.qes = *w.qes;
        q.qms = q.qes * q.qts / (q.qes - q.qts);
    } else if (w.qts && w.qms) {
        if (*w.qms <= *w.qts)
            return fieldError("qms", "must be greater than qts");
        q.qts = *w.qts;
        q.qms = *w.qms;
        q.qes = *q.qms * q.qts / (*q.qms - q.qts);
    } else if (w.qts) {
        q.qts = *w.qts;
        q.qes = *w.qts;
    } else {
        return fieldError(w.qes ? "qms" : w.qms ? "qes" : "qts", "missing (give qts, or qes and qms)");
    }
    return q;
}

std::optional<double> qtsDisagreement(const Woofer& w)
{
    if (!w.qts || !w.qes || !w.qms || !(*w.qts > 0))
        return std::nullopt;
    const double fromOthers = *w.qes * *w.qms / (*w.qes + *w.qms);
    const double off = std::abs(fromOthers - *w.qts) / *w.qts;
    return off > 0.02 ? std::optional<double>(fromOthers) : std::nullopt;
}

Checked<Woofer> parseWoofer(const WooferTexts& texts, char separator)
{
    Woofer w;
    w.name = *texts.find("name");
    const std::pair<const char*, double*> required[] = {{"fs", &w.fs},     {"vas", &w.vas}, {"sd", &w.sd},
                                                        {"xmax", &w.xmax}, {"re", &w.re},   {"pe", &w.pe}};
    const std::pair<const char*, std::optional<double>*> optional[] = {
        {"qts", &w.qts}, {"qes", &w.qes}, {"qms", &w.qms}};
    // Fields in the order of the keys, so the first bad one is the one named.
    for (std::size_t i = 1; i < kThieleSmallKeys; ++i) {
        const std::string_view key = kWooferKeys[i];
        const auto value = number(texts, key, separator);
        if (!value)
            return value.error();
        if (*value)
            if (const auto bad = outOfRange(key, **value))
                return *bad;
        for (const auto& [name, into] : required)
            if (key == name) {
                if (!*value)
                    return fieldError(key, "missing");
                *into = **value;
            }
        for (const auto& [name, into] : optional)
            if (key == name)
                *into = *value;
        if (key == "le")
            w.le = value->value_or(0.0);
    }
    const auto coils = choice(texts, "coils", {1, 2}, 1, separator);
    if (!coils)
        return coils.error();
    w.coils = *coils;
    const auto z = choice(texts, "z", {1, 2, 4, 8}, 4, separator);
    if (!z)
        return z.error();
    w.z = *z;
    const auto q = checkWoofer(w);
    if (!q)
        return q.error();
    return w;
}

Checked<SoundOptions> parseSoundOptions(const WooferTexts& texts, char separator)
{
    SoundOptions o;
    // An empty text keeps the default (none when there is no default); a given one must be in range.
    const auto inRange = [&](std::string_view key, std::string_view rangeKey,
                             std::optional<double> fallback) -> Checked<std::optional<double>> {
        const auto v = number(texts, key, separator);
        if (!v)
            return v.error();
        if (!*v)
            return fallback;
        if (const auto bad = outOfRange(rangeKey, **v))
            return AcousticsError{std::string(key), std::string(key) + bad->message.substr(rangeKey.size())};
        return *v;
    };
    const auto ql = inRange("ql", "ql", o.ql);
    if (!ql)
        return ql.error();
    o.ql = **ql;

    const auto endcorr =
        choice(texts, "endcorr", {0, 1, 2}, static_cast<int>(kDefaultEndCorrection), separator);
    if (!endcorr)
        return endcorr.error();
    o.endCorrection = static_cast<EndCorrection>(*endcorr);
    const auto car = choice(texts, "car", {0, 1, 2, 3}, 0, separator);
    if (!car)
        return car.error();
    o.car = static_cast<CarClass>(*car);

    const auto power = inRange("power", "power", o.power);
    if (!power)
        return power.error();
    o.power = **power;

    const auto target = inRange("targetfb", "targetfb", std::nullopt);
    if (!target)
        return target.error();
    o.targetFb = *target;

    const auto coilwiring = choice(texts, "coilwiring", {0, 1}, 0, separator);
    if (!coilwiring)
        return coilwiring.error();
    o.wiring.coilsInParallel = *coilwiring == 1;
    const auto wiring = choice(texts, "wiring", {0, 1}, 0, separator);
    if (!wiring)
        return wiring.error();
    o.wiring.woofersInSeries = *wiring == 1;

    for (const auto& [key, orderKey, into] : {std::tuple{"subsonic", "subsonicorder", &o.subsonic},
                                              std::tuple{"lowpass", "lowpassorder", &o.lowpass}}) {
        const auto f = inRange(key, "filter", std::nullopt);
        if (!f)
            return f.error();
        const auto order =
            choice(texts, orderKey, {2, 4, 5}, static_cast<int>(kDefaultFilterType), separator);
        if (!order)
            return order.error();
        if (*f)
            *into = Filter{static_cast<FilterType>(*order), **f};
    }
    return o;
}

} // namespace kelvra
