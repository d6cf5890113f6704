// The installed-programs window "Kelvra Installed programs": the maker's programs found on this
// system, one per tick of its 100 ms timer, then their count. It belongs to the About window, which
// is unusable while this window is open.
#pragma once

#include <QPointer>
#include <QWidget>

#include <string>
#include <vector>

class QLabel;
class QListWidget;
class QTimer;

namespace kelvra
{

// The maker's programs in the given folders: regular executable files whose name starts with
// "kelvra" (any case), each name once, in folder order and by name within a folder.
std::vector<std::string> findMakerPrograms(const std::vector<std::string>& folders);

// The folders searched: the program's own folder, then every folder of the PATH.
std::vector<std::string> makerProgramFolders();

class frminfo2 : public QWidget
{
    Q_OBJECT
public:
    // `about` is the window that is made usable again when this one closes. The search results are
    // handed out one name per tick, as the search finds them.
    frminfo2(std::vector<std::string> programs, QWidget* about, QWidget* parent = nullptr);
    ~frminfo2() override;

    // One tick of Timer1.
    void Timer1Timer();

    QListWidget* lstprog;
    QLabel* lblstatus;
    QTimer* Timer1;

    int step() const { return m_step; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::string nextProgram();
    void giveBackAbout();

    std::vector<std::string> m_programs;
    std::size_t m_next = 0;
    int m_step = 1;
    QPointer<QWidget> m_about;
};

} // namespace kelvra
