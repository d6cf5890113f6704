// The About, installed-programs and history windows over the real main window: texts by language marker
// and edition, the program count, the history file present, missing or empty.
#include "gui/info/frminfo.h"

#include "gui/common/Twips.h"
#include "gui/info/frmHistory.h"

#include "gui/info/frminfo2.h"
#include "tests/support/MainWindowFixture.h"
#include "tests/support/TempFolder.h"
#include <QScrollBar>

#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

using namespace kelvra;

namespace
{

TEST(InfoTexts, MakerNoticeEditionAndHistoryFileName)
{
    EXPECT_EQ(makerNotice(1970), "Kelvra crew (c) 2004");
    EXPECT_EQ(makerNotice(2026), "Kelvra crew (c) 2004-2026");
    const std::tuple<int, const char*, const char*> editions[] = {
        {1, "ned", "Freeware"}, {2, "eng", "TEST"},  {3, "eng", "Payed"},
        {3, "xyz", "Betaald"},  {0, "eng", "Error"}, {4, "eng", "Error"}};
    for (const auto& [status, marker, expected] : editions)
        EXPECT_EQ(editionText(status, marker), expected) << status << marker;
    // Every beta marker goes; it is matched exactly, letter case counts.
    const std::pair<const char*, const char*> names[] = {{"kelvra", "kelvra_history.txt"},
                                                         {"my_betakelvra_beta", "mykelvra_history.txt"},
                                                         {"kelvra_BETA", "kelvra_BETA_history.txt"},
                                                         {"kelvra__betabeta", "kelvra_beta_history.txt"}};
    for (const auto& [program, expected] : names)
        EXPECT_EQ(historyFileName(program), expected) << program;
}

class InfoTest : public test::MainWindowTest
{
protected:
    frminfo* open(const QString& marker, AboutSource source = {})
    {
        auto* w = new frminfo(win->app(), nullptr, std::move(source));
        w->setLanguageMarker(marker);
        w->show();
        return w;
    }
    // The history window loaded for the program in the folder; null when it closed itself.
    QPointer<frmHistory> history(const std::string& folder, const std::string& program = "kelvra")
    {
        state = std::make_unique<AppState>(AppPaths{folder, program}, ',');
        QPointer<frmHistory> w = new frmHistory(*state);
        w->history_load_next();
        unloadClosed();
        return w;
    }

    std::unique_ptr<AppState> state;
};

TEST_P(InfoTest, TheHelpItemOpensTheEnglishAboutWindowInEitherModeOtherMarkersFollow)
{
    for (bool on : {false, true}) {
        simulation(on);
        win->app().useCount = 7;
        EXPECT_EQ(action("mnuHelpAbout")->text(), "&About");
        action("mnuHelpAbout")->trigger();
        auto* w = win->findChild<frminfo*>();
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(w->isVisible() && w->isWindow());
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr); // the main window stays usable
        EXPECT_EQ(w->windowTitle(), "Info   [2.8]");
        EXPECT_EQ(w->lblversion->text(), "Version: 0.1 Build53");
        EXPECT_EQ(w->lbluse->text(), "Used: 7 time(s).");
        EXPECT_EQ(w->lblware->text(), "Freeware");
        EXPECT_TRUE(
            w->Label1->text().startsWith("Thank you for the use of this program.\r\nIf there is a update"));
        EXPECT_EQ(w->cmdback->toolTip(), "Go back to main window");
        EXPECT_EQ(qRound(w->windowOpacity() * 255), 200);
        EXPECT_TRUE(w->Label4->text().endsWith(QString::number(QDate::currentDate().year())));
        delete w;
    }
    win->app().editionStatus = 3;
    frminfo* w = open("ned");
    EXPECT_EQ(w->lblversion->text(), "Versie: 0.1 Build53");
    EXPECT_EQ(w->lbluse->text(), "Gebruikt: 7 keer.");
    EXPECT_TRUE(
        w->Label1->text().startsWith("Dank U voor het gebruik van dit programma.\r\nAls er een update"));
    EXPECT_EQ(w->lblware->text(), "Betaald");
    EXPECT_EQ(open("fra")->lbluse->text(), "Total used: ");
    win->app().editionStatus = 2;
    win->app().betaBuild = true;
    w->setLanguageMarker("eng");
    w->activate();
    EXPECT_EQ(w->lblversion->text(), "Version: 0.1 Build53 BETA");
    EXPECT_EQ(w->lblware->text(), "TEST");
    EXPECT_TRUE(messages.messages.empty());
}

