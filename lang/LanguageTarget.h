// What a language file can change on a window: captions and hint texts of controls by name, or of
// elements of control arrays by name and index.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kelvra
{

enum class ControlProperty { Caption, HintText };

class LanguageTarget
{
public:
    virtual ~LanguageTarget() = default;
    // The window's name, which is also its section in a language file ("frmMain").
    virtual std::string windowName() const = 0;
    // The property's current text; nullopt when there is no such control, element or property.
    // index is nullopt for a control addressed without "(index)".
    virtual std::optional<std::string> property(std::string_view control, std::optional<int> index,
                                                ControlProperty which) const = 0;
    // Sets the property; false when there is no such control, element or property.
    virtual bool setProperty(std::string_view control, std::optional<int> index, ControlProperty which,
                             const std::string& text) = 0;
};

} // namespace kelvra
