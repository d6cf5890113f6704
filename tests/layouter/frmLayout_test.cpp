// The layouter window driven by the mouse, the keyboard and its menus, offscreen.
#include "tests/layouter/LayoutWindowFixture.h"

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <memory>
#include <sstream>

using namespace kelvra;
using namespace kelvra::test;

namespace
{

INSTANTIATE_TEST_SUITE_P(Locale, LayoutWindow, ::testing::Values(',', '.'),
                         [](const auto& info) { return separatorName(info.param); });

} // namespace

TEST_P(LayoutWindow, OpensWithAFreshLayoutOnTheMiddleSheet)
{
    frmLayout& w = open();
    EXPECT_EQ(w.windowTitle(), "Wood Layouter v1 beta");
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(w.isModal());
    QWidget* sheet = w.findChild<QWidget*>("picPanel");
    ASSERT_EQ(sheet, w.picPanel());
    EXPECT_EQ(sheet->size(), QSize(732, 366));
    EXPECT_EQ(sheet->palette().color(QPalette::Window), QColor(255, 224, 192));
    // Centred in the client area.
    const QWidget* client = w.centralWidget();
    EXPECT_EQ(sheet->x(), (client->width() - 732) / 2);
    EXPECT_EQ(sheet->y(), (client->height() - 366) / 2);

    QWidget* front = sheet->findChild<QWidget*>("shFront");
    ASSERT_NE(front, nullptr);
    EXPECT_EQ(front->geometry(), QRect(0, 0, 106, 135));
    EXPECT_EQ(front->palette().color(QPalette::Window), QColor(128, 255, 128));
    EXPECT_EQ(sheet->findChild<QWidget*>("shRear")->geometry(), QRect(112, 0, 106, 135));
    EXPECT_EQ(sheet->findChild<QWidget*>("shRear")->palette().color(QPalette::Window), QColor(128, 128, 255));
    // The first layout on the still empty sheet turned the top.
    EXPECT_EQ(w.view().panels[kTop].turned, 1);
    EXPECT_EQ(sheet->findChild<QWidget*>("shTop")->geometry(), QRect(0, 141, 181, 135));
    EXPECT_FALSE(sheet->findChild<QWidget*>("shPort")->isVisible());
    for (int i = 0; i < kPort; ++i)
        EXPECT_TRUE(w.panel(i)->isVisible());

    EXPECT_TRUE(w.action("mnuPanelSize(1)")->isChecked());
    EXPECT_FALSE(w.action("mnuPanelSize(0)")->isChecked());
    EXPECT_FALSE(w.action("mnuPanelSize(2)")->isChecked());
    EXPECT_TRUE(w.action("mnuSawThick(2)")->isChecked());
    EXPECT_FALSE(w.action("mnuSawThick(3)")->isChecked());
    EXPECT_TRUE(w.action("mnuDrawML")->isChecked());
    EXPECT_FALSE(w.action("mnuSawLines")->isChecked());
    EXPECT_TRUE(w.action("mnuSawLines")->isEnabled());
    EXPECT_EQ(settings(), "[Layouter]\r\nThick=2\r\nSize=1\r\n");
}

TEST_P(LayoutWindow, MenusCarryTheirCaptionsAndShortcuts)
{
    frmLayout& w = open();
    QStringList menus;
    for (QAction* a : w.menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, QStringList({"&Panel", "&Saw", "&Draw"}));
    QStringList panel;
    for (QAction* a : w.panelMenu()->actions())
        panel << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(panel, QStringList({"122x61", "122x244", "122x305", "-", "Auto fit", "Best fit", "Cut plan",
                                  "&Boards", "&Print", "-", "Exit"}));
    EXPECT_EQ(w.action("mnuPanelAuto")->shortcut(), QKeySequence(Qt::Key_F12));
    EXPECT_EQ(w.action("mnuPanelPrint")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    EXPECT_EQ(w.action("mnuPanelBoards")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_B));
    EXPECT_EQ(w.action("mnuSawCheck")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_F12));
    EXPECT_EQ(w.action("mnuDrawUpd")->shortcut(), QKeySequence(Qt::Key_F5));
    EXPECT_EQ(w.action("mnuSawLines")->text(), "Lines");
    EXPECT_EQ(w.action("mnuSawCheck")->text(), "Check lines");
    EXPECT_EQ(w.action("mnuDrawUpd")->text(), "&Update");
    EXPECT_EQ(w.action("mnuDrawML")->text(), "&Middle line");
    EXPECT_EQ(w.action("mnuSawThick(4)")->text(), "4mm");
    auto* thickness = w.findChild<QMenu*>("mnuSawThickness");
    ASSERT_NE(thickness, nullptr);
    EXPECT_EQ(thickness->title(), "Thickness");
}

