// Any bytes as an INI file: reads never crash and never return more than the buffer holds, and a
// written key reads back as written.
#include "persist/Ini.h"
#include "tests/persist/fuzz/FuzzFile.h"

#include <cstdlib>
#include <string_view>

namespace
{

void check(bool ok)
{
    if (!ok)
        std::abort();
}

// What a key line keeps of a value unchanged: one line, no blanks at its ends, fits the buffer.
bool survivesWrite(std::string_view value)
{
    return !value.empty() && value.size() < kelvra::kIniBufferSize &&
           value.find_first_of(std::string_view("\r\n\0", 3)) == std::string_view::npos &&
           value.find_first_not_of(" \t") == 0 && value.find_last_not_of(" \t") == value.size() - 1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = writeFuzzFile(data, size, "x.ini");
    const std::string folder = path.substr(0, path.rfind('/'));
    const std::string name = path.substr(path.rfind('/') + 1);
    const kelvra::IniStore ini({folder, "kelvra"});

    // Each read opens the file again, so a few names stand for all: a settings section, a language
    // section, the odd "." and empty names.
    for (const char* section : {"Main", "frmMain", ".", ""}) {
        // The key list: names each followed by NUL, cut to the buffer.
        check(kelvra::ReadLanguageValue(path, section, std::nullopt, "").size() < kelvra::kIniBufferSize);
        for (const char* key : {"USE", "cmdShow(2)", ""})
            check(kelvra::ReadLanguageValue(path, section, key, "d").size() < kelvra::kIniBufferSize);
    }
    // Both entry points read the same file the same way.
    check(ini.ReadIni("LU", "h2", "d", name, folder) == kelvra::ReadLanguageValue(path, "LU", "h2", "d"));
    // A missing key gives its default, cut to the buffer like any value.
    check(ini.ReadIni("no such section \x01", "k", std::string(3000, 'x'), name, folder).size() ==
          kelvra::kIniBufferSize - 1);

    // A write into the damaged file keeps it readable and gives back what was written. The value
    // comes from the input too, so odd characters in it get tried.
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string_view fromInput = bytes.substr(0, bytes.find('\n')).substr(0, 64);
    for (const std::string_view value : {std::string_view("value"), fromInput}) {
        if (!survivesWrite(value))
            continue;
        if (ini.WriteIni("Fuzz", "key", value, name, folder) == kelvra::IniWriteStatus::Ok)
            check(ini.ReadIni("Fuzz", "key", "", name, folder) == value);
    }
    std::remove(path.c_str());
    return 0;
}
