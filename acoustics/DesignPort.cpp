#include "acoustics/DesignPort.h"

#include "calc/Numeric.h"

namespace kelvra
{

Checked<Port> designPort(const ModelInputs& inputs, char decimalSeparator, EndCorrection endCorrection)
{
    Port port;
    port.endCorrection = endCorrection;
    port.count = inputs.pieces[2];
    if (port.count < 0)
        return AcousticsError{"pieces2", "pieces2: no port count selected"};
    port.round = inputs.ptype == 0;
    if (port.count == 0)
        return port;
    const auto read = [&](int index, double& into) {
        const Result<double> value = toDouble(inputs.txtSize[index], decimalSeparator);
        if (!value)
            return false;
        into = *value;
        return true;
    };
    if (!read(5, port.lengthCm))
        return AcousticsError{"lp", "lp: not a number"};
    if (port.round) {
        if (!read(6, port.diameterCm))
            return AcousticsError{"dp", "dp: not a number"};
    } else {
        if (!read(7, port.widthCm))
            return AcousticsError{"bp", "bp: not a number"};
        if (!read(8, port.heightCm))
            return AcousticsError{"hp", "hp: not a number"};
    }
    return port;
}

} // namespace kelvra
