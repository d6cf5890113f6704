// Any bytes as a project file: the reading gives every key a value its control can take.
#include "persist/ProjectFile.h"
#include "tests/persist/fuzz/FuzzFile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = writeFuzzFile(data, size, "x.tbx");
    const std::string folder = path.substr(0, path.rfind('/'));
    const std::string name = path.substr(path.rfind('/') + 1);
    const kelvra::IniStore ini({folder, "kelvra"});
    for (const char separator : {',', '.'}) {
        const kelvra::ProjectContents contents = kelvra::ReadProject(ini, folder, name, {}, separator);
        if (contents.values.size() != 21 ||
            contents.oldVersion != (contents.fid != kelvra::kProjectFormatTag))
            std::abort();
        for (const kelvra::StoredValue& v : contents.values) {
            if (!v.key)
                std::abort();
            if (v.key->kind == kelvra::KeyKind::List &&
                (v.position < 0 || v.position >= kelvra::listSize(*v.key)))
                std::abort();
            if (v.key->kind == kelvra::KeyKind::Text && v.text.empty())
                std::abort();
        }
    }
    std::remove(path.c_str());
    return 0;
}
