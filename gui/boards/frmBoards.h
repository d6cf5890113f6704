// The builder's window "Boards": the boards that really build the box (sizes, thickness, bevels), the
// exact volume, a drawing of the box from its boards, the sheet plan with its numbered cuts, and the
// exports for the saw and the CNC router (SVG per sheet, DXF, CSV cut list, print and PDF).
#pragma once

#include "boards/Boards.h"
#include "gui/boards/BoardRows.h"
#include "layouter/BoardPlan.h"

#include <QMainWindow>

#include <functional>
#include <optional>
#include <string_view>

class QAction;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QStackedWidget;
class QTabWidget;
class QTableWidget;
class QTextBrowser;
class QTimer;

namespace kelvra
{

struct AppState;
class MainWindowHost;
class BoxPicture;
class OutlinePicture;
class SheetPicture;

class frmBoards : public QMainWindow
{
    Q_OBJECT
public:
    // Reads the remembered size and shows the boards of the main window's design.
    frmBoards(AppState& app, MainWindowHost& host, QWidget* parent = nullptr);
    ~frmBoards() override;

    // Rebuilds the boards, the list, the drawing and the plan from the main window's model ("&Update").
    void refresh();
    // A refresh once the events of this round are done: typing in the main window recalculates at every
    // key, and the window follows once.
    void scheduleRefresh();

    // What the window shows, for the print-out and the tests.
    const BoardsResult& result() const { return m_result; }
    // The sheet plan of those boards with the layouter's saw kerf.
    const BoardPlanResult& plan() const { return m_plan; }
    QTableWidget* tblBoards() const { return m_table; }
    QLabel* lblVolume() const { return m_volume; }
    // The woofer's cut-out diameter and mounting depth in cm, kept with the woofer in the project.
    QLineEdit* txtCutout() const { return m_cutout; }
    QLineEdit* txtMountDepth() const { return m_mountDepth; }
    QLabel* lblError() const { return m_error; }
    BoxPicture* picBox() const { return m_box; }
    OutlinePicture* picOutlines() const { return m_outlines; }
    SheetPicture* picPlan() const { return m_sheets; }
    QTextBrowser* txtCuts() const { return m_cuts; }
    QTabWidget* tabs() const { return m_tabs; }
    // Menu items and buttons by their object names ("mnuBoardsSvg", "cmdSvg", ...).
    QAction* action(std::string_view name) const;
    QPushButton* button(std::string_view name) const;

    // The exports; each says in a message box when it cannot write, and returns false then.
    // SVG: one file per sheet, the path itself for the first and "-2", "-3", ... before the extension
    // for the others.
    bool exportSvg(const QString& path);
    bool exportDxf(const QString& path);
    bool exportCsv(const QString& path);
    bool saveAsPdf(const QString& path);
    void printTo(QPrinter& printer);

    // Asks for an export's file name (caption, suggested name, filter); a file dialog unless a test puts
    // another chooser in place. An empty name means the user cancelled.
    using FileChooser = std::function<QString(const QString&, const QString&, const QString&)>;
    void setFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

protected:
    void closeEvent(QCloseEvent* event) override;
    // A new language: the texts the window draws itself are written again.
    void changeEvent(QEvent* event) override;

private:
    void createMenus();
    QWidget* createButtons();
    QWidget* createHoleBoxes();
    // A hole box's text as the model keeps it: cm.
    std::string holeModelText(const QLineEdit* box) const;
    // A text the window draws itself, as the window's language has it.
    QString text(const char* name) const;
    // The words of the board list and the lines under it, in the window's language.
    BoardWords words() const;
    // The ports, the holes, the volumes and the core's notices, one line each, in the user's measure.
    std::vector<std::string> boardLines(const BoxBoards& boards, const BoardWords& words) const;
    void onHoleBoxEdited();
    void showBoards();
    void showError();
    // The sheet plan of the boards in its tab; nothing to plan while the measures are wrong.
    void refreshPlan();
    void enableExports();
    void exportWith(const QString& caption, const QString& suggested, const QString& filter,
                    bool (frmBoards::*write)(const QString&));
    void onPrint();
    bool cannotWrite(const QString& path);
    bool writeFile(const QString& path, const std::string& text);
    QString reportHtml() const;

    AppState& m_app;
    MainWindowHost& m_host;
    BoardsResult m_result;
    BoardPlanResult m_plan;
    FileChooser m_chooseFile;
    QTimer* m_refreshTimer = nullptr;

    QStackedWidget* m_pages = nullptr;
    QTableWidget* m_table = nullptr;
    QLabel* m_volume = nullptr;
    QLineEdit* m_cutout = nullptr;
    QLineEdit* m_mountDepth = nullptr;
    QLabel* m_error = nullptr;
    QTabWidget* m_tabs = nullptr;
    BoxPicture* m_box = nullptr;
    OutlinePicture* m_outlines = nullptr;
    SheetPicture* m_sheets = nullptr;
    QTextBrowser* m_cuts = nullptr;
    QAction* m_exploded = nullptr;
};

} // namespace kelvra