TEST_P(InfoTest, InstalledProgramsAreCountedWhileTheAboutWindowWaits)
{
    AboutSource source;
    source.findPrograms = [] {
        return std::vector<std::string>{"kelvra", "kelvra-calc"};
    };
    QPointer<frminfo> w = open("eng", source);
    QTest::mouseClick(w->cmdprogs, Qt::LeftButton);
    QPointer<frminfo2> programs = w->installedPrograms();
    ASSERT_FALSE(programs.isNull());
    EXPECT_EQ(programs->windowTitle(), "Kelvra Installed programs");
    EXPECT_FALSE(w->isEnabled());
    QTest::mouseClick(w->cmdback, Qt::LeftButton); // cannot be used meanwhile
    unloadClosed();
    ASSERT_FALSE(w.isNull());
    // The timer reads one program a tick, at least fifteen ticks, then shows the count.
    EXPECT_TRUE(QTest::qWaitFor([&] { return programs->lblstatus->text() == "Kelvra proggies: 2"; }, 4000));
    EXPECT_EQ(programs->lstprog->count(), 2);
    programs->close();
    unloadClosed();
    EXPECT_TRUE(w->isEnabled());
    QTest::mouseClick(w->cmdback, Qt::LeftButton);
    unloadClosed();
    EXPECT_TRUE(w.isNull());
}

TEST_P(InfoTest, TheHistoryFileIsShownLineByLineOrItsAbsenceSaid)
{
    // Program, files, the text shown with its lines joined by CRLF (empty: the file counts as missing).
    const std::string longLine(300, 'w');
    const std::tuple<const char*, std::vector<std::pair<const char*, const char*>>, QString> cases[] = {
        {"kelvra",
         {{"kelvra_history.txt", "0.1 Build53\r\n- change\r\n\r\n- after a blank\r\n"}},
         "0.1 Build53\r\n- change\r\n\r\n- after a blank"},
        {"kelvra", {{"kelvra_history.txt", "only line\n"}}, "only line"},
        {"kelvra", {{"kelvra_history.txt", longLine.c_str()}}, QString(300, 'w')},
        {"kelvra", {{"kelvra_history.txt", "one\ntwo"}}, "one\r\ntwo"},
        {"kelvra", {{"kelvra_history.txt", "caf\xe9"}}, QString::fromUtf8("caf\u00e9")},
        {"kelvra_beta", {{"kelvra_history.txt", "release"}, {"kelvra_beta_history.txt", "beta"}}, "release"},
        {"kelvra", {}, ""},
        {"kelvra", {{"kelvra_history.txt", "\r\n"}}, ""},
        {"Kelvra_beta", {}, ""}};
    for (const auto& [program, files, shown] : cases) {
        SCOPED_TRACE(program + (files.empty() ? std::string() : files[0].second));
        test::TempFolder folder;
        for (const auto& [name, bytes] : files)
            folder.put(name, bytes);
        messages.messages.clear();
        QPointer<frmHistory> w = history(folder.path(), program);
        if (shown.isEmpty()) {
            ASSERT_EQ(messages.messages.size(), 1u);
            EXPECT_EQ(messages.last()->text, "No history file found (" + historyFileName(program) + ")");
            EXPECT_EQ(messages.last()->icon, MessageIcon::Information);
            EXPECT_FALSE(w); // closed and unloaded
            continue;
        }
        ASSERT_TRUE(w && messages.messages.empty());
        EXPECT_EQ(w->historyText(), shown);
        EXPECT_EQ(w->txtHistory()->toPlainText(), QString(shown).replace("\r\n", "\n"));
        EXPECT_EQ(w->windowTitle().toStdString(), "Kelvra [0.1 Build53] -- History");
        EXPECT_EQ(w->size(), QSize(twipsToPixels(5370), twipsToPixels(6585)));
        EXPECT_EQ(w->txtHistory()->font().family(), "Lucida Console");
        QCoreApplication::processEvents();
        EXPECT_EQ(w->txtHistory()->horizontalScrollBar()->maximum(), 0); // long lines wrap
        delete w;
    }
    // The build copies the shipped history into the program's folder; the viewer finds it there.
    EXPECT_TRUE(history(KELVRA_BIN_DIR)->historyText().startsWith("Kelvra change history"));
}

INSTANTIATE_TEST_SUITE_P(Point, InfoTest, ::testing::Values('.'), test::SeparatorName());

} // namespace
