// A new user's first hour with the real program, offscreen: start, simulation on, a sloped box with a
// port typed in, the layouter with a board dragged, a save, a close, a new start, the project opened
// again and everything printed to a PDF file. Each step is checked where the user would look.
#include "tests/support/BadInputFixture.h"

#include "gui/layouter/frmLayout.h"
#include "gui/layouter/frmLayoutWidgets.h"
#include "gui/print/frmPrint.h"
#include "gui/project/frmDialog.h"
#include "layouter/PanelSet.h"
#include "persist/Ini.h"
#include "tests/support/SeparatorText.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace kelvra;
using namespace kelvra::badinput;

namespace
{

class FirstHourTest : public BadInputTest, public ::testing::WithParamInterface<char>
{
protected:
    void SetUp() override
    {
        BadInputTest::SetUp();
        // Installed as a user gets it: with the shipped language files beside the program.
        for (const char* name : {"Dutch_lng.ini", "English_lng.ini"})
            fs::copy_file(fs::path(KELVRA_LANGUAGE_DIR) / name, programFolder / name);
        // Started from the folder the user keeps the projects in, as from a terminal there.
        projects = fs::path(dir.path().toStdString()) / "Mijn kisten";
        fs::create_directories(projects);
        oldCurrent = QDir::currentPath();
        QDir::setCurrent(QString::fromStdString(projects.string()));
    }
    void TearDown() override
    {
        BadInputTest::TearDown();
        QDir::setCurrent(oldCurrent);
    }

    char sep() const { return GetParam(); }
    // A number text written with "," here, in the decimal separator of this run.
    QString num(const std::string& text) const { return QString::fromStdString(test::under(text, sep())); }
    void startActive()
    {
        start(sep());
        activateMain();
    }
    // As the user clicks the main window again after working in another one.
    void activateMain()
    {
        win->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(win.get()));
    }
    void key(QWidget* w, Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(w, k, mods);
    }
    // Selects the whole box and types the text, key by key.
    void type(int index, const char* text)
    {
        QLineEdit* b = box(index);
        b->setFocus();
        b->selectAll();
        QTest::keyClicks(b, text);
        EXPECT_EQ(b->text(), text) << "txtSize(" << index << ")";
    }
    QComboBox* list(const char* name, int index = -1) const
    {
        return qobject_cast<QComboBox*>(index < 0 ? win->control(name) : win->control(name, index));
    }
    QString caption(const char* name) const { return qobject_cast<QLabel*>(win->control(name))->text(); }
    frmLayout* layouter() const { return win->findChild<frmLayout*>(); }
    frmDialog& dialog() const { return *win->findChild<frmDialog*>(); }

    void expectSlopedBoxWithPort()
    {
        EXPECT_EQ(box(4)->text(), "70");
        EXPECT_EQ(list("cmbPieces", 2)->currentIndex(), 1);
        EXPECT_EQ(list("cmbPortType")->currentIndex(), 1);
        EXPECT_EQ(box(5)->text(), "20");
        EXPECT_EQ(box(7)->text(), "10");
        EXPECT_EQ(box(8)->text(), "5");
    }

    fs::path projects;
    QString oldCurrent;
};

