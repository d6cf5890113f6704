#include "boards/InputFaults.h"

#include "boards/Boards.h"
#include "calc/Numeric.h"

#include <array>
#include <sstream>

namespace kelvra
{

namespace
{

// The box a boards message means: the model key its measure names ("the port length lp").
std::string keyOf(const BoardsError& e)
{
    static constexpr std::array<std::string_view, 12> kKeys = {
        "h2", "l3", "b2", "ca", "cb", "lp", "dp", "bp", "hp", "thick0", "thick1", "thick2"};
    for (const std::string& words : {e.measure, e.limitMeasure}) {
        std::istringstream in(words);
        for (std::string word; in >> word;)
            for (std::string_view key : kKeys)
                if (word == key)
                    return std::string(key);
    }
    if (e.board.rfind("partition", 0) == 0)
        return "thick1";
    return {};
}

bool isInputFault(BoardsFault f)
{
    return f == BoardsFault::BadNumber || f == BoardsFault::NotPositive || f == BoardsFault::ZeroAngle ||
           f == BoardsFault::BadAngle;
}

} // namespace

std::optional<InputFault> findInputFault(const ModelInputs& in, char decimalSeparator,
                                         const RefusalWords& words)
{
    const BoardsResult boards = buildBoards(in, decimalSeparator);
    if (!boards.ok() && isInputFault(boards.error.fault))
        return InputFault{boards.error.text(words), keyOf(boards.error)};
    // An end panel steeper than 179 degrees or flatter than 1 leaves no box worth building, and the
    // classic calculation's tangents run out of range near 0 and 180.
    struct Angle {
        const std::string* text;
        const char* key;
        const char* board;
        const char* measure;
    };
    for (const Angle& a : {Angle{&in.ca, "ca", "rear", "the rear-seat angle ca"},
                           Angle{&in.cb, "cb", "front", "the front angle cb"}}) {
        const Result<double> degrees = toDouble(*a.text, decimalSeparator);
        if (degrees && (*degrees < 1 || *degrees > 179)) {
            return InputFault{withFigures(words.sentences[kRefuseAngleRange],
                                          {words.subject(a.board), words.phrase(a.measure),
                                           formatDouble(roundHalfEven(*degrees, 2), decimalSeparator)}),
                              a.key};
        }
    }
    if (!boards.ok())
        return InputFault{boards.error.text(words), keyOf(boards.error)};
    return std::nullopt;
}

} // namespace kelvra
