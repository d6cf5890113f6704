#include "calc/Figure.h"

#include "calc/Model.h"

namespace kelvra
{

FigureState::FigureState() : portMarker(FigureGeometry::portMarkerRest) {}

FigureState firstDrawing()
{
    // What the recalculation shows for the first-run design: both angles 90 degrees, a round port.
    FigureState figure;
    figure.lblH3[0].visible = false;
    figure.lblH4[0].visible = false;
    figure.lblL3[1].visible = false;
    figure.lblL4[1].visible = false;
    figure.lblL4[2].visible = false;
    ApplyPortTypeLabels(figure, 0);
    return figure;
}

namespace
{

template <typename Figure, typename Label, typename F> void visitLabels(Figure& fig, F&& f)
{
    auto arrayOf = [&](const char* name, auto& arr) {
        for (std::size_t i = 0; i < arr.size(); ++i)
            f(controlElementName(name, static_cast<int>(i)), static_cast<Label&>(arr[i]));
    };
    arrayOf("lblB1", fig.lblB1);
    arrayOf("lblB2", fig.lblB2);
    arrayOf("lblH2", fig.lblH2);
    arrayOf("lblH3", fig.lblH3);
    arrayOf("lblH4", fig.lblH4);
    arrayOf("lblL3", fig.lblL3);
    arrayOf("lblL4", fig.lblL4);
    f(std::string("lblLP"), static_cast<Label&>(fig.lblLP));
    f(std::string("lblBP"), static_cast<Label&>(fig.lblBP));
    f(std::string("lblDP"), static_cast<Label&>(fig.lblDP));
    f(std::string("lblHP"), static_cast<Label&>(fig.lblHP));
}

} // namespace

void forEachLabel(const FigureState& figure,
                  const std::function<void(const std::string&, const LabelState&)>& f)
{
    visitLabels<const FigureState, const LabelState>(figure, f);
}

void forEachLabel(FigureState& figure, const std::function<void(const std::string&, LabelState&)>& f)
{
    visitLabels<FigureState, LabelState>(figure, f);
}

LabelState* findLabel(FigureState& figure, std::string_view elementName)
{
    LabelState* found = nullptr;
    forEachLabel(figure, [&](const std::string& name, LabelState& label) {
        if (name == elementName)
            found = &label;
    });
    return found;
}

void ApplyPortCountVisibility(FigureState& figure, int portCountPosition)
{
    const bool show = portCountPosition != 0;
    figure.portMarkerVisible = show;
    figure.portLengthVisible = show;
    figure.lblHP.visible = show;
    figure.lblLP.visible = show;
    figure.lblDP.visible = show;
    figure.lblBP.visible = show;
    figure.portCaptionVisible = show;
    figure.line19Visible.fill(show);
}

void ApplyPortTypeShape(FigureState& figure, int portCountPosition, int portTypePosition)
{
    if (portCountPosition == 0)
        return;
    figure.portShape = portTypePosition == 0 ? PortShape::Circle : PortShape::Rectangle;
}

void ApplyPortTypeLabels(FigureState& figure, int portTypePosition)
{
    const bool round = portTypePosition == 0;
    figure.lblDP.visible = round;
    figure.lblBP.visible = !round;
    figure.lblHP.visible = !round;
    figure.line19Visible.fill(!round);
}

} // namespace kelvra
