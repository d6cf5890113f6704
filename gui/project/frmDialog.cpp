#include "gui/project/frmDialog.h"

#include "calc/Recalculate.h"
#include "gui/common/MessageService.h"
#include "gui/common/Twips.h"
#include "info/Version.h"
#include "lang/TextTables.h"
#include "persist/ProjectFile.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QStorageInfo>
#include <QStyle>
#include <algorithm>
#include <utility>

namespace kelvra
{

namespace
{
constexpr double kClientWidth = 4680;
constexpr double kClientHeight = 5370;
constexpr int kPathRole = Qt::UserRole;
constexpr std::string_view kExtension = ".tbx";
// The caption of a save with a known name, which is never seen for long.
constexpr const char* kSaveCaption = "akke akke tuut tuut";

QString cleanFolder(const QString& folder)
{
    return QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
}

// Puts a whole design into the controls, then recalculates once, in simulation mode only: the values
// in between belong to no design, so they neither show a message nor switch simulation off.
void loadDesign(MainWindowHost& host, const std::function<void()>& putValues)
{
    const bool simulation = host.app().simulationOn;
    host.setSimulationFlag(false);
    host.setLoading(true);
    putValues();
    host.setLoading(false);
    host.setSimulationFlag(simulation);
    if (simulation)
        host.runRecalculate();
}

std::string projectCaption(const AppState& app)
{
    return TitleString(app.editionStatus, app.betaBuild) +
           " :: " + withoutProjectExtension(app.currentProjectFile);
}
} // namespace

std::string withoutProjectExtension(std::string name)
{
    for (std::size_t at = name.find(kExtension); at != std::string::npos; at = name.find(kExtension, at))
        name.erase(at, kExtension.size());
    return name;
}

// ---- Dir1 ----

FolderList::FolderList(QWidget* parent) : QListWidget(parent)
{
    connect(this, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { setPath(item->data(kPathRole).toString()); });
}

bool FolderList::setPath(const QString& folder)
{
    const QFileInfo info(folder);
    if (folder.isEmpty() || !info.exists() || !info.isDir())
        return false;
    m_path = cleanFolder(folder);
    refresh();
    emit pathChanged(m_path);
    return true;
}

void FolderList::refresh()
{
    clear();
    if (m_path.isEmpty())
        return;
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirIcon);

    // The way down from the root, one step of indent per level; the last of them is the folder itself.
    QStringList parts = m_path.split('/', Qt::SkipEmptyParts);
    QString sofar = "/";
    auto* root = new QListWidgetItem(openIcon, "/", this);
    root->setData(kPathRole, sofar);
    int depth = 1;
    for (const QString& part : parts) {
        sofar = sofar.endsWith('/') ? sofar + part : sofar + '/' + part;
        auto* item = new QListWidgetItem(openIcon, QString(depth * 2, ' ') + part, this);
        item->setData(kPathRole, sofar);
        ++depth;
    }
    setCurrentRow(count() - 1);

    // An unreadable folder simply has no subfolders to show.
    const QDir dir(m_path);
    for (const QString& name :
         dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        auto* item = new QListWidgetItem(closedIcon, QString(depth * 2, ' ') + name, this);
        item->setData(kPathRole, dir.filePath(name));
    }
}

// ---- File1 ----

FileList::FileList(QWidget* parent) : QListWidget(parent) {}

void FileList::setPath(const QString& folder)
{
    m_path = folder;
    refresh();
}

void FileList::refresh()
{
    clear();
    if (m_path.isEmpty())
        return;
    // Only files: a folder that happens to be called x.tbx is no project. A missing or unreadable
    // folder lists nothing.
    QStringList names = QDir(m_path).entryList({pattern()}, QDir::Files, QDir::Unsorted);
    // Alphabetical regardless of letter case; names that differ only in case keep one fixed order.
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int folded = a.compare(b, Qt::CaseInsensitive);
        return folded != 0 ? folded < 0 : a.compare(b, Qt::CaseSensitive) > 0;
    });
    addItems(names);
}

QStringList FileList::fileNames() const
{
    QStringList names;
    for (int row = 0; row < count(); ++row)
        names << item(row)->text();
    return names;
}

// ---- frmDialog ----

