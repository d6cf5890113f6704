// The main window's controls and menu items by name, as language files and the print job address them.
#include "gui/main/frmMain.h"

#include "gui/common/MessageService.h"
#include "gui/main/FigurePicture.h"
#include "gui/main/FitLabel.h"
#include "gui/main/PanelPicture.h"

#include <algorithm>

#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>

namespace kelvra
{

void frmMain::nameFigureMeasures()
{
    auto captionOf = [this](std::string ModelInputs::*field) {
        const auto it = m_captionOf.find(inputBox(field));
        return it == m_captionOf.end() ? QString() : it->second->text();
    };
    FigureCaptions c;
    c.height = captionOf(&ModelInputs::h2);
    c.length = captionOf(&ModelInputs::l3);
    c.width = captionOf(&ModelInputs::b2);
    c.angleRear = captionOf(&ModelInputs::ca);
    c.angleFront = captionOf(&ModelInputs::cb);
    c.board = captionOf(&ModelInputs::thick0);
    if (auto* port = qobject_cast<QGroupBox*>(lookup("fraPort", std::nullopt)))
        c.port = port->title();
    c.portLength = captionOf(&ModelInputs::lp);
    c.portDiameter = captionOf(&ModelInputs::dp);
    c.portWidth = captionOf(&ModelInputs::bp);
    c.portHeight = captionOf(&ModelInputs::hp);
    m_figure->setCaptions(c);
}

QWidget* frmMain::lookup(std::string_view name, std::optional<int> index) const
{
    const std::string key = index ? controlElementName(name, *index) : std::string(name);
    if (auto it = m_controls.find(key); it != m_controls.end())
        return it->second;
    return m_picture->control(name, index);
}

QWidget* frmMain::control(std::string_view name, std::optional<int> index)
{
    if (!index && name == "frmMain")
        return this;
    return lookup(name, index);
}

QAction* frmMain::menuItem(std::string_view name, std::optional<int> index) const
{
    const QString key = toQString(index ? controlElementName(name, *index) : std::string(name));
    if (auto* menu = menuBar()->findChild<QMenu*>(key))
        return menu->menuAction();
    for (QAction* a : menuBar()->findChildren<QAction*>(key))
        if (!a->isSeparator())
            return a;
    return nullptr;
}

std::optional<std::string> frmMain::property(std::string_view control, std::optional<int> index,
                                             ControlProperty which) const
{
    if (QAction* a = menuItem(control, index)) // menu items have a caption and no hint text
        return which == ControlProperty::Caption ? std::optional(toStdString(a->text())) : std::nullopt;
    if (!index && control == "frmMain")
        return which == ControlProperty::Caption ? std::optional(toStdString(windowTitle())) : std::nullopt;
    QWidget* w = lookup(control, index);
    if (!w)
        return std::nullopt;
    if (which == ControlProperty::HintText)
        return toStdString(w->toolTip());
    if (auto* l = qobject_cast<QLabel*>(w))
        return toStdString(l->text());
    if (auto* b = qobject_cast<QPushButton*>(w))
        return toStdString(b->text());
    if (auto* g = qobject_cast<QGroupBox*>(w))
        return toStdString(g->title());
    return std::nullopt;
}

bool frmMain::setProperty(std::string_view control, std::optional<int> index, ControlProperty which,
                          const std::string& text)
{
    if (!index && control == "frmMain") {
        if (which != ControlProperty::Caption)
            return false;
        setWindowTitle(toQString(text));
        return true;
    }
    if (QAction* a = menuItem(control, index)) {
        if (which != ControlProperty::Caption)
            return false;
        a->setText(toQString(text));
        return true;
    }
    QWidget* w = lookup(control, index);
    if (!w)
        return false;
    if (which == ControlProperty::HintText) {
        w->setToolTip(toQString(text));
        return true;
    }
    if (auto* l = qobject_cast<QLabel*>(w)) {
        const auto unit = std::find_if(m_unitLabels.begin(), m_unitLabels.end(),
                                       [l](const auto& u) { return u.second == l; });
        if (unit != m_unitLabels.end()) { // the language's metric unit; inches stay inches
            l->setProperty("metricUnit", toQString(text));
            l->setText(unitCaption(unit->first, toQString(text)));
        } else {
            l->setText(toQString(text));
        }
    } else if (auto* b = qobject_cast<QPushButton*>(w)) {
        b->setText(toQString(text));
        fitButtonFont(b);
    } else if (auto* g = qobject_cast<QGroupBox*>(w))
        g->setTitle(toQString(text));
    else
        return false;
    return true;
}

} // namespace kelvra
