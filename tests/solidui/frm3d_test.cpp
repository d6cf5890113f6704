// The 3D view driven through the real main window: greyed until simulation mode, it shows the boards
// as solids, turns, zooms, names the board under the pointer, follows the design and exports STL and OBJ.
#include "gui/main/frm3d.h"

#include "gui/main/SolidView.h"
#include "tests/support/MainWindowFixture.h"
#include "tests/support/TempFolder.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace kelvra;

namespace
{

class View3d : public kelvra::test::MainWindowTest
{
protected:
    frm3d* open()
    {
        simulation(true);
        action("mnuFile3d")->trigger();
        return win->findChild<frm3d*>();
    }
};

TEST_P(View3d, ShowsTheBoardsTurnsZoomsNamesAndFollowsTheDesign)
{
    EXPECT_FALSE(action("mnuFile3d")->isEnabled());
    frm3d* w = open();
    EXPECT_TRUE(action("mnuFile3d")->isEnabled());
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), "3D View");
    EXPECT_FALSE(w->label()->isVisible());
    ASSERT_EQ(w->picRender()->meshes().size(), 6u);
    // Drawn offscreen: the middle of the view shows wood, not the white background.
    const QImage shot = w->picRender()->grab().toImage();
    EXPECT_NE(shot.pixelColor(shot.width() / 2, shot.height() / 2), QColor(Qt::white));
    EXPECT_FALSE(w->picRender()
                     ->boardAt(QPointF(w->picRender()->width() / 2.0, w->picRender()->height() / 2.0))
                     .isEmpty());
    EXPECT_TRUE(w->picRender()->boardAt(QPointF(1, 1)).isEmpty());

    SolidView* view = w->picRender();
    const double yaw = view->yaw();
    QTest::mousePress(view, Qt::LeftButton, {}, QPoint(100, 100));
    QMouseEvent drag(QEvent::MouseMove, QPointF(140, 110), view->mapToGlobal(QPointF(140, 110)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(view, &drag);
    QTest::mouseRelease(view, Qt::LeftButton, {}, QPoint(140, 110));
    EXPECT_NE(view->yaw(), yaw);
    QWheelEvent wheel(QPointF(50, 50), view->mapToGlobal(QPointF(50, 50)), {}, QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(view, &wheel);
    EXPECT_NEAR(view->zoom(), 1.1, 1e-9);
    QTest::mouseClick(w->chkExploded(), Qt::LeftButton);
    EXPECT_TRUE(view->exploded());

    // A partition wall appears in the view; a box that cannot be built shows nothing and says why.
    win->setModelListPosition(*findModelKey("pieces1"), 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(view->meshes().size(), 7u);
    win->setModelText(*findModelKey("ca"), "0");
    QCoreApplication::processEvents();
    EXPECT_TRUE(view->meshes().empty());
    EXPECT_TRUE(w->label()->isVisible());
    EXPECT_EQ(w->label()->text(), "Nothing to see here");
}

TEST_P(View3d, ExportsTheSolidsAsStlAndObj)
{
    frm3d* w = open();
    ASSERT_NE(w, nullptr);
    test::TempFolder out;
    for (const auto& [button, file, start] :
         {std::tuple{"cmdStl", "box.stl", "Kelvra"}, {"cmdObj", "box.obj", "#"}}) {
        w->setFileChooser([&, f = file](auto&, auto&, auto&) { return QString::fromStdString(out.file(f)); });
        QTest::mouseClick(w->findChild<QPushButton*>(button), Qt::LeftButton);
        EXPECT_TRUE(out.read(file).starts_with(start)) << file;
    }
    EXPECT_TRUE(messages.messages.empty());
    EXPECT_FALSE(w->exportStl(QString::fromStdString(out.file("no such folder/box.stl"))));
    ASSERT_EQ(messages.messages.size(), 1u);
    EXPECT_NE(messages.last()->text.find("kon niet worden geschreven"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Separators, View3d, ::testing::Values(',', '.'), kelvra::test::SeparatorName());

} // namespace