frmDialog::frmDialog(MainWindowHost& host, QWidget* parent)
    : QWidget(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), m_host(host)
{
    setObjectName("frmDialog");
    setWindowTitle("Dialog Caption");
    setFixedSize(twipsToPixels(kClientWidth), twipsToPixels(kClientHeight));

    m_drive1 = new QComboBox(this);
    m_drive1->setObjectName("Drive1");
    m_drive1->setGeometry(twipRect(0, 0, 2415, 315));

    m_dir1 = new FolderList(this);
    m_dir1->setObjectName("Dir1");
    m_dir1->setGeometry(twipRect(0, 360, 2415, 4815));

    m_file1 = new FileList(this);
    m_file1->setObjectName("File1");
    m_file1->setGeometry(twipRect(2520, 0, 2055, 4515));

    m_txtFilename = new QLineEdit(this);
    m_txtFilename->setObjectName("txtFilename");
    m_txtFilename->setGeometry(twipRect(2520, 4560, 2055, 285));

    m_cmdOC[1] = new QPushButton("Cancel", this);
    m_cmdOC[1]->setObjectName("cmdOC(1)");
    m_cmdOC[1]->setGeometry(twipRect(2520, 4920, 975, 375));
    m_cmdOC[0] = new QPushButton("OK", this);
    m_cmdOC[0]->setObjectName("cmdOC(0)");
    m_cmdOC[0]->setGeometry(twipRect(3600, 4920, 975, 375));

    connect(m_drive1, &QComboBox::currentIndexChanged, this, &frmDialog::onDriveChosen);
    connect(m_dir1, &FolderList::pathChanged, this, &frmDialog::onFolderChanged);
    connect(m_file1, &QListWidget::itemClicked, this, &frmDialog::onFileClicked);
    connect(m_file1, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item)
            onFileClicked(item);
    });
    connect(m_txtFilename, &QLineEdit::returnPressed, this, [this] { cmdOC_Click(DialogButton::Ok); });
    for (int i = 0; i < 2; ++i)
        connect(m_cmdOC[static_cast<std::size_t>(i)], &QPushButton::clicked, this,
                [this, i] { cmdOC_Click(static_cast<DialogButton>(i)); });

    // Each load starts without a project, in the current drive and folder.
    m_host.app().currentProjectFile.clear();
    fillDrives();
    m_dir1->setPath(QDir::currentPath());
}

void frmDialog::fillDrives()
{
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (volume.isValid() && volume.isReady())
            roots << volume.rootPath();
    }
    const QString currentRoot = QStorageInfo(QDir::currentPath()).rootPath();
    if (!currentRoot.isEmpty())
        roots << currentRoot;
    roots.sort();
    roots.removeDuplicates();

    const QSignalBlocker block(m_drive1);
    m_drive1->clear();
    for (const QString& root : roots)
        m_drive1->addItem(root, root);
    m_drive1->setCurrentIndex(std::max(0, m_drive1->findData(currentRoot)));
}

void frmDialog::onDriveChosen(int row)
{
    if (row < 0)
        return;
    if (m_dir1->setPath(m_drive1->itemData(row).toString()))
        return;
    // A drive that cannot be entered leaves the folder where it was, and the list says so.
    const QSignalBlocker block(m_drive1);
    m_drive1->setCurrentIndex(m_drive1->findData(QStorageInfo(m_dir1->path()).rootPath()));
}

void frmDialog::onFolderChanged(const QString& folder)
{
    m_file1->setPath(folder);
}

void frmDialog::onFileClicked(QListWidgetItem* item)
{
    m_txtFilename->setText(toQString(withoutProjectExtension(toStdString(item->text()))));
}

QString frmDialog::folder() const
{
    return m_file1->path();
}

bool frmDialog::setFolder(const QString& folder)
{
    return m_dir1->setPath(folder);
}

QPushButton* frmDialog::cmdOC(int index) const
{
    return index == 0 || index == 1 ? m_cmdOC[static_cast<std::size_t>(index)] : nullptr;
}

QWidget* frmDialog::control(std::string_view name, std::optional<int> index) const
{
    if (name == "cmdOC")
        return index ? cmdOC(*index) : nullptr;
    if (index)
        return nullptr;
    if (name == "Drive1")
        return m_drive1;
    if (name == "Dir1")
        return m_dir1;
    if (name == "File1")
        return m_file1;
    if (name == "txtFilename")
        return m_txtFilename;
    return nullptr;
}

