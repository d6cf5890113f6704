#include "app/FitReport.h"

#include "app/Json.h"
#include "calc/Numeric.h"
#include "fit/FitTexts.h"

#include <iostream>

namespace kelvra
{

namespace
{

std::string number(double value, int decimals)
{
    return formatDouble(roundHalfEven(value, decimals), '.');
}

std::string inputsJson(const ModelInputs& in)
{
    json::Object o;
    for (const ModelKey& key : modelKeys()) {
        if (key.kind == KeyKind::Text)
            o.str(key.name, textOf(in, key));
        else
            o.integer(key.name, listPosition(in, key));
    }
    return o.dump();
}

std::string designJson(const FitDesign& d)
{
    return json::Object()
        .raw("inputs", inputsJson(d.inputs))
        .raw("netVolume", number(d.netVolume, 4))
        .raw("fb", d.fb ? number(*d.fb, 4) : "null")
        .raw("f3", number(d.f3, 4))
        .raw("maxSplAt", number(d.maxSplAt, 3))
        .raw("portSpeedMax", number(d.portSpeedMax, 3))
        .raw("excursionMax", number(d.excursionMax, 4))
        .raw("outerVolume", number(d.outerVolume, 4))
        .dump();
}

std::string designLine(const FitDesign& d, char sep)
{
    const ModelInputs& in = d.inputs;
    std::string port = "sealed";
    if (in.pieces2 > 0)
        port = in.ptype == 0 ? std::to_string(in.pieces2) + " x round " + in.dp + " cm, " + in.lp + " cm long"
                             : "slot " + in.bp + " x " + in.hp + " cm, " + in.lp + " cm long";
    return in.h2 + " x " + in.b2 + " x " + in.l3 + " cm (h2 x b2 x l3), " + port + ", net " +
           fitNumber(d.netVolume, 2, sep) + " l, outer " + fitNumber(d.outerVolume, 1, sep) + " l" +
           (d.fb ? ", Fb " + fitNumber(*d.fb, 1, sep) + " Hz" : "") + ", F3 " + fitNumber(d.f3, 1, sep) +
           " Hz, max SPL " + fitNumber(d.maxSplAt, 1, sep) + " dB, port " +
           fitNumber(d.portSpeedMax, 1, sep) + " m/s, cone " + fitNumber(d.excursionMax, 1, sep) + " mm";
}

} // namespace

int runFitBoot(const ModelInputs& design, const WooferTexts& woofer,
               const std::vector<std::pair<std::string, std::string>>& fitSets, char sep, bool json)
{
    FitRequest request;
    request.design = design;
    request.decimalSeparator = sep;
    for (const auto& [key, text] : fitSets) {
        const std::string error = applyFitKey(request, key, text, sep);
        if (!error.empty()) {
            std::cerr << "kelvra-calc: " << error << "\n";
            return 1;
        }
    }
    const auto parsed = parseWoofer(woofer, sep);
    if (!parsed) {
        std::cerr << "kelvra-calc: " << parsed.error().message << "\n";
        return 1;
    }
    const auto options = parseSoundOptions(woofer, sep);
    if (!options) {
        std::cerr << "kelvra-calc: " << options.error().message << "\n";
        return 1;
    }
    request.woofer = *parsed;
    request.sound = *options;
    const FitResult r = fitBoot(request);
    if (!r.error.empty()) {
        std::cerr << "kelvra-calc: " << r.error << "\n";
        return 1;
    }
    if (json) {
        json::Array front;
        for (const FitDesign& d : r.front)
            front.raw(designJson(d));
        const std::string fit = json::Object()
                                    .raw("best", r.best ? designJson(*r.best) : "null")
                                    .raw("front", front.dump())
                                    .integer("evaluated", static_cast<long long>(r.evaluated))
                                    .raw("seconds", number(r.seconds, 3))
                                    .dump();
        std::cout << json::Object().raw("fit", fit).dump() << "\n";
    } else {
        std::cout << "Fit my boot: " << r.evaluated << " designs (" << r.judged << " judged in full) in "
                  << fitNumber(r.seconds, 2, sep) << " s\n";
        std::cout << "Best: " << (r.best ? designLine(*r.best, sep) : "none") << "\n";
        std::cout << "Front (" << r.front.size() << "):\n";
        for (const FitDesign& d : r.front)
            std::cout << "  " << designLine(d, sep) << "\n";
    }
    if (!r.best) {
        std::cerr << "kelvra-calc: no box in this boot keeps every rule for this goal\n";
        return 1;
    }
    return 0;
}

} // namespace kelvra
