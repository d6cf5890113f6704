#include "gui/sound/AcousticsReasons.h"

#include <QRegularExpression>

namespace kelvra
{

QString acousticsReason(const std::string& english, const std::function<QString(const char*)>& text)
{
    for (const AcousticsReason& r : kAcousticsReasons)
        if (r.english && english == r.english)
            return text(r.name);
    static const QRegularExpression range(QStringLiteral("^must be from (\\S+) to (\\S+)(.*)$"));
    static const QRegularExpression upTo(QStringLiteral("^must be one of 0 to (\\d+)$"));
    static const QRegularExpression list(QStringLiteral("^must be ([\\d, ]+) or (\\d+)$"));
    const QString given = QString::fromStdString(english);
    if (const auto m = range.match(given); m.hasMatch())
        return text("errRange").arg(m.captured(1), m.captured(2) + m.captured(3));
    if (const auto m = upTo.match(given); m.hasMatch())
        return text("errOneOf").arg(m.captured(1));
    if (const auto m = list.match(given); m.hasMatch())
        return text("errList").arg(m.captured(1), m.captured(2));
    return given;
}

} // namespace kelvra
