#include "gui/common/MessageService.h"

#include <QMessageBox>
#include <QPushButton>

namespace kelvra
{

MessageAnswer QtMessageService::show(QWidget* parent, const Message& message)
{
    QMessageBox box(parent);
    box.setWindowTitle(toQString(message.title));
    box.setText(toQString(message.text));
    switch (message.icon) {
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageIcon::Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case MessageIcon::None:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    if (message.buttons == MessageButtons::SaveDontSaveCancel) {
        box.setStandardButtons(QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
        box.button(QMessageBox::Save)->setText(QStringLiteral("Save"));
        box.button(QMessageBox::Discard)->setText(QStringLiteral("Don't save"));
        box.button(QMessageBox::Cancel)->setText(QStringLiteral("Cancel"));
        box.setDefaultButton(QMessageBox::Save);
        box.setEscapeButton(QMessageBox::Cancel);
        const int answer = box.exec();
        return answer == QMessageBox::Save      ? MessageAnswer::Save
               : answer == QMessageBox::Discard ? MessageAnswer::DontSave
                                                : MessageAnswer::Cancel;
    }
    if (message.buttons == MessageButtons::OkCancel) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Cancel);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    return box.exec() == QMessageBox::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
}

MessageAnswer RecordingMessageService::show(QWidget*, const Message& message)
{
    messages.push_back(message);
    if (answers.empty()) // a test that does not care lets changes go, so a window still closes
        return message.buttons == MessageButtons::SaveDontSaveCancel ? MessageAnswer::DontSave
                                                                     : MessageAnswer::Ok;
    const MessageAnswer a = answers.front();
    answers.pop_front();
    return a;
}

namespace
{
QtMessageService g_realService;
MessageService* g_service = &g_realService;
} // namespace

MessageService& messageService()
{
    return *g_service;
}
void setMessageService(MessageService* service)
{
    g_service = service ? service : &g_realService;
}

QString toQString(const std::string& utf8)
{
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}
std::string toStdString(const QString& text)
{
    return text.toUtf8().toStdString();
}

} // namespace kelvra
