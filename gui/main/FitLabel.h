// A caption that keeps its design width: a text wider than the label (a long translation, a wide
// system font) is drawn in a smaller font instead of being cut off, and elided only below a readable
// size. text() stays the full caption, so language files and tests see what was set.
#pragma once

#include <QLabel>

class QLineEdit;
class QPushButton;

namespace kelvra
{

class FitLabel : public QLabel
{
    Q_OBJECT

public:
    explicit FitLabel(const QString& text, QWidget* parent = nullptr);

    // The font the caption is drawn with at the label's present width.
    QFont fittedFont() const;
    // True when even the smallest font does not hold the whole caption.
    bool elided() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static constexpr double kMinPointSize = 6.0;
};

// The same for a button whose place cannot grow: its caption is drawn in its parent's font, or in a
// smaller one when the caption does not fit between the button's margins.
void fitButtonFont(QPushButton* button);

// The same for a text box: a number longer than the box (an imperial fraction such as "14 15/16") is
// shown whole in a smaller font while it fits at the smallest readable size.
void fitLineEditFont(QLineEdit* box);

} // namespace kelvra
