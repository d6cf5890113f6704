// Printing for real: the real main window in simulation mode prints to the default printer of the tests'
// own CUPS scheduler (scripts/cups.sh, started by ctest), whose queue puts each job unchanged as a PDF
// file in KELVRA_PDF_DIR; the files are read back with pdfinfo, pdftoppm and tesseract. The no-printer
// and refused-job paths are checked with the message service answering.
#include "gui/print/frmPrint.h"

#include "gui/common/MessageService.h"
#include "gui/common/Twips.h"
#include "gui/layouter/frmLayout.h"
#include "gui/main/frmMain.h"
#include "info/Version.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGroupBox>
#include <QImage>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

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

QString pdfFolder()
{
    return qEnvironmentVariable("KELVRA_PDF_DIR");
}

// The tests' own scheduler with its PDF queue as default printer. Empty when all is well, else why
// printing cannot be tested here. Without the scheduler's address nothing is printed at all, so that a
// test never reaches a printer of the machine.
QString printerReady()
{
    static const QString reason = [] {
        const QString server = qEnvironmentVariable("CUPS_SERVER");
        if (server.isEmpty() || pdfFolder().isEmpty())
            return QStringLiteral("CUPS_SERVER and KELVRA_PDF_DIR are not set: run the print tests through "
                                  "ctest, which starts their own CUPS scheduler");
        if (!QFileInfo::exists(server))
            return QStringLiteral("the tests' CUPS scheduler does not listen on ") + server;
        if (QPrinterInfo::defaultPrinterName() != QStringLiteral("KelvraPDF"))
            return QStringLiteral("the default printer is not the tests' queue KelvraPDF but \"") +
                   QPrinterInfo::defaultPrinterName() + '"';
        return QString();
    }();
    return reason;
}

struct PageInfo {
    double width = 0; // points, as the page is seen (rotation applied)
    double height = 0;
    bool landscape() const { return width > height; }
};

std::vector<PageInfo> pdfPages(const QString& file)
{
    std::vector<PageInfo> pages;
    const QString info = run("pdfinfo", {"-f", "1", "-l", "99", file});
    const QRegularExpression size(QStringLiteral("Page\\s+(\\d+) size:\\s+([\\d.]+) x ([\\d.]+)"));
    const QRegularExpression rot(QStringLiteral("Page\\s+(\\d+) rot:\\s+(\\d+)"));
    for (auto it = size.globalMatch(info); it.hasNext();) {
        const auto m = it.next();
        pages.push_back({m.captured(2).toDouble(), m.captured(3).toDouble()});
    }
    for (auto it = rot.globalMatch(info); it.hasNext();) {
        const auto m = it.next();
        const std::size_t i = m.captured(1).toUInt() - 1;
        if (i < pages.size() && (m.captured(2).toInt() == 90 || m.captured(2).toInt() == 270))
            std::swap(pages[i].width, pages[i].height);
    }
    return pages;
}

