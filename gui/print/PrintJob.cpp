#include "gui/print/PrintJob.h"

#include "boards/Boards.h"
#include "gui/boards/BoardRows.h"
#include "gui/common/AppState.h"
#include "gui/common/MainWindowHost.h"
#include "gui/common/MessageService.h"
#include "gui/common/PanelCaptions.h"
#include "gui/common/Twips.h"
#include "info/Version.h"
#include "lang/LanguageFiles.h"
#include "layouter/PanelSet.h"
#include "persist/Ini.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFont>
#include <QFontMetricsF>
#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QPrinter>
#include <QWidget>

#include <algorithm>
#include <memory>

#ifdef KELVRA_HAVE_CUPS
#include <cups/cups.h>
#endif

namespace kelvra
{

namespace
{

// Captures are rendered at this multiple of the screen's resolution (about 300 dpi on paper).
constexpr qreal kCaptureScale = 3.0;
constexpr int kHeaderPointSize = 14;

TwipSize twipSize(const QWidget* w)
{
    return {pixelsToTwips(w->width()), pixelsToTwips(w->height())};
}

TwipRect twipRectOf(const QWidget* w, const QWidget* relativeTo)
{
    const QPoint p =
        relativeTo && w->parentWidget() != relativeTo ? w->mapTo(relativeTo, QPoint(0, 0)) : w->pos();
    return {pixelsToTwips(p.x()), pixelsToTwips(p.y()), pixelsToTwips(w->width()),
            pixelsToTwips(w->height())};
}

// Sets a window part to a white background for the capture and back to what it was when it goes.
class WhiteBackground
{
public:
    explicit WhiteBackground(QWidget* w) : m_widget(w)
    {
        if (!w)
            return;
        m_hadOwnPalette = w->testAttribute(Qt::WA_SetPalette);
        m_palette = w->palette();
        m_autoFill = w->autoFillBackground();
        QPalette white = w->palette();
        white.setColor(QPalette::Window, Qt::white);
        w->setPalette(white);
        w->setAutoFillBackground(true);
    }
    ~WhiteBackground()
    {
        if (!m_widget)
            return;
        m_widget->setPalette(m_hadOwnPalette ? m_palette : QPalette());
        m_widget->setAutoFillBackground(m_autoFill);
    }
    WhiteBackground(const WhiteBackground&) = delete;
    WhiteBackground& operator=(const WhiteBackground&) = delete;

private:
    QWidget* m_widget;
    QPalette m_palette;
    bool m_hadOwnPalette = false;
    bool m_autoFill = false;
};

// The sheet view prints with a single-line border; the screen shows it without.
class SheetBorder
{
public:
    explicit SheetBorder(QWidget* w) : m_frame(qobject_cast<QFrame*>(w))
    {
        if (!m_frame)
            return;
        m_shape = m_frame->frameShape();
        m_shadow = m_frame->frameShadow();
        m_frame->setFrameShape(QFrame::Box);
        m_frame->setFrameShadow(QFrame::Plain);
    }
    ~SheetBorder()
    {
        if (!m_frame)
            return;
        m_frame->setFrameShape(m_shape);
        m_frame->setFrameShadow(m_shadow);
    }
    SheetBorder(const SheetBorder&) = delete;
    SheetBorder& operator=(const SheetBorder&) = delete;

private:
    QFrame* m_frame;
    QFrame::Shape m_shape = QFrame::NoFrame;
    QFrame::Shadow m_shadow = QFrame::Plain;
};

double toDevice(double twips, double resolution)
{
    return twips * resolution / 1440.0;
}

QPageLayout::Orientation qtOrientation(PageOrientation o)
{
    return o == PageOrientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
}

void paintPage(QPainter& painter, const PrintPage& page, const PrintedPages& pages, double resolution)
{
    for (const PrintItem& item : page.items) {
        switch (item.kind) {
        case PrintItem::Kind::Header: {
            QFont font = painter.font();
            font.setPointSize(kHeaderPointSize);
            painter.setFont(font);
            const QFontMetricsF metrics(font, painter.device());
            painter.setPen(Qt::black);
            painter.drawText(
                QPointF(toDevice(item.x, resolution), toDevice(item.y, resolution) + metrics.ascent()),
                toQString(item.source));
            break;
        }
        case PrintItem::Kind::Image: {
            const auto found = pages.images.find(item.source);
            if (found == pages.images.end())
                break;
            const CapturedImage& c = found->second;
            painter.drawImage(QRectF(toDevice(item.x, resolution), toDevice(item.y, resolution),
                                     toDevice(c.size.width, resolution), toDevice(c.size.height, resolution)),
                              c.image);
            break;
        }
        case PrintItem::Kind::Outline: {
            // One screen pixel wide, as the outlines are on screen.
            painter.setPen(QPen(Qt::black, toDevice(15, resolution)));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(QRectF(QPointF(toDevice(item.x, resolution), toDevice(item.y, resolution)),
                                    QPointF(toDevice(item.x2, resolution), toDevice(item.y2, resolution))));
            break;
        }
        case PrintItem::Kind::Text: {
            const QRectF box(QPointF(toDevice(item.x, resolution), toDevice(item.y, resolution)),
                             QPointF(toDevice(item.x2, resolution), toDevice(item.y2, resolution)));
            QFont font = painter.font();
            font.setPixelSize(std::max(1, static_cast<int>(box.height() * 0.6)));
            painter.setFont(font);
            painter.setPen(Qt::black);
            painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                             toQString(item.source));
            break;
        }
        }
    }
}

} // namespace

