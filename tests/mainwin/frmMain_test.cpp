// The main window driven as a user drives it: clicks, keys, and the figures it then shows.
#include "gui/main/frmMain.h"

#include "gui/common/MessageService.h"
#include "gui/main/FitLabel.h"
#include "tests/support/MainWindowFixture.h"
#include "tests/support/SeparatorText.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using namespace kelvra;

namespace
{

class FrmMainTest : public kelvra::test::MainWindowTest
{
protected:
    QString text(const char* name) { return qobject_cast<QLabel*>(win->control(name))->text(); }
    QPushButton* button(int i) { return qobject_cast<QPushButton*>(win->control("cmdShow", i)); }
    QLineEdit* box(int i) { return qobject_cast<QLineEdit*>(win->control("txtSize", i)); }
    QComboBox* list(const char* name, std::optional<int> i = std::nullopt)
    {
        return qobject_cast<QComboBox*>(win->control(name, i));
    }
    // Clicks whatever the user would hit at the middle of the widget's place; returns what that was.
    QWidget* clickThrough(QWidget* w)
    {
        QWidget* hit = win->centralWidget()->childAt(w->geometry().center());
        if (hit)
            QTest::mouseClick(hit, Qt::LeftButton);
        return hit;
    }
    QString net(const char* number) const
    {
        QString n = QString::fromLatin1(number);
        return n.replace('.', QChar::fromLatin1(GetParam()));
    }
};

TEST_P(FrmMainTest, StartsWithGreenButtonAndEmptyResults)
{
    EXPECT_EQ(text("lblVolumeOut"), "Volume: 0 Liter");
    EXPECT_EQ(text("lblVolume"), "Volume: 0 Liter");
    EXPECT_EQ(button(2)->property("backColor").toInt(), 65280);
    EXPECT_EQ(button(2)->text(), "Simulatie");
    EXPECT_EQ(button(1)->text(), "Toon Params");
    EXPECT_EQ(button(0)->text(), "Toon Meet Figuur");
    EXPECT_FALSE(win->app().simulationOn);
    EXPECT_EQ(box(0)->text(), "40");
    EXPECT_EQ(box(9)->text(), "18");
    EXPECT_EQ(list("cmbSize")->currentText(), "10\"");
    EXPECT_EQ(list("cmbPortWhere")->currentText(), "Voorzijde");
    EXPECT_NE(win->control("Picture1"), nullptr);
    EXPECT_NE(win->control("picFigure"), nullptr);
    EXPECT_EQ(win->control("nothing"), nullptr);
    for (const char* f : {"fraInfo", "fraCorrection", "fraPort", "fraWoofer", "fraResult"})
        EXPECT_NE(win->control(f), nullptr) << f;
    // Typing while simulation is off changes the box only.
    box(0)->clear();
    QTest::keyClicks(box(0), "50");
    EXPECT_EQ(win->app().inputs.txtSize[0], "50");
    EXPECT_EQ(text("lblVolumeOut"), "Volume: 0 Liter");
    EXPECT_TRUE(messages.messages.empty());
}

TEST_P(FrmMainTest, SimulatieTwiceFillsThenKeepsResults)
{
    QTest::mouseClick(button(2), Qt::LeftButton);
    EXPECT_TRUE(win->app().simulationOn);
    EXPECT_EQ(button(2)->property("backColor").toInt(), 255);
    EXPECT_EQ(text("lblVolumeOut"), "Outer Volume: 64 Liter");
    EXPECT_EQ(text("lblVolume"), "Intern Volume:\n" + net("46.23") + " Liter");
    QTest::mouseClick(button(2), Qt::LeftButton);
    EXPECT_FALSE(win->app().simulationOn);
    EXPECT_EQ(button(2)->property("backColor").toInt(), 65280);
    EXPECT_EQ(text("lblVolumeOut"), "Outer Volume: 64 Liter");
}

TEST_P(FrmMainTest, F5SwitchesSimulation)
{
    win->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(win.get()));
    QTest::keyClick(box(3), Qt::Key_F5);
    EXPECT_TRUE(win->app().simulationOn);
    EXPECT_EQ(text("lblVolumeOut"), "Outer Volume: 64 Liter");
}

