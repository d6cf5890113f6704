// The reasons the acoustics core gives in English ("qts: must be greater than 0"), by the names a
// window's language section translates them with; the built-in texts are Dutch. A reason with figures
// (a range, a list) has a pattern of its own.
#pragma once

#include <QString>

#include <array>
#include <functional>
#include <string>

namespace kelvra
{

struct AcousticsReason {
    const char* name;
    const char* builtIn;
    const char* english; // the core's words; nullptr for the patterns (errRange, errOneOf, errList)
};

inline constexpr std::array<AcousticsReason, 27> kAcousticsReasons = {{
    {"errNotANumber", "geen getal", "not a number"},
    {"errAboveZero", "moet groter dan 0 zijn", "must be greater than 0"},
    {"errZeroOrMore", "moet 0 of meer zijn", "must be 0 or more"},
    {"errAboveQts", "moet groter dan qts zijn", "must be greater than qts"},
    {"errMissingQ", "ontbreekt (geef qts, of qes en qms)", "missing (give qts, or qes and qms)"},
    {"errMissing", "ontbreekt", "missing"},
    {"errNoPortCount", "geen aantal poorten gekozen", "no port count selected"},
    {"errNetVolume", "het nettovolume moet groter dan 0 zijn", "the net volume must be greater than 0"},
    {"errPortDiameter", "de poortdiameter moet groter dan 0 zijn",
     "the port diameter must be greater than 0"},
    {"errPortWidth", "de poortbreedte moet groter dan 0 zijn", "the port width must be greater than 0"},
    {"errPortHeight", "de poorthoogte moet groter dan 0 zijn", "the port height must be greater than 0"},
    {"errPortLength", "de poortlengte moet 0 of meer zijn", "the port length must be 0 or more"},
    {"errSealedTuning", "een gesloten box heeft geen poortafstemming", "a sealed box has no port tuning"},
    {"errSealedPort", "een gesloten box heeft geen poort", "a sealed box has no port"},
    {"errSealedSize", "een gesloten box heeft geen poort om te berekenen",
     "a sealed box has no port to size"},
    {"errNoTuning", "de poort geeft geen eindige afstemming", "the port gives no finite tuning"},
    {"errTargetTuning", "de doelafstemming moet groter dan 0 zijn",
     "the target tuning must be greater than 0"},
    {"errPortTooWide", "de poort is te breed voor deze afstemming: maak hem smaller",
     "the port is too wide for this tuning: make it narrower"},
    {"errTuning", "de afstemming moet groter dan 0 zijn", "the tuning must be greater than 0"},
    {"errNoF3", "de respons heeft geen -3 dB-punt tussen 5 en 400 Hz",
     "the response has no -3 dB point between 5 and 400 Hz"},
    {"errNoResult", "de parameters van de woofer geven geen eindige uitkomst",
     "the woofer's parameters give no finite result"},
    {"errNoPortArea", "de parameters van de woofer geven geen eindige poortoppervlakte",
     "the woofer's parameters give no finite port area"},
    {"errSpeedLimit", "de snelheidsgrens moet groter dan 0 zijn", "the speed limit must be greater than 0"},
    {"errBoardsPortLength", "met deze poortlengte kunnen de planken niet gebouwd worden",
     "the boards cannot be built with this port length"},
    {"errRange", "moet van %1 tot %2 zijn", nullptr},
    {"errOneOf", "moet een van 0 tot %1 zijn", nullptr},
    {"errList", "moet %1 of %2 zijn", nullptr},
}};

// `english` in the window's words (`text` reads a text by name); a reason not in the list as it is.
QString acousticsReason(const std::string& english, const std::function<QString(const char*)>& text);

} // namespace kelvra
