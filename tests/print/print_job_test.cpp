// Printing for real: the main window prints to the default queue of the tests' own CUPS scheduler
// (scripts/cups.sh, started by ctest), which puts each job as a PDF file in KELVRA_PDF_DIR, read back with
// pdfinfo, pdftoppm and tesseract; without a printer or with a refusing queue the messages answer.
#include "gui/print/frmPrint.h"

#include "gui/common/Twips.h"
#include "gui/layouter/frmLayout.h"
#include "info/Version.h"
#include "tests/support/MainWindowFixture.h"

#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImage>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

using namespace kelvra;

namespace
{

QString run(const QString& program, const QStringList& args)
{
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(program, args);
    if (!p.waitForStarted(5000))
        return {};
    p.waitForFinished(30000);
    return QString::fromLocal8Bit(p.readAll());
}

// Empty when the tests' own scheduler with its PDF queue is the default printer, else why printing cannot
// be tested here: without the scheduler's address nothing is printed, never on a printer of the machine.
QString printerReady()
{
    static const QString reason = [] {
        const QString server = qEnvironmentVariable("CUPS_SERVER");
        if (server.isEmpty() || qEnvironmentVariable("KELVRA_PDF_DIR").isEmpty())
            return QStringLiteral("CUPS_SERVER is not set: run the print tests through ctest");
        if (!QFileInfo::exists(server) || QPrinterInfo::defaultPrinterName() != QStringLiteral("KelvraPDF"))
            return "the tests' scheduler is not on " + server + " or KelvraPDF is not its default printer";
        return QString();
    }();
    return reason;
}

// Whether each page is landscape as seen (rotation applied); empty when the file does not read.
std::vector<bool> pdfLandscape(const QString& file)
{
    std::vector<bool> pages;
    const QString info = run("pdfinfo", {"-f", "1", "-l", "99", file});
    static const QRegularExpression size(QStringLiteral("Page\\s+(\\d+) size:\\s+([\\d.]+) x ([\\d.]+)"));
    static const QRegularExpression rot(QStringLiteral("Page\\s+(\\d+) rot:\\s+(\\d+)"));
    for (auto it = size.globalMatch(info); it.hasNext();) {
        const auto m = it.next();
        pages.push_back(m.captured(2).toDouble() > m.captured(3).toDouble());
    }
    for (auto it = rot.globalMatch(info); it.hasNext();) {
        const auto m = it.next();
        const std::size_t i = m.captured(1).toUInt() - 1;
        if (i < pages.size() && m.captured(2).toInt() % 180 == 90)
            pages[i] = !pages[i];
    }
    return pages;
}

// One page rendered in grey at the given resolution.
QImage renderPage(const QString& file, int page, int dpi, const QString& scratch)
{
    const QString base = QDir(scratch).filePath(QStringLiteral("page%1_%2").arg(page).arg(dpi));
    run("pdftoppm", {"-gray", "-r", QString::number(dpi), "-f", QString::number(page), "-l",
                     QString::number(page), "-singlefile", "-png", file, base});
    return QImage(base + ".png");
}

struct ReadPage {
    QImage image;
    QString header; // what the OCR read in the top strip
    bool landscape = false;
};

// Share of non-white pixels in a rectangle given in twips from the page's top-left corner.
double inkShare(const QImage& page, QRectF twips, int dpi)
{
    const QRect r = QRect(qRound(twips.left() * dpi / 1440.0), qRound(twips.top() * dpi / 1440.0),
                          qRound(twips.width() * dpi / 1440.0), qRound(twips.height() * dpi / 1440.0))
                        .intersected(page.rect());
    int dark = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            dark += qGray(page.pixel(x, y)) < 240; // not white: the panels are light colours
    return r.isEmpty() ? 0 : double(dark) / (r.width() * r.height());
}

const PrintItem* item(const PrintPage& page, const std::string& source)
{
    for (const PrintItem& i : page.items)
        if (i.source == source)
            return &i;
    return nullptr;
}

class PrintTest : public kelvra::test::MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        simulation(true);
        static int serial = 0;
        m_token = QStringLiteral("kelvratest%1x%2").arg(QCoreApplication::applicationPid()).arg(++serial);
    }
    void TearDown() override
    {
        // KELVRA_KEEP_PRINTS leaves the printed files for a look.
        if (!qEnvironmentVariableIsSet("KELVRA_KEEP_PRINTS"))
            for (const QString& f : arrived())
                QFile::remove(f);
        MainWindowTest::TearDown();
    }

    // The dialog with the given ticks: input values, figure, panel measurements, layout.
    std::unique_ptr<frmPrint> dialog(std::array<bool, 4> ticks = {false, false, true, false},
                                     bool printer = true)
    {
        auto d = std::make_unique<frmPrint>(*win, LayouterAccess{}, win.get());
        d->job().setDocumentName(m_token);
        tick({d->chkSettings, d->chkFigure, d->chkMPanel, d->chkLayouter}, ticks);
        if (!printer)
            d->setPrinterLookup([] { return QPrinterInfo(); });
        return d;
    }
    static void tick(std::array<QCheckBox*, 4> boxes, std::array<bool, 4> on)
    {
        for (std::size_t i = 0; i < 4; ++i) {
            if (boxes[i]->isChecked() != on[i])
                QTest::mouseClick(boxes[i], Qt::LeftButton, {}, QPoint(8, boxes[i]->height() / 2));
            ASSERT_EQ(boxes[i]->isChecked(), on[i]);
        }
    }
    QStringList arrived() const
    {
        QStringList out;
        for (const QFileInfo& f : QDir(qEnvironmentVariable("KELVRA_PDF_DIR"))
                                      .entryInfoList({"*" + m_token + "*.pdf"}, QDir::Files, QDir::Name))
            out << f.absoluteFilePath();
        return out;
    }
    // Prints with OK and waits until `count` documents of this test have arrived as whole PDF files.
    QStringList print(frmPrint& d, int count)
    {
        QTest::mouseClick(d.OKButton, Qt::LeftButton);
        EXPECT_TRUE(d.lastOutcome().ok) << d.lastOutcome().error;
        EXPECT_TRUE(messages.messages.empty());
        QElapsedTimer t;
        t.start();
        for (QStringList files = arrived(); t.elapsed() < 20000; files = arrived()) {
            bool whole = files.size() >= count;
            for (const QString& f : files)
                whole = whole && !pdfLandscape(f).empty();
            if (whole)
                return files;
            QTest::qWait(150);
        }
        return arrived();
    }
    // The printable area's corner on the page, in twips.
    QPointF printableCorner(PageOrientation o) const
    {
        QPageLayout l = PrintJob::pageLayoutFor(QPrinterInfo::defaultPrinter());
        l.setOrientation(o == PageOrientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        const QRectF r = l.paintRect(QPageLayout::Point);
        return {r.left() * 20, r.top() * 20};
    }
    // The page read back at 200 dpi: its header line must read, and it tells the orientation. A landscape
    // page may come as portrait paper turned a quarter, so a page whose header does not read across the top
    // is read turned back.
    ReadPage expectHeader(const QString& file, int page) const
    {
        ReadPage out;
        const QImage img = renderPage(file, page, 200, dir.path());
        EXPECT_FALSE(img.isNull());
        const QString png = dir.filePath("ocr.png");
        for (int quarter : {0, 90, 270}) {
            const QImage turned = img.transformed(QTransform().rotate(quarter));
            turned.copy(0, 0, turned.width(), turned.height() / 12).save(png);
            out = {turned, run("tesseract", {png, "stdout", "--psm", "6"}).simplified(),
                   turned.width() > turned.height()};
            if (out.header.contains(QString::fromStdString(TitleString()) + " Plaatjes zagen"))
                return out;
        }
        ADD_FAILURE() << "page " << page << ": " << out.header.toStdString();
        return out;
    }
    // What the job changes on screen, to compare before and after.
    std::vector<QRgb> look() const
    {
        std::vector<QRgb> out;
        for (const char* name :
             {"Picture1", "fraInfo", "fraCorrection", "fraPort", "fraWoofer", "fraResult"}) {
            const QWidget* w = win->control(name);
            out.push_back(w->palette().color(QPalette::Window).rgb());
            out.push_back(w->testAttribute(Qt::WA_SetPalette) * 2 + w->autoFillBackground());
        }
        return out;
    }

    QString m_token;
};

