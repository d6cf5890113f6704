// Where the settings file lives: beside the program, as it always has, unless the program folder
// cannot be written (a system-wide install); then in the user's configuration folder, so the inputs
// of a run are not lost at every exit.
#pragma once

#include "persist/Ini.h"

#include <string>
#include <string_view>

namespace kelvra
{

// The folder of the settings file. `xdgConfigHome` and `home` are the environment's values, empty
// when unset: XDG_CONFIG_HOME when it is an absolute path, otherwise HOME + "/.config", each followed
// by "/kelvra". With neither, or when the program folder can be written, the program folder.
std::string ChooseSettingsFolder(const std::string& programFolder, bool programFolderWritable,
                                 std::string_view xdgConfigHome, std::string_view home);

// Whether the settings file beside the program can be written: an existing file is opened for
// appending (its content untouched), otherwise a probe file is created in the folder and removed.
bool CanWriteBesideProgram(const AppPaths& paths);

// The paths with the settings folder decided for this run, read from the environment. When the file
// moves to the configuration folder, that folder is created, and a settings file beside the program
// that the folder does not yet have is copied there, so its values are read once more.
AppPaths ResolveSettingsPaths(AppPaths paths);

} // namespace kelvra
