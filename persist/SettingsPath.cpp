#include "persist/SettingsPath.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace kelvra
{

namespace
{

std::string_view environment(const char* name)
{
    const char* value = std::getenv(name);
    return value ? std::string_view(value) : std::string_view();
}

std::string withoutTrailingSlashes(std::string_view folder)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.remove_suffix(1);
    return std::string(folder);
}

} // namespace

std::string ChooseSettingsFolder(const std::string& programFolder, bool programFolderWritable,
                                 std::string_view xdgConfigHome, std::string_view home)
{
    if (programFolderWritable)
        return programFolder;
    // A relative XDG_CONFIG_HOME is to be ignored, as if it were unset.
    if (!xdgConfigHome.empty() && xdgConfigHome.front() == '/')
        return withoutTrailingSlashes(xdgConfigHome) + "/kelvra";
    if (!home.empty())
        return withoutTrailingSlashes(home) + "/.config/kelvra";
    // Nowhere better to go: the writes fail unnoticed, as they always did in such a folder.
    return programFolder;
}

bool CanWriteBesideProgram(const AppPaths& paths)
{
    const std::string file = paths.settingsFile();
    std::error_code ec;
    if (std::filesystem::exists(file, ec)) {
        std::FILE* f = std::fopen(file.c_str(), "ab");
        if (!f)
            return false;
        std::fclose(f);
        return true;
    }
    // access() says yes to root even on a folder it cannot write; only a real file creation tells.
    const std::string probe =
        paths.programFolder + "/." + paths.programName + ".ini." + std::to_string(::getpid());
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0)
        return false;
    ::close(fd);
    ::unlink(probe.c_str());
    return true;
}

AppPaths ResolveSettingsPaths(AppPaths paths)
{
    paths.settingsFolder.clear();
    const bool beside = CanWriteBesideProgram(paths);
    const std::string folder = ChooseSettingsFolder(paths.programFolder, beside,
                                                    environment("XDG_CONFIG_HOME"), environment("HOME"));
    if (folder == paths.programFolder)
        return paths;

    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    // A configuration folder that cannot be made helps no more than the program folder, which at
    // least still offers what it holds for reading.
    if (!std::filesystem::is_directory(folder, ec))
        return paths;
    const std::string besideFile = paths.settingsFile();
    paths.settingsFolder = folder;
    const std::string moved = paths.settingsFile();
    if (!std::filesystem::exists(moved, ec) && std::filesystem::is_regular_file(besideFile, ec))
        std::filesystem::copy_file(besideFile, moved, ec);
    return paths;
}

} // namespace kelvra