TEST_P(FrmMainTest, TypingUpdatesResults)
{
    QTest::mouseClick(button(2), Qt::LeftButton);
    // A width of 4 cm leaves no room inside: the error message and simulation off.
    messages.messages.clear();
    box(2)->setCursorPosition(2);
    QTest::keyClick(box(2), Qt::Key_Backspace);
    EXPECT_EQ(win->app().inputs.txtSize[2], "4");
    EXPECT_FALSE(messages.messages.empty());
    EXPECT_FALSE(win->app().simulationOn);
    EXPECT_EQ(button(2)->property("backColor").toInt(), 65280);
    // Back to 40 cm while off changes nothing shown; switching on shows the first figures again.
    QTest::keyClicks(box(2), "0");
    EXPECT_EQ(text("lblVolumeOut"), "Outer Volume: " + net("6.4") + " Liter");
    QTest::mouseClick(button(2), Qt::LeftButton);
    EXPECT_EQ(text("lblVolumeOut"), "Outer Volume: 64 Liter");
    // Height 40 cm becomes 405 cm with one key: no refused step between.
    box(0)->setCursorPosition(2);
    QTest::keyClicks(box(0), "5");
    EXPECT_EQ(win->app().inputs.txtSize[0], "405");
    EXPECT_TRUE(win->app().simulationOn);
    EXPECT_EQ(text("lblVolumeOut"), "Outer Volume: 648 Liter");
    EXPECT_EQ(win->app().calc.lblVolumeOut, "Outer Volume: 648 Liter");
    EXPECT_NE(text("lblVolume"), "Intern Volume:\n" + net("46.23") + " Liter");
}

TEST_P(FrmMainTest, BadTextNeverCrashes)
{
    QTest::mouseClick(button(2), Qt::LeftButton);
    list("cmbPieces", 2)->setCurrentIndex(1); // a port, so its boxes take keys
    for (int i = 0; i < 13; ++i) {
        if (!box(i)->isEnabled())
            list("cmbPortType")->setCurrentIndex(1 - list("cmbPortType")->currentIndex());
        ASSERT_TRUE(box(i)->isEnabled()) << i;
        for (const char* bad : {"", "abc", "-", ",,", "1e999", "99999999999999999999", "-5"}) {
            if (!win->app().simulationOn)
                QTest::mouseClick(button(2), Qt::LeftButton);
            box(i)->clear();
            QTest::keyClicks(box(i), bad);
            EXPECT_EQ(win->app().inputs.txtSize[static_cast<std::size_t>(i)], bad);
        }
        box(i)->setText(QString::fromStdString(firstRunInputs().txtSize[static_cast<std::size_t>(i)]));
    }
    SUCCEED();
}

TEST_P(FrmMainTest, TooBigWooferIsRefusedAndSimulationGoesOff)
{
    QTest::mouseClick(button(2), Qt::LeftButton);
    messages.messages.clear();
    list("cmbSize")->setCurrentIndex(5); // 18" = 45.72 cm, inner height 36.4 cm
    ASSERT_NE(messages.last(), nullptr);
    EXPECT_EQ(messages.last()->title, "Error: sub size");
    EXPECT_EQ(messages.last()->text, "Your sub is to big for the front plate");
    EXPECT_FALSE(win->app().simulationOn);
    EXPECT_EQ(button(2)->property("backColor").toInt(), 65280);
    EXPECT_EQ(list("cmbSize")->currentIndex(), 5);
}

TEST_P(FrmMainTest, PortCountEnablesFieldsOfTheType)
{
    EXPECT_FALSE(box(5)->isEnabled());
    EXPECT_FALSE(list("cmbPortType")->isEnabled());
    list("cmbPieces", 2)->setCurrentIndex(1);
    EXPECT_TRUE(box(5)->isEnabled());
    EXPECT_TRUE(box(6)->isEnabled()); // round port: diameter only
    EXPECT_FALSE(box(7)->isEnabled());
    EXPECT_FALSE(box(11)->isEnabled());
    list("cmbPortType")->setCurrentIndex(1);
    EXPECT_FALSE(box(6)->isEnabled());
    EXPECT_TRUE(box(7)->isEnabled());
    EXPECT_TRUE(box(8)->isEnabled());
    EXPECT_TRUE(box(11)->isEnabled());
    list("cmbPieces", 2)->setCurrentIndex(0);
    for (int i : {5, 6, 7, 8, 11})
        EXPECT_FALSE(box(i)->isEnabled()) << i;
    EXPECT_FALSE(list("cmbPortWhere")->isEnabled());
    EXPECT_EQ(win->app().inputs.pieces[2], 0);
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
    // The figure covers the input groups, but the three buttons stay on top and take the clicks.
    const QWidget* input = box(0);
    EXPECT_EQ(win->centralWidget()->childAt(input->mapTo(win->centralWidget(), input->rect().center())), fig);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(win->centralWidget()->childAt(button(i)->geometry().center()), button(i)) << i;
    EXPECT_EQ(clickThrough(button(0)), button(0));
    EXPECT_GT(fig->y(), 0);
}

