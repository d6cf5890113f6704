// The main window driven as a user drives it: clicks, keys, and the figures it then shows; the shipped
// language files chosen in its Settings dialog.
#include "gui/common/WindowTexts.h"
#include "gui/lang/frmOptions.h"
#include "gui/layouter/frmCutPlan.h"
#include "gui/layouter/frmLayout.h"
#include "gui/main/FigurePicture.h"
#include "gui/print/PrintJob.h"
#include "lang/LanguageFiles.h"
#include "persist/Ini.h"
#include "tests/support/MainWindowFixture.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <map>

using namespace kelvra;

namespace
{

class FrmMainTest : public kelvra::test::MainWindowTest
{
protected:
    QString text(const char* name) { return qobject_cast<QLabel*>(win->control(name))->text(); }
    QPushButton* button(int i) { return qobject_cast<QPushButton*>(win->control("cmdShow", i)); }
    void simulatie() { QTest::mouseClick(button(2), Qt::LeftButton); }
    QString outer(const char* litres)
    {
        return QString::fromStdString("Outer Volume: " + u(litres) + " Liter");
    }
    bool green() { return button(2)->property("backColor").toInt() == 65280; }
    void focus(QWidget* w, Qt::FocusReason reason)
    {
        QFocusEvent e(QEvent::FocusIn, reason);
        QApplication::sendEvent(w, &e);
    }
    // Clicks whatever the user would hit at the middle of the widget's place; returns what that was.
    QWidget* clickThrough(QWidget* w)
    {
        QWidget* hit = win->centralWidget()->childAt(w->geometry().center());
        if (hit)
            QTest::mouseClick(hit, Qt::LeftButton);
        return hit;
    }
};

TEST_P(FrmMainTest, StartsGreenAndEmptyAndCountsTheStart)
{
    EXPECT_EQ(text("lblVolumeOut"), "Volume: 0 Liter");
    EXPECT_EQ(text("lblVolume"), "Volume: 0 Liter");
    EXPECT_TRUE(green());
    EXPECT_EQ(button(2)->text(), "Simulatie");
    EXPECT_EQ(box(9)->text(), "18");
    EXPECT_EQ(list("cmbSize")->currentText(), "10\"");
    EXPECT_EQ(list("cmbPortWhere")->currentText(), "Voorzijde");
    EXPECT_TRUE(settings().contains("USE=2")) << settings().toStdString();
    EXPECT_EQ(win->app().useCount, 1);
    ASSERT_EQ(startMessages.size(), 1u);
    EXPECT_EQ(startMessages[0].text, "Couldn't find any language file. Using Standard.");
    EXPECT_EQ(startMessages[0].title, win->caption());
    EXPECT_EQ(win->caption(), toStdString(win->windowTitle()));
    // Typing while simulation is off changes the box only.
    box(0)->clear();
    QTest::keyClicks(box(0), "50");
    EXPECT_EQ(win->app().inputs.h2, "50");
    EXPECT_EQ(text("lblVolumeOut"), "Volume: 0 Liter");
    EXPECT_TRUE(messages.messages.empty());
}

TEST_P(FrmMainTest, SimulatieAndF5SwitchAndTypingRecalculates)
{
    simulatie();
    EXPECT_FALSE(green());
    EXPECT_EQ(text("lblVolumeOut"), outer("64"));
    EXPECT_EQ(text("lblVolume"), QString::fromStdString("Intern Volume:\n" + u("46,23") + " Liter"));
    simulatie();
    EXPECT_FALSE(win->app().simulationOn);
    EXPECT_TRUE(green());
    EXPECT_EQ(text("lblVolumeOut"), outer("64"));
    win->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(win.get()));
    QTest::keyClick(box(3), Qt::Key_F5);
    EXPECT_TRUE(win->app().simulationOn);

