// The sound window opened from the real main window: the design's changes reach it, its button reaches the
// design, bad woofer values stop the curves at their box, its file and the project file carry what it shows.
#include "gui/project/frmDialog.h"
#include "gui/sound/SoundCharts.h"
#include "gui/sound/frmSound.h"
#include "tests/support/MainWindowFixture.h"

#include <QChartView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineSeries>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

using namespace kelvra;

namespace
{

// The shipped 12" example, as a builder types it from the data sheet.
const std::vector<std::pair<const char*, const char*>> kWoofer = {
    {"fs", "29"},  {"qts", "0,41"}, {"qes", "0,44"}, {"qms", "6"},  {"vas", "70"},
    {"sd", "490"}, {"xmax", "12"},  {"re", "3,3"},   {"pe", "400"}, {"le", "1,8"}};

class FrmSoundTest : public kelvra::test::MainWindowTest
{
protected:
    // Simulation on and a round port of 10 cm in the default box, then the window from the File menu.
    frmSound* openOnVentedBox()
    {
        win->buttonHandler(ShowButton::Simulation);
        list("cmbPieces", 2)->setCurrentIndex(1);
        box(6)->setText("10");
        box(5)->setText("20");
        action("mnuFileSound")->trigger();
        return win->findChild<frmSound*>();
    }
    void typeWoofer(frmSound* s)
    {
        for (const auto& [key, text] : kWoofer)
            s->box(key)->setText(QString::fromStdString(u(text)));
    }
    static QString text(frmSound* s, const char* label) { return s->findChild<QLabel*>(label)->text(); }
    // The first number of a label, read back with the run's separator.
    double numberIn(frmSound* s, const char* label) const
    {
        static const QRegularExpression number(QStringLiteral("[0-9]+([.,][0-9]+)?"));
        QString found = number.match(text(s, label)).captured();
        EXPECT_FALSE(found.contains(sep() == ',' ? '.' : ',')) << found.toStdString();
        return found.replace(',', '.').toDouble();
    }
};

TEST_P(FrmSoundTest, TheTuningFollowsTheBoxAndItsButtonTunesTheMainWindowsPort)
{
    frmSound* s = openOnVentedBox();
    EXPECT_TRUE(QRegularExpression(QString("^Fb \\(afstemming van de poort\\): \\d+\\%1\\d Hz$").arg(sep()))
                    .match(text(s, "lblFb"))
                    .hasMatch())
        << text(s, "lblFb").toStdString();
    // A few hertz above the present tuning: a shorter port, which surely fits in the box.
    const int target = static_cast<int>(numberIn(s, "lblFb")) + 3;
    s->box("targetfb")->setText(QString::number(target));
    auto* use = s->findChild<QPushButton*>("cmdUsePortLength");
    ASSERT_TRUE(use->isEnabled());
    const QString shown = text(s, "lblPortLength");
    QTest::mouseClick(use, Qt::LeftButton);
    // The length went in through the main window's own route, so it recalculated the tuning too.
    EXPECT_EQ(box(5)->text().toStdString(), win->app().inputs.lp);
    EXPECT_TRUE(shown.contains(": " + box(5)->text() + " cm")) << shown.toStdString();
    // One press: the length was solved for the box it leaves behind.
    EXPECT_NEAR(numberIn(s, "lblFb"), target, 0.05);
    box(0)->setText("30"); // less height, less air: the same port tunes higher
    EXPECT_GT(numberIn(s, "lblFb"), target + 1);
    // A tube reaching to 5,2 cm from the rear wall leaves its 10 cm bore too little room.
    box(0)->setText("40");
    EXPECT_FALSE(s->findChild<QLabel*>("lblPortClearance")->isVisibleTo(s));
    box(5)->setText("33");
    EXPECT_TRUE(s->findChild<QLabel*>("lblPortClearance")->isVisibleTo(s));
    EXPECT_TRUE(text(s, "lblPortClearance").contains(QString::fromStdString(u("eindigt 5,2 cm"))))
        << text(s, "lblPortClearance").toStdString();
}

TEST_P(FrmSoundTest, BadWooferValuesAreShownAtTheirBoxAndStopTheCurve)
{
    const std::pair<const char*, const char*> cases[] = {
        {"qts", "0"},  {"vas", "-5"}, {"fs", "abc"},     {"ql", "x"},        {"power", "0"},
        {"fs", "600"}, {"le", "60"},  {"subsonic", "3"}, {"targetfb", "250"}};
    frmSound* s = openOnVentedBox();
    typeWoofer(s);
    ASSERT_TRUE(s->charts()->hasCurve());
    win->buttonHandler(ShowButton::Simulation); // no curve outside simulation mode
    EXPECT_TRUE(text(s, "lblStatus").contains("simulatiemodus"));
    EXPECT_FALSE(s->charts()->hasCurve());
    EXPECT_TRUE(text(s, "lblFb").isEmpty());
    win->buttonHandler(ShowButton::Simulation);
    EXPECT_TRUE(text(s, "lblStatus").isEmpty());
    ASSERT_TRUE(s->charts()->hasCurve());
    for (const auto& [key, bad] : cases) {
        SCOPED_TRACE(key);
        const QString good = s->box(key)->text();
        s->box(key)->setText(QString::fromLatin1(bad));
        EXPECT_TRUE(s->errorLabel(key)->isVisibleTo(s));
        EXPECT_TRUE(s->box(key)->styleSheet().contains("red") ||
                    s->box(key)->styleSheet().contains("200,0,0"));
        EXPECT_FALSE(s->charts()->hasCurve());
        EXPECT_FALSE(s->report().has_value());
        s->box(key)->setText(good);
        EXPECT_FALSE(s->errorLabel(key)->isVisibleTo(s));
        EXPECT_TRUE(s->charts()->hasCurve());
    }
    // The range reads with the user's separator.
    s->box("qes")->setText(QString::fromStdString(u("0,04")));
    EXPECT_EQ(s->errorLabel("qes")->text().toStdString(), u("Moet van 0,05 tot 5 zijn"));
    EXPECT_TRUE(messages.messages.empty());
}

TEST_P(FrmSoundTest, TwoWoofersWiredAndTheSuggestedTuning)
{
    frmSound* s = openOnVentedBox();
    typeWoofer(s);
    const double one = s->report()->sensitivity;
    list("cmbPieces", 0)->setCurrentIndex(1); // two woofers in the main window, which leaves simulation
    win->buttonHandler(ShowButton::Simulation);
    ASSERT_TRUE(s->report()) << text(s, "lblStatus").toStdString();
    EXPECT_EQ(s->report()->woofers, 2);
    EXPECT_NEAR(s->report()->sensitivity - one, 3.0103, 1e-3);
    EXPECT_TRUE(text(s, "lblLoad").contains(QString::fromStdString(u("2,00 Ω"))));
    s->findChild<QComboBox*>("cmbWiring")->setCurrentIndex(1); // in series
    EXPECT_TRUE(text(s, "lblLoad").contains(QString::fromStdString(u("8,00 Ω"))));

    auto* use = s->findChild<QPushButton*>("cmdUseSuggestedTuning");
    ASSERT_TRUE(use->isEnabled());
    QTest::mouseClick(use, Qt::LeftButton);
    const double fb = s->report()->suggested.vented->fb;
    EXPECT_NEAR(s->box("targetfb")->text().replace(',', '.').toDouble(), fb, 0.05);
    EXPECT_TRUE(text(s, "lblPortLength").startsWith("Poortlengte voor"));

    // A plot shown later takes the curve already there.
    auto* impedance = s->charts()->view(PlotKind::Impedance);
    EXPECT_TRUE(impedance->isHidden());
    s->findChild<QCheckBox*>("chkPlotImpedance")->setChecked(true);
    EXPECT_FALSE(impedance->isHidden());
    EXPECT_EQ(s->charts()->series(static_cast<int>(PlotKind::Impedance), 0)->count(), kCurvePoints);
}

TEST_P(FrmSoundTest, CsvExportReadsBackAsTheCurve)
{
    frmSound* s = openOnVentedBox();
    typeWoofer(s);
    const QString path = dir.filePath("curve.csv");
    s->setFileChooser([&](const QString&, const QString&, const QString&) { return path; });
    QTest::mouseClick(s->findChild<QPushButton*>("cmdExportCsv"), Qt::LeftButton);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines =
        QString::fromUtf8(file.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1 + kCurvePoints);
    const QChar field = sep() == ',' ? ';' : ',';
    EXPECT_EQ(lines[0], QStringList({"f", "spl", "splCabin", "excursion", "portSpeed", "maxSpl", "maxPower",
                                     "impedance", "impedancePhase", "groupDelay"})
                            .join(field));
    QStringList first = lines[1].split(field).replaceInStrings(",", ".");
    ASSERT_EQ(first.size(), 10);
    EXPECT_NEAR(first[1].toDouble(), s->report()->curve[0].spl, 0.005);
    // A folder that cannot be written is said, not passed over.
    EXPECT_FALSE(s->exportCsv(dir.filePath("missing/curve.csv")));
    ASSERT_NE(messages.last(), nullptr);
    EXPECT_NE(messages.last()->text.find("niet worden opgeslagen"), std::string::npos);
}

TEST_P(FrmSoundTest, ProjectFileCarriesTheWooferAndTheCar)
{
    frmSound* s = openOnVentedBox();
    typeWoofer(s);
    s->findChild<QComboBox*>("cmbCar")->setCurrentIndex(2);
    s->findChild<QComboBox*>("cmbCoils")->setCurrentIndex(1);
    s->findChild<QComboBox*>("cmbLowpassOrder")->setCurrentIndex(2);

    win->fileSaveAs();
    auto* dialog = win->findChild<frmDialog*>();
    ASSERT_TRUE(dialog->setFolder(dir.path()));
    dialog->txtFilename()->setText("boot");
    dialog->cmdOC_Click(DialogButton::Ok);
    for (const auto& [key, typed] : kWoofer)
        s->box(key)->clear();
    s->findChild<QComboBox*>("cmbCar")->setCurrentIndex(0);
    s->findChild<QComboBox*>("cmbCoils")->setCurrentIndex(0);
    s->findChild<QComboBox*>("cmbLowpassOrder")->setCurrentIndex(0);
    ASSERT_FALSE(s->charts()->hasCurve());

    win->fileOpen();
    ASSERT_TRUE(dialog->setFolder(dir.path()));
    dialog->txtFilename()->setText("boot");
    dialog->cmdOC_Click(DialogButton::Ok);
    EXPECT_EQ(s->box("qts")->text().toStdString(), u("0,41"));
    EXPECT_EQ(s->findChild<QComboBox*>("cmbCar")->currentIndex(), 2);
    EXPECT_EQ(s->findChild<QComboBox*>("cmbCoils")->currentIndex(), 1);
    EXPECT_EQ(s->findChild<QComboBox*>("cmbLowpassOrder")->currentIndex(), 2);
    EXPECT_EQ(win->app().sound.text[11], "2");             // "coils"
    EXPECT_TRUE(win->app().sound.find("wiring")->empty()); // never touched: not written
    EXPECT_TRUE(s->charts()->hasCurve());
}

// The list names the woofer last saved or loaded until a field of it is changed; then it says the woofer is
// the user's own, and a field typed back names the list's woofer again.
TEST_P(FrmSoundTest, TheWooferListSaysOwnWooferOnceAFieldDiffers)
{
    frmSound* s = openOnVentedBox();
    typeWoofer(s);
    s->setNameChooser([](const QString&) { return QStringLiteral("Mine"); });
    QTest::mouseClick(s->findChild<QPushButton*>("cmdSaveWoofer"), Qt::LeftButton);
    auto* library = s->findChild<QComboBox*>("cmbWooferLibrary");
    EXPECT_EQ(library->currentText(), "Mine");
    const std::pair<const char*, const char*> steps[] = {
        {"31", "(own woofer)"}, {"29", "Mine"}, {"", "(own woofer)"}, {"29", "Mine"}};
    for (const auto& [fs, shown] : steps) {
        s->box("fs")->setText(fs);
        EXPECT_EQ(library->currentText(), shown) << fs;
    }
    EXPECT_EQ(library->findText("(own woofer)"), -1);
}

INSTANTIATE_TEST_SUITE_P(Separators, FrmSoundTest, ::testing::Values(',', '.'),
                         kelvra::test::SeparatorName());

} // namespace
