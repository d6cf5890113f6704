// The main window: the enclosure inputs, the results, both drawings and the simulation switch.
#pragma once

#include "gui/common/AppState.h"
#include "gui/common/MainWindowHost.h"
#include "lang/LanguageTarget.h"
#include "units/Units.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kelvra
{

class FileCommands;
class frmBoards;
class frm3d;
class PanelPicture;
class FigurePicture;
class frmSound;
class frmFit;

// The buttons cmdShow(0..2), by their element index.
enum class ShowButton { Figure = 0, Parameters = 1, Simulation = 2 };
// The count lists cmbPieces(0..2), by their element index.
enum class CountList { Woofers = 0, Partitions = 1, Ports = 2 };
// What asks for a recalculation: a keystroke while typing, or a finished entry (the field left, Enter,
// a list choice, a file or language loaded).
enum class RecalcTrigger { Typing, Commit };

class frmMain : public QMainWindow, public MainWindowHost, public LanguageTarget
{
    Q_OBJECT

public:
    explicit frmMain(AppPaths paths, char decimalSeparator, QWidget* parent = nullptr);
    ~frmMain() override;

    // MainWindowHost
    AppState& app() override { return *m_app; }
    QWidget* window() override { return this; }
    void setModelText(const ModelKey& key, const std::string& text) override;
    void setModelListPosition(const ModelKey& key, int position) override;
    void runRecalculate() override { recalculate(RecalcTrigger::Commit); }
    // While typing, a fault shows in red in the result area and simulation stays on; a finished entry
    // with the fault still there shows the design's message box with its effect.
    void recalculate(RecalcTrigger trigger);
    void setSimulationFlag(bool on) override { m_app->simulationOn = on; }
    void setLoading(bool on) override { m_isLoading = on; }
    void setCaption(const std::string& caption) override;
    std::string caption() const override;
    QWidget* control(std::string_view name, std::optional<int> index = std::nullopt) override;
    void refillTextLists() override;
    void applyMeasure() override;

    // LanguageTarget
    std::string windowName() const override { return "frmMain"; }
    std::optional<std::string> property(std::string_view control, std::optional<int> index,
                                        ControlProperty which) const override;
    bool setProperty(std::string_view control, std::optional<int> index, ControlProperty which,
                     const std::string& text) override;

    void buttonHandler(ShowButton button);
    void countHandler(CountList list);
    void portTypeHandler();
    void wooferSizeHandler();
    void windowReset();

    // Menu commands; the layouter, print and 3D commands refuse while simulation mode is off.
    void fileNew();
    void fileOpen();
    void fileSave();
    void fileSaveAs();
    // The design as it stands counts as saved: closing asks nothing.
    void markDesignSaved();
    void openLayouter();
    void openOptions();
    void openPrint();
    void openHistory();
    // The About window, not modal, always with its English texts.
    void openAbout();
    void open3d();
    // The builder's window of the boards: one at a time, brought up again when it is open.
    void openBoards() override;
    LayouterAccess layouterAccess() override;
    frmBoards* boardsWindow() const;
    // The "How it will sound" window, any time; a second call brings the open one to the front.
    void openSound();
    void openFit();

signals:
    // The design or simulation mode changed: after every recalculation and every switch of the mode.
    void designChanged();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void startUp();
    void buildControls();
    void buildMenus();
    bool simulationGuard(const char* suffix, const char* title);
    // Puts the chosen language's section of another window into it.
    void translate(QWidget& window);
    void fillLists();
    void showInputs(); // puts app().inputs into the controls
    void registerControl(const std::string& key, QWidget* widget);
    // Runs handler when the control gains (onGot) or loses (onLost) the focus.
    void onFocus(QWidget* control, bool onGot, bool onLost, std::function<void()> handler);
    void wireFocusEvents();
    void applyCalc();
    void colourSimulationButton();
    // Gives a box whose text did not read as a number a red frame, or takes the frame away.
    void markUnread(QLineEdit* box, bool unread);
    // The model's text of what the user typed into an input box, in the chosen measure.
    std::string modelTextOf(const QLineEdit* box, const ModelKey& key, const QString& typed) const;
    // A unit label's caption in the chosen measure; `metric` is the language's own caption.
    QString unitCaption(Quantity quantity, const QString& metric) const;
    // The figure names its measures with the input boxes' present captions.
    void nameFigureMeasures();
    // The fault in red over the results, or the results again for an empty text.
    void showFault(const std::string& text);
    // A fault's words with the caption of the box that holds it.
    std::string faultWithBox(const std::string& text, const std::string& control) const;
    QWidget* lookup(std::string_view name, std::optional<int> index) const;
    QAction* menuItem(std::string_view name, std::optional<int> index) const;

    std::unique_ptr<AppState> m_app;
    std::unique_ptr<FileCommands> m_files;
    QPointer<frmBoards> m_boards;
    bool m_isLoading = true;
    std::array<QLineEdit*, 13> m_txtSize{};
    QLineEdit* m_txtVother = nullptr;
    // The input box of a text key or field.
    QLineEdit* inputBox(const ModelKey& key) const;
    QLineEdit* inputBox(std::string ModelInputs::*field) const { return inputBox(textKeyOf(field)); }
    QComboBox* countList(CountList list) const { return m_cmbPieces[static_cast<std::size_t>(list)]; }
    std::vector<std::pair<Quantity, QLabel*>> m_unitLabels; // lblUnit of every length, thickness, volume
    QComboBox* m_cmbSize = nullptr;
    std::array<QComboBox*, 3> m_cmbPieces{};
    QComboBox* m_cmbCorrection = nullptr;
    QComboBox* m_cmbPortWhere = nullptr;
    QComboBox* m_cmbPortType = nullptr;
    std::array<QPushButton*, 3> m_cmdShow{};
    QLabel* m_lblVolumeOut = nullptr;
    QLabel* m_lblVolume = nullptr;
    QLabel* m_lblFault = nullptr;
    std::map<const QWidget*, QLabel*> m_captionOf; // an input box's caption
    PanelPicture* m_picture = nullptr;
    FigurePicture* m_figure = nullptr;
    QPointer<frmSound> m_sound;
    QPointer<frmFit> m_fit;
    QPointer<frm3d> m_3d;
    std::map<std::string, QWidget*, std::less<>> m_controls;
    struct FocusAction {
        bool onGot = false;
        bool onLost = false;
        std::function<void()> handler;
    };
    std::map<const QObject*, FocusAction> m_focusActions;
};

} // namespace kelvra
