// The main window's start-up and exit: the settings file, the languages and the file dialog.
#include "gui/main/frmMain.h"

#include "gui/common/MessageService.h"
#include "gui/common/Twips.h"
#include "gui/lang/LoadLanguage.h"
#include "gui/project/frmDialog.h"
#include "gui/sound/frmSound.h"
#include "info/Version.h"
#include "persist/Settings.h"
#include "persist/SettingsPath.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGuiApplication>
#include <QScreen>

namespace kelvra
{

void frmMain::startUp()
{
    m_isLoading = true;
    // Installed system-wide, the program folder cannot be written: the settings then live in the
    // user's configuration folder instead of being lost at every exit.
    m_app->ini = IniStore(ResolveSettingsPaths(m_app->ini.paths()));
    m_app->measure = measureOfSetting(m_app->ini.ReadIni("Settings", "Measure", "0"));
    if (m_app->measure != Measure::Metric)
        applyMeasure();
    m_app->betaBuild = false;
    resize(width(), twipsToPixels(9360));

    const QScreen* s = QGuiApplication::primaryScreen();
    const QSize area = s ? s->geometry().size() : QSize(0, 0);
    const WindowPosition defaults{static_cast<float>((area.width() - width()) / 2.0),
                                  static_cast<float>((area.height() - height()) / 2.0)};
    const WindowPosition at = LoadWindowPosition(m_app->ini, defaults, m_app->decimalSeparator);
    move(static_cast<int>(at.left), static_cast<int>(at.top));

    for (const StoredValue& v : LoadStartInputs(m_app->ini, m_app->decimalSeparator)) {
        if (!v.key)
            continue;
        if (v.key->kind == KeyKind::Text)
            setModelText(*v.key, v.text);
        else
            setModelListPosition(*v.key, v.position);
    }
    // The port fields follow the stored port count even when it did not change the list.
    countHandler(CountList::Ports);

    m_app->editionStatus = 1;
    setWindowTitle(toQString(TitleString(m_app->editionStatus, m_app->betaBuild)));
    m_app->useCount = CountStart(m_app->ini);

    FindLanguages(*this);
    Load_Language(*this, *this, LanguageLoad::AtStart);
    QApplication::processEvents();

    m_files = std::make_unique<FileCommands>(*this, this);
    m_files->loadDialog();

    m_app->simulationOn = false;
    colourSimulationButton();
    if (m_app->betaBuild) {
        Message m;
        m.text = "This program is currently in BETA, before you use al the measurements check them first";
        m.title = programTitle();
        m.icon = MessageIcon::Exclamation;
        messageService().show(this, m);
    }
    m_isLoading = false;
    m_files->markSaved(); // the last inputs are no changes of this run
}

void frmMain::closeEvent(QCloseEvent* event)
{
    // Unsaved changes are asked about first; Cancel, or a Save as still to be answered, keeps the window.
    if (m_files && !m_files->closeAllowed([this] { close(); })) {
        event->ignore();
        return;
    }
    // Closed first, so that it keeps its size as a close of its own does.
    if (m_sound)
        m_sound->close();
    if (m_files)
        m_files->unloadDialog();
    SaveWindowPosition(m_app->ini, {static_cast<float>(x()), static_cast<float>(y())},
                       m_app->decimalSeparator);
    SaveExitInputs(m_app->ini, m_app->inputs, m_app->decimalSeparator);
    QMainWindow::closeEvent(event);
}

} // namespace kelvra
