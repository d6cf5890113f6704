// The version text and the window title text of the program.
#pragma once

#include <string>

namespace kelvra
{

struct VersionInfo {
    int major = 0;
    int minor = 1;
    int revision = 53;
    std::string title = "Kelvra";
    std::string comments = "Subwoofer enclosure calculator with panel layouter";
};

// This build's version information.
const VersionInfo& programVersion();

// Short form "0.1.53"; long form "0.1 Build53", with " BETA" appended for a beta build.
std::string VersionString(bool shortForm, bool betaBuild = false, const VersionInfo& v = programVersion());

// "Kelvra [0.1 Build53]"; " -TestVersion- " instead of the blank for edition status 2.
std::string TitleString(int editionStatus = 1, bool betaBuild = false,
                        const VersionInfo& v = programVersion());

} // namespace kelvra
