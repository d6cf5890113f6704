#include "acoustics/CurveCsv.h"

#include "calc/Numeric.h"

namespace kelvra
{

std::string curveCsv(const Curve& curve, char separator)
{
    // Where "," is the decimal separator, spreadsheets take ";" between the columns.
    const char column = separator == ',' ? ';' : ',';
    const auto shown = [separator](double value, int decimals) {
        return formatDouble(roundHalfEven(value, decimals), separator);
    };
    std::string out = std::string("f") + column + "spl" + column + "splCabin" + column + "excursion" +
                      column + "portSpeed" + column + "maxSpl" + column + "maxPower" + column + "impedance" +
                      column + "impedancePhase" + column + "groupDelay\r\n";
    for (const CurvePoint& p : curve)
        out += shown(p.f, 4) + column + shown(p.spl, 3) + column + shown(p.splCabin, 3) + column +
               shown(p.excursion, 4) + column + shown(p.portSpeed, 3) + column + shown(p.maxSpl, 3) + column +
               shown(p.maxPower, 3) + column + shown(p.impedance, 4) + column + shown(p.impedancePhase, 3) +
               column + shown(p.groupDelay, 4) + "\r\n";
    return out;
}

} // namespace kelvra
