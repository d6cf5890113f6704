#include "gui/common/ReportHtml.h"

#include <QStringList>

#include "gui/common/MessageService.h"

namespace kelvra
{

QString htmlEscaped(const std::string& text)
{
    return toQString(text).toHtmlEscaped();
}

QString htmlList(const std::vector<std::string>& lines, const char* tag)
{
    QString out = QStringLiteral("<%1>").arg(QLatin1String(tag));
    for (const std::string& line : lines)
        out += QStringLiteral("<li>") + htmlEscaped(line) + QStringLiteral("</li>");
    return out + QStringLiteral("</%1>").arg(QLatin1String(tag));
}

QString htmlLines(const std::vector<std::string>& lines)
{
    QStringList escaped;
    for (const std::string& line : lines)
        escaped << htmlEscaped(line);
    return QStringLiteral("<p>") + escaped.join(QStringLiteral("<br>")) + QStringLiteral("</p>");
}

} // namespace kelvra
