// The sound window's files: the curve as CSV, the plots as PNG and on paper, and the woofer library.
#include "gui/sound/frmSound.h"

#include "acoustics/CurveCsv.h"
#include "gui/common/MainWindowHost.h"
#include "gui/common/MessageService.h"
#include "gui/sound/SoundCharts.h"
#include "persist/WooferLibrary.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QSaveFile>

#include <algorithm>

namespace kelvra
{

bool frmSound::refuseWrite(const QString& path)
{
    messageService().show(this, Message{toStdString(text("msgCurvesNotSaved").arg(path)), programTitle(),
                                        MessageIcon::Exclamation, MessageButtons::Ok});
    return false;
}

bool frmSound::exportCsv(const QString& path)
{
    if (!m_report)
        return refuseWrite(path);
    const std::string text = curveCsv(m_report->curve, m_separator);
    QSaveFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::WriteOnly) ||
        file.write(text.data(), static_cast<qint64>(text.size())) < 0 || !file.commit())
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
    printer.setDocName(QStringLiteral("Hoe het zal klinken"));
    QPainter painter(&printer);
    const QRect page = painter.viewport();
    // The figures first, as the window lists them, then the plots over the rest of the page.
    QStringList lines{windowTitle(), m_wooferGroup->title()};
    for (const QLabel* l :
         {m_fb, m_portLength, m_alignment, m_sensitivity, m_xmaxAt, m_portSpeedAt, m_warnings})
        if (!l->text().isEmpty())
            lines << l->text();
    QFont font = painter.font();
    font.setPointSizeF(10);
    painter.setFont(font);
    QRect text = painter.boundingRect(page, Qt::AlignLeft | Qt::AlignTop, lines.join('\n'));
    painter.drawText(text, Qt::AlignLeft | Qt::AlignTop, lines.join('\n'));
    const QPixmap plots = m_charts->grab();
    const QRect rest(page.left(), text.bottom() + text.height() / lines.size(), page.width(),
                     page.bottom() - text.bottom() - text.height() / lines.size());
    const QSize fitted = plots.size().scaled(rest.size(), Qt::KeepAspectRatio);
    painter.drawPixmap(QRect(rest.topLeft(), fitted), plots);
}

void frmSound::onExportCsvClicked()
{
    const QString path = m_chooseFile(text("dlgExportCsv"), QStringLiteral("curves.csv"), text("filterCsv"));
    if (!path.isEmpty())
        exportCsv(path);
}

void frmSound::onExportPngClicked()
{
    const QString path = m_chooseFile(text("dlgExportPng"), QStringLiteral("curves.png"), text("filterPng"));
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

void frmSound::fillLibrary()
{
    const AppPaths& paths = m_host.app().ini.paths();
    m_woofers = listWoofers(userWooferFolder(paths), shippedWooferFolder(paths));
    const QString current = m_library->currentText();
    m_library->clear();
    for (const WooferEntry& e : m_woofers)
        m_library->addItem(toQString(e.name));
    m_library->setCurrentIndex(std::max(0, m_library->findText(current)));
    m_loadWoofer->setEnabled(!m_woofers.empty());
    showOwnWoofer();
}

void frmSound::showOwnWoofer()
{
    const QString own = QStringLiteral("(own woofer)");
    bool differs = false;
    if (m_loaded)
        for (std::size_t i = 0; i < kWooferParameterKeys; ++i)
            differs = differs || m_loaded->text[i] != m_host.app().sound.text[i];
    // The entry comes after the library's, so a row still names the same library woofer.
    const QSignalBlocker block(m_library);
    const int ownRow = m_library->findText(own);
    if (differs) {
        if (ownRow < 0)
            m_library->addItem(own);
        m_library->setCurrentIndex(m_library->findText(own));
    } else if (ownRow >= 0) {
        m_library->removeItem(ownRow);
        m_library->setCurrentIndex(
            std::max(0, m_library->findText(toQString(m_loaded ? m_loaded->text[0] : ""))));
    }
}

void frmSound::onLoadWoofer()
{
    const int row = m_library->currentIndex();
    if (row < 0 || row >= static_cast<int>(m_woofers.size()))
        return;
    const std::optional<WooferTexts> loaded =
        loadWoofer(m_woofers[static_cast<std::size_t>(row)].path, m_separator);
    if (!loaded) {
        messageService().show(
            this, Message{toStdString(text("msgWooferNotRead")
                                          .arg(toQString(m_woofers[static_cast<std::size_t>(row)].name))),
                          programTitle(), MessageIcon::Exclamation, MessageButtons::Ok});
        return;
    }
    // The woofer's own keys only: the port, car and power of this design stay as they are.
    WooferTexts& texts = m_host.app().sound;
    for (std::size_t i = 0; i < kWooferParameterKeys; ++i)
        texts.text[i] = loaded->text[i];
    m_loaded = texts;
    refresh();
}

void frmSound::onSaveWoofer()
{
    WooferTexts woofer = m_host.app().sound;
    const QString name = m_chooseName(toQString(*woofer.find("name"))).trimmed();
    if (name.isEmpty())
        return;
    *woofer.find("name") = toStdString(name);
    for (std::size_t i = kWooferParameterKeys; i < woofer.text.size(); ++i)
        woofer.text[i].clear(); // a library file holds the woofer, not this design's options
    const WooferSaved saved = saveWoofer(userWooferFolder(m_host.app().ini.paths()), woofer);
    if (!saved.error.empty()) {
        messageService().show(this,
                              Message{toStdString(text("msgWooferNotSaved").arg(toQString(saved.error))),
                                      programTitle(), MessageIcon::Exclamation, MessageButtons::Ok});
        return;
    }
    *m_host.app().sound.find("name") = toStdString(name);
    m_loaded = m_host.app().sound;
    fillLibrary();
    m_library->setCurrentIndex(m_library->findText(name));
    refresh();
}

} // namespace kelvra
