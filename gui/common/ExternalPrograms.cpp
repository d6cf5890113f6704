#include "gui/common/ExternalPrograms.h"

#include "gui/common/MessageService.h"
#include "info/Version.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <QUrl>

namespace kelvra
{

std::string updatePageUrl(std::string_view shortVersion)
{
    // Appended one by one: gcc 12 warns wrongly about the inlined copies of a chain of temporaries.
    std::string url(kUpdateServer);
    url += "prg_update.php?p=14&v=";
    url += shortVersion;
    return url;
}

std::string programTopicUrl()
{
    std::string url(kForumServer);
    url += "showthread.php?t=74264";
    return url;
}

std::string findCalculator(const std::vector<std::string>& searchFolders)
{
    QStringList folders;
    for (const std::string& folder : searchFolders)
        folders << toQString(folder);
    for (std::string_view name : kCalculatorPrograms) {
        const QString found = QStandardPaths::findExecutable(toQString(std::string(name)), folders);
        if (!found.isEmpty())
            return toStdString(found);
    }
    return {};
}

void DesktopStarter::openUrl(const std::string& url)
{
    QDesktopServices::openUrl(QUrl(toQString(url)));
}

void DesktopStarter::startDetached(const std::string& program)
{
    QProcess::startDetached(toQString(program), {});
}

namespace
{
DesktopStarter g_desktopStarter;
ExternalStarter* g_starter = &g_desktopStarter;
} // namespace

ExternalStarter& externalStarter()
{
    return *g_starter;
}
void setExternalStarter(ExternalStarter* starter)
{
    g_starter = starter ? starter : &g_desktopStarter;
}

void openUpdateSite()
{
    externalStarter().openUrl(updatePageUrl(VersionString(true)));
}

void openProgramTopic()
{
    externalStarter().openUrl(programTopicUrl());
}

void openCalculator()
{
    // A desktop without any of the calculators simply gets nothing, as a failed start would.
    const std::string program = findCalculator();
    if (!program.empty())
        externalStarter().startDetached(program);
}

} // namespace kelvra
