// Runs the built kelvra-calc as a user does, from a temporary folder of the test's own, and reads what
// it prints; in the texts of a case "~" stands for the decimal separator of the run and "^" for the field
// separator of its CSV files (";" beside a decimal comma).
#pragma once

#include "tests/support/TempFolder.h"

#include <array>
#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace kelvra::test
{

struct ToolRun {
    int status = -1;
    std::string out;
};

inline ToolRun runCommand(const std::string& command)
{
    ToolRun r;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return r;
    std::array<char, 4096> buffer{};
    for (std::size_t n; (n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0;)
        r.out.append(buffer.data(), n);
    const int raw = pclose(pipe);
    r.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return r;
}

inline std::string withSeparator(std::string text, char sep)
{
    for (char& c : text)
        if (c == '~')
            c = sep;
        else if (c == '^')
            c = sep == ',' ? ';' : ',';
    return text;
}

// The tool run in `folder` with the arguments (shell words) and the redirection of its streams, by
// default stdout only.
inline ToolRun runTool(const TempFolder& folder, const std::string& args,
                       const std::string& streams = "2>/dev/null", const std::string& tool = KELVRA_CALC_EXE)
{
    return runCommand("cd '" + folder.path() + "' && '" + tool + "' " + args + " " + streams);
}

inline bool contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

inline std::size_t countOf(const std::string& text, const std::string& part)
{
    std::size_t n = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

} // namespace kelvra::test
