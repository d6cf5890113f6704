// Every message box of the program goes through this interface, so tests can read and answer them.
#pragma once

#include "calc/Message.h"

#include <QString>
#include <deque>
#include <vector>

class QWidget;

namespace kelvra
{

class MessageService
{
public:
    virtual ~MessageService() = default;
    // Shows the message modally and returns the user's answer.
    virtual MessageAnswer show(QWidget* parent, const Message& message) = 0;
};

// Shows a real QMessageBox.
class QtMessageService : public MessageService
{
public:
    MessageAnswer show(QWidget* parent, const Message& message) override;
};

// Records every message and answers from a queue (OK, or "Don't save" to a save question, when the
// queue is empty); for tests.
class RecordingMessageService : public MessageService
{
public:
    MessageAnswer show(QWidget* parent, const Message& message) override;

    std::vector<Message> messages;
    std::deque<MessageAnswer> answers;

    const Message* last() const { return messages.empty() ? nullptr : &messages.back(); }
};

// The program's service: a QtMessageService unless a test has put another one in place.
MessageService& messageService();
void setMessageService(MessageService* service); // nullptr restores the real one

QString toQString(const std::string& utf8);
std::string toStdString(const QString& text);

} // namespace kelvra
