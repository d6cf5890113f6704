// The layouter window "Wood Layouter v1 beta": the boards on a picture of one standard sheet, to be
// laid out automatically, moved and turned with the mouse, and recorded for the project file.
#pragma once

#include "gui/layouter/frmLayoutWidgets.h"
#include "layouter/AutoFit.h"
#include "layouter/BestFit.h"
#include "layouter/BoardPlan.h"

#include <QMainWindow>

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class QAction;
class QMenu;

namespace kelvra
{

struct AppState;
class MainWindowHost;

class frmLayout : public QMainWindow
{
    Q_OBJECT
public:
    // Loading the window runs the open sequence (saved saw and sheet, then the saved placements or
    // a fresh "Auto fit") and shows it, not modal; closing it records the placements and unloads it.
    frmLayout(AppState& app, MainWindowHost& host, QWidget* parent = nullptr);
    ~frmLayout() override;

    // The window's state and its child areas, for the print job and the tests.
    const LayoutView& view() const { return m_view; }
    SheetView* picPanel() const { return m_picPanel; }
    std::array<QWidget*, kPanelCount> panelWidgets() const;
    std::vector<QWidget*> extraPanelWidgets() const { return {m_extraViews.begin(), m_extraViews.end()}; }
    PanelView* panel(int index) const { return viewAt(index); }
    const ExtraPanels& extraPanels() const { return m_view.extras; }
    QLabel* lblName(int index) const { return m_panels[static_cast<std::size_t>(index)]->label(); }
    // The panel picked up last (it stays named when put down), and whether one is picked up now.
    std::optional<int> selectedPanel() const { return m_selected; }
    bool panelPickedUp() const;

    // Menu items by their control names: "mnuPanelSize(1)", "mnuPanelAuto", "mnuSawThick(3)", ...
    QAction* action(std::string_view name) const;
    // The "&Panel" menu, for commands that place boards in other ways beside "Auto fit".
    QMenu* panelMenu() const { return m_mnuPanel; }

    // The commands, as the menus run them.
    void RefreshPanels();
    void AutoFit();
    void chooseSheetSize(int index);
    // Asks for the custom sheet's length and breadth in the user's units; false when cancelled or not
    // a sheet (the user is told).
    bool askCustomSheet();
    void chooseSawThick(int sawThick);
    void checkLines();
    void toggleLines();
    void toggleMiddleLine();
    void showPrintMessage();
    // "Best fit": the exact cutting plan's sheet size, its real boards where they lie (sized and
    // captioned as they are cut) and its numbered cut lines.
    void bestFit();
    // "Cut plan": the numbered cut list of the plan for the boards as they are now.
    void showCutPlan();

    // Placement for other layout commands: put a board at a place on the sheet, turned or not (its
    // size follows at the next RefreshPanels), and replace what is drawn on the sheet.
    void placePanel(int index, float left, float top, bool turned);
    void setDrawing(std::vector<Stroke> strokes, std::vector<SheetText> texts = {});
    void setCutLines(const std::vector<Segment>& lines, float width);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createMenus();
    PanelModel panelModel() const;
    void applyPanels();
    // The state and the widget of board `index`: the seven, then the boards beyond them.
    Panel& panelAt(int index);
    PanelView* viewAt(int index) const;
    // The extra boards of the model, kept where they lie; new ones go to Auto fit's column.
    void refreshExtras(const PanelModel& model);
    void syncChecks();
    void centreSheet();
    void onPanelReleased(int index, Qt::MouseButton button);
    void onPointerMoved(QPoint position);
    void onSheetReleased(QPoint position, Qt::MouseButton button);
    void putDown();
    // The plan of the real boards with the boards; nothing (and a message) when it fails.
    std::optional<BoardPlanResult> planBoards();
    // Ends the picture of the real boards: the panels take back the visibility they had before.
    void leavePlan();

    AppState& m_app;
    MainWindowHost& m_host;
    LayoutView m_view;
    std::vector<SheetText> m_texts;
    QWidget* m_client = nullptr;
    SheetView* m_picPanel = nullptr;
    CutOverlay* m_cutOverlay = nullptr;
    std::array<PanelView*, kPanelCount> m_panels{};
    std::vector<PanelView*> m_extraViews; // the boards beyond the seven, index kPanelCount on
    std::optional<int> m_selected;
    // While "Best fit" shows the real boards: each panel's visibility from before.
    std::optional<std::array<bool, kPanelCount>> m_visibleBeforePlan;

    QMenu* m_mnuPanel = nullptr;
    std::array<QAction*, kSheetSizeCount> m_mnuPanelSize{};
    std::array<QAction*, kLastSawThick + 1> m_mnuSawThick{};
    QAction* m_mnuPanelAuto = nullptr;
    QAction* m_mnuPanelBest = nullptr;
    QAction* m_mnuPanelCutPlan = nullptr;
    QAction* m_mnuPanelPrint = nullptr;
    QAction* m_mnuPanelExit = nullptr;
    QAction* m_mnuSawCheck = nullptr;
    QAction* m_mnuSawLines = nullptr;
    QAction* m_mnuDrawUpd = nullptr;
    QAction* m_mnuDrawML = nullptr;
};

} // namespace kelvra
