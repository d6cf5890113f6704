#include "gui/common/Refusals.h"

#include <array>

namespace kelvra
{

RefusalWords refusalWords(const TextTables& tables)
{
    RefusalWords words;
    for (std::size_t i = 0; i < words.sentences.size(); ++i)
        words.sentences[i] = refusalSentence(tables, i);
    for (std::size_t i = 0; i < words.phrases.size() && i < tables.refusalPhrase.size(); ++i)
        words.phrases[i] = tables.refusalPhrase[i];
    return words;
}

std::string refusalSentence(const TextTables& tables, std::size_t entry)
{
    static const RefusalWords english;
    static const std::array<const char*, 3> mainWindow = {
        "Look at the box \"%1\".", "\"%1\" is not a number.", "A measure is too large to calculate with."};
    if (entry < tables.refusal.size() && !tables.refusal[entry].empty())
        return tables.refusal[entry];
    if (entry < english.sentences.size())
        return english.sentences[entry];
    return entry - english.sentences.size() < mainWindow.size() ? mainWindow[entry - english.sentences.size()]
                                                                : "";
}

} // namespace kelvra
