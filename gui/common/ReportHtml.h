// Pieces of the HTML that the windows' printed reports are made of.
#pragma once

#include <QString>

#include <string>
#include <vector>

namespace kelvra
{

// The program's text made safe to stand in HTML.
QString htmlEscaped(const std::string& text);
// The lines, escaped, as <li> items inside one element of `tag` ("ul", "ol", "p").
QString htmlList(const std::vector<std::string>& lines, const char* tag);
// The lines, escaped, one below the other in one paragraph: for lines that carry their own numbers.
QString htmlLines(const std::vector<std::string>& lines);

} // namespace kelvra
