#include "calc/InputRules.h"

#include <array>
#include <cstddef>

namespace kelvra
{

double wooferDiameterCm(int sizePosition)
{
    static constexpr std::array<double, 6> kInches{6, 8, 10, 12, 15, 18};
    const bool known = sizePosition >= 0 && sizePosition < static_cast<int>(kInches.size());
    return (known ? kInches[static_cast<std::size_t>(sizePosition)] : 0.0) * 2.54;
}

// Both checks ask "not at least as large", so an inner measure that is no number lets the woofer pass.
bool wooferFitsHeight(double diameterCm, double innerHeight)
{
    return !(diameterCm >= innerHeight);
}

bool wooferFitsFront(double diameterCm, int count, double innerLength, double innerHeight)
{
    return !(count * diameterCm >= innerLength) && wooferFitsHeight(diameterCm, innerHeight);
}

bool hasPort(int portCountPosition)
{
    return portCountPosition != 0;
}

bool isRoundPort(int portTypePosition)
{
    return portTypePosition == 0;
}

PortFieldStates portFieldStates(int portCountPosition, int portTypePosition)
{
    if (!hasPort(portCountPosition))
        return {};
    const bool round = isRoundPort(portTypePosition);
    return {true, true, true, round, !round, !round, !round};
}

} // namespace kelvra
