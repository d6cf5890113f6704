#include "gui/layouter/frmCutPlan.h"

#include "calc/Recalculate.h"
#include "gui/common/MessageService.h"
#include "gui/common/PrintOut.h"
#include "gui/common/ReportHtml.h"
#include "gui/common/WindowTexts.h"
#include "gui/layouter/CutPlanWords.h"
#include "layouter/BoardPlan.h"
#include "layouter/CutPlanText.h"

#include <QEvent>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QPainter>
#include <QPolygonF>
#include <QPrinter>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace kelvra
{

namespace
{

// The layouter's colours of the boards, so the plan looks like the sheet the user knows.
QColor colourOf(const std::string& key)
{
    if (key == "front" || key == "top" || key == "left")
        return {128, 255, 128};
    if (key == "rear" || key == "bottom" || key == "right")
        return {128, 128, 255};
    if (key == "port")
        return {255, 255, 128};
    return {200, 200, 200};
}

QUrl sheetUrl(int sheet)
{
    return QUrl(QStringLiteral("cutplan-sheet-%1.png").arg(sheet + 1));
}

constexpr double kImagePxPerCm = 3; // as the layouter shows the sheet

} // namespace

frmCutPlan::frmCutPlan(CutPlan plan, std::vector<std::string> names, char decimalSeparator, QWidget* parent,
                       Measure measure, std::optional<BoxBoards> boards)
    : QWidget(parent, Qt::Window), m_plan(std::move(plan)), m_names(std::move(names)),
      m_separator(decimalSeparator), m_measure(measure), m_boards(std::move(boards))
{
    setObjectName(QStringLiteral("frmCutPlan"));
    {
        // The texts the plan draws itself; a language file's [frmCutPlan] translates them by these names.
        WindowTexts texts(*this);
        for (const auto& [name, builtIn] :
             {std::pair{"hdrCutPlan", "Zaagplan"},
              {"hdrSheet", "Plaat %1"},
              {"hdrCuts", "Zaagsneden, in deze volgorde"},
              {"hdrBoards", "Planken"},
              {"hdrOffcuts", "Restjes"},
              {"dlgSavePdf", "Zaagplan opslaan"},
              {"filterPdf", "PDF-bestanden (*.pdf)"},
              {"msgNotSaved", "Het zaagplan kon niet worden opgeslagen als \"%1\"."}})
            texts.add(name, builtIn);
        for (const CutPlanWord& w : kCutPlanWords)
            texts.add(w.name, w.builtIn);
    }
    setWindowTitle(QStringLiteral("Zaagplan"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_document = new QTextDocument(this);
    for (int s = 0; s < m_plan.sheetCount; ++s)
        m_document->addResource(QTextDocument::ImageResource, sheetUrl(s), sheetImage(s, kImagePxPerCm));
    m_document->setHtml(html());

    m_text = new QTextBrowser(this);
    m_text->setObjectName(QStringLiteral("txtCutPlan"));
    m_text->setDocument(m_document);
    m_print = new QPushButton(QStringLiteral("&Afdrukken..."), this);
    m_print->setObjectName(QStringLiteral("cmdPrint"));
    m_savePdf = new QPushButton(QStringLiteral("Opslaan als P&DF..."), this);
    m_savePdf->setObjectName(QStringLiteral("cmdSavePdf"));
    m_close = new QPushButton(QStringLiteral("&Sluiten"), this);
    m_close->setObjectName(QStringLiteral("cmdClose"));

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_print);
    buttons->addWidget(m_savePdf);
    buttons->addWidget(m_close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_text);
    layout->addLayout(buttons);
    resize(760, 640);

    m_choosePdf = [this] {
        return QFileDialog::getSaveFileName(this, text("dlgSavePdf"), QStringLiteral("cutplan.pdf"),
                                            text("filterPdf"));
    };

    connect(m_print, &QPushButton::clicked, this, &frmCutPlan::onPrintClicked);
    connect(m_savePdf, &QPushButton::clicked, this, &frmCutPlan::onSavePdfClicked);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);
}

frmCutPlan::~frmCutPlan() = default;

QString frmCutPlan::text(const char* name) const
{
    return toQString(WindowTexts(*const_cast<frmCutPlan*>(this)).text(name));
}

void frmCutPlan::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        m_document->setHtml(html());
    QWidget::changeEvent(event);
}

void frmCutPlan::showEvent(QShowEvent* event)
{
    // A translation arrives after the plan was first written.
    m_document->setHtml(html());
    QWidget::showEvent(event);
}

