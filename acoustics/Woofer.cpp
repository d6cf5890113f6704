#include "acoustics/Woofer.h"

#include "calc/Numeric.h"

#include <algorithm>
#include <cmath>

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
    return std::all_of(text.begin() + 1, text.begin() + kWooferParameterKeys,
                       [](const std::string& t) { return t.empty(); });
}

bool WooferTexts::empty() const
{
    return std::all_of(text.begin(), text.end(), [](const std::string& t) { return t.empty(); });
}

Checked<QualityFactors> checkWoofer(const Woofer& w)
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

Checked<Woofer> parseWoofer(const WooferTexts& texts, char separator)
{
    Woofer w;
    w.name = *texts.find("name");
    const std::pair<const char*, double*> required[] = {{"fs", &w.fs},     {"vas", &w.vas}, {"sd", &w.sd},
                                                        {"xmax", &w.xmax}, {"re", &w.re},   {"pe", &w.pe}};
    const std::pair<const char*, std::optional<double>*> optional[] = {
        {"qts", &w.qts}, {"qes", &w.qes}, {"qms", &w.qms}};
    // Fields in the order of the keys, so the first bad one is the one named.
    for (std::size_t i = 1; i < kWooferParameterKeys; ++i) {
        const std::string_view key = kWooferKeys[i];
        const auto value = number(texts, key, separator);
        if (!value)
            return value.error();
        if (*value && key == "le" && **value < 0)
            return fieldError(key, "must be 0 or more");
        if (*value && key != "le" && !positive(**value))
            return fieldError(key, "must be greater than 0");
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
    const auto q = checkWoofer(w);
    if (!q)
        return q.error();
    return w;
}

Checked<SoundOptions> parseSoundOptions(const WooferTexts& texts, char separator)
{
    SoundOptions o;
    // An empty text keeps the default; a given one must be greater than 0.
    const auto positiveOr = [&](std::string_view key, double fallback) -> Checked<double> {
        const auto v = number(texts, key, separator);
        if (!v)
            return v.error();
        const double value = v->value_or(fallback);
        if (!positive(value))
            return fieldError(key, "must be greater than 0");
        return value;
    };
    const auto ql = positiveOr("ql", o.ql);
    if (!ql)
        return ql.error();
    o.ql = *ql;

    const auto choice = [&](std::string_view key, int last, int fallback) -> Checked<int> {
        const auto v = number(texts, key, separator);
        if (!v)
            return v.error();
        if (!*v)
            return fallback;
        if (**v != std::floor(**v) || **v < 0 || **v > last)
            return fieldError(key, "must be one of 0 to " + std::to_string(last));
        return static_cast<int>(**v);
    };
    const auto endcorr = choice("endcorr", 2, static_cast<int>(kDefaultEndCorrection));
    if (!endcorr)
        return endcorr.error();
    o.endCorrection = static_cast<EndCorrection>(*endcorr);
    const auto car = choice("car", 3, 0);
    if (!car)
        return car.error();
    o.car = static_cast<CarClass>(*car);

    const auto power = positiveOr("power", o.power);
    if (!power)
        return power.error();
    o.power = *power;

    const auto target = number(texts, "targetfb", separator);
    if (!target)
        return target.error();
    if (*target && !positive(**target))
        return fieldError("targetfb", "must be greater than 0");
    o.targetFb = *target;
    return o;
}

} // namespace kelvra
