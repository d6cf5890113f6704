// The run-time text tables that a language file may translate entry by entry.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace kelvra
{

inline constexpr std::size_t kRefusalCount = 12;
inline constexpr std::size_t kRefusalPhraseCount = 52;

struct TextTables {
    std::array<std::string, 5> portBox;
    std::array<std::string, 3> correctionFact;
    std::array<std::string, 5> messageBox;
    std::array<std::string, 2> options;
    std::array<std::string, 2> portType;
    // The result captions' words: outer volume, inner volume, virtual volume (with a correction), and
    // the unit after each figure.
    std::array<std::string, 4> result;
    // The words after the title in the header of every printed page.
    std::array<std::string, 1> print;
    // Why a box cannot be built: the sentences (%1, %2 ... for the board, the measure and the figures)
    // and the names of boards and measures in them, numbered as the boards core lists them. An empty
    // entry keeps the core's English.
    std::array<std::string, kRefusalCount> refusal;
    std::array<std::string, kRefusalPhraseCount> refusalPhrase;

    // The table by its language-file name ("PortBox", "CorrectionFact", "MessageBox", "Options",
    // "PortType", "Result", "Print", "Refusal", "RefusalPhrase"), compared exactly; an empty span for
    // any other name.
    std::span<std::string> table(std::string_view name);
    std::span<const std::string> table(std::string_view name) const;

    bool operator==(const TextTables&) const = default;
};

// The built-in Dutch texts.
TextTables ResetTextTables();

// Entry numbers of the MessageBox table, as the messages use them.
inline constexpr int kMsgOldVersion = 0;
inline constexpr int kMsgNotInSimulation = 1;
inline constexpr int kMsgParameters = 2;
inline constexpr int kMsgNegativeVolume = 3;
inline constexpr int kMsgSubTooBig = 4;

// Entry numbers of the Result table.
inline constexpr int kResultOuter = 0;
inline constexpr int kResultInner = 1;
inline constexpr int kResultVirtual = 2;
inline constexpr int kResultUnit = 3;

} // namespace kelvra
