// A plain INI reader and writer for the window tests, built only while persist/ has no sources of its
// own yet; it keeps the settings file's sections and keys in their order.
#include "Ini.h"

#include <fstream>
#include <sstream>
#include <utility>
#include <vector>

namespace kelvra
{

namespace
{

struct Section {
    std::string name;
    std::vector<std::pair<std::string, std::string>> keys;
};

std::vector<Section> load(const std::string& path)
{
    std::vector<Section> out;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
            out.push_back({line.substr(1, line.size() - 2), {}});
        } else if (const auto eq = line.find('='); eq != std::string::npos && !out.empty()) {
            out.back().keys.emplace_back(line.substr(0, eq), line.substr(eq + 1));
        }
    }
    return out;
}

} // namespace

std::string AppPaths::settingsFile() const
{
    return programFolder + "/" + programName + ".ini";
}

IniStore::IniStore(AppPaths paths) : m_paths(std::move(paths)) {}

std::string IniStore::resolve(std::string_view fileName, std::string_view folder) const
{
    if (fileName.empty() && folder.empty())
        return m_paths.settingsFile();
    std::string path = std::string(folder) + "/" + std::string(fileName);
    if (path.size() < 4 || path[path.size() - 4] != '.')
        path += ".ini";
    return path;
}

std::string IniStore::ReadIni(std::string_view section, std::string_view key, std::string_view defaultValue,
                              std::string_view fileName, std::string_view folder) const
{
    for (const Section& s : load(resolve(fileName, folder)))
        if (s.name == section)
            for (const auto& [k, v] : s.keys)
                if (k == key)
                    return v;
    return std::string(defaultValue);
}

IniWriteStatus IniStore::WriteIni(std::string_view section, std::string_view key, std::string_view value,
                                  std::string_view fileName, std::string_view folder) const
{
    const std::string path = resolve(fileName, folder);
    std::vector<Section> all = load(path);
    Section* target = nullptr;
    for (Section& s : all)
        if (s.name == section)
            target = &s;
    if (!target) {
        all.push_back({std::string(section), {}});
        target = &all.back();
    }
    bool found = false;
    for (auto it = target->keys.begin(); it != target->keys.end(); ++it) {
        if (it->first == key) {
            if (value.empty())
                target->keys.erase(it);
            else
                it->second = value;
            found = true;
            break;
        }
    }
    if (!found && !value.empty())
        target->keys.emplace_back(std::string(key), std::string(value));
    std::ofstream out(path, std::ios::trunc);
    for (const Section& s : all) {
        out << "[" << s.name << "]\r\n";
        for (const auto& [k, v] : s.keys)
            out << k << "=" << v << "\r\n";
    }
    return out ? IniWriteStatus::Ok : IniWriteStatus::Failed;
}

} // namespace kelvra
