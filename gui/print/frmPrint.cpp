#include "gui/print/frmPrint.h"

#include "gui/common/MainWindowHost.h"
#include "gui/common/MessageService.h"
#include "gui/common/Twips.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QPushButton>

#include <algorithm>

namespace kelvra
{

namespace
{

const char* const kTitle = "Printer";
const char* const kOfferPdf = "\n\nSave the same pages as a PDF file instead?";

QCheckBox* makeCheck(QWidget* parent, const char* name, const char* caption, QRect rect, bool ticked)
{
    auto* box = new QCheckBox(QString::fromLatin1(caption), parent);
    box->setObjectName(QString::fromLatin1(name));
    box->setGeometry(rect);
    box->setChecked(ticked);
    return box;
}

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption, QRect rect)
{
    auto* button = new QPushButton(QString::fromLatin1(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(rect);
    return button;
}

} // namespace

frmPrint::frmPrint(MainWindowHost& host, LayouterAccess layouter, QWidget* parent)
    : QDialog(parent), m_job(host, layouter.open ? std::move(layouter) : host.layouterAccess()),
      m_printerLookup([] { return QPrinterInfo::defaultPrinter(); })
{
    setObjectName(QStringLiteral("frmPrint"));
    setWindowTitle(QStringLiteral("Print options"));
    setModal(true);
    // The design's 5505 by 1080 twips, with one row more for "Print to PDF...".
    setFixedSize(twipsToPixels(5505), twipsToPixels(1575));

    // The ticks start from these defaults each time: the dialog keeps nothing between uses.
    chkSettings = makeCheck(this, "chkSettings", "Print Input Values", twipRect(120, 120, 1815, 375), false);
    chkFigure =
        makeCheck(this, "chkFigure", "Print measurements figure", twipRect(2160, 120, 1815, 375), false);
    chkMPanel = makeCheck(this, "chkMPanel", "Print Panel measurements", twipRect(120, 600, 1815, 375), true);
    chkLayouter = makeCheck(this, "chkLayouter", "Print Layout", twipRect(2160, 600, 1815, 375), false);
    OKButton = makeButton(this, "OKButton", "OK", twipRect(4200, 120, 1215, 375));
    CancelButton = makeButton(this, "CancelButton", "Cancel", twipRect(4200, 600, 1215, 375));
    cmdPdf = makeButton(this, "cmdPdf", "Print to PDF...", twipRect(4200, 1080, 1215, 375));
    OKButton->setDefault(true);
    fitColumns();

    m_pdfFileQuestion = [this] {
        return QFileDialog::getSaveFileName(this, QStringLiteral("Print to PDF"),
                                            QDir::home().filePath(QStringLiteral("kelvra.pdf")),
                                            QStringLiteral("PDF files (*.pdf)"));
    };

    connect(OKButton, &QPushButton::clicked, this, &frmPrint::onOKButtonClicked);
    connect(CancelButton, &QPushButton::clicked, this, &frmPrint::onCancelButtonClicked);
    connect(cmdPdf, &QPushButton::clicked, this, &frmPrint::onPdfClicked);
}

void frmPrint::fitColumns()
{
    // The design's columns are too narrow for the captions in most fonts: a column grows to its widest
    // caption and the columns right of it, and the dialog, move along.
    const int gap = twipsToPixels(225);
    auto columnWidth = [](QCheckBox* a, QCheckBox* b) {
        return std::max({twipsToPixels(1815), a->sizeHint().width(), b->sizeHint().width()});
    };
    const int first = columnWidth(chkSettings, chkMPanel);
    const int second = columnWidth(chkFigure, chkLayouter);
    const int secondLeft = chkSettings->x() + first + gap;
    const int buttonsLeft = secondLeft + second + gap;
    for (QCheckBox* box : {chkSettings, chkMPanel})
        box->resize(first, box->height());
    for (QCheckBox* box : {chkFigure, chkLayouter})
        box->setGeometry(secondLeft, box->y(), second, box->height());
    int buttonsWidth = OKButton->width();
    for (QPushButton* button : {OKButton, CancelButton, cmdPdf})
        buttonsWidth = std::max(buttonsWidth, button->sizeHint().width());
    for (QPushButton* button : {OKButton, CancelButton, cmdPdf})
        button->setGeometry(buttonsLeft, button->y(), buttonsWidth, button->height());
    setFixedSize(buttonsLeft + buttonsWidth + twipsToPixels(90), height());
}

PrintChoice frmPrint::choice() const
{
    PrintChoice c;
    c.settings = chkSettings->isChecked();
    c.figure = chkFigure->isChecked();
    c.mPanel = chkMPanel->isChecked();
    c.layouter = chkLayouter->isChecked();
    return c;
}

void frmPrint::onOKButtonClicked()
{
    const PrintChoice c = choice();
    m_lastOutcome = {};
    m_lastPages = {};
    if (!c.any()) {
        accept();
        return;
    }
    hide();
    const QPrinterInfo printer = m_printerLookup();
    const QPageLayout layout = PrintJob::pageLayoutFor(printer);
    m_lastPages = m_job.capture(c, layout);
    m_lastOutcome = m_job.print(m_lastPages, printer);
    if (!m_lastOutcome.ok)
        offerPdf(m_lastPages, layout, m_lastOutcome.error);
    reportProblem(m_lastPages);
    accept();
}

void frmPrint::onCancelButtonClicked()
{
    reject();
}

void frmPrint::onPdfClicked()
{
    const PrintChoice c = choice();
    m_lastOutcome = {};
    m_lastPages = {};
    if (!c.any()) {
        accept();
        return;
    }
    const QString path = m_pdfFileQuestion ? m_pdfFileQuestion() : QString();
    if (path.isEmpty())
        return; // the user thought better of it; the dialog stays
    hide();
    const QPageLayout layout = PrintJob::pageLayoutFor(m_printerLookup());
    m_lastPages = m_job.capture(c, layout);
    writePdf(m_lastPages, layout, path);
    reportProblem(m_lastPages);
    accept();
}

void frmPrint::offerPdf(const PrintedPages& pages, const QPageLayout& layout, const std::string& error)
{
    const std::string text = "Printing failed: " + error + "." + kOfferPdf;
    const Message question{text, kTitle, MessageIcon::Exclamation, MessageButtons::OkCancel};
    if (messageService().show(parentWidget(), question) != MessageAnswer::Ok)
        return;
    const QString path = m_pdfFileQuestion ? m_pdfFileQuestion() : QString();
    if (!path.isEmpty())
        writePdf(pages, layout, path);
}

bool frmPrint::writePdf(const PrintedPages& pages, const QPageLayout& layout, const QString& path)
{
    const PrintOutcome saved = m_job.saveAsPdf(pages, path, layout);
    if (!saved.ok) {
        messageService().show(parentWidget(), {"The PDF file could not be saved: " + toStdString(path),
                                               kTitle, MessageIcon::Critical, MessageButtons::Ok});
    }
    m_lastOutcome = saved;
    return saved.ok;
}

void frmPrint::reportProblem(const PrintedPages& pages)
{
    if (!pages.problem.empty())
        messageService().show(parentWidget(),
                              {pages.problem, kTitle, MessageIcon::Exclamation, MessageButtons::Ok});
}

} // namespace kelvra
