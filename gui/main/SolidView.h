// The boards' meshes drawn as shaded solids with QPainter, far triangles first: turned by dragging,
// zoomed by the wheel, the board under the pointer named.
#pragma once

#include "solid/BoxMesh.h"

#include <QWidget>

#include <vector>

namespace kelvra
{

class SolidView : public QWidget
{
    Q_OBJECT
public:
    explicit SolidView(QWidget* parent = nullptr);

    void setMeshes(std::vector<BoardMesh> meshes);
    void setExploded(bool exploded);
    bool exploded() const { return m_exploded; }
    // Degrees round the vertical and up from level; the zoom factor on the fitted size.
    void setView(double yaw, double pitch, double zoom);
    double yaw() const { return m_yaw; }
    double pitch() const { return m_pitch; }
    double zoom() const { return m_zoom; }
    // The board drawn at a point of the widget, as its name; empty over the background.
    QString boardAt(QPointF point) const;
    const std::vector<BoardMesh>& meshes() const { return m_meshes; }

signals:
    void hovered(const QString& board);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    struct Drawn {
        QPolygonF polygon;
        double depth = 0;
        double light = 1;
        int board = 0;
    };
    std::vector<Drawn> project() const;

    std::vector<BoardMesh> m_meshes;
    bool m_exploded = false;
    double m_yaw = 35, m_pitch = 25, m_zoom = 1;
    QPoint m_dragFrom;
    bool m_dragging = false;
    QString m_hovered;
};

} // namespace kelvra
