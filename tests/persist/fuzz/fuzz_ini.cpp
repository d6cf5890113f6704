// Any bytes as an INI file: reads never crash and never return more than the buffer holds, and a
// written key reads back as written.
#include "persist/Ini.h"
#include "tests/persist/fuzz/FuzzFile.h"

#include <cstdlib>
#include <string_view>

using namespace kelvra;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const auto check = [](bool ok) {
        if (!ok)
            std::abort();
    };
    const std::string path = writeFuzzFile(data, size, "x.ini");
    const std::string folder = path.substr(0, path.rfind('/'));
    const std::string name = path.substr(path.rfind('/') + 1);
    const IniStore ini({folder, "kelvra"});
    // Each read opens the file again, so a few names stand for all; the key list is cut to the buffer.
    for (const char* section : {"Main", "frmMain", ".", ""})
        for (const auto key :
             std::initializer_list<std::optional<std::string_view>>{std::nullopt, "USE", "cmdShow(2)", ""})
            check(ReadLanguageValue(path, section, key, "d").size() < kIniBufferSize);
    check(ini.ReadIni("LU", "h2", "d", name, folder) == ReadLanguageValue(path, "LU", "h2", "d"));
    check(ini.ReadIni("no such section \x01", "k", std::string(3000, 'x'), name, folder).size() ==
          kIniBufferSize - 1);
    // A write into the damaged file gives back what was written, also a value taken from the input:
    // one line, no blanks at its ends, within the buffer.
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (const std::string_view value :
         {std::string_view("value"), bytes.substr(0, bytes.find('\n')).substr(0, 64)}) {
        const bool keeps =
            !value.empty() && value.find_first_of(std::string_view("\r\n\0", 3)) == value.npos &&
            value.find_first_not_of(" \t") == 0 && value.find_last_not_of(" \t") == value.size() - 1;
        if (keeps && ini.WriteIni("Fuzz", "key", value, name, folder) == IniWriteStatus::Ok)
            check(ini.ReadIni("Fuzz", "key", "", name, folder) == value);
    }
    std::remove(path.c_str());
    return 0;
}
