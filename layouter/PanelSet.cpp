#include "layouter/PanelSet.h"

#include "boards/Boards.h"

#include <algorithm>
#include <optional>
#include <utility>

namespace kelvra
{

namespace
{

bool isUpright(int index)
{
    return index == kFront || index == kRear;
}

// True when the rectangle's l side runs across (its Width).
bool lAcross(const Panel& panel, int index)
{
    return isUpright(index) == (panel.turned != 0);
}

float& lSideRef(Panel& panel, int index)
{
    return lAcross(panel, index) ? panel.width : panel.height;
}

float& bSideRef(Panel& panel, int index)
{
    return lAcross(panel, index) ? panel.height : panel.width;
}

std::optional<float> pixels(Fixed cm)
{
    const Result<Fixed> px = cm.times(pxPerCm);
    if (!px)
        return std::nullopt;
    return static_cast<float>(px->toDouble());
}

struct SideLengths {
    Fixed l;
    Fixed b;
};

// l and b in cm of a panel, or nothing when the model gives this panel no size.
std::optional<SideLengths> sideLengths(int index, const PanelModel& model)
{
    if (model.realBoards) {
        for (const RealBoardSize& r : *model.realBoards)
            if (r.key == kPanelKeys[static_cast<std::size_t>(index)])
                return SideLengths{r.l, r.b};
        // Only the port panel can lack a board (no slot port); it keeps the typed hp and lp, hidden.
        if (index != kPort)
            return std::nullopt;
    }
    const DerivedMeasures& d = model.derived;
    const bool rightCa = d.angleCa == kRightAngle;
    const bool rightCb = d.angleCb == kRightAngle;
    // innerHeight formed here from h2 and the 16-bit product 2 x thick(0).
    auto innerHeight = [&]() -> std::optional<Fixed> {
        const Result<std::int16_t> twice = int16Times(2, d.thick[0]);
        if (!twice)
            return std::nullopt;
        const Result<Fixed> inner = d.h2.minus(Fixed::fromRaw(std::int64_t{*twice} * Fixed::kScale / 10));
        if (!inner)
            return std::nullopt;
        return *inner;
    };
    switch (index) {
    case kFront:
    case kRear: {
        const std::optional<Fixed> b = innerHeight();
        if (!b)
            return std::nullopt;
        const bool right = index == kFront ? rightCa : rightCb;
        const Fixed slant = index == kFront ? d.slantCa : d.slantCb;
        return SideLengths{right ? d.l3 : slant, *b};
    }
    case kTop:
        return SideLengths{d.l3, d.topWidth};
    case kBottom:
        return SideLengths{d.l3, d.bottomWidth};
    case kLeft:
    case kRight:
        if (!(index == kLeft ? rightCa : rightCb))
            return std::nullopt;
        return SideLengths{d.topWidth, d.slantCb};
    case kPort:
        return SideLengths{d.hp, d.lp};
    default:
        return std::nullopt;
    }
}

void applySize(Panel& panel, int index, const PanelModel& model)
{
    const std::optional<SideLengths> lb = sideLengths(index, model);
    if (!lb)
        return;
    const std::optional<float> l = pixels(lb->l);
    const std::optional<float> b = pixels(lb->b);
    if (!l || !b)
        return;
    lSideRef(panel, index) = *l;
    bSideRef(panel, index) = *b;
}

// A single rectangular port standing against the front, rear or top, as high as the side it is
// compared with, takes its own breadth and wall thickness off that panel.
void applyPortCut(Panel& panel, int index, const PanelModel& model)
{
    // A real board is already the size it is sawn; the slot stands beside it, not in it.
    if (model.realBoards || index > kTop || model.portCountPosition != 1 || model.portWhere != index)
        return;
    const DerivedMeasures& d = model.derived;
    const std::optional<float> portHeight = pixels(d.hp);
    if (!portHeight)
        return;
    float& compared = index == kTop ? lSideRef(panel, index) : bSideRef(panel, index);
    float& shortened = index == kRear ? bSideRef(panel, index) : lSideRef(panel, index);
    // Both sides come from the same model numbers through the same conversion, so they compare equal
    // exactly when the measures are equal.
    if (compared != *portHeight)
        return;
    const Result<Fixed> cm = Fixed::fromRaw(std::int64_t{d.thick[2]} * Fixed::kScale / 10).plus(d.bp);
    if (!cm)
        return;
    const Result<Fixed> amount = cm->times(pxPerCm);
    const Result<Fixed> side = Fixed::fromDouble(shortened);
    if (!amount || !side)
        return;
    const Result<Fixed> rest = side->minus(*amount);
    if (rest)
        shortened = static_cast<float>(rest->toDouble());
}

} // namespace

PanelModel panelModelOf(const DerivedMeasures& derived, const ModelInputs& inputs, char decimalSeparator)
{
    PanelModel m;
    m.derived = derived;
    m.portCountPosition = inputs.pieces2;
    m.portWhere = inputs.pwhere;
    m.realBoards = realBoardSizes(inputs, decimalSeparator);
    return m;
}

std::optional<std::vector<RealBoardSize>> realBoardSizes(const ModelInputs& inputs, char decimalSeparator)
{
    const BoardsResult r = buildBoards(inputs, decimalSeparator);
    if (!r.ok())
        return std::nullopt;
    std::vector<RealBoardSize> sizes;
    sizes.reserve(r.boards->boards.size());
    for (const Board& b : r.boards->boards) {
        // A front or rear port's wall stands with its height hp up the box, its length along the port.
        const bool hpAcross = b.key == "port" && (inputs.pwhere == 0 || inputs.pwhere == 1);
        const Result<Fixed> l = Fixed::fromDouble(hpAcross ? b.breadth : b.length);
        const Result<Fixed> breadth = Fixed::fromDouble(hpAcross ? b.length : b.breadth);
        if (!l || !breadth)
            return std::nullopt;
        sizes.push_back({b.key, *l, *breadth});
    }
    return sizes;
}

std::optional<SideSize> realSideSize(const ModelInputs& inputs, char decimalSeparator)
{
    const BoardsResult r = buildBoards(inputs, decimalSeparator);
    if (!r.ok())
        return std::nullopt;
    for (const Board& b : r.boards->boards) {
        if (b.key != "left")
            continue;
        const Result<Fixed> l = Fixed::fromDouble(b.length);
        const Result<Fixed> breadth = Fixed::fromDouble(b.breadth);
        if (!l || !breadth)
            return std::nullopt;
        return SideSize{*l, *breadth};
    }
    return std::nullopt;
}

float lSide(const Panel& panel, int index)
{
    return lAcross(panel, index) ? panel.width : panel.height;
}

float bSide(const Panel& panel, int index)
{
    return lAcross(panel, index) ? panel.height : panel.width;
}

double captionCm(float sidePx)
{
    return roundHalfEven(static_cast<double>(sidePx) / pxPerCm.toDouble(), 1);
}

std::string panelCaption(std::string_view name, double lCm, double bCm, char decimalSeparator)
{
    std::string c(name);
    c += "\r\nl:";
    c += formatDouble(roundHalfEven(lCm, 1), decimalSeparator);
    c += "cm\r\nb:";
    c += formatDouble(roundHalfEven(bCm, 1), decimalSeparator);
    c += "cm";
    return c;
}

void SizePanel(Panel& panel, int index, const PanelModel& model)
{
    applySize(panel, index, model);
    applyPortCut(panel, index, model);
}

void RefreshPanels(PanelSet& panels, const PanelModel& model, char decimalSeparator)
{
    for (int i = 0; i < kPanelCount; ++i) {
        Panel& p = panels[static_cast<std::size_t>(i)];
        SizePanel(p, i, model);
        p.caption = panelCaption(model.names[static_cast<std::size_t>(i)], captionCm(lSide(p, i)),
                                 captionCm(bSide(p, i)), decimalSeparator);
    }
}

bool portPanelShown(const PanelModel& model)
{
    if (model.realBoards)
        return std::any_of(model.realBoards->begin(), model.realBoards->end(),
                           [](const RealBoardSize& r) { return r.key == "port"; });
    const DerivedMeasures& d = model.derived;
    const Fixed zero;
    return d.hp > zero && d.dp == zero && d.lp > zero && model.portCountPosition > 0;
}

void UpdatePortVisibility(PanelSet& panels, const PanelModel& model)
{
    panels[kPort].visible = portPanelShown(model);
}

LabelOffset centredLabel(const Panel& panel, float labelWidth, float labelHeight)
{
    return {(panel.width - labelWidth) / 2, (panel.height - labelHeight) / 2};
}

} // namespace kelvra
