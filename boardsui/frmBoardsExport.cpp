// The boards window's sheet plan, exports, print-out and PDF.
#include "boardsui/frmBoards.h"

#include "AppState.h"
#include "MessageService.h"
#include "boardsui/BoardRows.h"
#include "boardsui/BoxPicture.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>

namespace kelvra
{

namespace
{

QString escaped(const std::string& text)
{
    return toQString(text).toHtmlEscaped();
}

const QUrl kBoxImage(QStringLiteral("boards-box.png"));

} // namespace

void frmBoards::refreshPlan()
{
    m_cuts->clear();
}

bool frmBoards::exportSvg(const QString& path)
{
    return cannotWrite(path);
}

bool frmBoards::exportDxf(const QString& path)
{
    return cannotWrite(path);
}

bool frmBoards::exportCsv(const QString& path)
{
    return cannotWrite(path);
}

QString frmBoards::reportHtml() const
{
    if (!m_result.ok())
        return QStringLiteral("<p>") + escaped(m_result.error.text()) + QStringLiteral("</p>");
    const char sep = m_app.decimalSeparator;
    const BoxBoards& boards = *m_result.boards;
    QString out = QStringLiteral("<h2>Boards</h2><table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">"
                                 "<tr><th>Board</th><th>Count</th><th>l x b (cm)</th><th>Thickness</th>"
                                 "<th>Bevels (saw tilt)</th></tr>");
    for (const Board& b : boards.boards) {
        const BoardRow row = boardRow(b, sep);
        out += QStringLiteral("<tr>");
        for (const std::string* cell : {&row.name, &row.count, &row.size, &row.thickness, &row.bevels})
            out += QStringLiteral("<td>") + escaped(*cell) + QStringLiteral("</td>");
        out += QStringLiteral("</tr>");
    }
    out += QStringLiteral("</table>");
    std::vector<std::string> lines = portLines(boards, sep);
    for (const std::string& line : volumeLines(boards, sep))
        lines.push_back(line);
    for (const std::string& line : lines)
        out += QStringLiteral("<p>") + escaped(line) + QStringLiteral("</p>");
    out += QStringLiteral("<h3>The box</h3><p><img src=\"%1\" width=\"480\"></p>").arg(kBoxImage.toString());
    return out;
}

void frmBoards::printTo(QPrinter& printer)
{
    QTextDocument document;
    QImage box(960, 720, QImage::Format_RGB32);
    box.fill(Qt::white);
    {
        QPainter painter(&box);
        paintBox(painter, QRectF(box.rect()), m_result.ok() ? m_result.boards->boards : std::vector<Board>{},
                 m_exploded->isChecked());
    }
    document.addResource(QTextDocument::ImageResource, kBoxImage, box);
    document.setHtml(reportHtml());
    document.print(&printer);
}

bool frmBoards::saveAsPdf(const QString& path)
{
    {
        // QPrinter does not tell when it cannot write; find out first.
        QFile probe(path);
        if (path.isEmpty() || !probe.open(QIODevice::WriteOnly))
            return cannotWrite(path);
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
    printer.setDocName(QStringLiteral("Boards"));
    printTo(printer);
    return QFile(path).size() > 0;
}

void frmBoards::onPrint()
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        printTo(printer);
}

} // namespace kelvra
