#include "gui/main/PanelPicture.h"

#include "calc/Model.h"
#include "gui/common/Twips.h"
#include "gui/main/FitLabel.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <array>
#include <limits>

namespace kelvra
{

namespace
{

// A panel outline or port marker: a rectangle or circle drawn in black, optionally filled.
class ShapeItem : public QWidget
{
public:
    ShapeItem(QWidget* parent, QColor fill = Qt::transparent) : QWidget(parent), m_fill(fill)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setShape(PortShape::Rectangle);
    }

    void setShape(PortShape shape)
    {
        m_shape = shape;
        setProperty("shape", shape == PortShape::Circle ? "circle" : "rectangle");
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        const QRect r = rect();
        if (r.width() <= 2 || r.height() <= 2) {
            // A marker lying on an outline edge is a filled strip.
            p.fillRect(r, m_fill.alpha() ? m_fill : QColor(Qt::black));
            return;
        }
        p.setRenderHint(QPainter::Antialiasing, m_shape == PortShape::Circle);
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(m_fill.alpha() ? QBrush(m_fill) : QBrush(Qt::NoBrush));
        const QRect inner = r.adjusted(0, 0, -1, -1);
        if (m_shape == PortShape::Circle)
            p.drawEllipse(inner);
        else
            p.drawRect(inner);
    }

private:
    QColor m_fill;
    PortShape m_shape = PortShape::Rectangle;
};

// A dimension or extension line. Dimension lines end in short cross ticks.
class LineItem : public QWidget
{
public:
    LineItem(QWidget* parent, Qt::Orientation orientation, double at, double from, double to, bool ticks)
        : QWidget(parent), m_orientation(orientation), m_ticks(ticks)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        const int half = kThickness / 2;
        const int a = twipsToPixels(at);
        const int f = twipsToPixels(from);
        const int t = twipsToPixels(to);
        if (orientation == Qt::Horizontal)
            setGeometry(f, a - half, t - f + 1, kThickness);
        else
            setGeometry(a - half, f, kThickness, t - f + 1);
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.setPen(QPen(QColor(64, 64, 64), 1));
        const int half = kThickness / 2;
        if (m_orientation == Qt::Horizontal) {
            const int r = width() - 1;
            p.drawLine(0, half, r, half);
            if (m_ticks) {
                p.drawLine(0, 0, 0, kThickness - 1);
                p.drawLine(r, 0, r, kThickness - 1);
            }
        } else {
            const int b = height() - 1;
            p.drawLine(half, 0, half, b);
            if (m_ticks) {
                p.drawLine(0, 0, kThickness - 1, 0);
                p.drawLine(0, b, kThickness - 1, b);
            }
        }
    }

private:
    static constexpr int kThickness = 5;
    Qt::Orientation m_orientation;
    bool m_ticks;
};

constexpr double kPictureWidth = 8175;
constexpr double kPictureHeight = 4575;
constexpr double kNoLimit = std::numeric_limits<double>::max();
// Labels of the narrow column between the left and right outlines break after their name.
constexpr double kColumnWidth = 1050;

// Where the port's own drawing sits: the port seen from the side, its length along the x axis.
constexpr TwipRect kPortLength{720, 3540, 1800, 375};

} // namespace

// How a dimension label is placed: x is its left edge, right edge or centre; a right-anchored
// label starts no further right than preferredLeft.
struct PanelPicture::LabelPlace {
    enum class Anchor { Left, Right, Center };
    const char* name;
    Anchor anchor;
    double x;
    double top;
    double maxWidth = kNoLimit;
    double preferredLeft = kNoLimit;
};

namespace
{

using Place = PanelPicture::LabelPlace;
using Anchor = Place::Anchor;

} // namespace

void PanelPicture::registerControl(const std::string& key, QWidget* widget)
{
    widget->setObjectName(QString::fromStdString(key));
    m_controls[key] = widget;
}

PanelPicture::PanelPicture(QWidget* parent) : QWidget(parent)
{
    setObjectName("Picture1");
    setGeometry(twipRect(0, 4080, kPictureWidth, kPictureHeight));
    setFixedSize(size());
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
    QFont small = font();
    small.setPointSizeF(7.5);
    setFont(small);

    buildOutlines();
    buildDimensionLines();
    buildPortItems();
    buildLabels();
    touchPartnerTops();
}

QLabel* PanelPicture::captionLabel(const char* text)
{
    auto* label = new FitLabel(QString::fromUtf8(text), this);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignCenter);
    label->resize(label->width(), QFontMetrics(label->font()).height() + 2);
    return label;
}

