// The history viewer driven offscreen: the file present, missing, empty, one line, a beta build.
#include "gui/info/frmHistory.h"

#include "gui/common/MessageService.h"
#include "gui/common/Twips.h"
#include "info/Version.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace kelvra;

namespace
{

class HistoryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        setMessageService(&m_messages);
    }
    void TearDown() override
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            delete w;
        setMessageService(nullptr);
    }

    std::string folder() const { return m_dir.path().toStdString(); }
    void writeFile(const std::string& name, const std::string& bytes) const
    {
        std::ofstream(folder() + "/" + name, std::ios::binary) << bytes;
    }
    AppState& app(const std::string& programName = "kelvra")
    {
        m_app = std::make_unique<AppState>(AppPaths{folder(), programName}, ',');
        return *m_app;
    }
    static void unloadClosedWindows() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    QTemporaryDir m_dir;
    RecordingMessageService m_messages;
    std::unique_ptr<AppState> m_app;
};

TEST(HistoryFileName, EveryBetaMarkerIsRemoved)
{
    struct Case {
        const char* program;
        const char* expected;
    };
    const Case cases[] = {
        {"kelvra", "kelvra_history.txt"},
        {"kelvra_beta", "kelvra_history.txt"},
        {"kelvra_beta_beta", "kelvra_history.txt"},
        {"my_betakelvra_beta", "mykelvra_history.txt"},
        {"kelvra_BETA", "kelvra_BETA_history.txt"}, // the marker is matched exactly, letter case counts
        {"kelvra__betabeta", "kelvra_beta_history.txt"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(historyFileName(c.program), c.expected) << c.program;
}

TEST_F(HistoryTest, LoadShowsTheWindowAtItsSizeWithTheDesignCaption)
{
    auto* w = new frmHistory(app());
    EXPECT_TRUE(w->isVisible());
    EXPECT_FALSE(w->isModal());
    EXPECT_EQ(w->windowTitle(), "History");
    EXPECT_EQ(w->width(), twipsToPixels(5370));
    EXPECT_EQ(w->height(), twipsToPixels(6585));
    EXPECT_EQ(w->txtHistory()->objectName(), "txtHistory");
    EXPECT_EQ(w->txtHistory()->geometry(), w->rect());
    EXPECT_EQ(w->txtHistory()->font().family(), "Lucida Console");
}

TEST_F(HistoryTest, FilePresentIsShownLineByLineAndSetsTheCaption)
{
    writeFile("kelvra_history.txt", "0.1 Build53\r\n- first change\r\n\r\n- after a blank line\r\n");
    QPointer<frmHistory> w = new frmHistory(app());
    w->history_load_next();

    EXPECT_EQ(w->txtHistory()->toPlainText(), "0.1 Build53\n- first change\n\n- after a blank line");
    EXPECT_EQ(w->historyText(), "0.1 Build53\r\n- first change\r\n\r\n- after a blank line");
    EXPECT_EQ(w->windowTitle().toStdString(), "Kelvra [0.1 Build53] -- History");
    EXPECT_TRUE(m_messages.messages.empty());
    unloadClosedWindows();
    ASSERT_TRUE(w);
    EXPECT_TRUE(w->isVisible());
}

TEST_F(HistoryTest, OneLineFileHasNoTrailingLineBreak)
{
    for (const char* bytes : {"only line", "only line\r\n", "only line\n"}) {
        writeFile("kelvra_history.txt", bytes);
        auto* w = new frmHistory(app());
        w->history_load_next();
        EXPECT_EQ(w->txtHistory()->toPlainText(), "only line") << bytes;
        EXPECT_EQ(w->historyText(), "only line") << bytes;
        EXPECT_EQ(w->windowTitle().toStdString(), "Kelvra [0.1 Build53] -- History");
        w->close();
    }
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(HistoryTest, LineFeedOnlyFilesReadTheSame)
{
    writeFile("kelvra_history.txt", "one\ntwo\nthree");
    auto* w = new frmHistory(app());
    w->history_load_next();
    EXPECT_EQ(w->historyText(), "one\r\ntwo\r\nthree");
}

TEST_F(HistoryTest, FileMissingTellsWhichFileAndClosesTheWindow)
{
    QPointer<frmHistory> w = new frmHistory(app());
    w->history_load_next();

    ASSERT_EQ(m_messages.messages.size(), 1u);
    const Message& m = m_messages.messages[0];
    EXPECT_EQ(m.text, "No history file found (kelvra_history.txt)");
    EXPECT_EQ(m.icon, MessageIcon::Information);
    EXPECT_EQ(m.buttons, MessageButtons::Ok);
    unloadClosedWindows();
    EXPECT_FALSE(w); // closed and unloaded
}

TEST_F(HistoryTest, EmptyFileCountsAsMissing)
{
    for (const char* bytes : {"", "\r\n"}) {
        m_messages.messages.clear();
        writeFile("kelvra_history.txt", bytes);
        QPointer<frmHistory> w = new frmHistory(app());
        w->history_load_next();
        ASSERT_EQ(m_messages.messages.size(), 1u);
        EXPECT_EQ(m_messages.messages[0].text, "No history file found (kelvra_history.txt)");
        unloadClosedWindows();
        EXPECT_FALSE(w);
    }
}

TEST_F(HistoryTest, BetaBuildReadsTheReleaseFile)
{
    writeFile("kelvra_history.txt", "release history");
    writeFile("kelvra_beta_history.txt", "not this one");
    auto* w = new frmHistory(app("kelvra_beta"));
    w->history_load_next();
    EXPECT_EQ(w->historyText(), "release history");
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(HistoryTest, MissingFileMessageNamesTheBaseWithoutBeta)
{
    auto* w = new frmHistory(app("Kelvra_beta"));
    w->history_load_next();
    ASSERT_EQ(m_messages.messages.size(), 1u);
    EXPECT_EQ(m_messages.messages[0].text, "No history file found (Kelvra_history.txt)");
}

TEST_F(HistoryTest, CaptionCarriesTheTitleOfTheRun)
{
    writeFile("kelvra_history.txt", "x");
    AppState& state = app();
    state.editionStatus = 2;
    state.betaBuild = true;
    auto* w = new frmHistory(state);
    w->history_load_next();
    EXPECT_EQ(w->windowTitle().toStdString(), TitleString(2, true) + " -- History");
    EXPECT_EQ(w->windowTitle().toStdString(), "Kelvra -TestVersion- [0.1 Build53 BETA] -- History");
}

TEST_F(HistoryTest, CallingAgainReadsTheFileAgainIntoTheSameWindow)
{
    writeFile("kelvra_history.txt", "first\r\nsecond");
    auto* w = new frmHistory(app());
    w->history_load_next();
    writeFile("kelvra_history.txt", "changed");
    w->history_load_next();
    EXPECT_EQ(w->txtHistory()->toPlainText(), "changed");
    EXPECT_EQ(w->historyText(), "changed");
}

TEST_F(HistoryTest, TextThatIsNotUtf8IsStillShown)
{
    writeFile("kelvra_history.txt", "caf\xe9\r\nna\xefve");
    auto* w = new frmHistory(app());
    w->history_load_next();
    EXPECT_EQ(w->historyText(), QString::fromUtf8("caf\u00e9\r\nna\u00efve"));
}

TEST_F(HistoryTest, FolderInsteadOfAFileCountsAsMissing)
{
    std::filesystem::create_directory(folder() + "/kelvra_history.txt");
    QPointer<frmHistory> w = new frmHistory(app());
    w->history_load_next();
    ASSERT_EQ(m_messages.messages.size(), 1u);
    unloadClosedWindows();
    EXPECT_FALSE(w);
}

TEST_F(HistoryTest, LongFileIsReadCompletely)
{
    std::string bytes;
    for (int i = 0; i < 2000; ++i)
        bytes += "line " + std::to_string(i) + "\r\n";
    writeFile("kelvra_history.txt", bytes);
    auto* w = new frmHistory(app());
    w->history_load_next();
    EXPECT_EQ(w->txtHistory()->document()->blockCount(), 2000);
    EXPECT_TRUE(w->historyText().endsWith("line 1999"));
}

TEST_F(HistoryTest, TheProgramsOwnHistoryLiesBesideTheProgram)
{
    // The build copies the shipped history into the program's folder; the viewer must find it there.
    const std::string binDir = KELVRA_BIN_DIR;
    ASSERT_TRUE(std::filesystem::exists(binDir + "/kelvra_history.txt"));
    m_app = std::make_unique<AppState>(AppPaths{binDir, "kelvra"}, '.');
    auto* w = new frmHistory(*m_app);
    w->history_load_next();
    EXPECT_TRUE(m_messages.messages.empty());
    EXPECT_TRUE(w->historyText().startsWith("Kelvra change history"));
    EXPECT_TRUE(w->historyText().contains("0.1 Build53"));
}

} // namespace
