// What the panel-measurements drawing shows: the dimension labels, the port lines and the port
// marker. Positions are twips inside the drawing.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>

namespace kelvra
{

struct LabelState {
    std::string caption;
    bool visible = true;

    bool operator==(const LabelState&) const = default;
};

struct TwipRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;

    bool operator==(const TwipRect&) const = default;
};

enum class PortShape { Circle, Rectangle };

struct FigureState {
    std::array<LabelState, 3> lblB1{{{"B1"}, {"B1"}, {"B1"}}};
    std::array<LabelState, 4> lblB2{{{"B2"}, {"B2"}, {"B2"}, {"B2"}}};
    std::array<LabelState, 2> lblH2{{{"H2"}, {"H2"}}};
    std::array<LabelState, 3> lblH3{{{"H3"}, {"H3"}, {"H3"}}};
    std::array<LabelState, 3> lblH4{{{"H4"}, {"H4"}, {"H4"}}};
    std::array<LabelState, 2> lblL3{{{"L3"}, {"L3"}}};
    std::array<LabelState, 3> lblL4{{{"L4"}, {"L4"}, {"L4"}}};
    LabelState lblLP{"LP"};
    LabelState lblBP{"BP"};
    LabelState lblDP{"DP"};
    LabelState lblHP{"HP"};

    std::array<bool, 3> line19Visible{true, true, true};
    bool portCaptionVisible = true; // Label2(4), "Poort"
    bool portLengthVisible = true;  // shPortLength
    bool portMarkerVisible = true;  // shPort
    PortShape portShape = PortShape::Rectangle;
    TwipRect portMarker;

    FigureState();
    bool operator==(const FigureState&) const = default;
};

// The drawing before the first recalculation: the design captions, but of each pair of labels that
// share a place only the one the recalculation shows for the first-run design (H2, not H3 or H4; B1,
// not L3 or L4; DP, not HP).
FigureState firstDrawing();

// Calls f(elementName, label) for every label element, e.g. "lblB2(2)" or "lblLP", in a fixed order.
void forEachLabel(const FigureState& figure,
                  const std::function<void(const std::string&, const LabelState&)>& f);
void forEachLabel(FigureState& figure, const std::function<void(const std::string&, LabelState&)>& f);
// The label element of that name, or nullptr.
LabelState* findLabel(FigureState& figure, std::string_view elementName);

// Panel outlines of the drawing (Shape1 index 0..5) and the marker's rest place.
struct FigureGeometry {
    static constexpr std::array<TwipRect, 6> outlines = {{
        {120, 1320, 2895, 1575},  // 0 top
        {120, 360, 2895, 855},    // 1 front
        {3960, 3240, 1695, 1095}, // 2 left
        {5400, 1320, 2655, 1575}, // 3 bottom
        {5400, 360, 2655, 855},   // 4 rear
        {6120, 3240, 1695, 1095}, // 5 right
    }};
    static constexpr TwipRect portMarkerRest{120, 3120, 495, 375};
    static constexpr double markerThickness = 17;
};

// What the port-count handler does to the drawing: with no port the port items are hidden,
// with ports they are shown (the port type then decides what Recalculate shows).
void ApplyPortCountVisibility(FigureState& figure, int portCountPosition);
// What the port-type handler does to the marker.
void ApplyPortTypeShape(FigureState& figure, int portCountPosition, int portTypePosition);
// The port labels a port type shows: the diameter for a round port (position 0), the width and height
// with their lines for a rectangular one.
void ApplyPortTypeLabels(FigureState& figure, int portTypePosition);

} // namespace kelvra
