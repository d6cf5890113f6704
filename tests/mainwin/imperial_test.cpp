// The main window in inches: the options dialog switches it and the settings file keeps the choice, a
// design typed in inches is the same design as typed in cm, and a metric project opened in imperial is
// saved back unchanged.
#include "gui/lang/frmOptions.h"
#include "persist/ProjectFile.h"
#include "tests/support/MainWindowFixture.h"

#include <QPushButton>
#include <QTest>

#include <fstream>
#include <sstream>

using namespace kelvra;
using kelvra::test::MainWindowTest;

namespace
{

class ImperialTest : public MainWindowTest
{
protected:
    void chooseMeasure(int entry)
    {
        frmOptions dlg(*win, *win);
        EXPECT_EQ(dlg.cmbMeasure()->currentIndex(), static_cast<int>(win->app().measure));
        dlg.cmbMeasure()->setCurrentIndex(entry);
        QTest::mouseClick(dlg.cmdOK(), Qt::LeftButton);
    }
    // The input box of a model field.
    QLineEdit* input(std::string ModelInputs::*field) const { return box(textKeyOf(field).control); }
    QString unit(int label) const { return qobject_cast<QLabel*>(win->control("lblUnit", label))->text(); }
    static std::string bytes(const std::string& path)
    {
        std::ifstream f(path, std::ios::binary);
        std::ostringstream s;
        s << f.rdbuf();
        return s.str();
    }
};

} // namespace

TEST_P(ImperialTest, OptionsSwitchUnitsAndTheSettingsKeepThem)
{
    EXPECT_EQ(input(&ModelInputs::h2)->text(), "40");
    chooseMeasure(1);
    EXPECT_TRUE(settings().contains("Measure=1"));
    EXPECT_EQ(win->app().measure, Measure::Imperial);
    EXPECT_EQ(input(&ModelInputs::h2)->text(), "15 3/4");    // 40 cm
    EXPECT_EQ(input(&ModelInputs::thick0)->text(), "11/16"); // 18 mm
    EXPECT_EQ(unit(0), "in");
    EXPECT_EQ(unit(3), QString::fromUtf8("°")); // angles stay degrees
    EXPECT_EQ(win->app().inputs.h2, "40");      // the model stays metric
    chooseMeasure(0);
    EXPECT_TRUE(settings().contains("Measure=0"));
    EXPECT_EQ(input(&ModelInputs::h2)->text(), "40");
    EXPECT_EQ(unit(0), "cm");
}

TEST_P(ImperialTest, DesignTypedInInchesEqualsTheDesignInCm)
{
    // The same box typed in cm and then in inches: every figure, caption aside, alike.
    using Field = std::string ModelInputs::*;
    const std::pair<Field, const char*> cm[] = {{&ModelInputs::h2, "30,48"},
                                                {&ModelInputs::l3, "50,8"},
                                                {&ModelInputs::b2, "76,2"},
                                                {&ModelInputs::thick0, "19"}};
    const std::pair<Field, const char*> inches[] = {{&ModelInputs::h2, "12"},
                                                    {&ModelInputs::l3, "20"},
                                                    {&ModelInputs::b2, "30"},
                                                    {&ModelInputs::thick0, "3/4"}};
    for (const auto& [field, text] : cm)
        input(field)->setText(QString::fromStdString(u(text)));
    simulation(true);
    const CalcState metric = win->app().calc;
    const ModelInputs metricInputs = win->app().inputs;
    simulation(false);
    chooseMeasure(1);
    for (const auto& [field, text] : inches) {
        input(field)->setText("1");
        input(field)->setText(QString::fromStdString(u(text)));
    }
    simulation(true);
    EXPECT_EQ(win->app().inputs, metricInputs);
    EXPECT_EQ(win->app().calc, metric);
    EXPECT_TRUE(messages.messages.empty());
    // "12-1/2" and "12 1/2" are one length; a fraction over 0 points at its box like any unread text.
    input(&ModelInputs::h2)->setText("12-1/2");
    EXPECT_EQ(win->app().inputs.h2, u("31,75"));
    input(&ModelInputs::h2)->setText("12 1/0");
    EXPECT_FALSE(messages.messages.empty());
    EXPECT_TRUE(input(&ModelInputs::h2)->property("unread").toBool());
}

TEST_P(ImperialTest, MetricProjectOpenedInImperialIsSavedUnchanged)
{
    ModelInputs design;
    design.h2 = u("41,3");
    design.l3 = u("62,75");
    design.thick0 = "18";
    design.subvol = u("2,4");
    const std::string folder = dir.path().toStdString();
    const IniStore& ini = win->app().ini;
    ASSERT_EQ(WriteProject(ini, folder, "metric.tbx", design, {}, nullptr), IniWriteStatus::Ok);
    chooseMeasure(1);
    LayoutStrings layout{};
    for (const StoredValue& v : ReadProject(ini, folder, "metric.tbx", layout, sep()).values)
        if (v.key && v.key->kind == KeyKind::Text)
            win->setModelText(*v.key, v.text);
        else if (v.key)
            win->setModelListPosition(*v.key, v.position);
    EXPECT_EQ(input(&ModelInputs::h2)->text(), "16 1/4");
    ASSERT_EQ(WriteProject(ini, folder, "again.tbx", win->app().inputs, layout, nullptr), IniWriteStatus::Ok);
    EXPECT_EQ(bytes(folder + "/again.tbx"), bytes(folder + "/metric.tbx"));
}

INSTANTIATE_TEST_SUITE_P(Separators, ImperialTest, ::testing::Values(',', '.'),
                         kelvra::test::SeparatorName());
