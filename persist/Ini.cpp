#include "persist/Ini.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>
#include <vector>

namespace kelvra
{

namespace
{

struct Line {
    std::string text;  // without its line end
    bool ended = true; // false for a last line without line end
};

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// A file as lines, and whether it started with a byte-order mark: a rewrite puts the mark back, so
// bytes behind it (a second mark, say) never move to the start and change what the next read sees.
struct IniLines {
    std::vector<Line> lines;
    bool byteOrderMark = false;
};

std::string trim(std::string_view s)
{
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    const auto last = s.find_last_not_of(" \t");
    return std::string(s.substr(first, last - first + 1));
}

bool sameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// Reads the file as lines, accepting CRLF and LF ends and a UTF-8 byte-order mark.
std::optional<IniLines> readLines(const std::string& path)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream all;
    all << in.rdbuf();
    std::string data = all.str();
    IniLines file;
    if (data.starts_with(kByteOrderMark)) {
        data.erase(0, kByteOrderMark.size());
        file.byteOrderMark = true;
    }
    std::vector<Line>& lines = file.lines;
    std::size_t start = 0;
    while (start < data.size()) {
        const auto nl = data.find('\n', start);
        if (nl == std::string::npos) {
            lines.push_back({data.substr(start), false});
            break;
        }
        std::size_t end = nl;
        if (end > start && data[end - 1] == '\r')
            --end;
        lines.push_back({data.substr(start, end - start), true});
        start = nl + 1;
    }
    return file;
}

// The section name of a "[name]" line.
std::optional<std::string> sectionOf(const std::string& line)
{
    const std::string t = trim(line);
    if (t.size() < 2 || t.front() != '[')
        return std::nullopt;
    const auto close = t.find(']');
    if (close == std::string::npos)
        return std::nullopt;
    return trim(std::string_view(t).substr(1, close - 1));
}

struct KeyLine {
    std::string key;
    std::string value;
};

std::optional<KeyLine> keyOf(const std::string& line)
{
    const std::string t = trim(line);
    if (t.empty() || t.front() == ';')
        return std::nullopt;
    const auto eq = t.find('=');
    if (eq == std::string::npos)
        return KeyLine{t, {}};
    return KeyLine{trim(std::string_view(t).substr(0, eq)), trim(std::string_view(t).substr(eq + 1))};
}

std::string cut(std::string s)
{
    if (s.size() > kIniBufferSize - 1)
        s.resize(kIniBufferSize - 1);
    return s;
}

std::string readValue(const std::string& path, std::string_view section, std::optional<std::string_view> key,
                      std::string_view defaultValue)
{
    const auto lines = readLines(path);
    if (!lines)
        return key ? cut(std::string(defaultValue)) : std::string();
    bool inSection = false;
    bool found = false;
    std::string names;
    for (const Line& l : lines->lines) {
        if (auto s = sectionOf(l.text)) {
            if (found && !key)
                break; // the first section of that name holds the keys
            inSection = sameName(*s, section);
            found = found || inSection;
            continue;
        }
        if (!inSection)
            continue;
        const auto k = keyOf(l.text);
        if (!k)
            continue;
        if (!key) {
            names += k->key;
            names += '\0';
        } else if (sameName(k->key, *key)) {
            return cut(k->value);
        }
    }
    if (!key)
        return cut(names);
    return cut(std::string(defaultValue));
}

// A complete new file beside the old one, renamed over it, so a failed write never loses the file.
IniWriteStatus writeLines(const std::string& path, const IniLines& file)
{
    const std::string temp = path + ".tmp~";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out)
            return IniWriteStatus::Failed;
        if (file.byteOrderMark)
            out << kByteOrderMark;
        for (const Line& l : file.lines) {
            out << l.text;
            if (l.ended)
                out << "\r\n";
        }
        out.flush();
        if (!out) {
            out.close();
            std::remove(temp.c_str());
            return IniWriteStatus::Failed;
        }
    }
    std::error_code ec;
    std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        return IniWriteStatus::Failed;
    }
    return IniWriteStatus::Ok;
}

IniWriteStatus writeValue(const std::string& path, std::string_view section, std::string_view key,
                          std::string_view value)
{
    std::error_code ec;
    if (std::filesystem::exists(path, ec) && !std::filesystem::is_regular_file(path, ec))
        return IniWriteStatus::Failed;
    // The new file is renamed over the old one, which the folder allows even for a read-only file;
    // a file the user may not write stays as it is.
    if (std::filesystem::exists(path, ec) && ::access(path.c_str(), W_OK) != 0)
        return IniWriteStatus::Failed;
    IniLines file = readLines(path).value_or(IniLines{});
    std::vector<Line>& lines = file.lines;
    const std::string newLine = std::string(key) + "=" + std::string(value);

    std::optional<std::size_t> sectionLine;
    std::size_t sectionEnd = lines.size(); // one past the last key line of the section
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (auto s = sectionOf(lines[i].text)) {
            if (sectionLine) {
                break;
            }
            if (sameName(*s, section)) {
                sectionLine = i;
                sectionEnd = i + 1;
            }
            continue;
        }
        if (!sectionLine)
            continue;
        const auto k = keyOf(lines[i].text);
        if (!k)
            continue;
        sectionEnd = i + 1;
        if (sameName(k->key, key)) {
            if (value.empty())
                lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
            else
                lines[i].text = newLine;
            return writeLines(path, file);
        }
    }
    if (value.empty())
        return IniWriteStatus::Ok; // nothing to remove
    if (!lines.empty())
        lines.back().ended = true;
    if (!sectionLine) {
        lines.push_back({"[" + std::string(section) + "]", true});
        lines.push_back({newLine, true});
    } else {
        lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(sectionEnd), Line{newLine, true});
    }
    return writeLines(path, file);
}

} // namespace

std::string AppPaths::settingsFile() const
{
    return (settingsFolder.empty() ? programFolder : settingsFolder) + "/" + programName + ".ini";
}

IniStore::IniStore(AppPaths paths) : m_paths(std::move(paths)) {}

std::string IniStore::resolve(std::string_view fileName, std::string_view folder) const
{
    if (fileName.empty() && folder.empty())
        return m_paths.settingsFile();
    std::string name(fileName);
    if (name.size() < 4 || name[name.size() - 4] != '.')
        name += ".ini";
    return std::string(folder) + "/" + name;
}

std::string IniStore::ReadIni(std::string_view section, std::string_view key, std::string_view defaultValue,
                              std::string_view fileName, std::string_view folder) const
{
    return readValue(resolve(fileName, folder), section, key, defaultValue);
}

IniWriteStatus IniStore::WriteIni(std::string_view section, std::string_view key, std::string_view value,
                                  std::string_view fileName, std::string_view folder) const
{
    return writeValue(resolve(fileName, folder), section, key, value);
}

std::string ReadLanguageValue(const std::string& path, std::string_view section,
                              std::optional<std::string_view> key, std::string_view defaultValue)
{
    return readValue(path, section, key, defaultValue);
}

} // namespace kelvra