BoardTableHeading boardTableHeading(const AppState& app)
{
    // The boards window's column captions in the chosen language, its size column in the chosen measure.
    BoardTableHeading heading = {"Plank", "Aantal", "l x b", "Dikte"};
    if (app.languagesFound && app.languageIndex >= 0 &&
        static_cast<std::size_t>(app.languageIndex) < app.languages.size()) {
        const std::string file = languageFilePath(app.ini.paths().programFolder,
                                                  app.languages[static_cast<std::size_t>(app.languageIndex)]);
        const std::array<const char*, 4> keys = {"colBoard", "colCount", "colSize", "colThickness"};
        for (std::size_t i = 0; i < keys.size(); ++i)
            heading[i] = ReadLanguageValue(file, "frmBoards", keys[i], heading[i]);
    }
    heading[2] += app.measure == Measure::Imperial ? " (in)" : " (cm)";
    return heading;
}

std::vector<PrintBoardRow> printedBoardRows(MainWindowHost& host)
{
    const std::array<std::string, kPanelCount> names = panelCaptions(host);
    const char sep = host.app().decimalSeparator;
    const BoardsResult built = buildBoards(host.app().inputs, sep, names);
    std::vector<PrintBoardRow> rows;
    if (!built.ok())
        return rows;
    for (const Board& board : built.boards->boards) {
        const BoardRow row = boardRow(board, sep, host.app().measure);
        rows.push_back({row.name, row.count, row.size, row.thickness});
    }
    return rows;
}

