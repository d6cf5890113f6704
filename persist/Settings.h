// The settings the main window keeps between runs: window position, start count and the model's
// last inputs, with the conversions the start-up and the exit apply.
#pragma once

#include "calc/Model.h"
#include "persist/Ini.h"

#include <string>
#include <string_view>
#include <vector>

namespace kelvra
{

// One stored model value, converted and ready for its control: `text` for text keys, `position`
// for list keys.
struct StoredValue {
    const ModelKey* key = nullptr;
    std::string text;
    int position = 0;
    bool replaced = false; // the stored text did not convert and the default stands in for it

    bool operator==(const StoredValue&) const = default;
};

struct WindowPosition {
    float left = 0;
    float top = 0;
};

// "left" and "top" of section "Main"; the defaults are used when a key is missing.
WindowPosition LoadWindowPosition(const IniStore& ini, WindowPosition defaults, char separator);
IniWriteStatus SaveWindowPosition(const IniStore& ini, WindowPosition position, char separator);

// "USE" of section "Main": returns the number of this start and writes the number of the next.
int CountStart(const IniStore& ini);

// Section "LU" at start: "sub", "pieces0".."pieces2", "h2".."thick2", "subvol", "vother", in the
// order the start-up applies them, each converted as it must reach its control.
std::vector<StoredValue> LoadStartInputs(const IniStore& ini, char separator);
// One of the list keys that the language loading reads ("corr", "pwhere", "ptype").
int LoadListSetting(const IniStore& ini, std::string_view key, char separator);
// What a missing key reads as: the key's first-run value (a list position as its number text).
std::string StoredDefault(const ModelKey& key);
// One stored text converted for its control: a list position (16-bit, inside the list), a whole
// number for the angles and thicknesses, fixed-point for the other texts; a text that does not
// convert gives the key's first-run value and is marked replaced.
StoredValue ConvertStoredValue(const ModelKey& key, std::string_view text, char separator);
// Puts a converted value into the inputs, as its control would hold it.
void ApplyStoredValue(ModelInputs& inputs, const StoredValue& value);
// Section "LU" at exit, in the exit order; an empty text removes its key.
IniWriteStatus SaveExitInputs(const IniStore& ini, const ModelInputs& inputs, char separator);

} // namespace kelvra
