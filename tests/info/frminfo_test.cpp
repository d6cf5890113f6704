// The About window and the installed-programs window driven offscreen: texts by language marker and
// edition, the year of the maker's notice, the title scroll, the link highlight and clicks, the
// installed-programs count, and the About item of the real main window.
#include "gui/info/frminfo.h"

#include "gui/common/ExternalPrograms.h"
#include "gui/common/MessageService.h"
#include "gui/common/Twips.h"
#include "gui/info/Translucency.h"
#include "gui/info/frminfo2.h"
#include "gui/main/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using namespace kelvra;

namespace
{

class RecordingStarter : public ExternalStarter
{
public:
    void openUrl(const std::string& url) override { urls.push_back(url); }
    void startDetached(const std::string& program) override { programs.push_back(program); }
    std::vector<std::string> urls;
    std::vector<std::string> programs;
};

const QString kThanksEng = QStringLiteral(
    "Thank you for the use of this program.\r\n"
    "If there is a update or you want to place a comment , please mail me or see my site.\r\n"
    "The Kelvra crew can't be responsibel for PC crashes and other stuff, for bat working programs!!!");
const QString kThanksNed = QStringLiteral(
    "Dank U voor het gebruik van dit programma.\r\n"
    "Als er een update is of je wilt iets zeggen van het programma, AUB mail mij of zie eens op de Kelvra "
    "site.\r\n"
    "De Kelvra crew kan niet verantwoordelijk gesteld worden voor PC crashes en dergelijke te wijten van "
    "slecht werkende programmas!!!");

class AboutTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        setMessageService(&m_messages);
        setExternalStarter(&m_starter);
        m_app = std::make_unique<AppState>(AppPaths{m_dir.path().toStdString(), "kelvra"}, '.');
    }
    void TearDown() override
    {
        for (QWidget* w : QApplication::topLevelWidgets())
            delete w;
        setExternalStarter(nullptr);
        setMessageService(nullptr);
    }
    frminfo* open(const QString& marker = QStringLiteral("eng"), AboutSource source = {})
    {
        auto* w = new frminfo(*m_app, nullptr, std::move(source));
        w->setLanguageMarker(marker);
        w->show();
        return w;
    }
    static bool bold(const QLabel* l) { return l->font().bold(); }
    static QColor colour(const QLabel* l) { return l->palette().color(QPalette::WindowText); }
    static void moveOnto(QWidget* w, QPoint at = {})
    {
        QTest::mouseMove(w, at.isNull() ? w->rect().center() : at);
        QCoreApplication::processEvents();
    }

    QTemporaryDir m_dir;
    RecordingMessageService m_messages;
    RecordingStarter m_starter;
    std::unique_ptr<AppState> m_app;
};

TEST(Translucency, ModeOneSetsTheAlphaOfTheWholeWindow)
{
    for (int alpha : {0, 1, 128, 200, 255}) {
        QWidget w;
        EXPECT_FALSE(isLayered(&w));
        SetTranslucency(&w, alpha, 0, 1);
        EXPECT_TRUE(isLayered(&w));
        EXPECT_EQ(qRound(w.windowOpacity() * 255), alpha) << alpha;
    }
}

TEST(Translucency, OtherModesCutOutTheColourKeyAndIgnoreAlpha)
{
    // A window half white, half pure red; the key 0x0000FF (blue-green-red) is that red.
    QWidget w;
    w.setFixedSize(40, 20);
    auto* red = new QWidget(&w);
    red->setGeometry(20, 0, 20, 20);
    red->setAutoFillBackground(true);
    QPalette p;
    p.setColor(QPalette::Window, Qt::red);
    red->setPalette(p);
    w.setAutoFillBackground(true);
    QPalette white;
    white.setColor(QPalette::Window, Qt::white);
    w.setPalette(white);
    SetTranslucency(&w, 10, 0x0000FF, 2);
    EXPECT_TRUE(isLayered(&w));
    EXPECT_DOUBLE_EQ(w.windowOpacity(), 1.0);
    const QRegion mask = w.mask();
    EXPECT_TRUE(mask.contains(QPoint(5, 10)));
    EXPECT_FALSE(mask.contains(QPoint(30, 10)));
}

TEST(MakerNotice, EndsInTheYearAndNeverBefore2004)
{
    struct Case {
        int year;
        const char* expected;
    };
    const Case cases[] = {{1970, "Kelvra crew (c) 2004"},
                          {2003, "Kelvra crew (c) 2004"},
                          {2004, "Kelvra crew (c) 2004"},
                          {2005, "Kelvra crew (c) 2004-2005"},
                          {2026, "Kelvra crew (c) 2004-2026"}};
    for (const Case& c : cases)
        EXPECT_EQ(makerNotice(c.year), c.expected) << c.year;
}

