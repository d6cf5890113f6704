// The sound window's files: the curve as CSV, the plots as PNG and on paper, and the woofer library.
#include "soundui/frmSound.h"

#include "mainwin/MainWindowHost.h"
#include "mainwin/MessageService.h"
#include "soundui/SoundCharts.h"

#include <QComboBox>
#include <QFile>
#include <QPainter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>

namespace kelvra
{

bool frmSound::refuseWrite(const QString& path)
{
    messageService().show(this, Message{"The curves could not be saved as \"" + toStdString(path) + "\".",
                                        programTitle(), MessageIcon::Exclamation, MessageButtons::Ok});
    return false;
}

bool frmSound::exportCsv(const QString& path)
{
    if (!m_report)
        return refuseWrite(path);
    // With a decimal comma the fields are parted by semicolons, as spreadsheets of that locale expect.
    const QString sep = m_separator == ',' ? QStringLiteral(";") : QStringLiteral(",");
    QString text = QStringList{"f", "spl", "splCabin", "excursion", "portSpeed"}.join(sep) + '\n';
    for (const CurvePoint& p : m_report->curve)
        text += QStringList{number(p.f, 2), number(p.spl, 2), number(p.splCabin, 2), number(p.excursion, 2),
                            number(p.portSpeed, 2)}
                    .join(sep) +
                '\n';
    QSaveFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Text) ||
        file.write(text.toUtf8()) < 0 || !file.commit())
        return refuseWrite(path);
    return true;
}

bool frmSound::exportPng(const QString& path)
{
    if (!m_report || path.isEmpty() || !m_charts->grab().save(path, "PNG"))
        return refuseWrite(path);
    return true;
}

void frmSound::printTo(QPrinter& printer)
{
    printer.setDocName(QStringLiteral("How it will sound"));
    QPainter painter(&printer);
    const QPixmap plots = m_charts->grab();
    const QRect page = painter.viewport();
    const QSize fitted = plots.size().scaled(page.size(), Qt::KeepAspectRatio);
    painter.drawPixmap(QRect(page.topLeft(), fitted), plots);
}

void frmSound::onExportCsvClicked()
{
    const QString path =
        m_chooseFile(tr("Export the curves"), QStringLiteral("curves.csv"), tr("CSV files (*.csv)"));
    if (!path.isEmpty())
        exportCsv(path);
}

void frmSound::onExportPngClicked()
{
    const QString path =
        m_chooseFile(tr("Export the plots"), QStringLiteral("curves.png"), tr("PNG pictures (*.png)"));
    if (!path.isEmpty())
        exportPng(path);
}

void frmSound::onPrintClicked()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Portrait);
    QPrintDialog dialog(&printer, this);
    if (dialog.exec() == QDialog::Accepted)
        printTo(printer);
}

void frmSound::fillLibrary() {}

void frmSound::onLoadWoofer() {}

void frmSound::onSaveWoofer() {}

} // namespace kelvra
