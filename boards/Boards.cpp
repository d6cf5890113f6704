#include "boards/Boards.h"

namespace kelvra
{

bool Board::isTrapezoid() const
{
    return false;
}

std::string BoardsError::text() const
{
    return {};
}

BoardsResult buildBoards(const ModelInputs&, char, std::span<const std::string>)
{
    return {};
}

std::string boardSizeText(double, char)
{
    return {};
}

} // namespace kelvra
