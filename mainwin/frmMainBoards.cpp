// The main window's part in the boards window: opening it and letting it follow the design.
#include "frmMain.h"

#include "boardsui/frmBoards.h"

namespace kelvra
{

void frmMain::openBoards()
{
    if (!simulationGuard(" boards", "Simulation Boards"))
        return;
    if (!m_boards) {
        m_boards = new frmBoards(*m_app, *this, this);
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

} // namespace kelvra
