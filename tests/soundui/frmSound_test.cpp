// The sound window opened from the real main window and driven as a builder drives it, under both
// decimal separators: the design's changes reach it, its button reaches the design, bad woofer values
// stop the curves at their box, and its files and the project file carry what it shows.
#include "gui/main/frmMain.h"

#include "gui/common/MessageService.h"
#include "gui/project/frmDialog.h"
#include "gui/sound/SoundCharts.h"
#include "gui/sound/frmSound.h"
#include "tests/support/MainWindowFixture.h"
#include "tests/support/SeparatorText.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QLineSeries>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

using namespace kelvra;
using kelvra::test::under;

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
        win->buttonHandler(2);
        qobject_cast<QComboBox*>(win->control("cmbPieces", 2))->setCurrentIndex(1);
        mainBox(6)->setText("10");
        mainBox(5)->setText("20");
        return openWindow();
    }
    frmSound* openWindow()
    {
        win->findChild<QAction*>("mnuFileSound")->trigger();
        return win->findChild<frmSound*>();
    }
    void typeWoofer(frmSound* s)
    {
        for (const auto& [key, text] : kWoofer)
            s->box(key)->setText(QString::fromStdString(under(text, sep())));
    }
    QLineEdit* mainBox(int i) { return qobject_cast<QLineEdit*>(win->control("txtSize", i)); }
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

TEST_P(FrmSoundTest, LowerBoxRaisesTheTuningShownAtOnce)
{
    frmSound* s = openOnVentedBox();
    const double before = numberIn(s, "lblFb");
    EXPECT_GT(before, 10);
    mainBox(0)->setText("30"); // less height, less air: the same port tunes higher
    EXPECT_GT(numberIn(s, "lblFb"), before + 1);
}

TEST_P(FrmSoundTest, PortLengthButtonTunesTheMainWindowsPortToTheTarget)
{
    frmSound* s = openOnVentedBox();
    // A few hertz above the present tuning: a shorter port, which surely fits in the box.
    const int target = static_cast<int>(numberIn(s, "lblFb")) + 3;
    s->box("targetfb")->setText(QString::number(target));
    auto* use = s->findChild<QPushButton*>("cmdUsePortLength");
    ASSERT_TRUE(use->isEnabled());
    const QString shown = text(s, "lblPortLength");
    QTest::mouseClick(use, Qt::LeftButton);
    // The length went in through the main window's own route, so it recalculated the tuning too.
    EXPECT_EQ(mainBox(5)->text().toStdString(), win->app().inputs.txtSize[5]);
    EXPECT_TRUE(shown.contains(": " + mainBox(5)->text() + " cm")) << shown.toStdString();
    EXPECT_NEAR(numberIn(s, "lblFb"), target, 0.15);
}

struct BadValue {
    const char* name;
    const char* key;
    const char* text;
};

TEST_P(FrmSoundTest, BadWooferValuesAreShownAtTheirBoxAndStopTheCurve)
{
    const BadValue cases[] = {{"QtsZero", "qts", "0"},
                              {"NegativeVas", "vas", "-5"},
                              {"Letters", "fs", "abc"},
                              {"QlLetters", "ql", "x"},
                              {"PowerZero", "power", "0"}};
    frmSound* s = openOnVentedBox();
    typeWoofer(s);
    ASSERT_TRUE(s->charts()->hasCurve());
    for (const BadValue& c : cases) {
        SCOPED_TRACE(c.name);
        const QString good = s->box(c.key)->text();
        s->box(c.key)->setText(QString::fromLatin1(c.text));
        EXPECT_TRUE(s->errorLabel(c.key)->isVisibleTo(s));
        EXPECT_FALSE(s->errorLabel(c.key)->text().isEmpty());
        EXPECT_TRUE(s->box(c.key)->styleSheet().contains("red") ||
                    s->box(c.key)->styleSheet().contains("200,0,0"));
        EXPECT_FALSE(s->charts()->hasCurve());
        EXPECT_FALSE(s->report().has_value());
        for (QLabel* l : s->findChildren<QLabel*>())
            EXPECT_FALSE(l->text().contains("nan", Qt::CaseInsensitive)) << l->objectName().toStdString();
        s->box(c.key)->setText(good);
        EXPECT_FALSE(s->errorLabel(c.key)->isVisibleTo(s));
        EXPECT_TRUE(s->charts()->hasCurve());
    }
    EXPECT_TRUE(messages.messages.empty());
}

