// Finding language files, splitting indexed key names, filling the text tables from section "." and the
// two language files shipped beside the program.
#include "lang/LanguageFiles.h"
#include "persist/Ini.h"
#include "tests/support/FakeLanguageTarget.h"
#include "tests/support/SeparatorText.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <set>

using namespace kelvra;
using namespace kelvra::test;
using namespace std::string_literals;

namespace
{

std::vector<std::string> identified(const std::string& language, std::vector<std::string> more = {})
{
    std::vector<std::string> lines = {"[IDENTIFICATION]", "language=" + language};
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

std::string invalidName(const std::string& file, const std::string& key)
{
    return "Invalid control name in language file " + file + "\r\nControlname: " + key;
}

// Every table of the file loaded in the loading order, with the messages of all.
TextTables tablesOf(const std::string& path, const std::string& file, std::vector<Message>& messages)
{
    TextTables t = ResetTextTables();
    for (std::string_view name : kTableNames) {
        const std::vector<Message> m = LoadLanguageList(path, file, name, t.table(name), ',');
        messages.insert(messages.end(), m.begin(), m.end());
    }
    return t;
}

class BothLineEnds : public ::testing::TestWithParam<std::string>
{
protected:
    std::string write(const std::string& name, const std::vector<std::string>& lines) const
    {
        return dir.putLines(name, lines, GetParam());
    }
    TempFolder dir;
};
INSTANTIATE_TEST_SUITE_P(Files, BothLineEnds, ::testing::Values("\n", "\r\n"),
                         [](const auto& info) { return lineEndName(info.param); });

} // namespace

TEST_P(BothLineEnds, OnlyGoodLanguageFilesAreListedInFileNameOrder)
{
    for (const char* name :
         {"Zulu_lng.ini", "English_lng.ini", "French_LNG.INI", "Spare_lng.ini.bak", "lng.ini"})
        write(name, identified(name));
    write("kelvra.ini", {"[Main]", "USE=3"});
    std::filesystem::create_directory(dir.file("Folder_lng.ini"));
    EXPECT_EQ(ListLanguageFiles(dir.path()),
              (std::vector<std::string>{"English_lng.ini", "French_LNG.INI", "Zulu_lng.ini"}));
    EXPECT_TRUE(ListLanguageFiles(dir.file("missing")).empty());
    EXPECT_FALSE(FindLanguageFiles(dir.file("missing")).found());
    EXPECT_EQ(languageFilePath("/opt/kelvra", {"English", "English_lng.ini"}), "/opt/kelvra/English_lng.ini");
    EXPECT_EQ(languageFilePath("/", {"English", "English_lng.ini"}), "/English_lng.ini");
}

TEST_P(BothLineEnds, EveryKindOfBadFileIsReportedAndSkipped)
{
    dir.put("1Empty_lng.ini", "");
    write("2NoName_lng.ini", {"[IDENTIFICATION]", "language="});
    write("3OtherKey_lng.ini", {"[IDENTIFICATION]", "name=Dutch"});
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary.push_back(static_cast<char>((i * 7919) % 256 == '[' ? 0 : (i * 7919) % 256));
    dir.put("4Binary_lng.ini", binary);
    write("5NoIdentification_lng.ini", {"[frmMain]", "fraPort=Port"});
    write("6Good_lng.ini", {"[identification]", "LANGUAGE=Deutsch"}); // letter case does not matter
    const LanguageSearch s = FindLanguageFiles(dir.path());
    EXPECT_TRUE(s.found());
    EXPECT_EQ(s.languages, (std::vector<LanguageRow>{{"Deutsch", "6Good_lng.ini"}}));
    ASSERT_EQ(s.messages.size(), 5u);
    EXPECT_EQ(s.messages[0],
              (Message{"The language file 1Empty_lng.ini is bad. Skipping.", "Error reading language file",
                       MessageIcon::Information, MessageButtons::Ok}));
    const char* bad[] = {"2NoName", "3OtherKey", "4Binary", "5NoIdentification"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(s.messages[i + 1].text,
                  "The language file " + std::string(bad[i]) + "_lng.ini is bad. Skipping.");
}

TEST(SplitIndexedName, UnderBothSeparators)
{
    // What follows ")" is ignored; an index must be a 16-bit integer in closed parentheses.
    struct Case {
        const char* key;
        const char* name;
        int index;
        bool indexed;
    };
    // clang-format off
    const Case cases[] = {
        {"fraPort", "fraPort", 0, false},        {"cmdShow(2)", "cmdShow", 2, true},
        {"cmdShow_ttt(2)", "cmdShow_ttt", 2, true}, {"cmdShow(2)_ttt", "cmdShow", 2, true},
        {"PortBox(-1)", "PortBox", -1, true},    {"PortBox(32767)", "PortBox", 32767, true},
        {"PortBox(32768)", "PortBox", 0, false}, {"PortBox(x)", "PortBox", 0, false},
        {"PortBox()", "PortBox", 0, false},      {"PortBox(3", "PortBox", 0, false},
        {"PortBox)3(", "PortBox)3", 0, false},   {"a(1)(2)", "a", 1, true},
        {"(4)", "", 4, true},                    {"", "", 0, false}};
    // clang-format on
    for (const char sep : {',', '.'})
        for (const Case& c : cases)
            EXPECT_EQ(SplitIndexedName(c.key, sep), (IndexedName{c.name, c.index, c.indexed}))
                << c.key << sep;
    // The index text follows the locale like every number: under a comma 1,5 rounds half to even; under
    // a point the comma groups digits, which makes it no number.
    EXPECT_EQ(SplitIndexedName("PortBox(1,5)", ','), (IndexedName{"PortBox", 2, true}));
    EXPECT_EQ(SplitIndexedName("PortBox(1,5)", '.'), (IndexedName{"PortBox", 0, false}));
    EXPECT_EQ(SplitIndexedName("PortBox(2.5)", '.'), (IndexedName{"PortBox", 2, true}));
    EXPECT_EQ(SplitIndexedName("PortBox(2.5)", ','), (IndexedName{"PortBox", 0, false}));
}

TEST_P(BothLineEnds, TableEntriesOutsideTheirTableAreReportedOneByOne)
{
    const std::string path = write(
        "T_lng.ini", identified("T", {"[.]", "PortBox(5)=Sixth", "PortBox=Front", "PortBox(2)=Top",
                                      "PortType(-1)=x", "PortType(30000)=y", "PortType(1)=Square",
                                      "MessageBox(3)=Negative", "CorrectionFact(1)=", "portbox(1)=lower",
                                      "PortBoxes(1)=longer", "PortBo(1)=shorter"}));
    std::vector<Message> messages;
    const TextTables tables = tablesOf(path, "T_lng.ini", messages);
    EXPECT_EQ(messages[0], (Message{invalidName("T_lng.ini", "PortBox(5)"), "Error", MessageIcon::Critical,
                                    MessageButtons::Ok}));
    std::vector<std::string> texts;
    for (const Message& m : messages)
        texts.push_back(m.text);
    EXPECT_EQ(texts, (std::vector<std::string>{invalidName("T_lng.ini", "PortBox(5)"),
                                               invalidName("T_lng.ini", "PortType(-1)"),
                                               invalidName("T_lng.ini", "PortType(30000)")}));
    // PortBox alone sets entry 0, an empty value empties its entry, and table names are compared exactly.
    TextTables expected = ResetTextTables();
    expected.portBox[0] = "Front";
    expected.portBox[2] = "Top";
    expected.portType[1] = "Square";
    expected.messageBox[kMsgNegativeVolume] = "Negative";
    expected.correctionFact[1] = "";
    EXPECT_EQ(tables, expected);
}

TEST(languageText, Utf8StaysNulsGoAndWindowsCodePageTextBecomesUtf8)
{
    // UTF-8 as it is; NUL bytes left out; Windows-1252 (degree, c cedilla, euro, quotes) into UTF-8, also
    // for a cut UTF-8 sequence or an encoded surrogate, which are no UTF-8.
    // clang-format off
    const std::pair<std::string, std::string> cases[] = {
        {"", ""}, {"Plankdikte", "Plankdikte"}, {"\xC2\xB0", "\xC2\xB0"}, {"\xE2\x82\xAC 5", "\xE2\x82\xAC 5"},
        {"\xF0\x9F\x94\x8A", "\xF0\x9F\x94\x8A"}, {"Por\0t"s, "Port"}, {"\0\0"s, ""},
        {"\xE9\0t\xE9"s, "\xC3\xA9t\xC3\xA9"}, {"\xB0", "\xC2\xB0"}, {"Fran\347ais", "Fran\303\247ais"},
        {"\x80 5", "\xE2\x82\xAC 5"}, {"\x93q\x94", "\xE2\x80\x9Cq\xE2\x80\x9D"}, {"\xC3", "\xC3\x83"},
        {"\xED\xA0\x80", "\xC3\xAD\xC2\xA0\xE2\x82\xAC"}};
    // clang-format on
    for (const auto& [in, out] : cases)
        EXPECT_EQ(languageText(in), out) << in;

    TempFolder dir;
    const std::string path = dir.putLines(
        "F_lng.ini", {"[IDENTIFICATION]", "language=Fran\347ais", "[.]", "PortType(0)=Ronde \xB0"});
    EXPECT_EQ(FindLanguageFiles(dir.path()).languages,
              (std::vector<LanguageRow>{{"Fran\303\247ais", "F_lng.ini"}}));
    TextTables t = ResetTextTables();
    LoadLanguageList(path, "F_lng.ini", "PortType", t.table("PortType"), ',');
    EXPECT_EQ(t.portType[0], "Ronde \xC2\xB0");
}

// The shipped files: Dutch first so that a first start stays Dutch, Dutch restating every built-in table
// entry (and translating the refusals), no key given twice, and every key list within the read buffer, which
// would silently lose its last keys. That English translates everything is checked on the main window.
TEST(ShippedFiles, DutchFirstRestatingTheBuiltInTextsAndKeyListsWithinTheBuffer)
{
    TempFolder dir;
    for (const char* name : {"Dutch_lng.ini", "English_lng.ini"})
        std::filesystem::copy_file(std::filesystem::path(KELVRA_LANGUAGE_DIR) / name, dir.file(name));
    const LanguageSearch s = FindLanguageFiles(dir.path());
    EXPECT_TRUE(s.messages.empty());
    EXPECT_EQ(s.languages,
              (std::vector<LanguageRow>{{"Nederlands", "Dutch_lng.ini"}, {"English", "English_lng.ini"}}));
    std::vector<Message> messages;
    // The refusals are built in as the boards core's English (kelvra-calc's words); Dutch translates
    // every one of them.
    TextTables dutch = tablesOf(dir.file("Dutch_lng.ini"), "Dutch_lng.ini", messages);
    for (const std::string& entry : dutch.refusal)
        EXPECT_FALSE(entry.empty());
    for (const std::string& entry : dutch.refusalPhrase)
        EXPECT_FALSE(entry.empty());
    dutch.refusal = {};
    dutch.refusalPhrase = {};
    EXPECT_EQ(dutch, ResetTextTables());
    tablesOf(dir.file("English_lng.ini"), "English_lng.ini", messages);
    EXPECT_TRUE(messages.empty()) << messages.front().text;
    EXPECT_EQ(SectionKeyNames(dir.file("Dutch_lng.ini"), ".").size(),
              17u + kRefusalCount + kRefusalPhraseCount);
    for (const char* file : {"Dutch_lng.ini", "English_lng.ini"})
        for (const char* section : {"frmMain", "."}) {
            const std::vector<std::string> keys = SectionKeyNames(dir.file(file), section);
            EXPECT_EQ(std::set<std::string>(keys.begin(), keys.end()).size(), keys.size()) << file << section;
            EXPECT_LT(ReadLanguageValue(dir.file(file), section, std::nullopt, "").size(),
                      kIniBufferSize - 64)
                << file << " [" << section << "]";
        }
}
