// The windows of the other subsystems, which only the main window opens: simulation mode guards them,
// and the main window hands each what it needs of the others.
#include "gui/main/frmMain.h"

#include "gui/boards/frmBoards.h"
#include "gui/common/MessageService.h"
#include "gui/common/WindowTexts.h"
#include "gui/fit/frmFit.h"
#include "gui/info/frmHistory.h"
#include "gui/info/frminfo.h"
#include "gui/lang/frmOptions.h"
#include "gui/layouter/frmCutPlan.h"
#include "gui/layouter/frmLayout.h"
#include "gui/main/frm3d.h"
#include "gui/print/frmPrint.h"
#include "gui/project/frmDialog.h"
#include "gui/sound/frmSound.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>

#include <memory>

namespace kelvra
{

bool frmMain::simulationGuard(const char* suffix, const char* title)
{
    if (m_app->simulationOn)
        return true;
    Message m;
    m.text = m_app->tables.messageBox[kMsgNotInSimulation] + suffix;
    m.title = title;
    m.icon = MessageIcon::Exclamation;
    messageService().show(this, m);
    return false;
}

void frmMain::fileNew()
{
    m_files->fileNew();
}

void frmMain::fileOpen()
{
    m_files->fileOpen();
}

void frmMain::fileSave()
{
    m_files->fileSave();
}

void frmMain::fileSaveAs()
{
    m_files->fileSaveAs();
}

void frmMain::translate(QWidget& window)
{
    WindowTexts texts(window);
    translateWindow(*m_app, texts);
    // A window that draws texts itself (headings, a status) writes them again in the new language.
    QEvent changed(QEvent::LanguageChange);
    QCoreApplication::sendEvent(&window, &changed);
}

void frmMain::markDesignSaved()
{
    m_files->markSaved();
}

void frmMain::open3d()
{
    if (!simulationGuard(" 3D", "Simulation 3D"))
        return;
    if (!m_3d) {
        m_3d = new frm3d(*m_app, *this, this);
        translate(*m_3d);
        connect(this, &frmMain::designChanged, m_3d, &frm3d::scheduleRefresh);
    } else {
        m_3d->refresh();
        m_3d->showNormal();
    }
    m_3d->raise();
    m_3d->activateWindow();
}

void frmMain::openLayouter()
{
    if (!simulationGuard(" layouter", "Simulation Layouter"))
        return;
    auto* w = new frmLayout(*m_app, *this, this);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->show();
}

void frmMain::openSound()
{
    if (!m_sound) {
        m_sound = new frmSound(*this, this);
        m_sound->setAttribute(Qt::WA_DeleteOnClose);
        translate(*m_sound);
        connect(this, &frmMain::designChanged, m_sound, &frmSound::refresh);
    }
    m_sound->show();
    m_sound->raise();
    m_sound->activateWindow();
}

void frmMain::openFit()
{
    if (!simulationGuard(" fit", "Fit my boot"))
        return;
    if (!m_fit) {
        m_fit = new frmFit(*this, this);
        m_fit->setAttribute(Qt::WA_DeleteOnClose);
        translate(*m_fit);
    }
    m_fit->show();
    m_fit->raise();
    m_fit->activateWindow();
}

void frmMain::openPrint()
{
    if (!simulationGuard(" print", "Printer"))
        return;
    frmPrint dialog(*this, {}, this);
    dialog.exec();
}

void frmMain::openOptions()
{
    frmOptions dialog(*this, *this, this);
    dialog.exec();
    // The open windows follow the language at once, like the main window.
    for (QWidget* w : {static_cast<QWidget*>(m_boards.data()), static_cast<QWidget*>(m_sound.data()),
                       static_cast<QWidget*>(m_3d.data()), static_cast<QWidget*>(m_fit.data())})
        if (w)
            translate(*w);
    for (frmCutPlan* plan : findChildren<frmCutPlan*>())
        translate(*plan);
}

void frmMain::openAbout()
{
    auto* w = new frminfo(*m_app, this);
    w->setLanguageMarker(QStringLiteral("eng"));
    w->show();
}

void frmMain::openHistory()
{
    auto* w = new frmHistory(*m_app, this);
    w->setAttribute(Qt::WA_DeleteOnClose);
    w->setWindowFlag(Qt::Window);
    w->history_load_next();
}

void frmMain::openBoards()
{
    if (!simulationGuard(" boards", "Simulation Boards"))
        return;
    if (!m_boards) {
        m_boards = new frmBoards(*m_app, *this, this);
        translate(*m_boards);
        connect(this, &frmMain::designChanged, m_boards, &frmBoards::scheduleRefresh);
    } else {
        m_boards->refresh();
        m_boards->showNormal();
    }
    m_boards->show();
    m_boards->raise();
    m_boards->activateWindow();
}

frmBoards* frmMain::boardsWindow() const
{
    return m_boards;
}

LayouterAccess frmMain::layouterAccess()
{
    MainWindowHost& host = *this;
    auto current = std::make_shared<QPointer<frmLayout>>();
    LayouterAccess access;
    access.open = [&host, current]() -> std::optional<LayoutSheet> {
        QWidget* main = host.window();
        frmLayout* layouter = nullptr;
        // A layouter that was closed may still wait for its deletion; only an open one counts.
        if (main)
            for (frmLayout* w : main->findChildren<frmLayout*>(QString(), Qt::FindDirectChildrenOnly))
                if (w->isVisible())
                    layouter = w;
        if (!layouter)
            layouter = new frmLayout(host.app(), host, main);
        *current = layouter;
        LayoutSheet sheet;
        sheet.picPanel = layouter->picPanel();
        sheet.panels = layouter->panelWidgets();
        sheet.extras = layouter->extraPanelWidgets();
        return sheet;
    };
    access.close = [current] {
        if (*current)
            (*current)->close();
        *current = nullptr;
    };
    return access;
}

} // namespace kelvra