TEST_P(FrmMainTest, UnreadTextIsFocusedAndFramedRedUntilItChanges)
{
    const std::pair<int, const char*> cases[] = {{0, "abc"}, {9, "x"}, {12, "1x"}, {13, "-"}};
    for (const auto& [index, bad] : cases) {
        QLineEdit* target = index == 13 ? qobject_cast<QLineEdit*>(win->control("txtVother")) : box(index);
        QTest::mouseClick(button(2), Qt::LeftButton);
        box(1)->setFocus();
        messages.messages.clear();
        target->setText(QString::fromLatin1(bad));
        ASSERT_NE(messages.last(), nullptr) << bad;
        EXPECT_EQ(messages.last()->text, "There has been a error [13]:\r\nType mismatch");
        EXPECT_FALSE(win->app().simulationOn);
        EXPECT_EQ(win->focusWidget(), target) << index;
        EXPECT_EQ(target->grab().toImage().pixelColor(0, target->height() / 2), QColor(Qt::red)) << index;
        QTest::keyClick(target, Qt::Key_Backspace);
        EXPECT_NE(target->grab().toImage().pixelColor(0, target->height() / 2), QColor(Qt::red)) << index;
        target->setText(QString::fromStdString(index == 13 ? "0" : firstRunInputs().txtSize[index]));
    }
    EXPECT_EQ(messages.messages.size(), 1u); // typing with simulation off asks nothing
}

TEST_P(FrmMainTest, FirstDrawingShowsOneLabelOfEachPairAsTheRecalculationDoes)
{
    const char* pairs[][2] = {{"lblB1(0)", "lblL4(1)"}, {"lblB1(1)", "lblL3(1)"}, {"lblB1(2)", "lblL4(2)"},
                              {"lblH3(0)", "lblH2(0)"}, {"lblH4(0)", "lblH2(1)"}, {"lblDP", "lblHP"}};
    for (int portType : {0, 1}) {
        list("cmbPieces", 2)->setCurrentIndex(1);
        list("cmbPortType")->setCurrentIndex(portType);
        std::vector<bool> before;
        for (const auto& pair : pairs) {
            const bool first = win->control(pair[0])->isVisible();
            EXPECT_NE(first, win->control(pair[1])->isVisible()) << pair[0] << " " << portType;
            before.push_back(first);
        }
        QTest::mouseClick(button(2), Qt::LeftButton);
        for (std::size_t i = 0; i < before.size(); ++i)
            EXPECT_EQ(win->control(pairs[i][0])->isVisible(), before[i]) << pairs[i][0] << " " << portType;
        QTest::mouseClick(button(2), Qt::LeftButton);
    }
}

TEST_P(FrmMainTest, LanguageTargetReadsAndWritesCaptions)
{
    EXPECT_EQ(win->property("cmdShow", 2, ControlProperty::Caption), "Simulatie");
    EXPECT_EQ(win->property("fraPort", std::nullopt, ControlProperty::Caption), "Poort Volume");
    EXPECT_EQ(win->property("lblVolume", std::nullopt, ControlProperty::HintText),
              "Dit is het volume dat de sub ziet");
    EXPECT_TRUE(win->setProperty("cmdShow", 1, ControlProperty::Caption, "Show Params"));
    EXPECT_EQ(button(1)->text(), "Show Params");
    EXPECT_FALSE(win->setProperty("nothing", 3, ControlProperty::Caption, "x"));
    EXPECT_EQ(win->property("txtSize", 0, ControlProperty::Caption), std::nullopt);
}

TEST_P(FrmMainTest, HostSetModelTextRecalculates)
{
    win->setSimulationFlag(true);
    win->setModelText(*findModelKey("h2"), "50");
    EXPECT_EQ(box(0)->text(), "50");
    EXPECT_EQ(text("lblVolumeOut"), "Outer Volume: 80 Liter");
    win->setModelListPosition(*findModelKey("corr"), 2);
    EXPECT_EQ(list("cmbCorrection")->currentIndex(), 2);
    EXPECT_EQ(win->app().inputs.corr, 2);
}

