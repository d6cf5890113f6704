// The layouter window on a stand-in main window with its own settings folder, driven by the mouse, the
// keyboard and its menus: the hand layout, "Best fit" with its plan and the "Cut plan" window.
#include "gui/layouter/frmCutPlan.h"
#include "gui/layouter/frmLayout.h"
#include "layouter/BoardPlan.h"
#include "tests/layouter/LayouterTestSupport.h"
#include "tests/support/FakeHost.h"
#include "tests/support/TempFolder.h"

#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTextBrowser>

#include <array>

using namespace kelvra;
using namespace kelvra::test;

namespace
{

class LayoutWindow : public ::testing::TestWithParam<char>
{
protected:
    void SetUp() override
    {
        host = std::make_unique<FakeHost>(AppPaths{dir.path(), "kelvra"}, sep());
        setDesign(defaultDesign());
        setMessageService(&messages);
    }
    void TearDown() override
    {
        if (window)
            closeWindow();
        setMessageService(nullptr);
    }
    char sep() const { return GetParam(); }
    AppState& app() { return host->app(); }
    void setDesign(const Changes& changes)
    {
        app().inputs = inputsOf(changes, sep());
        app().calc = CalcState{};
        Recalculate(makeRecalcInputs(app().inputs, true, sep()), app().calc);
    }
    frmLayout& open()
    {
        window = new frmLayout(app(), *host);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window.data()));
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.data()));
        return *window;
    }
    void closeWindow()
    {
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QString caption(const char* name, const char* l, const char* b) const
    {
        return QString("%1\nl:%2cm\nb:%3cm").arg(name, under(l, sep()).c_str(), under(b, sep()).c_str());
    }
    void click(QWidget* w, Qt::MouseButton button = Qt::LeftButton) { QTest::mouseClick(w, button); }
    void moveOnSheet(QPoint p)
    {
        // The windowing system drops a move to where the pointer already is, so come from beside it.
        QTest::mouseMove(window->picPanel(), p + QPoint(1, 1));
        QTest::mouseMove(window->picPanel(), p);
    }
    void trigger(const char* name) { window->action(name)->trigger(); }
    QColor sheetPixel(QPoint p) const { return window->picPanel()->grab().toImage().pixelColor(p); }
    CutPlan plan()
    {
        BoardPlanResult r = planDesign(app().inputs, sep(), kerfOfSawThick(window->view().sawThick));
        EXPECT_TRUE(r.ok());
        return r.ok() ? *r.plan : CutPlan{};
    }

    TempFolder dir;
    std::unique_ptr<FakeHost> host;
    RecordingMessageService messages;
    QPointer<frmLayout> window;
};

