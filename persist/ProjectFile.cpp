#include "ProjectFile.h"

#include <array>

namespace kelvra
{

namespace
{

struct DataKey {
    std::string_view name;
    std::string_view defaultText;
    bool integerText; // text keys read back as 16-bit integers rather than fixed-point
};

// Section "DATA" in the order it is written and read.
constexpr std::array<DataKey, 21> kDataKeys = {{
    {"sub", "2", false},    {"pieces0", "0", false}, {"pieces1", "0", false}, {"pieces2", "0", false},
    {"corr", "0", false},   {"pwhere", "0", false},  {"ptype", "0", false},   {"h2", "40", false},
    {"l3", "40", false},    {"b2", "40", false},     {"ca", "90", true},      {"cb", "90", true},
    {"lp", "0", false},     {"dp", "0", false},      {"bp", "0", false},      {"hp", "0", false},
    {"thick0", "18", true}, {"thick1", "18", true},  {"thick2", "18", true},  {"subvol", "0", false},
    {"vother", "0", false},
}};

} // namespace

std::vector<std::string> ProjectContents::replacedKeys() const
{
    std::vector<std::string> keys;
    for (const StoredValue& v : values)
        if (v.replaced && v.key)
            keys.emplace_back(v.key->name);
    return keys;
}

IniWriteStatus WriteProject(const IniStore& ini, std::string_view folder, std::string_view fileName,
                            const ModelInputs& inputs, const LayoutStrings& layoutStrings)
{
    IniWriteStatus status = IniWriteStatus::Ok;
    const auto write = [&](std::string_view section, std::string_view key, std::string_view value) {
        if (ini.WriteIni(section, key, value, fileName, folder) != IniWriteStatus::Ok)
            status = IniWriteStatus::Failed;
    };
    write("MAIN", "fid", kProjectFormatTag);
    for (const DataKey& data : kDataKeys) {
        const ModelKey& key = *findModelKey(data.name);
        write("DATA", data.name,
              key.kind == KeyKind::List ? std::to_string(listPosition(inputs, key)) : textOf(inputs, key));
    }
    for (std::size_t i = 0; i < kLayoutKeys.size(); ++i)
        write("LAYOUT", kLayoutKeys[i], layoutStrings[i]);
    return status;
}

ProjectContents ReadProject(const IniStore& ini, std::string_view folder, std::string_view fileName,
                            const LayoutStrings& current, char separator)
{
    ProjectContents contents;
    contents.fid = ini.ReadIni("MAIN", "fid", "v0", fileName, folder);
    contents.oldVersion = contents.fid != kProjectFormatTag;
    contents.values.reserve(kDataKeys.size());
    for (const DataKey& data : kDataKeys) {
        const std::string text = ini.ReadIni("DATA", data.name, data.defaultText, fileName, folder);
        contents.values.push_back(ConvertStoredValue(*findModelKey(data.name), text, data.defaultText,
                                                     data.integerText, separator));
    }
    for (std::size_t i = 0; i < kLayoutKeys.size(); ++i)
        contents.layoutStrings[i] = ini.ReadIni("LAYOUT", kLayoutKeys[i], current[i], fileName, folder);
    return contents;
}

} // namespace kelvra
