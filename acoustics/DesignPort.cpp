#include "acoustics/DesignPort.h"

#include "boards/Boards.h"
#include "calc/Numeric.h"

namespace kelvra
{

Checked<Port> designPort(const ModelInputs& inputs, char decimalSeparator, EndCorrection endCorrection)
{
    Port port;
    port.endCorrection = endCorrection;
    port.count = inputs.pieces2;
    if (port.count < 0)
        return AcousticsError{"pieces2", "pieces2: no port count selected"};
    port.round = inputs.ptype == 0;
    if (port.count == 0)
        return port;
    const auto read = [&](std::string ModelInputs::*field, double& into) {
        const Result<double> value = toDouble(inputs.*field, decimalSeparator);
        if (!value)
            return false;
        into = *value;
        return true;
    };
    if (!read(&ModelInputs::lp, port.lengthCm))
        return AcousticsError{"lp", "lp: not a number"};
    if (port.round) {
        if (!read(&ModelInputs::dp, port.diameterCm))
            return AcousticsError{"dp", "dp: not a number"};
    } else {
        if (!read(&ModelInputs::bp, port.widthCm))
            return AcousticsError{"bp", "bp: not a number"};
        if (!read(&ModelInputs::hp, port.heightCm))
            return AcousticsError{"hp", "hp: not a number"};
    }
    return port;
}

std::optional<SoundWarning> targetPortRoom(const ModelInputs& inputs, char decimalSeparator, double lengthCm,
                                           double targetFb)
{
    ModelInputs withLength = inputs;
    withLength.lp = formatDouble(roundHalfEven(lengthCm, 4), decimalSeparator);
    const BoardsResult boards = buildBoards(withLength, decimalSeparator);
    if (boards.ok() || boards.error.fault != BoardsFault::PortTooLong)
        return std::nullopt;
    return SoundWarning{SoundWarningKind::TargetPortTooLong, lengthCm, boards.error.limit, targetFb};
}

} // namespace kelvra
