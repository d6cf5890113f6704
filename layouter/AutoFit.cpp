#include "layouter/AutoFit.h"

#include <algorithm>

namespace kelvra
{

namespace
{

void place(PanelPlacement& p, float left, float top)
{
    p.left = left;
    p.top = top;
}

// Every panel's extent after sizing it once more with board `turnedIndex` turned: what turning that
// board and refreshing the panels leaves.
AutoFitExtents extentsAfterTurn(const PanelSet& panels, int turnedIndex, const PanelModel& model)
{
    AutoFitExtents out;
    for (int i = 0; i < kAutoFitPanelCount; ++i) {
        const Panel& from = panels[static_cast<std::size_t>(i)];
        Panel sized;
        sized.width = from.width;
        sized.height = from.height;
        sized.turned = i == turnedIndex ? std::int16_t{1} : from.turned;
        SizePanel(sized, i, model);
        out[static_cast<std::size_t>(i)] = {sized.width, sized.height};
    }
    return out;
}

} // namespace

bool isSheetSizeIndex(int index)
{
    return index >= 0 && index < kSheetSizeCount;
}

bool isSawThick(int sawThick)
{
    return kerfMm(sawThick) > 0;
}

SheetSize sheetSizeOf(int index, SheetCm custom)
{
    const std::optional<SheetCm> cm = sheetCmOf(index, custom);
    if (!cm)
        return {};
    auto px = [](double cm) {
        const Result<Fixed> f = Fixed::fromDouble(cm);
        const Result<Fixed> p = f ? f->times(pxPerCm) : f;
        return static_cast<std::int16_t>(p ? p->raw() / Fixed::kScale : 0);
    };
    return {px(cm->breadth), px(cm->length)};
}

namespace
{

// The kerf in pixels before it is cut to a whole pixel.
Result<Fixed> kerfFixed(int sawThick)
{
    const Result<Fixed> mm = Fixed::fromDouble(kerfMm(sawThick));
    return mm ? mm->times(pxPerCm) : mm;
}

} // namespace

std::int16_t kerfPixels(std::int16_t sawThick)
{
    const Result<Fixed> k = kerfFixed(sawThick);
    return static_cast<std::int16_t>(k ? k->raw() / Fixed::kScale : 0);
}

AutoFitPlacements AutoFit(const AutoFitInput& input)
{
    const float k = input.kerf;
    const float h = k / 2; // the middle of the kerf beside an edge
    const float H = input.sheetHeight;
    AutoFitPlacements out;
    auto& p = out.panels;
    // A turn sizes every panel again; positions stay.
    auto sizeAs = [&p](const AutoFitExtents& extents) {
        for (std::size_t i = 0; i < p.size(); ++i) {
            p[i].width = extents[i].width;
            p[i].height = extents[i].height;
        }
    };
    auto line = [&out](float x1, float y1, float x2, float y2) {
        out.cutLines.push_back({x1, y1, x2, y2});
    };
    sizeAs(input.panels);
    out.cutLines.reserve(7); // one beside the front, at most two beside each of rear, top and bottom

    PanelPlacement& F = p[kFront];
    PanelPlacement& R = p[kRear];
    PanelPlacement& T = p[kTop];
    PanelPlacement& Bo = p[kBottom];
    PanelPlacement& L = p[kLeft];
    PanelPlacement& Ri = p[kRight];

    place(F, 0, 0);
    line(F.width + h, 0, F.width + h, F.height + h);

    if (R.width == F.width && R.height == F.height) {
        place(R, F.width + k, 0);
    } else if (F.height + R.height + k > H) {
        place(R, F.width + k, 0);
        line(R.left - h, 0, R.left - h, R.height);
    } else {
        place(R, 0, F.height + k);
        line(0, R.top - h, R.width, R.top - h);
    }
    line(R.left + R.width + h, R.top - h, R.left + R.width + h, R.top + R.height + h);

    if (R.top + R.height + k + T.height > H) {
        out.topTurned = true;
        sizeAs(input.afterTopTurn);
        place(T, F.width + k, 0);
        line(T.left - h, 0, T.left - h, T.height);
    } else {
        place(T, 0, R.top + R.height + k);
        line(0, T.top - h, T.width, T.top - h);
    }
    line(T.left + T.width + h, T.top - h, T.left + T.width + h, T.top + T.height + h);

    if (T.left == 0 && R.top == 0) {
        place(Bo, T.width + k, T.top);
    } else if (T.left == 0 && T.top + T.height + k + Bo.height <= H) {
        place(Bo, 0, T.top + T.height + k);
    } else if (T.top == 0) {
        place(Bo, T.left, T.height + k);
        // The vertical cut left of the column that the top and the bottom share, up to the top edge.
        line(Bo.left - h, Bo.top + Bo.height - h, Bo.left - h, 0);
    } else {
        out.bottomTurned = true;
        sizeAs(input.afterBottomTurn);
        place(Bo, F.width + k, 0);
        line(Bo.left - h, Bo.top + Bo.height + h, Bo.left + Bo.width - h, Bo.top + Bo.height + h);
    }
    line(Bo.left + Bo.width + h, Bo.top - h, Bo.left + Bo.width + h, Bo.top + Bo.height + h);

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
    return out;
}

void AutoFit(LayoutView& view, const PanelModel& model, char decimalSeparator)
{
    const float k = kerfPixels(view.sawThick);
    view.drawing.clear();
    PanelSet& p = view.panels;
    RefreshPanels(p, model, decimalSeparator);

    AutoFitInput input;
    for (std::size_t i = 0; i < input.panels.size(); ++i)
        input.panels[i] = {p[i].width, p[i].height};
    input.afterTopTurn = extentsAfterTurn(p, kTop, model);
    input.afterBottomTurn = extentsAfterTurn(p, kBottom, model);
    input.sheetHeight = view.sheet.height;
    input.kerf = k;
    const AutoFitPlacements placed = AutoFit(input);

    // The turned flags are set, never cleared; refreshing also rewrites the turned board's caption.
    if (placed.topTurned) {
        p[kTop].turned = 1;
        RefreshPanels(p, model, decimalSeparator);
    }
    if (placed.bottomTurned) {
        p[kBottom].turned = 1;
        RefreshPanels(p, model, decimalSeparator);
    }
    for (std::size_t i = 0; i < placed.panels.size(); ++i) {
        p[i].left = placed.panels[i].left;
        p[i].top = placed.panels[i].top;
    }
    if (view.linesOn)
        for (const Segment& s : placed.cutLines)
            view.drawing.push_back({s, k, false, kCutLineColour});

    UpdatePortVisibility(p, model);
    RefreshExtraPanels(view.extras, model, decimalSeparator);
    PlaceExtraPanels(view.extras, p, view.sheet.height, k);
    if (view.middleLineOn)
        DrawMiddleLine(view);
}

void PlaceExtraPanels(ExtraPanels& extras, const PanelSet& panels, float sheetHeight, float kerf)
{
    float column = 0;
    for (int i = 0; i < kAutoFitPanelCount; ++i) {
        const Panel& p = panels[static_cast<std::size_t>(i)];
        column = std::max(column, p.left + p.width + kerf);
    }
    float top = 0, widest = 0;
    for (ExtraPanel& e : extras) {
        if (top > 0 && top + e.panel.height > sheetHeight) {
            column += widest + kerf;
            top = 0;
            widest = 0;
        }
        e.panel.left = column;
        e.panel.top = top;
        top += e.panel.height + kerf;
        widest = std::max(widest, e.panel.width);
    }
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
    const Result<Fixed> kerf = kerfFixed(sawThick);
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
    PanelSet one;
    for (ExtraPanel& e : view.extras) {
        one[0] = e.panel;
        CheckLines(one, view.sawThick, view.sheet.height);
        e.panel.left = one[0].left;
        e.panel.top = one[0].top;
    }
}

bool ChooseSheetSize(LayoutView& view, int index, const PanelModel& model, char decimalSeparator)
{
    if (!isSheetSizeIndex(index))
        return false;
    view.sheet = sheetSizeOf(index, view.customSheet);
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
