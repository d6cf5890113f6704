// Picture1, the panel-measurements drawing of the main window: the six panel outlines with their
// captions, the dimension lines, the port markers and every dimension label, each a child widget
// named as language files and the print job address it ("lblB2(2)", "Shape1(4)", "shPort").
#pragma once

#include "calc/Figure.h"
#include "units/Units.h"

#include <QWidget>
#include <map>
#include <optional>
#include <string>
#include <string_view>

class QLabel;

namespace kelvra
{

class PanelPicture : public QWidget
{
    Q_OBJECT

public:
    explicit PanelPicture(QWidget* parent = nullptr);

    // Shows what the recalculation or the port handlers decided: captions, visibility, the port
    // marker's place and shape.
    // The captions' lengths in `measure` (the state's are cm).
    void apply(const FigureState& state, Measure measure = Measure::Metric, char decimalSeparator = ',');

    // The child control of that name and index ("Line19", 2), the drawing itself for "Picture1",
    // or nullptr if there is none.
    QWidget* control(std::string_view name, std::optional<int> index) const;

    PortShape portShape() const { return m_portShape; }

    // Where a dimension label stands; defined with the drawing's layout table.
    struct LabelPlace;

private:
    // A panel caption: centred on its outline and shrunk to fit there when a translation is long.
    QLabel* captionLabel(const char* text);
    void buildOutlines();
    void buildDimensionLines();
    void buildPortItems();
    void buildLabels();
    void touchPartnerTops();
    void placeLabel(QLabel* label);
    void registerControl(const std::string& key, QWidget* widget);

    std::map<std::string, QWidget*, std::less<>> m_controls;
    std::map<QLabel*, const LabelPlace*> m_places;
    PortShape m_portShape = PortShape::Rectangle;
};

} // namespace kelvra
