#include "Recalculate.h"

#include "Version.h"
#include "calc/InputRules.h"

#include <cmath>

namespace kelvra
{

const char* iconName(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Information:
        return "information";
    case MessageIcon::Exclamation:
        return "exclamation";
    case MessageIcon::Critical:
        return "critical";
    case MessageIcon::None:
        break;
    }
    return "none";
}

std::string programTitle()
{
    return programVersion().title;
}

RecalcInputs makeRecalcInputs(const ModelInputs& model, bool simulationOn, char decimalSeparator,
                              const TextTables* tables)
{
    RecalcInputs in;
    in.model = model;
    in.sizeText = sizeEntryText(model.sub);
    for (int i = 0; i < 3; ++i)
        in.piecesText[static_cast<std::size_t>(i)] =
            piecesEntryText(i, model.pieces[static_cast<std::size_t>(i)]);
    in.simulationOn = simulationOn;
    in.decimalSeparator = decimalSeparator;
    in.tables = tables;
    return in;
}

namespace
{

// pi is 3.14 throughout the calculator, also for the round-port area.
constexpr double kPi = 3.14;

// Unwraps a Result or leaves the recalculation through the runtime-error handler.
#define KELVRA_TRY(var, expr)                                                                                \
    auto var##Result_ = (expr);                                                                              \
    if (!var##Result_)                                                                                       \
        return runtimeError(var##Result_.error());                                                           \
    const auto var = *var##Result_;

// The same for a conversion of an input box's text, remembering the box when its text does not read.
#define KELVRA_READ(var, control, expr)                                                                      \
    auto var##Result_ = (expr);                                                                              \
    if (!var##Result_) {                                                                                     \
        m_out.unreadControl = (control);                                                                     \
        return runtimeError(var##Result_.error());                                                           \
    }                                                                                                        \
    const auto var = *var##Result_;

std::string boxName(int index)
{
    return "txtSize(" + std::to_string(index) + ")";
}

class Recalculation
{
public:
    Recalculation(const RecalcInputs& in, CalcState& state)
        : m_in(in), m_m(in.model), m_s(state), m_d(state.derived), m_sep(in.decimalSeparator),
          m_tables(in.tables ? *in.tables : builtInTables())
    {
    }

    RecalcOutcome run()
    {
        if (!m_in.simulationOn)
            return std::move(m_out);
        for (int i = 0; i < 12; ++i)
            if (m_m.txtSize[static_cast<std::size_t>(i)].empty())
                return std::move(m_out);
        steps();
        return std::move(m_out);
    }

private:
    static const TextTables& builtInTables()
    {
        static const TextTables tables = ResetTextTables();
        return tables;
    }

    const std::string& txt(int i) const { return m_m.txtSize[static_cast<std::size_t>(i)]; }
    std::string fmt(Fixed v) const { return formatFixed(v, m_sep); }
    // Rewrites a caption in place, so a keystroke does not allocate once the captions exist.
    void setCaption(std::string& caption, const char* prefix, Fixed value) const
    {
        caption.assign(prefix);
        appendFixed(caption, value, m_sep);
        caption += "cm";
    }

    void stop(Message message)
    {
        m_out.messages.push_back(std::move(message));
        m_out.switchSimulationOff = true;
    }

    void runtimeError(const CalcError& e)
    {
        stop({"There has been a error [" + std::to_string(e.number) + "]:\r\n" + e.description,
              programTitle(), MessageIcon::None, MessageButtons::Ok});
    }

    void steps()
    {
        // Board thicknesses, then the outer measures.
        for (int i = 0; i < 3; ++i) {
            KELVRA_READ(t, boxName(9 + i), toInt16(txt(9 + i), m_sep));
            m_d.thick[static_cast<std::size_t>(i)] = t;
        }
        KELVRA_READ(h2, boxName(0), toFixed(txt(0), m_sep));
        m_d.h2 = h2;
        KELVRA_READ(l3, boxName(1), toFixed(txt(1), m_sep));
        m_d.l3 = l3;
        KELVRA_READ(b2, boxName(2), toFixed(txt(2), m_sep));
        m_d.b2 = b2;

        // The double board thickness is a 16-bit product, so a huge thickness overflows here.
        KELVRA_TRY(doubleThick, int16Times(2, m_d.thick[0]));
        KELVRA_TRY(twoT, Fixed::fromDouble(double(doubleThick) / 10));
        KELVRA_TRY(innerHeight, h2.minus(twoT));
        m_d.innerHeight = innerHeight;
        KELVRA_TRY(innerLength, l3.minus(twoT));
        m_d.innerLength = innerLength;
        KELVRA_TRY(innerWidth, b2.minus(twoT));
        m_d.innerWidth = innerWidth;

        KELVRA_READ(ca, boxName(3), toFixed(txt(3), m_sep));
        KELVRA_TRY(angleCa, Fixed::fromDouble(ca.toDouble() * kPi / 180));
        m_d.angleCa = angleCa;
        KELVRA_READ(cb, boxName(4), toFixed(txt(4), m_sep));
        KELVRA_TRY(angleCb, Fixed::fromDouble(cb.toDouble() * kPi / 180));
        m_d.angleCb = angleCb;

        const double ih = innerHeight.toDouble();
        const double tanCa = std::tan(angleCa.toDouble());
        const double tanCb = std::tan(angleCb.toDouble());
        const double sinCa = std::sin(angleCa.toDouble());
        const double sinCb = std::sin(angleCb.toDouble());

        KELVRA_TRY(halfRuns, Fixed::fromDouble(0.5 * (ih / tanCb + ih / tanCa)));
        KELVRA_TRY(meanInnerWidth, innerWidth.minus(halfRuns));
        m_d.meanInnerWidth = meanInnerWidth;

        // Both widths start from the outer b2, with the inner height.
        KELVRA_TRY(runs, Fixed::fromDouble(ih / tanCb + ih / tanCa));
        KELVRA_TRY(top, b2.minus(runs));
        m_d.topWidth = top.rounded(1);
        m_d.bottomWidth = b2.rounded(1);

        KELVRA_TRY(slantCa, Fixed::fromDouble(roundHalfEven(ih / sinCa, 1)));
        m_d.slantCa = slantCa;
        KELVRA_TRY(slantCb, Fixed::fromDouble(roundHalfEven(ih / sinCb, 1)));
        m_d.slantCb = slantCb;
        KELVRA_TRY(offsetCa, Fixed::fromDouble(roundHalfEven(ih / tanCa, 1)));
        m_d.offsetCa = offsetCa;
        KELVRA_TRY(offsetCb, Fixed::fromDouble(roundHalfEven(ih / tanCb, 1)));
        m_d.offsetCb = offsetCb;

        const double t0 = m_d.thick[0];
        KELVRA_TRY(partitionThick, Fixed::fromDouble((t0 / sinCa + t0 / sinCb) / 10));
        KELVRA_TRY(partitionWidth, meanInnerWidth.minus(partitionThick));
        m_d.partitionWidth = partitionWidth;

        // Woofer volume: the maker's volume is that of all woofers together.
        KELVRA_READ(subvol, boxName(12), toFixed(txt(12), m_sep));
        Fixed wooferVolume;
        if (subvol == Fixed()) {
            static constexpr std::array<double, 6> kDisplacement = {1, 1.5, 2, 3, 5, 7};
            const double perWoofer =
                (m_m.sub >= 0 && m_m.sub < 6) ? kDisplacement[static_cast<std::size_t>(m_m.sub)] : 0;
            KELVRA_TRY(count, toInt16(m_in.piecesText[0], m_sep));
            KELVRA_TRY(w, Fixed::fromDouble(perWoofer * count * 1000));
            wooferVolume = w;
        } else {
            KELVRA_TRY(w, subvol.times(Fixed::fromInt(1000)));
            wooferVolume = w;
        }

        // Front-plate check against the inner height.
        std::string inches;
        for (char c : m_in.sizeText)
            if (c != '"')
                inches += c;
        KELVRA_TRY(diameterInches, toInt16(inches, m_sep));
        const double diameter = diameterInches * 2.54;
        if (!wooferFitsHeight(diameter, innerHeight.toDouble())) {
            stop({m_tables.messageBox[kMsgSubTooBig], "Error: sub size", MessageIcon::Exclamation,
                  MessageButtons::Ok});
            return;
        }

        KELVRA_TRY(factor, Fixed::fromDouble(m_m.corr / 10.0 + 1));

        KELVRA_READ(lp, boxName(5), toFixed(txt(5), m_sep));
        m_d.lp = lp;
        KELVRA_READ(dp, boxName(6), toFixed(txt(6), m_sep));
        m_d.dp = dp;
        KELVRA_READ(bp, boxName(7), toFixed(txt(7), m_sep));
        m_d.bp = bp;
        KELVRA_READ(hp, boxName(8), toFixed(txt(8), m_sep));
        m_d.hp = hp;

        FigureState& fig = m_s.figure;
        Fixed portVolume;
        if (m_m.pieces[2] > 0) {
            KELVRA_TRY(n, toInt16(m_in.piecesText[2], m_sep));
            KELVRA_TRY(portBoard, Fixed::fromDouble(m_d.thick[2] / 10.0));
            KELVRA_TRY(p, portBoard.plus(lp));
            if (m_m.ptype == 0) {
                KELVRA_TRY(pd, p.times(dp));
                KELVRA_TRY(pdd, pd.times(dp));
                KELVRA_TRY(v, Fixed::fromDouble(double(n) * pdd.toDouble() * (kPi / 4)));
                portVolume = v;
            } else {
                KELVRA_TRY(pb, p.times(bp));
                KELVRA_TRY(pbh, pb.times(hp));
                KELVRA_TRY(v, pbh.times(Fixed::fromInt(n)));
                portVolume = v;
            }
            ApplyPortTypeLabels(fig, m_m.ptype);
        }

        for (auto& l : fig.lblB1)
            l.visible = false;
        fig.lblL3[1].visible = false;
        fig.lblL4[1].visible = false;
        fig.lblL4[2].visible = false;
        Fixed innerVolume;
        const bool block = angleCa == kRightAngle && angleCb == kRightAngle;
        if (block) {
            for (auto& l : fig.lblB1)
                l.visible = true;
            KELVRA_TRY(lh, innerLength.times(innerHeight));
            KELVRA_TRY(v, lh.times(innerWidth));
            innerVolume = v;
            m_d.topWidth = m_d.bottomWidth;
        } else {
            fig.lblL3[1].visible = true;
            fig.lblL4[1].visible = true;
            fig.lblL4[2].visible = true;
            KELVRA_TRY(widths, m_d.bottomWidth.plus(m_d.topWidth));
            KELVRA_TRY(area2, widths.times(innerHeight));
            KELVRA_TRY(v, Fixed::fromDouble(innerLength.toDouble() * (area2.toDouble() / 2)));
            innerVolume = v;
        }

        // The outer volume is that of the enclosing block, whatever the angles.
        const double outer =
            roundHalfEven((l3.toDouble() / 10) * (h2.toDouble() / 10) * (b2.toDouble() / 10), 1);
        m_s.lblVolumeOut = "Outer Volume: " + formatDouble(outer, m_sep) + " Liter";
        m_s.lblVolume = std::string(m_m.corr == 0 ? "Intern Volume:" : "Virtueel volume ") + "\r\n";

        KELVRA_TRY(partitions, toInt16(m_in.piecesText[1], m_sep));
        KELVRA_TRY(partitionBoard, int16Times(partitions, m_d.thick[1]));
        KELVRA_TRY(partitionVolume, Fixed::fromDouble(partitionBoard / 10.0 * partitionWidth.toDouble() *
                                                      m_d.slantCb.toDouble()));

        KELVRA_READ(otherLitres, "txtVother", toInt16(m_m.txtVother, m_sep));
        const Fixed otherVolume = Fixed::fromInt(std::int64_t(otherLitres) * 1000);

        KELVRA_TRY(a, innerVolume.minus(portVolume));
        KELVRA_TRY(b, a.minus(wooferVolume));
        KELVRA_TRY(c, b.minus(partitionVolume));
        KELVRA_TRY(air, c.minus(otherVolume));
        KELVRA_TRY(corrected, air.times(factor));
        KELVRA_TRY(net, Fixed::fromDouble(roundHalfEven(corrected.toDouble() / 1000, 2)));
        m_out.netVolume = net;
        if (const auto taken = innerVolume.minus(air))
            m_out.deductions = *taken;
        if (net < Fixed()) {
            stop({m_tables.messageBox[kMsgNegativeVolume], "Calculate Neg.", MessageIcon::Exclamation,
                  MessageButtons::Ok});
            return;
        }
        m_s.lblVolume += fmt(net) + " Liter";

        updateFigure(twoT);
        m_out.ranToEnd = true;
    }

    void updateFigure(Fixed twoT)
    {
        FigureState& fig = m_s.figure;
        const DerivedMeasures& d = m_d;
        const bool rearRight = d.angleCa == kRightAngle;
        const bool frontRight = d.angleCb == kRightAngle;
        fig.lblH3[0].visible = !rearRight;
        fig.lblH2[0].visible = rearRight;
        fig.lblH4[0].visible = !frontRight;
        fig.lblH2[1].visible = frontRight;

        // h2 minus the stored thickness cannot overflow here: innerHeight was formed the same way.
        const Fixed figureHeight = *d.h2.minus(twoT);
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

    void placePort(Fixed figureHeight)
    {
        FigureState& fig = m_s.figure;
        const DerivedMeasures& d = m_d;
        if (m_m.pieces[2] <= 0) {
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
        const Fixed a = *toFixed(txt(3), m_sep);
        const Fixed b = *toFixed(txt(4), m_sep);
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

    const RecalcInputs& m_in;
    const ModelInputs& m_m;
    CalcState& m_s;
    DerivedMeasures& m_d;
    const char m_sep;
    const TextTables& m_tables;
    RecalcOutcome m_out;
};

#undef KELVRA_TRY
#undef KELVRA_READ

} // namespace

RecalcOutcome Recalculate(const RecalcInputs& inputs, CalcState& state)
{
    return Recalculation(inputs, state).run();
}

RecalcResult Recalculate(const RecalcInputs& inputs, const CalcState& previous)
{
    RecalcResult r{previous, {}};
    r.outcome = Recalculate(inputs, r.state);
    return r;
}

} // namespace kelvra
