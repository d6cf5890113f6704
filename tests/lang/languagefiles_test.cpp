// Finding language files, splitting indexed key names and filling the text tables from section ".".
#include "calc/Recalculate.h"
#include "lang/LanguageFiles.h"
#include "tests/lang/LangTestSupport.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace kelvra;
using namespace kelvra::test;

namespace
{

std::vector<std::string> identified(const std::string& language, std::vector<std::string> more = {})
{
    std::vector<std::string> lines = {"[IDENTIFICATION]", "language=" + language};
    lines.insert(lines.end(), more.begin(), more.end());
    return lines;
}

class BothLineEnds : public ::testing::TestWithParam<LineEnd>
{
};
INSTANTIATE_TEST_SUITE_P(Files, BothLineEnds, ::testing::Values(LineEnd::LF, LineEnd::CRLF),
                         [](const auto& info) { return lineEndName(info.param); });

class BothSeparators : public ::testing::TestWithParam<char>
{
};
INSTANTIATE_TEST_SUITE_P(Locale, BothSeparators, ::testing::Values(',', '.'),
                         [](const auto& info) { return info.param == ',' ? "comma" : "point"; });

} // namespace

TEST(ListLanguageFiles, OnlyLanguageFilesInFileNameOrder)
{
    TempFolder dir;
    dir.write("Zulu_lng.ini", identified("Zulu"));
    dir.write("English_lng.ini", identified("English"));
    dir.write("Dutch_lng.ini", identified("Nederlands"));
    dir.write("kelvra.ini", {"[Main]", "USE=3"});
    dir.write("Spare_lng.ini.bak", identified("Backup"));
    dir.write("lng.ini", identified("No underscore"));
    std::filesystem::create_directory(dir.file("Folder_lng.ini"));
    EXPECT_EQ(ListLanguageFiles(dir.path()),
              (std::vector<std::string>{"Dutch_lng.ini", "English_lng.ini", "Zulu_lng.ini"}));
}

TEST(ListLanguageFiles, PatternIgnoresLetterCase)
{
    TempFolder dir;
    dir.write("French_LNG.INI", identified("Francais"));
    EXPECT_EQ(ListLanguageFiles(dir.path()), std::vector<std::string>{"French_LNG.INI"});
}

TEST(ListLanguageFiles, MissingFolderListsNothing)
{
    EXPECT_TRUE(ListLanguageFiles("/nonexistent/kelvra/folder").empty());
}

TEST_P(BothLineEnds, TwoFilesTheSecondBadGiveOneRowAndOneMessage)
{
    TempFolder dir;
    dir.write("A_lng.ini", identified("Alpha"), GetParam());
    dir.write("B_lng.ini", {"[frmMain]", "fraPort=Port"}, GetParam());
    const LanguageSearch s = FindLanguageFiles(dir.path());
    ASSERT_EQ(s.languages.size(), 1u);
    EXPECT_EQ(s.languages[0], (LanguageRow{"Alpha", "A_lng.ini"}));
    EXPECT_TRUE(s.found());
    ASSERT_EQ(s.messages.size(), 1u);
    EXPECT_EQ(s.messages[0],
              (Message{"The language file B_lng.ini is bad. Skipping.", "Error reading language file",
                       MessageIcon::Information, MessageButtons::Ok}));
}

TEST(FindLanguageFiles, EveryKindOfBadFileIsReportedAndSkipped)
{
    TempFolder dir;
    dir.writeRaw("1Empty_lng.ini", "");
    dir.write("2NoName_lng.ini", {"[IDENTIFICATION]", "language="});
    dir.write("3OtherKey_lng.ini", {"[IDENTIFICATION]", "name=Dutch"});
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary.push_back(static_cast<char>((i * 7919) % 256 == '[' ? 0 : (i * 7919) % 256));
    dir.writeRaw("4Binary_lng.ini", binary);
    dir.write("5Good_lng.ini", identified("Good"));
    const LanguageSearch s = FindLanguageFiles(dir.path());
    ASSERT_EQ(s.languages.size(), 1u);
    EXPECT_EQ(s.languages[0].name, "Good");
    ASSERT_EQ(s.messages.size(), 4u);
    EXPECT_EQ(s.messages[0].text, "The language file 1Empty_lng.ini is bad. Skipping.");
    EXPECT_EQ(s.messages[1].text, "The language file 2NoName_lng.ini is bad. Skipping.");
    EXPECT_EQ(s.messages[2].text, "The language file 3OtherKey_lng.ini is bad. Skipping.");
    EXPECT_EQ(s.messages[3].text, "The language file 4Binary_lng.ini is bad. Skipping.");
}

