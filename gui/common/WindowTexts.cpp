#include "gui/common/WindowTexts.h"

#include "calc/Model.h"
#include "gui/common/AppState.h"
#include "gui/common/MessageService.h"
#include "lang/ApplyLanguage.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTabWidget>

namespace kelvra
{

namespace
{

// A tab page's caption lives in its tab widget.
QTabWidget* tabsOf(QWidget* page, int& at)
{
    for (QWidget* w = page ? page->parentWidget() : nullptr; w; w = w->parentWidget())
        if (auto* tabs = qobject_cast<QTabWidget*>(w)) {
            at = tabs->indexOf(page);
            if (at >= 0)
                return tabs;
        }
    return nullptr;
}

// "cmbCar(2)": the list cmbCar and its item 2.
QComboBox* listOf(QWidget& window, const std::string& name, int& item)
{
    const std::size_t open = name.rfind('(');
    if (open == std::string::npos || name.size() < open + 3 || name.back() != ')')
        return nullptr;
    const std::string digits = name.substr(open + 1, name.size() - open - 2);
    if (digits.size() > 3 || digits.find_first_not_of("0123456789") != std::string::npos)
        return nullptr;
    item = std::stoi(digits);
    return window.findChild<QComboBox*>(toQString(name.substr(0, open)));
}

} // namespace

WindowTexts::WindowTexts(QWidget& window) : m_window(&window) {}

namespace
{

QByteArray freeTextProperty(const std::string& name)
{
    return QByteArray("kelvraText_") + QByteArray::fromStdString(name);
}

} // namespace

void WindowTexts::add(const std::string& name, const std::string& builtIn)
{
    // A translation that came first keeps its text.
    if (m_window && !m_window->property(freeTextProperty(name)).isValid())
        m_window->setProperty(freeTextProperty(name), toQString(builtIn));
}

std::optional<std::string> WindowTexts::freeText(const std::string& name) const
{
    const QVariant v = m_window ? m_window->property(freeTextProperty(name)) : QVariant();
    return v.isValid() ? std::optional(toStdString(v.toString())) : std::nullopt;
}

std::string WindowTexts::text(const std::string& name) const
{
    return freeText(name).value_or(name);
}

std::string WindowTexts::windowName() const
{
    return m_window ? toStdString(m_window->objectName()) : std::string();
}

std::optional<std::string> WindowTexts::property(std::string_view control, std::optional<int> index,
                                                 ControlProperty which) const
{
    if (!m_window)
        return std::nullopt;
    const std::string name = index ? controlElementName(control, *index) : std::string(control);
    if (const auto free = freeText(name))
        return which == ControlProperty::Caption ? free : std::nullopt;
    if (name == windowName())
        return which == ControlProperty::Caption ? std::optional(toStdString(m_window->windowTitle()))
                                                 : std::nullopt;
    QObject* o = m_window->findChild<QObject*>(toQString(name));
    int item = -1;
    if (QComboBox* list = o ? nullptr : listOf(*m_window, name, item))
        return which == ControlProperty::Caption && item < list->count()
                   ? std::optional(toStdString(list->itemText(item)))
                   : std::nullopt;
    if (auto* a = qobject_cast<QAction*>(o))
        return toStdString(which == ControlProperty::Caption ? a->text() : a->toolTip());
    auto* w = qobject_cast<QWidget*>(o);
    if (!w)
        return std::nullopt;
    if (which == ControlProperty::HintText)
        return toStdString(w->toolTip());
    int at = -1;
    if (auto* m = qobject_cast<QMenu*>(w))
        return toStdString(m->title());
    if (auto* l = qobject_cast<QLabel*>(w))
        return toStdString(l->text());
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        return toStdString(b->text());
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return toStdString(g->title());
    if (QTabWidget* tabs = tabsOf(w, at))
        return toStdString(tabs->tabText(at));
    return std::nullopt;
}

bool WindowTexts::setProperty(std::string_view control, std::optional<int> index, ControlProperty which,
                              const std::string& text)
{
    if (!property(control, index, which))
        return false;
    const std::string name = index ? controlElementName(control, *index) : std::string(control);
    const QString t = toQString(text);
    if (freeText(name)) {
        m_window->setProperty(freeTextProperty(name), t);
        return true;
    }
    if (name == windowName()) {
        m_window->setWindowTitle(t);
        return true;
    }
    QObject* o = m_window->findChild<QObject*>(toQString(name));
    int item = -1;
    if (QComboBox* list = o ? nullptr : listOf(*m_window, name, item)) {
        list->setItemText(item, t);
        return true;
    }
    if (auto* a = qobject_cast<QAction*>(o)) {
        which == ControlProperty::Caption ? a->setText(t) : a->setToolTip(t);
        return true;
    }
    auto* w = qobject_cast<QWidget*>(o);
    int at = -1;
    if (which == ControlProperty::HintText)
        w->setToolTip(t);
    else if (auto* m = qobject_cast<QMenu*>(w))
        m->setTitle(t);
    else if (auto* l = qobject_cast<QLabel*>(w))
        l->setText(t);
    else if (auto* b = qobject_cast<QAbstractButton*>(w))
        b->setText(t);
    else if (auto* g = qobject_cast<QGroupBox*>(w))
        g->setTitle(t);
    else if (QTabWidget* tabs = tabsOf(w, at))
        tabs->setTabText(at, t);
    return true;
}

void translateWindow(const AppState& app, WindowTexts& texts)
{
    if (!app.languagesFound || app.languageIndex < 0 ||
        static_cast<std::size_t>(app.languageIndex) >= app.languages.size())
        return;
    const LanguageRow& row = app.languages[static_cast<std::size_t>(app.languageIndex)];
    ApplyLanguageToForm(languageFilePath(app.ini.paths().programFolder, row), texts, app.decimalSeparator);
}

} // namespace kelvra
