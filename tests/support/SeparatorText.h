// Number texts in the tests are written with "," and run under both decimal separators; files are
// written with both line ends.
#pragma once

#include <cctype>
#include <cstddef>
#include <string>

namespace kelvra::test
{

// The text with each "," put into the given separator.
inline std::string under(std::string text, char sep)
{
    for (char& c : text)
        if (c == ',')
            c = sep;
    return text;
}

// Test names for a parameter of a decimal separator: "comma" or "point".
struct SeparatorName {
    template <class Info> std::string operator()(const Info& info) const
    {
        return info.param == ',' ? "comma" : "point";
    }
};

// Test names for a parameter of a line end: "CRLF" or "LF".
inline std::string lineEndName(const std::string& end)
{
    return end == "\r\n" ? "CRLF" : "LF";
}

// A readable test name from a case's own text: its letters and digits, led by the case number so that
// cases whose texts differ only in punctuation stay apart.
inline std::string caseName(std::size_t index, const std::string& text)
{
    std::string name = "case" + std::to_string(index);
    if (!text.empty())
        name += '_';
    for (unsigned char c : text)
        if (std::isalnum(c))
            name += static_cast<char>(c);
    return name;
}

} // namespace kelvra::test
