// The main window's language loading through the main-window interface, and the options dialog
// "Settings": its controls, the language list or the greyed "Standard", the display-only measurement
// list, and OK, Cancel and Apply.
#include "gui/common/Twips.h"
#include "gui/lang/LoadLanguage.h"
#include "gui/lang/frmOptions.h"
#include "tests/support/FakeHost.h"
#include "tests/support/FakeLanguageTarget.h"
#include "tests/support/SeparatorText.h"
#include "tests/support/TempFolder.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

using namespace kelvra;
using namespace kelvra::test;

namespace
{

class LanguageWindowTest : public ::testing::TestWithParam<char>
{
protected:
    void SetUp() override
    {
        setMessageService(&messages);
        window.add("fraPort", std::nullopt, "Poort Volume");
    }
    void TearDown() override { setMessageService(nullptr); }

    // Three languages, each translating fraPort and the first port type.
    void writeThreeLanguages()
    {
        for (const std::string name : {"Alpha", "Beta", "Gamma"})
            dir.putLines(name + "_lng.ini", {"[IDENTIFICATION]", "language=" + name, "[frmMain]",
                                             "fraPort=Port " + name, "[.]", "PortType(0)=Round " + name});
    }
    // The host as the main window starts: the language files found, their messages shown.
    FakeHost& host()
    {
        if (!m_host) {
            m_host = std::make_unique<FakeHost>(AppPaths{dir.path(), "kelvra"}, GetParam());
            m_host->setCaption("Kelvra [0.1 Build53]");
            FindLanguages(*m_host);
        }
        return *m_host;
    }
    std::string storedRow() { return host().app().ini.ReadIni("Settings", "Language", "absent"); }

    TempFolder dir;
    RecordingMessageService messages;
    FakeTarget window;

private:
    std::unique_ptr<FakeHost> m_host;
};
INSTANTIATE_TEST_SUITE_P(Locale, LanguageWindowTest, ::testing::Values(',', '.'), SeparatorName());

} // namespace