TEST_P(LayoutWindow, CaptionsAreCentredThreeLineTexts)
{
    frmLayout& w = open();
    EXPECT_EQ(w.lblName(0)->text(), caption(" Voorzijde ", "45", "35,4"));
    EXPECT_EQ(w.lblName(1)->text(), caption(" Achterzijde ", "45", "35,4"));
    EXPECT_EQ(w.lblName(2)->text(), caption("Bovenzijde ", "45", "60,2"));
    for (int i = 0; i < kPort; ++i) {
        QLabel* l = w.lblName(i);
        EXPECT_EQ(l->objectName(), QString("lblName(%1)").arg(i));
        EXPECT_EQ(l->parentWidget(), w.panel(i));
        EXPECT_LE(std::abs((w.panel(i)->width() - l->width()) / 2 - l->x()), 1);
        EXPECT_LE(std::abs((w.panel(i)->height() - l->height()) / 2 - l->y()), 1);
    }
}

TEST_P(LayoutWindow, BoardsAreNamedByTheMainWindowsLabels)
{
    m_host->addLabel(0, "Front");
    m_host->addLabel(4, "Port");
    frmLayout& w = open();
    EXPECT_EQ(w.lblName(kFront)->text(), caption("Front", "45", "35,4"));
    EXPECT_TRUE(w.lblName(kPort)->text().startsWith("Port\n"));
    EXPECT_TRUE(w.lblName(kRear)->text().startsWith(" Achterzijde \n"));
}

TEST_P(LayoutWindow, PickUpDragAndPutDown)
{
    frmLayout& w = open();
    PanelView* rear = w.panel(kRear);
    click(rear, Qt::LeftButton);
    EXPECT_TRUE(rear->border());
    EXPECT_TRUE(w.panelPickedUp());
    EXPECT_EQ(w.selectedPanel(), kRear);

    moveOnSheet(QPoint(300, 200));
    EXPECT_EQ(rear->pos(), QPoint(300, 200));
    // The pointer is over the board now; it keeps following.
    moveOnSheet(QPoint(310, 205));
    EXPECT_EQ(rear->pos(), QPoint(310, 205));
    EXPECT_FLOAT_EQ(w.view().panels[kRear].left, 310);
    EXPECT_FLOAT_EQ(w.view().panels[kRear].top, 205);

    click(rear, Qt::LeftButton);
    EXPECT_FALSE(rear->border());
    EXPECT_FALSE(w.panelPickedUp());
    EXPECT_EQ(w.selectedPanel(), kRear); // still the panel picked up last
    moveOnSheet(QPoint(500, 300));
    EXPECT_EQ(rear->pos(), QPoint(310, 205));

    closeWindow();
    EXPECT_EQ(app().layoutStrings[kRear], "205x310x0");
    EXPECT_EQ(app().layoutStrings[kFront], "0x0x0");
    EXPECT_EQ(app().layoutStrings[kTop], "141x0x1");
}

TEST_P(LayoutWindow, ClickingAnotherBoardPutsTheFirstDown)
{
    frmLayout& w = open();
    click(w.panel(kFront), Qt::LeftButton);
    click(w.panel(kBottom), Qt::LeftButton);
    EXPECT_FALSE(w.panel(kFront)->border());
    EXPECT_TRUE(w.panel(kBottom)->border());
    moveOnSheet(QPoint(20, 30));
    EXPECT_EQ(w.panel(kBottom)->pos(), QPoint(20, 30));
    EXPECT_EQ(w.panel(kFront)->pos(), QPoint(0, 0));
    // Clicking on the caption of the picked-up board puts it down.
    click(w.lblName(kBottom), Qt::LeftButton);
    EXPECT_FALSE(w.panel(kBottom)->border());
}

