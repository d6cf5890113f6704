// The search's own inputs as texts, as kelvra-calc's --set and the window's boxes give them.
#pragma once

#include "fit/Fit.h"

#include <array>
#include <string>
#include <string_view>

namespace kelvra
{

inline constexpr std::array<std::string_view, 10> kFitKeys = {
    "bootdepth", "bootheight", "bootwidth", "seatangle",     "boxtype",
    "goal",      "goalf",      "subsonic",  "subsonicorder", "power"};
bool isFitKey(std::string_view key);

// Applies one key's text to the request (an empty text of goalf, subsonic or power leaves the default);
// returns the message naming the key when the text is not a number or out of range, else empty.
std::string applyFitKey(FitRequest& request, std::string_view key, const std::string& text, char separator);

// The search's figures of a design in the units they are shown in: a text to 0.1 or 0.01.
std::string fitNumber(double value, int decimals, char separator);

} // namespace kelvra
