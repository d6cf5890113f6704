#include "gui/common/PanelCaptions.h"

#include "gui/common/MainWindowHost.h"
#include "gui/common/MessageService.h"

#include <QLabel>

namespace kelvra
{

std::array<std::string, kPanelCount> panelCaptions(MainWindowHost& host)
{
    std::array<std::string, kPanelCount> names;
    for (std::size_t i = 0; i < names.size(); ++i) {
        names[i] = std::string(kPanelNames[i]);
        if (auto* label = qobject_cast<QLabel*>(host.control("Label2", kPanelNameLabels[i])))
            names[i] = toStdString(label->text());
    }
    return names;
}

} // namespace kelvra