TEST(FindLanguageFiles, SectionAndKeyAreFoundWhateverTheirLetterCase)
{
    TempFolder dir;
    dir.write("X_lng.ini", {"[identification]", "LANGUAGE=Deutsch"});
    const LanguageSearch s = FindLanguageFiles(dir.path());
    ASSERT_EQ(s.languages.size(), 1u);
    EXPECT_EQ(s.languages[0].name, "Deutsch");
}

TEST(FindLanguageFiles, NoFileIsNotFound)
{
    TempFolder dir;
    const LanguageSearch s = FindLanguageFiles(dir.path());
    EXPECT_FALSE(s.found());
    EXPECT_TRUE(s.messages.empty());
}

TEST(languageFilePath, JoinsFolderAndFile)
{
    EXPECT_EQ(languageFilePath("/opt/kelvra", {"English", "English_lng.ini"}), "/opt/kelvra/English_lng.ini");
    EXPECT_EQ(languageFilePath("/", {"English", "English_lng.ini"}), "/English_lng.ini");
}

TEST_P(BothSeparators, SplitIndexedName)
{
    const char sep = GetParam();
    struct Case {
        const char* key;
        IndexedName expected;
    };
    const Case cases[] = {
        {"fraPort", {"fraPort", 0, false}},
        {"cmdShow(2)", {"cmdShow", 2, true}},
        {"cmdShow_ttt(2)", {"cmdShow_ttt", 2, true}},
        {"cmdShow(2)_ttt", {"cmdShow", 2, true}}, // what follows ")" is ignored
        {"mnuFileNOS(1)", {"mnuFileNOS", 1, true}},
        {"PortBox(5)", {"PortBox", 5, true}},
        {"PortBox(-1)", {"PortBox", -1, true}},
        {"PortBox(32767)", {"PortBox", 32767, true}},
        {"PortBox(32768)", {"PortBox", 0, false}}, // no 16-bit integer
        {"PortBox(x)", {"PortBox", 0, false}},
        {"PortBox()", {"PortBox", 0, false}},
        {"PortBox(3", {"PortBox", 0, false}}, // no closing parenthesis
        {"PortBox)3(", {"PortBox)3", 0, false}},
        {"a(1)(2)", {"a", 1, true}},
        {"(4)", {"", 4, true}},
        {"", {"", 0, false}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SplitIndexedName(c.key, sep), c.expected) << c.key;
}

TEST(SplitIndexedName, IndexTextFollowsTheLocaleLikeEveryNumber)
{
    // 1,5 is one and a half under a comma locale and rounds half to even; under a point locale the
    // comma groups digits, which makes it no number.
    EXPECT_EQ(SplitIndexedName("PortBox(1,5)", ','), (IndexedName{"PortBox", 2, true}));
    EXPECT_EQ(SplitIndexedName("PortBox(1,5)", '.'), (IndexedName{"PortBox", 0, false}));
    EXPECT_EQ(SplitIndexedName("PortBox(2.5)", '.'), (IndexedName{"PortBox", 2, true}));
    EXPECT_EQ(SplitIndexedName("PortBox(2.5)", ','), (IndexedName{"PortBox", 0, false}));
}

TEST_P(BothLineEnds, SectionKeyNamesInFileOrder)
{
    TempFolder dir;
    const std::string path = dir.write(
        "A_lng.ini", {"[frmMain]", "zeta=1", "alpha=2", "mnuFileNOS(1)=Open", "[.]", "PortBox=Front"},
        GetParam());
    EXPECT_EQ(SectionKeyNames(path, "frmMain"), (std::vector<std::string>{"zeta", "alpha", "mnuFileNOS(1)"}));
    EXPECT_EQ(SectionKeyNames(path, "."), std::vector<std::string>{"PortBox"});
    EXPECT_TRUE(SectionKeyNames(path, "frmOther").empty());
    EXPECT_TRUE(SectionKeyNames(dir.file("missing_lng.ini"), "frmMain").empty());
}

TEST_P(BothSeparators, PortBoxFiveIsReportedAndPortBoxAloneSetsEntryZero)
{
    TempFolder dir;
    const std::string path = dir.write(
        "T_lng.ini", identified("T", {"[.]", "PortBox(5)=Sixth", "PortBox=Front", "PortBox(2)=Top"}));
    TextTables tables = ResetTextTables();
    const std::vector<Message> messages =
        LoadLanguageList(path, "T_lng.ini", "PortBox", tables.table("PortBox"), GetParam());
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0],
              (Message{"Invalid control name in language file T_lng.ini\r\nControlname: PortBox(5)", "Error",
                       MessageIcon::Critical, MessageButtons::Ok}));
    EXPECT_EQ(tables.portBox[0], "Front");
    EXPECT_EQ(tables.portBox[1], "Achterzijde");
    EXPECT_EQ(tables.portBox[2], "Top");
    EXPECT_EQ(tables.portBox[3], "Linker zijkant");
    TextTables expectedOthers = ResetTextTables();
    expectedOthers.portBox = tables.portBox;
    EXPECT_EQ(tables, expectedOthers);
}

