#include "gui/main/frm3d.h"
#include "gui/common/Refusals.h"

#include "gui/common/AppState.h"
#include "gui/common/MainWindowHost.h"
#include "gui/common/MessageService.h"
#include "gui/common/PanelCaptions.h"
#include "gui/common/Twips.h"
#include "gui/common/WindowTexts.h"
#include "gui/main/SolidView.h"
#include "gui/main/frm3dTexts.h"
#include "layouter/PanelSet.h"
#include "solid/MeshFiles.h"

#include <QCheckBox>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <array>

namespace kelvra
{

namespace
{

constexpr double kWidthTwips = 9600;
constexpr double kHeightTwips = 8400;

QString text(std::string_view name)
{
    const std::string_view t = frm3dText(name);
    return QString::fromUtf8(t.data(), static_cast<qsizetype>(t.size()));
}

// A text no control shows, as the window's language has it.
QString freeText(QWidget& window, const std::string& name)
{
    return toQString(WindowTexts(window).text(name));
}

template <typename T> T* named(T* widget, std::string_view name)
{
    widget->setObjectName(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
    return widget;
}

} // namespace

frm3d::frm3d(AppState& app, MainWindowHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window), m_app(app), m_host(host)
{
    setObjectName(QStringLiteral("frm3d"));
    {
        WindowTexts texts(*this);
        for (const auto& [key, builtIn] : kFrm3dTexts)
            if (key.starts_with("dlg") || key.starts_with("filter") || key.starts_with("msg"))
                texts.add(std::string(key), std::string(builtIn));
    }
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(text("frm3d"));

    m_picRender = named(new SolidView(this), "picRender");
    m_label = named(new QLabel(text("Label1"), this), "Label1");
    m_label->setAlignment(Qt::AlignCenter);
    m_reason = named(new QLabel(this), "lblReason");
    m_reason->setAlignment(Qt::AlignCenter);
    m_reason->setWordWrap(true);
    auto* hint = named(new QLabel(text("lblHint"), this), "lblHint");
    m_hover = named(new QLabel(this), "lblHover");
    m_exploded = named(new QCheckBox(text("chkExploded"), this), "chkExploded");
    m_stl = named(new QPushButton(text("cmdStl"), this), "cmdStl");
    m_obj = named(new QPushButton(text("cmdObj"), this), "cmdObj");
    auto* close = named(new QPushButton(text("cmdClose"), this), "cmdClose");

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_exploded);
    buttons->addWidget(m_hover, 1);
    buttons->addWidget(m_stl);
    buttons->addWidget(m_obj);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_picRender, 1);
    layout->addWidget(m_label);
    layout->addWidget(m_reason);
    layout->addWidget(hint);
    layout->addLayout(buttons);
    resize(twipsToPixels(kWidthTwips), twipsToPixels(kHeightTwips));

    m_chooseFile = [this](const QString& caption, const QString& suggested, const QString& filter) {
        return QFileDialog::getSaveFileName(this, caption, suggested, filter);
    };
    m_refreshTimer = new QTimer(this);
    m_refreshTimer->setSingleShot(true);
    m_refreshTimer->setInterval(0);
    connect(m_refreshTimer, &QTimer::timeout, this, &frm3d::refresh);
    connect(m_exploded, &QCheckBox::toggled, m_picRender, &SolidView::setExploded);
    connect(m_picRender, &SolidView::hovered, m_hover, &QLabel::setText);
    connect(m_stl, &QPushButton::clicked, this, [this] {
        const QString path = m_chooseFile(freeText(*this, "dlgStl"), QStringLiteral("boards.stl"),
                                          freeText(*this, "filterStl"));
        if (!path.isEmpty())
            exportStl(path);
    });
    connect(m_obj, &QPushButton::clicked, this, [this] {
        const QString path = m_chooseFile(freeText(*this, "dlgObj"), QStringLiteral("boards.obj"),
                                          freeText(*this, "filterObj"));
        if (!path.isEmpty())
            exportObj(path);
    });
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    refresh();
    show();
}

void frm3d::scheduleRefresh()
{
    m_refreshTimer->start();
}

void frm3d::refresh()
{
    m_refreshTimer->stop();
    // The boards are named by the main window's figure captions, as the boards window names them.
    const std::array<std::string, kPanelCount> names = panelCaptions(m_host);
    const HoleSpec holes{*m_app.sound.find("cutout"), *m_app.sound.find("mountdepth")};
    m_result =
        m_app.simulationOn ? buildBoards(m_app.inputs, m_app.decimalSeparator, names, holes) : BoardsResult{};
    const bool shown = m_result.ok();
    m_picRender->setMeshes(shown ? boxMeshes(m_result.boards->boards, holeRings(m_result.boards->boards))
                                 : std::vector<BoardMesh>{});
    m_label->setVisible(!shown);
    m_reason->setVisible(!shown && m_app.simulationOn);
    m_reason->setText(shown || !m_app.simulationOn
                          ? QString()
                          : freeText(*this, "msgNoBoards") + QStringLiteral("\n") +
                                toQString(m_result.error.text(refusalWords(m_app.tables))));
    m_stl->setEnabled(shown);
    m_obj->setEnabled(shown);
}

bool frm3d::writeFile(const QString& path, const std::string& bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
        file.write(bytes.data(), static_cast<qint64>(bytes.size())) == static_cast<qint64>(bytes.size()))
        return true;
    messageService().show(this, Message{toStdString(freeText(*this, "msgCannotWrite").arg(path)),
                                        programTitle(), MessageIcon::Exclamation, MessageButtons::Ok});
    return false;
}

bool frm3d::exportStl(const QString& path)
{
    return m_result.ok() && writeFile(path, meshesStl(m_picRender->meshes()));
}

bool frm3d::exportObj(const QString& path)
{
    return m_result.ok() && writeFile(path, meshesObj(m_picRender->meshes()));
}

} // namespace kelvra
