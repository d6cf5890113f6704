// The print job: captures the main window's items and the layouter's panels with Qt's own widget
// rendering, lays them out on the pages (PrintPlan) and sends the pages to the default printer or to
// a PDF file.
#pragma once

#include "gui/common/LayoutSheet.h"
#include "print/PrintPlan.h"

#include <QImage>
#include <QPageLayout>
#include <QPrinterInfo>
#include <QString>
#include <array>
#include <functional>
#include <map>
#include <optional>
#include <string>

class QPrinter;
class QWidget;

namespace kelvra
{

class MainWindowHost;
struct AppState;

struct CapturedImage {
    QImage image;  // rendered at a multiple of the screen resolution, so the paper copy is sharp
    TwipSize size; // the control's size on screen, which is its size on paper
};

// Everything that goes on paper, captured once so that the same pages can go to a printer or a PDF.
struct PrintedPages {
    PrintPlan plan;
    std::map<std::string, CapturedImage> images; // by control name
    std::string problem;                         // a part that could not be captured, else empty
};

struct PrintOutcome {
    bool ok = true;
    std::string error; // what went wrong, for the user
};

// The printable area of a page layout in twips, in the given orientation.
TwipSize printableTwips(const QPageLayout& layout, PageOrientation orientation);

// Captures one control with its children on a white ground (the paste is opaque).
QImage captureWidget(QWidget* widget);

// The real boards as the boards window lists them (name, count, size, thickness), named by the main
// window's panel captions; empty when the boards cannot be built.
std::vector<PrintBoardRow> printedBoardRows(MainWindowHost& host);
// The printed board table's heading: the boards window's columns in the chosen language and measure.
BoardTableHeading boardTableHeading(const AppState& app);

class PrintJob
{
public:
    explicit PrintJob(MainWindowHost& host, LayouterAccess layouter = {});

    // Captures the ticked items and composes the pages for the given page layout. Every window the
    // capture changes (white backgrounds, the sheet view's border) is set back before it returns, and
    // the layouter is closed again when the layout was printed.
    PrintedPages capture(const PrintChoice& choice, const QPageLayout& pageLayout);

    // Each document of the pages as one job on the printer.
    PrintOutcome print(const PrintedPages& pages, const QPrinterInfo& printer) const;
    // All pages in one PDF file.
    PrintOutcome saveAsPdf(const PrintedPages& pages, const QString& path,
                           const QPageLayout& pageLayout) const;

    // The job title on the printer; a second document gets " (2)" appended.
    void setDocumentName(const QString& name) { m_documentName = name; }
    const QString& documentName() const { return m_documentName; }

    // The page layout the job uses for a printer, or A4 when there is none.
    static QPageLayout pageLayoutFor(const QPrinterInfo& printer);

private:
    MainWindowHost& m_host;
    LayouterAccess m_layouter;
    QString m_documentName = QStringLiteral("Kelvra");
};

// Paints the pages on a printer that is set up but not started, as one document.
PrintOutcome paintPages(QPrinter& printer, const std::vector<PrintPage>& pageList, const PrintedPages& pages);

} // namespace kelvra