    // A width of 4 cm on the way to 40 loses no keystroke: simulation stays on.
    box(2)->setCursorPosition(2);
    QTest::keyClick(box(2), Qt::Key_Backspace);
    EXPECT_TRUE(win->app().simulationOn);
    QTest::keyClicks(box(2), "0");
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(text("lblVolumeOut"), outer("64"));
    // Height 40 cm becomes 405 cm with one key: no refused step between.
    box(0)->setCursorPosition(2);
    QTest::keyClicks(box(0), "5");
    EXPECT_EQ(win->app().inputs.h2, "405");
    EXPECT_EQ(text("lblVolumeOut"), outer("648"));
    // The main window's route for other windows recalculates too.
    win->setModelText(*findModelKey("h2"), "50");
    EXPECT_EQ(box(0)->text(), "50");
    EXPECT_EQ(text("lblVolumeOut"), outer("80"));
    win->setModelListPosition(*findModelKey("corr"), 2);
    EXPECT_EQ(list("cmbCorrection")->currentIndex(), 2);
    // A 70 degree rear panel: the label shows the air of the real boards, (45914,756 - 2000) x 1,2
    // litres, not the classic rule's wider trapezoid.
    win->setModelText(*findModelKey("ca"), "70");
    EXPECT_EQ(text("lblVolume"), QString::fromStdString("Virtueel volume \n" + u("52,7") + " Liter"));
}

TEST_P(FrmMainTest, TooBigWooferIsRefusedOnceAndSimulationGoesOff)
{
    simulatie();
    list("cmbSize")->setCurrentIndex(5); // 18" = 45.72 cm, inner height 36.4 cm
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.last()->title, "Error: sub size");
    EXPECT_EQ(messages.last()->text, "Your sub is to big for the front plate");
    EXPECT_FALSE(win->app().simulationOn);
    EXPECT_TRUE(green());
    EXPECT_EQ(list("cmbSize")->currentIndex(), 5);
    // Tabbing in asks again; the focus the message box hands back does not.
    focus(list("cmbSize"), Qt::TabFocusReason);
    focus(list("cmbSize"), Qt::ActiveWindowFocusReason);
    EXPECT_EQ(messages.messages.size(), 2u);
}

TEST_P(FrmMainTest, PortCountAndTypeEnableTheirFields)
{
    EXPECT_FALSE(box(5)->isEnabled());
    EXPECT_FALSE(list("cmbPortType")->isEnabled());
    EXPECT_FALSE(list("cmbPortWhere")->isEnabled());
    list("cmbPieces", 2)->setCurrentIndex(1);
    EXPECT_TRUE(list("cmbPortWhere")->isEnabled());
    EXPECT_TRUE(box(5)->isEnabled());
    EXPECT_TRUE(box(6)->isEnabled()); // round port: diameter only
    EXPECT_FALSE(box(7)->isEnabled());
    list("cmbPortType")->setCurrentIndex(1);
    EXPECT_FALSE(box(6)->isEnabled());
    for (int i : {7, 8, 11})
        EXPECT_TRUE(box(i)->isEnabled()) << i;
    list("cmbPieces", 2)->setCurrentIndex(0);
    for (int i : {5, 6, 7, 8, 11})
        EXPECT_FALSE(box(i)->isEnabled()) << i;
    EXPECT_FALSE(list("cmbPortWhere")->isEnabled());
    EXPECT_EQ(win->app().inputs.pieces2, 0);
}

TEST_P(FrmMainTest, ParamsAndFigureButtons)
{
    QTest::mouseClick(button(1), Qt::LeftButton);
    ASSERT_NE(messages.last(), nullptr);
    EXPECT_EQ(messages.last()->text, "De parameters waar er mee gewerkt word:\r\n");
    QWidget* fig = win->control("picFigure");
    EXPECT_NE(fig->y(), 0);
    ASSERT_NE(clickThrough(button(0)), nullptr);
    EXPECT_EQ(fig->y(), 0);
    EXPECT_EQ(clickThrough(button(0)), button(0));
    EXPECT_GT(fig->y(), 0);
}