TEST(EditionText, ByEditionStatusAndMarker)
{
    struct Case {
        int status;
        const char* marker;
        const char* expected;
    };
    const Case cases[] = {{1, "eng", "Freeware"}, {1, "ned", "Freeware"}, {2, "eng", "TEST"},
                          {3, "eng", "Payed"},    {3, "ned", "Betaald"},  {3, "xyz", "Betaald"},
                          {0, "eng", "Error"},    {4, "eng", "Error"},    {-1, "ned", "Error"}};
    for (const Case& c : cases)
        EXPECT_EQ(editionText(c.status, c.marker), c.expected) << c.status << c.marker;
}

TEST_F(AboutTest, EnglishTextsWithTheStartCount)
{
    m_app->useCount = 7;
    frminfo* w = open();
    EXPECT_EQ(w->windowTitle(), "Info   [2.8]");
    EXPECT_EQ(w->lblversion->text(), "Version: 0.1 Build53");
    EXPECT_EQ(w->lbluse->text(), "Used: 7 time(s).");
    EXPECT_EQ(w->Label1->text(), kThanksEng);
    EXPECT_EQ(w->lblware->text(), "Freeware");
    EXPECT_EQ(w->Label5->text(), "Status:");
    EXPECT_EQ(w->lblproduct->text(), "Kelvra");
    EXPECT_EQ(w->lblComments->text(), QString::fromStdString(programVersion().comments));
    EXPECT_EQ(w->Frame2->title(), "Program Info");
    EXPECT_EQ(w->Frame1->title(), "Contact");
    EXPECT_EQ(w->lblSitesCaption->text(), "Site(s):");
    EXPECT_EQ(w->lblProjectsCaption->text(), "Projects:");
    EXPECT_EQ(w->cmdback->text(), "&Back");
    EXPECT_EQ(w->cmdback->toolTip(), "Go back to main window");
    EXPECT_FALSE(w->lbltaal->isVisible());
    EXPECT_EQ(w->tmrtitlescrl->interval(), 36);
    EXPECT_EQ(qRound(w->windowOpacity() * 255), 200);
    EXPECT_TRUE(isLayered(w));
    const QString year = QString::number(QDate::currentDate().year());
    EXPECT_TRUE(w->Label4->text().endsWith(year)) << w->Label4->text().toStdString();
}

TEST_F(AboutTest, DutchTextsByTheMarker)
{
    m_app->useCount = 12;
    m_app->editionStatus = 3;
    frminfo* w = open(QStringLiteral("ned"));
    EXPECT_EQ(w->lblversion->text(), "Versie: 0.1 Build53");
    EXPECT_EQ(w->lbluse->text(), "Gebruikt: 12 keer.");
    EXPECT_EQ(w->Label1->text(), kThanksNed);
    EXPECT_EQ(w->lblware->text(), "Betaald");
    EXPECT_EQ(w->windowTitle(), "Info   [2.8]");
}

TEST_F(AboutTest, AnOtherMarkerKeepsTheDesignTexts)
{
    m_app->editionStatus = 3;
    frminfo* w = open(QStringLiteral("fra"));
    EXPECT_EQ(w->lblversion->text(), "Version: ");
    EXPECT_EQ(w->lbluse->text(), "Total used: ");
    EXPECT_EQ(w->Label1->text(), "");
    EXPECT_EQ(w->lblware->text(), "Betaald");
    EXPECT_EQ(w->windowTitle(), "Info   [2.8]");
}

TEST_F(AboutTest, ActivationFollowsAChangedMarkerAndEdition)
{
    frminfo* w = open(QStringLiteral("ned"));
    EXPECT_EQ(w->lblversion->text(), "Versie: 0.1 Build53");
    m_app->editionStatus = 2;
    m_app->betaBuild = true;
    w->setLanguageMarker(QStringLiteral("eng"));
    w->activate();
    EXPECT_EQ(w->lblversion->text(), "Version: 0.1 Build53 BETA");
    EXPECT_EQ(w->lblware->text(), "TEST");
}

