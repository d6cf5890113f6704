// The fit window opened from the real main window: a search off the user-interface thread that the
// window shows and Cancel stops, bad boxes named, and "Use this design" putting every input into the main
// window.
#include "gui/common/WindowTexts.h"
#include "gui/fit/frmFit.h"
#include "lang/ApplyLanguage.h"
#include "persist/Ini.h"
#include "tests/support/MainWindowFixture.h"
#include "units/Units.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include <filesystem>

using namespace kelvra;

namespace
{

class FrmFitTest : public kelvra::test::MainWindowTest
{
protected:
    // Simulation on, the shipped 8" example as the sound window keeps it, and the window from the menu.
    frmFit* openWithWoofer()
    {
        simulation(true);
        const std::pair<const char*, const char*> woofer[] = {{"fs", "38"},  {"qes", "0,5"}, {"qms", "4,5"},
                                                              {"vas", "22"}, {"sd", "220"},  {"xmax", "8"},
                                                              {"re", "3,6"}, {"pe", "200"},  {"le", "1"}};
        for (const auto& [key, text] : woofer)
            *win->app().sound.find(key) = u(text);
        list("cmbSize")->setCurrentIndex(1); // 8"
        action("mnuFileFit")->trigger();
        return win->findChild<frmFit*>();
    }
    void typeBoot(frmFit* f, const char* depth, const char* height, const char* width)
    {
        f->box("bootdepth")->setText(QString::fromStdString(u(depth)));
        f->box("bootheight")->setText(QString::fromStdString(u(height)));
        f->box("bootwidth")->setText(QString::fromStdString(u(width)));
        f->box("power")->setText("60");
        f->box("subsonic")->setText("30");
    }
    static QString status(frmFit* f) { return f->findChild<QLabel*>("lblStatus")->text(); }
};

} // namespace

TEST_P(FrmFitTest, TheBestDesignGoesIntoTheMainWindowWithEveryInput)
{
    frmFit* f = openWithWoofer();
    ASSERT_NE(f, nullptr);
    typeBoot(f, "40", "30", "40,5");
    QSignalSpy finished(f, &frmFit::searchFinished);
    QTest::mouseClick(f->findChild<QPushButton*>("cmdSearch"), Qt::LeftButton);
    ASSERT_TRUE(finished.wait(20000));
    ASSERT_TRUE(f->result() && f->result()->best) << status(f).toStdString();
    const FitDesign best = *f->result()->best;
    auto* table = f->findChild<QTableWidget*>("tblFront");
    EXPECT_EQ(table->rowCount(), 1 + static_cast<int>(f->result()->front.size()));
    EXPECT_EQ(table->item(0, 1)->text().toStdString(),
              best.inputs.h2 + " x " + best.inputs.b2 + " x " + best.inputs.l3);
    EXPECT_FALSE(table->item(0, 2)->text().contains(sep() == ',' ? '.' : ','));

    // In inches the same boot is typed in inches and the sizes read in inches.
    win->app().measure = Measure::Imperial;
    f->hide();
    f->show();
    EXPECT_TRUE(f->box("bootdepth")->property("shownInMeasure").toBool());
    // A language's captions and headings, given in cm and litres, read in inches and cubic feet.
    for (const char* file : {"Dutch_lng.ini", "English_lng.ini"}) {
        const std::string path = (std::filesystem::path(KELVRA_LANGUAGE_DIR) / file).string();
        WindowTexts texts(*f);
        ApplyLanguageToForm(path, texts, sep());
        QEvent changed(QEvent::LanguageChange);
        QCoreApplication::sendEvent(f, &changed);
        const auto inInches = [&](const char* key) {
            return QString::fromStdString(ReadLanguageValue(path, "frmFit", key, "?"))
                .replace("(cm)", "(in)")
                .replace("(l)", "(ft³)");
        };
        EXPECT_EQ(f->findChild<QLabel*>("lblBootDepth")->text(), inInches("lblBootDepth")) << file;
        EXPECT_EQ(table->horizontalHeaderItem(2)->text(), inInches("colNet")) << file;
    }
    typeBoot(f, "15 3/4", "11 13/16", "15 15/16"); // 40, 30 and 40,5 cm to 1/16"
    QTest::mouseClick(f->findChild<QPushButton*>("cmdSearch"), Qt::LeftButton);
    ASSERT_TRUE(finished.wait(20000));
    ASSERT_TRUE(f->result() && f->result()->best) << status(f).toStdString();
    const FitDesign& inInches = *f->result()->best;
    EXPECT_EQ(table->item(0, 1)->text().toStdString(),
              typedTextOfModel(Quantity::Length, inInches.inputs.h2, Measure::Imperial, sep()) + " x " +
                  typedTextOfModel(Quantity::Length, inInches.inputs.b2, Measure::Imperial, sep()) + " x " +
                  typedTextOfModel(Quantity::Length, inInches.inputs.l3, Measure::Imperial, sep()));
    EXPECT_TRUE(f->findChild<QLabel*>("lblBest")->text().contains(" in, "))
        << f->findChild<QLabel*>("lblBest")->text().toStdString();
    // The volume columns, headed in cubic feet, show cubic feet.
    for (int column : {2, 9})
        EXPECT_EQ(table->item(0, column)->text().toStdString(),
                  volumeText(column == 2 ? inInches.netVolume : inInches.outerVolume, Measure::Imperial,
                             sep(), false));
    win->app().measure = Measure::Metric;

    QTest::mouseClick(f->findChild<QPushButton*>("cmdUseDesign"), Qt::LeftButton);
    EXPECT_EQ(win->app().inputs, inInches.inputs);
    EXPECT_EQ(box(0)->text().toStdString(), inInches.inputs.h2);
    EXPECT_TRUE(win->app().simulationOn);
    // The main window recalculated the design it now holds.
    EXPECT_NE(win->app().calc.lblVolume.find("Liter"), std::string::npos);
    EXPECT_TRUE(messages.messages.empty());
}

TEST_P(FrmFitTest, CancelStopsTheSearchAndABadBoxIsNamed)
{
    frmFit* f = openWithWoofer();
    f->box("goalf")->setText("abc");
    QTest::mouseClick(f->findChild<QPushButton*>("cmdSearch"), Qt::LeftButton);
    EXPECT_FALSE(f->searching());
    EXPECT_EQ(status(f), "F (Hz): geen getal: 'abc'");

    f->box("goalf")->setText("40");
    typeBoot(f, "120", "80", "150");
    QSignalSpy finished(f, &frmFit::searchFinished);
    QTest::mouseClick(f->findChild<QPushButton*>("cmdSearch"), Qt::LeftButton);
    EXPECT_TRUE(f->searching());
    QTest::mouseClick(f->findChild<QPushButton*>("cmdCancel"), Qt::LeftButton);
    ASSERT_TRUE(finished.wait(2000));
    EXPECT_FALSE(f->searching());
    EXPECT_EQ(status(f), "Geannuleerd.");
    EXPECT_FALSE(f->result().has_value());
}

INSTANTIATE_TEST_SUITE_P(Locale, FrmFitTest, ::testing::Values(',', '.'), kelvra::test::SeparatorName{});