namespace
{

// The table of the real boards as an image the size of the drawing whose place it takes.
QImage drawBoardTable(const std::vector<PrintBoardRow>& rows, QSize pixels, TwipSize size,
                      const BoardTableHeading& heading)
{
    QImage image(pixels * kCaptureScale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(kCaptureScale);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    PrintPage table;
    table.items = boardTableItems(rows, size, heading);
    paintPage(painter, table, PrintedPages{}, logicalDpi());
    return image;
}

// The printer's own word on the job, after it was handed over.
std::string printerError(QPrinter& printer)
{
    if (printer.printerState() == QPrinter::Error || printer.printerState() == QPrinter::Aborted)
        return "the printer refused the job";
#ifdef KELVRA_HAVE_CUPS
    if (printer.outputFormat() == QPrinter::NativeFormat && cupsLastError() > IPP_STATUS_OK_EVENTS_COMPLETE) {
        const char* text = cupsLastErrorString();
        return text && *text ? std::string(text) : std::string("the print server refused the job");
    }
#endif
    return {};
}

} // namespace

TwipSize printableTwips(const QPageLayout& layout, PageOrientation orientation)
{
    QPageLayout l = layout;
    l.setOrientation(qtOrientation(orientation));
    const QRectF r = l.paintRect(QPageLayout::Point);
    return {r.width() * 20.0, r.height() * 20.0};
}

QImage captureWidget(QWidget* widget)
{
    QImage image(widget->size() * kCaptureScale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(kCaptureScale);
    image.fill(Qt::white);
    widget->render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground | QWidget::DrawChildren);
    return image;
}

PrintJob::PrintJob(MainWindowHost& host, LayouterAccess layouter)
    : m_host(host), m_layouter(std::move(layouter))
{
}

QPageLayout PrintJob::pageLayoutFor(const QPrinterInfo& info)
{
    if (info.isNull())
        return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(12, 12, 12, 12),
                           QPageLayout::Millimeter);
    QPrinter printer(info, QPrinter::HighResolution);
    return printer.pageLayout();
}

PrintedPages PrintJob::capture(const PrintChoice& requested, const QPageLayout& pageLayout)
{
    PrintedPages out;
    if (!requested.any())
        return out;
    PrintChoice choice = requested;
    const AppState& app = m_host.app();
    const std::string header =
        printHeader(TitleString(app.editionStatus, app.betaBuild), app.tables.print[0]);

    QWidget* picture1 = m_host.control("Picture1");
    QWidget* picFigure = m_host.control("picFigure");
    static constexpr std::array<const char*, 5> kFrames = {"fraInfo", "fraCorrection", "fraPort", "fraWoofer",
                                                           "fraResult"};
    std::array<QWidget*, 5> frames{};
    for (std::size_t i = 0; i < kFrames.size(); ++i)
        frames[i] = m_host.control(kFrames[i]);

    MainPrintGeometry main;
    if (picture1)
        main.picture1 = twipSize(picture1);
    if (picFigure)
        main.picFigure = twipSize(picFigure);
    TwipRect* rects[5] = {&main.fraInfo, &main.fraCorrection, &main.fraPort, &main.fraWoofer,
                          &main.fraResult};
    for (std::size_t i = 0; i < frames.size(); ++i)
        if (frames[i])
            *rects[i] = twipRectOf(frames[i], nullptr);

    {
        WhiteBackground whitePicture(picture1);
        // The panel measurements are those of the real boards, in the drawing's place; the drawing itself
        // only when the boards cannot be built.
        if (choice.mPanel && picture1) {
            const std::vector<PrintBoardRow> rows = printedBoardRows(m_host);
            out.images["Picture1"] = {rows.empty() ? captureWidget(picture1)
                                                   : drawBoardTable(rows, picture1->size(), main.picture1,
                                                                    boardTableHeading(m_host.app())),
                                      main.picture1};
        }
        if (choice.figure && picFigure)
            out.images["picFigure"] = {captureWidget(picFigure), main.picFigure};
        if (choice.settings) {
            std::array<std::optional<WhiteBackground>, 5> white;
            for (std::size_t i = 0; i < frames.size(); ++i)
                if (frames[i])
                    white[i].emplace(frames[i]);
            for (std::size_t i = 0; i < frames.size(); ++i)
                if (frames[i])
                    out.images[kFrames[i]] = {captureWidget(frames[i]), twipSize(frames[i])};
        }
    }

    std::optional<SheetPrintGeometry> sheet;
    if (choice.layouter) {
        std::optional<LayoutSheet> layout = m_layouter.open ? m_layouter.open() : std::nullopt;
        QCoreApplication::processEvents();
        if (!layout || !layout->picPanel) {
            out.problem = "The layouter could not be opened; the layout page is left out.";
            choice.layouter = false;
        } else {
            SheetPrintGeometry g;
            g.picPanel = twipSize(layout->picPanel);
            {
                WhiteBackground whiteSheet(layout->picPanel);
                SheetBorder border(layout->picPanel);
                for (std::size_t i = 0; i < layout->panels.size(); ++i) {
                    QWidget* panel = layout->panels[i];
                    if (!panel) {
                        if (i == 6)
                            g.portVisible = false;
                        continue;
                    }
                    g.panels[i] = twipRectOf(panel, layout->picPanel);
                    if (i == 6)
                        g.portVisible = panel->isVisibleTo(layout->picPanel);
                    if (i != 6 || g.portVisible)
                        out.images[kPanelControlNames[i]] = {captureWidget(panel), twipSize(panel)};
                    QCoreApplication::processEvents();
                }
                for (QWidget* panel : layout->extras) {
                    if (!panel || !panel->isVisibleTo(layout->picPanel))
                        continue;
                    const std::string name = panel->objectName().toStdString();
                    g.extras.emplace_back(name, twipRectOf(panel, layout->picPanel));
                    out.images[name] = {captureWidget(panel), twipSize(panel)};
                    QCoreApplication::processEvents();
                }
            }
            sheet = g;
            // The layouter closes after a layout print, also when the user had it open before.
            if (m_layouter.close)
                m_layouter.close();
        }
    }

    out.plan = composePrint(choice, main, sheet, printableTwips(pageLayout, PageOrientation::Portrait),
                            printableTwips(pageLayout, PageOrientation::Landscape), header);
    return out;
}