// Skips a test that needs the tests' own printer when it is not there.
#define REQUIRE_PRINTER()                                                                                    \
    if (const QString why = printerReady(); !why.isEmpty())                                                  \
    GTEST_SKIP() << why.toStdString()

TEST_P(PrintTest, DialogCaptionsPlacesAndDefaultTicksAndNothingPrintedWithoutATickOrOnCancel)
{
    auto d = std::make_unique<frmPrint>(*win, LayouterAccess{}, win.get());
    EXPECT_EQ(d->windowTitle(), "Print options");
    EXPECT_TRUE(d->isModal());
    // The rows are the design's; a column is as wide as the design or its caption, whichever is more,
    // and the columns right of it move along.
    const std::tuple<QCheckBox*, const char*, QRect, bool> cases[] = {
        {d->chkSettings, "Print Input Values", twipRect(120, 120, 1815, 375), false},
        {d->chkFigure, "Print measurements figure", twipRect(2160, 120, 1815, 375), false},
        {d->chkMPanel, "Print Panel measurements", twipRect(120, 600, 1815, 375), true},
        {d->chkLayouter, "Print Layout", twipRect(2160, 600, 1815, 375), false}};
    for (const auto& [box, caption, place, ticked] : cases) {
        EXPECT_EQ(box->text(), caption);
        EXPECT_EQ(QPoint(box->y(), box->height()), QPoint(place.y(), place.height())) << caption;
        EXPECT_GE(box->x(), place.x()) << caption;
        EXPECT_GE(box->width(), std::max(place.width(), box->sizeHint().width())) << caption;
        EXPECT_EQ(box->isChecked(), ticked) << caption;
    }
    EXPECT_EQ(d->chkFigure->x(), d->chkLayouter->x());
    EXPECT_GT(d->OKButton->x(), d->chkFigure->geometry().right());

    // Nothing ticked closes without printing, as does Cancel; a print attempt would ask about a PDF.
    auto none = dialog({false, false, false, false}, false);
    QTest::mouseClick(none->OKButton, Qt::LeftButton);
    EXPECT_EQ(none->result(), QDialog::Accepted);
    auto cancelled = dialog({true, true, true, true}, false);
    QTest::mouseClick(cancelled->CancelButton, Qt::LeftButton);
    EXPECT_EQ(cancelled->result(), QDialog::Rejected);
    EXPECT_TRUE(none->lastPages().plan.documents.empty() && cancelled->lastPages().plan.documents.empty());
    EXPECT_TRUE(messages.messages.empty());
}

