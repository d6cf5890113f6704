// The main window's two drawings: Picture1's labels, outlines, lines and port marker, and picFigure.
#include "gui/common/Twips.h"
#include "gui/main/FigurePicture.h"
#include "gui/main/PanelPicture.h"

#include <QApplication>
#include <QLabel>
#include <gtest/gtest.h>

using namespace kelvra;

namespace
{

QLabel* label(const PanelPicture& pic, const std::string& name)
{
    return qobject_cast<QLabel*>(pic.control(name, std::nullopt));
}

// Captions as a recalculation of a sloping box with 4-decimal measures writes them.
FigureState longCaptions()
{
    FigureState s;
    forEachLabel(
        s, [](const std::string& name, LabelState& l) { l.caption = name.substr(3, 2) + ": 37,2345cm"; });
    return s;
}

TEST(PanelPicture, EveryLabelElementIsReachableByItsName)
{
    PanelPicture pic;
    const FigureState design;
    int count = 0;
    forEachLabel(design, [&](const std::string& name, const LabelState& state) {
        QLabel* l = label(pic, name);
        ASSERT_NE(l, nullptr) << name;
        EXPECT_EQ(l->objectName().toStdString(), name);
        EXPECT_EQ(l->text().toStdString(), state.caption) << name;
        ++count;
    });
    EXPECT_EQ(count, 24);
    EXPECT_EQ(pic.control("lblB2", 2), pic.control("lblB2(2)", std::nullopt));
    EXPECT_EQ(pic.control("lblB2", 4), nullptr);
    EXPECT_EQ(pic.control("lblLP", 0), nullptr);
    EXPECT_EQ(pic.control("Picture1", std::nullopt), &pic);
    EXPECT_EQ(pic.objectName(), "Picture1");
}

TEST(PanelPicture, OutlinesAndCaptionsAtTheirDesignPlaces)
{
    PanelPicture pic;
    EXPECT_EQ(pic.size(), twipRect(0, 0, 8175, 4575).size());
    for (int i = 0; i < 6; ++i) {
        const TwipRect& o = FigureGeometry::outlines[static_cast<std::size_t>(i)];
        QWidget* shape = pic.control("Shape1", i);
        ASSERT_NE(shape, nullptr);
        EXPECT_EQ(shape->geometry(), twipRect(o.left, o.top, o.width, o.height)) << i;
    }
    const char* texts[] = {" Voorzijde ", "Bovenzijde ", "Zij links", " Achterzijde ",
                           "Poort",       "Onderzijde ", "Zij rechts"};
    // The caption of each panel stands on or just below its outline.
    const int outlineOf[] = {1, 0, 2, 4, -1, 3, 5};
    for (int i = 0; i < 7; ++i) {
        auto* l = qobject_cast<QLabel*>(pic.control("Label2", i));
        ASSERT_NE(l, nullptr);
        EXPECT_EQ(l->text(), texts[i]);
        if (outlineOf[i] >= 0) {
            const QRect o = pic.control("Shape1", outlineOf[i])->geometry();
            EXPECT_GE(l->geometry().center().x(), o.left()) << i;
            EXPECT_LE(l->geometry().center().x(), o.right()) << i;
        }
    }
    for (int i = 0; i < 3; ++i)
        EXPECT_NE(pic.control("Line19", i), nullptr);
    EXPECT_NE(pic.control("shPortLength", std::nullopt), nullptr);
}

TEST(PanelPicture, NamedLabelsBesideFrontAndRearAndPartnersShareTops)
{
    PanelPicture pic;
    EXPECT_EQ(label(pic, "lblH2(1)")->x(), twipsToPixels(3120));
    EXPECT_EQ(label(pic, "lblH4(0)")->x(), twipsToPixels(3120));
    EXPECT_EQ(label(pic, "lblH2(1)")->y(), twipsToPixels(720));
    EXPECT_EQ(label(pic, "lblH2(0)")->x(), twipsToPixels(4920));
    EXPECT_EQ(label(pic, "lblH2(0)")->y(), twipsToPixels(720));
    const std::pair<const char*, const char*> partners[] = {
        {"lblB1(0)", "lblL4(1)"}, {"lblB1(1)", "lblL3(1)"}, {"lblB1(2)", "lblL4(2)"},
        {"lblH3(0)", "lblH2(0)"}, {"lblH4(0)", "lblH2(1)"}, {"lblDP", "lblHP"}};
    for (const auto& [a, b] : partners)
        EXPECT_EQ(label(pic, a)->y(), label(pic, b)->y()) << a;
    pic.apply(longCaptions());
    for (const auto& [a, b] : partners)
        EXPECT_EQ(label(pic, a)->y(), label(pic, b)->y()) << a;
}

TEST(PanelPicture, ApplyWritesCaptionsAndVisibility)
{
    PanelPicture pic;
    FigureState s;
    s.lblB2[2].caption = "B2: 33,2cm";
    s.lblB2[0].caption = "B2: 40cm";
    s.lblH3[0].visible = false;
    s.lblB1[1].visible = false;
    s.lblDP.caption = "DP: 10cm";
    pic.apply(s);
    EXPECT_EQ(label(pic, "lblB2(2)")->text(), "B2: 33,2cm");
    EXPECT_EQ(label(pic, "lblB2(0)")->text(), "B2: 40cm");
    EXPECT_EQ(label(pic, "lblDP")->text(), "DP: 10cm");
    EXPECT_TRUE(label(pic, "lblH3(0)")->isHidden());
    EXPECT_TRUE(label(pic, "lblB1(1)")->isHidden());
    EXPECT_FALSE(label(pic, "lblH2(0)")->isHidden());
    // A caption that grows keeps its whole text on screen.
    QLabel* b2 = label(pic, "lblB2(2)");
    EXPECT_GE(b2->width(), b2->fontMetrics().horizontalAdvance(b2->text()));
}

TEST(PanelPicture, NoPortHidesThePortItemsAndRestsTheMarker)
{
    PanelPicture pic;
    FigureState s;
    ApplyPortCountVisibility(s, 0);
    pic.apply(s);
    for (const char* name : {"shPort", "shPortLength", "lblHP", "lblLP", "lblDP", "lblBP", "Label2(4)",
                             "Line19(0)", "Line19(1)", "Line19(2)"})
        EXPECT_TRUE(pic.control(name, std::nullopt)->isHidden()) << name;
    const TwipRect& rest = FigureGeometry::portMarkerRest;
    EXPECT_EQ(pic.control("shPort", std::nullopt)->geometry(),
              twipRect(rest.left, rest.top, rest.width, rest.height));

    ApplyPortCountVisibility(s, 1);
    pic.apply(s);
    for (const char* name : {"shPort", "shPortLength", "lblHP", "Label2(4)", "Line19(1)"})
        EXPECT_FALSE(pic.control(name, std::nullopt)->isHidden()) << name;
}

struct PortCase {
    const char* name;
    int outline;
    bool alongEdge;
    PortShape shape;
};

class PortPlaces : public ::testing::TestWithParam<PortCase>
{
};

TEST_P(PortPlaces, MarkerFollowsThePortPosition)
{
    const PortCase& c = GetParam();
    PanelPicture pic;
    FigureState s;
    ApplyPortCountVisibility(s, 1);
    ApplyPortTypeShape(s, 1, c.shape == PortShape::Circle ? 0 : 1);
    const TwipRect& o = FigureGeometry::outlines[static_cast<std::size_t>(c.outline)];
    if (c.alongEdge)
        s.portMarker = {o.left, o.top, FigureGeometry::markerThickness, o.height};
    else
        s.portMarker = {o.left + (o.width - 495) / 2, o.top, o.height, FigureGeometry::markerThickness};
    if (c.shape == PortShape::Circle) {
        s.lblBP.visible = s.lblHP.visible = false;
        s.line19Visible.fill(false);
    } else {
        s.lblDP.visible = false;
    }
    pic.apply(s);
    QWidget* marker = pic.control("shPort", std::nullopt);
    const QRect outline = pic.control("Shape1", c.outline)->geometry();
    EXPECT_FALSE(marker->isHidden());
    EXPECT_EQ(marker->geometry().top(), outline.top());
    if (c.alongEdge) {
        EXPECT_EQ(marker->geometry().left(), outline.left());
        EXPECT_EQ(marker->height(), outline.height());
    } else {
        EXPECT_GT(marker->geometry().left(), outline.left());
        EXPECT_LT(marker->geometry().left(), outline.right());
    }
    EXPECT_EQ(pic.portShape(), c.shape);
    EXPECT_EQ(marker->property("shape").toString(), c.shape == PortShape::Circle ? "circle" : "rectangle");
    EXPECT_EQ(pic.control("Line19", 0)->isHidden(), c.shape == PortShape::Circle);
    EXPECT_EQ(pic.control("lblDP", std::nullopt)->isHidden(), c.shape != PortShape::Circle);
}

INSTANTIATE_TEST_SUITE_P(Ports, PortPlaces,
                         ::testing::Values(PortCase{"FrontRound", 1, true, PortShape::Circle},
                                           PortCase{"RearRect", 4, true, PortShape::Rectangle},
                                           PortCase{"TopRect", 0, true, PortShape::Rectangle},
                                           PortCase{"LeftRound", 2, false, PortShape::Circle},
                                           PortCase{"RightRect", 5, false, PortShape::Rectangle}),
                         [](const auto& info) { return std::string(info.param.name); });

// Tidy drawing: with long captions no two visible labels overlap, none crosses an outline's edge,
// and all stay inside the picture.
TEST(PanelPicture, LongCaptionsNeitherOverlapNorLeaveThePicture)
{
    for (bool rectangle : {true, false}) {
        PanelPicture pic;
        FigureState s = longCaptions();
        for (auto& l : s.lblB1)
            l.visible = rectangle;
        s.lblL3[1].visible = s.lblL4[1].visible = s.lblL4[2].visible = !rectangle;
        s.lblH3[0].visible = !rectangle;
        s.lblH2[0].visible = rectangle;
        s.lblH4[0].visible = !rectangle; // the front pair shares its place, one shown at a time
        s.lblH2[1].visible = rectangle;
        s.lblDP.visible = false;
        pic.apply(s);
        std::vector<QLabel*> shown;
        for (QLabel* l : pic.findChildren<QLabel*>())
            if (!l->isHidden())
                shown.push_back(l);
        for (QLabel* l : shown) {
            EXPECT_TRUE(pic.rect().contains(l->geometry())) << l->objectName().toStdString();
            for (QLabel* m : shown)
                if (l != m) {
                    EXPECT_FALSE(l->geometry().intersects(m->geometry()))
                        << l->objectName().toStdString() << " / " << m->objectName().toStdString();
                }
            for (int i = 0; i < 6; ++i) {
                const QRect o = pic.control("Shape1", i)->geometry();
                const bool inside = o.adjusted(1, 1, -1, -1).contains(l->geometry());
                EXPECT_TRUE(inside || !o.intersects(l->geometry()))
                    << l->objectName().toStdString() << " crosses Shape1(" << i << ")";
            }
        }
    }
}

TEST(PanelPicture, RendersOnWhite)
{
    PanelPicture pic;
    QPalette white = pic.palette();
    white.setColor(QPalette::Window, Qt::white);
    pic.setPalette(white);
    pic.apply(longCaptions());
    QImage image(pic.size(), QImage::Format_RGB32);
    image.fill(Qt::red);
    pic.render(&image);
    EXPECT_EQ(image.pixelColor(2, 2), QColor(Qt::white));
    const QRect front = pic.control("Shape1", 1)->geometry();
    EXPECT_EQ(image.pixelColor(front.left(), front.center().y()), QColor(Qt::black));
}

TEST(FigurePicture, StoredImageIsDrawn)
{
    FigurePicture fig;
    EXPECT_EQ(fig.objectName(), "picFigure");
    EXPECT_EQ(fig.size(), twipRect(0, 0, 8205, 4020).size());
    const QImage image = fig.image();
    ASSERT_EQ(image.size(), fig.size());
    int dark = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            if (qGray(image.pixel(x, y)) < 100)
                ++dark;
    EXPECT_GT(dark, 200);
    EXPECT_EQ(image.pixelColor(image.width() / 2, 20), QColor(Qt::white));
    QImage rendered(fig.size(), QImage::Format_RGB32);
    fig.render(&rendered);
    EXPECT_EQ(rendered, image.convertToFormat(QImage::Format_RGB32));
}

} // namespace

// Writes both drawings as PNG files when KELVRA_DRAWING_PNG names a path prefix, for a look by eye.
TEST(DrawingImages, SavedWhenAsked)
{
    if (!qEnvironmentVariableIsSet("KELVRA_DRAWING_PNG"))
        GTEST_SKIP() << "KELVRA_DRAWING_PNG not set";
    PanelPicture pic;
    pic.apply(longCaptions());
    EXPECT_TRUE(pic.grab().save(qEnvironmentVariable("KELVRA_DRAWING_PNG") + "_panel.png"));
    FigurePicture fig;
    EXPECT_TRUE(fig.image().save(qEnvironmentVariable("KELVRA_DRAWING_PNG") + "_figure.png"));
}