TEST_P(LayoutWindow, OpensWithAFreshLayoutOnTheMiddleSheetNamedByTheMainWindowsLabels)
{
    host->addLabel(0, "Front");
    frmLayout& w = open();
    EXPECT_EQ(w.windowTitle(), "Wood Layouter v1 beta");
    QWidget* sheet = w.findChild<QWidget*>("picPanel");
    ASSERT_EQ(sheet, w.picPanel());
    EXPECT_EQ(sheet->geometry(), QRect((w.centralWidget()->width() - 732) / 2,
                                       (w.centralWidget()->height() - 366) / 2, 732, 366)); // centred
    EXPECT_EQ(sheet->palette().color(QPalette::Window), QColor(255, 224, 192));
    // The real boards: front, rear and top between the sides, 45 - 3,6 long.
    EXPECT_EQ(sheet->findChild<QWidget*>("shFront")->geometry(), QRect(0, 0, 106, 124));
    EXPECT_EQ(w.panel(kRear)->geometry(), QRect(112, 0, 106, 124));
    EXPECT_EQ(w.panel(kTop)->geometry(), QRect(0, 130, 181, 124)); // the first layout turned the top
    EXPECT_FALSE(w.panel(kPort)->isVisible());
    for (int i = 0; i < kPort; ++i) {
        QLabel* l = w.lblName(i);
        EXPECT_EQ(l->objectName(), QString("lblName(%1)").arg(i));
        EXPECT_EQ(l->parentWidget(), w.panel(i));
        EXPECT_LE((l->geometry().center() - w.panel(i)->rect().center()).manhattanLength(), 2);
    }
    EXPECT_EQ(w.lblName(kFront)->text(), caption("Front", "41,4", "35,4"));
    EXPECT_EQ(w.lblName(kTop)->text(), caption("Bovenzijde ", "41,4", "60,2"));

    QStringList menus;
    for (QAction* a : w.menuBar()->actions() + w.panelMenu()->actions())
        menus << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(menus.join('|'), "&Panel|&Saw|&Draw|122x61|122x244|122x305|4x8ft|5x5ft|Custom...|-|Auto "
                               "fit|Best fit|Cut plan|&Boards|&Print|-|Exit");
    EXPECT_EQ(w.action("mnuPanelBest")->shortcut(), QKeySequence(Qt::SHIFT | Qt::Key_F12));
    for (const char* name : {"mnuPanelSize(1)", "mnuSawThick(2)", "mnuDrawML"})
        EXPECT_TRUE(w.action(name)->isChecked()) << name;
    for (const char* name : {"mnuPanelSize(0)", "mnuSawThick(3)", "mnuSawLines"})
        EXPECT_FALSE(w.action(name)->isChecked()) << name;
    EXPECT_EQ(dir.read("kelvra.ini"), "[Layouter]\r\nThick=2\r\nSize=1\r\n");
    QTest::keyClick(&w, Qt::Key_P, Qt::ControlModifier);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.last()->text, "Bwahahahahaha Werkt nog niet :roflol");
    EXPECT_EQ(messages.last()->title, programTitle());
}

TEST_P(LayoutWindow, BoardsArePickedUpMovedPutDownTurnedAndRecordedOnExit)
{
    frmLayout& w = open();
    PanelView* rear = w.panel(kRear);
    click(rear);
    EXPECT_TRUE(rear->border() && w.panelPickedUp());
    moveOnSheet(QPoint(300, 200));
    moveOnSheet(QPoint(310, 205)); // the pointer is over the board now; it keeps following
    EXPECT_EQ(rear->pos(), QPoint(310, 205));
    click(rear);
    EXPECT_FALSE(rear->border() || w.panelPickedUp());
    EXPECT_EQ(w.selectedPanel(), kRear); // still the panel picked up last
    moveOnSheet(QPoint(500, 300));
    EXPECT_EQ(rear->pos(), QPoint(310, 205));
    // Clicking the caption of the picked-up board puts it down.
    click(w.panel(kBottom));
    moveOnSheet(QPoint(20, 30));
    click(w.lblName(kBottom));
    EXPECT_FALSE(w.panel(kBottom)->border());
    // A right click on a caption or a board turns it in place.
    const QRect top = w.panel(kTop)->geometry();
    click(w.lblName(kTop), Qt::RightButton);
    EXPECT_EQ(w.panel(kTop)->geometry(), QRect(top.topLeft(), top.size().transposed()));
    click(w.panel(kTop), Qt::RightButton);
    EXPECT_EQ(w.panel(kTop)->geometry(), top);
    trigger("mnuPanelExit");
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(window);
    EXPECT_EQ(app().layoutStrings[kRear], "205x310x0");
    EXPECT_EQ(app().layoutStrings[kFront], "0x0x0");
    EXPECT_EQ(app().layoutStrings[kTop], under("130,2x0x1", sep()));
    EXPECT_EQ(app().layoutStrings[kBottom], "30x20x0");
}

TEST_P(LayoutWindow, ClosingRecordsAndReopeningRestoresRoundedEvenFromBadTexts)
{
    app().layoutStrings[7] = "spare";
    frmLayout& w = open();
    w.placePanel(kLeft, 400.4f, 200.6f, true);
    w.RefreshPanels();
    closeWindow();
    EXPECT_EQ(app().layoutStrings[kLeft], under("200,6x400,4x1", sep()));
    EXPECT_EQ(app().layoutStrings[kRear], under("0x112,2x0", sep()));
    EXPECT_EQ(app().layoutStrings[7], "spare");
    app().layoutStrings[kRear] = "letters";
    app().layoutStrings[kTop] = "1x2";
    app().layoutStrings[kBottom] = "99999999x5x0";
    frmLayout& again = open();
    EXPECT_EQ(again.panel(kLeft)->geometry(), QRect(400, 201, 117, 181));
    EXPECT_EQ(again.panel(kRear)->pos(), QPoint(112, 0)); // where the opening layout put it
    EXPECT_EQ(again.panel(kTop)->pos(), QPoint(0, 130));
    EXPECT_EQ(again.panel(kBottom)->pos(), QPoint(187, 130));
}

