#include "calc/RecalcSteps.h"

#include <optional>

namespace kelvra
{

namespace
{

class FigureStep
{
public:
    FigureStep(const RecalcInputs& in, CalcState& state)
        : m_m(in.model), m_s(state), m_d(state.derived), m_sep(in.decimalSeparator)
    {
    }

    void run()
    {
        FigureState& fig = m_s.figure;
        const DerivedMeasures& d = m_d;
        const bool rearRight = d.angleCa == kRightAngle;
        const bool frontRight = d.angleCb == kRightAngle;
        fig.lblH3[0].visible = !rearRight;
        fig.lblH2[0].visible = rearRight;
        fig.lblH4[0].visible = !frontRight;
        fig.lblH2[1].visible = frontRight;

        // The drawing's H2 is h2 less both boards, which the volume steps kept as the inner height.
        const Fixed figureHeight = d.innerHeight;
        auto caption = [&](auto& labels, const char* prefix, Fixed value) {
            for (auto& l : labels)
                setCaption(l.caption, prefix, value);
        };
        caption(fig.lblL3, "L3: ", d.bottomWidth);
        caption(fig.lblL4, "L4: ", d.topWidth);
        caption(fig.lblH2, "H2: ", figureHeight);
        caption(fig.lblH3, "H3: ", d.slantCa);
        caption(fig.lblH4, "H4: ", d.slantCb);
        caption(fig.lblB1, "B1: ", d.innerLength);
        caption(fig.lblB2, "B2: ", d.l3);

        placePort(figureHeight);

        setCaption(fig.lblLP.caption, "LP: ", d.lp);
        setCaption(fig.lblBP.caption, "BP: ", d.bp);
        setCaption(fig.lblDP.caption, "DP: ", d.dp);
        setCaption(fig.lblHP.caption, "HP: ", d.hp);

        buildParamText();
    }

private:
    void placePort(Fixed figureHeight)
    {
        FigureState& fig = m_s.figure;
        const DerivedMeasures& d = m_d;
        if (m_m.pieces2 <= 0) {
            fig.portMarker = FigureGeometry::portMarkerRest;
            return;
        }
        const Fixed portBoard = Fixed::fromRaw(std::int64_t(d.thick[2]) * 1000);
        // Values out of range cannot come from valid inputs; the caption then keeps its text.
        auto shortened = [&](Fixed from) -> std::optional<Fixed> {
            auto a = from.minus(d.bp);
            if (!a)
                return std::nullopt;
            auto b = a.value().minus(portBoard);
            if (!b)
                return std::nullopt;
            return b.value();
        };
        auto alongEdge = [&](int outline) {
            const TwipRect& o = FigureGeometry::outlines[static_cast<std::size_t>(outline)];
            fig.portMarker = {o.left, o.top, FigureGeometry::markerThickness, o.height};
        };
        auto acrossTop = [&](int outline) {
            const TwipRect& o = FigureGeometry::outlines[static_cast<std::size_t>(outline)];
            fig.portMarker.left = o.left + (o.width - fig.portMarker.width) / 2;
            fig.portMarker.top = o.top;
            fig.portMarker.height = FigureGeometry::markerThickness;
            fig.portMarker.width = o.height;
        };
        auto rewriteB2 = [&](std::size_t element) {
            if (auto v = shortened(d.l3))
                fig.lblB2[element].caption = "B2: " + fmt(*v) + "cm";
        };
        auto sidePanel = [&](std::size_t element) {
            const double lpCm = d.lp.toDouble() / 10;
            if (lpCm == d.slantCb.toDouble() && d.angleCa == kRightAngle) {
                if (auto v = shortened(d.slantCb))
                    fig.lblH4[element].caption = "H4: " + fmt(*v) + "cm";
            } else if (lpCm == d.slantCa.toDouble() && d.angleCb == kRightAngle) {
                if (auto v = shortened(d.slantCa))
                    fig.lblH3[element].caption = "H3: " + fmt(*v) + "cm";
            }
        };
        switch (m_m.pwhere) {
        case 0:
            if (d.hp == figureHeight)
                rewriteB2(2);
            alongEdge(1);
            break;
        case 1:
            if (d.hp == figureHeight)
                rewriteB2(0);
            alongEdge(4);
            break;
        case 2:
            if (d.hp == d.topWidth)
                rewriteB2(1);
            alongEdge(0);
            break;
        case 3:
            sidePanel(1);
            acrossTop(2);
            break;
        case 4:
            sidePanel(2);
            acrossTop(5);
            break;
        default:
            break;
        }
    }

    void buildParamText()
    {
        const DerivedMeasures& d = m_d;
        // The angle texts were numbers a moment ago, so they convert again.
        const Fixed a = *toFixed(m_m.ca, m_sep);
        const Fixed b = *toFixed(m_m.cb, m_sep);
        std::string& p = m_s.paramText;
        p.clear();
        auto put = [&](const char* text, Fixed value) {
            p += text;
            appendFixed(p, value, m_sep);
        };
        p += "P:";
        p += std::to_string(d.thick[0]);
        put("mm\r\nB1:", d.innerLength);
        put("cm B2:", d.l3);
        put("\r\nH1:", d.innerHeight);
        put("cm H2:", d.h2);
        put(" H3:", d.slantCa);
        put("cm H4:", d.slantCb);
        put("cm\r\nL1:", d.partitionWidth);
        put("cm L2:", d.meanInnerWidth);
        put("cm L3:", d.bottomWidth);
        put("cm L4:", d.topWidth);
        put("cm\r\nA:", a);
        put("\u00b0 B:", b);
        put("\u00b0 LA:", d.offsetCa);
        put("cm LB:", d.offsetCb);
        put("cm\r\nDP:", d.dp);
        put("cm BP:", d.bp);
        put("cm HP:", d.hp);
        put("cm LP:", d.lp);
        p += "cm";
    }

    std::string fmt(Fixed v) const { return formatFixed(v, m_sep); }
    // Rewrites a caption in place, so a keystroke does not allocate once the captions exist.
    void setCaption(std::string& caption, const char* prefix, Fixed value) const
    {
        caption.assign(prefix);
        appendFixed(caption, value, m_sep);
        caption += "cm";
    }

    const ModelInputs& m_m;
    CalcState& m_s;
    const DerivedMeasures& m_d;
    const char m_sep;
};

} // namespace

void UpdateFigureAndParams(const RecalcInputs& inputs, CalcState& state)
{
    FigureStep(inputs, state).run();
}

} // namespace kelvra