TEST_P(LayoutWindow, RightClickOnACaptionTurnsItsBoard)
{
    frmLayout& w = open();
    PanelView* top = w.panel(kTop);
    const QRect before = top->geometry();
    const QString text = w.lblName(kTop)->text();
    click(w.lblName(kTop), Qt::RightButton);
    EXPECT_EQ(w.view().panels[kTop].turned, 0);
    EXPECT_EQ(top->pos(), before.topLeft());
    EXPECT_EQ(top->size(), before.size().transposed());
    EXPECT_EQ(w.lblName(kTop)->text(), text);
    EXPECT_FALSE(top->border());
    click(top, Qt::RightButton);
    EXPECT_EQ(w.view().panels[kTop].turned, 1);
    EXPECT_EQ(top->geometry(), before);
    closeWindow();
    EXPECT_EQ(app().layoutStrings[kTop], "141x0x1");
}

TEST_P(LayoutWindow, CloseRecordsAndReopenRestoresRounded)
{
    app().layoutStrings[7] = "spare";
    frmLayout& w = open();
    w.placePanel(kLeft, 400.4f, 200.6f, true);
    w.RefreshPanels();
    closeWindow();
    EXPECT_EQ(app().layoutStrings[kLeft], under("200,6x400,4x1", sep()));
    EXPECT_EQ(app().layoutStrings[kRear], under("0x112,2x0", sep()));
    EXPECT_EQ(app().layoutStrings[7], "spare");

    frmLayout& again = open();
    EXPECT_EQ(again.panel(kLeft)->geometry(), QRect(400, 201, 106, 181));
    EXPECT_EQ(again.view().panels[kLeft].turned, 1);
    EXPECT_EQ(again.panel(kRear)->pos(), QPoint(112, 0));
    EXPECT_FLOAT_EQ(again.view().panels[kRear].left, 112);
}

TEST_P(LayoutWindow, ExitClosesAndRecords)
{
    frmLayout& w = open();
    trigger("mnuPanelExit");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(m_window);
    EXPECT_EQ(app().layoutStrings[kFront], "0x0x0");
    (void)w;
}

TEST_P(LayoutWindow, SavedSawAndSheetAreAppliedAndWrittenBack)
{
    writeSettings("[Layouter]\r\nThick=4\r\nSize=0\r\n");
    frmLayout& w = open();
    EXPECT_EQ(w.picPanel()->size(), QSize(183, 366));
    EXPECT_TRUE(w.action("mnuPanelSize(0)")->isChecked());
    EXPECT_TRUE(w.action("mnuSawThick(4)")->isChecked());
    EXPECT_FALSE(w.action("mnuSawThick(2)")->isChecked());
    EXPECT_EQ(w.panel(kRear)->x(), 118);
    EXPECT_EQ(settings(), "[Layouter]\r\nThick=4\r\nSize=0\r\n");
}

TEST_P(LayoutWindow, SettingsOutsideTheMenusOpenOnTheDefaults)
{
    writeSettings("[Layouter]\r\nThick=9\r\nSize=abc\r\n");
    frmLayout& w = open();
    EXPECT_EQ(w.picPanel()->size(), QSize(732, 366));
    EXPECT_TRUE(w.action("mnuSawThick(2)")->isChecked());
    EXPECT_EQ(settings(), "[Layouter]\r\nThick=2\r\nSize=1\r\n");
}

TEST_P(LayoutWindow, BadPlacementTextsStillOpenAUsableLayout)
{
    for (int i = 0; i < kPanelCount; ++i)
        app().layoutStrings[static_cast<std::size_t>(i)] = "10x20x0";
    app().layoutStrings[kRear] = "letters";
    app().layoutStrings[kTop] = "1x2";
    app().layoutStrings[kBottom] = "99999999x5x0";
    app().layoutStrings[kPort] = "";
    frmLayout& w = open();
    EXPECT_EQ(w.panel(kFront)->pos(), QPoint(20, 10));
    EXPECT_EQ(w.panel(kRear)->pos(), QPoint(112, 0)); // where the opening layout put it
    EXPECT_EQ(w.panel(kTop)->pos(), QPoint(0, 141));
    EXPECT_EQ(w.panel(kBottom)->pos(), QPoint(187, 141));
    EXPECT_EQ(w.panel(kLeft)->pos(), QPoint(20, 10));
}

