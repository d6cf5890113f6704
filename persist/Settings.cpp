#include "persist/Settings.h"

#include <array>

namespace kelvra
{

namespace
{

constexpr std::string_view kMain = "Main";
constexpr std::string_view kInputs = "LU";

// Start order of section "LU".
constexpr std::array<std::string_view, 18> kStartOrder = {
    "sub", "pieces0", "pieces1", "pieces2", "h2",     "l3",     "b2",     "ca",     "cb",
    "lp",  "dp",      "bp",      "hp",      "thick0", "thick1", "thick2", "subvol", "vother"};

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

std::string StoredDefault(const ModelKey& key)
{
    const ModelInputs firstRun = firstRunInputs();
    return key.kind == KeyKind::List ? std::to_string(listPosition(firstRun, key)) : textOf(firstRun, key);
}

StoredValue ConvertStoredValue(const ModelKey& key, std::string_view text, char separator)
{
    StoredValue stored;
    stored.key = &key;
    const ModelInputs firstRun = firstRunInputs();
    if (key.kind == KeyKind::List) {
        stored.position = positionOr(text, key, -2, separator);
        if (stored.position == -2) {
            stored.position = listPosition(firstRun, key);
            stored.replaced = true;
        }
        return stored;
    }
    // A text that does not convert falls back to the key's first-run value: the value the rest of
    // the program is built around, and the one a missing key gives. The angles and thicknesses are
    // whole numbers; every other text is fixed-point.
    const bool integerText = key.text == &ModelInputs::ca || key.text == &ModelInputs::cb ||
                             key.text == &ModelInputs::thick0 || key.text == &ModelInputs::thick1 ||
                             key.text == &ModelInputs::thick2;
    if (integerText) {
        const Result<std::int16_t> value = toInt16(text, separator);
        stored.replaced = !value;
        stored.text = value ? std::to_string(*value) : textOf(firstRun, key);
    } else {
        const Result<Fixed> value = toFixed(text, separator);
        stored.replaced = !value;
        stored.text = value ? formatFixed(*value, separator) : textOf(firstRun, key);
    }
    return stored;
}

void ApplyStoredValue(ModelInputs& inputs, const StoredValue& value)
{
    if (value.key->kind == KeyKind::List)
        listPosition(inputs, *value.key) = value.position;
    else
        textOf(inputs, *value.key) = value.text;
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
    values.reserve(kStartOrder.size());
    for (std::string_view name : kStartOrder) {
        const ModelKey& key = *findModelKey(name);
        values.push_back(ConvertStoredValue(key, ini.ReadIni(kInputs, name, StoredDefault(key)), separator));
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
