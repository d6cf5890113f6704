// Why a box cannot be built, in the language shown: the text tables' "Refusal" and "RefusalPhrase"
// entries over the boards core's English.
#pragma once

#include "boards/Boards.h"
#include "lang/TextTables.h"

#include <string>

namespace kelvra
{

// The main window's own sentences about a fault, after the core's: entries of the "Refusal" table.
inline constexpr std::size_t kRefuseLookAtBox = 9;       // "Look at the box \"%1\"."
inline constexpr std::size_t kRefuseNotANumber = 10;     // "\"%1\" is not a number."
inline constexpr std::size_t kRefuseTooLargeToCalc = 11; // "A measure is too large to calculate with."

RefusalWords refusalWords(const TextTables& tables);
// Entry `entry` of the "Refusal" table, or its English when the language gives none.
std::string refusalSentence(const TextTables& tables, std::size_t entry);

} // namespace kelvra