TEST_P(FirstHourTest, FromTheFirstStartToAPrintedPdf)
{
    // 1. The first start: the first-run design, no message, the results still empty.
    startActive();
    EXPECT_TRUE(startTexts().empty());
    EXPECT_EQ(box(0)->text(), "40");
    EXPECT_FALSE(win->app().simulationOn);

    // 2. Simulation on with F5: the block's volumes appear.
    key(box(0), Qt::Key_F5);
    ASSERT_TRUE(win->app().simulationOn);
    EXPECT_EQ(caption("lblVolumeOut"), "Outer Volume: 64 Liter");
    EXPECT_EQ(caption("lblVolume"), num("Intern Volume:\n46,23 Liter"));

    // 3. A sloped front: the 9 of the angle overtyped with a 7, so no step in between is a wrong box.
    box(4)->setFocus();
    key(box(4), Qt::Key_Home);
    key(box(4), Qt::Key_Right, Qt::ShiftModifier);
    QTest::keyClicks(box(4), "7");
    EXPECT_EQ(box(4)->text(), "70");
    // One rectangular port of 20 x 10 x 5 cm, chosen with the keyboard.
    list("cmbPieces", 2)->setFocus();
    key(list("cmbPieces", 2), Qt::Key_Down);
    list("cmbPortType")->setFocus();
    key(list("cmbPortType"), Qt::Key_Down);
    type(5, "20");
    type(7, "10");
    type(8, "5");
    expectSlopedBoxWithPort();
    EXPECT_TRUE(messageTexts().empty());
    ASSERT_TRUE(win->app().simulationOn);
    EXPECT_EQ(caption("lblVolume"), num("Intern Volume:\n41,1 Liter"));

    // 4. The layouter with Ctrl+L: seven boards, the port's among them; the rear board dragged.
    key(box(8), Qt::Key_L, Qt::ControlModifier);
    frmLayout* layout = layouter();
    ASSERT_NE(layout, nullptr);
    ASSERT_TRUE(layout->isVisible());
    EXPECT_TRUE(layout->panel(kPort)->isVisible());
    PanelView* rear = layout->panel(kRear);
    QTest::mouseClick(rear, Qt::LeftButton);
    ASSERT_TRUE(layout->panelPickedUp());
    QTest::mouseMove(layout->picPanel(), QPoint(301, 201));
    QTest::mouseMove(layout->picPanel(), QPoint(300, 200));
    QTest::mouseClick(rear, Qt::LeftButton);
    EXPECT_FALSE(layout->panelPickedUp());
    EXPECT_EQ(rear->pos(), QPoint(300, 200));
    // Closing it records the placements.
    layout->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(layouter(), nullptr);
    EXPECT_EQ(win->app().layoutStrings[kRear], "200x300x0");

    // 5. Ctrl+S: the first save asks for a name; Enter saves into the folder the user is in.
    activateMain();
    key(box(0), Qt::Key_S, Qt::ControlModifier);
    ASSERT_TRUE(dialog().isVisible());
    EXPECT_EQ(dialog().windowTitle(), "Opslaan als...");
    QTest::keyClicks(dialog().txtFilename(), "golf");
    key(dialog().txtFilename(), Qt::Key_Return);
    EXPECT_FALSE(dialog().isVisible());
    const fs::path file = projects / "golf.tbx";
    ASSERT_TRUE(fs::exists(file));
    EXPECT_EQ(ReadLanguageValue(file.string(), "DATA", "cb", ""), "70");
    EXPECT_EQ(ReadLanguageValue(file.string(), "DATA", "hp", ""), "5");
    EXPECT_EQ(ReadLanguageValue(file.string(), "LAYOUT", "rear", ""), "200x300x0");
    EXPECT_EQ(win->app().currentProjectFile, "golf.tbx");
    EXPECT_TRUE(messageTexts().empty());

    // 6. Closed with File > Exit; the settings keep the design for the next start.
    win->findChild<QAction*>("mnuFileExit")->trigger();
    EXPECT_FALSE(win->isVisible());
    quit();
    EXPECT_EQ(ReadLanguageValue(settingsFile().string(), "LU", "cb", ""), "70");

    // 7. The next start shows the design again; the layout starts fresh until the project is opened.
    startActive();
    EXPECT_TRUE(startTexts().empty());
    expectSlopedBoxWithPort();
    EXPECT_EQ(win->app().layoutStrings[kRear], "");
    // File > New, then Ctrl+O and the project clicked in the list: the design and its layout are back.
    win->findChild<QAction*>("mnuFileNOS(0)")->trigger();
    EXPECT_EQ(box(4)->text(), "90");
    key(box(0), Qt::Key_O, Qt::ControlModifier);
    ASSERT_TRUE(dialog().isVisible());
    EXPECT_EQ(dialog().windowTitle(), "Openen");
    QListWidget* files = dialog().File1();
    const auto found = files->findItems("golf.tbx", Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1);
    QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, files->visualItemRect(found.front()).center());
    QTest::mouseClick(dialog().cmdOC(0), Qt::LeftButton);
    EXPECT_TRUE(messageTexts().empty());
    expectSlopedBoxWithPort();
    EXPECT_EQ(win->app().layoutStrings[kRear], "200x300x0");
    EXPECT_TRUE(win->caption().ends_with(" :: golf")) << win->caption();
    // The main window has the keys again. Simulation starts off at every start: F5 again shows the
    // volumes of the opened design.
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == win.get(); }, 2000));
    EXPECT_FALSE(win->app().simulationOn);
    key(box(0), Qt::Key_F5);
    ASSERT_TRUE(win->app().simulationOn);
    EXPECT_EQ(caption("lblVolume"), num("Intern Volume:\n41,1 Liter"));
    // The layouter opens with the rear board where it was dragged.
    key(box(0), Qt::Key_L, Qt::ControlModifier);
    ASSERT_NE(layouter(), nullptr);
    EXPECT_EQ(layouter()->panel(kRear)->pos(), QPoint(300, 200));
    layouter()->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    activateMain();

    // 8. Ctrl+P, the layout ticked as well, "Print to PDF...": one file with the panel measures page and
    // the layout page.
    const QString pdf = QString::fromStdString((projects / "golf.pdf").string());
    bool printDialogSeen = false;
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<frmPrint*>(QApplication::activeModalWidget());
        if (!d)
            return;
        printDialogSeen = true;
        d->setPdfFileQuestion([&] { return pdf; });
        QTest::mouseClick(d->chkLayouter, Qt::LeftButton, {}, QPoint(8, d->chkLayouter->height() / 2));
        EXPECT_TRUE(d->chkLayouter->isChecked());
        QTest::mouseClick(d->cmdPdf, Qt::LeftButton);
    });
    key(box(0), Qt::Key_P, Qt::ControlModifier);
    ASSERT_TRUE(printDialogSeen);
    EXPECT_TRUE(messageTexts().empty());
    ASSERT_TRUE(QFileInfo::exists(pdf));
    EXPECT_EQ(slurp(pdf.toStdString()).substr(0, 5), "%PDF-");
    QProcess info;
    info.start("pdfinfo", {pdf});
    ASSERT_TRUE(info.waitForFinished(30000));
    EXPECT_TRUE(
        QString::fromUtf8(info.readAllStandardOutput()).contains(QRegularExpression("Pages:\\s+2\\n")));
    // The layouter that printing opened for its page is closed again; the main window goes on.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(layouter(), nullptr);
    EXPECT_TRUE(win->isVisible());
    EXPECT_TRUE(win->app().simulationOn);
}

INSTANTIATE_TEST_SUITE_P(BothSeparators, FirstHourTest, ::testing::Values(',', '.'),
                         [](const auto& info) { return info.param == ',' ? "Comma" : "Point"; });

} // namespace