TEST_P(FrmMainTest, UnreadTextIsNamedFocusedAndFramedRedUntilItChanges)
{
    const std::tuple<int, const char*, const char*> cases[] = {{0, "abc", "Hoogte"},
                                                               {9, "x", "Plankdikte"},
                                                               {12, "1x", "Fabrikant volume"},
                                                               {13, "-", "Volume overige"}};
    for (const auto& [index, bad, caption] : cases) {
        QLineEdit* target = index == 13 ? qobject_cast<QLineEdit*>(win->control("txtVother")) : box(index);
        auto red = [target] {
            return target->grab().toImage().pixelColor(0, target->height() / 2) == QColor(Qt::red);
        };
        simulatie();
        box(1)->setFocus();
        messages.messages.clear();
        target->setText(QString::fromLatin1(bad));
        ASSERT_NE(messages.last(), nullptr) << bad;
        EXPECT_EQ(messages.last()->text,
                  "\"" + std::string(bad) + "\" is not a number. Look at the box \"" + caption + "\".");
        EXPECT_FALSE(win->app().simulationOn);
        EXPECT_EQ(win->focusWidget(), target) << index;
        EXPECT_TRUE(red()) << index;
        QTest::keyClick(target, Qt::Key_Backspace);
        EXPECT_FALSE(red()) << index;
        target->setText(QString::fromStdString(textOf(firstRunInputs(), *textKeyOfControl(index))));
    }
    EXPECT_EQ(messages.messages.size(), 1u); // typing with simulation off asks nothing
}

// While typing a fault waits in red in the result area; Enter with the fault still there brings the
// message box and, for a design that cannot be calculated, switches simulation off.
TEST_P(FrmMainTest, TypingShowsFaultsInRedAndEnterShowsTheMessage)
{
    struct Case {
        int box;
        const char* typed;
        std::string message; // what the result area and then the message box say
        bool stops;          // the recalculation cannot finish: the message box and simulation off
    };
    const Case cases[] = {
        {2, "4", "Somethings wrong", true},
        {2, "4x", "\"4x\" is not a number. Look at the box \"Breedte\".", true},
        {3, "0",
         "The rear panel: the rear-seat angle ca is 0 degrees; the panel would lie flat on the bottom. "
         "Look at the box \"Hoek achterbank\".",
         true},
        {4, "179,5",
         "The front panel: the front angle cb is " + u("179,5") +
             " degrees; it must be from 1 to 179 degrees. Look at the box \"Hoek voorzijde\".",
         false},
        {0, "-40", "the height h2 is -40; it must be more than 0. Look at the box \"Hoogte\".", true},
        {9, "300",
         "twice the board thickness thick0 is 60 cm, more than the height h2 of 40 cm. Look at the box "
         "\"Plankdikte\".",
         true},
        {5, "60", "the port length lp is 60 cm", false},
    };
    list("cmbPieces", 2)->setCurrentIndex(1);
    box(5)->setText("10");
    box(6)->setText("8");
    QLabel* fault = win->findChild<QLabel*>("lblFault");
    ASSERT_NE(fault, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        if (!win->app().simulationOn)
            simulatie();
        messages.messages.clear();
        box(c.box)->setFocus();
        box(c.box)->selectAll();
        QTest::keyClicks(box(c.box), QString::fromStdString(u(c.typed)));
        EXPECT_EQ(box(c.box)->text().toStdString(), u(c.typed)); // every key kept
        EXPECT_TRUE(messages.messages.empty());
        EXPECT_TRUE(win->app().simulationOn);
        EXPECT_TRUE(fault->isVisible());
        EXPECT_NE(fault->text().toStdString().find(c.message), std::string::npos)
            << fault->text().toStdString();
        QTest::keyClick(box(c.box), Qt::Key_Return);
        EXPECT_EQ(win->app().simulationOn, !c.stops);
        if (c.stops) {
            ASSERT_EQ(messages.messages.size(), 1u);
            EXPECT_NE(messages.last()->text.find(c.message), std::string::npos) << messages.last()->text;
            EXPECT_FALSE(fault->isVisible());
        } else {
            EXPECT_TRUE(messages.messages.empty());
            EXPECT_TRUE(fault->isVisible());
        }
        box(c.box)->setText(QString::fromStdString(textOf(firstRunInputs(), *textKeyOfControl(c.box))));
        if (c.box == 5)
            box(5)->setText("10");
    }
    if (!win->app().simulationOn)
        simulatie();
    EXPECT_FALSE(fault->isVisible());
    EXPECT_TRUE(text("lblVolumeOut").startsWith("Outer Volume: "));
}

