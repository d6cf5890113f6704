// "Print options": the four tick boxes of what goes on paper, OK to print on the default printer and
// "Print to PDF..." for a file to take along.
#pragma once

#include "gui/print/PrintJob.h"

#include <QDialog>
#include <QPrinterInfo>
#include <functional>

class QCheckBox;
class QPushButton;

namespace kelvra
{

class MainWindowHost;

class frmPrint : public QDialog
{
    Q_OBJECT
public:
    // An empty layouter access prints from the main window's layouter window.
    frmPrint(MainWindowHost& host, LayouterAccess layouter, QWidget* parent = nullptr);

    QCheckBox* chkSettings;
    QCheckBox* chkFigure;
    QCheckBox* chkMPanel;
    QCheckBox* chkLayouter;
    QPushButton* OKButton;
    QPushButton* CancelButton;
    QPushButton* cmdPdf;

    PrintChoice choice() const;
    PrintJob& job() { return m_job; }
    // What the last OK or "Print to PDF..." did.
    const PrintOutcome& lastOutcome() const { return m_lastOutcome; }
    const PrintedPages& lastPages() const { return m_lastPages; }

    // The system's default printer unless a test puts another lookup in place.
    void setPrinterLookup(std::function<QPrinterInfo()> lookup) { m_printerLookup = std::move(lookup); }
    // Asks for the PDF file name; an empty name means the user cancelled.
    void setPdfFileQuestion(std::function<QString()> question) { m_pdfFileQuestion = std::move(question); }

private:
    // Widens the check box columns to their captions; the buttons and the dialog move along.
    void fitColumns();
    void onOKButtonClicked();
    void onCancelButtonClicked();
    void onPdfClicked();
    // After a printer failure: tells the user and offers the same pages as a PDF file.
    void offerPdf(const PrintedPages& pages, const QPageLayout& layout, const std::string& error);
    bool writePdf(const PrintedPages& pages, const QPageLayout& layout, const QString& path);
    void reportProblem(const PrintedPages& pages);

    PrintJob m_job;
    std::function<QPrinterInfo()> m_printerLookup;
    std::function<QString()> m_pdfFileQuestion;
    PrintOutcome m_lastOutcome;
    PrintedPages m_lastPages;
};

} // namespace kelvra