TEST_P(LayoutWindow, SawAndSheetAreSavedAndReadBackDefaultsOutsideTheMenus)
{
    frmLayout& w = open();
    w.placePanel(kRear, 600, 300, false);
    trigger("mnuPanelSize(2)");
    EXPECT_EQ(w.picPanel()->size(), QSize(915, 366));
    EXPECT_TRUE(w.action("mnuPanelSize(2)")->isChecked() && !w.action("mnuPanelSize(1)")->isChecked());
    EXPECT_EQ(w.panel(kRear)->pos(), QPoint(112, 0));                     // laid out again
    EXPECT_EQ(w.picPanel()->x(), (w.centralWidget()->width() - 915) / 2); // wider than the client, centred
    trigger("mnuSawThick(3)");
    w.placePanel(kRear, 600, 300, false);
    trigger("mnuSawThick(3)");           // the checked item again still lays out
    EXPECT_EQ(w.panel(kRear)->x(), 115); // 106,2 + 9
    EXPECT_TRUE(w.action("mnuSawThick(3)")->isChecked() && !w.action("mnuSawThick(2)")->isChecked());
    EXPECT_EQ(dir.read("kelvra.ini"), "[Layouter]\r\nThick=3\r\nSize=2\r\n");
    closeWindow();
    for (const auto& [saved, sheet, written] :
         {std::tuple{"Thick=4\r\nSize=0\r\n", QSize(183, 366), "Thick=4\r\nSize=0\r\n"},
          {"Thick=9\r\nSize=abc\r\n", QSize(732, 366), "Thick=2\r\nSize=1\r\n"}}) {
        dir.put("kelvra.ini", std::string("[Layouter]\r\n") + saved);
        EXPECT_EQ(open().picPanel()->size(), sheet);
        EXPECT_EQ(dir.read("kelvra.ini"), std::string("[Layouter]\r\n") + written);
        closeWindow();
    }
}

TEST_P(LayoutWindow, KeysLayOutCheckTheEdgesAndTakeUpTheModelAndLinesAreDrawn)
{
    frmLayout& w = open();
    w.placePanel(kFront, 5, -20, false);
    w.placePanel(kBottom, 100, 300, false);
    w.placePanel(kRight, 2000, 50, false);
    QTest::keyClick(&w, Qt::Key_F12, Qt::ControlModifier);
    EXPECT_EQ(w.panel(kFront)->pos(), QPoint(0, 0));
    EXPECT_EQ(w.panel(kBottom)->pos(), QPoint(100, 185)); // 366 - 180,6
    EXPECT_FLOAT_EQ(w.view().panels[kBottom].top, 185.4f);
    EXPECT_EQ(w.panel(kRight)->pos(), QPoint(2000, 50));
    QTest::keyClick(&w, Qt::Key_F12);
    EXPECT_EQ(w.panel(kBottom)->pos(), QPoint(187, 130));
    // The cuts between the boards are drawn from the next layout on.
    const QPoint gap(109, 60);
    trigger("mnuSawLines");
    EXPECT_EQ(sheetPixel(gap), QColor(255, 224, 192));
    QTest::keyClick(&w, Qt::Key_F12);
    EXPECT_EQ(cutLinesOf(w.view()).size(), 5u);
    EXPECT_EQ(sheetPixel(gap), QColor(Qt::black));
    // F5 takes up a changed model: a longer box with a rectangular port, whose board shows now.
    // clang-format off
    setDesign(with(defaultDesign(), {{"l3", "50"}, {"pieces2", "1"}, {"ptype", "1"}, {"pwhere", "3"}, {"hp", "20"},
                                     {"bp", "2"}, {"lp", "21,3"}}));
    // clang-format on
    QTest::keyClick(&w, Qt::Key_F5);
    EXPECT_EQ(w.lblName(kFront)->text(), caption(" Voorzijde ", "46,4", "35,4"));
    EXPECT_EQ(w.panel(kFront)->geometry(), QRect(0, 0, 106, 139));
    // The port wall: 20 across the slot, 21,3 less the left side's 1,8 into the box.
    EXPECT_EQ(w.panel(kPort)->size(), QSize(60, 59));
    EXPECT_EQ(w.panel(kPort)->palette().color(QPalette::Window), QColor(255, 255, 128));
    EXPECT_EQ(w.lblName(kPort)->text(), caption("Poort", "20", "19,5"));
}