QString frmCutPlan::html() const
{
    const CutPlanWords words = cutPlanWords([this](const char* name) { return text(name).toStdString(); });
    const CutPlanText t = m_boards ? describeBoardPlan(m_plan, *m_boards, m_separator, m_measure, words)
                                   : describeCutPlan(m_plan, m_names, m_separator, m_measure, words);
    QString out =
        QStringLiteral("<h2>%1</h2>").arg(text("hdrCutPlan").toHtmlEscaped()) + htmlList(t.summary, "ul");
    for (int s = 0; s < m_plan.sheetCount; ++s) {
        const QImage image = sheetImage(s, kImagePxPerCm);
        // Wide sheets are shown narrower, so that a printed page holds them.
        const int width = std::min(image.width(), 640);
        out += QStringLiteral("<h3>%1</h3><p><img src=\"%2\" width=\"%3\"></p>")
                   .arg(text("hdrSheet").arg(s + 1).toHtmlEscaped())
                   .arg(sheetUrl(s).toString())
                   .arg(width);
    }
    const auto heading = [this](const char* name) {
        return QStringLiteral("<h3>%1</h3>").arg(text(name).toHtmlEscaped());
    };
    out += heading("hdrCuts") + htmlLines(t.cuts);
    out += heading("hdrBoards") + htmlList(t.boards, "ul");
    out += heading("hdrOffcuts") + htmlList(t.offcuts, "ul");
    return out;
}

QImage frmCutPlan::sheetImage(int sheet, double pixelsPerCm) const
{
    const int w = std::max(1, static_cast<int>(std::lround(m_plan.sheet.width * pixelsPerCm)));
    const int h = std::max(1, static_cast<int>(std::lround(m_plan.sheet.height * pixelsPerCm)));
    QImage image(w + 1, h + 1, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(QRectF(0, 0, w, h), QColor(255, 224, 192));
    p.setPen(Qt::black);
    p.drawRect(QRectF(0, 0, w, h));
    auto scaled = [&](const CutRect& r) {
        return QRectF(r.left * pixelsPerCm, r.top * pixelsPerCm, r.width * pixelsPerCm,
                      r.height * pixelsPerCm);
    };
    for (const BoardPlacement& b : m_plan.placements) {
        if (b.sheet != sheet)
            continue;
        const QRectF r = scaled(b.rect);
        // The board as it is cut: its rectangle, or its true shape inside it.
        QPolygonF shape;
        for (const SheetPoint& q : b.outline)
            shape << QPointF(q.x * pixelsPerCm, q.y * pixelsPerCm);
        p.setPen(QColor(64, 64, 64));
        p.setBrush(colourOf(b.key));
        p.drawPolygon(shape);
        p.setBrush(Qt::NoBrush);
        p.setPen(Qt::black);
        p.drawText(r, Qt::AlignCenter, toQString(b.key));
    }
    QPen line(QColor(200, 0, 0));
    line.setWidthF(std::max(2.0, m_plan.kerf * pixelsPerCm)); // a thin kerf stays visible
    for (const Cut& c : m_plan.cuts) {
        if (c.sheet != sheet)
            continue;
        const QPointF from(c.fromX * pixelsPerCm, c.fromY * pixelsPerCm);
        const QPointF to(c.toX * pixelsPerCm, c.toY * pixelsPerCm);
        p.setPen(line);
        p.drawLine(from, to);
        // The cut's number in a small white disc on the middle of its line.
        const QPointF mid = (from + to) / 2;
        const QRectF disc(mid.x() - 8, mid.y() - 8, 16, 16);
        p.setPen(QColor(200, 0, 0));
        p.setBrush(Qt::white);
        p.drawEllipse(disc);
        p.setBrush(Qt::NoBrush);
        QFont f = p.font();
        f.setPixelSize(10);
        p.setFont(f);
        p.drawText(disc, Qt::AlignCenter, QString::number(c.n));
    }
    return image;
}

void frmCutPlan::printTo(QPrinter& printer)
{
    m_document->print(&printer);
}

bool frmCutPlan::saveAsPdf(const QString& path)
{
    if (!canWriteFile(path)) {
        messageService().show(this, Message{toStdString(text("msgNotSaved").arg(path)), programTitle(),
                                            MessageIcon::Exclamation, MessageButtons::Ok});
        return false;
    }
    return printPdf(path, QStringLiteral("Zaagplan"), [this](QPrinter& printer) { printTo(printer); });
}

void frmCutPlan::onPrintClicked()
{
    printWithDialog(this, [this](QPrinter& printer) { printTo(printer); });
}

void frmCutPlan::onSavePdfClicked()
{
    const QString path = m_choosePdf ? m_choosePdf() : QString();
    if (!path.isEmpty())
        saveAsPdf(path);
}

} // namespace kelvra