PrintOutcome paintPages(QPrinter& printer, const std::vector<PrintPage>& pageList, const PrintedPages& pages)
{
    if (pageList.empty())
        return {};
    // The two further settings: one copy, one-sided.
    printer.setCopyCount(1);
    printer.setDuplex(QPrinter::DuplexNone);
    printer.setFullPage(false);
    printer.setPageOrientation(qtOrientation(pageList.front().orientation));
    QPainter painter;
    if (!painter.begin(&printer))
        return {false, "the printer could not be started"};
    const int resolution = printer.resolution();
    for (std::size_t i = 0; i < pageList.size(); ++i) {
        if (i > 0) {
            printer.setDuplex(QPrinter::DuplexNone);
            printer.setPageOrientation(qtOrientation(pageList[i].orientation));
            if (!printer.newPage()) {
                painter.end();
                return {false, "the printer refused a new page"};
            }
        }
        paintPage(painter, pageList[i], pages, resolution);
        QCoreApplication::processEvents();
    }
    if (!painter.end())
        return {false, "the printer did not accept the pages"};
    const std::string error = printerError(printer);
    if (!error.empty())
        return {false, error};
    return {};
}

PrintOutcome PrintJob::print(const PrintedPages& pages, const QPrinterInfo& info) const
{
    if (info.isNull())
        return {false, "there is no default printer on this system"};
    for (std::size_t d = 0; d < pages.plan.documents.size(); ++d) {
        QPrinter printer(info, QPrinter::HighResolution);
        printer.setDocName(d == 0 ? m_documentName : m_documentName + QStringLiteral(" (%1)").arg(d + 1));
        PrintOutcome outcome = paintPages(printer, pages.plan.documents[d].pages, pages);
        if (!outcome.ok)
            return outcome;
    }
    return {};
}

PrintOutcome PrintJob::saveAsPdf(const PrintedPages& pages, const QString& path,
                                 const QPageLayout& pageLayout) const
{
    std::vector<PrintPage> all;
    for (const PrintDocument& doc : pages.plan.documents)
        all.insert(all.end(), doc.pages.begin(), doc.pages.end());
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setPageLayout(pageLayout);
    printer.setDocName(m_documentName);
    PrintOutcome outcome = paintPages(printer, all, pages);
    if (outcome.ok && !QFileInfo::exists(path))
        return {false, "the file could not be written"};
    return outcome;
}

} // namespace kelvra
