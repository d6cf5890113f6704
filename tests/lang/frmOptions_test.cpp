// The options dialog "Settings": its controls, the language list or the greyed "Standard", the
// display-only measurement list, and OK, Cancel and Apply.
#include "gui/common/Twips.h"
#include "gui/lang/LoadLanguage.h"
#include "gui/lang/frmOptions.h"
#include "tests/lang/LangTestSupport.h"
#include "tests/support/FakeHost.h"

#include <QApplication>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

using namespace kelvra;
using namespace kelvra::test;

namespace
{

class frmOptionsTest : public ::testing::TestWithParam<char>
{
protected:
    void SetUp() override { setMessageService(&messages); }
    void TearDown() override { setMessageService(nullptr); }

    // Three languages, each translating fraPort and the port types.
    void writeThreeLanguages()
    {
        for (const char* name : {"Alpha", "Beta", "Gamma"})
            dir.write(std::string(name) + "_lng.ini",
                      {"[IDENTIFICATION]", std::string("language=") + name, "[frmMain]",
                       std::string("fraPort=Port ") + name, "[.]", std::string("PortType(0)=Round ") + name});
    }
    FakeHost& host()
    {
        if (!m_host) {
            m_host = std::make_unique<FakeHost>(AppPaths{dir.path(), "kelvra"}, GetParam());
            FindLanguages(*m_host);
            messages.messages.clear();
        }
        return *m_host;
    }

    TempFolder dir;
    RecordingMessageService messages;
    FakeTarget window;

private:
    std::unique_ptr<FakeHost> m_host;
};
INSTANTIATE_TEST_SUITE_P(Locale, frmOptionsTest, ::testing::Values(',', '.'),
                         [](const auto& info) { return info.param == ',' ? "comma" : "point"; });

QStringList entries(const QComboBox* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->itemText(i);
    return out;
}

} // namespace

TEST_P(frmOptionsTest, ControlsAtTheirPlacesWithTheirTexts)
{
    frmOptions dlg(host(), window);
    EXPECT_EQ(dlg.windowTitle(), "Settings");
    EXPECT_TRUE(dlg.isModal());
    EXPECT_EQ(dlg.size(), QSize(twipsToPixels(3360), twipsToPixels(1605)));
    EXPECT_EQ(dlg.minimumSize(), dlg.maximumSize()); // fixed-size border
    struct Case {
        QPushButton* button;
        const char* name;
        const char* caption;
        double top;
    };
    for (const Case& c :
         {Case{dlg.cmdOK(), "cmdOK", "OK", 120}, Case{dlg.cmdCancel(), "cmdCancel", "Cancel", 600},
          Case{dlg.cmdApply(), "cmdApply", "Apply", 1080}}) {
        EXPECT_EQ(c.button, dlg.findChild<QPushButton*>(c.name));
        EXPECT_EQ(c.button->text(), c.caption);
        EXPECT_EQ(c.button->geometry(), twipRect(120, c.top, 1095, 375)) << c.name;
    }
    EXPECT_EQ(dlg.cboLanguage()->objectName(), "cboLanguage");
    EXPECT_EQ(dlg.cboLanguage()->geometry(), twipRect(1440, 120, 1815, 315));
    EXPECT_TRUE(dlg.cboLanguage()->isEditable());
    EXPECT_EQ(dlg.cmbMeasure()->objectName(), "cmbMeasure");
    EXPECT_EQ(dlg.cmbMeasure()->geometry(), twipRect(1440, 600, 1815, 315));
    EXPECT_EQ(entries(dlg.cmbMeasure()), (QStringList{"Metric", "Imperial"}));
    EXPECT_EQ(dlg.cmbMeasure()->currentIndex(), 0);
}

TEST_P(frmOptionsTest, CentredOnTheScreen)
{
    frmOptions dlg(host(), window);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(dlg.x(), screen.x() + (screen.width() - dlg.width()) / 2);
    EXPECT_EQ(dlg.y(), screen.y() + (screen.height() - dlg.height()) / 2);
}