TEST_F(AboutTest, AClockBefore2004StillShows2004)
{
    AboutSource source;
    source.year = 1999;
    frminfo* w = open(QStringLiteral("eng"), source);
    EXPECT_TRUE(w->Label4->text().endsWith("2004"));
    EXPECT_FALSE(w->Label4->text().contains("1999"));
    source.year = 2031;
    frminfo* later = open(QStringLiteral("eng"), source);
    EXPECT_TRUE(later->Label4->text().endsWith("2004-2031"));
}

TEST_F(AboutTest, AShortTitleStaysStill)
{
    frminfo* w = open();
    ASSERT_LT(w->lblproduct->width(), w->width());
    EXPECT_FALSE(w->tmrtitlescrl->isActive());
    const QPoint at = w->lblproduct->pos();
    QTest::qWait(120);
    EXPECT_EQ(w->lblproduct->pos(), at);
}

TEST_F(AboutTest, ALongTitleScrollsAndComesBackFromTheRight)
{
    AboutSource source;
    source.version.title = "Kelvra Subwoofer Enclosure Designer And Panel Layouter For Car Boots";
    frminfo* w = open(QStringLiteral("eng"), source);
    ASSERT_GT(w->lblproduct->width(), w->width());
    EXPECT_TRUE(w->tmrtitlescrl->isActive());
    EXPECT_EQ(w->tmrtitlescrl->interval(), 36);

    // The timer itself moves the title.
    const int startX = w->lblproduct->x();
    QTest::qWait(200);
    EXPECT_LT(w->lblproduct->x(), startX);

    w->tmrtitlescrl->stop();
    const double before = w->titleLeft();
    w->tmrtitlescrlTimer();
    EXPECT_DOUBLE_EQ(w->titleLeft(), before - 58);
    const double titleWidth = pixelsToTwips(w->lblproduct->width());
    int ticks = 0;
    while (w->titleLeft() > -titleWidth && ticks < 10000) {
        w->tmrtitlescrlTimer();
        ++ticks;
    }
    ASSERT_LT(ticks, 10000);
    // Completely out on the left: the next tick puts it at the right edge, then one step in.
    w->tmrtitlescrlTimer();
    EXPECT_DOUBLE_EQ(w->titleLeft(), pixelsToTwips(w->width()) - 58);
    EXPECT_EQ(w->lblproduct->x(), twipsToPixels(pixelsToTwips(w->width()) - 58));
}

TEST_F(AboutTest, TheHighlightFollowsTheMouseOverTheLinks)
{
    frminfo* w = open();
    QLabel* link0 = w->lblsite[0];
    QLabel* link1 = w->lblsite[1];
    const QColor normal = w->normalLinkColour();
    ASSERT_EQ(colour(link0), normal);
    ASSERT_NE(normal, QColor(Qt::red));

    moveOnto(link1);
    EXPECT_TRUE(bold(link1));
    EXPECT_EQ(colour(link1), QColor(255, 0, 0));
    EXPECT_FALSE(bold(link0));
    EXPECT_EQ(colour(link0), normal);
    EXPECT_EQ(w->cursor().shape(), Qt::UpArrowCursor);

    moveOnto(link0);
    EXPECT_TRUE(bold(link0));
    EXPECT_EQ(colour(link0), QColor(255, 0, 0));
    EXPECT_FALSE(bold(link1));
    EXPECT_EQ(colour(link1), normal);

    // The empty part of the contact frame, below the links.
    moveOnto(w->Frame1, QPoint(w->Frame1->width() - 4, w->Frame1->height() - 4));
    EXPECT_FALSE(bold(link0));
    EXPECT_FALSE(bold(link1));
    EXPECT_EQ(colour(link0), normal);
    EXPECT_EQ(colour(link1), normal);
    EXPECT_EQ(w->cursor().shape(), Qt::ArrowCursor);
}

TEST_F(AboutTest, ActivatingWhileALinkIsLitKeepsItsNormalColour)
{
    frminfo* w = open();
    const QColor normal = w->normalLinkColour();
    w->lblsiteMouseMove(0);
    w->activate();
    EXPECT_EQ(w->normalLinkColour(), normal);
    w->Frame1MouseMove();
    EXPECT_EQ(colour(w->lblsite[0]), normal);
}

