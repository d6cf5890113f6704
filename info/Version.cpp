#include "info/Version.h"

namespace kelvra
{

const VersionInfo& programVersion()
{
    static const VersionInfo info;
    return info;
}

std::string VersionString(bool shortForm, bool betaBuild, const VersionInfo& v)
{
    if (shortForm)
        return std::to_string(v.major) + "." + std::to_string(v.minor) + "." + std::to_string(v.revision);
    std::string text =
        std::to_string(v.major) + "." + std::to_string(v.minor) + " Build" + std::to_string(v.revision);
    if (betaBuild)
        text += " BETA";
    return text;
}

std::string TitleString(int editionStatus, bool betaBuild, const VersionInfo& v)
{
    return v.title + (editionStatus == 2 ? " -TestVersion- " : " ") + "[" +
           VersionString(false, betaBuild, v) + "]";
}

} // namespace kelvra
