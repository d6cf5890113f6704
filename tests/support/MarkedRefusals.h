// Refusal words that replace every phrase by its number and every sentence by its figures alone: a
// refusal worded with them holds no blank unless the core used a phrase a language file cannot reach.
#pragma once

#include "boards/Boards.h"

#include <string>

namespace kelvra::test
{

inline RefusalWords markedRefusalWords()
{
    RefusalWords words;
    for (std::string& s : words.sentences)
        s = "%1|%2|%3|%4|%5";
    for (std::size_t i = 0; i < words.phrases.size(); ++i)
        words.phrases[i] = "#" + std::to_string(i) + "#";
    return words;
}

} // namespace kelvra::test
