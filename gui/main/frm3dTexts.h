// The 3D view's built-in texts in one place, by the object name of what shows them, so that a
// translation replaces them by name.
#pragma once

#include <array>
#include <string_view>
#include <utility>

namespace kelvra
{

inline constexpr std::array<std::pair<std::string_view, std::string_view>, 13> kFrm3dTexts = {{
    {"frm3d", "3D View"},
    {"Label1", "Nothing to see here"},
    {"chkExploded", "&Uit elkaar"},
    {"cmdStl", "&STL exporteren..."},
    {"cmdObj", "&OBJ exporteren..."},
    {"cmdClose", "&Sluiten"},
    {"lblHint", "Sleep om te draaien, wiel om te zoomen; de aanwijzer noemt een plank."},
    {"dlgStl", "STL exporteren"},
    {"dlgObj", "OBJ exporteren"},
    {"filterStl", "STL-vormen (*.stl)"},
    {"filterObj", "OBJ-vormen (*.obj)"},
    {"msgCannotWrite", "\"%1\" kon niet worden geschreven."},
    {"msgNoBoards", "Met deze maten kan geen box gebouwd worden:"},
}};

// The built-in text of a name; empty when there is none.
constexpr std::string_view frm3dText(std::string_view name)
{
    for (const auto& [key, text] : kFrm3dTexts)
        if (key == name)
            return text;
    return {};
}

} // namespace kelvra