TEST_P(LayoutWindow, BestFitLaysTheRealBoardsByThePlanAndDrawsItsCuts)
{
    // Design, whether the port wall is planned on the first sheet, the notice of a second sheet (whose
    // boards are not on the picture). The default boards do not fit 122x61 and do fit 122x244.
    // clang-format off
    const std::tuple<Changes, bool, const char*> cases[] = {
        {defaultDesign(), false, nullptr},
        {with(defaultDesign(), {{"ca", "70"}, {"pieces2", "1"}, {"ptype", "1"}, {"dp", "0"}, {"lp", "20"}, {"bp", "5"},
                                {"hp", "20"}}), true, nullptr},
        {with(defaultDesign(), {{"h2", "60"}, {"l3", "100"}, {"b2", "100"}}), false, "The boards need 2 sheets"}};
    // clang-format on
    for (const auto& [design, portShown, notice] : cases) {
        setDesign(design);
        messages.messages.clear();
        frmLayout& w = open();
        trigger("mnuPanelBest");
        EXPECT_EQ(messages.messages.empty(), !notice);
        EXPECT_TRUE(!notice || (messages.last() && messages.last()->text.starts_with(notice))) << notice;
        const CutPlan planned = plan();
        EXPECT_EQ(w.view().sheetIndex, planned.sheetIndex);
        EXPECT_TRUE(w.action("mnuPanelSize(" + std::to_string(planned.sheetIndex) + ")")->isChecked());
        const BoardsResult boards = buildBoards(app().inputs, sep());
        std::array<bool, kPanelCount> shown{};
        for (const BoardPlacement& b : planned.placements) {
            const auto key = std::find(kPanelKeys.begin(), kPanelKeys.end(), b.key);
            const auto i = static_cast<std::size_t>(key - kPanelKeys.begin());
            if (key == kPanelKeys.end() || b.copy != 0 || b.sheet != 0)
                continue;
            shown[i] = true;
            const Board& board = boards.boards->boards[static_cast<std::size_t>(b.board)];
            EXPECT_EQ(w.panel(int(i))->geometry(), QRect(qRound(b.rect.left * 3), qRound(b.rect.top * 3),
                                                         qRound(b.rect.width * 3), qRound(b.rect.height * 3)))
                << b.key;
            EXPECT_EQ(w.view().panels[i].turned != 0, b.turned) << b.key;
            EXPECT_EQ(w.lblName(int(i))->text(), QString("%1\nl:%2cm\nb:%3cm")
                                                     .arg(QString::fromUtf8(kPanelNames[i].data()),
                                                          boardSizeText(board.length, sep()).c_str(),
                                                          boardSizeText(board.breadth, sep()).c_str()));
        }
        EXPECT_EQ(shown[kPort], portShown);
        for (int i = 0; i < kPanelCount; ++i)
            EXPECT_EQ(w.panel(i)->isVisible(), shown[static_cast<std::size_t>(i)]) << i;
        // The boards' true outlines, then one numbered red line per cut.
        EXPECT_EQ(w.view().drawing.front().colour, kPlanOutlineColour);
        const auto cut = std::find_if(w.view().drawing.begin(), w.view().drawing.end(),
                                      [](const Stroke& s) { return s.colour == kPlanCutColour; });
        ASSERT_NE(cut, w.view().drawing.end());
        EXPECT_NEAR(cut->line.x1, planned.cuts.front().fromX * 3, 0.01);
        EXPECT_NEAR(cut->line.y2, planned.cuts.front().toY * 3, 0.01);
        // The cut plan window lists the bevel cuts of the sloped box after the plan's own cuts.
        trigger("mnuPanelCutPlan");
        const auto* cutPlan = w.findChild<frmCutPlan*>("frmCutPlan");
        ASSERT_NE(cutPlan, nullptr);
        EXPECT_EQ(cutPlan->txtCutPlan()->toPlainText().contains(". Verstek: "), portShown);
        closeWindow();
    }
}

