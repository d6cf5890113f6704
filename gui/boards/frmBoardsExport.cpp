// The boards window's sheet plan, workshop files, print-out and PDF.
#include "gui/boards/frmBoards.h"
#include "gui/common/Refusals.h"

#include "gui/boards/BoardRows.h"
#include "gui/boards/BoxPicture.h"
#include "gui/boards/OutlinePicture.h"
#include "gui/boards/SheetPicture.h"
#include "gui/common/AppState.h"
#include "gui/common/MessageService.h"
#include "gui/common/PrintOut.h"
#include "gui/common/ReportHtml.h"
#include "gui/layouter/CutPlanWords.h"
#include "layouter/AutoFit.h"
#include "layouter/BoardExports.h"
#include "layouter/CutPlanText.h"

#include <QAction>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>

namespace kelvra
{

namespace
{

// The kerf of the saw thickness the layouter keeps ("2", "3" or "4" mm), so both plan alike.
double layouterKerf(const IniStore& ini)
{
    bool ok = false;
    const int mm = QString::fromStdString(ini.ReadIni("Layouter", "Thick", "2")).trimmed().toInt(&ok);
    return kerfOfSawThick(ok && mm >= kFirstSawThick && mm <= kLastSawThick ? mm : kFirstSawThick);
}

// The sheets of the layouter's sheet-size choice, so Best fit here and there plans on the same sheet.
std::vector<BestFitSheet> layouterSheets(const IniStore& ini, char sep)
{
    return bestFitSheets(sheetSizeSetting(ini.ReadIni("Layouter", "Size", "1"), sep),
                         customSheetSetting(ini.ReadIni("Layouter", "CustomLength", ""),
                                            ini.ReadIni("Layouter", "CustomBreadth", ""), sep));
}

const QUrl kBoxImage(QStringLiteral("boards-box.png"));
const QUrl kOutlinesImage(QStringLiteral("boards-outlines.png"));
constexpr int kOutlineColumns = 3;
constexpr int kOutlinesWidth = 1200;

QUrl sheetUrl(int sheet)
{
    return QUrl(QStringLiteral("boards-sheet-%1.png").arg(sheet + 1));
}

// The plan in words: summary, the cuts in the order of sawing, where each board lies, the left-overs.
QString planHtml(const BoardPlanResult& plan, char sep, bool withImages, Measure measure,
                 const std::function<QString(const char*)>& text)
{
    if (!plan.ok())
        return QStringLiteral("<p>") + htmlEscaped(plan.text()) + QStringLiteral("</p>");
    const CutPlanText t =
        describeBoardPlan(*plan.plan, *plan.boards, sep, measure,
                          cutPlanWords([&](const char* name) { return text(name).toStdString(); }));
    QString out = htmlList(t.summary, "ul");
    if (withImages)
        for (int s = 0; s < plan.plan->sheetCount; ++s)
            out += QStringLiteral("<h3>%1</h3><p><img src=\"%2\" width=\"600\"></p>")
                       .arg(text("hdrSheet").arg(s + 1).toHtmlEscaped(), sheetUrl(s).toString());
    auto heading = [&](const char* name) {
        return QStringLiteral("<h3>") + text(name).toHtmlEscaped() + QStringLiteral("</h3>");
    };
    out += heading("hdrCuts") + htmlLines(t.cuts);
    out += heading("hdrPlanBoards") + htmlList(t.boards, "ul");
    out += heading("hdrOffcuts") + htmlList(t.offcuts, "ul");
    return out;
}

} // namespace

void frmBoards::refreshPlan()
{
    m_plan = m_result.ok() ? planBoards(*m_result.boards, layouterKerf(m_app.ini),
                                        layouterSheets(m_app.ini, m_app.decimalSeparator))
                           : BoardPlanResult{};
    m_sheets->setPlan(m_plan.plan, m_plan.boards, words().sheetCaption);
    if (m_result.ok())
        m_cuts->setHtml(planHtml(m_plan, m_app.decimalSeparator, false, m_app.measure,
                                 [this](const char* name) { return text(name); }));
    else
        m_cuts->clear();
}

bool frmBoards::writeFile(const QString& path, const std::string& text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()))
        return cannotWrite(path);
    return true;
}