TEST_F(AboutTest, ClickingALinkOpensItsTextAndThePictureTheMakersSite)
{
    frminfo* w = open();
    QTest::mouseClick(w->lblsite[1], Qt::LeftButton);
    QTest::mouseClick(w->lblsite[0], Qt::LeftButton);
    QTest::mouseClick(w->Image1, Qt::LeftButton);
    ASSERT_EQ(m_starter.urls.size(), 3u);
    EXPECT_EQ(m_starter.urls[0], w->lblsite[1]->text().toStdString());
    EXPECT_EQ(m_starter.urls[1], w->lblsite[0]->text().toStdString());
    EXPECT_EQ(m_starter.urls[2], kMakerSite);
    EXPECT_EQ(w->lblsite[0]->text(), kMakerSite);
    EXPECT_EQ(w->lblsite[1]->text(), kProjectSite);
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(AboutTest, BackClosesTheWindow)
{
    QPointer<frminfo> w = open();
    QTest::mouseClick(w->cmdback, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
}

TEST_F(AboutTest, TheInstalledProgramsWindowKeepsTheAboutWindowUnusableUntilItCloses)
{
    AboutSource source;
    source.findPrograms = [] {
        return std::vector<std::string>{"kelvra", "kelvra-calc"};
    };
    QPointer<frminfo> w = open(QStringLiteral("eng"), source);
    QTest::mouseClick(w->cmdprogs, Qt::LeftButton);
    QPointer<frminfo2> programs = w->installedPrograms();
    ASSERT_FALSE(programs.isNull());
    EXPECT_TRUE(programs->isVisible());
    EXPECT_TRUE(programs->isEnabled());
    EXPECT_FALSE(w->isEnabled());
    // The Back button cannot be used meanwhile.
    QTest::mouseClick(w->cmdback, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_FALSE(w.isNull());
    EXPECT_TRUE(w->isVisible());

    programs->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(programs.isNull());
    EXPECT_TRUE(w->isEnabled());
    QTest::mouseClick(w->cmdback, Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(w.isNull());
}

// --- the installed-programs window ---

class InstalledProgramsTest : public AboutTest
{
protected:
    frminfo2* open2(std::vector<std::string> names)
    {
        m_about = new QWidget; // a top-level window, deleted with the others after the test
        m_about->setEnabled(false);
        auto* w = new frminfo2(std::move(names), m_about);
        w->Timer1->stop(); // the tests tick by hand unless they wait for the real timer
        w->show();
        return w;
    }
    static void tick(frminfo2* w, int times)
    {
        for (int i = 0; i < times; ++i)
            w->Timer1Timer();
    }
    QPointer<QWidget> m_about;
};

TEST_F(InstalledProgramsTest, LoadsTranslucentWithAnEmptyStatusAndTheTimerRunning)
{
    auto* w = new frminfo2({}, nullptr);
    EXPECT_EQ(w->windowTitle(), "Kelvra Installed programs");
    EXPECT_EQ(w->lblstatus->text(), "");
    EXPECT_TRUE(w->Timer1->isActive());
    EXPECT_EQ(w->Timer1->interval(), 100);
    EXPECT_EQ(w->step(), 1);
    EXPECT_EQ(qRound(w->windowOpacity() * 255), 200);
    EXPECT_EQ(w->lstprog->font().family(), "Comic Sans MS");
    delete w;
}

TEST_F(InstalledProgramsTest, NothingFoundReadsForFifteenTicksThenCountsZero)
{
    frminfo2* w = open2({});
    tick(w, 14);
    EXPECT_EQ(w->lblstatus->text(), "Reading...");
    EXPECT_EQ(w->step(), 15);
    tick(w, 1);
    EXPECT_EQ(w->lblstatus->text(), "Kelvra proggies: 0");
    EXPECT_EQ(w->step(), 16);
    EXPECT_FALSE(w->Timer1->isActive());
    EXPECT_EQ(w->lstprog->count(), 0);
}

TEST_F(InstalledProgramsTest, TheRealTimerEndsAfterAboutOneAndAHalfSeconds)
{
    auto* w = new frminfo2({}, nullptr);
    w->show();
    QTest::qWait(700);
    EXPECT_EQ(w->lblstatus->text(), "Reading...");
    EXPECT_TRUE(QTest::qWaitFor([w] { return w->lblstatus->text() == "Kelvra proggies: 0"; }, 3000));
    EXPECT_FALSE(w->Timer1->isActive());
}

TEST_F(InstalledProgramsTest, EachTickAddsOneProgramAndTheCountFollows)
{
    frminfo2* w = open2({"kelvra", "kelvra-calc", "kelvra-old"});
    tick(w, 1);
    ASSERT_EQ(w->lstprog->count(), 1);
    EXPECT_EQ(w->lstprog->item(0)->text(), "kelvra");
    EXPECT_EQ(w->lblstatus->text(), "Reading...");
    tick(w, 2);
    ASSERT_EQ(w->lstprog->count(), 3);
    EXPECT_EQ(w->lstprog->item(2)->text(), "kelvra-old");
    tick(w, 11);
    EXPECT_EQ(w->lblstatus->text(), "Reading...");
    tick(w, 1);
    EXPECT_EQ(w->lblstatus->text(), "Kelvra proggies: 3");
    EXPECT_FALSE(w->Timer1->isActive());
}

TEST_F(InstalledProgramsTest, ALongerSearchStopsAtItsFirstEmptyName)
{
    std::vector<std::string> names;
    for (int i = 0; i < 20; ++i)
        names.push_back("kelvra" + std::to_string(i));
    frminfo2* w = open2(names);
    tick(w, 20);
    EXPECT_EQ(w->lstprog->count(), 20);
    EXPECT_EQ(w->lblstatus->text(), "Reading...");
    tick(w, 1);
    EXPECT_EQ(w->lblstatus->text(), "Kelvra proggies: 20");
    EXPECT_FALSE(w->Timer1->isActive());
}

TEST_F(InstalledProgramsTest, ClosingGivesTheAboutWindowBack)
{
    frminfo2* w = open2({});
    ASSERT_FALSE(m_about->isEnabled());
    w->close();
    EXPECT_TRUE(m_about->isEnabled());
}

TEST(FindMakerPrograms, ExecutablesNamedKelvraInFolderOrder)
{
    namespace fs = std::filesystem;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const fs::path a = fs::path(dir.path().toStdString()) / "a";
    const fs::path b = fs::path(dir.path().toStdString()) / "b";
    fs::create_directories(a / "kelvra-folder");
    fs::create_directories(b);
    auto file = [](const fs::path& p, bool exec) {
        std::ofstream(p) << "#!/bin/sh\n";
        fs::permissions(p, exec ? fs::perms::owner_all : fs::perms::owner_read | fs::perms::owner_write);
    };
    file(a / "kelvra-calc", true);
    file(a / "kelvra", true);
    file(a / "KelvraTool", true);
    file(a / "kelvra_lng.ini", false);
    file(a / "notkelvra", true);
    file(b / "kelvra", true); // the same name found again
    file(b / "kelvra-bench", true);
    const auto found = findMakerPrograms({a.string(), "", (a / "missing").string(), b.string()});
    const std::vector<std::string> expected = {"KelvraTool", "kelvra", "kelvra-calc", "kelvra-bench"};
    EXPECT_EQ(found, expected);
}

TEST(FindMakerPrograms, FoldersAreTheProgramsOwnThenThePath)
{
    const auto folders = makerProgramFolders();
    ASSERT_FALSE(folders.empty());
    EXPECT_EQ(folders.front(), QCoreApplication::applicationDirPath().toStdString());
    const std::string path = qEnvironmentVariable("PATH").toStdString();
    if (!path.empty()) {
        EXPECT_GT(folders.size(), 1u);
    }
}

// --- through the real main window ---

class AboutFromMainTest : public AboutTest
{
};

TEST_F(AboutFromMainTest, TheAboutItemOpensTheEnglishWindowInEitherMode)
{
    for (bool simulation : {false, true}) {
        QTemporaryDir dir;
        frmMain win(AppPaths{dir.path().toStdString(), "kelvra"}, '.');
        win.show();
        if (simulation)
            win.findChild<QAction*>("mnuFileSim")->trigger();
        ASSERT_EQ(win.app().simulationOn, simulation);
        win.app().useCount = 7;
        m_messages.messages.clear();
        QAction* about = win.findChild<QAction*>("mnuHelpAbout");
        ASSERT_NE(about, nullptr);
        EXPECT_TRUE(about->isEnabled());
        EXPECT_EQ(about->text(), "&About");
        about->trigger();
        auto* w = win.findChild<frminfo*>();
        ASSERT_NE(w, nullptr);
        EXPECT_TRUE(w->isVisible());
        EXPECT_TRUE(w->isWindow());
        EXPECT_EQ(w->languageMarker(), "eng");
        EXPECT_EQ(w->lblversion->text(), "Version: 0.1 Build53");
        EXPECT_EQ(w->lbluse->text(), "Used: 7 time(s).");
        EXPECT_EQ(w->lblware->text(), "Freeware");
        // Not modal: the main window stays usable.
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        EXPECT_TRUE(win.isEnabled());
        EXPECT_TRUE(m_messages.messages.empty());
        delete w;
    }
}

} // namespace