TEST_P(PrintTest, OnlyTheLayoutGivesAHeaderPageAndALandscapeLayoutPage)
{
    REQUIRE_PRINTER();
    auto d = dialog({false, false, false, true});
    const QStringList files = print(*d, 1);
    unloadClosed(); // the layouter was loaded for the print and closed again
    EXPECT_EQ(win->findChild<frmLayout*>(), nullptr);
    ASSERT_EQ(files.size(), 1);
    const std::vector<bool> pages = pdfLandscape(files[0]);
    ASSERT_EQ(pages.size(), 2u);
    const ReadPage first = expectHeader(files[0], 1);
    const ReadPage second = expectHeader(files[0], 2);
    EXPECT_FALSE(first.landscape || pages[0]);
    EXPECT_TRUE(second.landscape || pages[1]);
    // Page 1 carries nothing but the header.
    const QPointF portrait = printableCorner(PageOrientation::Portrait);
    EXPECT_LT(inkShare(first.image, QRectF(portrait.x(), portrait.y() + 600, 9000, 12000), 200), 0.001);
    // Page 2: the sheet with its panels, centred, and its outline drawn down its left edge.
    const PrintPage& layout = d->lastPages().plan.documents.at(0).pages.at(1);
    const PrintItem& sheet = layout.items.at(1);
    const PrintItem* front = item(layout, "shFront");
    ASSERT_TRUE(front && sheet.kind == PrintItem::Kind::Outline);
    const QPointF at = printableCorner(PageOrientation::Landscape);
    EXPECT_GT(inkShare(second.image, QRectF(at.x() + front->x, at.y() + front->y, 600, 600), 200), 0.05);
    EXPECT_GT(
        inkShare(second.image, QRectF(at.x() + sheet.x - 15, at.y() + sheet.y, 45, sheet.y2 - sheet.y), 200),
        0.3);
}