TEST_P(FrmMainTest, ExitWritesInputsInOrderAndNextStartReadsThem)
{
    box(3)->clear();
    QTest::keyClicks(box(3), u("87,5").c_str());
    box(0)->clear();
    list("cmbSize")->setCurrentIndex(3);
    win->close();
    const QString ini = settings();
    qsizetype at = ini.indexOf("[LU]");
    ASSERT_GE(at, 0) << ini.toStdString();
    for (const char* key : {"sub=",   "subvol=", "pieces0=", "pieces1=", "pieces2=", "corr=",  "pwhere=",
                            "ptype=", "l3=",     "b2=",      "ca=",      "cb=",      "lp=",    "dp=",
                            "bp=",    "hp=",     "thick0=",  "thick1=",  "thick2=",  "vother="}) {
        const qsizetype next = ini.indexOf(QRegularExpression(QString("(^|\\n)") + key), at);
        ASSERT_GT(next, at) << key << "\n" << ini.toStdString();
        at = next;
    }
    EXPECT_FALSE(ini.contains(QRegularExpression("(^|\\n)h2="))) << ini.toStdString();
    EXPECT_TRUE(ini.contains(QString::fromStdString("ca=" + u("87,5"))));
    EXPECT_TRUE(ini.contains("[Main]"));

    frmMain again(AppPaths{dir.path().toStdString(), "kelvra"}, sep());
    EXPECT_EQ(again.app().inputs.ca, "88");
    EXPECT_EQ(again.app().inputs.h2, "40");
    EXPECT_EQ(again.app().inputs.sub, 3);
    EXPECT_EQ(again.app().useCount, 2);
    EXPECT_TRUE(settings().contains("USE=3"));
}

TEST_P(FrmMainTest, GuardedCommandsRefuseOutsideSimulation)
{
    const std::string base = "Niet in Simulatie modus, zet het programma eerst in simulatie modus voor";
    EXPECT_EQ(action("mnuFilePrint")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    const std::tuple<std::function<void()>, const char*, const char*> commands[] = {
        {[this] { action("mnuFilePrint")->trigger(); }, " print", "Printer"},
        {[this] { action("mnuFilePanel")->trigger(); }, " layouter", "Simulation Layouter"},
        {[this] { win->open3d(); }, " 3D", "Simulation 3D"},
        {[this] { action("mnuFileBoards")->trigger(); }, " boards", "Simulation Boards"}};
    for (const auto& [command, what, title] : commands) {
        messages.messages.clear();
        command();
        ASSERT_EQ(messages.messages.size(), 1u) << what;
        EXPECT_EQ(messages.last()->text, base + what);
        EXPECT_EQ(messages.last()->title, title);
        EXPECT_EQ(messages.last()->icon, MessageIcon::Exclamation);
    }
    EXPECT_EQ(win->findChild<QMainWindow*>(), nullptr);
    EXPECT_FALSE(action("mnuFile3d")->isEnabled());
    EXPECT_FALSE(action("mnuHelpFile")->isEnabled());
    // In simulation mode the layouter opens and nothing is refused.
    simulation(true);
    messages.messages.clear();
    action("mnuFilePanel")->trigger();
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_NE(win->findChild<QMainWindow*>(), nullptr);
}

INSTANTIATE_TEST_SUITE_P(Separators, FrmMainTest, ::testing::Values(',', '.'), kelvra::test::SeparatorName());

class FrmMainLanguageTest : public kelvra::test::MainWindowTest
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        for (const char* name : {"Dutch_lng.ini", "English_lng.ini"})
            std::filesystem::copy_file(std::filesystem::path(KELVRA_LANGUAGE_DIR) / name,
                                       std::filesystem::path(dir.path().toStdString()) / name);
        MainWindowTest::SetUp();
    }
    std::string caption(const char* name, std::optional<int> i = std::nullopt)
    {
        return win->property(name, i, ControlProperty::Caption).value_or("?");
    }
    // Picks the language row in the Settings dialog opened from the menu and presses OK.
    void chooseLanguage(const QString& language)
    {
        QTimer::singleShot(0, [language] {
            auto* dialog = qobject_cast<frmOptions*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            const int row = dialog->cboLanguage()->findText(language);
            ASSERT_GE(row, 0) << language.toStdString();
            dialog->cboLanguage()->setCurrentIndex(row);
            dialog->cmdOK()->click();
        });
        action("mnuFileSettings")->trigger();
    }
    // Every caption and hint text a language file may name, and every table entry.
    std::map<std::string, std::string> texts()
    {
        std::map<std::string, std::string> all;
        for (QWidget* w : win->findChildren<QWidget*>())
            if (!w->objectName().isEmpty()) {
                const std::string name = w->objectName().toStdString();
                all[name] = win->property(name, std::nullopt, ControlProperty::Caption).value_or("");
                all[name + "_ttt"] = w->toolTip().toStdString();
            }
        for (QAction* a : win->findChildren<QAction*>())
            if (!a->objectName().isEmpty())
                all[a->objectName().toStdString()] = a->text().toStdString();
        return all;
    }
};

