// Language files ("*_lng.ini" beside the program): finding them, walking their sections and filling
// the text tables from them. Plain C++; the messages are returned for the window side to show.
#pragma once

#include "calc/Message.h"
#include "lang/TextTables.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kelvra
{

// One usable language file: the display name from its "IDENTIFICATION" section and the bare file
// name. Rows are numbered from 0 in listing order; the settings file keeps the chosen row number.
struct LanguageRow {
    std::string name;
    std::string file;

    bool operator==(const LanguageRow&) const = default;
};

inline constexpr std::string_view kLanguageFileSuffix = "_lng.ini";
inline constexpr std::string_view kIdentificationSection = "IDENTIFICATION";
inline constexpr std::string_view kTableSection = ".";

// The language files of a folder, in file-name order, so that a stored row number names the same
// file at every start whatever order the file system lists them in.
std::vector<std::string> ListLanguageFiles(const std::string& folder);

struct LanguageSearch {
    std::vector<LanguageRow> languages;
    std::vector<Message> messages; // one per bad file, in listing order

    bool found() const { return !languages.empty(); }
};

// Every language file of the folder with a non-empty "language" name becomes a row; every other one
// is reported as bad and left out.
LanguageSearch FindLanguageFiles(const std::string& programFolder);

// A text as a language file holds it, as UTF-8. Files written on the original platform are in its
// Western code page (Windows-1252); a text that is not valid UTF-8 is read in that code page.
std::string languageText(std::string_view raw);

// The full path of a row's file.
std::string languageFilePath(const std::string& programFolder, const LanguageRow& row);

struct IndexedName {
    std::string name;
    int index = 0;
    bool indexed = false;

    bool operator==(const IndexedName&) const = default;
};

// "cmdShow(2)" gives cmdShow, 2, indexed. Without "(" , without a ")" after it, or with an index
// text that is no 16-bit integer, the key is not indexed and the index is 0; what follows the ")"
// is ignored.
IndexedName SplitIndexedName(std::string_view key, char decimalSeparator);

// The key names of a section in file order (at most what the read buffer holds).
std::vector<std::string> SectionKeyNames(const std::string& path, std::string_view section);

// Fills one text table from the file's section "." : every key whose name is the table's name sets
// the entry of its index (entry 0 without an index). Indexes outside the table are reported.
std::vector<Message> LoadLanguageList(const std::string& path, const std::string& fileName,
                                      std::string_view tableName, std::span<std::string> table,
                                      char decimalSeparator);

// All tables, in the order the loading applies them: the five of the design, then the result texts,
// the print header and the refusals.
inline constexpr std::array<std::string_view, 9> kTableNames = {"PortBox", "CorrectionFact", "MessageBox",
                                                                "Options", "PortType",       "Result",
                                                                "Print",   "Refusal",        "RefusalPhrase"};

// The entries of the three lists whose texts come from the tables, in entry order.
struct TextLists {
    std::vector<std::string> cmbPortWhere;
    std::vector<std::string> cmbCorrection;
    std::vector<std::string> cmbPortType;

    bool operator==(const TextLists&) const = default;
};

TextLists FillTextLists(const TextTables& tables);

} // namespace kelvra