TEST(LoadLanguageList, NegativeAndFarIndexesAreReportedOneByOne)
{
    TempFolder dir;
    const std::string path =
        dir.write("T_lng.ini", {"[.]", "PortType(-1)=x", "PortType(30000)=y", "PortType(1)=Square"});
    TextTables tables = ResetTextTables();
    const std::vector<Message> messages =
        LoadLanguageList(path, "T_lng.ini", "PortType", tables.table("PortType"), ',');
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0].text,
              "Invalid control name in language file T_lng.ini\r\nControlname: PortType(-1)");
    EXPECT_EQ(messages[1].text,
              "Invalid control name in language file T_lng.ini\r\nControlname: PortType(30000)");
    EXPECT_EQ(tables.portType[0], "Ronde");
    EXPECT_EQ(tables.portType[1], "Square");
}

TEST(LoadLanguageList, TableNameIsComparedExactly)
{
    TempFolder dir;
    const std::string path = dir.write("T_lng.ini", {"[.]", "portbox(1)=lower", "PortBoxes(1)=longer",
                                                     "PortBo(1)=shorter", "Options(1)=Save"});
    TextTables tables = ResetTextTables();
    EXPECT_TRUE(LoadLanguageList(path, "T_lng.ini", "PortBox", tables.table("PortBox"), ',').empty());
    EXPECT_TRUE(LoadLanguageList(path, "T_lng.ini", "Options", tables.table("Options"), ',').empty());
    TextTables expected = ResetTextTables();
    expected.options[1] = "Save";
    EXPECT_EQ(tables, expected);
}

TEST(LoadLanguageList, EmptyValueEmptiesTheEntry)
{
    TempFolder dir;
    const std::string path = dir.write("T_lng.ini", {"[.]", "CorrectionFact(1)="});
    TextTables tables = ResetTextTables();
    LoadLanguageList(path, "T_lng.ini", "CorrectionFact", tables.table("CorrectionFact"), ',');
    EXPECT_EQ(tables.correctionFact[1], "");
    EXPECT_EQ(tables.correctionFact[0], "Geen");
}

TEST_P(BothLineEnds, ReplacedMessageBoxEntryThreeIsShownByTheNegativeVolumeMessage)
{
    TempFolder dir;
    const std::string path =
        dir.write("E_lng.ini", identified("E", {"[.]", "MessageBox(3)=The volume is negative"}), GetParam());
    TextTables tables = ResetTextTables();
    for (std::string_view name : kTableNames)
        EXPECT_TRUE(LoadLanguageList(path, "E_lng.ini", name, tables.table(name), ',').empty());
    TextTables expected = ResetTextTables();
    expected.messageBox[kMsgNegativeVolume] = "The volume is negative";
    EXPECT_EQ(tables, expected);

    for (const char sep : {',', '.'}) {
        ModelInputs in = firstRunInputs();
        in.pieces[2] = 1;
        in.txtSize[6] = "30"; // a port far bigger than the box
        in.txtSize[5] = "100";
        const RecalcResult r = Recalculate(makeRecalcInputs(in, true, sep, &tables), CalcState{});
        ASSERT_EQ(r.outcome.messages.size(), 1u);
        EXPECT_EQ(r.outcome.messages[0].text, "The volume is negative");
        EXPECT_EQ(r.outcome.messages[0].title, "Calculate Neg.");
    }
}

