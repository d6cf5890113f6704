// Applying a language file to a window and to the tables: captions, hint texts, control arrays,
// menu items, keys that name nothing, switching languages and the stored row number.
#include "lang/ApplyLanguage.h"
#include "tests/lang/LangTestSupport.h"

#include <gtest/gtest.h>

using namespace kelvra;
using namespace kelvra::test;

namespace
{

// The part of the main window that these tests look at.
FakeTarget mainWindow()
{
    FakeTarget w;
    w.add("fraPort", std::nullopt, "Poort Volume");
    w.add("fraInfo", std::nullopt, "Algemene informatie");
    for (int i = 0; i < 3; ++i)
        w.add("cmdShow", i, std::vector<std::string>{"Toon Meet Figuur", "Toon Params", "Simulatie"}[i], "");
    w.add("lblVolume", std::nullopt, "Volume: 0 Liter", "Dit is het volume dat de sub ziet");
    w.add("txtSize", 9, std::nullopt, "Standard: 9, 12, 18, 22, 30 ");
    const char* nos[] = {"New", "Open", "Save", "Save as..."};
    for (int i = 0; i < 4; ++i)
        w.add("mnuFileNOS", i, nos[i]); // menu items have a caption and no hint text
    w.add("mnuFileSettings", std::nullopt, "Settings");
    return w;
}

AppPaths pathsOf(const TempFolder& dir)
{
    return {dir.path(), "kelvra"};
}

class ApplyLanguage : public ::testing::TestWithParam<std::tuple<LineEnd, char>>
{
protected:
    LineEnd lineEnd() const { return std::get<0>(GetParam()); }
    char sep() const { return std::get<1>(GetParam()); }
    std::string write(const std::string& name, const std::vector<std::string>& lines)
    {
        return dir.write(name, lines, lineEnd());
    }
    TempFolder dir;
};
INSTANTIATE_TEST_SUITE_P(Files, ApplyLanguage,
                         ::testing::Combine(::testing::Values(LineEnd::LF, LineEnd::CRLF),
                                            ::testing::Values(',', '.')),
                         [](const auto& info) {
                             return std::string(lineEndName(std::get<0>(info.param))) +
                                    (std::get<1>(info.param) == ',' ? "_comma" : "_point");
                         });

} // namespace

TEST_P(ApplyLanguage, HintKeyWithIndexSetsTheHintAndIndexBeforeTttSetsTheCaption)
{
    const std::string path = write("A_lng.ini", {"[frmMain]", "cmdShow_ttt(2)=Switches simulation on and off",
                                                 "cmdShow(1)_ttt=Show parameters"});
    FakeTarget w = mainWindow();
    ApplyLanguageToForm(path, w, sep());
    EXPECT_EQ(w.hint("cmdShow", 2), "Switches simulation on and off");
    EXPECT_EQ(w.caption("cmdShow", 2), "Simulatie");
    EXPECT_EQ(w.caption("cmdShow", 1), "Show parameters");
    EXPECT_EQ(w.hint("cmdShow", 1), "");
}

TEST_P(ApplyLanguage, MenuItemOfAControlArrayIsRenamed)
{
    const std::string path =
        write("A_lng.ini", {"[frmMain]", "mnuFileNOS(1)=&Openen", "mnuFileSettings=Instellingen"});
    FakeTarget w = mainWindow();
    ApplyLanguageToForm(path, w, sep());
    EXPECT_EQ(w.caption("mnuFileNOS", 1), "&Openen");
    EXPECT_EQ(w.caption("mnuFileNOS", 0), "New");
    EXPECT_EQ(w.caption("mnuFileSettings"), "Instellingen");
}

TEST_P(ApplyLanguage, CaptionAndHintTextOfAPlainControl)
{
    const std::string path =
        write("A_lng.ini", {"[frmMain]", "lblVolume_ttt=The volume the woofer sees", "fraPort=Port volume",
                            "txtSize_ttt(9)=Usual: 9, 12, 18, 22, 30"});
    FakeTarget w = mainWindow();
    ApplyLanguageToForm(path, w, sep());
    EXPECT_EQ(w.hint("lblVolume"), "The volume the woofer sees");
    EXPECT_EQ(w.caption("lblVolume"), "Volume: 0 Liter");
    EXPECT_EQ(w.caption("fraPort"), "Port volume");
    EXPECT_EQ(w.hint("txtSize", 9), "Usual: 9, 12, 18, 22, 30");
}

