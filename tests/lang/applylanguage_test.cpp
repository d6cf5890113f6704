// Applying a language file to a window and to the tables: captions, hint texts, control arrays, menu
// items, keys that name nothing, switching languages and the stored row number.
#include "lang/ApplyLanguage.h"
#include "tests/support/FakeLanguageTarget.h"
#include "tests/support/SeparatorText.h"
#include "tests/support/TempFolder.h"

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
    const char* shows[] = {"Toon Meet Figuur", "Toon Params", "Simulatie"};
    for (int i = 0; i < 3; ++i)
        w.add("cmdShow", i, shows[i], "");
    w.add("lblVolume", std::nullopt, "Volume: 0 Liter", "Dit is het volume dat de sub ziet");
    w.add("txtSize", 9, std::nullopt, "Standard: 9, 12, 18, 22, 30 ");
    const char* nos[] = {"New", "Open", "Save", "Save as..."};
    for (int i = 0; i < 4; ++i)
        w.add("mnuFileNOS", i, nos[i]); // menu items have a caption and no hint text
    w.add("mnuFileSettings", std::nullopt, "Settings");
    return w;
}

class ApplyLanguage : public ::testing::TestWithParam<std::tuple<std::string, char>>
{
protected:
    char sep() const { return std::get<1>(GetParam()); }
    std::string write(const std::string& name, const std::vector<std::string>& lines) const
    {
        return dir.putLines(name, lines, std::get<0>(GetParam()));
    }
    // Applies the chosen row of the files in the folder; the messages it gives.
    std::vector<Message> apply(int& index, TextTables& tables, FakeTarget& w) const
    {
        const LanguageSearch found = FindLanguageFiles(dir.path());
        return ApplyChosenLanguage(ini, found.languages, found.found(), index, tables, w, sep());
    }
    TempFolder dir;
    IniStore ini{{dir.path(), "kelvra"}};
};
INSTANTIATE_TEST_SUITE_P(Files, ApplyLanguage,
                         ::testing::Combine(::testing::Values("\n", "\r\n"), ::testing::Values(',', '.')),
                         [](const auto& info) {
                             return lineEndName(std::get<0>(info.param)) +
                                    (std::get<1>(info.param) == ',' ? "_comma" : "_point");
                         });

} // namespace

TEST_P(ApplyLanguage, CaptionsAndHintTextsOfPlainControlsArraysAndMenuItems)
{
    const std::string path = write(
        "A_lng.ini", {"[frmLayout]", "fraPort=Wrong window", "[.]", "fraPort=Table", "[FRMMAIN]",
                      "cmdShow_ttt(2)=Switches simulation", "cmdShow(1)_ttt=Show parameters",
                      "mnuFileNOS(1)=&Openen", "mnuFileSettings=Instellingen", "lblVolume_ttt=The volume",
                      "fraPort=Port volume", "txtSize_ttt(9)=Usual: 9, 12", "fraInfo="});
    FakeTarget w = mainWindow();
    ApplyLanguageToForm(path, w, sep());
    FakeTarget expected = mainWindow();
    expected.controls[{"cmdShow", 2}].hint = "Switches simulation"; // a hint key with an index
    expected.controls[{"cmdShow", 1}].caption = "Show parameters";  // an index before "_ttt": a caption
    expected.controls[{"mnuFileNOS", 1}].caption = "&Openen";
    expected.controls[{"mnuFileSettings", std::nullopt}].caption = "Instellingen";
    expected.controls[{"lblVolume", std::nullopt}].hint = "The volume";
    expected.controls[{"fraPort", std::nullopt}].caption = "Port volume"; // only the window's own section
    expected.controls[{"txtSize", 9}].hint = "Usual: 9, 12";
    expected.controls[{"fraInfo", std::nullopt}].caption = ""; // an empty value empties the caption
    EXPECT_EQ(w.controls, expected.controls);
}