bool frmBoards::exportSvg(const QString& path)
{
    if (!m_plan.ok())
        return false;
    for (int s = 0; s < m_plan.plan->sheetCount; ++s) {
        const QString file = toQString(sheetFileName(toStdString(path), s));
        if (!writeFile(file,
                       sheetSvg(*m_plan.plan, *m_plan.boards, s, m_app.decimalSeparator, m_app.measure)))
            return false;
    }
    return true;
}

bool frmBoards::exportDxf(const QString& path)
{
    return m_plan.ok() && writeFile(path, planDxf(*m_plan.plan, *m_plan.boards, m_app.measure));
}

bool frmBoards::exportCsv(const QString& path)
{
    return m_plan.ok() &&
           writeFile(path, cutListCsv(*m_plan.plan, *m_plan.boards, m_app.decimalSeparator, m_app.measure));
}

QString frmBoards::reportHtml() const
{
    if (!m_result.ok())
        return QStringLiteral("<p>") + htmlEscaped(m_result.error.text(refusalWords(m_app.tables))) +
               QStringLiteral("</p>");
    const char sep = m_app.decimalSeparator;
    const BoxBoards& boards = *m_result.boards;
    auto cell = [this](const char* name) {
        return text(name).toHtmlEscaped();
    };
    QString out =
        QStringLiteral("<h2>%1</h2><table border=\"1\" cellspacing=\"0\" cellpadding=\"3\">"
                       "<tr><th>%2</th><th>%3</th><th>%4 (%5)</th><th>%6</th><th>%7</th></tr>")
            .arg(cell("hdrBoards"), cell("colBoard"), cell("colCount"), cell("colSize"),
                 toQString(std::string(lengthUnit(m_app.measure))), cell("colThickness"), cell("colBevels"));
    const BoardWords w = words();
    for (const Board& b : boards.boards) {
        const BoardRow row = boardRow(b, sep, m_app.measure, w);
        out += QStringLiteral("<tr>");
        for (const std::string* cell : {&row.name, &row.count, &row.size, &row.thickness, &row.bevels})
            out += QStringLiteral("<td>") + htmlEscaped(*cell) + QStringLiteral("</td>");
        out += QStringLiteral("</tr>");
    }
    out += QStringLiteral("</table>");
    for (const std::string& line : boardLines(boards, w))
        out += QStringLiteral("<p>") + htmlEscaped(line) + QStringLiteral("</p>");
    out += QStringLiteral("<h3>%1</h3><p><img src=\"%2\" width=\"600\"></p>")
               .arg(cell("hdrOutlines"), kOutlinesImage.toString());
    out += QStringLiteral("<h3>%1</h3><p><img src=\"%2\" width=\"480\"></p>")
               .arg(cell("hdrBox"), kBoxImage.toString());
    out += QStringLiteral("<h2>%1</h2>").arg(cell("hdrSheetPlan")) +
           planHtml(m_plan, sep, true, m_app.measure, [this](const char* name) { return text(name); });
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
    const std::vector<Board> boards = m_result.ok() ? m_result.boards->boards : std::vector<Board>{};
    QImage outlines(
        kOutlinesWidth,
        std::max(1, static_cast<int>(outlinesHeight(kOutlinesWidth, boards.size(), kOutlineColumns))),
        QImage::Format_RGB32);
    outlines.fill(Qt::white);
    {
        QPainter painter(&outlines);
        QFont font = painter.font();
        font.setPixelSize(15);
        painter.setFont(font);
        paintOutlines(painter, QRectF(outlines.rect()), boards, m_app.decimalSeparator, m_app.measure,
                      kOutlineColumns, words());
    }
    document.addResource(QTextDocument::ImageResource, kOutlinesImage, outlines);
    if (m_plan.ok())
        for (int s = 0; s < m_plan.plan->sheetCount; ++s)
            document.addResource(QTextDocument::ImageResource, sheetUrl(s),
                                 sheetImage(*m_plan.plan, *m_plan.boards, s, 5));
    document.setHtml(reportHtml());
    document.print(&printer);
}

bool frmBoards::saveAsPdf(const QString& path)
{
    if (!canWriteFile(path))
        return cannotWrite(path);
    return printPdf(path, QStringLiteral("Planken"), [this](QPrinter& printer) { printTo(printer); });
}

void frmBoards::onPrint()
{
    printWithDialog(this, [this](QPrinter& printer) { printTo(printer); });
}

} // namespace kelvra
