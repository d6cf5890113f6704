// The 3D view: the boards of the design as shaded solids with their holes, assembled or exploded,
// turned by dragging and zoomed by the wheel; exports the solids as STL and OBJ. It follows the design.
#pragma once

#include "boards/Boards.h"

#include <QWidget>

#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;
class QTimer;

namespace kelvra
{

struct AppState;
class MainWindowHost;
class SolidView;

class frm3d : public QWidget
{
    Q_OBJECT
public:
    // Loading the window shows it, not modal; closing it unloads it.
    frm3d(AppState& app, MainWindowHost& host, QWidget* parent = nullptr);

    SolidView* picRender() const { return m_picRender; }
    QLabel* label() const { return m_label; }
    QCheckBox* chkExploded() const { return m_exploded; }
    const BoardsResult& result() const { return m_result; }

    // Rebuilds the solids from the main window's design; scheduleRefresh does it once the events of
    // this round are done, as typing recalculates at every key.
    void refresh();
    void scheduleRefresh();

    // Each says in a message box when it cannot write, and returns false then.
    bool exportStl(const QString& path);
    bool exportObj(const QString& path);

    // Asks for an export's file name (caption, suggested name, filter); a file dialog unless a test puts
    // another chooser in place. An empty name means the user cancelled.
    using FileChooser = std::function<QString(const QString&, const QString&, const QString&)>;
    void setFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }

private:
    bool writeFile(const QString& path, const std::string& bytes);

    AppState& m_app;
    MainWindowHost& m_host;
    BoardsResult m_result;
    FileChooser m_chooseFile;
    QTimer* m_refreshTimer = nullptr;
    SolidView* m_picRender = nullptr;
    QLabel* m_label = nullptr;
    QLabel* m_reason = nullptr;
    QLabel* m_hover = nullptr;
    QCheckBox* m_exploded = nullptr;
    QPushButton* m_stl = nullptr;
    QPushButton* m_obj = nullptr;
};

} // namespace kelvra
