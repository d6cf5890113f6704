#include "AutoFit.h"

namespace kelvra
{

namespace
{

void place(Panel& p, float left, float top)
{
    p.left = left;
    p.top = top;
}

class CutPen
{
public:
    CutPen(LayoutView& view, float width) : m_view(view), m_width(width) {}

    void line(float x1, float y1, float x2, float y2)
    {
        if (m_view.linesOn)
            m_view.drawing.push_back({{x1, y1, x2, y2}, m_width, false, kCutLineColour});
    }

private:
    LayoutView& m_view;
    float m_width;
};

} // namespace

bool isSheetSizeIndex(int index)
{
    return index >= 0 && index < kSheetSizeCount;
}

bool isSawThick(int sawThick)
{
    return sawThick >= kFirstSawThick && sawThick <= kLastSawThick;
}

SheetSize sheetSizeOf(int index)
{
    static constexpr std::array<int, kSheetSizeCount> widthsCm = {61, 244, 305};
    if (!isSheetSizeIndex(index))
        return {};
    auto px = [](int cm) {
        return static_cast<std::int16_t>(Fixed::fromInt(cm).times(pxPerCm)->raw() / Fixed::kScale);
    };
    return {px(122), px(widthsCm[static_cast<std::size_t>(index)])};
}

std::int16_t kerfPixels(std::int16_t sawThick)
{
    const Result<Fixed> k = Fixed::fromInt(sawThick).times(pxPerCm);
    return static_cast<std::int16_t>(k ? k->raw() / Fixed::kScale : 0);
}

void AutoFit(LayoutView& view, const PanelModel& model, char decimalSeparator)
{
    const float k = kerfPixels(view.sawThick);
    const float h = k / 2; // the middle of the kerf beside an edge
    const float H = view.sheet.height;
    view.drawing.clear();
    CutPen pen(view, k);

    PanelSet& p = view.panels;
    Panel& F = p[kFront];
    Panel& R = p[kRear];
    Panel& T = p[kTop];
    Panel& Bo = p[kBottom];
    Panel& L = p[kLeft];
    Panel& Ri = p[kRight];

    RefreshPanels(p, model, decimalSeparator);

    place(F, 0, 0);
    pen.line(F.width + h, 0, F.width + h, F.height + h);

    if (R.width == F.width && R.height == F.height) {
        place(R, F.width + k, 0);
    } else if (F.height + R.height + k > H) {
        place(R, F.width + k, 0);
        pen.line(R.left - h, 0, R.left - h, R.height);
    } else {
        place(R, 0, F.height + k);
        pen.line(0, R.top - h, R.width, R.top - h);
    }
    pen.line(R.left + R.width + h, R.top - h, R.left + R.width + h, R.top + R.height + h);

    if (R.top + R.height + k + T.height > H) {
        p[kTop].turned = 1;
        RefreshPanels(p, model, decimalSeparator);
        place(T, F.width + k, 0);
        pen.line(T.left - h, 0, T.left - h, T.height);
    } else {
        place(T, 0, R.top + R.height + k);
        pen.line(0, T.top - h, T.width, T.top - h);
    }
    pen.line(T.left + T.width + h, T.top - h, T.left + T.width + h, T.top + T.height + h);

    if (T.left == 0 && R.top == 0) {
        place(Bo, T.width + k, T.top);
    } else if (T.left == 0 && T.top + T.height + k + Bo.height <= H) {
        place(Bo, 0, T.top + T.height + k);
    } else if (T.top == 0) {
        place(Bo, T.left, T.height + k);
        // The vertical cut left of the column that the top and the bottom share, up to the top edge.
        pen.line(Bo.left - h, Bo.top + Bo.height - h, Bo.left - h, 0);
    } else {
        p[kBottom].turned = 1;
        RefreshPanels(p, model, decimalSeparator);
        place(Bo, F.width + k, 0);
        pen.line(Bo.left - h, Bo.top + Bo.height + h, Bo.left + Bo.width - h, Bo.top + Bo.height + h);
    }
    pen.line(Bo.left + Bo.width + h, Bo.top - h, Bo.left + Bo.width + h, Bo.top + Bo.height + h);

    if (T.left != 0 || R.top != 0 || T.top + T.height + k + L.height > H) {
        if (Bo.top + Bo.height + L.height + k > H)
            place(L, Bo.left + Bo.width + k, 0);
        else
            place(L, Bo.left, Bo.top + Bo.height + k);
    } else {
        place(L, 0, T.top + T.height + k);
    }

    if (T.left == 0 && R.top == 0)
        place(Ri, L.left + L.width + k, L.top);
    else if (L.top + L.height + Ri.height + k > H)
        place(Ri, L.left + L.width + k, 0);
    else
        place(Ri, L.left, L.top + L.height + k);

    UpdatePortVisibility(p, model);
    if (view.middleLineOn)
        DrawMiddleLine(view);
}

std::vector<Segment> cutLinesOf(const LayoutView& view)
{
    std::vector<Segment> out;
    for (const Stroke& s : view.drawing)
        if (!s.dashed && s.colour == kCutLineColour)
            out.push_back(s.line);
    return out;
}

void DrawMiddleLine(LayoutView& view)
{
    // Down the whole sheet at half its width.
    const float x = static_cast<float>(view.sheet.width) / 2;
    view.drawing.push_back({{x, 0, x, static_cast<float>(view.sheet.height)}, 1, true, kMiddleLineColour});
}

void ToggleMiddleLine(LayoutView& view)
{
    if (view.middleLineOn) {
        view.middleLineOn = false;
        return;
    }
    view.middleLineOn = true;
    DrawMiddleLine(view);
}

void CheckLines(PanelSet& panels, std::int16_t sawThick, float sheetHeight)
{
    const Result<Fixed> kerf = Fixed::fromInt(sawThick).times(pxPerCm);
    const double k = kerf ? kerf->toDouble() : 0;
    for (Panel& p : panels) {
        if (static_cast<double>(p.left) <= k)
            p.left = 0;
        if (static_cast<double>(p.top) <= k)
            p.top = 0;
    }
    for (Panel& p : panels)
        if (p.top + p.height > sheetHeight)
            p.top = sheetHeight - p.height;
}

void CheckLines(LayoutView& view)
{
    CheckLines(view.panels, view.sawThick, view.sheet.height);
}

bool ChooseSheetSize(LayoutView& view, int index, const PanelModel& model, char decimalSeparator)
{
    if (!isSheetSizeIndex(index))
        return false;
    view.sheet = sheetSizeOf(index);
    view.sheetIndex = index;
    AutoFit(view, model, decimalSeparator);
    return true;
}

bool ChooseSawThick(LayoutView& view, int sawThick, const PanelModel& model, char decimalSeparator)
{
    if (!isSawThick(sawThick))
        return false;
    view.sawThick = static_cast<std::int16_t>(sawThick);
    AutoFit(view, model, decimalSeparator);
    return true;
}

namespace
{

int menuSetting(std::string_view text, char sep, bool (*valid)(int), int fallback)
{
    const Result<std::int16_t> v = toInt16(text, sep);
    return v && valid(*v) ? *v : fallback;
}

} // namespace

int sawThickSetting(std::string_view text, char decimalSeparator)
{
    return menuSetting(text, decimalSeparator, isSawThick, kDefaultSawThick);
}

int sheetSizeSetting(std::string_view text, char decimalSeparator)
{
    return menuSetting(text, decimalSeparator, isSheetSizeIndex, kDefaultSheetSize);
}

} // namespace kelvra