TEST_P(ApplyLanguage, EmptyValueEmptiesTheCaption)
{
    const std::string path = write("A_lng.ini", {"[frmMain]", "fraInfo="});
    FakeTarget w = mainWindow();
    ApplyLanguageToForm(path, w, sep());
    EXPECT_EQ(w.caption("fraInfo"), "");
}

TEST_P(ApplyLanguage, KeysThatNameNothingAreSkippedAndTheRestApplied)
{
    const std::string path = write("A_lng.ini", {"[frmMain]",
                                                 "cmdNothing=x",        // no such control
                                                 "cmdShow(7)=x",        // no such element
                                                 "cmdShow(30000)=x",    // far outside the array
                                                 "cmdShow=x",           // an array without index
                                                 "fraPort(1)=x",        // a plain control with index
                                                 "mnuFileNOS_ttt(0)=x", // a menu item has no hint text
                                                 "txtSize(9)=x",        // a text box has no caption
                                                 "cmdShow(abc)=x",      // no number: the array itself
                                                 "_ttt=x", "=x", "fraInfo=General information"});
    FakeTarget w = mainWindow();
    const FakeTarget before = mainWindow();
    ApplyLanguageToForm(path, w, sep());
    EXPECT_EQ(w.writes, 1);
    EXPECT_EQ(w.caption("fraInfo"), "General information");
    for (const auto& [id, control] : before.controls) {
        if (id.first == "fraInfo")
            continue;
        EXPECT_EQ(w.controls.at(id).caption, control.caption) << id.first;
        EXPECT_EQ(w.controls.at(id).hint, control.hint) << id.first;
    }
}

TEST_P(ApplyLanguage, OnlyTheWindowsOwnSectionIsApplied)
{
    const std::string path = write("A_lng.ini", {"[frmLayout]", "fraPort=Wrong window", "[.]",
                                                 "fraPort=Table", "[FRMMAIN]", "fraPort=Right window"});
    FakeTarget w = mainWindow();
    ApplyLanguageToForm(path, w, sep());
    EXPECT_EQ(w.caption("fraPort"), "Right window");
}

TEST_P(ApplyLanguage, MissingFileChangesNothing)
{
    FakeTarget w = mainWindow();
    ApplyLanguageToForm(dir.file("gone_lng.ini"), w, sep());
    EXPECT_EQ(w.writes, 0);
}

TEST_P(ApplyLanguage, SwitchingAThenBKeepsCaptionsOfAButTablesGoBackToDutch)
{
    write("A_lng.ini",
          {"[IDENTIFICATION]", "language=Alpha", "[frmMain]", "fraPort=Port volume A", "fraInfo=Info A",
           "[.]", "PortType(0)=Round A", "PortType(1)=Square A", "CorrectionFact(2)=Wool A"});
    write("B_lng.ini", {"[IDENTIFICATION]", "language=Beta", "[frmMain]", "fraInfo=Info B", "[.]",
                        "PortType(1)=Square B"});
    const IniStore ini(pathsOf(dir));
    const LanguageSearch found = FindLanguageFiles(dir.path());
    ASSERT_EQ(found.languages.size(), 2u);
    FakeTarget w = mainWindow();
    TextTables tables = ResetTextTables();

    int index = 0;
    EXPECT_TRUE(ApplyChosenLanguage(ini, found.languages, true, index, tables, w, sep()).empty());
    EXPECT_EQ(w.caption("fraPort"), "Port volume A");
    EXPECT_EQ(tables.portType[0], "Round A");

    index = 1;
    EXPECT_TRUE(ApplyChosenLanguage(ini, found.languages, true, index, tables, w, sep()).empty());
    EXPECT_EQ(w.caption("fraPort"), "Port volume A"); // B is silent about it
    EXPECT_EQ(w.caption("fraInfo"), "Info B");
    EXPECT_EQ(tables.portType[0], "Ronde");
    EXPECT_EQ(tables.portType[1], "Square B");
    EXPECT_EQ(tables.correctionFact[2], "Dempingswol");
    EXPECT_EQ(ini.ReadIni("Settings", "Language", "?"), "1");
}