TEST_P(FrmMainTest, StartCountsAndTellsOfMissingLanguages)
{
    EXPECT_TRUE(settings().contains("USE=2")) << settings().toStdString();
    EXPECT_EQ(win->app().useCount, 1);
    ASSERT_EQ(startMessages.size(), 1u);
    EXPECT_EQ(startMessages[0].text, "Couldn't find any language file. Using Standard.");
    EXPECT_EQ(startMessages[0].title, win->caption());
    EXPECT_EQ(list("cmbCorrection")->itemText(2), "Dempingswol");
    EXPECT_EQ(win->caption(), toStdString(win->windowTitle()));
    EXPECT_FALSE(win->caption().empty());
}

TEST_P(FrmMainTest, ExitWritesInputsInOrderAndNextStartReadsThem)
{
    box(3)->clear();
    QTest::keyClicks(box(3), net("87.5").toStdString().c_str());
    box(0)->clear();
    list("cmbSize")->setCurrentIndex(3);
    win->close();
    const QString ini = settings();
    const QStringList order{"sub=",   "subvol=", "pieces0=", "pieces1=", "pieces2=", "corr=",  "pwhere=",
                            "ptype=", "l3=",     "b2=",      "ca=",      "cb=",      "lp=",    "dp=",
                            "bp=",    "hp=",     "thick0=",  "thick1=",  "thick2=",  "vother="};
    const qsizetype lu = ini.indexOf("[LU]");
    ASSERT_GE(lu, 0) << ini.toStdString();
    qsizetype at = lu;
    for (const QString& key : order) {
        const qsizetype next = ini.indexOf(QRegularExpression("(^|\\n)" + key), at);
        ASSERT_GT(next, at) << key.toStdString() << "\n" << ini.toStdString();
        at = next;
    }
    EXPECT_FALSE(ini.contains(QRegularExpression("(^|\\n)h2="))) << ini.toStdString();
    EXPECT_TRUE(ini.contains("ca=" + net("87.5")));
    EXPECT_TRUE(ini.contains("sub=3"));
    EXPECT_TRUE(ini.contains("[Main]"));

    frmMain again(AppPaths{dir.path().toStdString(), "kelvra"}, GetParam());
    EXPECT_EQ(again.app().inputs.txtSize[3], "88");
    EXPECT_EQ(again.app().inputs.txtSize[0], "40");
    EXPECT_EQ(again.app().inputs.sub, 3);
    EXPECT_EQ(again.app().useCount, 2);
    EXPECT_TRUE(settings().contains("USE=3"));
}

TEST_P(FrmMainTest, GuardedCommandsRefuseOutsideSimulation)
{
    const std::string base = "Niet in Simulatie modus, zet het programma eerst in simulatie modus voor";
    auto action = [this](const char* name) {
        return win->findChild<QAction*>(name);
    };
    ASSERT_NE(action("mnuFilePrint"), nullptr);
    EXPECT_EQ(action("mnuFilePrint")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    action("mnuFilePrint")->trigger();
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.last()->text, base + " print");
    EXPECT_EQ(messages.last()->title, "Printer");
    EXPECT_EQ(messages.last()->icon, MessageIcon::Exclamation);
    action("mnuFilePanel")->trigger();
    EXPECT_EQ(messages.last()->text, base + " layouter");
    EXPECT_EQ(messages.last()->title, "Simulation Layouter");
    EXPECT_EQ(win->findChild<QMainWindow*>(), nullptr);
    win->open3d();
    EXPECT_EQ(messages.last()->text, base + " 3D");
    EXPECT_EQ(messages.last()->title, "Simulation 3D");
    EXPECT_FALSE(action("mnuFile3d")->isEnabled());
    EXPECT_FALSE(action("mnuHelpFile")->isEnabled());
    EXPECT_EQ(messages.messages.size(), 3u);

    // In simulation mode the layouter opens and nothing is refused.
    action("mnuFileSim")->trigger();
    messages.messages.clear();
    action("mnuFilePanel")->trigger();
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_NE(win->findChild<QMainWindow*>(), nullptr);
}

