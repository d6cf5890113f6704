#include "Settings.h"

#include <array>

namespace kelvra
{

namespace
{

constexpr std::string_view kMain = "Main";
constexpr std::string_view kInputs = "LU";

enum class Conversion { Position, Fixed, Int16 };

struct KeyRule {
    std::string_view name;
    std::string_view defaultText;
    Conversion conversion;
};

// Start order of section "LU" and the conversion each stored text goes through.
constexpr std::array<KeyRule, 18> kStartKeys = {{
    {"sub", "2", Conversion::Position},
    {"pieces0", "0", Conversion::Position},
    {"pieces1", "0", Conversion::Position},
    {"pieces2", "0", Conversion::Position},
    {"h2", "40", Conversion::Fixed},
    {"l3", "40", Conversion::Fixed},
    {"b2", "40", Conversion::Fixed},
    {"ca", "90", Conversion::Int16},
    {"cb", "90", Conversion::Int16},
    {"lp", "0", Conversion::Fixed},
    {"dp", "0", Conversion::Fixed},
    {"bp", "0", Conversion::Fixed},
    {"hp", "0", Conversion::Fixed},
    {"thick0", "18", Conversion::Int16},
    {"thick1", "18", Conversion::Int16},
    {"thick2", "18", Conversion::Int16},
    {"subvol", "0", Conversion::Fixed},
    {"vother", "0", Conversion::Fixed},
}};

constexpr std::array<std::string_view, 21> kExitOrder = {
    "sub", "subvol", "pieces0", "pieces1", "pieces2", "corr", "pwhere", "ptype",  "h2",     "l3",    "b2",
    "ca",  "cb",     "lp",      "dp",      "bp",      "hp",   "thick0", "thick1", "thick2", "vother"};

int positionOr(std::string_view text, const ModelKey& key, int fallback, char separator)
{
    const Result<std::int16_t> value = toInt16(text, separator);
    if (!value || *value < 0 || *value >= listSize(key))
        return fallback;
    return *value;
}

} // namespace

StoredValue ConvertStoredValue(const ModelKey& key, std::string_view text, std::string_view defaultText,
                               bool integerText, char separator)
{
    StoredValue stored;
    stored.key = &key;
    if (key.kind == KeyKind::List) {
        const int fallback = toInt16(defaultText, separator).ok() ? *toInt16(defaultText, separator) : 0;
        stored.position = positionOr(text, key, -2, separator);
        if (stored.position == -2) {
            stored.position = fallback;
            stored.replaced = true;
        }
        return stored;
    }
    // A text that does not convert falls back to the key's default: the value the rest of the
    // program is built around, and the one a missing key gives.
    if (integerText) {
        const Result<std::int16_t> value = toInt16(text, separator);
        stored.replaced = !value;
        stored.text = value ? std::to_string(*value) : std::string(defaultText);
    } else {
        const Result<Fixed> value = toFixed(text, separator);
        stored.replaced = !value;
        stored.text = value ? formatFixed(*value, separator) : std::string(defaultText);
    }
    return stored;
}

WindowPosition LoadWindowPosition(const IniStore& ini, WindowPosition defaults, char separator)
{
    const auto load = [&](std::string_view key, float fallback) {
        const std::string text = ini.ReadIni(kMain, key, formatSingle(fallback, separator));
        const Result<double> value = toDouble(text, separator);
        return value ? static_cast<float>(*value) : fallback;
    };
    WindowPosition position;
    position.left = load("left", defaults.left);
    position.top = load("top", defaults.top);
    return position;
}

IniWriteStatus SaveWindowPosition(const IniStore& ini, WindowPosition position, char separator)
{
    const IniWriteStatus left = ini.WriteIni(kMain, "left", formatSingle(position.left, separator));
    const IniWriteStatus top = ini.WriteIni(kMain, "top", formatSingle(position.top, separator));
    return left == IniWriteStatus::Ok && top == IniWriteStatus::Ok ? IniWriteStatus::Ok
                                                                   : IniWriteStatus::Failed;
}

int CountStart(const IniStore& ini)
{
    // A count that does not read, or one past the 16-bit range, starts again at 1.
    const Result<std::int16_t> stored = toInt16(ini.ReadIni(kMain, "USE", "1"), '.');
    const int count = stored && *stored >= 1 ? *stored : 1;
    const int next = count < 32767 ? count + 1 : 1;
    ini.WriteIni(kMain, "USE", std::to_string(next));
    return count;
}

std::vector<StoredValue> LoadStartInputs(const IniStore& ini, char separator)
{
    std::vector<StoredValue> values;
    values.reserve(kStartKeys.size());
    for (const KeyRule& rule : kStartKeys) {
        const ModelKey* key = findModelKey(rule.name);
        const std::string text = ini.ReadIni(kInputs, rule.name, rule.defaultText);
        values.push_back(ConvertStoredValue(*key, text, rule.defaultText,
                                            rule.conversion == Conversion::Int16, separator));
    }
    return values;
}

int LoadListSetting(const IniStore& ini, std::string_view key, char separator)
{
    const ModelKey* model = findModelKey(key);
    if (!model || model->kind != KeyKind::List)
        return 0;
    return positionOr(ini.ReadIni(kInputs, key, "0"), *model, 0, separator);
}

IniWriteStatus SaveExitInputs(const IniStore& ini, const ModelInputs& inputs, char separator)
{
    IniWriteStatus status = IniWriteStatus::Ok;
    for (std::string_view name : kExitOrder) {
        const ModelKey* key = findModelKey(name);
        std::string text;
        if (key->kind == KeyKind::List) {
            text = std::to_string(listPosition(inputs, *key));
        } else {
            text = textOf(inputs, *key);
            // The maker's volume is stored as its number; a text that is no number is kept as typed.
            if (name == "subvol") {
                if (const Result<Fixed> value = toFixed(text, separator))
                    text = formatFixed(*value, separator);
            }
        }
        if (ini.WriteIni(kInputs, name, text) != IniWriteStatus::Ok)
            status = IniWriteStatus::Failed;
    }
    return status;
}

} // namespace kelvra
