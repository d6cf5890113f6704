#include "app/Batch.h"

#include <istream>
#include <ostream>

namespace kelvra
{

namespace
{

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

} // namespace

BatchWords splitBatchLine(std::string_view line)
{
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    BatchWords r;
    std::string word;
    bool inWord = false;
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c == '"') {
                quoted = false;
            } else if (c == '\\' && i + 1 < line.size() && (line[i + 1] == '"' || line[i + 1] == '\\')) {
                word += line[++i];
            } else {
                word += c;
            }
        } else if (isBlank(c)) {
            if (inWord)
                r.words.push_back(std::move(word));
            word.clear();
            inWord = false;
        } else {
            inWord = true;
            if (c == '"')
                quoted = true;
            else
                word += c;
        }
    }
    if (quoted) {
        r.error = "a quote opened in the line is not closed";
        r.words.clear();
        return r;
    }
    if (inWord)
        r.words.push_back(std::move(word));
    return r;
}

BatchDesign readBatchLine(std::string_view line, const ModelInputs& base, char separator, Measure measure)
{
    BatchDesign d;
    d.inputs = base;
    BatchWords split = splitBatchLine(line);
    if (!split.error.empty()) {
        d.error = split.error;
        return d;
    }
    for (const std::string& word : split.words) {
        if (word.front() == '@') {
            if (word.size() == 1) {
                d.error = "'@' needs a project file path";
                return d;
            }
            ProjectRead read = readProjectInto(word.substr(1), separator, d.inputs, d.layout);
            for (std::string& w : read.warnings)
                d.warnings.push_back(std::move(w));
            if (!read.error.empty()) {
                d.error = read.error;
                return d;
            }
            continue;
        }
        const auto eq = word.find('=');
        if (eq == std::string::npos || eq == 0) {
            d.error = "a design is KEY=TEXT or @PROJECT.tbx words, not '" + word + "'";
            return d;
        }
        d.error = applySet(d.inputs, word.substr(0, eq), word.substr(eq + 1), measure, separator);
        if (!d.error.empty())
            return d;
    }
    return d;
}

std::string batchErrorJson(long long lineNumber, std::string_view error)
{
    return json::Object().integer("line", lineNumber).str("error", error).dump();
}

BatchSummary runBatch(std::istream& in, std::ostream& out, std::ostream& err, const CalcCliOptions& options)
{
    BatchSummary summary;
    ModelInputs base = firstRunInputs();
    for (const auto& [key, text] : options.sets) {
        const std::string error = applySet(base, key, text, options.measure, options.decimalSeparator);
        if (!error.empty()) {
            // The caller checks the options first; a bad --set would spoil every line alike.
            err << "kelvra-calc: " << error << '\n';
            ++summary.errors;
            return summary;
        }
    }
    const TextTables tables = ResetTextTables();
    std::string line;
    while (std::getline(in, line)) {
        ++summary.lines;
        const BatchDesign design = readBatchLine(line, base, options.decimalSeparator, options.measure);
        for (const std::string& w : design.warnings)
            err << "kelvra-calc: line " << summary.lines << ": warning: " << w << '\n';
        if (!design.error.empty()) {
            ++summary.errors;
            out << batchErrorJson(summary.lines, design.error) << '\n';
            continue;
        }
        const CalcRun run = runDesign(design.inputs, options.decimalSeparator, tables, options.measure);
        if (!run.outcome.ranToEnd)
            ++summary.stopped;
        out << designJson(run, design.layout, options) << '\n';
    }
    return summary;
}

} // namespace kelvra