TEST_P(FrmSoundTest, OutsideSimulationModeItSaysSoAndShowsNoCurve)
{
    frmSound* s = openWindow();
    typeWoofer(s);
    EXPECT_TRUE(text(s, "lblStatus").contains("simulation mode"));
    EXPECT_FALSE(s->charts()->hasCurve());
    EXPECT_TRUE(text(s, "lblFb").isEmpty());
    win->buttonHandler(2);
    EXPECT_TRUE(s->charts()->hasCurve());
    EXPECT_TRUE(text(s, "lblStatus").isEmpty());
    win->buttonHandler(2);
    EXPECT_FALSE(s->charts()->hasCurve());
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
    EXPECT_EQ(lines[0], QStringList({"f", "spl", "splCabin", "excursion", "portSpeed"}).join(field));
    const Curve& curve = s->report()->curve;
    for (int i : {0, 25, kCurvePoints - 1}) {
        QStringList cells = lines[i + 1].split(field);
        ASSERT_EQ(cells.size(), 5);
        for (QString& c : cells)
            c.replace(',', '.');
        const CurvePoint& p = curve[static_cast<std::size_t>(i)];
        EXPECT_NEAR(cells[0].toDouble(), p.f, 0.005);
        EXPECT_NEAR(cells[1].toDouble(), p.spl, 0.005);
        EXPECT_NEAR(cells[3].toDouble(), p.excursion, 0.005);
        EXPECT_NEAR(cells[4].toDouble(), p.portSpeed, 0.005);
    }
    // The plots as a picture, as the window shows them, and on paper.
    ASSERT_TRUE(s->exportPng(dir.filePath("curves.png")));
    EXPECT_EQ(QImage(dir.filePath("curves.png")).size(), s->charts()->grab().size());
    // Printed into a PDF file: never a real printer in a test.
    {
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setOutputFormat(QPrinter::PdfFormat);
        pdf.setOutputFileName(dir.filePath("curves.pdf"));
        s->printTo(pdf);
    }
    EXPECT_GT(QFile(dir.filePath("curves.pdf")).size(), 1000);
    // A folder that cannot be written is said, not passed over.
    EXPECT_FALSE(s->exportCsv(dir.filePath("missing/curve.csv")));
    ASSERT_NE(messages.last(), nullptr);
    EXPECT_NE(messages.last()->text.find("could not be saved"), std::string::npos);
}

TEST_P(FrmSoundTest, ProjectFileCarriesTheWooferAndTheLibraryKeepsIt)
{
    frmSound* s = openOnVentedBox();
    typeWoofer(s);
    s->findChild<QComboBox*>("cmbCar")->setCurrentIndex(2);
    s->setNameChooser([](const QString&) { return QStringLiteral("My 12"); });
    QTest::mouseClick(s->findChild<QPushButton*>("cmdSaveWoofer"), Qt::LeftButton);
    EXPECT_GE(s->findChild<QComboBox*>("cmbWooferLibrary")->findText("My 12"), 0);

    win->fileSaveAs();
    auto* dialog = win->findChild<frmDialog*>();
    ASSERT_TRUE(dialog->setFolder(dir.path()));
    dialog->txtFilename()->setText("boot");
    dialog->cmdOC_Click(0);
    for (const auto& [key, typed] : kWoofer)
        s->box(key)->clear();
    s->findChild<QComboBox*>("cmbCar")->setCurrentIndex(0);
    ASSERT_FALSE(s->charts()->hasCurve());

    win->fileOpen();
    ASSERT_TRUE(dialog->setFolder(dir.path()));
    dialog->txtFilename()->setText("boot");
    dialog->cmdOC_Click(0);
    EXPECT_EQ(s->box("qts")->text().toStdString(), under("0,41", sep()));
    EXPECT_EQ(s->findChild<QComboBox*>("cmbCar")->currentIndex(), 2);
    EXPECT_TRUE(s->charts()->hasCurve());

    // The library's copy comes back whole into boxes that were emptied.
    s->box("fs")->clear();
    auto* library = s->findChild<QComboBox*>("cmbWooferLibrary");
    library->setCurrentIndex(library->findText("My 12"));
    QTest::mouseClick(s->findChild<QPushButton*>("cmdLoadWoofer"), Qt::LeftButton);
    EXPECT_EQ(s->box("fs")->text(), "29");
    EXPECT_EQ(s->findChild<QComboBox*>("cmbCar")->currentIndex(), 2); // the design's car stays
}

TEST_P(FrmSoundTest, ReopensAtTheSizeItWasLeftAt)
{
    frmSound* s = openWindow();
    s->resize(s->width() + 37, s->height() + 23);
    const QSize left = s->size();
    win->close(); // the main window's exit closes it too
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(openWindow()->size(), left);
}

INSTANTIATE_TEST_SUITE_P(Separators, FrmSoundTest, ::testing::Values(',', '.'),
                         [](const auto& info) { return info.param == ',' ? "comma" : "point"; });

} // namespace
