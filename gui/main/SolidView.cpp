#include "gui/main/SolidView.h"

#include "layouter/PanelSet.h"

#include <QMouseEvent>
#include <QPainter>
#include <QRegularExpression>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kelvra
{

namespace
{

QColor colourOf(const std::string& key)
{
    for (std::size_t i = 0; i < kPanelKeys.size(); ++i)
        if (kPanelKeys[i] == key)
            return {kPanelColours[i].red, kPanelColours[i].green, kPanelColours[i].blue};
    return {200, 200, 200};
}

QString nameOf(const BoardMesh& m)
{
    QString name = QString::fromStdString(m.name).split(QRegularExpression(QStringLiteral("[\r\n]"))).front();
    name = name.trimmed();
    return name.isEmpty() ? QString::fromStdString(m.key) : name;
}

} // namespace

SolidView::SolidView(QWidget* parent) : QWidget(parent)
{
    setMouseTracking(true);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    setMinimumSize(240, 180);
}

void SolidView::setMeshes(std::vector<BoardMesh> meshes)
{
    m_meshes = std::move(meshes);
    update();
}

void SolidView::setExploded(bool exploded)
{
    m_exploded = exploded;
    update();
}

void SolidView::setView(double yaw, double pitch, double zoom)
{
    m_yaw = std::fmod(yaw, 360);
    m_pitch = std::clamp(pitch, -89.0, 89.0);
    m_zoom = std::clamp(zoom, 0.2, 8.0);
    update();
}

std::vector<SolidView::Drawn> SolidView::project() const
{
    std::vector<Drawn> out;
    if (m_meshes.empty() || width() <= 0 || height() <= 0)
        return out;
    const double yaw = m_yaw * std::numbers::pi / 180, pitch = m_pitch * std::numbers::pi / 180;
    const Vec3 eye{std::sin(yaw) * std::cos(pitch), std::sin(pitch), std::cos(yaw) * std::cos(pitch)};
    const Vec3 right = unit(cross({0, 1, 0}, eye));
    const Vec3 up = cross(eye, right);
    const Vec3 light = unit(eye * 0.8 + up * 0.5 + right * 0.3);

    std::vector<Vec3> centres;
    Vec3 lo{1e300, 1e300, 1e300}, hi{-1e300, -1e300, -1e300};
    for (const BoardMesh& m : m_meshes) {
        Vec3 sum;
        for (const Vec3& v : m.mesh.vertices) {
            sum = sum + v;
            lo = {std::min(lo.x, v.x), std::min(lo.y, v.y), std::min(lo.z, v.z)};
            hi = {std::max(hi.x, v.x), std::max(hi.y, v.y), std::max(hi.z, v.z)};
        }
        centres.push_back(
            m.mesh.vertices.empty() ? sum : sum * (1.0 / static_cast<double>(m.mesh.vertices.size())));
    }
    if (lo.x > hi.x)
        return out;
    const Vec3 middle = (lo + hi) * 0.5;
    // The whole box, exploded or not, fits the widget at zoom 1 whichever way it is turned.
    const double radius = std::sqrt(dot(hi - lo, hi - lo)) / 2 * (m_exploded ? 1.7 : 1.0);
    const double scale = std::min(width(), height()) / (2 * radius * 1.05) * m_zoom;
    const QPointF centre(width() / 2.0, height() / 2.0);
    for (std::size_t b = 0; b < m_meshes.size(); ++b) {
        const Mesh& mesh = m_meshes[b].mesh;
        const Vec3 shift = m_exploded ? (centres[b] - middle) * 0.7 : Vec3{};
        for (const auto& t : mesh.triangles) {
            const Vec3 p = mesh.vertices[static_cast<std::size_t>(t[0])] + shift - middle;
            const Vec3 q = mesh.vertices[static_cast<std::size_t>(t[1])] + shift - middle;
            const Vec3 r = mesh.vertices[static_cast<std::size_t>(t[2])] + shift - middle;
            const Vec3 n = unit(cross(q - p, r - p));
            if (dot(n, eye) <= 0)
                continue; // looks away
            Drawn d;
            for (const Vec3& v : {p, q, r})
                d.polygon << centre + QPointF(dot(v, right), -dot(v, up)) * scale;
            d.depth = dot(p + q + r, eye) / 3;
            d.light = 0.45 + 0.55 * std::max(0.0, dot(n, light));
            d.board = static_cast<int>(b);
            out.push_back(d);
        }
    }
    std::sort(out.begin(), out.end(), [](const Drawn& a, const Drawn& b) { return a.depth < b.depth; });
    return out;
}

void SolidView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    for (const Drawn& d : project()) {
        const QColor base = colourOf(m_meshes[static_cast<std::size_t>(d.board)].key);
        const QColor c = QColor::fromRgbF(static_cast<float>(base.redF() * d.light),
                                          static_cast<float>(base.greenF() * d.light),
                                          static_cast<float>(base.blueF() * d.light));
        // The outline in the fill's own colour closes the seams between a face's triangles.
        painter.setPen(QPen(c, 1));
        painter.setBrush(c);
        painter.drawPolygon(d.polygon);
    }
    if (!m_hovered.isEmpty()) {
        const QFontMetrics metrics(font());
        QRect box = metrics.boundingRect(m_hovered).adjusted(-4, -2, 4, 2);
        box.moveTopLeft(QPoint(6, 6));
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 220));
        painter.drawRect(box);
        painter.setPen(Qt::black);
        painter.drawText(box, Qt::AlignCenter, m_hovered);
    }
}

QString SolidView::boardAt(QPointF point) const
{
    const std::vector<Drawn> drawn = project();
    for (auto it = drawn.rbegin(); it != drawn.rend(); ++it)
        if (it->polygon.containsPoint(point, Qt::OddEvenFill))
            return nameOf(m_meshes[static_cast<std::size_t>(it->board)]);
    return {};
}

void SolidView::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragging = true;
        m_dragFrom = event->position().toPoint();
    }
}

void SolidView::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (m_dragging && (event->buttons() & Qt::LeftButton)) {
        const QPoint d = at - m_dragFrom;
        m_dragFrom = at;
        setView(m_yaw - d.x() * 0.5, m_pitch + d.y() * 0.5, m_zoom);
        return;
    }
    m_dragging = false;
    const QString name = boardAt(event->position());
    if (name != m_hovered) {
        m_hovered = name;
        setToolTip(name);
        update();
        emit hovered(name);
    }
}

void SolidView::wheelEvent(QWheelEvent* event)
{
    setView(m_yaw, m_pitch, m_zoom * std::pow(1.1, event->angleDelta().y() / 120.0));
    event->accept();
}

void SolidView::leaveEvent(QEvent*)
{
    if (!m_hovered.isEmpty()) {
        m_hovered.clear();
        update();
        emit hovered(m_hovered);
    }
}

} // namespace kelvra