void PanelPicture::buildOutlines()
{
    // Caption index and whether it stands below the outline (the side panels are full of labels).
    struct Caption {
        int label;
        const char* text;
        bool below;
    };
    static constexpr std::array<Caption, 6> captions{{
        {1, "Bovenzijde ", false},
        {0, " Voorzijde ", false},
        {2, "Zij links", true},
        {5, "Onderzijde ", false},
        {3, " Achterzijde ", false},
        {6, "Zij rechts", true},
    }};
    for (int i = 0; i < 6; ++i) {
        const TwipRect& o = FigureGeometry::outlines[static_cast<std::size_t>(i)];
        auto* shape = new ShapeItem(this);
        shape->setGeometry(twipRect(o.left, o.top, o.width, o.height));
        registerControl(controlElementName("Shape1", i), shape);

        const Caption& c = captions[static_cast<std::size_t>(i)];
        // The caption spans its outline's width, so a longer translation stays whole and centred.
        auto* label = captionLabel(c.text);
        const QRect r = shape->geometry();
        const int y = c.below ? r.bottom() + twipsToPixels(30) : r.center().y() - label->height() / 2;
        const int inset = twipsToPixels(30); // clear of the outline's edges
        label->setGeometry(r.left() + inset, y, r.width() - 2 * inset, label->height());
        registerControl(controlElementName("Label2", c.label), label);
    }
}

void PanelPicture::buildDimensionLines()
{
    struct Line {
        Qt::Orientation orientation;
        double at, from, to;
    };
    static constexpr std::array<Line, 8> lines{{
        {Qt::Horizontal, 300, 120, 3015},   // front length
        {Qt::Vertical, 3060, 360, 1215},    // front height
        {Qt::Horizontal, 300, 5400, 8055},  // rear length
        {Qt::Vertical, 5340, 360, 1215},    // rear height
        {Qt::Vertical, 3060, 1320, 2895},   // top width
        {Qt::Horizontal, 2955, 120, 3015},  // top length
        {Qt::Vertical, 5340, 1320, 2895},   // bottom width
        {Qt::Horizontal, 2955, 5400, 8055}, // bottom length
    }};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Line& l = lines[i];
        registerControl(controlElementName("Line1", static_cast<int>(i)),
                        new LineItem(this, l.orientation, l.at, l.from, l.to, true));
    }
}

void PanelPicture::buildPortItems()
{
    const TwipRect& p = kPortLength;
    auto* length = new ShapeItem(this);
    length->setGeometry(twipRect(p.left, p.top, p.width, p.height));
    registerControl("shPortLength", length);

    auto* caption = captionLabel("Poort");
    const QRect side = length->geometry();
    caption->setGeometry(side.left(), side.center().y() - caption->height() / 2, side.width(),
                         caption->height());
    registerControl(controlElementName("Label2", 4), caption);

    // The port's height (rectangular ports only) with its two extension lines.
    const double right = p.left + p.width;
    const double bottom = p.top + p.height;
    registerControl("Line19(0)", new LineItem(this, Qt::Vertical, right + 90, p.top, bottom, true));
    registerControl("Line19(1)", new LineItem(this, Qt::Horizontal, p.top, right, right + 120, false));
    registerControl("Line19(2)", new LineItem(this, Qt::Horizontal, bottom, right, right + 120, false));
    // The port's length, below its side view.
    registerControl("Line20(0)", new LineItem(this, Qt::Horizontal, bottom + 75, p.left, right, true));

    auto* marker = new ShapeItem(this, QColor(30, 60, 170));
    const TwipRect& rest = FigureGeometry::portMarkerRest;
    marker->setGeometry(twipRect(rest.left, rest.top, rest.width, rest.height));
    registerControl("shPort", marker);
}

