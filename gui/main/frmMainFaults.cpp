// The recalculation as the main window runs it: a fault found while the user types waits in red in the
// result area; the design's message box and its effect come when the entry is finished.
#include "gui/common/Refusals.h"
#include "gui/main/frmMain.h"

#include "boards/Boards.h"
#include "boards/InputFaults.h"
#include "gui/common/MessageService.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>

namespace kelvra
{

namespace
{

// A stop of the recalculation whose text only the developer could read.
bool isRuntimeError(const Message& m)
{
    return m.text.rfind("There has been a error [", 0) == 0;
}

// The input box of a model key: "txtSize(3)", "txtVother"; empty for none.
std::string controlOfKey(const std::string& name)
{
    const ModelKey* key = name.empty() ? nullptr : findModelKey(name);
    if (!key || key->kind != KeyKind::Text)
        return {};
    return key->control == kVotherControl ? std::string("txtVother")
                                          : controlElementName("txtSize", key->control);
}

} // namespace

std::string frmMain::faultWithBox(const std::string& text, const std::string& control) const
{
    const auto* box = lookup(control, std::nullopt);
    const auto it = box ? m_captionOf.find(box) : m_captionOf.end();
    if (it == m_captionOf.end())
        return text;
    return text + " " +
           withFigures(refusalSentence(m_app->tables, kRefuseLookAtBox), {toStdString(it->second->text())});
}

void frmMain::recalculate(RecalcTrigger trigger)
{
    if (!m_app->simulationOn) {
        showFault({});
        emit designChanged(); // the sound window still follows an opened project's woofer
        return;
    }
    RecalcInputs in =
        makeRecalcInputs(m_app->inputs, m_app->simulationOn, m_app->decimalSeparator, &m_app->tables);
    in.exactNetVolume = &exactNetVolume;
    RecalcOutcome out = Recalculate(in, m_app->calc);
    applyCalc();

    // The design's own messages keep their texts and titles; a stop that would only show an error
    // number, a measure read wrongly as a too big woofer, and a box that cannot be built are said in
    // plain words with the box that holds them.
    std::string fault;
    const auto plain = findInputFault(m_app->inputs, m_app->decimalSeparator, refusalWords(m_app->tables));
    const std::string plainText = plain ? faultWithBox(plain->text, controlOfKey(plain->key)) : std::string();
    for (Message& m : out.messages) {
        if (!out.unreadControl.empty() && isRuntimeError(m)) {
            const auto* box = qobject_cast<QLineEdit*>(lookup(out.unreadControl, std::nullopt));
            m.text = faultWithBox(withFigures(refusalSentence(m_app->tables, kRefuseNotANumber),
                                              {box ? toStdString(box->text()) : std::string()}),
                                  out.unreadControl);
        } else if (plain && (isRuntimeError(m) || m.title == "Error: sub size")) {
            m.text = plainText;
        } else if (isRuntimeError(m)) {
            m.text = refusalSentence(m_app->tables, kRefuseTooLargeToCalc);
        }
    }
    if (!out.messages.empty())
        fault = out.messages.front().text;
    else if (plain)
        fault = plainText; // the classic figures stand, but the box cannot be built like this

    emit designChanged();
    if (trigger == RecalcTrigger::Typing || !out.switchSimulationOff) {
        showFault(fault);
        return;
    }
    showFault({});
    for (const Message& m : out.messages)
        messageService().show(this, m);
    if (m_app->simulationOn)
        buttonHandler(ShowButton::Simulation);
    // The box itself shows which one is meant until its text changes.
    if (auto* box = qobject_cast<QLineEdit*>(lookup(out.unreadControl, std::nullopt))) {
        markUnread(box, true);
        box->setFocus(Qt::OtherFocusReason);
    }
}

void frmMain::showFault(const std::string& text)
{
    m_lblFault->setVisible(!text.empty());
    m_lblVolumeOut->setVisible(text.empty());
    m_lblVolume->setVisible(text.empty());
    if (text.empty())
        return;
    m_lblFault->setText(toQString(text).replace(QStringLiteral("\r\n"), QStringLiteral(" ")));
    // A long message takes a smaller font rather than being cut off.
    QFont f = font();
    f.setPointSizeF(8);
    while (f.pointSizeF() > 5.5) {
        const QRect need = QFontMetrics(f).boundingRect(QRect(0, 0, m_lblFault->width(), 10000),
                                                        Qt::TextWordWrap, m_lblFault->text());
        if (need.height() <= m_lblFault->height())
            break;
        f.setPointSizeF(f.pointSizeF() - 0.5);
    }
    m_lblFault->setFont(f);
}

} // namespace kelvra
