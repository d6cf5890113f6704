// The composition of the printed pages: where every item goes, in twips from the top-left corner of the
// printable area, computed from the sizes of the windows that are captured. No printer and no window
// is needed, so the page layout is checked without either.
#pragma once

#include "calc/Figure.h"

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace kelvra
{

struct TwipSize {
    double width = 0;
    double height = 0;
};

// The four tick boxes of the print options dialog, with their defaults.
struct PrintChoice {
    bool settings = false; // "Print Input Values"
    bool figure = false;   // "Print measurements figure"
    bool mPanel = true;    // "Print Panel measurements"
    bool layouter = false; // "Print Layout"

    bool any() const { return settings || figure || mPanel || layouter; }
};

// The main window's items as they are on screen.
struct MainPrintGeometry {
    TwipSize picture1;  // the panel-measurements drawing
    TwipSize picFigure; // the measurement figure
    TwipRect fraInfo, fraCorrection, fraPort, fraWoofer, fraResult;
};

// The layouter's sheet view and its panels, in the sheet view's coordinates.
struct SheetPrintGeometry {
    TwipSize picPanel;
    std::array<TwipRect, 7> panels{}; // board order: front, rear, top, bottom, left, right, port
    bool portVisible = true;
    // The boards beyond the seven: the captured control's name ("shpartition1") and its place.
    std::vector<std::pair<std::string, TwipRect>> extras;
};

// The control names of the layouter's panels, in board order.
extern const std::array<const char*, 7> kPanelControlNames;

enum class PageOrientation { Portrait = 1, Landscape = 2 };

struct PrintItem {
    // A text is one line written into the box from (x, y) to (x2, y2), as high as the box allows.
    enum class Kind { Header, Image, Outline, Text };
    Kind kind = Kind::Image;
    std::string source; // the captured control's name for an image, the text for a header or text line
    double x = 0;       // top-left corner
    double y = 0;
    double x2 = 0; // bottom-right corner of an outline or a text
    double y2 = 0;

    bool operator==(const PrintItem&) const = default;
};

struct PrintPage {
    PageOrientation orientation = PageOrientation::Portrait;
    std::vector<PrintItem> items;
};

// One document goes to the printer as one job.
struct PrintDocument {
    std::vector<PrintPage> pages;
};

struct PrintPlan {
    std::vector<PrintDocument> documents;
};

// One real board in the printed panel measurements, in the texts the boards window shows.
struct PrintBoardRow {
    std::string name;      // "Voorzijde"
    std::string count;     // "1"
    std::string size;      // length x breadth in cm: "91,4 x 36,4"
    std::string thickness; // "18 mm"
};

// The table of the real boards that fills the panel-measurements item of the given size, in twips from
// its top-left corner: a heading row, one row per board, an outline round it and a line under the
// heading. The rows close up when there are more than the item holds at the normal height.
// The table's heading: the boards window's column captions, Dutch unless a language file says otherwise.
using BoardTableHeading = std::array<std::string, 4>;
inline const BoardTableHeading kBoardTableHeading = {"Plank", "Aantal", "l x b (cm)", "Dikte"};
std::vector<PrintItem> boardTableItems(const std::vector<PrintBoardRow>& rows, TwipSize area,
                                       const BoardTableHeading& heading = kBoardTableHeading);

// The header line of every page: the title text followed by " Plaatjes zagen", or the words of the
// chosen language.
std::string printHeader(const std::string& titleString, const std::string& words = "Plaatjes zagen");

// Whole twips as the job keeps them: halves to even, kept within 16 bits.
double roundTwips(double value);

struct FirstPage {
    PrintPage page;
    int count = 0; // items placed on it
};

// Page 1: the header, then the ticked main-window items, each directly below the one before.
FirstPage composeFirstPage(const PrintChoice& choice, const MainPrintGeometry& main, TwipSize printable,
                           const std::string& header);

// The landscape layout page: the header, the sheet outline centred, each visible panel with its outline.
PrintPage composeLayoutPage(const SheetPrintGeometry& sheet, TwipSize printable, const std::string& header);

// With two or more items on page 1 the layout page is printed as a document of its own.
inline bool layoutIsSecondDocument(int count)
{
    return count >= 2;
}

// The whole run; empty when nothing is ticked. `sheet` is needed only when the layout is ticked.
PrintPlan composePrint(const PrintChoice& choice, const MainPrintGeometry& main,
                       const std::optional<SheetPrintGeometry>& sheet, TwipSize portraitPrintable,
                       TwipSize landscapePrintable, const std::string& header);

} // namespace kelvra
