#include "gui/boards/BoxPicture.h"

#include "gui/boards/BoardRows.h"
#include "layouter/PanelSet.h"
#include "solid/BoardShape.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace kelvra
{

namespace
{

// The vector arithmetic of the 3D meshes, so both drawings of the box turn and shade alike.
using Vec = Vec3;

Vec mean(const std::vector<Vec>& points)
{
    Vec sum;
    for (const Vec& p : points)
        sum = sum + p;
    return points.empty() ? sum : sum * (1.0 / static_cast<double>(points.size()));
}

// The eye sits to the front (+x), the right (+z) and above, so the sloped profile of the right side,
// the front and the top all show.
struct View {
    Vec eye;   // towards the viewer
    Vec right; // screen x
    Vec up;    // screen y, upwards

    View()
    {
        const double yaw = 35 * std::numbers::pi / 180;
        const double pitch = 25 * std::numbers::pi / 180;
        eye = {std::sin(yaw) * std::cos(pitch), std::sin(pitch), std::cos(yaw) * std::cos(pitch)};
        right = unit(cross({0, 1, 0}, eye));
        up = cross(eye, right);
    }
    QPointF project(Vec p) const { return {dot(p, right), -dot(p, up)}; }
};

struct Face {
    std::vector<Vec> corners;
    double depth = 0; // nearness to the eye
    double light = 1;
};

struct Solid {
    const Board* board = nullptr;
    std::vector<Face> faces; // the ones that face the eye, far ones first
    Vec centre;
    double depth = 0;
};

// The faces of a board that the eye sees: its solid is a prism, the cross-section at one end then
// the same corners at the other, so its faces are the two ends and one side per edge.
Solid solidOf(const Board& board, Vec shift, const View& view)
{
    Solid s;
    s.board = &board;
    std::vector<Vec> points;
    for (const Point3& p : board.solid)
        points.push_back(Vec{p.x, p.y, p.z} + shift);
    s.centre = mean(points);
    s.depth = dot(s.centre, view.eye);
    const std::size_t n = points.size() / 2;
    if (n < 3)
        return s;
    std::vector<std::vector<Vec>> faces{{points.begin(), points.begin() + static_cast<std::ptrdiff_t>(n)},
                                        {points.begin() + static_cast<std::ptrdiff_t>(n), points.end()}};
    for (std::size_t i = 0; i < n; ++i) {
        const std::size_t j = (i + 1) % n;
        faces.push_back({points[i], points[j], points[n + j], points[n + i]});
    }
    const Vec light = unit({0.4, 1, 0.6});
    for (std::vector<Vec>& corners : faces) {
        // Newell's normal, turned outwards from the board's centre.
        Vec normal;
        for (std::size_t i = 0; i < corners.size(); ++i) {
            const Vec a = corners[i];
            const Vec b = corners[(i + 1) % corners.size()];
            normal =
                normal + Vec{(a.y - b.y) * (a.z + b.z), (a.z - b.z) * (a.x + b.x), (a.x - b.x) * (a.y + b.y)};
        }
        normal = unit(normal);
        const Vec middle = mean(corners);
        if (dot(normal, middle - s.centre) < 0)
            normal = normal * -1;
        if (dot(normal, view.eye) <= 1e-9)
            continue;
        s.faces.push_back({corners, dot(middle, view.eye), 0.6 + 0.4 * std::max(0.0, dot(normal, light))});
    }
    std::sort(s.faces.begin(), s.faces.end(), [](const Face& a, const Face& b) { return a.depth < b.depth; });
    return s;
}

QColor shaded(const QColor& base, double light)
{
    return QColor::fromRgbF(static_cast<float>(base.redF() * light),
                            static_cast<float>(base.greenF() * light),
                            static_cast<float>(base.blueF() * light));
}

} // namespace

QColor boardColour(const std::string& key)
{
    for (std::size_t i = 0; i < kPanelKeys.size(); ++i)
        if (kPanelKeys[i] == key)
            return {kPanelColours[i].red, kPanelColours[i].green, kPanelColours[i].blue};
    return {200, 200, 200};
}

void paintBox(QPainter& painter, const QRectF& area, const std::vector<Board>& boards, bool exploded)
{
    if (boards.empty() || area.isEmpty())
        return;
    const View view;
    std::vector<Vec> all;
    for (const Board& b : boards)
        for (const Point3& p : b.solid)
            all.push_back({p.x, p.y, p.z});
    Vec low = all.empty() ? Vec{} : all.front();
    Vec high = low;
    for (const Vec& p : all) {
        low = {std::min(low.x, p.x), std::min(low.y, p.y), std::min(low.z, p.z)};
        high = {std::max(high.x, p.x), std::max(high.y, p.y), std::max(high.z, p.z)};
    }
    const Vec centre = (low + high) * 0.5;

    std::vector<Solid> solids;
    for (const Board& b : boards) {
        std::vector<Vec> points;
        for (const Point3& p : b.solid)
            points.push_back({p.x, p.y, p.z});
        // Each board moves away from the middle of the box by a share of its distance, so the joints
        // open up and every board shows whole.
        const Vec shift = exploded ? (mean(points) - centre) * 0.7 : Vec{};
        solids.push_back(solidOf(b, shift, view));
    }
    std::sort(solids.begin(), solids.end(), [](const Solid& a, const Solid& b) { return a.depth < b.depth; });

    double left = 0, top = 0, right = 0, bottom = 0;
    bool first = true;
    for (const Solid& s : solids)
        for (const Face& f : s.faces)
            for (const Vec& p : f.corners) {
                const QPointF q = view.project(p);
                left = first ? q.x() : std::min(left, q.x());
                right = first ? q.x() : std::max(right, q.x());
                top = first ? q.y() : std::min(top, q.y());
                bottom = first ? q.y() : std::max(bottom, q.y());
                first = false;
            }
    const QRectF bounds(QPointF(left, top), QPointF(right, bottom));
    if (first || bounds.width() <= 0 || bounds.height() <= 0)
        return;
    const QRectF inside =
        area.adjusted(area.width() * 0.04, area.height() * 0.04, -area.width() * 0.04, -area.height() * 0.04);
    const double scale = std::min(inside.width() / bounds.width(), inside.height() / bounds.height());
    const QPointF offset = inside.center() - bounds.center() * scale;
    auto toScreen = [&](Vec p) {
        return view.project(p) * scale + offset;
    };

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPen edge(QColor(40, 40, 40));
    edge.setWidthF(1);
    edge.setCosmetic(true);
    for (const Solid& s : solids) {
        const QColor base = boardColour(s.board->key);
        for (const Face& f : s.faces) {
            QPolygonF polygon;
            for (const Vec& p : f.corners)
                polygon << toScreen(p);
            painter.setPen(edge);
            painter.setBrush(shaded(base, f.light));
            painter.drawPolygon(polygon);
        }
    }
    // The names last, so that no board hides another's.
    const QFontMetricsF metrics(painter.font());
    for (const Solid& s : solids) {
        if (s.faces.empty())
            continue;
        const QString name = QString::fromStdString(boardRow(*s.board, '.').name);
        const QPointF at = toScreen(s.centre);
        QRectF box = metrics.boundingRect(name).adjusted(-3, -1, 3, 1);
        box.moveCenter(at);
        // A name near the edge stays whole inside the drawing.
        box.moveLeft(std::clamp(box.left(), area.left(), std::max(area.left(), area.right() - box.width())));
        box.moveTop(std::clamp(box.top(), area.top(), std::max(area.top(), area.bottom() - box.height())));
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(255, 255, 255, 215));
        painter.drawRoundedRect(box, 3, 3);
        painter.setPen(Qt::black);
        painter.drawText(box, Qt::AlignCenter, name);
    }
    painter.restore();
}

BoxPicture::BoxPicture(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("picBox"));
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
}

void BoxPicture::setBoards(std::vector<Board> boards)
{
    m_boards = std::move(boards);
    update();
}

void BoxPicture::setExploded(bool exploded)
{
    m_exploded = exploded;
    update();
}

void BoxPicture::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    paintBox(painter, QRectF(rect()), m_boards, m_exploded);
}

} // namespace kelvra
