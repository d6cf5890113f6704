// Reading and writing INI (private-profile) files: the settings file, project files, language files.
// Nothing is cached: each call opens the file, does one read or one write, and closes it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelvra
{

// Where the program lives: its folder and its file name without extension ("kelvra").
struct AppPaths {
    std::string programFolder;
    std::string programName;
    // Where the settings file lives when not beside the program (see SettingsPath.h); empty: beside it.
    std::string settingsFolder{};

    // The settings file: settings folder (or program folder) + "/" + name + ".ini".
    std::string settingsFile() const;
};

enum class IniWriteStatus { Ok, Failed };

// Values arrive through a buffer of this many characters, so at most 2047 of them.
inline constexpr std::size_t kIniBufferSize = 2048;

class IniStore
{
public:
    explicit IniStore(AppPaths paths);

    const AppPaths& paths() const { return m_paths; }

    // The file addressed by a name and a folder: the settings file when both are empty; otherwise
    // folder + "/" + name, with ".ini" appended unless the fourth character from the end is ".".
    std::string resolve(std::string_view fileName, std::string_view folder) const;

    std::string ReadIni(std::string_view section, std::string_view key, std::string_view defaultValue,
                        std::string_view fileName = {}, std::string_view folder = {}) const;
    // An empty value removes the key. The user is never told of a failure; callers may check.
    IniWriteStatus WriteIni(std::string_view section, std::string_view key, std::string_view value,
                            std::string_view fileName = {}, std::string_view folder = {}) const;

private:
    AppPaths m_paths;
};

// One value from the INI file at a full path; with no key, the section's key names, each followed
// by a NUL character.
std::string ReadLanguageValue(const std::string& path, std::string_view section,
                              std::optional<std::string_view> key, std::string_view defaultValue);

} // namespace kelvra
