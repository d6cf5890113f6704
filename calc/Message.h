// A message box as the cores describe it; the windows show it through the message interface.
#pragma once

#include <string>

namespace kelvra
{

enum class MessageIcon { None, Information, Exclamation, Critical };
// SaveDontSaveCancel: the question before unsaved changes would be lost.
enum class MessageButtons { Ok, OkCancel, SaveDontSaveCancel };
enum class MessageAnswer { Ok, Cancel, Save, DontSave };

struct Message {
    std::string text;
    std::string title;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;

    bool operator==(const Message&) const = default;
};

// "none", "information", "exclamation", "critical".
const char* iconName(MessageIcon icon);

} // namespace kelvra
