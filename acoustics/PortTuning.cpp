#include "acoustics/PortTuning.h"

#include "acoustics/DesignPort.h"
#include "boards/Boards.h"
#include "calc/Numeric.h"

#include <cmath>

namespace kelvra
{

namespace
{

AcousticsError noLength(double targetFb, char sep)
{
    return {"targetfb", "targetfb: no port length of this box tunes it to " +
                            formatDouble(roundHalfEven(targetFb, 2), sep) + " Hz"};
}

// The net volume of the boards with the port `lengthCm` long, litres.
std::optional<double> volumeWith(ModelInputs inputs, char sep, double lengthCm)
{
    inputs.lp = formatDouble(lengthCm, sep);
    return exactNetVolume(inputs, sep);
}

} // namespace

Checked<double> designTuningWith(const ModelInputs& inputs, char decimalSeparator,
                                 EndCorrection endCorrection, double lengthCm)
{
    Checked<Port> port = designPort(inputs, decimalSeparator, endCorrection);
    if (!port)
        return port.error();
    const std::optional<double> vb = volumeWith(inputs, decimalSeparator, lengthCm);
    if (!vb)
        return AcousticsError{"lp", "lp: the boards cannot be built with this port length"};
    Port p = *port;
    p.lengthCm = lengthCm;
    return tuningFrequency(p, *vb);
}

Checked<double> designPortLengthFor(const ModelInputs& inputs, char decimalSeparator,
                                    EndCorrection endCorrection, double targetFb)
{
    const Checked<Port> port = designPort(inputs, decimalSeparator, endCorrection);
    if (!port)
        return port.error();
    const char sep = decimalSeparator;
    // g(L): the length that tunes the box a port of length L leaves behind; the answer is its fixed point.
    auto g = [&](double lengthCm) -> Checked<double> {
        const std::optional<double> vb = volumeWith(inputs, sep, lengthCm);
        if (!vb)
            return noLength(targetFb, sep);
        return portLengthFor(*port, *vb, targetFb);
    };
    // Start from the typed length, or from just past the panel when that does not build.
    double x0 = port->lengthCm;
    if (!(x0 > 0) || !volumeWith(inputs, sep, x0)) {
        const Result<std::int16_t> thick = toInt16(inputs.thick0, sep);
        x0 = (thick ? *thick / 10.0 : 0) + 1;
    }
    Checked<double> g0 = g(x0);
    if (!g0)
        return g0.error();
    // Secant steps on h(L) = g(L) - L; the volume changes slowly with the length, so a few do. A length
    // the boards cannot hold ends the search with the length for the box as it last stood, so the
    // caller can say how much too long it is.
    double x1 = *g0;
    double h0 = *g0 - x0;
    for (int step = 0; step < 30; ++step) {
        const Checked<double> g1 = g(x1);
        if (!g1)
            return x1;
        const double h1 = *g1 - x1;
        if (std::abs(h1) < 1e-7)
            return x1;
        const double slope = (h1 - h0) / (x1 - x0);
        const double next = (std::isfinite(slope) && slope != 0 && x1 != x0) ? x1 - h1 / slope : *g1;
        x0 = x1;
        h0 = h1;
        x1 = next;
        if (!std::isfinite(x1) || x1 <= 0)
            return noLength(targetFb, sep);
    }
    return noLength(targetFb, sep);
}

} // namespace kelvra