TEST_P(FrmMainTest, FocusMovesRecalculateLikeChanges)
{
    QTest::mouseClick(button(2), Qt::LeftButton);
    {
        const QSignalBlocker quiet(box(0)); // a text the change handler has not seen yet
        box(0)->setText("50");
    }
    EXPECT_EQ(text("lblVolumeOut"), "Outer Volume: 64 Liter");
    QFocusEvent windowOnly(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(box(0), &windowOnly);
    EXPECT_EQ(text("lblVolumeOut"), "Outer Volume: 64 Liter");
    QFocusEvent tabIn(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(box(0), &tabIn);
    EXPECT_EQ(text("lblVolumeOut"), "Outer Volume: 80 Liter");
    EXPECT_EQ(win->app().inputs.txtSize[0], "50");

    {
        const QSignalBlocker quiet(box(2));
        box(2)->setText("50");
    }
    QFocusEvent tabOut(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(box(2), &tabOut);
    EXPECT_EQ(text("lblVolumeOut"), "Outer Volume: 100 Liter");
}

TEST_P(FrmMainTest, RefusedWooferAsksOnceWhenItsMessageGivesTheFocusBack)
{
    {
        const QSignalBlocker quiet(list("cmbSize"));
        list("cmbSize")->setCurrentIndex(5); // 18" does not fit an inner height of 36.4 cm
    }
    messages.messages.clear();
    QFocusEvent tabIn(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(list("cmbSize"), &tabIn);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_EQ(messages.last()->title, "Error: sub size");
    // Closing the message box hands the focus back to the list: no second message.
    QFocusEvent back(QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    QApplication::sendEvent(list("cmbSize"), &back);
    EXPECT_EQ(messages.messages.size(), 1u);
}

TEST_P(FrmMainTest, CaptionsUnitsAndHintTextsOfTheInputs)
{
    const std::vector<std::pair<int, QString>> captions{
        {0, "Hoogte"},           {1, "Lengte onderzijde"}, {3, "Hoek achterbank"},
        {8, "Fabrikant volume"}, {9, "Tussenwand Aantal"}, {10, "Tussenwand Plankdikte"},
        {20, "Plankdikte"}};
    for (const auto& [i, caption] : captions) {
        auto* label = qobject_cast<FitLabel*>(win->control("Label1", i));
        ASSERT_NE(label, nullptr) << i;
        EXPECT_EQ(label->text(), caption);
        EXPECT_FALSE(label->elided()) << caption.toStdString() << " is cut off";
    }
    EXPECT_EQ(qobject_cast<QLabel*>(win->control("lblUnit", 8))->text(), "Liter");
    EXPECT_EQ(qobject_cast<QLabel*>(win->control("lblUnit", 11))->text(), "Liter");
    EXPECT_EQ(qobject_cast<QLabel*>(win->control("lblUnit", 3))->text(), QString::fromUtf8("°"));
    for (int i : {9, 10, 11})
        EXPECT_EQ(box(i)->toolTip(), "Standard: 9, 12, 18, 22, 30 ") << i;
    EXPECT_EQ(box(0)->toolTip(), "");
}

TEST_P(FrmMainTest, MenuItemsAreAddressedByTheirNames)
{
    EXPECT_EQ(win->property("mnuFileNOS", 1, ControlProperty::Caption), "Open");
    EXPECT_EQ(win->property("mnuFile", std::nullopt, ControlProperty::Caption), "&File");
    EXPECT_TRUE(win->setProperty("mnuFileNOS", 1, ControlProperty::Caption, "&Openen"));
    EXPECT_TRUE(win->setProperty("mnuHelp", std::nullopt, ControlProperty::Caption, "&Hulp"));
    EXPECT_FALSE(win->setProperty("mnuFileNOS", 1, ControlProperty::HintText, "x"));
    EXPECT_FALSE(win->setProperty("mnuFileS1", std::nullopt, ControlProperty::Caption, "x"));
    QAction* open = win->findChild<QAction*>("mnuFileNOS(1)");
    ASSERT_NE(open, nullptr);
    EXPECT_EQ(open->text(), "&Openen");
    EXPECT_EQ(open->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(win->findChild<QMenu*>("mnuHelp")->title(), "&Hulp");
}

INSTANTIATE_TEST_SUITE_P(Separators, FrmMainTest, ::testing::Values(',', '.'), kelvra::test::SeparatorName());

} // namespace
