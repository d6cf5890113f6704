#include "layouter/BestFitBoards.h"

namespace kelvra
{

namespace
{

Fixed minusOr(Fixed a, Fixed b)
{
    const Result<Fixed> r = a.minus(b);
    return r ? *r : a;
}

} // namespace

std::vector<BestFitBoard> bestFitBoards(const DerivedMeasures& d, int portCountPosition, int portWhere,
                                        const std::optional<SideSize>& realSides)
{
    // Lengths l and breadths b in cm; front and rear stand upright (width b), the others lie (width l).
    const Fixed inner = minusOr(d.h2, Fixed::fromRaw(2 * d.thick[0] * Fixed::kScale / 10));
    const bool rightCa = d.angleCa == kRightAngle;
    const bool rightCb = d.angleCb == kRightAngle;
    Fixed frontL = rightCa ? d.l3 : d.slantCa, frontB = inner;
    Fixed rearL = rightCb ? d.l3 : d.slantCb, rearB = inner;
    Fixed topL = d.l3, topB = d.topWidth;

    // A single rectangular port as high as the wall it stands against shortens that wall.
    if (portCountPosition == 1) {
        const Fixed cut = Fixed::fromRaw(d.thick[2] * Fixed::kScale / 10);
        const Result<Fixed> amount = cut.plus(d.bp);
        if (amount) {
            if (portWhere == 0 && frontB == d.hp)
                frontL = minusOr(frontL, *amount);
            else if (portWhere == 1 && rearB == d.hp)
                rearB = minusOr(rearB, *amount);
            else if (portWhere == 2 && topL == d.hp)
                topL = minusOr(topL, *amount);
        }
    }
    auto cm = [](Fixed v) {
        return v.toDouble();
    };
    auto sideBoard = [&](const char* key, bool right) {
        if (right)
            return BestFitBoard{key, cm(d.topWidth), cm(d.slantCb)};
        if (realSides)
            return BestFitBoard{key, cm(realSides->l), cm(realSides->b)};
        return BestFitBoard{key, kUnsizedPanelCm, kUnsizedPanelCm};
    };
    std::vector<BestFitBoard> boards = {
        {"front", cm(frontB), cm(frontL)},       {"rear", cm(rearB), cm(rearL)}, {"top", cm(topL), cm(topB)},
        {"bottom", cm(d.l3), cm(d.bottomWidth)}, sideBoard("left", rightCa),     sideBoard("right", rightCb),
    };
    if (d.hp > Fixed() && d.dp == Fixed() && d.lp > Fixed() && portCountPosition > 0)
        boards.push_back({"port", cm(d.hp), cm(d.lp)});
    return boards;
}

} // namespace kelvra
