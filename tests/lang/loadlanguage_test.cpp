// The main window's language loading through the main-window interface: discovery at start-up,
// the messages it shows, the tables, the refilled lists and their stored positions.
#include "gui/lang/LoadLanguage.h"
#include "tests/lang/LangTestSupport.h"
#include "tests/support/FakeHost.h"

#include <gtest/gtest.h>

using namespace kelvra;
using namespace kelvra::test;

namespace
{

class LoadLanguageTest : public ::testing::TestWithParam<char>
{
protected:
    void SetUp() override { setMessageService(&messages); }
    void TearDown() override { setMessageService(nullptr); }

    FakeHost& host()
    {
        if (!m_host)
            m_host = std::make_unique<FakeHost>(AppPaths{dir.path(), "kelvra"}, GetParam());
        return *m_host;
    }

    TempFolder dir;
    RecordingMessageService messages;
    FakeTarget window;

private:
    std::unique_ptr<FakeHost> m_host;
};
INSTANTIATE_TEST_SUITE_P(Locale, LoadLanguageTest, ::testing::Values(',', '.'),
                         [](const auto& info) { return info.param == ',' ? "comma" : "point"; });

const QStringList kDutchPortWhere = {"Voorzijde", "Achterzijde", "Bovenzijde", "Linker zijkant",
                                     "Rechter zijkant"};

} // namespace

TEST_P(LoadLanguageTest, NoLanguageFileShowsTheNoticeTitledWithTheCaption)
{
    host().setCaption("Kelvra [0.1 Build53]");
    FindLanguages(host());
    EXPECT_FALSE(host().app().languagesFound);
    EXPECT_TRUE(host().app().languages.empty());
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0],
              (Message{"Couldn't find any language file. Using Standard.", "Kelvra [0.1 Build53]",
                       MessageIcon::Information, MessageButtons::Ok}));
}

TEST_P(LoadLanguageTest, BadFileIsReportedAndTheStoredRowIsRead)
{
    dir.write("A_lng.ini", {"[IDENTIFICATION]", "language=Alpha"});
    dir.write("B_lng.ini", {"[IDENTIFICATION]"});
    dir.write("C_lng.ini", {"[IDENTIFICATION]", "language=Gamma"});
    dir.write("kelvra.ini", {"[Settings]", "Language=1"});
    FindLanguages(host());
    EXPECT_TRUE(host().app().languagesFound);
    EXPECT_EQ(host().app().languages,
              (std::vector<LanguageRow>{{"Alpha", "A_lng.ini"}, {"Gamma", "C_lng.ini"}}));
    EXPECT_EQ(host().app().languageIndex, 1);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0].text, "The language file B_lng.ini is bad. Skipping.");
    EXPECT_EQ(messages.messages[0].title, "Error reading language file");
}

TEST_P(LoadLanguageTest, WithoutFilesTheListsHoldTheBuiltInTextsAtTheStoredPositions)
{
    dir.write("kelvra.ini", {"[LU]", "corr=2", "pwhere=3", "ptype=1"});
    host().app().tables.portBox[0] = "Stale";
    Load_Language(host(), window);
    EXPECT_EQ(host().app().tables, ResetTextTables());
    EXPECT_EQ(host().entries("cmbPortWhere"), kDutchPortWhere);
    EXPECT_EQ(host().entries("cmbCorrection"), (QStringList{"Geen", "Noppenfolie", "Dempingswol"}));
    EXPECT_EQ(host().entries("cmbPortType"), (QStringList{"Ronde", "Rechthoekige"}));
    EXPECT_EQ(host().refills, 1);
    EXPECT_EQ(host().positionsSet,
              (std::vector<std::pair<std::string, int>>{{"corr", 2}, {"pwhere", 3}, {"ptype", 1}}));
    EXPECT_EQ(host().lists["cmbPortWhere"]->currentIndex(), 3);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(host().app().ini.ReadIni("Settings", "Language", "absent"), "absent");
}

TEST_P(LoadLanguageTest, NoStoredPositionsMeansTheFirstEntries)
{
    Load_Language(host(), window);
    EXPECT_EQ(host().positionsSet,
              (std::vector<std::pair<std::string, int>>{{"corr", 0}, {"pwhere", 0}, {"ptype", 0}}));
}

TEST_P(LoadLanguageTest, ChosenFileTranslatesWindowAndListsAndIsStored)
{
    dir.write("A_lng.ini", {"[IDENTIFICATION]", "language=Alpha"});
    dir.write("B_lng.ini", {"[IDENTIFICATION]", "language=Beta", "[frmMain]", "fraPort=Port volume", "[.]",
                            "PortType(0)=Round", "PortType(1)=Rectangular", "PortBox(5)=Sixth"});
    dir.write("kelvra.ini", {"[Settings]", "Language=1", "[LU]", "ptype=1"});
    window.add("fraPort", std::nullopt, "Poort Volume");
    FindLanguages(host());
    Load_Language(host(), window);
    EXPECT_EQ(window.caption("fraPort"), "Port volume");
    EXPECT_EQ(host().entries("cmbPortType"), (QStringList{"Round", "Rectangular"}));
    EXPECT_EQ(host().lists["cmbPortType"]->currentText(), "Rectangular");
    EXPECT_EQ(host().entries("cmbPortWhere"), kDutchPortWhere);
    EXPECT_EQ(host().app().ini.ReadIni("Settings", "Language", "?"), "1");
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.messages[0],
              (Message{"Invalid control name in language file B_lng.ini\r\nControlname: PortBox(5)", "Error",
                       MessageIcon::Critical, MessageButtons::Ok}));
}

TEST_P(LoadLanguageTest, StoredRowFiveWithTwoFilesAppliesTheFirstAndStoresZero)
{
    dir.write("A_lng.ini", {"[IDENTIFICATION]", "language=Alpha", "[frmMain]", "fraPort=From A"});
    dir.write("B_lng.ini", {"[IDENTIFICATION]", "language=Beta", "[frmMain]", "fraPort=From B"});
    dir.write("kelvra.ini", {"[Settings]", "Language=5"});
    window.add("fraPort", std::nullopt, "Poort Volume");
    FindLanguages(host());
    EXPECT_EQ(host().app().languageIndex, 5);
    Load_Language(host(), window);
    EXPECT_EQ(host().app().languageIndex, 0);
    EXPECT_EQ(window.caption("fraPort"), "From A");
    EXPECT_EQ(host().app().ini.ReadIni("Settings", "Language", "?"), "0");
    EXPECT_TRUE(messages.messages.empty());
}
