// Helpers of the language tests: a temporary program folder with language files written in either
// line-end style, and a window stand-in whose controls are a plain table.
#pragma once

#include "lang/LanguageTarget.h"

#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace kelvra::test
{

enum class LineEnd { LF, CRLF };

inline const char* lineEndName(LineEnd e)
{
    return e == LineEnd::LF ? "LF" : "CRLF";
}

class TempFolder
{
public:
    TempFolder()
    {
        std::random_device rd;
        m_path = std::filesystem::temp_directory_path() /
                 ("kelvra_lang_" + std::to_string(rd()) + "_" + std::to_string(rd()));
        std::filesystem::create_directories(m_path);
    }
    ~TempFolder()
    {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    std::string path() const { return m_path.string(); }
    std::string file(const std::string& name) const { return (m_path / name).string(); }

    // Writes the lines, each ended by the chosen line end.
    std::string write(const std::string& name, const std::vector<std::string>& lines,
                      LineEnd end = LineEnd::CRLF) const
    {
        std::string text;
        for (const std::string& l : lines)
            text += l + (end == LineEnd::CRLF ? "\r\n" : "\n");
        return writeRaw(name, text);
    }
    std::string writeRaw(const std::string& name, const std::string& bytes) const
    {
        std::ofstream out(m_path / name, std::ios::binary);
        out << bytes;
        return file(name);
    }
    std::string read(const std::string& name) const
    {
        std::ifstream in(m_path / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

private:
    std::filesystem::path m_path;
};

// A window whose controls are listed by name and index; a control may lack either property.
class FakeTarget : public LanguageTarget
{
public:
    struct Control {
        std::optional<std::string> caption;
        std::optional<std::string> hint;
    };
    using Id = std::pair<std::string, std::optional<int>>;

    explicit FakeTarget(std::string name = "frmMain") : m_name(std::move(name)) {}

    void add(const std::string& name, std::optional<int> index, std::optional<std::string> caption,
             std::optional<std::string> hint = std::nullopt)
    {
        controls[{name, index}] = {std::move(caption), std::move(hint)};
    }
    std::string caption(const std::string& name, std::optional<int> index = std::nullopt) const
    {
        return controls.at({name, index}).caption.value_or("<none>");
    }
    std::string hint(const std::string& name, std::optional<int> index = std::nullopt) const
    {
        return controls.at({name, index}).hint.value_or("<none>");
    }

    std::string windowName() const override { return m_name; }
    std::optional<std::string> property(std::string_view control, std::optional<int> index,
                                        ControlProperty which) const override
    {
        const auto it = controls.find({std::string(control), index});
        if (it == controls.end())
            return std::nullopt;
        return which == ControlProperty::Caption ? it->second.caption : it->second.hint;
    }
    bool setProperty(std::string_view control, std::optional<int> index, ControlProperty which,
                     const std::string& text) override
    {
        const auto it = controls.find({std::string(control), index});
        if (it == controls.end())
            return false;
        std::optional<std::string>& p =
            which == ControlProperty::Caption ? it->second.caption : it->second.hint;
        if (!p)
            return false;
        p = text;
        ++writes;
        return true;
    }

    std::map<Id, Control> controls;
    int writes = 0;

private:
    std::string m_name;
};

} // namespace kelvra::test