TEST_P(LayoutWindow, ZeroModelOpensWithoutFailing)
{
    app().calc = CalcState{};
    frmLayout& w = open();
    EXPECT_EQ(w.panel(kFront)->size(), QSize(0, 0));
    EXPECT_EQ(w.lblName(kFront)->text(), caption(" Voorzijde ", "0", "0"));
    click(w.panel(kLeft), Qt::RightButton);
    trigger("mnuPanelAuto");
    trigger("mnuSawCheck");
    EXPECT_TRUE(w.isVisible());
}

TEST_P(LayoutWindow, SheetSizeMenuWritesSizeAndLaysOutAgain)
{
    frmLayout& w = open();
    w.placePanel(kRear, 600, 300, false);
    trigger("mnuPanelSize(2)");
    EXPECT_EQ(w.picPanel()->size(), QSize(915, 366));
    EXPECT_TRUE(w.action("mnuPanelSize(2)")->isChecked());
    EXPECT_FALSE(w.action("mnuPanelSize(1)")->isChecked());
    EXPECT_EQ(w.panel(kRear)->pos(), QPoint(112, 0));
    EXPECT_EQ(settings(), "[Layouter]\r\nThick=2\r\nSize=2\r\n");
    // Wider than the client area and still centred.
    EXPECT_EQ(w.picPanel()->x(), (w.centralWidget()->width() - 915) / 2);
    EXPECT_LT(w.picPanel()->x(), 0);
}

TEST_P(LayoutWindow, ThicknessMenuWritesThickAndLaysOutAgain)
{
    frmLayout& w = open();
    trigger("mnuSawThick(3)");
    EXPECT_EQ(w.view().sawThick, 3);
    EXPECT_EQ(w.panel(kRear)->x(), 115); // 106,2 + 9
    EXPECT_TRUE(w.action("mnuSawThick(3)")->isChecked());
    EXPECT_FALSE(w.action("mnuSawThick(2)")->isChecked());
    EXPECT_EQ(settings(), "[Layouter]\r\nThick=3\r\nSize=1\r\n");
    // The checked item again still lays out.
    w.placePanel(kRear, 500, 100, false);
    trigger("mnuSawThick(3)");
    EXPECT_EQ(w.panel(kRear)->x(), 115);
    EXPECT_TRUE(w.action("mnuSawThick(3)")->isChecked());
}

TEST_P(LayoutWindow, F12LaysOutAgainAndCtrlF12ChecksTheEdges)
{
    frmLayout& w = open();
    w.placePanel(kRear, 600, 300, false);
    QTest::keyClick(&w, Qt::Key_F12);
    EXPECT_EQ(w.panel(kRear)->pos(), QPoint(112, 0));

    w.placePanel(kFront, 5, -20, false);
    w.placePanel(kBottom, 100, 300, false);
    w.placePanel(kRight, 2000, 50, false);
    QTest::keyClick(&w, Qt::Key_F12, Qt::ControlModifier);
    EXPECT_EQ(w.panel(kFront)->pos(), QPoint(0, 0));
    EXPECT_EQ(w.panel(kBottom)->pos(), QPoint(100, 185)); // 366 - 180,6
    EXPECT_FLOAT_EQ(w.view().panels[kBottom].top, 185.4f);
    EXPECT_EQ(w.panel(kRight)->pos(), QPoint(2000, 50));
}

TEST_P(LayoutWindow, F5TakesUpTheChangedModel)
{
    frmLayout& w = open();
    setDesign(with(defaultDesign(), {{"l3", "50"}}));
    EXPECT_EQ(w.lblName(kFront)->text(), caption(" Voorzijde ", "45", "35,4"));
    QTest::keyClick(&w, Qt::Key_F5);
    EXPECT_EQ(w.lblName(kFront)->text(), caption(" Voorzijde ", "50", "35,4"));
    EXPECT_EQ(w.panel(kFront)->size(), QSize(106, 150));
    EXPECT_EQ(w.panel(kFront)->pos(), QPoint(0, 0));
}

TEST_P(LayoutWindow, CtrlPShowsTheMessage)
{
    frmLayout& w = open();
    QTest::keyClick(&w, Qt::Key_P, Qt::ControlModifier);
    ASSERT_EQ(m_messages.messages.size(), 1u);
    EXPECT_EQ(m_messages.messages[0].text, "Bwahahahahaha Werkt nog niet :roflol");
    EXPECT_EQ(m_messages.messages[0].title, programTitle());
    EXPECT_EQ(m_messages.messages[0].buttons, MessageButtons::Ok);
}

