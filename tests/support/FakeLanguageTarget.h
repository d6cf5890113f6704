// A window stand-in for the language tests: its controls are a plain table of captions and hint texts.
#pragma once

#include "lang/LanguageTarget.h"

#include <map>
#include <optional>
#include <string>
#include <utility>

namespace kelvra::test
{

// A window whose controls are listed by name and index; a control may lack either property.
class FakeTarget : public LanguageTarget
{
public:
    struct Control {
        std::optional<std::string> caption;
        std::optional<std::string> hint;
        bool operator==(const Control&) const = default;
    };
    using Id = std::pair<std::string, std::optional<int>>;

    void add(const std::string& name, std::optional<int> index, std::optional<std::string> caption,
             std::optional<std::string> hint = std::nullopt)
    {
        controls[{name, index}] = {std::move(caption), std::move(hint)};
    }
    std::string caption(const std::string& name, std::optional<int> index = std::nullopt) const
    {
        return controls.at({name, index}).caption.value_or("<none>");
    }
    std::string hint(const std::string& name, std::optional<int> index = std::nullopt) const
    {
        return controls.at({name, index}).hint.value_or("<none>");
    }

    std::string windowName() const override { return "frmMain"; }
    std::optional<std::string> property(std::string_view control, std::optional<int> index,
                                        ControlProperty which) const override
    {
        const auto it = controls.find({std::string(control), index});
        if (it == controls.end())
            return std::nullopt;
        return which == ControlProperty::Caption ? it->second.caption : it->second.hint;
    }
    bool setProperty(std::string_view control, std::optional<int> index, ControlProperty which,
                     const std::string& text) override
    {
        const auto it = controls.find({std::string(control), index});
        if (it == controls.end())
            return false;
        std::optional<std::string>& p =
            which == ControlProperty::Caption ? it->second.caption : it->second.hint;
        if (!p)
            return false;
        p = text;
        ++writes;
        return true;
    }

    std::map<Id, Control> controls;
    int writes = 0;
};

} // namespace kelvra::test
