#include "calc/Recalculate.h"

#include "calc/RecalcSteps.h"
#include "info/Version.h"

namespace kelvra
{

const char* iconName(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return "information";
    case MessageIcon::Exclamation:
        return "exclamation";
    case MessageIcon::Critical:
        return "critical";
    case MessageIcon::None:
        break;
    }
    return "none";
}

std::string programTitle()
{
    return programVersion().title;
}

RecalcInputs makeRecalcInputs(const ModelInputs& model, bool simulationOn, char decimalSeparator,
                              const TextTables* tables)
{
    RecalcInputs in;
    in.model = model;
    in.sizeText = sizeEntryText(model.sub);
    in.piecesText = {piecesEntryText(0, model.pieces0), piecesEntryText(1, model.pieces1),
                     piecesEntryText(2, model.pieces2)};
    in.simulationOn = simulationOn;
    in.decimalSeparator = decimalSeparator;
    in.tables = tables;
    return in;
}

RecalcOutcome Recalculate(const RecalcInputs& inputs, CalcState& state)
{
    RecalcOutcome out;
    if (!RecalculateVolumes(inputs, state, out))
        return out;
    UpdateFigureAndParams(inputs, state);
    out.ranToEnd = true;
    return out;
}

RecalcResult Recalculate(const RecalcInputs& inputs, const CalcState& previous)
{
    RecalcResult r{previous, {}};
    r.outcome = Recalculate(inputs, r.state);
    return r;
}

} // namespace kelvra
