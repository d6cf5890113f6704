#include "gui/info/frminfo2.h"

#include "gui/common/Twips.h"
#include "gui/info/Translucency.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QListWidget>
#include <QTimer>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <system_error>

namespace kelvra
{

namespace
{

constexpr int kTickInterval = 100;
// The step at which a search that found nothing more stops: fifteen ticks after loading.
constexpr int kLastStep = 16;

bool isMakerProgram(const std::filesystem::directory_entry& entry)
{
    std::error_code ec;
    if (!entry.is_regular_file(ec) || ec)
        return false;
    std::string name = entry.path().filename().string();
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (name.rfind("kelvra", 0) != 0)
        return false;
    const auto perms = entry.status(ec).permissions();
    using std::filesystem::perms;
    return !ec && (perms & (perms::owner_exec | perms::group_exec | perms::others_exec)) != perms::none;
}

} // namespace

std::vector<std::string> findMakerPrograms(const std::vector<std::string>& folders)
{
    std::vector<std::string> found;
    std::set<std::string> seen;
    for (const std::string& folder : folders) {
        if (folder.empty())
            continue;
        std::error_code ec;
        std::vector<std::string> here;
        for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
            if (isMakerProgram(*it))
                here.push_back(it->path().filename().string());
        std::sort(here.begin(), here.end());
        for (std::string& name : here)
            if (seen.insert(name).second)
                found.push_back(std::move(name));
    }
    return found;
}

std::vector<std::string> makerProgramFolders()
{
    std::vector<std::string> folders;
    if (QCoreApplication::instance())
        folders.push_back(QCoreApplication::applicationDirPath().toStdString());
    if (const char* path = std::getenv("PATH")) {
        std::string all = path;
        std::size_t start = 0;
        while (start <= all.size()) {
            const std::size_t colon = all.find(':', start);
            const std::size_t end = colon == std::string::npos ? all.size() : colon;
            if (end > start)
                folders.push_back(all.substr(start, end - start));
            if (colon == std::string::npos)
                break;
            start = colon + 1;
        }
    }
    return folders;
}

frminfo2::frminfo2(std::vector<std::string> programs, QWidget* about, QWidget* parent)
    : QWidget(parent, Qt::Window), m_programs(std::move(programs)), m_about(about)
{
    setObjectName(QStringLiteral("frminfo2"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Kelvra Installed programs"));
    setFixedSize(twipsToPixels(4800), twipsToPixels(3600));

    lstprog = new QListWidget(this);
    lstprog->setObjectName(QStringLiteral("lstprog"));
    lstprog->setGeometry(twipRect(120, 120, 4560, 2880));
    lstprog->setFont(QFont(QStringLiteral("Comic Sans MS")));
    lblstatus = new QLabel(this);
    lblstatus->setObjectName(QStringLiteral("lblstatus"));
    lblstatus->setGeometry(twipRect(120, 3120, 4560, 315));

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(kTickInterval);
    connect(Timer1, &QTimer::timeout, this, &frminfo2::Timer1Timer);

    // Load.
    m_step = 1;
    lblstatus->clear();
    SetTranslucency(this, 200, 0, 1);
    Timer1->start();
}

frminfo2::~frminfo2()
{
    giveBackAbout();
}

std::string frminfo2::nextProgram()
{
    return m_next < m_programs.size() ? m_programs[m_next++] : std::string();
}

void frminfo2::Timer1Timer()
{
    lblstatus->setText(QStringLiteral("Reading..."));
    const std::string name = nextProgram();
    if (!name.empty()) {
        lstprog->addItem(QString::fromStdString(name));
        ++m_step;
        return;
    }
    ++m_step;
    // A search with more than fifteen names passes step 16 while still finding; it stops at its
    // first empty name instead of reading for ever.
    if (m_step >= kLastStep) {
        Timer1->stop();
        Timer1->setInterval(0);
        lblstatus->setText(QStringLiteral("Kelvra proggies: ") + QString::number(lstprog->count()));
    }
}

void frminfo2::closeEvent(QCloseEvent* event)
{
    giveBackAbout();
    QWidget::closeEvent(event);
}

void frminfo2::giveBackAbout()
{
    if (m_about)
        m_about->setEnabled(true);
    m_about = nullptr;
}

} // namespace kelvra
