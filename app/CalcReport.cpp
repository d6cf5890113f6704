#include "app/CalcReport.h"

#include "boards/Boards.h"
#include "layouter/CutPlanText.h"

namespace kelvra
{

CalcRun runDesign(const ModelInputs& inputs, char decimalSeparator, const TextTables& tables, Measure measure)
{
    CalcRun run;
    run.measure = measure;
    run.inputs = inputs;
    run.decimalSeparator = decimalSeparator;
    ApplyPortCountVisibility(run.state.figure, inputs.pieces2);
    ApplyPortTypeShape(run.state.figure, inputs.pieces2, inputs.ptype);
    RecalcInputs in = makeRecalcInputs(inputs, true, decimalSeparator, &tables);
    in.exactNetVolume = &exactNetVolume;
    run.outcome = Recalculate(in, run.state);
    run.simulationOn = !run.outcome.switchSimulationOff;
    return run;
}

json::Object jsonReport(const CalcRun& run)
{
    json::Object inputs;
    for (const ModelKey& key : modelKeys()) {
        if (key.kind == KeyKind::List)
            inputs.integer(key.name, listPosition(run.inputs, key));
        else
            inputs.str(key.name, textOf(run.inputs, key));
    }

    json::Array messages;
    for (const Message& m : run.outcome.messages)
        messages.raw(
            json::Object().str("text", m.text).str("title", m.title).str("icon", iconName(m.icon)).dump());

    const DerivedMeasures& d = run.state.derived;
    json::Object derived;
    derived.raw("thick", json::Array()
                             .raw(std::to_string(d.thick[0]))
                             .raw(std::to_string(d.thick[1]))
                             .raw(std::to_string(d.thick[2]))
                             .dump());
    for (const NamedMeasure& m : fixedMeasures())
        derived.str(m.name, formatFixed(d.*m.member, '.'));

    json::Object figure;
    forEachLabel(run.state.figure, [&](const std::string& name, const LabelState& label) {
        figure.raw(name,
                   json::Object().str("caption", label.caption).boolean("visible", label.visible).dump());
    });

    json::Object report;
    report.raw("inputs", inputs.dump())
        .raw("messages", messages.dump())
        .boolean("simulationOn", run.simulationOn)
        .raw("derived", derived.dump())
        .str("lblVolumeOut", run.state.lblVolumeOut)
        .str("lblVolume", run.state.lblVolume)
        .str("paramText", run.state.paramText)
        .raw("figure", figure.dump())
        .raw("netVolume",
             run.outcome.netVolume ? json::quote(formatFixed(*run.outcome.netVolume, '.')) : "null")
        .raw("netVolumeClassic", run.outcome.classicNetVolume
                                     ? json::quote(formatFixed(*run.outcome.classicNetVolume, '.'))
                                     : "null");
    return report;
}

std::string oneLine(std::string text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            out += ' ';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string humanReport(const CalcRun& run)
{
    const char sep = run.decimalSeparator;
    const DerivedMeasures& d = run.state.derived;
    std::string out;
    const Measure measure = run.measure;
    out += oneLine(volumeCaption(run.state.lblVolumeOut, measure, sep)) + "\n";
    out += oneLine(volumeCaption(run.state.lblVolume, measure, sep)) + "\n";
    out += "\nDerived measures:\n";
    if (measure == Measure::Imperial)
        out += "  thick         " + thicknessText(d.thick[0], measure) + " / " +
               thicknessText(d.thick[1], measure) + " / " + thicknessText(d.thick[2], measure) + "\n";
    else
        out += "  thick         " + std::to_string(d.thick[0]) + " / " + std::to_string(d.thick[1]) + " / " +
               std::to_string(d.thick[2]) + " mm\n";
    for (const NamedMeasure& m : fixedMeasures()) {
        std::string name(m.name);
        name.resize(16, ' ');
        const bool angle = m.name == "angleCa" || m.name == "angleCb";
        out += "  " + name +
               (angle || measure == Measure::Metric ? formatFixed(d.*m.member, sep)
                                                    : lengthText((d.*m.member).toDouble(), measure, sep)) +
               "\n";
    }
    if (!run.state.paramText.empty()) {
        out += "\nParameters:\n";
        std::string text = measureText(run.state.paramText, measure, sep);
        std::size_t pos = 0;
        while ((pos = text.find("\r\n", pos)) != std::string::npos)
            text.replace(pos, 2, "\n  ");
        out += "  " + text + "\n";
    }
    for (const Message& m : run.outcome.messages)
        out += "\nMessage [" + m.title + "]: " + oneLine(m.text) + "\n";
    if (!run.simulationOn)
        out += "Simulation mode was switched off.\n";
    return out;
}

BoardPlanResult bestFitOf(const CalcRun& run, int sawThick, std::span<const BestFitSheet> sheets)
{
    return planDesign(run.inputs, run.decimalSeparator, kerfOfSawThick(sawThick), {}, sheets);
}

void addDisplayJson(json::Object& report, const CalcRun& run, const BoardsResult& built)
{
    const Measure m = run.measure;
    const char sep = run.decimalSeparator;
    json::Object display;
    display.str("lblVolumeOut", volumeCaption(run.state.lblVolumeOut, m, sep))
        .str("lblVolume", volumeCaption(run.state.lblVolume, m, sep));
    // The sizes of the boards as sawn, the extra ones (port wall, partitions, strip) included.
    json::Object boards;
    if (built.ok())
        for (const Board& b : built.boards->boards)
            boards.str(b.key,
                       lengthWithUnit(b.length, m, sep, 4) + " x " + lengthWithUnit(b.breadth, m, sep, 4));
    display.raw("boards", built.ok() ? boards.dump() : "null");
    report.str("units", std::string(lengthUnit(m))).raw("display", display.dump());
}

namespace
{

// Lengths in cm to four decimals, the model's precision; JSON always uses ".".
std::string cmNumber(double cm)
{
    return formatDouble(roundHalfEven(cm, 4), '.');
}

std::string point(double x, double y)
{
    return json::Array().raw(cmNumber(x)).raw(cmNumber(y)).dump();
}

} // namespace

std::string bestFitJson(const BoardPlanResult& result)
{
    if (!result.ok())
        return json::Object().str("error", result.text()).dump();
    const CutPlan& plan = *result.plan;
    auto nameOf = [&](const BoardPlacement& p) {
        return p.copy == 0 ? p.key : p.key + "-" + std::to_string(p.copy + 1);
    };
    json::Object placements;
    for (const BoardPlacement& p : plan.placements) {
        json::Array outline;
        for (const SheetPoint& q : p.outline)
            outline.raw(point(q.x, q.y));
        json::Object o;
        o.integer("sheet", p.sheet)
            .raw("left", cmNumber(p.rect.left))
            .raw("top", cmNumber(p.rect.top))
            .raw("width", cmNumber(p.rect.width))
            .raw("height", cmNumber(p.rect.height))
            .integer("turned", p.turned ? 1 : 0)
            .raw("outline", outline.dump());
        if (p.nestedWith >= 0)
            o.str("nestedWith", nameOf(plan.placements[static_cast<std::size_t>(p.nestedWith)]));
        placements.raw(nameOf(p), o.dump());
    }
    json::Array cuts;
    for (const Cut& c : plan.cuts) {
        json::Object o;
        o.integer("n", c.n)
            .integer("sheet", c.sheet)
            .integer("piece", c.piece)
            .raw("from", point(c.fromX, c.fromY))
            .raw("to", point(c.toX, c.toY))
            .raw("length", cmNumber(c.length));
        if (c.slanted)
            o.raw("angle", formatDouble(roundHalfEven(c.angle, 1), '.'));
        cuts.raw(o.dump());
    }
    json::Array offcuts;
    for (const CutPiece& o : plan.offcuts)
        offcuts.raw(json::Object()
                        .integer("sheet", o.sheet)
                        .raw("left", cmNumber(o.rect.left))
                        .raw("top", cmNumber(o.rect.top))
                        .raw("width", cmNumber(o.rect.width))
                        .raw("height", cmNumber(o.rect.height))
                        .dump());
    return json::Object()
        .integer("sheet", plan.sheetIndex)
        .integer("sheets", plan.sheetCount)
        .raw("placements", placements.dump())
        .raw("cuts", cuts.dump())
        .raw("cutLength", cmNumber(plan.cutLength))
        .raw("wastePercent", formatDouble(roundHalfEven(plan.wastePercent, 2), '.'))
        .raw("offcuts", offcuts.dump())
        .dump();
}

std::string humanBestFit(const BoardPlanResult& result, char decimalSeparator, Measure measure)
{
    if (!result.ok())
        return "\nBest fit: " + result.text() + "\n";
    const CutPlanText t = describeBoardPlan(*result.plan, *result.boards, decimalSeparator, measure);
    std::string out = "\nBest fit:\n";
    for (const std::string& line : t.summary)
        out += "  " + line + "\n";
    out += "Cuts:\n";
    for (const std::string& line : t.cuts)
        out += "  " + line + "\n";
    out += "Boards:\n";
    for (const std::string& line : t.boards)
        out += "  " + line + "\n";
    out += "Left-over pieces:\n";
    for (const std::string& line : t.offcuts)
        out += "  " + line + "\n";
    return out;
}

} // namespace kelvra
