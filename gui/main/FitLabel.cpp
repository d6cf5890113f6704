#include "gui/main/FitLabel.h"

#include <QFontMetricsF>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

namespace kelvra
{

FitLabel::FitLabel(const QString& text, QWidget* parent) : QLabel(text, parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
}

QFont FitLabel::fittedFont() const
{
    QFont f = font();
    const double width = contentsRect().width();
    double size = f.pointSizeF();
    if (size <= 0) // a pixel-sized font: leave it
        return f;
    while (size > kMinPointSize && QFontMetricsF(f).horizontalAdvance(text()) > width) {
        size = std::max(kMinPointSize, size - 0.5);
        f.setPointSizeF(size);
    }
    return f;
}

bool FitLabel::elided() const
{
    return QFontMetricsF(fittedFont()).horizontalAdvance(text()) > contentsRect().width();
}

void FitLabel::paintEvent(QPaintEvent* event)
{
    if (QFontMetricsF(font()).horizontalAdvance(text()) <= contentsRect().width()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter p(this);
    const QFont f = fittedFont();
    p.setFont(f);
    const QString shown =
        QFontMetrics(f).elidedText(text(), Qt::ElideRight, contentsRect().width(), Qt::TextShowMnemonic);
    style()->drawItemText(&p, contentsRect(), static_cast<int>(alignment()), palette(), isEnabled(), shown,
                          foregroundRole());
}

void fitButtonFont(QPushButton* button)
{
    QFont f = button->parentWidget() ? button->parentWidget()->font() : button->font();
    button->setFont(f);
    QStyleOptionButton opt;
    opt.initFrom(button);
    opt.text = button->text();
    const QStyle* style = button->style();
    const int room = style->subElementRect(QStyle::SE_PushButtonContents, &opt, button).width() -
                     style->pixelMetric(QStyle::PM_ButtonMargin, &opt, button);
    double size = f.pointSizeF();
    while (size > 6.0 && QFontMetrics(f).size(Qt::TextShowMnemonic, button->text()).width() > room) {
        size = std::max(6.0, size - 0.5);
        f.setPointSizeF(size);
    }
    button->setFont(f);
}

void fitLineEditFont(QLineEdit* box)
{
    QFont f = box->parentWidget() ? box->parentWidget()->font() : box->font();
    // The frame and the text margins take this much of the box's width.
    const int room = box->width() - 8;
    double size = f.pointSizeF();
    while (size > 6.0 && QFontMetricsF(f).horizontalAdvance(box->text()) > room) {
        size = std::max(6.0, size - 0.5);
        f.setPointSizeF(size);
    }
    if (box->font() != f)
        box->setFont(f);
}

} // namespace kelvra
