#include "app/LayoutReport.h"

#include "calc/Numeric.h"
#include "layouter/CutPlanText.h"
#include "layouter/Placement.h"
#include "persist/Ini.h"
#include "persist/SettingsPath.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <system_error>

namespace kelvra
{

namespace
{

constexpr const char* kLayouterSection = "Layouter";

// JSON and SVG numbers always use "."; positions and sizes are single precision.
std::string num(float value)
{
    return formatSingle(value, '.');
}

std::string segmentJson(const Segment& s)
{
    json::Array a;
    a.raw(num(s.x1)).raw(num(s.y1)).raw(num(s.x2)).raw(num(s.y2));
    return a.dump();
}

std::string rgb(const Rgb& c)
{
    return "rgb(" + std::to_string(c.red) + "," + std::to_string(c.green) + "," + std::to_string(c.blue) +
           ")";
}

std::string trimmed(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

// The caption's lines without their "\r\n" breaks.
std::vector<std::string> captionLines(const std::string& caption)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (true) {
        const std::size_t at = caption.find("\r\n", start);
        lines.push_back(caption.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos)
            return lines;
        start = at + 2;
    }
}

std::string padRight(std::string text, std::size_t width)
{
    if (text.size() < width)
        text.append(width - text.size(), ' ');
    return text;
}

std::string padLeft(const std::string& text, std::size_t width)
{
    return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

} // namespace

LayoutChoice layoutSettingsIn(const std::string& folder, char decimalSeparator)
{
    const IniStore ini({folder, "kelvra"});
    LayoutChoice c;
    c.sawThick = sawThickSetting(ini.ReadIni(kLayouterSection, "Thick", "2"), decimalSeparator);
    c.sheetIndex = sheetSizeSetting(ini.ReadIni(kLayouterSection, "Size", "1"), decimalSeparator);
    c.customSheet = customSheetSetting(ini.ReadIni(kLayouterSection, "CustomLength", ""),
                                       ini.ReadIni(kLayouterSection, "CustomBreadth", ""), decimalSeparator);
    return c;
}

CalcCliOptions withLayoutSettings(CalcCliOptions options, const std::string& folder)
{
    if (options.sawGiven && options.sheetGiven)
        return options;
    const LayoutChoice saved = layoutSettingsIn(folder, options.decimalSeparator);
    if (!options.sawGiven)
        options.sawThick = saved.sawThick;
    if (!options.sheetGiven) {
        options.sheetIndex = saved.sheetIndex;
        options.customSheet = saved.customSheet;
    }
    return options;
}

std::string toolFolder(const char* argv0)
{
    std::error_code ec;
    const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec && !exe.empty())
        return exe.parent_path().string();
    if (argv0) {
        const std::string folder = std::filesystem::path(argv0).parent_path().string();
        if (!folder.empty())
            return folder;
    }
    return ".";
}

std::string toolSettingsFolder(const char* argv0)
{
    const std::string folder = toolFolder(argv0);
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    return ChooseSettingsFolder(folder, CanWriteBesideProgram({folder, "kelvra"}), xdg ? xdg : "",
                                home ? home : "");
}

std::optional<LayoutView> openedLayout(const CalcRun& run, const LayoutStrings& layout,
                                       const LayoutChoice& choice)
{
    if (!run.outcome.ranToEnd)
        return std::nullopt;
    LayoutView view;
    // Only the drawing depends on "Lines": the boards lie where they would without it.
    view.linesOn = true;
    view.customSheet = choice.customSheet;
    const PanelModel model = panelModelOf(run.state.derived, run.inputs, run.decimalSeparator);
    const char sep = run.decimalSeparator;
    const OpenedLayout opened = OpenLayout(view, model, std::to_string(choice.sawThick),
                                           std::to_string(choice.sheetIndex), layout, sep);
    if (opened.restored) {
        // The choices before the placements laid the boards out; their lines belong to no board now.
        std::erase_if(view.drawing, [](const Stroke& s) { return !s.dashed && s.colour == kCutLineColour; });
    }
    return view;
}

void addLayoutJson(json::Object& report, const std::optional<LayoutView>& view)
{
    if (!view) {
        report.raw("sheet", "null").raw("panels", "null").raw("cutLines", "null");
        return;
    }
    json::Object sheet;
    sheet.integer("height", view->sheet.height)
        .integer("width", view->sheet.width)
        .integer("kerf", kerfPixels(view->sawThick));
    report.raw("sheet", sheet.dump());
    json::Array panels;
    const auto addPanel = [&](std::string_view key, const Panel& p) {
        json::Object o;
        o.str("key", key)
            .raw("left", num(p.left))
            .raw("top", num(p.top))
            .raw("width", num(p.width))
            .raw("height", num(p.height))
            .integer("turned", p.turned)
            .boolean("visible", p.visible)
            .str("caption", p.caption);
        panels.raw(o.dump());
    };
    for (int i = 0; i < kPanelCount; ++i)
        addPanel(kPanelKeys[static_cast<std::size_t>(i)], view->panels[static_cast<std::size_t>(i)]);
    // Then the partition walls and the port's strip, under their own keys.
    for (const ExtraPanel& e : view->extras)
        addPanel(e.key, e.panel);
    report.raw("panels", panels.dump());
    json::Array lines;
    for (const Segment& s : cutLinesOf(*view))
        lines.raw(segmentJson(s));
    report.raw("cutLines", lines.dump());
}

std::string layoutSvg(const LayoutView& view)
{
    const float w = view.sheet.width;
    const float h = view.sheet.height;
    const float px = static_cast<float>(pxPerCm.toDouble());
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    out += "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + num(w / px) + "cm\" height=\"" +
           num(h / px) + "cm\" viewBox=\"0 0 " + num(w) + " " + num(h) + "\">\n";
    out += "<rect id=\"sheet\" x=\"0\" y=\"0\" width=\"" + num(w) + "\" height=\"" + num(h) + "\" fill=\"" +
           rgb(kSheetColour) + "\" stroke=\"black\" stroke-width=\"1\"/>\n";
    const auto drawPanel = [&](const std::string& key, const Panel& p, const Rgb& colour) {
        if (!p.visible)
            return;
        out += "<rect id=\"" + key + "\" x=\"" + num(p.left) + "\" y=\"" + num(p.top) + "\" width=\"" +
               num(p.width) + "\" height=\"" + num(p.height) + "\" fill=\"" + rgb(colour) +
               "\" stroke=\"black\" stroke-width=\"1\"/>\n";
        const std::vector<std::string> lines = captionLines(p.caption);
        constexpr float lineHeight = 10;
        const float cx = p.left + p.width / 2;
        const float firstY = p.top + p.height / 2 - lineHeight * static_cast<float>(lines.size() - 1) / 2;
        out += "<text font-family=\"sans-serif\" font-size=\"8\" text-anchor=\"middle\" "
               "dominant-baseline=\"middle\">";
        for (std::size_t k = 0; k < lines.size(); ++k)
            out += "<tspan x=\"" + num(cx) + "\" y=\"" + num(firstY + lineHeight * static_cast<float>(k)) +
                   "\">" + xmlEscaped(trimmed(lines[k])) + "</tspan>";
        out += "</text>\n";
    };
    for (int i = 0; i < kPanelCount; ++i)
        drawPanel(std::string(kPanelKeys[static_cast<std::size_t>(i)]),
                  view.panels[static_cast<std::size_t>(i)], kPanelColours[static_cast<std::size_t>(i)]);
    for (const ExtraPanel& e : view.extras)
        drawPanel(e.key, e.panel, kExtraPanelColour);
    for (const Stroke& s : view.drawing) {
        if (s.dashed || s.colour != kCutLineColour)
            continue;
        out += "<line x1=\"" + num(s.line.x1) + "\" y1=\"" + num(s.line.y1) + "\" x2=\"" + num(s.line.x2) +
               "\" y2=\"" + num(s.line.y2) + "\" stroke=\"black\" stroke-opacity=\"0.5\" stroke-width=\"" +
               num(s.width) + "\"/>\n";
    }
    out += "</svg>\n";
    return out;
}

bool writeLayoutSvg(const std::string& path, const CalcRun& run, const LayoutStrings& layout,
                    const LayoutChoice& choice)
{
    const std::optional<LayoutView> view = openedLayout(run, layout, choice);
    if (!view)
        return true; // the report already says why nothing was calculated
    std::ofstream svg(path, std::ios::binary);
    svg << layoutSvg(*view);
    svg.flush();
    if (!svg) {
        std::cerr << "kelvra-calc: cannot write '" << path << "'\n";
        return false;
    }
    return true;
}

std::string cutListText(const LayoutView& view, char decimalSeparator, Measure measure)
{
    std::vector<std::string> names;
    std::size_t nameWidth = 5; // "Board"
    for (int i = 0; i < kPanelCount; ++i) {
        const Panel& p = view.panels[static_cast<std::size_t>(i)];
        names.push_back(trimmed(captionLines(p.caption).front()));
        if (p.visible)
            nameWidth = std::max(nameWidth, names.back().size());
    }
    for (const ExtraPanel& e : view.extras) {
        names.push_back(trimmed(captionLines(e.panel.caption).front()));
        nameWidth = std::max(nameWidth, names.back().size());
    }
    const bool inches = measure == Measure::Imperial;
    auto side = [&](float px) {
        return inches ? inchText(inchesOfCm(captionCm(px))) : formatDouble(captionCm(px), decimalSeparator);
    };
    std::string out = padRight("Board", nameWidth) +
                      (inches ? "  Length in  Breadth in  Turned\n" : "  Length cm  Breadth cm  Turned\n");
    for (int i = 0; i < kPanelCount; ++i) {
        const Panel& p = view.panels[static_cast<std::size_t>(i)];
        if (!p.visible)
            continue;
        out += padRight(names[static_cast<std::size_t>(i)], nameWidth) + "  " +
               padLeft(side(lSide(p, i)), 9) + "  " + padLeft(side(bSide(p, i)), 10) + "  " +
               (p.turned ? "yes" : "no") + "\n";
    }
    // The boards beyond the seven lie like the top: l across unless turned.
    for (std::size_t e = 0; e < view.extras.size(); ++e) {
        const Panel& p = view.extras[e].panel;
        out += padRight(names[kPanelCount + e], nameWidth) + "  " + padLeft(side(lSide(p, kTop)), 9) + "  " +
               padLeft(side(bSide(p, kTop)), 10) + "  " + (p.turned ? "yes" : "no") + "\n";
    }
    return out;
}

} // namespace kelvra
