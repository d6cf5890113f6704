// The 3D view: a window with an empty picture area and a note that there is nothing to show yet.
#pragma once

#include <QWidget>

class QLabel;

namespace kelvra
{

class frm3d : public QWidget
{
    Q_OBJECT
public:
    // Loading the window shows it, not modal; closing it unloads it.
    explicit frm3d(QWidget* parent = nullptr);

    QWidget* picRender() const { return m_picRender; }
    QLabel* label() const { return m_label; }

private:
    QWidget* m_picRender = nullptr;
    QLabel* m_label = nullptr;
};

} // namespace kelvra
