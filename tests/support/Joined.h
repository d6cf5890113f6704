// A list of problems as one text, one a line, so that a failing check prints every one of them.
#pragma once

#include <string>
#include <vector>

namespace kelvra::test
{

inline std::string joined(const std::vector<std::string>& lines)
{
    std::string out;
    for (const std::string& l : lines)
        out += l + "\n";
    return out;
}

} // namespace kelvra::test
