#include "gui/info/frmHistory.h"

#include "calc/Recalculate.h"
#include "gui/common/MessageService.h"
#include "gui/common/Twips.h"
#include "info/Version.h"

#include <QCoreApplication>
#include <QFile>
#include <QFont>
#include <QPlainTextEdit>
#include <QPointer>
#include <QStringDecoder>
#include <QVBoxLayout>

namespace kelvra
{

namespace
{
constexpr double kWindowWidth = 5370;
constexpr double kWindowHeight = 6585;

// The file is plain text of our own; anything that is not UTF-8 is taken as Latin-1 rather than
// shown as replacement characters.
QString decodeLine(const QByteArray& bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8(bytes);
    return utf8.hasError() ? QString::fromLatin1(bytes) : text;
}

QByteArray withoutLineEnd(QByteArray line)
{
    while (!line.isEmpty() && (line.back() == '\n' || line.back() == '\r'))
        line.chop(1);
    return line;
}
} // namespace

std::string historyFileName(std::string_view programName)
{
    std::string base(programName);
    constexpr std::string_view beta = "_beta";
    for (std::size_t at = base.find(beta); at != std::string::npos; at = base.find(beta, at))
        base.erase(at, beta.size());
    return base + "_history.txt";
}

frmHistory::frmHistory(const AppState& app, QWidget* parent) : QWidget(parent, Qt::Window), m_app(app)
{
    setObjectName("frmHistory");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("History");

    m_txtHistory = new QPlainTextEdit(this);
    m_txtHistory->setObjectName("txtHistory");
    m_txtHistory->setReadOnly(true);
    m_txtHistory->setLineWrapMode(QPlainTextEdit::WidgetWidth); // long lines read without scrolling sideways
    QFont font("Lucida Console");
    font.setStyleHint(QFont::Monospace);
    m_txtHistory->setFont(font);

    // The text box fills the inner area, also when the user resizes the window.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_txtHistory);

    resize(twipsToPixels(kWindowWidth), twipsToPixels(kWindowHeight));
    show();
    QCoreApplication::processEvents();
}

void frmHistory::history_load_next()
{
    // A second call while a long file is still being read leaves that reading to finish.
    if (m_loading)
        return;
    m_loading = true;
    QPointer<frmHistory> self(this);

    const std::string name = historyFileName(m_app.ini.paths().programName);
    const QString path = toQString(m_app.ini.paths().programFolder + "/" + name);

    m_text.clear();
    m_txtHistory->clear();
    QFile file(path);
    if (file.open(QIODevice::ReadOnly)) {
        bool first = true;
        bool readFailed = false;
        while (!file.atEnd()) {
            const QByteArray bytes = file.readLine();
            if (bytes.isEmpty() && file.error() != QFile::NoError) {
                readFailed = true;
                break;
            }
            const QString line = decodeLine(withoutLineEnd(bytes));
            if (first) {
                m_text = line;
                m_txtHistory->setPlainText(line);
                first = false;
            } else {
                m_text += "\r\n" + line;
                m_txtHistory->appendPlainText(line);
            }
            QCoreApplication::processEvents();
            if (!self || !isVisible()) {
                if (self)
                    m_loading = false;
                return; // closed by the user while reading
            }
        }
        if (!readFailed && file.error() == QFile::NoError)
            setWindowTitle(toQString(TitleString(m_app.editionStatus, m_app.betaBuild) + " -- History"));
        file.close();
    }
    m_loading = false;

    if (m_text.isEmpty()) {
        messageService().show(this, Message{"No history file found (" + name + ")", programTitle(),
                                            MessageIcon::Information, MessageButtons::Ok});
        close();
    }
}

} // namespace kelvra
