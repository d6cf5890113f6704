// Number texts in the tests are written with "," and run under both decimal separators.
#pragma once

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

} // namespace kelvra::test