TEST_P(PrintTest, WithoutAPrinterThePagesComeAsPdfIfWantedAndEveryWindowIsSetBack)
{
    // The layouter is open before; it is closed after the layout print.
    action("mnuFilePanel")->trigger();
    QPointer<frmLayout> layouter = win->findChild<frmLayout*>();
    ASSERT_FALSE(layouter.isNull());
    const std::vector<QRgb> before = look();
    for (MessageAnswer answer : {MessageAnswer::Cancel, MessageAnswer::Ok}) {
        messages.messages.clear();
        auto d = dialog({true, false, true, true}, false);
        int asked = 0;
        d->setPdfFileQuestion([&] { return ++asked, dir.filePath("pages.pdf"); });
        messages.answers.push_back(answer);
        QTest::mouseClick(d->OKButton, Qt::LeftButton);
        ASSERT_EQ(messages.messages.size(), 1u);
        const Message& m = messages.messages.front();
        EXPECT_EQ(m.title, "Printer");
        EXPECT_EQ(m.buttons, MessageButtons::OkCancel);
        EXPECT_NE(m.text.find("no default printer"), std::string::npos) << m.text;
        EXPECT_NE(m.text.find("PDF"), std::string::npos) << m.text;
        EXPECT_EQ(asked, answer == MessageAnswer::Ok);
        EXPECT_EQ(QFileInfo::exists(dir.filePath("pages.pdf")), answer == MessageAnswer::Ok);
        EXPECT_EQ(look(), before);
        unloadClosed();
        EXPECT_TRUE(layouter.isNull() || !layouter->isVisible());
    }
    // The same pages: the first page with the drawing and frames, then the layout page.
    EXPECT_EQ(pdfLandscape(dir.filePath("pages.pdf")), (std::vector<bool>{false, true}));
    expectHeader(dir.filePath("pages.pdf"), 1);

    // The tests' scheduler has a second queue that refuses every job.
    REQUIRE_PRINTER();
    const QPrinterInfo refuses = QPrinterInfo::printerInfo("KelvraPDFRefuses");
    ASSERT_FALSE(refuses.isNull());
    messages.messages.clear();
    auto refused = dialog({true, false, true, false});
    refused->setPrinterLookup([refuses] { return refuses; });
    refused->setPdfFileQuestion([this] { return dir.filePath("refused.pdf"); });
    QTest::mouseClick(refused->OKButton, Qt::LeftButton);
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_NE(messages.last()->text.find("Printing failed"), std::string::npos) << messages.last()->text;
    EXPECT_EQ(messages.last()->buttons, MessageButtons::OkCancel);
    EXPECT_TRUE(QFileInfo::exists(dir.filePath("refused.pdf")));
    EXPECT_EQ(look(), before);
}

TEST_P(PrintTest, FilePrintThroughTheMainWindowSendsThePdfWithTheFramesInTheirArrangement)
{
    REQUIRE_PRINTER();
    QStringList files;
    PrintPage plan;
    // The dialog is modal: drive it from inside its own event loop, everything of the main window on one
    // page: drawing, figure and input values.
    QTimer::singleShot(0, [&] {
        frmPrint* d = win->findChild<frmPrint*>();
        ASSERT_NE(d, nullptr);
        EXPECT_EQ(d->windowTitle(), "Print options");
        d->job().setDocumentName(m_token);
        tick({d->chkSettings, d->chkFigure, d->chkMPanel, d->chkLayouter}, {true, true, true, false});
        files = print(*d, 1);
        plan = d->lastPages().plan.documents.at(0).pages.at(0);
    });
    action("mnuFilePrint")->trigger();
    const PrintItem* info = item(plan, "fraInfo");
    const PrintItem* result = item(plan, "fraResult");
    ASSERT_TRUE(info && result);
    EXPECT_NEAR(result->x - info->x, pixelsToTwips(win->control("fraResult")->x()), 0.5);
    EXPECT_NEAR(result->y - info->y, pixelsToTwips(win->control("fraResult")->y()), 0.5);
    ASSERT_EQ(files.size(), 1);
    ASSERT_EQ(pdfLandscape(files[0]), std::vector<bool>{false});
    const ReadPage page = expectHeader(files[0], 1);
    EXPECT_FALSE(page.landscape);
    // The drawing's band and the frames' below the figure carry ink.
    const QPointF corner = printableCorner(PageOrientation::Portrait);
    for (const PrintItem* printed : {item(plan, "Picture1"), info})
        EXPECT_GT(
            inkShare(page.image, QRectF(corner.x() + printed->x, corner.y() + printed->y, 2000, 1500), 200),
            0.01);
}

INSTANTIATE_TEST_SUITE_P(Point, PrintTest, ::testing::Values('.'), kelvra::test::SeparatorName());

} // namespace