int pdfPageCount(const QString& file)
{
    const QRegularExpression pages(QStringLiteral("Pages:\\s+(\\d+)"));
    const auto m = pages.match(run("pdfinfo", {file}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

// One page rendered in grey at the given resolution.
QImage renderPage(const QString& file, int page, int dpi, const QString& scratch)
{
    const QString base = QDir(scratch).filePath(QStringLiteral("page%1_%2").arg(page).arg(dpi));
    run("pdftoppm", {"-gray", "-r", QString::number(dpi), "-f", QString::number(page), "-l",
                     QString::number(page), "-singlefile", "-png", file, base});
    return QImage(base + ".png");
}

QString ocr(const QImage& image, const QString& scratch)
{
    const QString png = QDir(scratch).filePath(QStringLiteral("ocr.png"));
    image.save(png);
    return run("tesseract", {png, "stdout", "--psm", "6"}).simplified();
}

bool readsHeader(const QString& text)
{
    return text.contains("Plaatjes zagen") && text.contains("Kelvra") && text.contains("Build53");
}

// A page as the reader holds it: a landscape page may come as portrait paper turned a quarter, so a
// page whose header line does not read across the top is read turned back.
struct ReadPage {
    QImage image;
    QString header; // what the OCR read in the top strip
    bool landscape = false;
};

ReadPage readPage(const QString& file, int page, int dpi, const QString& scratch)
{
    ReadPage out;
    const QImage img = renderPage(file, page, dpi, scratch);
    if (img.isNull())
        return out;
    for (int quarter : {0, 90, 270}) {
        const QImage turned = quarter ? img.transformed(QTransform().rotate(quarter)) : img;
        const QString text = ocr(turned.copy(0, 0, turned.width(), turned.height() / 12), scratch);
        if (readsHeader(text) || quarter == 270) {
            out = {turned, text, turned.width() > turned.height()};
            if (readsHeader(text))
                break;
        }
    }
    return out;
}

// Share of non-white pixels in a rectangle given in twips from the page's top-left corner.
double inkShare(const QImage& page, QRectF twips, int dpi)
{
    const QRect r = QRect(qRound(twips.left() * dpi / 1440.0), qRound(twips.top() * dpi / 1440.0),
                          qRound(twips.width() * dpi / 1440.0), qRound(twips.height() * dpi / 1440.0))
                        .intersected(page.rect());
    if (r.isEmpty())
        return 0;
    int dark = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            dark += qGray(page.pixel(x, y)) < 240; // not white: the panels are light colours
    return double(dark) / (r.width() * r.height());
}

class PrintTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        setMessageService(&m_messages);
        m_win = std::make_unique<frmMain>(AppPaths{m_dir.path().toStdString(), "kelvra"}, '.');
        m_win->show();
        m_win->findChild<QAction*>("mnuFileSim")->trigger();
        ASSERT_TRUE(m_win->app().simulationOn);
        m_messages.messages.clear();
        static int serial = 0;
        m_token = QStringLiteral("kelvratest%1x%2").arg(QCoreApplication::applicationPid()).arg(++serial);
    }
    void TearDown() override
    {
        // KELVRA_KEEP_PRINTS leaves the printed files for a look.
        if (!qEnvironmentVariableIsSet("KELVRA_KEEP_PRINTS"))
            for (const QFileInfo& f : arrived())
                QFile::remove(f.absoluteFilePath());
        m_win.reset();
        for (QWidget* w : QApplication::topLevelWidgets())
            delete w;
        setMessageService(nullptr);
    }

    std::unique_ptr<frmPrint> dialog()
    {
        auto d = std::make_unique<frmPrint>(*m_win, LayouterAccess{}, m_win.get());
        d->job().setDocumentName(m_token);
        return d;
    }
    static void tick(QCheckBox* box, bool on)
    {
        if (box->isChecked() != on)
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
        ASSERT_EQ(box->isChecked(), on);
    }
    void choose(frmPrint& d, bool settings, bool figure, bool mPanel, bool layouter)
    {
        tick(d.chkSettings, settings);
        tick(d.chkFigure, figure);
        tick(d.chkMPanel, mPanel);
        tick(d.chkLayouter, layouter);
    }

    QFileInfoList arrived() const
    {
        return QDir(pdfFolder())
            .entryInfoList({QStringLiteral("*%1*.pdf").arg(m_token)}, QDir::Files, QDir::Name);
    }
    // Waits until `count` documents of this test have arrived and read as whole PDF files.
    QFileInfoList waitForPdfs(int count, int timeoutMs = 20000) const
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < timeoutMs) {
            const QFileInfoList files = arrived();
            bool whole = int(files.size()) >= count;
            for (const QFileInfo& f : files)
                whole = whole && pdfPageCount(f.absoluteFilePath()) > 0;
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
    const PrintItem* item(const PrintPage& page, const std::string& source) const
    {
        for (const PrintItem& i : page.items)
            if (i.source == source)
                return &i;
        return nullptr;
    }
    // The page read back at 200 dpi: its header line must read, and it tells the orientation.
    ReadPage expectHeader(const QString& file, int page) const
    {
        ReadPage read = readPage(file, page, 200, m_dir.path());
        EXPECT_FALSE(read.image.isNull());
        EXPECT_TRUE(readsHeader(read.header)) << "page " << page << ": " << read.header.toStdString();
        EXPECT_TRUE(read.header.contains(QString::fromStdString(TitleString()) + " Plaatjes zagen"))
            << read.header.toStdString();
        return read;
    }

    QTemporaryDir m_dir;
    RecordingMessageService m_messages;
    std::unique_ptr<frmMain> m_win;
    QString m_token;
};

#define REQUIRE_PRINTER()                                                                                    \
    do {                                                                                                     \
        const QString why = printerReady();                                                                  \
        if (!why.isEmpty())                                                                                  \
            GTEST_SKIP() << why.toStdString();                                                               \
    } while (false)

TEST_F(PrintTest, DialogCaptionsPlacesAndDefaultTicks)
{
    auto d = dialog();
    EXPECT_EQ(d->windowTitle(), "Print options");
    EXPECT_TRUE(d->isModal());
    struct Case {
        QCheckBox* box;
        const char* name;
        const char* caption;
        QRect place;
        bool ticked;
    };
    const Case cases[] = {
        {d->chkSettings, "chkSettings", "Print Input Values", twipRect(120, 120, 1815, 375), false},
        {d->chkFigure, "chkFigure", "Print measurements figure", twipRect(2160, 120, 1815, 375), false},
        {d->chkMPanel, "chkMPanel", "Print Panel measurements", twipRect(120, 600, 1815, 375), true},
        {d->chkLayouter, "chkLayouter", "Print Layout", twipRect(2160, 600, 1815, 375), false}};
    // The rows are the design's; a column is as wide as the design or its caption, whichever is more,
    // and the columns right of it move along.
    for (const Case& c : cases) {
        EXPECT_EQ(c.box->objectName(), c.name);
        EXPECT_EQ(c.box->text(), c.caption);
        EXPECT_EQ(c.box->y(), c.place.y()) << c.name;
        EXPECT_EQ(c.box->height(), c.place.height()) << c.name;
        EXPECT_GE(c.box->x(), c.place.x()) << c.name;
        EXPECT_GE(c.box->width(), std::max(c.place.width(), c.box->sizeHint().width())) << c.name;
        EXPECT_EQ(c.box->isChecked(), c.ticked) << c.name;
    }
    EXPECT_EQ(d->chkSettings->x(), d->chkMPanel->x());
    EXPECT_EQ(d->chkFigure->x(), d->chkLayouter->x());
    EXPECT_GT(d->chkFigure->x(), d->chkSettings->geometry().right());
    EXPECT_EQ(d->OKButton->text(), "OK");
    EXPECT_EQ(d->CancelButton->text(), "Cancel");
    EXPECT_EQ(d->cmdPdf->text(), "Print to PDF...");
    for (QPushButton* b : {d->OKButton, d->CancelButton, d->cmdPdf}) {
        EXPECT_GT(b->x(), d->chkFigure->geometry().right());
        EXPECT_LE(b->geometry().right(), d->width());
    }
    EXPECT_EQ(d->OKButton->y(), twipRect(4200, 120, 1215, 375).y());
    EXPECT_EQ(d->CancelButton->y(), twipRect(4200, 600, 1215, 375).y());

    // The ticks do not carry over to the next opening.
    choose(*d, true, true, false, true);
    auto again = dialog();
    EXPECT_FALSE(again->chkSettings->isChecked());
    EXPECT_TRUE(again->chkMPanel->isChecked());
}

TEST_F(PrintTest, NothingTickedClosesWithoutPrinting)
{
    auto d = dialog();
    choose(*d, false, false, false, false);
    d->setPrinterLookup([] { return QPrinterInfo(); }); // a print attempt would ask about a PDF
    QTest::mouseClick(d->OKButton, Qt::LeftButton);
    EXPECT_EQ(d->result(), QDialog::Accepted);
    EXPECT_TRUE(d->lastPages().plan.documents.empty());
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(PrintTest, CancelPrintsNothing)
{
    auto d = dialog();
    d->setPrinterLookup([] { return QPrinterInfo(); });
    QTest::mouseClick(d->CancelButton, Qt::LeftButton);
    EXPECT_EQ(d->result(), QDialog::Rejected);
    EXPECT_TRUE(d->lastPages().plan.documents.empty());
    EXPECT_TRUE(m_messages.messages.empty());
}

TEST_F(PrintTest, DefaultTicksPrintOnePortraitPageWithTheDrawingAt500Twips)
{
    REQUIRE_PRINTER();
    auto d = dialog();
    QTest::mouseClick(d->OKButton, Qt::LeftButton);
    ASSERT_TRUE(d->lastOutcome().ok) << d->lastOutcome().error;
    EXPECT_TRUE(m_messages.messages.empty());

    const QFileInfoList files = waitForPdfs(1);
    ASSERT_EQ(files.size(), 1);
    const QString pdf = files.front().absoluteFilePath();
    const auto pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_FALSE(pages[0].landscape());
    EXPECT_FALSE(expectHeader(pdf, 1).landscape);

    // The drawing: centred, its top 500 twips below the top of the printable area.
    const PrintPage& plan = d->lastPages().plan.documents.at(0).pages.at(0);
    const PrintItem* drawing = item(plan, "Picture1");
    ASSERT_NE(drawing, nullptr);
    EXPECT_DOUBLE_EQ(drawing->y, 500);
    const QWidget* picture1 = m_win->control("Picture1");
    const double w = pixelsToTwips(picture1->width());
    const double h = pixelsToTwips(picture1->height());
    const QPointF corner = printableCorner(PageOrientation::Portrait);
    const QImage page = renderPage(pdf, 1, 60, m_dir.path());
    const QRectF where(corner.x() + drawing->x, corner.y() + 500, w, h);
    EXPECT_GT(inkShare(page, where, 60), 0.01);
    // Below the drawing the page is blank: nothing else was ticked.
    const QRectF below(corner.x(), where.bottom() + 300, where.right(), 3000);
    EXPECT_LT(inkShare(page, below, 60), 0.001);
    // The drawing is centred across the printable width.
    const QPageLayout l = PrintJob::pageLayoutFor(QPrinterInfo::defaultPrinter());
    EXPECT_NEAR(drawing->x * 2 + w, l.paintRect(QPageLayout::Point).width() * 20, 1);
}

TEST_F(PrintTest, OnlyTheLayoutGivesAHeaderPageAndALandscapeLayoutPage)
{
    REQUIRE_PRINTER();
    auto d = dialog();
    choose(*d, false, false, false, true);
    QTest::mouseClick(d->OKButton, Qt::LeftButton);
    ASSERT_TRUE(d->lastOutcome().ok) << d->lastOutcome().error;
    EXPECT_TRUE(m_messages.messages.empty());
    // The layouter was loaded for the print and closed again.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(m_win->findChild<frmLayout*>(), nullptr);

    const QFileInfoList files = waitForPdfs(1);
    ASSERT_EQ(files.size(), 1);
    const QString pdf = files.front().absoluteFilePath();
    const auto pages = pdfPages(pdf);
    ASSERT_EQ(pages.size(), 2u);
    const ReadPage first = expectHeader(pdf, 1);
    const ReadPage second = expectHeader(pdf, 2);
    EXPECT_FALSE(first.landscape || pages[0].landscape());
    EXPECT_TRUE(second.landscape || pages[1].landscape());

    // Page 1 carries nothing but the header.
    const QPointF portrait = printableCorner(PageOrientation::Portrait);
    EXPECT_LT(inkShare(first.image, QRectF(portrait.x(), portrait.y() + 600, 9000, 12000), 200), 0.001);

    // Page 2: the sheet with its panels, centred; seven panels when there is a port.
    const PrintPage& layout = d->lastPages().plan.documents.at(0).pages.at(1);
    EXPECT_EQ(layout.orientation, PageOrientation::Landscape);
    int panels = 0;
    for (const PrintItem& i : layout.items)
        panels += i.kind == PrintItem::Kind::Image;
    const bool port = m_win->app().inputs.pieces[2] > 0;
    EXPECT_EQ(panels, port ? 7 : 6);
    const PrintItem* sheet = nullptr;
    for (const PrintItem& i : layout.items)
        if (i.kind == PrintItem::Kind::Outline && !sheet)
            sheet = &i;
    ASSERT_NE(sheet, nullptr);
    const QPointF landscape = printableCorner(PageOrientation::Landscape);
    const PrintItem* front = item(layout, "shFront");
    ASSERT_NE(front, nullptr);
    EXPECT_GT(
        inkShare(second.image, QRectF(landscape.x() + front->x, landscape.y() + front->y, 600, 600), 200),
        0.05);
    // The sheet outline is drawn: its left edge has ink down its length.
    EXPECT_GT(
        inkShare(second.image,
                 QRectF(landscape.x() + sheet->x - 15, landscape.y() + sheet->y, 45, sheet->y2 - sheet->y),
                 200),
        0.3);
}

TEST_F(PrintTest, ThreeTicksGiveTwoDocuments)
{
    REQUIRE_PRINTER();
    auto d = dialog();
    choose(*d, true, true, false, true);
    QTest::mouseClick(d->OKButton, Qt::LeftButton);
    ASSERT_TRUE(d->lastOutcome().ok) << d->lastOutcome().error;
    ASSERT_EQ(d->lastPages().plan.documents.size(), 2u);

    const QFileInfoList files = waitForPdfs(2);
    ASSERT_EQ(files.size(), 2);
    // One portrait document (header, figure, frames) and one landscape layout document.
    int landscapeDocs = 0;
    for (const QFileInfo& f : files) {
        const auto pages = pdfPages(f.absoluteFilePath());
        ASSERT_EQ(pages.size(), 1u) << f.fileName().toStdString();
        landscapeDocs += expectHeader(f.absoluteFilePath(), 1).landscape || pages[0].landscape();
    }
    EXPECT_EQ(landscapeDocs, 1);
}

TEST_F(PrintTest, OnlyInputValuesPrintTheFramesInTheirArrangement)
{
    REQUIRE_PRINTER();
    auto d = dialog();
    choose(*d, true, false, false, false);
    QTest::mouseClick(d->OKButton, Qt::LeftButton);
    ASSERT_TRUE(d->lastOutcome().ok) << d->lastOutcome().error;
    const PrintPage& page = d->lastPages().plan.documents.at(0).pages.at(0);
    const PrintItem* info = item(page, "fraInfo");
    const PrintItem* result = item(page, "fraResult");
    ASSERT_NE(info, nullptr);
    ASSERT_NE(result, nullptr);
    EXPECT_DOUBLE_EQ(info->y, 500);
    const QWidget* fraResult = m_win->control("fraResult");
    EXPECT_NEAR(result->x - info->x, pixelsToTwips(fraResult->x()), 0.5);
    EXPECT_NEAR(result->y - info->y, pixelsToTwips(fraResult->y()), 0.5);

    const QFileInfoList files = waitForPdfs(1);
    ASSERT_EQ(files.size(), 1);
    const QString pdf = files.front().absoluteFilePath();
    EXPECT_EQ(pdfPages(pdf).size(), 1u);
    const QImage img = renderPage(pdf, 1, 60, m_dir.path());
    const QPointF corner = printableCorner(PageOrientation::Portrait);
    EXPECT_GT(inkShare(img, QRectF(corner.x() + info->x, corner.y() + 500, 2000, 1500), 60), 0.01);
}

TEST_F(PrintTest, WithoutAPrinterTheUserIsToldAndGetsThePagesAsPdf)
{
    auto d = dialog();
    choose(*d, true, false, true, true);
    d->setPrinterLookup([] { return QPrinterInfo(); });
    const QString file = m_dir.filePath("pages.pdf");
    int asked = 0;
    d->setPdfFileQuestion([&] {
        ++asked;
        return file;
    });
    m_messages.answers.push_back(MessageAnswer::Ok);
    QTest::mouseClick(d->OKButton, Qt::LeftButton);

    ASSERT_EQ(m_messages.messages.size(), 1u);
    const Message& m = m_messages.messages.front();
    EXPECT_EQ(m.title, "Printer");
    EXPECT_EQ(m.buttons, MessageButtons::OkCancel);
    EXPECT_NE(m.text.find("no default printer"), std::string::npos) << m.text;
    EXPECT_NE(m.text.find("PDF"), std::string::npos) << m.text;
    EXPECT_EQ(asked, 1);
    ASSERT_TRUE(QFileInfo::exists(file));
    // The same pages: the first page with the drawing and frames, then the layout page.
    const auto pages = pdfPages(file);
    ASSERT_EQ(pages.size(), 2u);
    EXPECT_FALSE(pages[0].landscape());
    EXPECT_TRUE(pages[1].landscape());
    expectHeader(file, 1);
    EXPECT_EQ(d->result(), QDialog::Accepted);
}

TEST_F(PrintTest, WithoutAPrinterAndTheOfferDeclinedNothingIsWritten)
{
    auto d = dialog();
    d->setPrinterLookup([] { return QPrinterInfo(); });
    int asked = 0;
    d->setPdfFileQuestion([&] {
        ++asked;
        return m_dir.filePath("never.pdf");
    });
    m_messages.answers.push_back(MessageAnswer::Cancel);
    QTest::mouseClick(d->OKButton, Qt::LeftButton);
    ASSERT_EQ(m_messages.messages.size(), 1u);
    EXPECT_EQ(asked, 0);
    EXPECT_FALSE(QFileInfo::exists(m_dir.filePath("never.pdf")));
    EXPECT_FALSE(d->lastOutcome().ok);
}

TEST_F(PrintTest, WithoutAPortTheLayoutPageHasSixPanels)
{
    auto* ports = qobject_cast<QComboBox*>(m_win->control("cmbPieces", 2));
    ASSERT_NE(ports, nullptr);
    for (int withPort : {1, 0}) {
        ports->setCurrentIndex(withPort);
        ASSERT_EQ(m_win->app().inputs.pieces[2], withPort);
        // Whether the layouter shows the port board is its own decision; the print follows it.
        bool portShown = false;
        {
            auto* look = new frmLayout(m_win->app(), *m_win, m_win.get());
            portShown = look->panel(6)->isVisibleTo(look->picPanel());
            look->close();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        if (!withPort) {
            EXPECT_FALSE(portShown);
        }
        m_messages.messages.clear();
        auto d = dialog();
        choose(*d, false, false, false, true);
        d->setPrinterLookup([] { return QPrinterInfo(); });
        m_messages.answers.push_back(MessageAnswer::Cancel);
        QTest::mouseClick(d->OKButton, Qt::LeftButton);
        const PrintPage& layout = d->lastPages().plan.documents.at(0).pages.at(1);
        std::vector<std::string> panels;
        for (const PrintItem& i : layout.items)
            if (i.kind == PrintItem::Kind::Image)
                panels.push_back(i.source);
        std::vector<std::string> expected = {"shFront", "shRear", "shTop", "shBottom", "shLeft", "shRight"};
        if (portShown)
            expected.push_back("shPort");
        EXPECT_EQ(panels, expected) << withPort;
        // A sheet outline and one outline per panel.
        int outlines = 0;
        for (const PrintItem& i : layout.items)
            outlines += i.kind == PrintItem::Kind::Outline;
        EXPECT_EQ(outlines, int(expected.size()) + 1);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

// What the job changes on screen, to compare before and after.
struct ScreenLook {
    std::vector<bool> ownPalette;
    std::vector<bool> autoFill;
    std::vector<QRgb> background;
    bool operator==(const ScreenLook&) const = default;
};

ScreenLook lookOf(MainWindowHost& host)
{
    ScreenLook look;
    for (const char* name : {"Picture1", "fraInfo", "fraCorrection", "fraPort", "fraWoofer", "fraResult"}) {
        QWidget* w = host.control(name);
        look.ownPalette.push_back(w->testAttribute(Qt::WA_SetPalette));
        look.autoFill.push_back(w->autoFillBackground());
        look.background.push_back(w->palette().color(QPalette::Window).rgb());
    }
    return look;
}

TEST_F(PrintTest, EveryWindowIsSetBackAfterAFailedPrint)
{
    // The layouter is open before: its sheet colour is kept, and it is closed after the layout print.
    m_win->findChild<QAction*>("mnuFilePanel")->trigger();
    QPointer<frmLayout> layouter = m_win->findChild<frmLayout*>();
    ASSERT_FALSE(layouter.isNull());
    const QRgb sheetBefore = layouter->picPanel()->palette().color(QPalette::Window).rgb();
    const ScreenLook before = lookOf(*m_win);

    auto d = dialog();
    choose(*d, true, true, true, true);
    d->setPrinterLookup([] { return QPrinterInfo(); });
    m_messages.answers.push_back(MessageAnswer::Cancel);
    QTest::mouseClick(d->OKButton, Qt::LeftButton);
    ASSERT_FALSE(d->lastOutcome().ok);
    ASSERT_EQ(m_messages.messages.size(), 1u);

    EXPECT_EQ(lookOf(*m_win), before);
    for (const char* name : {"fraInfo", "fraResult"})
        EXPECT_NE(m_win->control(name)->palette().color(QPalette::Window), QColor(Qt::white)) << name;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (!layouter.isNull()) {
        EXPECT_EQ(layouter->picPanel()->palette().color(QPalette::Window).rgb(), sheetBefore);
    }
    EXPECT_TRUE(layouter.isNull() || !layouter->isVisible());
}

TEST_F(PrintTest, ARefusedJobIsReportedAndWindowsAreSetBack)
{
    REQUIRE_PRINTER();
    // The tests' scheduler has a second queue that refuses every job.
    const QString queue = QStringLiteral("KelvraPDFRefuses");
    ASSERT_FALSE(QPrinterInfo::printerInfo(queue).isNull());

    const ScreenLook before = lookOf(*m_win);
    auto d = dialog();
    choose(*d, true, false, true, false);
    d->setPrinterLookup([queue] { return QPrinterInfo::printerInfo(queue); });
    const QString file = m_dir.filePath("refused.pdf");
    d->setPdfFileQuestion([&] { return file; });
    m_messages.answers.push_back(MessageAnswer::Ok);
    QTest::mouseClick(d->OKButton, Qt::LeftButton);

    ASSERT_EQ(m_messages.messages.size(), 1u);
    EXPECT_NE(m_messages.messages[0].text.find("Printing failed"), std::string::npos)
        << m_messages.messages[0].text;
    EXPECT_EQ(m_messages.messages[0].buttons, MessageButtons::OkCancel);
    EXPECT_TRUE(QFileInfo::exists(file));
    EXPECT_EQ(lookOf(*m_win), before);
}

TEST_F(PrintTest, FilePrintThroughTheMainWindowSendsThePdf)
{
    REQUIRE_PRINTER();
    bool seen = false;
    QString caption;
    // The dialog is modal: drive it from inside its own event loop.
    QTimer::singleShot(0, [&] {
        auto* d = qobject_cast<frmPrint*>(QApplication::activeModalWidget());
        if (!d) {
            for (QWidget* w : QApplication::topLevelWidgets())
                if (auto* p = qobject_cast<frmPrint*>(w); p && p->isVisible())
                    d = p;
        }
        if (!d)
            return;
        seen = true;
        caption = d->windowTitle();
        d->job().setDocumentName(m_token);
        // Everything of the main window on one page: drawing, figure and input values.
        QTest::mouseClick(d->chkFigure, Qt::LeftButton, {}, QPoint(8, d->chkFigure->height() / 2));
        QTest::mouseClick(d->chkSettings, Qt::LeftButton, {}, QPoint(8, d->chkSettings->height() / 2));
        QTest::mouseClick(d->OKButton, Qt::LeftButton);
    });
    m_win->findChild<QAction*>("mnuFilePrint")->trigger();
    ASSERT_TRUE(seen);
    EXPECT_EQ(caption, "Print options");
    EXPECT_TRUE(m_messages.messages.empty());
    const QFileInfoList files = waitForPdfs(1);
    ASSERT_EQ(files.size(), 1);
    const QString pdf = files.front().absoluteFilePath();
    ASSERT_EQ(pdfPages(pdf).size(), 1u);
    const ReadPage page = expectHeader(pdf, 1);
    EXPECT_FALSE(page.landscape);
    // The three items one below the other: ink in the drawing's band, the figure's and the frames'.
    const QPointF corner = printableCorner(PageOrientation::Portrait);
    const double drawingBottom = 500 + pixelsToTwips(m_win->control("Picture1")->height());
    const double figureBottom = drawingBottom + pixelsToTwips(m_win->control("picFigure")->height());
    EXPECT_GT(inkShare(page.image, QRectF(corner.x(), corner.y() + 500, 11000, drawingBottom - 500), 200),
              0.01);
    EXPECT_GT(inkShare(page.image,
                       QRectF(corner.x(), corner.y() + drawingBottom, 11000, figureBottom - drawingBottom),
                       200),
              0.01);
    EXPECT_GT(inkShare(page.image, QRectF(corner.x(), corner.y() + figureBottom, 11000, 2000), 200), 0.01);
}

} // namespace