void frmDialog::fWhat(FileWhat& nCode)
{
    AppState& app = m_host.app();
    m_txtFilename->setEnabled(false);
    m_openMode = false;
    if (app.currentProjectFile.empty() && nCode == FileWhat::Save)
        nCode = FileWhat::SaveAs;

    switch (nCode) {
    case FileWhat::Open:
        // The name box stays as it was and disabled: a name comes from a click in the list, or is
        // the one of the last use, which reopens that project.
        setWindowTitle(toQString(app.tables.options[0]));
        m_openMode = true;
        m_file1->refresh();
        break;
    case FileWhat::Save:
        // A save with a known name writes at once; the dialog is not left on screen for it.
        setWindowTitle(kSaveCaption);
        m_txtFilename->setText(toQString(withoutProjectExtension(app.currentProjectFile)));
        cmdOC_Click(DialogButton::Ok);
        return;
    case FileWhat::SaveAs:
        m_txtFilename->setEnabled(true);
        setWindowTitle(toQString(app.tables.options[1]));
        m_txtFilename->clear();
        m_file1->refresh();
        break;
    }
    show();
    raise();
    activateWindow();
    if (m_txtFilename->isEnabled())
        m_txtFilename->setFocus();
}

void frmDialog::cmdOC_Click(DialogButton button)
{
    hide();
    // The dialog only hides, so no window would be left active: the main window takes the keys back
    // (its shortcuts work at once).
    if (QWidget* main = m_host.window())
        main->activateWindow();
    const QString name = m_txtFilename->text();
    if (name.isEmpty() || button == DialogButton::Cancel) {
        emit dismissed();
        return;
    }
    m_host.app().currentProjectFile = toStdString(name) + std::string(kExtension);
    if (m_openMode)
        readProject();
    else
        writeProject();
}

void frmDialog::readProject()
{
    AppState& app = m_host.app();
    m_host.setCaption(projectCaption(app));

    const ProjectContents contents = ReadProject(app.ini, toStdString(folder()), app.currentProjectFile,
                                                 app.layoutStrings, app.decimalSeparator);
    if (contents.oldVersion) {
        const Message question{app.tables.messageBox[kMsgOldVersion], "Open error", MessageIcon::Exclamation,
                               MessageButtons::OkCancel};
        if (messageService().show(m_host.window(), question) == MessageAnswer::Cancel)
            return;
    }
    // The woofer first, so the recalculations of the values below already show it in the sound window;
    // a file without one (an older file) leaves no woofer of the previous design behind.
    app.sound = contents.woofer;
    // Each value goes in as a user's change would, so the control's own handling runs.
    loadDesign(m_host, [&] {
        for (const StoredValue& value : contents.values) {
            if (!value.key)
                continue;
            if (value.key->kind == KeyKind::List)
                m_host.setModelListPosition(*value.key, value.position);
            else
                m_host.setModelText(*value.key, value.text);
        }
    });
    app.layoutStrings = contents.layoutStrings;
    emit projectRead();

    // A damaged value is not passed over in silence: the user learns once which ones were replaced.
    const std::vector<std::string> replaced = contents.replacedKeys();
    if (!replaced.empty()) {
        std::string names;
        for (const std::string& key : replaced)
            names += (names.empty() ? "" : ", ") + key;
        const Message notice{
            "Some values in this file could not be read and were replaced by their defaults: " + names,
            m_host.caption(), MessageIcon::Information, MessageButtons::Ok};
        messageService().show(m_host.window(), notice);
    }
}

void frmDialog::writeProject()
{
    const AppState& app = m_host.app();
    // A failed save is said, so the user does not close the program believing the design is kept;
    // the inputs stay in the main window to be saved elsewhere.
    const std::string where = toStdString(folder());
    if (WriteProject(app.ini, where, app.currentProjectFile, app.inputs, app.layoutStrings, &app.sound) !=
        IniWriteStatus::Ok) {
        const Message failed{"The project could not be saved to " +
                                 app.ini.resolve(app.currentProjectFile, where),
                             "Save error", MessageIcon::Exclamation, MessageButtons::Ok};
        messageService().show(m_host.window(), failed);
        return;
    }
    m_host.setCaption(projectCaption(app));
    emit projectWritten();
}

void frmDialog::closeEvent(QCloseEvent* event)
{
    // The close box unloads the dialog, unlike Cancel, which only hides it.
    event->accept();
    emit unloaded();
    deleteLater();
}

// ---- File menu ----

FileCommands::FileCommands(MainWindowHost& host, QWidget* dialogParent) : m_host(host), m_parent(dialogParent)
{
}

FileCommands::~FileCommands()
{
    unloadDialog();
}