TEST_P(ApplyLanguage, StoredRowPastTheLastRowAppliesTheFirstFileAndWritesZero)
{
    write("A_lng.ini", {"[IDENTIFICATION]", "language=Alpha", "[frmMain]", "fraPort=From A"});
    write("B_lng.ini", {"[IDENTIFICATION]", "language=Beta", "[frmMain]", "fraPort=From B"});
    const IniStore ini(pathsOf(dir));
    ini.WriteIni("Settings", "Language", "5");
    const LanguageDiscovery d = DiscoverLanguages(ini, sep(), "Kelvra");
    ASSERT_TRUE(d.languagesFound);
    EXPECT_EQ(d.languageIndex, 5);
    EXPECT_TRUE(d.messages.empty());

    int index = d.languageIndex;
    FakeTarget w = mainWindow();
    TextTables tables = ResetTextTables();
    ApplyChosenLanguage(ini, d.search.languages, d.languagesFound, index, tables, w, sep());
    EXPECT_EQ(index, 0);
    EXPECT_EQ(w.caption("fraPort"), "From A");
    EXPECT_EQ(ini.ReadIni("Settings", "Language", "?"), "0");
}

TEST_P(ApplyLanguage, TablesAreLoadedInOrderAndBadEntriesReported)
{
    write("T_lng.ini", {"[IDENTIFICATION]", "language=T", "[.]", "Options(2)=x", "PortBox(5)=y",
                        "MessageBox(3)=Negative volume", "PortBox=Front"});
    const IniStore ini(pathsOf(dir));
    const LanguageSearch found = FindLanguageFiles(dir.path());
    FakeTarget w = mainWindow();
    TextTables tables = ResetTextTables();
    tables.options[0] = "left over from an earlier language";
    int index = 0;
    const std::vector<Message> messages =
        ApplyChosenLanguage(ini, found.languages, true, index, tables, w, sep());
    ASSERT_EQ(messages.size(), 2u);
    // PortBox comes before Options in the loading order.
    EXPECT_EQ(messages[0].text, "Invalid control name in language file T_lng.ini\r\nControlname: PortBox(5)");
    EXPECT_EQ(messages[1].text, "Invalid control name in language file T_lng.ini\r\nControlname: Options(2)");
    TextTables expected = ResetTextTables();
    expected.portBox[0] = "Front";
    expected.messageBox[3] = "Negative volume";
    EXPECT_EQ(tables, expected);
}

TEST_P(ApplyLanguage, WithoutLanguageFilesOnlyTheTablesAreReset)
{
    const IniStore ini(pathsOf(dir));
    FakeTarget w = mainWindow();
    w.add("fraPort", std::nullopt, "Kept");
    TextTables tables = ResetTextTables();
    tables.portBox[0] = "Stale";
    int index = 3;
    EXPECT_TRUE(ApplyChosenLanguage(ini, {}, false, index, tables, w, sep()).empty());
    EXPECT_EQ(tables, ResetTextTables());
    EXPECT_EQ(w.caption("fraPort"), "Kept");
    EXPECT_EQ(ini.ReadIni("Settings", "Language", "absent"), "absent");
    EXPECT_FALSE(std::filesystem::exists(ini.paths().settingsFile()));
}

