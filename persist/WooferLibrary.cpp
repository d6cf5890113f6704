#include "persist/WooferLibrary.h"

#include "calc/Numeric.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace kelvra
{

namespace
{

namespace fs = std::filesystem;

std::string folderIn(const std::string& base)
{
    return (fs::path(base) / kWooferFolderName).string();
}

std::string lowered(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Names in the order a reader expects: letter case aside, and numbers by their value (8" before 10").
bool namedBefore(const std::string& a, const std::string& b)
{
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const auto ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[j]);
        if (std::isdigit(ca) && std::isdigit(cb)) {
            std::size_t ei = i, ej = j;
            while (ei < a.size() && std::isdigit(static_cast<unsigned char>(a[ei])))
                ++ei;
            while (ej < b.size() && std::isdigit(static_cast<unsigned char>(b[ej])))
                ++ej;
            const std::string na = a.substr(i, ei - i), nb = b.substr(j, ej - j);
            const auto trimmed = [](const std::string& n) {
                return n.substr(std::min(n.find_first_not_of('0'), n.size()));
            };
            const std::string ta = trimmed(na), tb = trimmed(nb);
            if (ta.size() != tb.size())
                return ta.size() < tb.size();
            if (ta != tb)
                return ta < tb;
            i = ei;
            j = ej;
            continue;
        }
        const int la = std::tolower(ca), lb = std::tolower(cb);
        if (la != lb)
            return la < lb;
        ++i;
        ++j;
    }
    return a.size() - i < b.size() - j;
}

// The text with the user's separator when it is a number written with the other one.
std::string withSeparator(std::string text, char separator)
{
    const char other = separator == ',' ? '.' : ',';
    if (text.empty() || toDouble(text, separator).ok() || !toDouble(text, other).ok())
        return text;
    std::replace(text.begin(), text.end(), other, separator);
    return text;
}

void addFolder(std::vector<WooferEntry>& entries, const std::string& folder, bool shipped)
{
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& p = it->path();
        if (lowered(p.extension().string()) != ".ini" || !it->is_regular_file(ec))
            continue;
        const std::string path = p.string();
        if (std::any_of(entries.begin(), entries.end(),
                        [&](const WooferEntry& e) { return fs::path(e.path).filename() == p.filename(); }))
            continue;
        std::string name = ReadLanguageValue(path, kWooferSection, "name", "");
        entries.push_back({name.empty() ? p.stem().string() : name, path, shipped});
    }
}

} // namespace

std::string userWooferFolder(const AppPaths& paths)
{
    return folderIn(paths.settingsFolder.empty() ? paths.programFolder : paths.settingsFolder);
}

std::string shippedWooferFolder(const AppPaths& paths)
{
    return folderIn(paths.programFolder);
}

std::vector<WooferEntry> listWoofers(const std::string& userFolder, const std::string& shippedFolder)
{
    std::vector<WooferEntry> entries;
    addFolder(entries, userFolder, false);
    std::error_code ec;
    if (!fs::equivalent(userFolder, shippedFolder, ec))
        addFolder(entries, shippedFolder, true);
    std::stable_sort(entries.begin(), entries.end(),
                     [](const WooferEntry& a, const WooferEntry& b) { return namedBefore(a.name, b.name); });
    return entries;
}

std::optional<WooferTexts> loadWoofer(const std::string& path, char decimalSeparator)
{
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return std::nullopt;
    WooferTexts woofer;
    for (std::size_t i = 0; i < kWooferParameterKeys; ++i) {
        const std::string text = ReadLanguageValue(path, kWooferSection, kWooferKeys[i], "");
        woofer.text[i] = i == 0 ? text : withSeparator(text, decimalSeparator);
    }
    if (woofer.noWoofer())
        return std::nullopt;
    return woofer;
}

std::string wooferFileName(std::string_view name)
{
    std::string out;
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        const bool keep =
            u < 0x80 && (std::isalnum(u) || std::string_view(" -_().").find(c) != std::string_view::npos);
        out += keep ? c : '_';
    }
    const auto first = out.find_first_not_of(" .");
    out = first == std::string::npos ? std::string() : out.substr(first);
    while (!out.empty() && (out.back() == ' ' || out.back() == '.'))
        out.pop_back();
    if (out.size() > 80)
        out.resize(80);
    return (out.empty() ? std::string("woofer") : out) + ".ini";
}

WooferSaved saveWoofer(const std::string& folder, const WooferTexts& woofer)
{
    WooferSaved saved;
    const std::string& name = woofer.text[0];
    if (name.find_first_not_of(' ') == std::string::npos) {
        saved.error = "name: a woofer needs a name to be saved";
        return saved;
    }
    std::error_code ec;
    fs::create_directories(folder, ec);
    const std::string fileName = wooferFileName(name);
    saved.path = (fs::path(folder) / fileName).string();
    const IniStore ini({folder, "kelvra"});
    for (std::size_t i = 0; i < kWooferParameterKeys; ++i)
        if (ini.WriteIni(kWooferSection, kWooferKeys[i], woofer.text[i], fileName, folder) !=
            IniWriteStatus::Ok) {
            saved.error = "cannot write '" + saved.path + "'";
            return saved;
        }
    return saved;
}

} // namespace kelvra