TEST_P(ApplyLanguage, KeysThatNameNothingAreSkippedAndTheRestApplied)
{
    // No such control, no such element, far outside the array, an array without index, a plain control
    // with index, a menu item has no hint text, a text box has no caption, no number: the array itself.
    const std::string path =
        write("A_lng.ini", {"[frmMain]", "cmdNothing=x", "cmdShow(7)=x", "cmdShow(30000)=x", "cmdShow=x",
                            "fraPort(1)=x", "mnuFileNOS_ttt(0)=x", "txtSize(9)=x", "cmdShow(abc)=x", "_ttt=x",
                            "=x", "fraInfo=General information"});
    FakeTarget w = mainWindow();
    ApplyLanguageToForm(path, w, sep());
    EXPECT_EQ(w.writes, 1);
    FakeTarget expected = mainWindow();
    expected.controls[{"fraInfo", std::nullopt}].caption = "General information";
    EXPECT_EQ(w.controls, expected.controls);
    ApplyLanguageToForm(dir.file("gone_lng.ini"), w, sep());
    EXPECT_EQ(w.writes, 1) << "a missing file changes nothing";
}

TEST_P(ApplyLanguage, SwitchingAThenBKeepsCaptionsOfAButTablesGoBackToDutch)
{
    write("A_lng.ini",
          {"[IDENTIFICATION]", "language=Alpha", "[frmMain]", "fraPort=Port volume A", "fraInfo=Info A",
           "[.]", "PortType(0)=Round A", "PortType(1)=Square A", "CorrectionFact(2)=Wool A"});
    write("B_lng.ini", {"[IDENTIFICATION]", "language=Beta", "[frmMain]", "fraInfo=Info B", "[.]",
                        "PortType(1)=Square B"});
    FakeTarget w = mainWindow();
    TextTables tables = ResetTextTables();
    int index = 0;
    EXPECT_TRUE(apply(index, tables, w).empty());
    EXPECT_EQ(w.caption("fraPort"), "Port volume A");
    EXPECT_EQ(tables.portType[0], "Round A");
    index = 1;
    EXPECT_TRUE(apply(index, tables, w).empty());
    EXPECT_EQ(w.caption("fraPort"), "Port volume A"); // B is silent about it
    EXPECT_EQ(w.caption("fraInfo"), "Info B");
    EXPECT_EQ(tables.portType[0], "Ronde");
    EXPECT_EQ(tables.portType[1], "Square B");
    EXPECT_EQ(tables.correctionFact[2], "Dempingswol");
    EXPECT_EQ(ini.ReadIni("Settings", "Language", "?"), "1");
}

TEST_P(ApplyLanguage, StoredRowIsReadAndOnePastTheLastAppliesTheFirstFileAndWritesZero)
{
    write("A_lng.ini", {"[IDENTIFICATION]", "language=Alpha", "[frmMain]", "fraPort=From A"});
    write("B_lng.ini", {"[IDENTIFICATION]", "language=Beta", "[frmMain]", "fraPort=From B"});
    const std::pair<const char*, int> cases[] = {{"", 0},  {"-3", 0}, {"abc", 0}, {"99999", 0},
                                                 {"1", 1}, {"7", 7},  {"5", 5}};
    for (const auto& [stored, expected] : cases) {
        ini.WriteIni("Settings", "Language", stored);
        const LanguageDiscovery d = DiscoverLanguages(ini, sep(), "Kelvra");
        EXPECT_TRUE(d.languagesFound);
        EXPECT_EQ(d.languageIndex, expected) << stored;
        EXPECT_TRUE(d.messages.empty());
    }
    int index = 5;
    FakeTarget w = mainWindow();
    TextTables tables = ResetTextTables();
    apply(index, tables, w);
    EXPECT_EQ(index, 0);
    EXPECT_EQ(w.caption("fraPort"), "From A");
    EXPECT_EQ(ini.ReadIni("Settings", "Language", "?"), "0");
}

TEST_P(ApplyLanguage, WithoutLanguageFilesOnlyTheTablesAreReset)
{
    FakeTarget w = mainWindow();
    TextTables tables = ResetTextTables();
    tables.portBox[0] = "Stale";
    int index = 3;
    EXPECT_TRUE(ApplyChosenLanguage(ini, {}, false, index, tables, w, sep()).empty());
    EXPECT_EQ(tables, ResetTextTables());
    EXPECT_EQ(w.controls, mainWindow().controls);
    EXPECT_FALSE(std::filesystem::exists(ini.paths().settingsFile()));
}