TEST_P(frmOptionsTest, NoLanguageFileOffersTheGreyedStandard)
{
    frmOptions dlg(host(), window);
    EXPECT_EQ(entries(dlg.cboLanguage()), QStringList{"Standard"});
    EXPECT_EQ(dlg.cboLanguage()->currentText(), "Standard");
    EXPECT_FALSE(dlg.cboLanguage()->isEnabled());
}

TEST_P(frmOptionsTest, NoLanguageFileApplyStillRestoresTheBuiltInTables)
{
    dir.write("kelvra.ini", {"[LU]", "corr=1"});
    host().app().tables.portType[0] = "Stale";
    frmOptions dlg(host(), window);
    dlg.show();
    QTest::mouseClick(dlg.cmdApply(), Qt::LeftButton);
    EXPECT_EQ(host().app().tables, ResetTextTables());
    EXPECT_EQ(host().refills, 1);
    EXPECT_EQ(host().lists["cmbCorrection"]->currentText(), "Noppenfolie");
    EXPECT_TRUE(dlg.isVisible()); // Apply stays open
    QTest::mouseClick(dlg.cmdOK(), Qt::LeftButton);
    EXPECT_EQ(host().refills, 2);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

TEST_P(frmOptionsTest, ThreeFilesWithStoredRowOneSelectTheSecond)
{
    writeThreeLanguages();
    dir.write("kelvra.ini", {"[Settings]", "Language=1"});
    frmOptions dlg(host(), window);
    EXPECT_EQ(entries(dlg.cboLanguage()), (QStringList{"Alpha", "Beta", "Gamma"}));
    EXPECT_EQ(dlg.cboLanguage()->currentIndex(), 1);
    EXPECT_EQ(dlg.cboLanguage()->currentText(), "Beta");
    EXPECT_TRUE(dlg.cboLanguage()->isEnabled());
    EXPECT_EQ(dlg.selectedLanguage(), 1);
}

TEST_P(frmOptionsTest, ApplyLoadsTheChosenLanguageAndResetsTheListsToTheStoredPositions)
{
    writeThreeLanguages();
    dir.write("kelvra.ini", {"[LU]", "corr=2", "pwhere=1", "ptype=0"});
    window.add("fraPort", std::nullopt, "Poort Volume");
    host();
    // The user has changed the lists since the start.
    host().lists["cmbCorrection"]->setCurrentIndex(0);
    host().lists["cmbPortWhere"]->setCurrentIndex(4);
    host().lists["cmbPortType"]->setCurrentIndex(1);

    frmOptions dlg(host(), window);
    dlg.show();
    dlg.cboLanguage()->setCurrentIndex(2);
    QTest::mouseClick(dlg.cmdApply(), Qt::LeftButton);
    EXPECT_EQ(host().app().languageIndex, 2);
    EXPECT_EQ(window.caption("fraPort"), "Port Gamma");
    EXPECT_EQ(host().entries("cmbPortType"), (QStringList{"Round Gamma", "Rechthoekige"}));
    EXPECT_EQ(host().lists["cmbCorrection"]->currentIndex(), 2);
    EXPECT_EQ(host().lists["cmbPortWhere"]->currentIndex(), 1);
    EXPECT_EQ(host().lists["cmbPortType"]->currentIndex(), 0);
    EXPECT_EQ(host().app().ini.ReadIni("Settings", "Language", "?"), "2");
    EXPECT_TRUE(dlg.isVisible());
}

TEST_P(frmOptionsTest, LanguageAppliedStaysWhenTheDialogIsThenCancelled)
{
    writeThreeLanguages();
    window.add("fraPort", std::nullopt, "Poort Volume");
    frmOptions dlg(host(), window);
    dlg.show();
    dlg.cboLanguage()->setCurrentIndex(1);
    QTest::mouseClick(dlg.cmdApply(), Qt::LeftButton);
    dlg.cboLanguage()->setCurrentIndex(2);
    QTest::mouseClick(dlg.cmdCancel(), Qt::LeftButton);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(host().app().languageIndex, 1);
    EXPECT_EQ(window.caption("fraPort"), "Port Beta");
    EXPECT_EQ(host().app().ini.ReadIni("Settings", "Language", "?"), "1");
}

TEST_P(frmOptionsTest, CancelAndTheTitleBarApplyNothing)
{
    writeThreeLanguages();
    window.add("fraPort", std::nullopt, "Poort Volume");
    {
        frmOptions dlg(host(), window);
        dlg.show();
        dlg.cboLanguage()->setCurrentIndex(2);
        QTest::mouseClick(dlg.cmdCancel(), Qt::LeftButton);
    }
    {
        frmOptions dlg(host(), window);
        dlg.show();
        dlg.cboLanguage()->setCurrentIndex(1);
        dlg.close();
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
    }
    EXPECT_EQ(host().app().languageIndex, 0);
    EXPECT_EQ(host().refills, 0);
    EXPECT_EQ(window.caption("fraPort"), "Poort Volume");
    EXPECT_FALSE(std::filesystem::exists(dir.file("kelvra.ini")));
}

TEST_P(frmOptionsTest, TypedTextInsteadOfAChoiceAppliesNothing)
{
    writeThreeLanguages();
    window.add("fraPort", std::nullopt, "Poort Volume");
    frmOptions dlg(host(), window);
    dlg.show();
    dlg.cboLanguage()->lineEdit()->clear();
    QTest::keyClicks(dlg.cboLanguage()->lineEdit(), "Klingon");
    EXPECT_EQ(dlg.selectedLanguage(), -1);
    QTest::mouseClick(dlg.cmdApply(), Qt::LeftButton);
    EXPECT_EQ(host().refills, 0);
    EXPECT_EQ(window.caption("fraPort"), "Poort Volume");
    EXPECT_EQ(entries(dlg.cboLanguage()), (QStringList{"Alpha", "Beta", "Gamma"})); // nothing added
    QTest::mouseClick(dlg.cmdOK(), Qt::LeftButton);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(host().refills, 0);
}

TEST_P(frmOptionsTest, TypedNameOfALanguageChoosesIt)
{
    writeThreeLanguages();
    window.add("fraPort", std::nullopt, "Poort Volume");
    frmOptions dlg(host(), window);
    dlg.show();
    dlg.cboLanguage()->lineEdit()->clear();
    QTest::keyClicks(dlg.cboLanguage()->lineEdit(), "Gamma");
    EXPECT_EQ(dlg.selectedLanguage(), 2);
    QTest::mouseClick(dlg.cmdApply(), Qt::LeftButton);
    EXPECT_EQ(window.caption("fraPort"), "Port Gamma");
    dlg.cboLanguage()->lineEdit()->clear();
    QTest::keyClicks(dlg.cboLanguage()->lineEdit(), "gamma"); // names are compared exactly
    EXPECT_EQ(dlg.selectedLanguage(), -1);
}

TEST_P(frmOptionsTest, ImperialChangesNothingAndTheNextOpeningShowsMetric)
{
    writeThreeLanguages();
    window.add("fraPort", std::nullopt, "Poort Volume");
    {
        frmOptions dlg(host(), window);
        dlg.show();
        dlg.cmbMeasure()->setCurrentIndex(1);
        QTest::mouseClick(dlg.cmdOK(), Qt::LeftButton);
        EXPECT_FALSE(dlg.isVisible());
    }
    // OK applied the language that was already chosen; the measurement system is not kept.
    const std::string settings = dir.read("kelvra.ini");
    EXPECT_EQ(settings.find("Imperial"), std::string::npos);
    EXPECT_EQ(settings.find("Measure"), std::string::npos);
    frmOptions again(host(), window);
    EXPECT_EQ(again.cmbMeasure()->currentIndex(), 0);
    EXPECT_EQ(again.cmbMeasure()->currentText(), "Metric");
}

TEST_P(frmOptionsTest, ExecIsModalUntilOK)
{
    writeThreeLanguages();
    frmOptions dlg(host(), window, host().window());
    bool wasModal = false;
    QTimer::singleShot(0, &dlg, [&] {
        wasModal = QApplication::activeModalWidget() == &dlg;
        dlg.cboLanguage()->setCurrentIndex(2);
        QTest::mouseClick(dlg.cmdOK(), Qt::LeftButton);
    });
    EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    EXPECT_TRUE(wasModal);
    EXPECT_EQ(host().app().languageIndex, 2);
}
