// Any bytes as an INI file: reads never crash and never return more than a buffer holds.
#include "FuzzFile.h"
#include "Ini.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = writeFuzzFile(data, size, "x.ini");
    for (const char* section : {"Main", "LU", "Settings", "frmMain", ".", "", "DATA"}) {
        if (kelvra::ReadLanguageValue(path, section, std::nullopt, "").size() > kelvra::kIniBufferSize)
            std::abort();
        for (const char* key : {"USE", "h2", "Language", "fraInfo", "cmdShow(2)", ""})
            if (kelvra::ReadLanguageValue(path, section, key, "d").size() >= kelvra::kIniBufferSize)
                std::abort();
    }
    // A write into the damaged file keeps it readable and gives back what was written.
    const std::string folder = path.substr(0, path.rfind('/'));
    const std::string name = path.substr(path.rfind('/') + 1);
    const kelvra::IniStore ini({folder, "kelvra"});
    if (ini.WriteIni("Fuzz", "key", "value", name, folder) == kelvra::IniWriteStatus::Ok &&
        ini.ReadIni("Fuzz", "key", "", name, folder) != "value")
        std::abort();
    std::remove(path.c_str());
    return 0;
}
