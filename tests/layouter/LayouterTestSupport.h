// Designs for the layouter tests: the model recalculated from the main window's texts.
#pragma once

#include "calc/Recalculate.h"
#include "layouter/PanelSet.h"
#include "tests/support/SeparatorText.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace kelvra::test
{

using Changes = std::map<std::string, std::string>;

// The window's design texts: 39 high, 45 long, 60,2 wide, both angles 90, 18 mm boards, no port.
inline Changes defaultDesign()
{
    return {{"h2", "39"}, {"l3", "45"}, {"b2", "60,2"}, {"ca", "90"}, {"cb", "90"}, {"thick0", "18"}};
}

inline Changes with(Changes base, const Changes& more)
{
    for (const auto& [k, v] : more)
        base[k] = v;
    return base;
}

inline ModelInputs inputsOf(const Changes& changes, char sep)
{
    ModelInputs in = firstRunInputs();
    for (const auto& [name, value] : changes) {
        const ModelKey* key = findModelKey(name);
        EXPECT_NE(key, nullptr) << name;
        if (!key)
            continue;
        if (key->kind == KeyKind::List)
            listPosition(in, *key) = std::stoi(value);
        else
            textOf(in, *key) = under(value, sep);
    }
    return in;
}

// The panel model after a complete recalculation of the design.
inline PanelModel modelOf(const Changes& changes, char sep)
{
    const ModelInputs in = inputsOf(changes, sep);
    const RecalcResult r = Recalculate(makeRecalcInputs(in, true, sep), CalcState{});
    EXPECT_TRUE(r.outcome.ranToEnd);
    return panelModelOf(r.state.derived, in, sep);
}

} // namespace kelvra::test
