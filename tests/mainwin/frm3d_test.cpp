// The 3D view window: its caption, picture area and label, shown without blocking the main window.
#include "gui/main/frm3d.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <gtest/gtest.h>

using namespace kelvra;

namespace
{

TEST(frm3d, LoadingShowsTheWindowNotModal)
{
    QWidget owner;
    QPointer<frm3d> w = new frm3d(&owner);
    EXPECT_TRUE(w->isVisible());
    EXPECT_TRUE(w->isWindow());
    EXPECT_FALSE(w->isModal());
    EXPECT_EQ(w->windowModality(), Qt::NonModal);
    EXPECT_EQ(w->windowTitle(), "3D View");
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(w); // closing unloads it
}

TEST(frm3d, HoldsPicRenderWithTheLabel)
{
    QWidget owner;
    auto* w = new frm3d(&owner);
    auto* pic = w->findChild<QWidget*>("picRender");
    ASSERT_NE(pic, nullptr);
    EXPECT_EQ(pic, w->picRender());
    EXPECT_TRUE(pic->isVisible());
    const QList<QLabel*> labels = w->findChildren<QLabel*>();
    ASSERT_EQ(labels.size(), 1);
    EXPECT_EQ(labels[0]->text(), "Nothing to see here");
    EXPECT_TRUE(labels[0]->isVisible());
    EXPECT_TRUE(pic->geometry().contains(labels[0]->geometry().translated(pic->pos())));
}

} // namespace