TEST_P(ApplyLanguage, DiscoveryWithoutFilesGivesTheNoticeTitledWithTheCaption)
{
    write("Bad_lng.ini", {"[frmMain]", "fraPort=x"});
    const IniStore ini(pathsOf(dir));
    ini.WriteIni("Settings", "Language", "1");
    const LanguageDiscovery d = DiscoverLanguages(ini, sep(), "Kelvra [0.1 Build53]");
    EXPECT_FALSE(d.languagesFound);
    ASSERT_EQ(d.messages.size(), 2u);
    EXPECT_EQ(d.messages[0].text, "The language file Bad_lng.ini is bad. Skipping.");
    EXPECT_EQ(d.messages[1], (Message{"Couldn't find any language file. Using Standard.",
                                      "Kelvra [0.1 Build53]", MessageIcon::Information, MessageButtons::Ok}));
}

TEST_P(ApplyLanguage, StoredRowNumberNegativeOrNoNumberBecomesZero)
{
    write("A_lng.ini", {"[IDENTIFICATION]", "language=Alpha"});
    const IniStore ini(pathsOf(dir));
    struct Case {
        const char* stored;
        int expected;
    };
    const Case cases[] = {{"", 0}, {"-3", 0}, {"abc", 0}, {"99999", 0}, {"1", 1}, {"7", 7}};
    for (const Case& c : cases) {
        ini.WriteIni("Settings", "Language", c.stored);
        const LanguageDiscovery d = DiscoverLanguages(ini, sep(), "Kelvra");
        EXPECT_TRUE(d.languagesFound);
        EXPECT_EQ(d.languageIndex, c.expected) << c.stored;
        EXPECT_TRUE(d.messages.empty());
    }
}

TEST_P(ApplyLanguage, DuplicateKeysAndSectionsNeverCrash)
{
    write("D_lng.ini",
          {"[IDENTIFICATION]", "language=Dup", "[frmMain]", "fraPort=First", "fraPort=Second", "[frmMain]",
           "fraInfo=Again", "[.]", "PortBox(1)=One", "PortBox(1)=Two", "[.]", "PortType(1)=Square"});
    const IniStore ini(pathsOf(dir));
    const LanguageSearch found = FindLanguageFiles(dir.path());
    ASSERT_EQ(found.languages.size(), 1u);
    FakeTarget w = mainWindow();
    TextTables tables = ResetTextTables();
    int index = 0;
    EXPECT_TRUE(ApplyChosenLanguage(ini, found.languages, true, index, tables, w, sep()).empty());
    // Whichever of the duplicates the reader gives, it is one of the file's texts.
    EXPECT_TRUE(w.caption("fraPort") == "First" || w.caption("fraPort") == "Second") << w.caption("fraPort");
    EXPECT_TRUE(tables.portBox[1] == "One" || tables.portBox[1] == "Two") << tables.portBox[1];
}

TEST(ApplyLanguageRobustness, ScrambledFilesNeverCrashAndOnlyTouchWhatTheyName)
{
    // Files built from the characters that matter to the parsing: brackets, "=", parentheses,
    // digits, "_ttt", line ends and NUL bytes, in a fixed pseudo-random order.
    const std::vector<std::string> pieces = {"[",        "]",
                                             "frmMain",  ".",
                                             "=",        "(",
                                             ")",        "-",
                                             "9",        "1",
                                             "_ttt",     "\r\n",
                                             "\n",       std::string(1, '\0'),
                                             "fraPort",  "PortBox",
                                             "cmdShow",  "IDENTIFICATION",
                                             "language", " "};
    std::mt19937 random(20261206);
    TempFolder dir;
    const IniStore ini({dir.path(), "kelvra"});
    for (int round = 0; round < 40; ++round) {
        std::string text = "[IDENTIFICATION]\r\nlanguage=Scrambled\r\n";
        for (int i = 0; i < 400; ++i)
            text += pieces[random() % pieces.size()];
        dir.writeRaw("S_lng.ini", text);
        const LanguageSearch found = FindLanguageFiles(dir.path());
        FakeTarget w = mainWindow();
        TextTables tables = ResetTextTables();
        int index = 0;
        ApplyChosenLanguage(ini, found.languages, found.found(), index, tables, w, round % 2 ? ',' : '.');
        EXPECT_EQ(w.controls.size(), mainWindow().controls.size());
        for (std::string_view name : kTableNames)
            EXPECT_EQ(tables.table(name).size(), ResetTextTables().table(name).size());
    }
}
