#include "calc/RecalcSteps.h"

#include "calc/InputRules.h"

#include <array>
#include <cmath>

namespace kelvra
{

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

// The control of a text field, as a runtime error names it: "txtSize(3)" or "txtVother".
std::string boxName(std::string ModelInputs::*field)
{
    const ModelKey& key = textKeyOf(field);
    return key.control == kVotherControl ? "txtVother" : controlElementName("txtSize", key.control);
}

// Without one of these texts nothing is recalculated; the displacement and other volume may be empty.
constexpr std::array<std::string ModelInputs::*, 12> kRequiredTexts = {
    &ModelInputs::h2, &ModelInputs::l3,     &ModelInputs::b2,     &ModelInputs::ca,
    &ModelInputs::cb, &ModelInputs::lp,     &ModelInputs::dp,     &ModelInputs::bp,
    &ModelInputs::hp, &ModelInputs::thick0, &ModelInputs::thick1, &ModelInputs::thick2};
constexpr std::array<std::string ModelInputs::*, 3> kThicknessTexts = {
    &ModelInputs::thick0, &ModelInputs::thick1, &ModelInputs::thick2};

class VolumeSteps
{
public:
    VolumeSteps(const RecalcInputs& in, CalcState& state, RecalcOutcome& out)
        : m_in(in), m_m(in.model), m_s(state), m_d(state.derived), m_sep(in.decimalSeparator),
          m_tables(in.tables ? *in.tables : builtInTables()), m_out(out)
    {
    }

    // True when the steps reached the net volume without a stop.
    bool run()
    {
        if (!m_in.simulationOn)
            return false;
        for (const auto field : kRequiredTexts)
            if ((m_m.*field).empty())
                return false;
        steps();
        return m_reachedEnd;
    }

private:
    static const TextTables& builtInTables()
    {
        static const TextTables tables = ResetTextTables();
        return tables;
    }

    std::string fmt(Fixed v) const { return formatFixed(v, m_sep); }

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
            const auto field = kThicknessTexts[static_cast<std::size_t>(i)];
            KELVRA_READ(t, boxName(field), toInt16(m_m.*field, m_sep));
            m_d.thick[static_cast<std::size_t>(i)] = t;
        }
        KELVRA_READ(h2, boxName(&ModelInputs::h2), toFixed(m_m.h2, m_sep));
        m_d.h2 = h2;
        KELVRA_READ(l3, boxName(&ModelInputs::l3), toFixed(m_m.l3, m_sep));
        m_d.l3 = l3;
        KELVRA_READ(b2, boxName(&ModelInputs::b2), toFixed(m_m.b2, m_sep));
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

        KELVRA_READ(ca, boxName(&ModelInputs::ca), toFixed(m_m.ca, m_sep));
        KELVRA_TRY(angleCa, Fixed::fromDouble(ca.toDouble() * kPi / 180));
        m_d.angleCa = angleCa;
        KELVRA_READ(cb, boxName(&ModelInputs::cb), toFixed(m_m.cb, m_sep));
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
        KELVRA_READ(subvol, boxName(&ModelInputs::subvol), toFixed(m_m.subvol, m_sep));
        Fixed wooferVolume;
        if (subvol == Fixed()) {
            const double perWoofer = defaultWooferLitres(m_m.sub);
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

        KELVRA_READ(lp, boxName(&ModelInputs::lp), toFixed(m_m.lp, m_sep));
        m_d.lp = lp;
        KELVRA_READ(dp, boxName(&ModelInputs::dp), toFixed(m_m.dp, m_sep));
        m_d.dp = dp;
        KELVRA_READ(bp, boxName(&ModelInputs::bp), toFixed(m_m.bp, m_sep));
        m_d.bp = bp;
        KELVRA_READ(hp, boxName(&ModelInputs::hp), toFixed(m_m.hp, m_sep));
        m_d.hp = hp;

        FigureState& fig = m_s.figure;
        Fixed portVolume;
        if (m_m.pieces2 > 0) {
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

        KELVRA_READ(otherLitres, boxName(&ModelInputs::vother), toInt16(m_m.vother, m_sep));
        const Fixed otherVolume = Fixed::fromInt(std::int64_t(otherLitres) * 1000);

        KELVRA_TRY(a, innerVolume.minus(portVolume));
        KELVRA_TRY(b, a.minus(wooferVolume));
        KELVRA_TRY(c, b.minus(partitionVolume));
        KELVRA_TRY(air, c.minus(otherVolume));
        KELVRA_TRY(corrected, air.times(factor));
        KELVRA_TRY(classicNet, Fixed::fromDouble(roundHalfEven(corrected.toDouble() / 1000, 2)));
        m_out.classicNetVolume = classicNet;
        Fixed net = classicNet;
        if (m_in.exactNetVolume)
            if (const std::optional<double> exact = m_in.exactNetVolume(m_m, m_sep))
                if (const Result<Fixed> rounded = Fixed::fromDouble(roundHalfEven(*exact, 2)))
                    net = *rounded;
        m_out.netVolume = net;
        if (net < Fixed()) {
            stop({m_tables.messageBox[kMsgNegativeVolume], "Calculate Neg.", MessageIcon::Exclamation,
                  MessageButtons::Ok});
            return;
        }
        m_s.lblVolume += fmt(net) + " Liter";
        m_reachedEnd = true;
    }

    const RecalcInputs& m_in;
    const ModelInputs& m_m;
    CalcState& m_s;
    DerivedMeasures& m_d;
    const char m_sep;
    const TextTables& m_tables;
    RecalcOutcome& m_out;
    bool m_reachedEnd = false;
};

#undef KELVRA_TRY
#undef KELVRA_READ

} // namespace

bool RecalculateVolumes(const RecalcInputs& inputs, CalcState& state, RecalcOutcome& outcome)
{
    return VolumeSteps(inputs, state, outcome).run();
}

} // namespace kelvra