void FileCommands::loadDialog()
{
    if (m_dialog)
        return;
    m_dialog = new frmDialog(m_host, m_parent);
    QObject::connect(m_dialog, &frmDialog::unloaded, m_dialog, [this] {
        m_dialog.clear();
        m_afterSave = nullptr;
    });
    QObject::connect(m_dialog, &frmDialog::projectRead, m_dialog, [this] { markSaved(); });
    QObject::connect(m_dialog, &frmDialog::dismissed, m_dialog, [this] { m_afterSave = nullptr; });
    QObject::connect(m_dialog, &frmDialog::projectWritten, m_dialog, [this] {
        markSaved();
        // What waited for this save goes on once the dialog's own handling has ended: it may open
        // the dialog again or close the main window, and with it the dialog.
        if (auto then = std::exchange(m_afterSave, nullptr))
            QMetaObject::invokeMethod(m_parent ? static_cast<QObject*>(m_parent) : m_dialog.data(),
                                      std::move(then), Qt::QueuedConnection);
    });
}

void FileCommands::unloadDialog()
{
    delete m_dialog.data();
    m_dialog.clear();
}

frmDialog& FileCommands::dialog()
{
    loadDialog();
    return *m_dialog;
}

void FileCommands::run(FileCommand command)
{
    switch (command) {
    case FileCommand::New:
        fileNew();
        break;
    case FileCommand::Open:
        fileOpen();
        break;
    case FileCommand::Save:
        fileSave();
        break;
    case FileCommand::SaveAs:
        fileSaveAs();
        break;
    }
}

FileCommands::Snapshot FileCommands::current() const
{
    const AppState& app = m_host.app();
    return {app.inputs, app.sound, app.layoutStrings};
}

void FileCommands::markSaved()
{
    m_saved = current();
}

bool FileCommands::changed() const
{
    return !(current() == m_saved);
}

bool FileCommands::afterChangesSettled(std::function<void()> then)
{
    m_afterSave = nullptr;
    if (!changed()) {
        then();
        return true;
    }
    const std::string name = m_host.app().currentProjectFile;
    const Message question{"Save changes to " + (name.empty() ? std::string("Untitled") : name) + "?",
                           programTitle(), MessageIcon::Exclamation, MessageButtons::SaveDontSaveCancel};
    switch (messageService().show(m_host.window(), question)) {
    case MessageAnswer::DontSave:
        then();
        return true;
    case MessageAnswer::Save:
    case MessageAnswer::Ok:
        break;
    default:
        return false;
    }
    // Loading the dialog (after its close box) forgets the name, so it is loaded before the name counts.
    dialog();
    if (m_host.app().currentProjectFile.empty()) {
        m_afterSave = std::move(then); // Save as waits for its OK
        fileSave();
        return false;
    }
    fileSave(); // written at once under the known name
    if (changed())
        return false; // the save failed and has said so
    then();
    return true;
}

bool FileCommands::closeAllowed(std::function<void()> closeAgain)
{
    bool now = false;
    const bool settled = afterChangesSettled([&now] { now = true; });
    if (!settled && m_afterSave)
        m_afterSave = std::move(closeAgain); // Save as is open: the window closes once it has written
    return settled && now;
}

void FileCommands::fileNew()
{
    afterChangesSettled([this] {
        // The first-run values, in the order the controls are set. The new design has no file and no
        // placements yet, so the next Save asks for a name instead of overwriting the last project.
        const ModelInputs first = firstRunInputs();
        loadDesign(m_host, [&] {
            for (std::string_view name :
                 {"sub", "pieces0", "pieces1", "pieces2", "corr", "ptype", "pwhere"}) {
                const ModelKey* key = findModelKey(name);
                m_host.setModelListPosition(*key, listPosition(first, *key));
            }
            for (std::string_view name : {"h2", "l3", "b2", "ca", "cb", "lp", "dp", "bp", "hp", "thick0",
                                          "thick1", "thick2", "subvol", "vother"}) {
                const ModelKey* key = findModelKey(name);
                m_host.setModelText(*key, textOf(first, *key));
            }
        });
        AppState& app = m_host.app();
        app.currentProjectFile.clear();
        app.layoutStrings = {};
        m_host.setCaption(TitleString(app.editionStatus, app.betaBuild));
        markSaved();
    });
}

void FileCommands::fileOpen()
{
    // The results follow once the file has been read (in simulation mode), not when the dialog appears.
    afterChangesSettled([this] {
        FileWhat code = FileWhat::Open;
        dialog().fWhat(code);
    });
}

void FileCommands::fileSave()
{
    FileWhat code = FileWhat::Save;
    dialog().fWhat(code);
}

void FileCommands::fileSaveAs()
{
    FileWhat code = FileWhat::SaveAs;
    dialog().fWhat(code);
}

} // namespace kelvra