TEST_P(LayoutWindow, LinesDrawTheCutsOnTheSheet)
{
    frmLayout& w = open();
    // Between the front and the rear, 106,2 to 112,2 pixels across.
    const QPoint gap(109, 60);
    EXPECT_EQ(w.picPanel()->grab().toImage().pixelColor(gap), QColor(255, 224, 192));
    trigger("mnuSawLines");
    EXPECT_TRUE(w.action("mnuSawLines")->isChecked());
    EXPECT_EQ(w.picPanel()->grab().toImage().pixelColor(gap), QColor(255, 224, 192)); // not until a layout
    QTest::keyClick(&w, Qt::Key_F12);
    EXPECT_EQ(cutLinesOf(w.view()).size(), 5u);
    EXPECT_EQ(w.picPanel()->grab().toImage().pixelColor(gap), QColor(0, 0, 0));
    // Moving a board by hand leaves its lines.
    w.placePanel(kRear, 400, 200, false);
    EXPECT_EQ(w.picPanel()->grab().toImage().pixelColor(gap), QColor(0, 0, 0));
    trigger("mnuSawLines");
    QTest::keyClick(&w, Qt::Key_F12);
    EXPECT_TRUE(cutLinesOf(w.view()).empty());
    EXPECT_EQ(w.picPanel()->grab().toImage().pixelColor(gap), QColor(255, 224, 192));
}

TEST_P(LayoutWindow, MiddleLineStaysUntilTheNextLayout)
{
    frmLayout& w = open();
    auto redBelowTheBoards = [&] {
        const QImage img = w.picPanel()->grab().toImage();
        for (int y = 330; y < 366; ++y)
            if (img.pixelColor(366, y) == QColor(255, 0, 0))
                return true;
        return false;
    };
    EXPECT_TRUE(redBelowTheBoards());
    trigger("mnuDrawML");
    EXPECT_FALSE(w.action("mnuDrawML")->isChecked());
    EXPECT_TRUE(redBelowTheBoards());
    QTest::keyClick(&w, Qt::Key_F12);
    EXPECT_FALSE(redBelowTheBoards());
    trigger("mnuDrawML");
    EXPECT_TRUE(w.action("mnuDrawML")->isChecked());
    EXPECT_TRUE(redBelowTheBoards());
}

TEST_P(LayoutWindow, ResizingKeepsTheSheetCentred)
{
    frmLayout& w = open();
    w.resize(1000, 600);
    QCoreApplication::processEvents();
    const QWidget* client = w.centralWidget();
    EXPECT_EQ(w.picPanel()->x(), (client->width() - 732) / 2);
    EXPECT_EQ(w.picPanel()->y(), (client->height() - 366) / 2);
    EXPECT_EQ(w.picPanel()->size(), QSize(732, 366));
}

TEST_P(LayoutWindow, RectangularPortShowsThePortBoard)
{
    setDesign(
        with(defaultDesign(),
             {{"pieces2", "1"}, {"ptype", "1"}, {"pwhere", "3"}, {"hp", "20"}, {"bp", "2"}, {"lp", "21,3"}}));
    frmLayout& w = open();
    EXPECT_TRUE(w.panel(kPort)->isVisible());
    EXPECT_EQ(w.panel(kPort)->size(), QSize(60, 64));
    EXPECT_EQ(w.panel(kPort)->palette().color(QPalette::Window), QColor(255, 255, 128));
    EXPECT_EQ(w.lblName(kPort)->text(), caption("Poort", "20", "21,3"));
}

TEST_P(LayoutWindow, PlacementApiForOtherLayoutCommands)
{
    frmLayout& w = open();
    w.placePanel(kBottom, 10, 20, true);
    w.RefreshPanels();
    EXPECT_EQ(w.panel(kBottom)->geometry(), QRect(10, 20, 181, 135));
    w.setCutLines({{0, 100, 732, 100}}, 6);
    ASSERT_EQ(w.view().drawing.size(), 1u);
    EXPECT_EQ(w.picPanel()->grab().toImage().pixelColor(700, 100), QColor(0, 0, 0));
}