TEST_P(LanguageWindowTest, WithoutFilesTheNoticeAndTheBuiltInListsAtTheStoredPositions)
{
    dir.putLines("kelvra.ini", {"[LU]", "corr=2", "pwhere=3", "ptype=1"});
    host().app().tables.portBox[0] = "Stale";
    EXPECT_FALSE(host().app().languagesFound);
    EXPECT_EQ(messages.messages,
              (std::vector<Message>{{"Couldn't find any language file. Using Standard.",
                                     "Kelvra [0.1 Build53]", MessageIcon::Information, MessageButtons::Ok}}));
    messages.messages.clear();
    Load_Language(host(), window, LanguageLoad::AtStart);
    EXPECT_EQ(host().app().tables, ResetTextTables());
    EXPECT_EQ(host().entries("cmbPortWhere"),
              (QStringList{"Voorzijde", "Achterzijde", "Bovenzijde", "Linker zijkant", "Rechter zijkant"}));
    EXPECT_EQ(host().entries("cmbCorrection"), (QStringList{"Geen", "Noppenfolie", "Dempingswol"}));
    EXPECT_EQ(host().entries("cmbPortType"), (QStringList{"Ronde", "Rechthoekige"}));
    EXPECT_EQ(host().refills, 1);
    EXPECT_EQ(host().positionsSet, (decltype(host().positionsSet){{"corr", 2}, {"pwhere", 3}, {"ptype", 1}}));
    EXPECT_EQ(host().lists["cmbPortWhere"]->currentIndex(), 3);
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_EQ(storedRow(), "absent");

    // Apply in the options dialog still restores the built-in tables; the lists stay where the user put them.
    host().app().tables.portType[0] = "Stale";
    host().lists["cmbCorrection"]->setCurrentIndex(0);
    frmOptions dlg(host(), window);
    dlg.show();
    QTest::mouseClick(dlg.cmdApply(), Qt::LeftButton);
    EXPECT_EQ(host().app().tables, ResetTextTables());
    EXPECT_EQ(host().refills, 2);
    EXPECT_EQ(host().lists["cmbCorrection"]->currentText(), "Geen");
    EXPECT_TRUE(dlg.isVisible()); // Apply stays open
    QTest::mouseClick(dlg.cmdOK(), Qt::LeftButton);
    EXPECT_EQ(host().refills, 3);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

TEST_P(LanguageWindowTest, ChosenFileTranslatesWindowAndListsAndIsStored)
{
    dir.putLines("A_lng.ini", {"[IDENTIFICATION]", "language=Alpha"});
    dir.putLines("B_lng.ini", {"[IDENTIFICATION]", "language=Beta", "[frmMain]", "fraPort=Port volume", "[.]",
                               "PortType(0)=Round", "PortType(1)=Rectangular", "PortBox(5)=Sixth"});
    dir.putLines("kelvra.ini", {"[Settings]", "Language=1", "[LU]", "ptype=1"});
    EXPECT_EQ(host().app().languages,
              (std::vector<LanguageRow>{{"Alpha", "A_lng.ini"}, {"Beta", "B_lng.ini"}}));
    EXPECT_EQ(host().app().languageIndex, 1);
    EXPECT_TRUE(messages.messages.empty());
    Load_Language(host(), window, LanguageLoad::AtStart);
    EXPECT_EQ(window.caption("fraPort"), "Port volume");
    EXPECT_EQ(host().entries("cmbPortType"), (QStringList{"Round", "Rectangular"}));
    EXPECT_EQ(host().lists["cmbPortType"]->currentText(), "Rectangular");
    EXPECT_EQ(storedRow(), "1");
    EXPECT_EQ(messages.messages,
              (std::vector<Message>{{"Invalid control name in language file B_lng.ini\r\n"
                                     "Controlname: PortBox(5)",
                                     "Error", MessageIcon::Critical, MessageButtons::Ok}}));
}

TEST_P(LanguageWindowTest, ControlsAtTheirPlacesWithTheirTextsAndTheGreyedStandard)
{
    frmOptions dlg(host(), window);
    EXPECT_EQ(dlg.windowTitle(), "Settings");
    EXPECT_TRUE(dlg.isModal());
    EXPECT_EQ(dlg.size(), QSize(twipsToPixels(3360), twipsToPixels(1605)));
    EXPECT_EQ(dlg.minimumSize(), dlg.maximumSize()); // fixed-size border
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(dlg.pos(), screen.topLeft() + QPoint((screen.width() - dlg.width()) / 2,
                                                   (screen.height() - dlg.height()) / 2));
    const std::tuple<QPushButton*, const char*, const char*, double> buttons[] = {
        {dlg.cmdOK(), "cmdOK", "OK", 120},
        {dlg.cmdCancel(), "cmdCancel", "Cancel", 600},
        {dlg.cmdApply(), "cmdApply", "Apply", 1080}};
    for (const auto& [button, name, caption, top] : buttons) {
        EXPECT_EQ(button, dlg.findChild<QPushButton*>(name));
        EXPECT_EQ(button->text(), caption);
        EXPECT_EQ(button->geometry(), twipRect(120, top, 1095, 375)) << name;
    }
    EXPECT_EQ(dlg.cboLanguage()->objectName(), "cboLanguage");
    EXPECT_EQ(dlg.cboLanguage()->geometry(), twipRect(1440, 120, 1815, 315));
    EXPECT_TRUE(dlg.cboLanguage()->isEditable());
    EXPECT_EQ(dlg.cmbMeasure()->objectName(), "cmbMeasure");
    EXPECT_EQ(dlg.cmbMeasure()->geometry(), twipRect(1440, 600, 1815, 315));
    EXPECT_EQ(entries(dlg.cmbMeasure()), (QStringList{"Metric", "Imperial"}));
    EXPECT_EQ(dlg.cmbMeasure()->currentIndex(), 0);
    EXPECT_EQ(entries(dlg.cboLanguage()), QStringList{"Standard"});
    EXPECT_EQ(dlg.cboLanguage()->currentText(), "Standard");
    EXPECT_FALSE(dlg.cboLanguage()->isEnabled());
}

TEST_P(LanguageWindowTest, ApplyLoadsTheChosenLanguageAndCancelThenKeepsIt)
{
    writeThreeLanguages();
    dir.putLines("kelvra.ini", {"[Settings]", "Language=1", "[LU]", "corr=2", "pwhere=1", "ptype=0"});
    // The user has changed the lists since the start.
    host().lists["cmbCorrection"]->setCurrentIndex(0);
    host().lists["cmbPortWhere"]->setCurrentIndex(4);
    host().lists["cmbPortType"]->setCurrentIndex(1);
    frmOptions dlg(host(), window);
    dlg.show();
    EXPECT_EQ(entries(dlg.cboLanguage()), (QStringList{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(dlg.cboLanguage()->currentText(), "Beta");
    EXPECT_EQ(dlg.selectedLanguage(), 1);
    dlg.cboLanguage()->setCurrentIndex(2);
    QTest::mouseClick(dlg.cmdApply(), Qt::LeftButton);
    EXPECT_EQ(window.caption("fraPort"), "Port Gamma");
    EXPECT_EQ(host().entries("cmbPortType"), (QStringList{"Round Gamma", "Rechthoekige"}));
    // The lists keep the user's choices, not the positions stored at the last exit, and the design is
    // recalculated with the new texts.
    EXPECT_EQ(host().lists["cmbCorrection"]->currentIndex(), 0);
    EXPECT_EQ(host().lists["cmbPortWhere"]->currentIndex(), 4);
    EXPECT_EQ(host().lists["cmbPortType"]->currentIndex(), 1);
    EXPECT_EQ(host().recalculations.size(), 1u);
    EXPECT_EQ(storedRow(), "2");
    dlg.cboLanguage()->setCurrentIndex(0);
    QTest::mouseClick(dlg.cmdCancel(), Qt::LeftButton);
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(host().app().languageIndex, 2);
    EXPECT_EQ(window.caption("fraPort"), "Port Gamma");
    EXPECT_EQ(storedRow(), "2");
}

TEST_P(LanguageWindowTest, CancelTheTitleBarAndTypedTextThatNamesNoLanguageApplyNothing)
{
    writeThreeLanguages();
    for (int way = 0; way < 3; ++way) {
        frmOptions dlg(host(), window);
        dlg.show();
        dlg.cboLanguage()->setCurrentIndex(2);
        if (way == 0)
            QTest::mouseClick(dlg.cmdCancel(), Qt::LeftButton);
        if (way == 1)
            dlg.close();
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
        if (way == 2) { // a typed name chooses its language, compared exactly
            for (const auto& [typed, row] : {std::pair{"Gamma", 2}, {"gamma", -1}, {"Klingon", -1}}) {
                dlg.cboLanguage()->lineEdit()->clear();
                QTest::keyClicks(dlg.cboLanguage()->lineEdit(), typed);
                EXPECT_EQ(dlg.selectedLanguage(), row) << typed;
            }
            QTest::mouseClick(dlg.cmdApply(), Qt::LeftButton);
            EXPECT_EQ(entries(dlg.cboLanguage()), (QStringList{"Alpha", "Beta", "Gamma"})); // nothing added
            QTest::mouseClick(dlg.cmdOK(), Qt::LeftButton);
        }
    }
    EXPECT_EQ(host().app().languageIndex, 0);
    EXPECT_EQ(host().refills, 0);
    EXPECT_EQ(window.caption("fraPort"), "Poort Volume");
    EXPECT_FALSE(std::filesystem::exists(dir.file("kelvra.ini")));
    EXPECT_EQ(frmOptions(host(), window).cmbMeasure()->currentText(), "Metric");
}