TEST_P(FrmMainLanguageTest, EnglishFromTheSettingsDialogTranslatesTheWindowAndDutchComesBack)
{
    EXPECT_TRUE(startMessages.empty());
    EXPECT_EQ(caption("fraInfo"), "Algemene informatie");
    EXPECT_EQ(list("cmbPortType")->itemText(1), "Rechthoekige");
    const std::map<std::string, std::string> dutch = texts();

    chooseLanguage("English");
    EXPECT_EQ(caption("fraInfo"), "General information");
    EXPECT_EQ(caption("lblUnit", 8), "litre");
    EXPECT_EQ(caption("Label2", 4), "Port");
    EXPECT_EQ(action("mnuFileNOS(1)")->text(), "&Open");
    EXPECT_EQ(list("cmbCorrection")->itemText(2), "Damping wool");
    EXPECT_EQ(win->control("txtSize", 9)->toolTip(), "Usual: 9, 12, 18, 22, 30 mm");
    win->buttonHandler(ShowButton::Parameters); // the tables are English too
    ASSERT_NE(messages.last(), nullptr);
    EXPECT_EQ(messages.last()->text.rfind("The parameters being worked with:", 0), 0u);
    // None may still be the Dutch design text, apart from units, measure names and texts that read the
    // same in both languages.
    const std::map<std::string, std::string> english = texts();
    const QStringList same =
        QString("|cm|mm|°|Volume: 0 Liter|Type|Diameter|B1|B2|H2|H3|H4|L3|L4|LP|BP|DP|HP|&File|"
                "&Exit|&3D Box|Panel &Layout|&Print|&Help|H&istory|&Update site|"
                "&Program topic (Dutch)|Open &Calculator|&About")
            .split('|');
    for (const auto& [key, text] : dutch)
        EXPECT_TRUE(same.contains(QString::fromStdString(text)) || english.at(key) != text)
            << key << " is still Dutch";

    chooseLanguage("Nederlands");
    for (const char* key :
         {"fraInfo", "Label1(1)", "lblUnit(8)", "mnuFileNOS(1)"}) // what the Dutch file names
        EXPECT_EQ(texts().at(key), dutch.at(key)) << key;
}

