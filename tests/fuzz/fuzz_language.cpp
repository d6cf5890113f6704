// Any bytes as a language file beside the program: finding it, applying it to a window and filling
// the five tables never crash, never add or drop table entries, and every text that arrives is UTF-8.
#include "lang/ApplyLanguage.h"
#include "lang/LanguageFiles.h"
#include "lang/TextTables.h"
#include "tests/support/FakeLanguageTarget.h"

#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace
{

void check(bool ok)
{
    if (!ok)
        std::abort();
}

bool validUtf8(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        const std::size_t n = c < 0x80           ? 1
                              : (c >> 5) == 0x6  ? 2
                              : (c >> 4) == 0xE  ? 3
                              : (c >> 3) == 0x1E ? 4
                                                 : 0;
        if (n == 0 || i + n > s.size())
            return false;
        for (std::size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) >> 6) != 0x2)
                return false;
        i += n;
    }
    return true;
}

// A window with a few plain controls and one control array, as the main window has them.
kelvra::test::FakeTarget window()
{
    kelvra::test::FakeTarget w;
    w.add("fraPort", std::nullopt, "Poort Volume", "");
    w.add("cmdShow", 0, "Toon Meet Figuur");
    w.add("cmdShow", 2, "Simulatie", "");
    w.add("mnuFileNOS", 1, "Open");
    return w;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A folder of its own holding only this file, as the program's folder would.
    static const std::string folder = "/tmp/kelvra-fuzz-lang-" + std::to_string(getpid());
    std::filesystem::create_directories(folder);
    const std::string file = "Fuzz_lng.ini";
    const std::string path = folder + "/" + file;
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }

    const kelvra::LanguageSearch search = kelvra::FindLanguageFiles(folder);
    // The file is either a language or reported as bad, never both and never neither.
    check(search.languages.size() + search.messages.size() == 1);
    for (const kelvra::LanguageRow& row : search.languages) {
        check(row.file == file && !row.name.empty() && validUtf8(row.name));
    }
    for (const kelvra::Message& m : search.messages)
        check(m.text == "The language file " + file + " is bad. Skipping.");

    for (const char separator : {',', '.'}) {
        kelvra::test::FakeTarget w = window();
        kelvra::ApplyLanguageToForm(path, w, separator);
        for (const auto& [id, control] : w.controls)
            check(validUtf8(control.caption.value_or("")) && validUtf8(control.hint.value_or("")));

        kelvra::TextTables tables = kelvra::ResetTextTables();
        for (const std::string_view name : kelvra::kTableNames) {
            const std::span<std::string> table = tables.table(name);
            const std::size_t before = table.size();
            for (const kelvra::Message& m : kelvra::LoadLanguageList(path, file, name, table, separator))
                check(m.text.starts_with("Invalid control name in language file " + file +
                                         "\r\nControlname: " + std::string(name) + "("));
            check(tables.table(name).size() == before);
            for (const std::string& entry : tables.table(name))
                check(validUtf8(entry));
        }
        for (const std::string& key : kelvra::SectionKeyNames(path, kelvra::kTableSection)) {
            const kelvra::IndexedName n = kelvra::SplitIndexedName(key, separator);
            check(std::string_view(key).starts_with(n.name));
            check(n.indexed || n.index == 0);
        }
    }
    const std::string_view raw(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, 4096));
    check(validUtf8(kelvra::languageText(raw)));
    std::remove(path.c_str());
    return 0;
}