TEST_P(LayoutWindow, BestFitPutsSmallBoardsOnTheSmallSheetMovableAndReportsWhatCannotBePlanned)
{
    setDesign(with(defaultDesign(), {{"h2", "20"}, {"l3", "25"}, {"b2", "25"}}));
    frmLayout& w = open();
    trigger("mnuPanelBest");
    EXPECT_EQ(w.picPanel()->size(), QSize(183, 366));
    closeWindow();
    EXPECT_NE(app().layoutStrings[kFront], "0x0x0"); // the plan's place, not the hand rules' corner

    // The boards core refuses a 60 cm slot in a wedge 43,7 cm deep inside at the top.
    const std::pair<Changes, const char*> refused[] = {
        {with(defaultDesign(), {{"l3", "400"}}), "larger than the largest sheet"},
        {with(defaultDesign(),
              {{"ca", "60"}, {"pieces2", "1"}, {"ptype", "1"}, {"lp", "60"}, {"bp", "5"}, {"hp", "20"}}),
         "the port length lp is 60 cm"}};
    for (const auto& [design, words] : refused) {
        setDesign(design);
        frmLayout& again = open();
        const LayoutView before = again.view();
        trigger("mnuPanelBest");
        ASSERT_NE(messages.last(), nullptr) << words;
        EXPECT_EQ(messages.last()->title, "Best fit");
        EXPECT_EQ(messages.last()->icon, MessageIcon::Exclamation);
        EXPECT_NE(messages.last()->text.find(under(words, sep())), std::string::npos)
            << messages.last()->text;
        EXPECT_EQ(again.view().panels, before.panels);
        trigger("mnuPanelCutPlan");
        EXPECT_EQ(again.findChild<frmCutPlan*>("frmCutPlan"), nullptr);
        closeWindow();
    }
}

TEST_P(LayoutWindow, TheCutPlanWindowListsDrawsAndSavesTheNumberedCuts)
{
    const std::vector<BestFitBoard> boards = {{"front", 20.5, 30}, {"rear", 20.5, 30}};
    frmCutPlan w(*BestFit(boards, 0.2).plan, {" Voorzijde ", ""}, sep());
    w.setAttribute(Qt::WA_DeleteOnClose, false);
    w.show();
    EXPECT_EQ(w.windowTitle(), "Zaagplan");
    const std::string text = w.txtCutPlan()->toPlainText().toStdString();
    for (const std::string& line :
         {std::string("Plaat: 122x61, 1 plaat"), std::string("1. Plaat 1, stuk 1 (61 x 122 cm)"),
          under("Voorzijde (30 x 20,5 cm)", sep()), under("rear (30 x 20,5 cm)", sep())})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    EXPECT_EQ(w.sheetImage(0, 3).pixelColor(10, 10), QColor(128, 255, 128)); // the front, turned, top left
    w.setPdfFileChooser([this] { return QString::fromStdString(dir.file("plan.pdf")); });
    QTest::mouseClick(w.cmdSavePdf(), Qt::LeftButton);
    EXPECT_TRUE(dir.read("plan.pdf").starts_with("%PDF-"));
    EXPECT_FALSE(w.saveAsPdf(QString::fromStdString(dir.file("no such folder/plan.pdf"))));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_NE(messages.last()->text.find("kon niet worden opgeslagen"), std::string::npos);
    QTest::mouseClick(w.cmdClose(), Qt::LeftButton);
    EXPECT_FALSE(w.isVisible());
}

INSTANTIATE_TEST_SUITE_P(Separators, LayoutWindow, ::testing::Values(',', '.'), SeparatorName());

} // namespace
