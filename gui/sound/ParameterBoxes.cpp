#include "gui/sound/ParameterBoxes.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace kelvra
{

namespace
{

// Thiele/Small names read as on a data sheet, with their index lowered: Q<sub>ts</sub>, X<sub>max</sub>.
QString richCaption(const char* caption)
{
    const QString c = QString::fromUtf8(caption);
    if (c.size() < 2 || c.size() > 4 || !c.at(1).isLower())
        return c;
    return c.left(1) + QStringLiteral("<sub>") + c.mid(1) + QStringLiteral("</sub>");
}

} // namespace

ParameterBoxes::ParameterBoxes(QWidget* owner, QGridLayout* grid, int firstRow,
                               std::span<const ParameterField> fields)
    : m_fields(fields)
{
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const ParameterField& f = fields[i];
        // The message gets the row under its box, hidden (and so taking no room) until there is one.
        const int row = firstRow + 2 * static_cast<int>(i);
        auto* caption = new QLabel(richCaption(f.caption), owner);
        // By name, so a language file reaches it: "Target Fb" is lblTargetFb.
        caption->setObjectName(QStringLiteral("lbl") + QString::fromUtf8(f.caption).remove(QLatin1Char(' ')));
        auto* box = new QLineEdit(owner);
        box->setObjectName(QStringLiteral("txt") + QString::fromUtf8(f.caption));
        // Wide enough for "1234,5678" in any font, at any scale.
        box->setFixedWidth(box->fontMetrics().horizontalAdvance(QStringLiteral("00000000000")));
        box->setToolTip(QString::fromUtf8(f.hint));
        box->setPlaceholderText(QString::fromUtf8(f.placeholder));
        caption->setBuddy(box);
        auto* unit = new QLabel(QString::fromUtf8(f.unit), owner);
        auto* error = new QLabel(owner);
        error->setObjectName(QStringLiteral("lblError") + QString::fromUtf8(f.caption));
        error->setStyleSheet(QStringLiteral("color: rgb(200,0,0);"));
        error->setWordWrap(true);
        error->hide();
        grid->addWidget(caption, row, 0);
        grid->addWidget(box, row, 1);
        grid->addWidget(unit, row, 2);
        grid->addWidget(error, row + 1, 1, 1, 3);
        m_boxes.push_back(box);
        m_errors.push_back(error);
    }
    grid->setColumnStretch(3, 1);
}

int ParameterBoxes::indexOf(std::string_view key) const
{
    for (std::size_t i = 0; i < m_fields.size(); ++i)
        if (m_fields[i].key == key)
            return static_cast<int>(i);
    return -1;
}

QLineEdit* ParameterBoxes::box(std::string_view key) const
{
    const int i = indexOf(key);
    return i < 0 ? nullptr : m_boxes[static_cast<std::size_t>(i)];
}

QLabel* ParameterBoxes::errorLabel(std::string_view key) const
{
    const int i = indexOf(key);
    return i < 0 ? nullptr : m_errors[static_cast<std::size_t>(i)];
}

void ParameterBoxes::setError(std::string_view key, const QString& message)
{
    const int i = indexOf(key);
    if (i < 0)
        return;
    QLineEdit* box = m_boxes[static_cast<std::size_t>(i)];
    QLabel* error = m_errors[static_cast<std::size_t>(i)];
    if (error->text() == message && error->isHidden() == message.isEmpty())
        return; // the usual keystroke changes nothing here, and so repaints nothing
    error->setText(message);
    error->setVisible(!message.isEmpty());
    box->setStyleSheet(message.isEmpty() ? QString()
                                         : QStringLiteral("QLineEdit { border: 2px solid rgb(200,0,0); }"));
}

void ParameterBoxes::clearErrors()
{
    for (const ParameterField& f : m_fields)
        setError(f.key, QString());
}

} // namespace kelvra
