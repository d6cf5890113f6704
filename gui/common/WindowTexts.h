// The texts of one window that a language file may translate, in one table by control name, as the
// main window's: section = the window's object name, key = a control's object name for its caption,
// the name + "_ttt" for its hint text, the name with an index for an item of a list ("cmbCar(2)"). Every
// label, button, check box, group box, menu, menu item and tab page of the window that has an object name is
// in the table by that name without more ado; a text the window draws itself (a result prefix, a heading) is
// registered with add() and read with text().
#pragma once

#include "lang/LanguageTarget.h"

#include <QPointer>
#include <QWidget>
#include <map>
#include <optional>
#include <string>

namespace kelvra
{

struct AppState;

class WindowTexts : public LanguageTarget
{
public:
    explicit WindowTexts(QWidget& window);

    // Registers a text that no control shows by itself, with its built-in (Dutch) text. The text lives
    // on the window, so every WindowTexts of the window (a translation's, the window's own) sees it.
    void add(const std::string& name, const std::string& builtIn);
    // The registered text as the chosen language has it; the name itself for an unregistered one.
    std::string text(const std::string& name) const;

    std::string windowName() const override;
    std::optional<std::string> property(std::string_view control, std::optional<int> index,
                                        ControlProperty which) const override;
    bool setProperty(std::string_view control, std::optional<int> index, ControlProperty which,
                     const std::string& text) override;

private:
    std::optional<std::string> freeText(const std::string& name) const;

    QPointer<QWidget> m_window;
};

// Puts the chosen language file's section of the window into the window; the built-in texts stay
// when there is no language file.
void translateWindow(const AppState& app, WindowTexts& texts);

} // namespace kelvra
