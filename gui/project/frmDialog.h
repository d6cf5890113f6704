// The program's own file dialog for projects: a drive list, a folder list, the ".tbx" files of the
// folder and a name box. It lives hidden from start to exit and keeps its folder between uses.
#pragma once

#include "gui/common/MainWindowHost.h"

#include <QListWidget>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace kelvra
{

// The name box's text for a file name: every ".tbx" removed, exact and lower case only, so
// "HOUSE.TBX" stays as it is.
std::string withoutProjectExtension(std::string name);

// The folder list (`Dir1`): the folder's ancestors from the root down, the folder itself, then its
// subfolders. Activating an entry (double click, Enter) moves the list to that folder.
class FolderList : public QListWidget
{
    Q_OBJECT
public:
    explicit FolderList(QWidget* parent = nullptr);

    const QString& path() const { return m_path; }
    // Moves to an existing folder and refills the list; false (and nothing changed) for a folder that
    // does not exist.
    bool setPath(const QString& folder);
    void refresh();

signals:
    void pathChanged(const QString& folder);

private:
    QString m_path;
};

// The file list (`File1`): the files of one folder that match "*.tbx", letter case ignored.
class FileList : public QListWidget
{
    Q_OBJECT
public:
    explicit FileList(QWidget* parent = nullptr);

    const QString& path() const { return m_path; }
    QString pattern() const { return QStringLiteral("*.tbx"); }
    void setPath(const QString& folder); // and re-reads it
    void refresh();
    QStringList fileNames() const;

private:
    QString m_path;
};

// What the dialog is shown for (fWhat's code).
enum class FileWhat { Open = 0, Save = 1, SaveAs = 2 };
// The buttons cmdOC(0..1).
enum class DialogButton { Ok = 0, Cancel = 1 };
// The File menu's project commands mnuFileNOS(0..3).
enum class FileCommand { New = 0, Open = 1, Save = 2, SaveAs = 3 };

class frmDialog : public QWidget
{
    Q_OBJECT
public:
    // Loading the dialog empties the current project name; it starts hidden in the current folder.
    frmDialog(MainWindowHost& host, QWidget* parent = nullptr);

    // A save without a project name becomes a save as, and the caller's variable says so afterwards.
    void fWhat(FileWhat& nCode);
    void cmdOC_Click(DialogButton button);

    bool openMode() const { return m_openMode; }
    // The folder that reading and writing use: the one File1 shows.
    QString folder() const;
    // Moves Dir1, and with it File1, to a folder, as a user's choice in Dir1 does; false when the
    // folder does not exist.
    bool setFolder(const QString& folder);

    QComboBox* Drive1() const { return m_drive1; }
    FolderList* Dir1() const { return m_dir1; }
    FileList* File1() const { return m_file1; }
    QLineEdit* txtFilename() const { return m_txtFilename; }
    QPushButton* cmdOC(int index) const;
    // A control by its name and index ("cmdOC", 0), as language files address them.
    QWidget* control(std::string_view name, std::optional<int> index = std::nullopt) const;

signals:
    // The close box was used: the dialog unloads itself and must be loaded again before its next use.
    void unloaded();
    // A project was read into the main window, or written to its file.
    void projectRead();
    void projectWritten();
    // Cancel, or OK without a name: nothing was read or written.
    void dismissed();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void fillDrives();
    void onDriveChosen(int row);
    void onFolderChanged(const QString& folder);
    void onFileClicked(QListWidgetItem* item);
    void readProject();
    void writeProject();

    MainWindowHost& m_host;
    bool m_openMode = false;
    QComboBox* m_drive1 = nullptr;
    FolderList* m_dir1 = nullptr;
    FileList* m_file1 = nullptr;
    QLineEdit* m_txtFilename = nullptr;
    std::array<QPushButton*, 2> m_cmdOC{};
};

// The File menu's project commands on the one dialog of the run; the main window keeps one of these.
class FileCommands
{
public:
    // The dialog's parent is the main window, so it stays with it.
    FileCommands(MainWindowHost& host, QWidget* dialogParent);
    ~FileCommands();
    FileCommands(const FileCommands&) = delete;
    FileCommands& operator=(const FileCommands&) = delete;

    // Start-up: loads the dialog hidden (which empties the project name). Exit: unloads it.
    void loadDialog();
    void unloadDialog();
    // The dialog, loading it first when its close box has unloaded it.
    frmDialog& dialog();
    bool dialogLoaded() const { return m_dialog != nullptr; }

    void run(FileCommand command);
    void fileNew();
    void fileOpen();
    void fileSave();
    void fileSaveAs();

    // The design, the woofer and the layout as last opened or saved are the ones in the main window now.
    void markSaved();
    bool changed() const;
    // Closing the main window: true when it may close now. With unsaved changes the user is asked
    // first; a Save that needs a name shows Save as and closes the window (`closeAgain`) once written.
    bool closeAllowed(std::function<void()> closeAgain);

private:
    struct Snapshot {
        ModelInputs inputs;
        WooferTexts woofer;
        LayoutStrings layout;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot current() const;
    // Runs `then` at once when nothing would be lost, else after the user's answer to "Save changes
    // to ...?": after the save (Save), at once (Don't save) or never (Cancel). True when it ran at once.
    bool afterChangesSettled(std::function<void()> then);
    MainWindowHost& m_host;
    QWidget* m_parent;
    QPointer<frmDialog> m_dialog;
    Snapshot m_saved;
    std::function<void()> m_afterSave; // waits for a Save as that the question started
};

} // namespace kelvra
