// kelvra-calc --batch: many designs in one run, one line of input and one line of JSON each.
#pragma once

#include "app/CalcCli.h"

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace kelvra
{

// The words of a batch line. Blanks (space, tab) separate words; a "..." part of a word keeps its
// blanks, and inside it \" stands for " and \\ for \. A carriage return at the end is dropped.
struct BatchWords {
    std::vector<std::string> words;
    std::string error; // an unterminated quote
};
BatchWords splitBatchLine(std::string_view line);

// One design of a batch: the base inputs with the line's words applied from left to right, KEY=TEXT
// as --set does, @PATH reading a project file (its values and placement texts) at that point.
struct BatchDesign {
    ModelInputs inputs;
    LayoutStrings layout{};
    std::string error;                 // the line does not read; nothing is calculated
    std::vector<std::string> warnings; // of the project files read
};
BatchDesign readBatchLine(std::string_view line, const ModelInputs& base, char separator,
                          Measure measure = Measure::Metric);

// What a line that does not read gives instead of its design: {"line":N,"error":TEXT}.
std::string batchErrorJson(long long lineNumber, std::string_view error);

struct BatchSummary {
    long long lines = 0;
    long long errors = 0;  // lines that did not read
    long long stopped = 0; // designs that stopped with a message or an empty box
    bool allRanToEnd() const { return errors == 0 && stopped == 0; }
};

// Every input line gives exactly one output line, so line N of the output belongs to line N of the
// input; an empty line is the base design. The base is the first-run values with the options' --set
// applied. Warnings go to `err` with their line number.
BatchSummary runBatch(std::istream& in, std::ostream& out, std::ostream& err, const CalcCliOptions& options);

} // namespace kelvra
