// The main window's input rules that do not depend on a window: whether the woofers fit the front
// plate, and which port inputs take input.
#pragma once

namespace kelvra
{

// The woofer's diameter in cm for a position of the size list (6" to 18"); 0 for a position that
// names no size.
double wooferDiameterCm(int sizePosition);

// One woofer stands within the front plate's inner height; a woofer exactly as large is too large.
bool wooferFitsHeight(double diameterCm, double innerHeight);

// `count` woofers side by side within the inner length, and each within the inner height. The
// inner measures come from the caller, because the size list and the recalculation form them from
// the input texts in their own ways.
bool wooferFitsFront(double diameterCm, int count, double innerLength, double innerHeight);

// Any port count position other than 0 ("no port") has a port; no selection counts as a port too.
bool hasPort(int portCountPosition);
bool isRoundPort(int portTypePosition);

// Which port inputs take input: cmbPortType, cmbPortWhere and txtSize(5) to txtSize(8), txtSize(11).
struct PortFieldStates {
    bool portType = false;
    bool portWhere = false;
    bool length = false;
    bool diameter = false;
    bool width = false;
    bool height = false;
    bool portBoard = false;

    bool operator==(const PortFieldStates&) const = default;
};

// Without a port nothing takes input; with one, the type, place and length, and then the diameter
// for a round port or the width, height and port board thickness for a rectangular one.
PortFieldStates portFieldStates(int portCountPosition, int portTypePosition);

} // namespace kelvra
