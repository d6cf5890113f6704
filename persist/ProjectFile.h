// ".tbx" project files: one enclosure design and the layouter's placement texts.
#pragma once

#include "acoustics/Woofer.h"
#include "calc/Model.h"
#include "persist/Ini.h"
#include "persist/Settings.h"

#include <string>
#include <string_view>
#include <vector>

namespace kelvra
{

inline constexpr std::string_view kProjectFormatTag = "v0110";

// Writes "MAIN", "DATA" and "LAYOUT" key by key into folder/fileName; every other line of an
// existing file stays. With `woofer`, its texts go into "WOOFER" too (an empty text removes its key,
// so a design without a woofer writes nothing there); without it, that section is left as it is.
IniWriteStatus WriteProject(const IniStore& ini, std::string_view folder, std::string_view fileName,
                            const ModelInputs& inputs, const LayoutStrings& layoutStrings,
                            const WooferTexts* woofer = nullptr);

struct ProjectContents {
    std::string fid;                 // "v0" when the file has none
    bool oldVersion = false;         // fid is not exactly "v0110": the user must be asked first
    std::vector<StoredValue> values; // the DATA keys in reading order, converted for their controls
    LayoutStrings layoutStrings;     // the current texts where the file has no LAYOUT key
    WooferTexts woofer;              // the "WOOFER" texts as stored; all empty in an older file

    // The DATA keys whose stored text did not convert and now hold their defaults.
    std::vector<std::string> replacedKeys() const;
};

// Reads the whole project; a file that does not exist reads as an empty one.
ProjectContents ReadProject(const IniStore& ini, std::string_view folder, std::string_view fileName,
                            const LayoutStrings& current, char separator);

} // namespace kelvra
