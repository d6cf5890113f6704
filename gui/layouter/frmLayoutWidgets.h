// The two kinds of child area of the layouter window: the sheet picture with its persistent drawing,
// and a board's coloured rectangle with its caption.
#pragma once

#include "layouter/AutoFit.h"
#include "units/Units.h"

#include <QLabel>
#include <QWidget>

#include <string>
#include <vector>

namespace kelvra
{

// A text drawn on the sheet, such as a cut's number; centred on its point.
struct SheetText {
    float x = 0;
    float y = 0;
    std::string text;
};

// The sheet picture `picPanel`: the sheet's colour, and on it whatever was drawn since it was last
// cleared (cut lines, the middle line). The boards are its child areas.
class SheetView : public QWidget
{
    Q_OBJECT
public:
    explicit SheetView(QWidget* parent);

    void setDrawing(const std::vector<Stroke>* strokes, const std::vector<SheetText>* texts);

signals:
    void pointerMoved(QPoint position);
    void buttonReleased(QPoint position, Qt::MouseButton button);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    const std::vector<Stroke>* m_strokes = nullptr;
    const std::vector<SheetText>* m_texts = nullptr;
};

// The colour of a Best fit plan's cut lines.
inline constexpr Rgb kPlanCutColour = {192, 0, 0};
// The true outlines of the boards that Best fit draws over the panels.
inline constexpr Rgb kPlanOutlineColour = {32, 32, 32};

// Drawn over the boards: the plan's cut lines and their numbers, which the boards would hide where
// the kerf is thinner than a pixel. It lets every mouse event through to the boards and the sheet.
class CutOverlay : public QWidget
{
public:
    CutOverlay(const std::vector<Stroke>* strokes, const std::vector<SheetText>* texts, QWidget* sheet);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const std::vector<Stroke>* m_strokes;
    const std::vector<SheetText>* m_texts;
};

// A board: its rectangle (`shFront` ...) filled with its colour, a single-line border while it is
// picked up, and its caption label `lblName(index)` centred in it.
class PanelView : public QWidget
{
    Q_OBJECT
public:
    // Index 0..6 is one of the seven boards; from 7 on a board beyond them, named by its key.
    PanelView(int index, QWidget* parent, std::string_view key = {});

    int index() const { return m_index; }
    QLabel* label() const { return m_label; }
    bool border() const { return m_border; }
    void setBorder(bool on);
    // Puts the panel where the state says, with its caption centred.
    // The caption's lengths in `measure` (the panel's are cm).
    void apply(const Panel& panel, Measure measure = Measure::Metric, char decimalSeparator = ',');

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The caption in the largest font, down to a small one, that the panel holds whole; a panel too
    // small even for that hides it and keeps it as its hint.
    void fitCaption();

    int m_index;
    QLabel* m_label;
    bool m_border = false;
    QSize m_fittedFor; // the size fitCaption last ran for
};

} // namespace kelvra
