#include "gui/main/frm3d.h"

#include "gui/common/Twips.h"

#include <QLabel>

namespace kelvra
{

namespace
{
constexpr double kClientWidth = 4800;
constexpr double kClientHeight = 3600;
} // namespace

frm3d::frm3d(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName("frm3d");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("3D View");
    setFixedSize(twipsToPixels(kClientWidth), twipsToPixels(kClientHeight));

    m_picRender = new QWidget(this);
    m_picRender->setObjectName("picRender");
    m_picRender->setGeometry(twipRect(120, 120, kClientWidth - 240, kClientHeight - 240));
    m_picRender->setAutoFillBackground(true);

    m_label = new QLabel("Nothing to see here", m_picRender);
    m_label->setObjectName("Label1");
    m_label->setAlignment(Qt::AlignCenter);
    m_label->setGeometry(m_picRender->rect());

    show();
}

} // namespace kelvra