TEST(LoadLanguageList, HugeFileIsReadQuicklyAndCutAtTheBuffer)
{
    // Some 4 MB of keys: the key list arrives through the 2048-character buffer, so only the first
    // keys are seen, and the loading stays quick.
    TempFolder dir;
    std::string text = "[IDENTIFICATION]\r\nlanguage=Huge\r\n[.]\r\nPortBox(1)=Back\r\n";
    for (int i = 0; i < 200000; ++i)
        text += "Filler" + std::to_string(i) + "=" + std::string(8, 'x') + "\r\n";
    text += "PortBox(2)=Never seen\r\n";
    const std::string path = dir.writeRaw("H_lng.ini", text);
    TextTables tables = ResetTextTables();
    const auto start = std::chrono::steady_clock::now();
    const std::vector<Message> messages =
        LoadLanguageList(path, "H_lng.ini", "PortBox", tables.table("PortBox"), ',');
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(tables.portBox[1], "Back");
    EXPECT_EQ(tables.portBox[2], "Bovenzijde");
    EXPECT_LT(std::chrono::duration_cast<std::chrono::seconds>(elapsed).count(), 10);
}

TEST(FillTextLists, BuiltInTextsInEntryOrder)
{
    const TextLists lists = FillTextLists(ResetTextTables());
    EXPECT_EQ(lists.cmbPortWhere, (std::vector<std::string>{"Voorzijde", "Achterzijde", "Bovenzijde",
                                                            "Linker zijkant", "Rechter zijkant"}));
    EXPECT_EQ(lists.cmbCorrection, (std::vector<std::string>{"Geen", "Noppenfolie", "Dempingswol"}));
    EXPECT_EQ(lists.cmbPortType, (std::vector<std::string>{"Ronde", "Rechthoekige"}));
}

TEST(FillTextLists, TranslatedTablesGiveTranslatedLists)
{
    TextTables t = ResetTextTables();
    t.portType[1] = "Rectangular";
    t.correctionFact[2] = "Damping wool";
    const TextLists lists = FillTextLists(t);
    EXPECT_EQ(lists.cmbPortType, (std::vector<std::string>{"Ronde", "Rectangular"}));
    EXPECT_EQ(lists.cmbCorrection[2], "Damping wool");
    EXPECT_EQ(lists.cmbPortWhere.size(), 5u);
}

TEST(languageText, Utf8StaysAsItIs)
{
    for (const char* text : {"", "Plankdikte", "\xC2\xB0",
                             "Fran\xC3\xA7"
                             "ais",
                             "\xE2\x82\xAC 5", "\xF0\x9F\x94\x8A"})
        EXPECT_EQ(languageText(text), text);
}

TEST(languageText, NulBytesAreLeftOut)
{
    EXPECT_EQ(languageText(std::string("Por\0t", 5)), "Port");
    EXPECT_EQ(languageText(std::string("\0\0", 2)), "");
    EXPECT_EQ(languageText(std::string("\xE9\0t\xE9", 4)), "\xC3\xA9t\xC3\xA9"); // code page text too
}

TEST(languageText, WindowsCodePageTextBecomesUtf8)
{
    EXPECT_EQ(languageText("\xB0"), "\xC2\xB0"); // the degree sign
    EXPECT_EQ(languageText("Fran\xE7"
                           "ais"),
              "Fran\xC3\xA7"
              "ais");                                    // c cedilla
    EXPECT_EQ(languageText("\x80 5"), "\xE2\x82\xAC 5"); // the euro sign of Windows-1252
    EXPECT_EQ(languageText("\x93quoted\x94"), "\xE2\x80\x9Cquoted\xE2\x80\x9D");
    EXPECT_EQ(languageText("\xC3"), "\xC3\x83"); // a cut UTF-8 sequence is no UTF-8
    EXPECT_EQ(languageText("\xED\xA0\x80"), "\xC3\xAD\xC2\xA0\xE2\x82\xAC"); // nor is an encoded surrogate
}

TEST(languageText, FileInTheWindowsCodePageShowsItsTexts)
{
    TempFolder dir;
    const std::string path = dir.write("F_lng.ini", {"[IDENTIFICATION]",
                                                     "language=Fran\xE7"
                                                     "ais",
                                                     "[.]", "PortType(0)=Ronde \xB0"});
    const LanguageSearch s = FindLanguageFiles(dir.path());
    ASSERT_EQ(s.languages.size(), 1u);
    EXPECT_EQ(s.languages[0].name, "Fran\xC3\xA7"
                                   "ais");
    TextTables t = ResetTextTables();
    LoadLanguageList(path, "F_lng.ini", "PortType", t.table("PortType"), ',');
    EXPECT_EQ(t.portType[0], "Ronde \xC2\xB0");
}
