// The "Cut plan" window: the numbered cut list of a Best fit plan with a drawing of each sheet,
// to be printed or saved as PDF for the saw.
#pragma once

#include "boards/Boards.h"
#include "layouter/BestFit.h"

#include <QImage>
#include <QWidget>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class QPrinter;
class QShowEvent;
class QPushButton;
class QTextBrowser;
class QTextDocument;

namespace kelvra
{

class frmCutPlan : public QWidget
{
    Q_OBJECT
public:
    // `names` are the boards' captions in the plan's board order (the keys stand in where empty). With
    // the boards the plan was made of, the cuts also list each bevel cut with its blade tilt.
    frmCutPlan(CutPlan plan, std::vector<std::string> names, char decimalSeparator, QWidget* parent = nullptr,
               Measure measure = Measure::Metric, std::optional<BoxBoards> boards = std::nullopt);
    ~frmCutPlan() override;

    QTextBrowser* txtCutPlan() const { return m_text; }
    QPushButton* cmdPrint() const { return m_print; }
    QPushButton* cmdSavePdf() const { return m_savePdf; }
    QPushButton* cmdClose() const { return m_close; }
    const CutPlan& plan() const { return m_plan; }

    // Writes the plan as a PDF file; false (and a message) when the file cannot be written.
    bool saveAsPdf(const QString& path);
    void printTo(QPrinter& printer);
    // A picture of one sheet with its boards and numbered cut lines.
    QImage sheetImage(int sheet, double pixelsPerCm) const;

    // Asks for the PDF's file name; a file dialog unless a test puts another chooser in place.
    void setPdfFileChooser(std::function<QString()> chooser) { m_choosePdf = std::move(chooser); }

private:
    void onPrintClicked();
    void onSavePdfClicked();
    QString html() const;
    QString text(const char* name) const;

protected:
    void showEvent(QShowEvent* event) override;
    // A new language: the plan is written again in its words.
    void changeEvent(QEvent* event) override;

private:
    CutPlan m_plan;
    std::vector<std::string> m_names;
    char m_separator;
    Measure m_measure;
    std::optional<BoxBoards> m_boards;
    QTextDocument* m_document = nullptr;
    QTextBrowser* m_text = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_savePdf = nullptr;
    QPushButton* m_close = nullptr;
    std::function<QString()> m_choosePdf;
};

} // namespace kelvra
