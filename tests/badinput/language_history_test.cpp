// Language files and the history file beside the program, damaged or oddly named.
#include "tests/badinput/BadInputFixture.h"

#include "gui/info/frmHistory.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGroupBox>
#include <QPlainTextEdit>

using namespace kelvra;
using namespace kelvra::badinput;

namespace
{

std::string badFile(const std::string& file)
{
    return "The language file " + file + " is bad. Skipping.";
}

struct LanguageCase {
    const char* name;
    std::string file;
    std::string content;
    std::vector<std::string> startMessages;
    std::string fraPort; // the frame's caption after the start
};

std::vector<LanguageCase> languageCases()
{
    const std::string id = "[IDENTIFICATION]\r\nlanguage=Test\r\n[frmMain]\r\n";
    return {
        {"empty", "Leeg_lng.ini", "", {badFile("Leeg_lng.ini"), kNoLanguageNotice}, "Poort Volume"},
        {"binary",
         "Bin_lng.ini",
         binaryBytes(64 * 1024),
         {badFile("Bin_lng.ini"), kNoLanguageNotice},
         "Poort Volume"},
        {"10 MB without line ends",
         "Groot_lng.ini",
         "[IDENTIFICATION]language=Test" + std::string(10u << 20, 'x'),
         {badFile("Groot_lng.ini"), kNoLanguageNotice},
         "Poort Volume"},
        {"no line ends but CR",
         "Cr_lng.ini",
         "[IDENTIFICATION]\rlanguage=Test\r[frmMain]\rfraPort=Port\r",
         {badFile("Cr_lng.ini"), kNoLanguageNotice},
         "Poort Volume"},
        // A NUL cannot be shown: it is left out and the text around it stays.
        {"NUL bytes", "Nul_lng.ini", id + std::string("fraPort=Por\0t volume\r\n", 22), {}, "Port volume"},
        {"Windows code page",
         "Cp_lng.ini",
         id + "fraPort=Volume du port \xE9t\xE9\r\n",
         {},
         "Volume du port \xC3\xA9t\xC3\xA9"},
        {"invalid UTF-8 that is no code page text either",
         "Bad_lng.ini",
         id + "fraPort=\xC3\x28\x81\r\n",
         {},
         "\xC3\x83(\xC2\x81"},
        {"name with blanks and accents",
         "Français du Québec_lng.ini",
         id + "fraPort=Volume de l'évent\r\n",
         {},
         "Volume de l'\xC3\xA9vent"},
        {"3000 letters",
         "Lang_lng.ini",
         id + "fraPort=" + std::string(3000, 'p') + "\r\n",
         {},
         std::string(2047, 'p')},
        {"table entry outside the table",
         "Tab_lng.ini",
         id + "[.]\r\nPortBox(5)=x\r\nOptions(-1)=y\r\n",
         {"Invalid control name in language file Tab_lng.ini\r\nControlname: PortBox(5)",
          "Invalid control name in language file Tab_lng.ini\r\nControlname: Options(-1)"},
         "Poort Volume"},
        {"keys that name nothing",
         "Niets_lng.ini",
         id + "=leeg\r\n(\r\n)(=x\r\ncmdShow(2=z\r\n_ttt=w\r\nfraPort_ttt=hint\r\n",
         {},
         "Poort Volume"},
    };
}

class LanguageFileTest : public BadInputTest, public ::testing::WithParamInterface<LanguageCase>
{
};

TEST_P(LanguageFileTest, StartsAndShowsTheFilesMessages)
{
    const LanguageCase& c = GetParam();
    put(programFolder / fs::u8path(c.file), c.content);
    start();
    ASSERT_TRUE(win->isVisible());
    EXPECT_EQ(startTexts(), c.startMessages);
    EXPECT_EQ(qobject_cast<QGroupBox*>(win->control("fraPort"))->title().toStdString(), c.fraPort);
    // The design still calculates with whatever texts the lists got.
    win->buttonHandler(2);
    EXPECT_TRUE(win->app().simulationOn);
    EXPECT_TRUE(messages.messages.empty());
    // The language row is kept only when the file was usable.
    quit();
    const std::string settings = slurp(settingsFile());
    EXPECT_EQ(settings.find("Language=0") != std::string::npos,
              c.startMessages.empty() || c.startMessages.back() != kNoLanguageNotice)
        << settings;
}

INSTANTIATE_TEST_SUITE_P(Hostile, LanguageFileTest, ::testing::ValuesIn(languageCases()), CaseName());

TEST_F(BadInputTest, LanguageFileThatIsAFolderIsNoLanguage)
{
    fs::create_directories(programFolder / "Map_lng.ini");
    start();
    EXPECT_EQ(startTexts(), std::vector<std::string>{kNoLanguageNotice});
}

TEST_F(BadInputTest, StoredLanguageRowOutOfRange)
{
    put(programFolder / "A_lng.ini", "[IDENTIFICATION]\r\nlanguage=A\r\n[frmMain]\r\nfraPort=Port A\r\n");
    for (const char* stored : {"5", "-3", "abc", "99999999999", ""}) {
        SCOPED_TRACE(stored);
        put(settingsFile(), std::string("[Settings]\r\nLanguage=") + stored + "\r\n");
        start();
        EXPECT_TRUE(startMessages.empty());
        EXPECT_EQ(qobject_cast<QGroupBox*>(win->control("fraPort"))->title(), "Port A");
        quit();
        EXPECT_NE(slurp(settingsFile()).find("Language=0"), std::string::npos);
    }
}

// ---- the history file ----

struct HistoryCase {
    const char* name;
    std::string content;
    bool shown;              // false: the "No history file found" message and the window closes
    std::size_t shownLength; // characters of text shown, 0 to skip the check
};

std::vector<HistoryCase> historyCases()
{
    return {
        {"empty", "", false, 0},
        {"binary", binaryBytes(16 * 1024), true, 0},
        {"1 MB without line ends", std::string(1u << 20, 'h'), true, 1u << 20},
        {"NUL bytes", std::string("een\0twee\r\ndrie", 14), true, 0},
        {"invalid UTF-8", "\xC3\x28 versie \xE9\xE9n\r\n\xFF\r\n", true, 0},
        {"only line ends", "\r\n\r\n", true, 2},
        {"long lines", std::string(5000, 'a') + "\r\n" + std::string(5000, 'b') + "\r\n", true, 10002},
    };
}

class HistoryFileTest : public BadInputTest, public ::testing::WithParamInterface<HistoryCase>
{
};

TEST_P(HistoryFileTest, ShowsTheTextOrSaysItIsMissing)
{
    const HistoryCase& c = GetParam();
    put(programFolder / "kelvra_history.txt", c.content);
    start();
    win->openHistory();
    ASSERT_TRUE(win->isVisible());
    auto* history = win->findChild<frmHistory*>();
    if (!c.shown) {
        EXPECT_EQ(messageTexts(), std::vector<std::string>{"No history file found (kelvra_history.txt)"});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(win->findChild<frmHistory*>(), nullptr);
        return;
    }
    EXPECT_TRUE(messages.messages.empty());
    ASSERT_NE(history, nullptr);
    EXPECT_TRUE(history->windowTitle().endsWith(" -- History"));
    EXPECT_FALSE(history->historyText().isEmpty());
    if (c.shownLength) {
        EXPECT_EQ(static_cast<std::size_t>(history->historyText().size()), c.shownLength);
    }
    // The main window goes on working behind it.
    win->buttonHandler(2);
    EXPECT_TRUE(win->app().simulationOn);
}

INSTANTIATE_TEST_SUITE_P(Hostile, HistoryFileTest, ::testing::ValuesIn(historyCases()), CaseName());

TEST_F(BadInputTest, HistoryFileThatIsAFolderOrUnreadable)
{
    fs::create_directories(programFolder / "kelvra_history.txt");
    start();
    win->openHistory();
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"No history file found (kelvra_history.txt)"});
    if (runningAsRoot())
        return; // root reads any file
    fs::remove(programFolder / "kelvra_history.txt");
    put(programFolder / "kelvra_history.txt", "regel\r\n");
    fs::permissions(programFolder / "kelvra_history.txt", fs::perms::none);
    messages.messages.clear();
    win->openHistory();
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"No history file found (kelvra_history.txt)"});
}

} // namespace
