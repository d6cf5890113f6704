// The user's woofer library: one INI file per woofer (section "WOOFER", the woofer keys) in a
// "drivers" folder beside the settings file, listed together with the example woofers shipped in
// "drivers" beside the program.
#pragma once

#include "acoustics/Woofer.h"
#include "persist/Ini.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvra
{

inline constexpr std::string_view kWooferFolderName = "drivers";

// "drivers" in the settings folder (the program folder when the settings file lives there).
std::string userWooferFolder(const AppPaths& paths);
// "drivers" in the program folder: the shipped examples.
std::string shippedWooferFolder(const AppPaths& paths);

struct WooferEntry {
    std::string name; // the file's "name", else its file name without ".ini"
    std::string path;
    bool shipped = false; // from the program's folder, which is not the user's one
    bool operator==(const WooferEntry&) const = default;
};
// The woofers of both folders sorted by name (letter case aside, numbers by value: 8 before 10); where the
// user's folder has a file of the same name as a shipped one, the user's file is listed.
std::vector<WooferEntry> listWoofers(const std::string& userFolder, const std::string& shippedFolder);

// The woofer keys of a library file ("name" to "le"); the sound options stay empty. Number texts are
// given the user's separator, so a file written under the other one (as the shipped files, with ".")
// reads as well. None when the file cannot be read or holds no woofer.
std::optional<WooferTexts> loadWoofer(const std::string& path, char decimalSeparator);

// A file name for a woofer name: letters, digits, blank, "-", "_", "(", ")" and "." stay, anything
// else (a folder separator, quotes, bytes beyond ASCII) becomes "_"; never empty, never hidden.
std::string wooferFileName(std::string_view name);

struct WooferSaved {
    std::string path;  // where it was written
    std::string error; // empty when it was
};
// Writes the woofer keys into folder/wooferFileName(name) (the folder is made when missing); a file
// of that name is replaced key by key. A woofer needs a name.
WooferSaved saveWoofer(const std::string& folder, const WooferTexts& woofer);

} // namespace kelvra
