#include "calc/InputRules.h"

#include "calc/Model.h"

#include <charconv>
#include <string>

namespace kelvra
{

double wooferDiameterCm(int sizePosition)
{
    // The inches are the number before the entry's inch mark, as the recalculation reads them.
    const std::string entry = sizeEntryText(sizePosition);
    int inches = 0;
    std::from_chars(entry.data(), entry.data() + entry.size(), inches);
    return inches * 2.54;
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