void PanelPicture::buildLabels()
{
    // Each label stands beside (or, on the crowded side panels, just inside) the outline whose
    // measure it names; the second of a partner pair is moved to the first's top afterwards.
    static const std::array<Place, 24> places{{
        {"lblB2(2)", Anchor::Center, 1567, 45},
        {"lblH2(1)", Anchor::Left, 3120, 720, kColumnWidth},
        {"lblH4(0)", Anchor::Left, 3120, 960, kColumnWidth},
        {"lblB2(0)", Anchor::Center, 6727, 45},
        {"lblH2(0)", Anchor::Right, 5280, 720, kColumnWidth, 4920},
        {"lblH3(0)", Anchor::Right, 5280, 960, kColumnWidth, 4920},
        {"lblL4(1)", Anchor::Left, 3120, 1980, kColumnWidth},
        {"lblB1(0)", Anchor::Left, 3120, 2220, kColumnWidth},
        {"lblB2(1)", Anchor::Center, 1567, 3000},
        {"lblL3(1)", Anchor::Right, 5280, 1980, kColumnWidth},
        {"lblB1(1)", Anchor::Right, 5280, 2220, kColumnWidth},
        {"lblB2(3)", Anchor::Center, 6727, 3000},
        {"lblL4(0)", Anchor::Center, 4807, 3285},
        {"lblH3(1)", Anchor::Left, 4005, 3560},
        {"lblH4(1)", Anchor::Right, 5610, 3835},
        {"lblL3(0)", Anchor::Center, 4807, 4110},
        {"lblL4(2)", Anchor::Center, 6967, 3285},
        {"lblB1(2)", Anchor::Center, 6967, 3500},
        {"lblH3(2)", Anchor::Left, 6165, 3560},
        {"lblH4(2)", Anchor::Right, 7770, 3835},
        {"lblBP", Anchor::Center, 1620, 3315},
        {"lblLP", Anchor::Center, 1620, 4050},
        {"lblHP", Anchor::Left, 2730, 3630},
        {"lblDP", Anchor::Left, 2730, 3400},
    }};
    const FigureState design;
    forEachLabel(design, [&](const std::string& name, const LabelState& state) {
        const Place* place = nullptr;
        for (const Place& p : places)
            if (name == p.name) {
                place = &p;
                break;
            }
        auto* label = new QLabel(QString::fromStdString(state.caption), this);
        label->setTextFormat(Qt::PlainText);
        registerControl(name, label);
        m_places[label] = place;
        label->move(0, place ? twipsToPixels(place->top) : 0);
        placeLabel(label);
    });
}

void PanelPicture::touchPartnerTops()
{
    static constexpr std::array<std::pair<const char*, const char*>, 6> partners{{
        {"lblB1(0)", "lblL4(1)"},
        {"lblB1(1)", "lblL3(1)"},
        {"lblB1(2)", "lblL4(2)"},
        {"lblH3(0)", "lblH2(0)"},
        {"lblH4(0)", "lblH2(1)"},
        {"lblDP", "lblHP"},
    }};
    for (const auto& [label, partner] : partners) {
        QWidget* w = control(label, std::nullopt);
        w->move(w->x(), control(partner, std::nullopt)->y());
    }
}

void PanelPicture::placeLabel(QLabel* label)
{
    const Place* place = m_places[label];
    if (!place) {
        label->adjustSize();
        return;
    }
    const QFontMetrics fm(label->font());
    const int maxWidth =
        place->maxWidth == kNoLimit ? std::numeric_limits<int>::max() / 2 : twipsToPixels(place->maxWidth);
    QSize size(fm.horizontalAdvance(label->text()) + 2, fm.height());
    const bool wrap = size.width() > maxWidth;
    label->setWordWrap(wrap);
    if (wrap) {
        const QRect r = fm.boundingRect(QRect(0, 0, maxWidth, 10000), Qt::TextWordWrap, label->text());
        size = QSize(r.width() + 2, r.height());
    }
    const int x = twipsToPixels(place->x);
    int left = x;
    switch (place->anchor) {
    case Anchor::Left:
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        break;
    case Anchor::Right:
        label->setAlignment(Qt::AlignRight | Qt::AlignTop);
        left = x - size.width();
        if (place->preferredLeft != kNoLimit)
            left = std::min(left, twipsToPixels(place->preferredLeft));
        break;
    case Anchor::Center:
        label->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        left = x - size.width() / 2;
        break;
    }
    label->setGeometry(left, label->y(), place->anchor == Anchor::Right ? x - left : size.width(),
                       size.height());
}

void PanelPicture::apply(const FigureState& state, Measure measure, char decimalSeparator)
{
    forEachLabel(state, [&](const std::string& name, const LabelState& s) {
        auto* label = static_cast<QLabel*>(control(name, std::nullopt));
        label->setText(QString::fromStdString(measureText(s.caption, measure, decimalSeparator)));
        label->setVisible(s.visible);
        placeLabel(label);
    });
    for (int i = 0; i < 3; ++i)
        control("Line19", i)->setVisible(state.line19Visible[static_cast<std::size_t>(i)]);
    control("Label2", 4)->setVisible(state.portCaptionVisible);
    control("shPortLength", std::nullopt)->setVisible(state.portLengthVisible);
    control("Line20", 0)->setVisible(state.portLengthVisible);

    auto* marker = static_cast<ShapeItem*>(control("shPort", std::nullopt));
    m_portShape = state.portShape;
    marker->setShape(state.portShape);
    const TwipRect& m = state.portMarker;
    marker->setGeometry(twipRect(m.left, m.top, m.width, m.height));
    marker->setVisible(state.portMarkerVisible);
    marker->raise();
}

QWidget* PanelPicture::control(std::string_view name, std::optional<int> index) const
{
    if (!index && name == "Picture1")
        return const_cast<PanelPicture*>(this);
    const std::string key = index ? controlElementName(name, *index) : std::string(name);
    const auto it = m_controls.find(key);
    return it == m_controls.end() ? nullptr : it->second;
}

} // namespace kelvra
