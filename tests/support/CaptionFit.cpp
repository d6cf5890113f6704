#include "tests/support/CaptionFit.h"

#include "gui/main/FitLabel.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTextDocument>

#include <cmath>
#include <optional>

namespace kelvra
{

namespace
{

struct Need {
    QString text;
    int needed = 0;
    int available = 0;
};

std::string nameOf(const QObject* o)
{
    return (o->objectName().isEmpty() ? QString(o->metaObject()->className()) : o->objectName())
        .toStdString();
}

int textWidth(const QFont& font, const QString& text)
{
    return QFontMetrics(font).size(Qt::TextShowMnemonic, text).width();
}

std::optional<Need> labelNeed(const QLabel* l)
{
    if (const auto* fit = qobject_cast<const FitLabel*>(l))
        return Need{l->text(), fit->elided() ? l->contentsRect().width() + 1 : 0, l->contentsRect().width()};
    const QRect place = l->contentsRect().adjusted(l->margin(), l->margin(), -l->margin(), -l->margin());
    const bool rich = l->textFormat() == Qt::RichText ||
                      (l->textFormat() == Qt::AutoText && Qt::mightBeRichText(l->text()));
    if (l->wordWrap()) // broken into lines: cut when they need more height than the label has
        return Need{l->text(), l->heightForWidth(l->width()), l->height()};
    if (rich) {
        QTextDocument doc;
        doc.setDefaultFont(l->font());
        doc.setDocumentMargin(0);
        doc.setHtml(l->text());
        return Need{l->text(), static_cast<int>(std::ceil(doc.idealWidth())), place.width()};
    }
    return Need{l->text(), textWidth(l->font(), l->text()), place.width()};
}

std::optional<Need> buttonNeed(const QAbstractButton* b)
{
    QStyleOptionButton opt;
    opt.initFrom(b);
    opt.text = b->text();
    const int text = textWidth(b->font(), b->text());
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox*>(b))
        contents = QStyle::SE_CheckBoxContents;
    else if (qobject_cast<const QRadioButton*>(b))
        contents = QStyle::SE_RadioButtonContents;
    else if (!qobject_cast<const QPushButton*>(b))
        return std::nullopt; // tool buttons and the like carry icons
    const QRect place = b->style()->subElementRect(contents, &opt, b);
    // A push button also keeps the style's margin inside its frame on both sides.
    const int margin = contents == QStyle::SE_PushButtonContents
                           ? b->style()->pixelMetric(QStyle::PM_ButtonMargin, &opt, b)
                           : 0;
    return Need{b->text(), text + margin, place.width()};
}

std::optional<Need> groupBoxNeed(const QGroupBox* g)
{
    QStyleOptionGroupBox opt;
    opt.initFrom(g);
    opt.text = g->title();
    opt.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    if (g->isCheckable())
        opt.subControls |= QStyle::SC_GroupBoxCheckBox;
    opt.textAlignment = g->alignment();
    const QRect label = g->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, g);
    // The title starts where the style puts it and must end inside the frame.
    return Need{g->title(), label.left() + textWidth(g->font(), g->title()), g->width()};
}

void checkMenuBar(const std::string& window, const QMenuBar* bar, std::vector<std::string>& out)
{
    for (QAction* a : bar->actions()) {
        if (!a->isVisible() || a->isSeparator())
            continue;
        const QRect r = bar->actionGeometry(a);
        // Entries that do not fit are moved to an overflow button and get no place at all.
        if (r.isEmpty() || r.right() >= bar->width())
            out.push_back(window + " / " + nameOf(a->menu() ? static_cast<QObject*>(a->menu()) : a) + ": '" +
                          a->text().toStdString() + "' does not fit the menu bar of " +
                          std::to_string(bar->width()) + " px");
    }
}

} // namespace

std::vector<std::string> clippedCaptions(QWidget* window)
{
    std::vector<std::string> out;
    const std::string windowName = nameOf(window);
    QList<QWidget*> widgets = window->findChildren<QWidget*>();
    widgets.prepend(window);
    for (QWidget* w : widgets) {
        if (w != window && !w->isVisibleTo(window))
            continue;
        std::optional<Need> need;
        if (const auto* l = qobject_cast<const QLabel*>(w))
            need = labelNeed(l);
        else if (const auto* b = qobject_cast<const QAbstractButton*>(w))
            need = buttonNeed(b);
        else if (const auto* g = qobject_cast<const QGroupBox*>(w))
            need = groupBoxNeed(g);
        else if (const auto* bar = qobject_cast<const QMenuBar*>(w))
            checkMenuBar(windowName, bar, out);
        if (need && !need->text.isEmpty() && need->needed > need->available)
            out.push_back(windowName + " / " + nameOf(w) + ": '" + need->text.toStdString() + "' needs " +
                          std::to_string(need->needed) + " px, has " + std::to_string(need->available) +
                          " px");
    }
    return out;
}

} // namespace kelvra