// The other windows follow the chosen language too: each key of their sections in the shipped files names
// a control or text of the open window, the English file has every key the Dutch one has, and choosing a
// language puts its texts into the open windows at once.
TEST_P(FrmMainLanguageTest, TheOtherWindowsAreTranslatedByTheirSectionsAndFollowTheChoice)
{
    simulation(true);
    win->openBoards();
    win->openSound();
    win->open3d();
    win->openFit();
    auto* layout = new frmLayout(win->app(), *win, win.get());
    layout->findChild<QAction*>("mnuPanelCutPlan")->trigger();
    const std::string dutchFile = (std::filesystem::path(KELVRA_LANGUAGE_DIR) / "Dutch_lng.ini").string();
    const std::string englishFile = (std::filesystem::path(KELVRA_LANGUAGE_DIR) / "English_lng.ini").string();
    for (const char* window : {"frmBoards", "frmSound", "frmCutPlan", "frm3d", "frmFit"}) {
        SCOPED_TRACE(window);
        QWidget* w = window == std::string("frmCutPlan") ? layout->findChild<QWidget*>(window)
                                                         : win->findChild<QWidget*>(window);
        ASSERT_NE(w, nullptr);
        WindowTexts texts(*w);
        const std::vector<std::string> keys = SectionKeyNames(englishFile, window);
        EXPECT_EQ(SectionKeyNames(dutchFile, window), keys);
        EXPECT_FALSE(keys.empty());
        for (const char* language : {"Nederlands", "English"}) {
            chooseLanguage(language);
            const std::string& file = language == std::string("English") ? englishFile : dutchFile;
            // The printed board table takes the boards window's headings.
            EXPECT_EQ(boardTableHeading(win->app())[3],
                      ReadLanguageValue(file, "frmBoards", "colThickness", "?"));
            // The boards list and the sound window's list words follow the language at once.
            EXPECT_EQ(win->findChild<QTableWidget*>("tblBoards")->item(0, 4)->text().toStdString(),
                      ReadLanguageValue(file, "frmBoards", "bevSquare", "?"));
            // So do the sheet plan's lines.
            const std::string sheet = ReadLanguageValue(file, "frmBoards", "planSheet", "?");
            EXPECT_TRUE(win->findChild<QTextBrowser*>("txtCuts")->toPlainText().startsWith(
                QString::fromStdString(sheet.substr(0, sheet.find('%')))));
            EXPECT_TRUE(layout->findChild<frmCutPlan*>()->txtCutPlan()->toPlainText().contains(
                QString::fromStdString(sheet.substr(0, sheet.find('%')))));
            EXPECT_TRUE(
                win->findChild<QComboBox*>("cmbEndCorrection")
                    ->itemText(0)
                    .startsWith(QString::fromStdString(ReadLanguageValue(file, "frmSound", "endFree", "?"))));
            // The fit window writes its headings again.
            EXPECT_EQ(
                win->findChild<QTableWidget*>("tblFront")->horizontalHeaderItem(2)->text().toStdString(),
                ReadLanguageValue(file, "frmFit", "colNet", "?"));
            for (const std::string& key : keys) {
                const bool hint = key.ends_with("_ttt");
                const std::string control = hint ? key.substr(0, key.size() - 4) : key;
                const auto shown = texts.property(
                    control, std::nullopt, hint ? ControlProperty::HintText : ControlProperty::Caption);
                ASSERT_TRUE(shown.has_value()) << key << " names nothing";
                if (window != std::string("frmCutPlan") && window != std::string("frm3d")) {
                    EXPECT_EQ(*shown, ReadLanguageValue(file, window, key, "?")) << key << " " << language;
                }
            }
        }
    }
}

// Why a box cannot be built is said in the chosen language, in the result area as in the other windows.
TEST_P(FrmMainLanguageTest, RefusalsSpeakTheChosenLanguage)
{
    simulation(true);
    const std::pair<const char*, const char*> cases[] = {
        {"Nederlands", "De achterzijde: de hoek achterbank ca is 0 graden; het paneel zou plat op de bodem "
                       "liggen. Kijk naar het vak \"Hoek achterbank\"."},
        {"English", "The rear panel: the rear-seat angle ca is 0 degrees; the panel would lie flat on the "
                    "bottom. Look at the box \"Rear seat angle\"."}};
    for (const auto& [language, refusal] : cases) {
        chooseLanguage(language);
        box(3)->setFocus();
        box(3)->selectAll();
        QTest::keyClicks(box(3), "0");
        EXPECT_EQ(win->findChild<QLabel*>("lblFault")->text().toStdString(), refusal) << language;
        box(3)->setText("90");
    }
}

INSTANTIATE_TEST_SUITE_P(Separators, FrmMainLanguageTest, ::testing::Values(',', '.'),
                         kelvra::test::SeparatorName());

} // namespace

// Each measure of the figure and each input's hint carries the caption of the box it comes from, in the
// language shown.
TEST_P(FrmMainTest, FigureAndHintsNameEachMeasureWithItsBoxCaption)
{
    const std::pair<int, const char*> hints[] = {{1, "B2 = Lengte onderzijde"}, {2, "L3 = Breedte"},
                                                 {3, "Hoek achterbank"},        {5, "LP = Lengte"},
                                                 {7, "BP = Breedte"},           {8, "HP = Hoogte"}};
    for (const auto& [index, words] : hints)
        EXPECT_TRUE(box(index)->toolTip().contains(words)) << index;
    auto* figure = qobject_cast<FigurePicture*>(win->control("picFigure"));
    const QImage dutch = figure->image();
    EXPECT_EQ(dutch, FigurePicture::paintFigure(figure->size()));
    win->setProperty("Label1", 2, ControlProperty::Caption, "Width");
    win->refillTextLists();
    EXPECT_NE(figure->image(), dutch);
    FigureCaptions english;
    english.width = "Width";
    EXPECT_EQ(figure->image(), FigurePicture::paintFigure(figure->size(), english));
}
