// Argument handling of kelvra-calc.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kelvra {

struct CalcCliOptions {
    char decimalSeparator = '.';
    std::vector<std::pair<std::string, std::string>> sets; // KEY, TEXT in the order given
    bool json = false;
    std::optional<std::string> projectFile;
};

// The options, or the one-line message that names the bad argument.
struct CalcCliParse {
    CalcCliOptions options;
    std::string error;
    bool help = false;
};
CalcCliParse parseCalcCli(const std::vector<std::string>& args);

// Exit status: 0 ran to the end, 1 stopped with a message (or an empty input), 2 usage error.
int runCalcCli(int argc, char** argv);

} // namespace kelvra
