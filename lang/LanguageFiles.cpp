#include "lang/LanguageFiles.h"

#include "calc/Model.h"
#include "calc/Numeric.h"
#include "persist/Ini.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace kelvra
{

namespace
{

bool endsWithNoCase(std::string_view text, std::string_view suffix)
{
    if (text.size() < suffix.size())
        return false;
    const std::string_view tail = text.substr(text.size() - suffix.size());
    return std::equal(tail.begin(), tail.end(), suffix.begin(), [](char a, char b) {
        const auto lower = [](char c) {
            return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        };
        return lower(a) == lower(b);
    });
}

bool isValidUtf8(std::string_view text)
{
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        char32_t min = 0;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if ((c & 0xE0) == 0xC0) {
            extra = 1;
            min = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            min = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            min = 0x10000;
        } else {
            return false;
        }
        if (i + extra >= text.size())
            return false;
        char32_t cp = c & (0x3F >> extra);
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto cc = static_cast<unsigned char>(text[i + k]);
            if ((cc & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Windows-1252 bytes 0x80 to 0x9F; the rest of the upper half is Latin-1.
constexpr char32_t kCp1252High[32] = {0x20ac, 0x81,   0x201a, 0x192,  0x201e, 0x2026, 0x2020, 0x2021,
                                      0x2c6,  0x2030, 0x160,  0x2039, 0x152,  0x8d,   0x17d,  0x8f,
                                      0x90,   0x2018, 0x2019, 0x201c, 0x201d, 0x2022, 0x2013, 0x2014,
                                      0x2dc,  0x2122, 0x161,  0x203a, 0x153,  0x9d,   0x17e,  0x178};

} // namespace

std::string languageText(std::string_view raw)
{
    // A NUL cannot be shown and would cut the caption short in the widgets: it is left out, so a stray
    // one in a translation costs nothing of the text around it.
    std::string text(raw);
    std::erase(text, '\0');
    if (isValidUtf8(text))
        return text;
    std::string out;
    out.reserve(text.size() * 2);
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        appendUtf8(out, (c >= 0x80 && c < 0xA0) ? kCp1252High[c - 0x80] : char32_t(c));
    }
    return out;
}

std::vector<std::string> ListLanguageFiles(const std::string& folder)
{
    std::vector<std::string> files;
    std::error_code ec;
    std::filesystem::directory_iterator it(
        folder.empty() ? std::filesystem::path(".") : std::filesystem::path(folder), ec);
    if (ec)
        return files;
    // The pattern "*_lng.ini" matches without regard to case, as the file search of the original
    // platform does.
    for (const std::filesystem::directory_iterator end; it != end; it.increment(ec)) {
        if (ec)
            break;
        std::error_code typeError;
        if (!it->is_regular_file(typeError))
            continue;
        std::string name = it->path().filename().string();
        if (endsWithNoCase(name, kLanguageFileSuffix))
            files.push_back(std::move(name));
    }
    std::sort(files.begin(), files.end());
    return files;
}

std::string languageFilePath(const std::string& programFolder, const LanguageRow& row)
{
    if (programFolder.empty())
        return row.file;
    if (programFolder.back() == '/')
        return programFolder + row.file;
    return programFolder + "/" + row.file;
}

LanguageSearch FindLanguageFiles(const std::string& programFolder)
{
    LanguageSearch search;
    for (const std::string& file : ListLanguageFiles(programFolder)) {
        LanguageRow row{{}, file};
        row.name = languageText(
            ReadLanguageValue(languageFilePath(programFolder, row), kIdentificationSection, "language", ""));
        if (row.name.empty()) {
            search.messages.push_back({"The language file " + file + " is bad. Skipping.",
                                       "Error reading language file", MessageIcon::Information,
                                       MessageButtons::Ok});
            continue;
        }
        search.languages.push_back(std::move(row));
    }
    return search;
}

IndexedName SplitIndexedName(std::string_view key, char decimalSeparator)
{
    const std::size_t open = key.find('(');
    if (open == std::string_view::npos)
        return {std::string(key), 0, false};
    IndexedName result{std::string(key.substr(0, open)), 0, false};
    const std::size_t close = key.find(')', open + 1);
    if (close == std::string_view::npos)
        return result;
    const Result<std::int16_t> index = toInt16(key.substr(open + 1, close - open - 1), decimalSeparator);
    if (!index)
        return result;
    result.index = *index;
    result.indexed = true;
    return result;
}

std::vector<std::string> SectionKeyNames(const std::string& path, std::string_view section)
{
    const std::string list = ReadLanguageValue(path, section, std::nullopt, "");
    std::vector<std::string> keys;
    std::size_t start = 0;
    while (start < list.size()) {
        const std::size_t end = list.find('\0', start);
        if (end == std::string::npos)
            break; // a list cut at the buffer loses its last, unfinished name
        if (end > start)
            keys.emplace_back(list, start, end - start);
        start = end + 1;
    }
    return keys;
}

std::vector<Message> LoadLanguageList(const std::string& path, const std::string& fileName,
                                      std::string_view tableName, std::span<std::string> table,
                                      char decimalSeparator)
{
    std::vector<Message> messages;
    for (const std::string& key : SectionKeyNames(path, kTableSection)) {
        const IndexedName split = SplitIndexedName(key, decimalSeparator);
        if (split.name != tableName)
            continue;
        if (split.index < 0 || static_cast<std::size_t>(split.index) >= table.size()) {
            messages.push_back({"Invalid control name in language file " + fileName +
                                    "\r\nControlname: " + controlElementName(split.name, split.index),
                                "Error", MessageIcon::Critical, MessageButtons::Ok});
            continue;
        }
        std::string& entry = table[static_cast<std::size_t>(split.index)];
        entry = languageText(ReadLanguageValue(path, kTableSection, key, entry));
    }
    return messages;
}

TextLists FillTextLists(const TextTables& tables)
{
    TextLists lists;
    lists.cmbPortWhere.assign(tables.portBox.begin(), tables.portBox.end());
    lists.cmbCorrection.assign(tables.correctionFact.begin(), tables.correctionFact.end());
    lists.cmbPortType.assign(tables.portType.begin(), tables.portType.end());
    return lists;
}

} // namespace kelvra
