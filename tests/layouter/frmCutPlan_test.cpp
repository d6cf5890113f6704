// The "Cut plan" window as the user sees it: the cut list, the sheet drawing and the PDF file.
#include "gui/layouter/frmCutPlan.h"

#include "gui/common/MessageService.h"

#include <QApplication>
#include <QFile>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <gtest/gtest.h>

#include <memory>

using namespace kelvra;

namespace
{

CutPlan twoBoardPlan()
{
    const std::vector<BestFitBoard> boards = {{"front", 20.5, 30}, {"rear", 20.5, 30}};
    return *BestFit(boards, 0.2).plan;
}

class CutPlanWindow : public ::testing::Test
{
protected:
    void SetUp() override { setMessageService(&messages); }
    void TearDown() override { setMessageService(nullptr); }

    std::unique_ptr<frmCutPlan> open(char sep = ',')
    {
        auto w =
            std::make_unique<frmCutPlan>(twoBoardPlan(), std::vector<std::string>{" Voorzijde ", ""}, sep);
        w->setAttribute(Qt::WA_DeleteOnClose, false);
        w->show();
        return w;
    }

    RecordingMessageService messages;
    QTemporaryDir dir;
};

bool isPdf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) && f.read(5) == "%PDF-" && f.size() > 1000;
}

} // namespace

TEST_F(CutPlanWindow, ShowsTheNumberedCutList)
{
    for (char sep : {',', '.'}) {
        auto w = open(sep);
        EXPECT_EQ(w->windowTitle(), "Cut plan");
        const QString text = w->txtCutPlan()->toPlainText();
        const QString s(QChar::fromLatin1(sep));
        EXPECT_TRUE(text.contains("Sheet: 122x61, 1 sheet")) << text.toStdString();
        EXPECT_TRUE(text.contains("1. Sheet 1, piece 1 (61 x 122 cm)")) << text.toStdString();
        EXPECT_TRUE(text.contains("Voorzijde (30 x 20" + s + "5 cm)")) << text.toStdString();
        EXPECT_TRUE(text.contains("rear (30 x 20" + s + "5 cm)")) << text.toStdString();
        EXPECT_EQ(text.count(QRegularExpression("^\\d+\\. Sheet", QRegularExpression::MultilineOption)),
                  static_cast<int>(w->plan().cuts.size()));
    }
}

TEST_F(CutPlanWindow, SavesAPdfThroughItsButton)
{
    auto w = open();
    const QString path = dir.filePath("plan.pdf");
    w->setPdfFileChooser([&] { return path; });
    QTest::mouseClick(w->cmdSavePdf(), Qt::LeftButton);
    EXPECT_TRUE(isPdf(path));
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(CutPlanWindow, CancellingTheFileDialogWritesNothing)
{
    auto w = open();
    w->setPdfFileChooser([] { return QString(); });
    QTest::mouseClick(w->cmdSavePdf(), Qt::LeftButton);
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    EXPECT_TRUE(messages.messages.empty());
}

TEST_F(CutPlanWindow, AnUnwritableFileIsReported)
{
    auto w = open();
    const QString path = dir.filePath("no such folder/plan.pdf");
    EXPECT_FALSE(w->saveAsPdf(path));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_NE(messages.messages[0].text.find("could not be saved"), std::string::npos);
    EXPECT_EQ(messages.messages[0].icon, MessageIcon::Exclamation);
}

TEST_F(CutPlanWindow, PrintsToAPrinter)
{
    auto w = open();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("printed.pdf"));
    w->printTo(printer);
    EXPECT_TRUE(isPdf(dir.filePath("printed.pdf")));
}

TEST_F(CutPlanWindow, DrawsBoardsAndCutLinesToScale)
{
    auto w = open();
    const QImage image = w->sheetImage(0, 3);
    EXPECT_EQ(image.width(), 61 * 3 + 1);
    EXPECT_EQ(image.height(), 122 * 3 + 1);
    // The front lies turned in the top-left corner in its layouter colour; the sheet shows below.
    EXPECT_EQ(image.pixelColor(10, 10), QColor(128, 255, 128));
    EXPECT_EQ(image.pixelColor(10, 300), QColor(255, 224, 192));
    // The first cut runs across the sheet in the kerf under the front (20.5 cm down).
    const int y = static_cast<int>(w->plan().cuts[0].fromY * 3);
    const QColor onCut = image.pixelColor(2, y);
    EXPECT_GT(onCut.red(), 150);
    EXPECT_LT(onCut.green(), 100);
}

TEST_F(CutPlanWindow, CloseButtonClosesTheWindow)
{
    auto w = open();
    ASSERT_TRUE(w->isVisible());
    QTest::mouseClick(w->cmdClose(), Qt::LeftButton);
    EXPECT_FALSE(w->isVisible());
}
