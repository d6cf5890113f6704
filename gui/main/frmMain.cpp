#include "gui/main/frmMain.h"

#include "boards/Boards.h"

#include "calc/InputRules.h"
#include "gui/common/ExternalPrograms.h"
#include "gui/common/MessageService.h"
#include "gui/common/Twips.h"
#include "gui/info/frmHistory.h"
#include "gui/info/frminfo.h"
#include "gui/lang/frmOptions.h"
#include "gui/layouter/frmLayout.h"
#include "gui/main/FigurePicture.h"
#include "gui/main/FitLabel.h"
#include "gui/main/PanelPicture.h"
#include "gui/main/frm3d.h"
#include "gui/print/frmPrint.h"
#include "gui/project/frmDialog.h"
#include "gui/sound/frmSound.h"
#include "info/Version.h"

#include <QAction>
#include <QComboBox>
#include <QFocusEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>

#include <memory>
#include <vector>

namespace kelvra
{

namespace
{

// One labelled input row inside a frame; rows are 360 twips apart from 240 down.
struct Row {
    const char* caption;
    const char* unit;                // nullptr: a list, no unit
    std::string ModelInputs::*field; // nullptr: a list
};

QString vbColourStyle(int bgr)
{
    return QStringLiteral("background-color: rgb(%1,%2,%3);")
        .arg(bgr & 0xFF)
        .arg((bgr >> 8) & 0xFF)
        .arg((bgr >> 16) & 0xFF);
}

// Which measure of the figure a box gives, named with the box's caption, so length and width cannot be
// mixed up.
const char* figureHint(std::string ModelInputs::*field)
{
    static const std::pair<std::string ModelInputs::*, const char*> hints[] = {
        {&ModelInputs::h2, "Hoogte / Height, outside; H2 on the figure is the inside height"},
        {&ModelInputs::l3, "B2 = Lengte onderzijde / Bottom length, the front's width from side to side"},
        {&ModelInputs::b2, "L3 = Breedte / Width, the floor edge of the side"},
        {&ModelInputs::ca, "H3 = the rear panel, at Hoek achterbank / Rear-seat angle (90 = upright)"},
        {&ModelInputs::cb, "H4 = the front panel, at Hoek voorzijde / Front angle (90 = upright)"},
        {&ModelInputs::lp, "LP = Lengte / Length of the port"},
        {&ModelInputs::dp, "DP = Diameter of a round port"},
        {&ModelInputs::bp, "BP = Breedte / Width of a rectangular port"},
        {&ModelInputs::hp, "HP = Hoogte / Height of a rectangular port"}};
    for (const auto& [f, hint] : hints)
        if (f == field)
            return hint;
    return nullptr;
}

double frameWidth(const QWidget* frame)
{
    return pixelsToTwips(frame->width());
}

constexpr int kGreen = 65280;
constexpr int kRed = 255;

} // namespace

frmMain::frmMain(AppPaths paths, char decimalSeparator, QWidget* parent)
    : QMainWindow(parent), m_app(std::make_unique<AppState>(std::move(paths), decimalSeparator))
{
    setObjectName("frmMain");
    setWindowTitle(toQString(TitleString(m_app->editionStatus, m_app->betaBuild)));
    m_app->calc.figure = firstDrawing();
    buildControls();
    buildMenus();
    fillLists();
    startUp();
}

frmMain::~frmMain() = default;

void frmMain::registerControl(const std::string& key, QWidget* widget)
{
    widget->setObjectName(toQString(key));
    m_controls[key] = widget;
}

void frmMain::buildControls()
{
    auto* central = new QWidget(this);
    central->setObjectName("frmMainClient");
    central->setFixedSize(twipsToPixels(8175), twipsToPixels(8655));
    // The design metrics are those of an 8 point dialog font; captions that are still too wide shrink.
    QFont designFont = central->font();
    designFont.setPointSizeF(8);
    central->setFont(designFont);
    setCentralWidget(central);

    auto frame = [&](const char* name, const char* title, QRect r) {
        auto* g = new QGroupBox(QString::fromUtf8(title), central);
        g->setGeometry(r);
        registerControl(name, g);
        return g;
    };
    QGroupBox* fraInfo = frame("fraInfo", "Algemene informatie", twipRect(120, 120, 2535, 2415));
    QGroupBox* fraCorrection = frame("fraCorrection", "Correctie Volume", twipRect(2760, 120, 2655, 2055));
    QGroupBox* fraPort = frame("fraPort", "Poort Volume", twipRect(5520, 120, 2535, 3375));
    QGroupBox* fraWoofer = frame("fraWoofer", "Woofer Volume", twipRect(120, 2640, 2535, 1335));
    QGroupBox* fraResult = frame("fraResult", "Resultaat", twipRect(2760, 2280, 2655, 1215));

    int labelCount = 0;
    // Lays out caption, box and unit in rows; the lefts and widths are twips inside the frame.
    auto rows = [&](QGroupBox* g, std::initializer_list<Row> list, int boxLeft, int textWidth, int listLeft,
                    int listWidth, std::initializer_list<QComboBox**> lists) {
        auto listIt = lists.begin();
        int top = 240;
        for (const Row& r : list) {
            auto* caption = new FitLabel(QString::fromUtf8(r.caption), g);
            caption->setGeometry(twipRect(90, top, boxLeft - 120, 285));
            registerControl(controlElementName("Label1", labelCount++), caption);
            if (r.field) {
                auto* box = new QLineEdit(g);
                m_captionOf[box] = caption;
                // Only lengths run to whole inches and sixteenths; thicknesses stay short fractions.
                box->setProperty("longInInches", quantityOfKey(textKeyOf(r.field).name) == Quantity::Length);
                box->setGeometry(twipRect(boxLeft, top, textWidth, 285));
                const int i = textKeyOf(r.field).control;
                if (i == kVotherControl) {
                    m_txtVother = box;
                    registerControl("txtVother", box);
                } else {
                    m_txtSize[static_cast<std::size_t>(i)] = box;
                    registerControl(controlElementName("txtSize", i), box);
                }
                const auto field = r.field;
                connect(box, &QLineEdit::textChanged, this, [this, box, field](const QString& t) {
                    markUnread(box, false);
                    fitLineEditFont(box);
                    m_app->inputs.*field = modelTextOf(box, textKeyOf(field), t);
                    // setText clears the modified flag: only a keystroke counts as typing.
                    recalculate(box->isModified() ? RecalcTrigger::Typing : RecalcTrigger::Commit);
                });
                connect(box, &QLineEdit::returnPressed, this, [this] { runRecalculate(); });
                if (field == &ModelInputs::thick0 || field == &ModelInputs::thick1 ||
                    field == &ModelInputs::thick2)
                    box->setToolTip(QStringLiteral("Standard: 9, 12, 18, 22, 30 "));
                else if (const char* hint = figureHint(field))
                    box->setToolTip(QString::fromUtf8(hint));
                const int unitLeft = boxLeft + textWidth + 45;
                auto* unit = new FitLabel(QString::fromUtf8(r.unit), g);
                unit->setGeometry(twipRect(unitLeft, top, frameWidth(g) - unitLeft - 45, 285));
                registerControl(controlElementName("lblUnit", labelCount - 1), unit);
                box->setProperty("unitLabel", QVariant::fromValue(static_cast<QObject*>(unit)));
                m_unitLabels.emplace_back(quantityOfKey(textKeyOf(field).name), unit);
            } else {
                auto* box = new QComboBox(g);
                box->setGeometry(twipRect(listLeft, top, listWidth, 315));
                caption->resize(twipsToPixels(listLeft - 120), caption->height());
                box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
                **listIt = box;
                ++listIt;
            }
            top += 360;
        }
    };

    rows(fraInfo,
         {{"Hoogte", "cm", &ModelInputs::h2},
          {"Lengte onderzijde", "cm", &ModelInputs::l3},
          {"Breedte", "cm", &ModelInputs::b2},
          {"Hoek achterbank", "°", &ModelInputs::ca},
          {"Hoek voorzijde", "°", &ModelInputs::cb},
          {"Plankdikte", "mm", &ModelInputs::thick0}},
         1500, 615, 0, 0, {});
    rows(fraWoofer,
         {{"Sub grote", nullptr, nullptr},
          {"Aantal", nullptr, nullptr},
          {"Fabrikant volume", "Liter", &ModelInputs::subvol}},
         1500, 615, 1500, 735, {&m_cmbSize, &m_cmbPieces[static_cast<std::size_t>(CountList::Woofers)]});
    rows(fraCorrection,
         {{"Tussenwand Aantal", nullptr, nullptr},
          {"Tussenwand Plankdikte", "mm", &ModelInputs::thick1},
          {"Volume overige", "Liter", &ModelInputs::vother},
          {"Correctie factor", nullptr, nullptr}},
         1620, 615, 1620, 945,
         {&m_cmbPieces[static_cast<std::size_t>(CountList::Partitions)], &m_cmbCorrection});
    // The correction entries are long words: their list gets the free row below its caption.
    m_cmbCorrection->setGeometry(twipRect(390, 1680, 2175, 315));
    m_controls.at(controlElementName("Label1", labelCount - 1))->setGeometry(twipRect(90, 1320, 2475, 285));
    rows(fraPort,
         {{"Aantal", nullptr, nullptr},
          {"Type", nullptr, nullptr},
          {"Waar", nullptr, nullptr},
          {"Lengte", "cm", &ModelInputs::lp},
          {"Diameter", "cm", &ModelInputs::dp},
          {"Breedte", "cm", &ModelInputs::bp},
          {"Hoogte", "cm", &ModelInputs::hp},
          {"Plankdikte", "mm", &ModelInputs::thick2}},
         1080, 615, 720, 1695,
         {&m_cmbPieces[static_cast<std::size_t>(CountList::Ports)], &m_cmbPortType, &m_cmbPortWhere});

    registerControl("cmbSize", m_cmbSize);
    registerControl("cmbCorrection", m_cmbCorrection);
    registerControl("cmbPortWhere", m_cmbPortWhere);
    registerControl("cmbPortType", m_cmbPortType);
    for (int i = 0; i < 3; ++i)
        registerControl(controlElementName("cmbPieces", i), m_cmbPieces[static_cast<std::size_t>(i)]);

    // A list change keeps the mirror current before its handler reads it.
    auto onList = [this](QComboBox* box, auto handler) {
        connect(box, &QComboBox::currentIndexChanged, this, handler);
    };
    onList(m_cmbSize, [this](int p) {
        m_app->inputs.sub = p;
        wooferSizeHandler();
    });
    for (int i = 0; i < 3; ++i)
        onList(m_cmbPieces[static_cast<std::size_t>(i)], [this, i](int p) {
            m_app->inputs.*(piecesKey(i)->list) = p;
            countHandler(static_cast<CountList>(i));
        });
    onList(m_cmbCorrection, [this](int p) {
        m_app->inputs.corr = p;
        runRecalculate();
    });
    onList(m_cmbPortWhere, [this](int p) {
        m_app->inputs.pwhere = p;
        runRecalculate();
    });
    onList(m_cmbPortType, [this](int p) {
        m_app->inputs.ptype = p;
        portTypeHandler();
    });

    m_lblVolumeOut = new FitLabel(QString(), fraResult); // cubic feet with litres in brackets run long
    m_lblVolumeOut->setGeometry(twipRect(120, 240, 2415, 315));
    m_lblVolumeOut->setToolTip(QString::fromUtf8("Dit is wat de box zal innemen in de wagen"));
    registerControl("lblVolumeOut", m_lblVolumeOut);
    m_lblVolume = new QLabel(fraResult);
    m_lblVolume->setGeometry(twipRect(120, 570, 2415, 555));
    m_lblVolume->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_lblVolume->setToolTip(QString::fromUtf8("Dit is het volume dat de sub ziet"));
    registerControl("lblVolume", m_lblVolume);
    m_lblFault = new QLabel(fraResult);
    m_lblFault->setGeometry(twipRect(120, 240, 2415, 885));
    m_lblFault->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_lblFault->setWordWrap(true);
    m_lblFault->setStyleSheet(QStringLiteral("color: rgb(255,0,0);"));
    m_lblFault->hide();
    m_lblFault->setObjectName("lblFault");

    const std::array<const char*, 3> captions{"Toon Meet Figuur", "Toon Params", "Simulatie"};
    const std::array<QRect, 3> places{twipRect(6240, 3600, 1815, 375), twipRect(4560, 3600, 1575, 375),
                                      twipRect(2880, 3600, 1575, 375)};
    for (int i = 0; i < 3; ++i) {
        auto* b = new QPushButton(QString::fromUtf8(captions[static_cast<std::size_t>(i)]), central);
        b->setGeometry(places[static_cast<std::size_t>(i)]);
        fitButtonFont(b);
        registerControl(controlElementName("cmdShow", i), b);
        m_cmdShow[static_cast<std::size_t>(i)] = b;
        connect(b, &QPushButton::clicked, this, [this, i] { buttonHandler(static_cast<ShowButton>(i)); });
    }

    m_picture = new PanelPicture(central);
    m_picture->setGeometry(twipRect(0, 4080, 8175, 4575));
    m_figure = new FigurePicture(central);
    m_figure->setGeometry(twipRect(0, 8640, 8205, 4020));
    // The figure slides over the input groups only: the three buttons stay on top of it, so the
    // button that brings it back can still be clicked.
    m_figure->raise();
    for (QPushButton* b : m_cmdShow)
        b->raise();
    m_controls["Picture1"] = m_picture;
    m_controls["picFigure"] = m_figure;

    wireFocusEvents();
    applyCalc();
}

void frmMain::onFocus(QWidget* control, bool onGot, bool onLost, std::function<void()> handler)
{
    m_focusActions[control] = FocusAction{onGot, onLost, std::move(handler)};
    control->installEventFilter(this);
}

void frmMain::wireFocusEvents()
{
    // Moving through the fields recalculates on leaving one and entering the next, like a change.
    auto recalcText = [this](QLineEdit* box, std::string& mirror) {
        return [this, box, &mirror] {
            mirror = toStdString(box->text());
            runRecalculate();
        };
    };
    for (const ModelKey& key : modelKeys())
        if (key.kind == KeyKind::Text)
            onFocus(inputBox(key), true, true, recalcText(inputBox(key), textOf(m_app->inputs, key)));
    onFocus(m_cmbCorrection, true, true, [this] { runRecalculate(); });
    onFocus(m_cmbPortWhere, false, true, [this] { runRecalculate(); });
    onFocus(m_cmbSize, true, true, [this] { wooferSizeHandler(); });
    for (int i = 0; i < 3; ++i)
        onFocus(m_cmbPieces[static_cast<std::size_t>(i)], true, true,
                [this, i] { countHandler(static_cast<CountList>(i)); });
}

bool frmMain::eventFilter(QObject* watched, QEvent* event)
{
    const bool got = event->type() == QEvent::FocusIn;
    if (got || event->type() == QEvent::FocusOut) {
        const auto it = m_focusActions.find(watched);
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Focus that only follows the window (a message box opening or closing, another window
        // activated) or a list's popup is not the user moving between fields; handling it would let a
        // refusing handler's own message box trigger it again without end.
        const bool userMove = reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
        if (it != m_focusActions.end() && userMove && (got ? it->second.onGot : it->second.onLost))
            it->second.handler();
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::buildMenus()
{
    auto item = [this](QMenu* menu, const char* name, const char* caption, QKeySequence key, auto slot) {
        QAction* a = menu->addAction(QString::fromUtf8(caption));
        a->setObjectName(QString::fromUtf8(name));
        a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    auto separator = [](QMenu* menu, const char* name) {
        menu->addSeparator()->setObjectName(name);
    };

    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName("mnuFile");
    item(file, "mnuFileNOS(0)", "New", QKeySequence(Qt::CTRL | Qt::Key_N), [this] { fileNew(); });
    item(file, "mnuFileNOS(1)", "Open", QKeySequence(Qt::CTRL | Qt::Key_O), [this] { fileOpen(); });
    item(file, "mnuFileNOS(2)", "Save", QKeySequence(Qt::CTRL | Qt::Key_S), [this] { fileSave(); });
    item(file, "mnuFileNOS(3)", "Save as...", QKeySequence(), [this] { fileSaveAs(); });
    separator(file, "mnuFileS1");
    item(file, "mnuFileSim", "Simulatie", QKeySequence(Qt::Key_F5),
         [this] { buttonHandler(ShowButton::Simulation); });
    // Greyed outside simulation mode, like the commands that refuse there.
    item(file, "mnuFile3d", "&3D Box", QKeySequence(), [this] { open3d(); })->setEnabled(false);
    item(file, "mnuFilePanel", "Panel &Layout", QKeySequence(Qt::CTRL | Qt::Key_L),
         [this] { openLayouter(); });
    item(file, "mnuFileBoards", "&Planken", QKeySequence(Qt::CTRL | Qt::Key_B), [this] { openBoards(); });
    item(file, "mnuFileSound", "Hoe het zal &klinken...", QKeySequence(Qt::Key_F7), [this] { openSound(); });
    item(file, "mnuFileFit", "Past het in mijn &kofferbak...", QKeySequence(Qt::Key_F8),
         [this] { openFit(); });
    separator(file, "mnuFileS2");
    item(file, "mnuFileSettings", "Settings", QKeySequence(), [this] { openOptions(); });
    item(file, "mnuFilePrint", "&Print", QKeySequence(Qt::CTRL | Qt::Key_P), [this] { openPrint(); });
    separator(file, "mnuFileS0");
    item(file, "mnuFileExit", "&Exit", QKeySequence(), [this] { close(); });

    QMenu* win = menuBar()->addMenu(QStringLiteral("Window"));
    win->setObjectName("mnuWindow");
    item(win, "mnuWindowReset", "Reset", QKeySequence(), [this] { windowReset(); });

    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName("mnuHelp");
    item(help, "mnuHelpFile", "&Help", QKeySequence(Qt::Key_F1), [] {})->setEnabled(false);
    item(help, "mnuHelpHistory", "H&istory", QKeySequence(), [this] { openHistory(); });
    item(help, "mnuHelpUpdate", "&Update site", QKeySequence(), [] { openUpdateSite(); });
    item(help, "mnuHelpTopic", "&Program topic (Dutch)", QKeySequence(), [] { openProgramTopic(); });
    item(help, "mnuHelpCalc", "Open &Calculator", QKeySequence(), [] { openCalculator(); });
    separator(help, "mnuHelpS0");
    item(help, "mnuHelpAbout", "&About", QKeySequence(), [this] { openAbout(); });
    resize(twipsToPixels(8175), twipsToPixels(8655) + menuBar()->sizeHint().height());
}

void frmMain::fillLists()
{
    // Filling selects entry 0, which must not overwrite the inputs still to be shown.
    std::vector<std::unique_ptr<QSignalBlocker>> blocks;
    for (QComboBox* b : {m_cmbSize, m_cmbPieces[0], m_cmbPieces[1], m_cmbPieces[2]})
        blocks.push_back(std::make_unique<QSignalBlocker>(b));
    for (std::string_view e : kSizeEntries)
        m_cmbSize->addItem(toQString(std::string(e)));
    for (int l = 0; l < 3; ++l)
        for (int p = 0; p < kPiecesCount[static_cast<std::size_t>(l)]; ++p)
            m_cmbPieces[static_cast<std::size_t>(l)]->addItem(toQString(piecesEntryText(l, p)));
    refillTextLists();
}

void frmMain::refillTextLists()
{
    auto refill = [](QComboBox* box, std::span<const std::string> texts) {
        const QSignalBlocker block(box);
        const int keep = box->currentIndex();
        box->clear();
        for (const std::string& t : texts)
            box->addItem(toQString(t));
        box->setCurrentIndex(keep);
    };
    refill(m_cmbPortWhere, m_app->tables.portBox);
    refill(m_cmbCorrection, m_app->tables.correctionFact);
    refill(m_cmbPortType, m_app->tables.portType);
    nameFigureMeasures(); // a language has just been loaded
}

void frmMain::showInputs()
{
    const ModelInputs in = m_app->inputs; // the controls' signals rewrite the mirror as they go
    for (const ModelKey& k : modelKeys()) {
        if (k.kind == KeyKind::Text)
            setModelText(k, textOf(in, k));
        else
            setModelListPosition(k, listPosition(in, k));
    }
}

QLineEdit* frmMain::inputBox(const ModelKey& key) const
{
    return key.control == kVotherControl ? m_txtVother : m_txtSize[static_cast<std::size_t>(key.control)];
}

void frmMain::setModelText(const ModelKey& key, const std::string& text)
{
    QLineEdit* box = inputBox(key);
    // In inches the box shows the model's text converted; typing nothing else keeps the model's own
    // text, so a metric project opened and saved in imperial is unchanged.
    const QString t =
        toQString(typedTextOfModel(quantityOfKey(key.name), text, m_app->measure, m_app->decimalSeparator));
    box->setProperty("shownText", t);
    box->setProperty("modelText", toQString(text));
    if (box->text() == t) {
        textOf(m_app->inputs, key) = text;
        runRecalculate();
    } else {
        box->setText(t);
        box->setCursorPosition(0); // a long fraction shows its whole inches first
    }
}

void frmMain::setModelListPosition(const ModelKey& key, int position)
{
    QComboBox* box = nullptr;
    if (key.name == "sub")
        box = m_cmbSize;
    else if (key.name == "pieces0" || key.name == "pieces1" || key.name == "pieces2")
        box = m_cmbPieces[static_cast<std::size_t>(key.control - kPiecesList0)];
    else if (key.name == "corr")
        box = m_cmbCorrection;
    else if (key.name == "pwhere")
        box = m_cmbPortWhere;
    else
        box = m_cmbPortType;
    if (position < -1 || position >= box->count())
        position = -1;
    if (box->currentIndex() == position)
        listPosition(m_app->inputs, key) = position;
    else
        box->setCurrentIndex(position);
}

std::string frmMain::modelTextOf(const QLineEdit* box, const ModelKey& key, const QString& typed) const
{
    if (m_app->measure == Measure::Metric)
        return toStdString(typed);
    if (box->property("shownText").toString() == typed)
        return toStdString(box->property("modelText").toString());
    const Result<std::string> model = modelTextOfTyped(quantityOfKey(key.name), toStdString(typed),
                                                       m_app->measure, m_app->decimalSeparator);
    // A text that reads as no length goes on as typed, and the recalculation points at its box.
    return model ? *model : toStdString(typed);
}

void frmMain::applyMeasure()
{
    // Fractions of an inch are longer than centimetres: in inches each length's box reaches into the
    // room of its unit, which only says "in".
    const int wider = m_app->measure == Measure::Metric ? 0 : twipsToPixels(150);
    for (const auto& [widget, caption] : m_captionOf) {
        auto* box = const_cast<QWidget*>(widget);
        auto* unit = qobject_cast<QWidget*>(box->property("unitLabel").value<QObject*>());
        if (!unit || !box->property("longInInches").toBool())
            continue;
        for (QWidget* w : {box, unit})
            if (!w->property("metricPlace").isValid())
                w->setProperty("metricPlace", w->geometry());
        box->setGeometry(box->property("metricPlace").toRect().adjusted(0, 0, wider, 0));
        unit->setGeometry(unit->property("metricPlace").toRect().adjusted(wider, 0, 0, 0));
    }
    for (const auto& [quantity, label] : m_unitLabels) {
        if (!label->property("metricUnit").isValid())
            label->setProperty("metricUnit", label->text());
        label->setText(unitCaption(quantity, label->property("metricUnit").toString()));
    }
    showInputs();
    runRecalculate();
}

QString frmMain::unitCaption(Quantity quantity, const QString& metric) const
{
    switch (m_app->measure == Measure::Metric ? Quantity::Plain : quantity) {
    case Quantity::Length:
        return toQString(std::string(lengthUnit(m_app->measure)));
    case Quantity::Thickness:
        return toQString(std::string(thicknessUnit(m_app->measure)));
    case Quantity::Volume:
        return toQString(std::string(volumeUnit(m_app->measure)));
    case Quantity::Plain:
        break;
    }
    return metric;
}

void frmMain::markUnread(QLineEdit* box, bool unread)
{
    if (box->property("unread").toBool() == unread)
        return;
    box->setProperty("unread", unread);
    box->setStyleSheet(unread ? QStringLiteral("QLineEdit { border: 2px solid rgb(255,0,0); }") : QString());
}

void frmMain::applyCalc()
{
    const Measure m = m_app->measure;
    const char sep = m_app->decimalSeparator;
    m_lblVolumeOut->setText(toQString(volumeCaption(m_app->calc.lblVolumeOut, m, sep)));
    m_lblVolume->setText(toQString(volumeCaption(m_app->calc.lblVolume, m, sep))
                             .replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    m_picture->apply(m_app->calc.figure, m_app->measure, m_app->decimalSeparator);
}

void frmMain::colourSimulationButton()
{
    const int colour = m_app->simulationOn ? kRed : kGreen;
    if (auto* box3d = findChild<QAction*>(QStringLiteral("mnuFile3d")))
        box3d->setEnabled(m_app->simulationOn);
    m_cmdShow[2]->setProperty("backColor", colour);
    m_cmdShow[2]->setStyleSheet(vbColourStyle(colour));
}

void frmMain::buttonHandler(ShowButton button)
{
    if (button == ShowButton::Figure) {
        const int top = m_figure->y() == 0 ? twipsToPixels(9300) : 0;
        m_figure->move(m_figure->x(), top);
    } else if (button == ShowButton::Parameters) {
        Message m;
        m.text = m_app->tables.messageBox[kMsgParameters] + ":\r\n" +
                 measureText(m_app->calc.paramText, m_app->measure, m_app->decimalSeparator);
        m.title = programTitle();
        m.icon = MessageIcon::Information;
        messageService().show(this, m);
    } else if (button == ShowButton::Simulation) {
        m_app->simulationOn = !m_app->simulationOn;
        colourSimulationButton();
        if (m_app->simulationOn)
            runRecalculate();
        else
            emit designChanged();
    }
}

void frmMain::countHandler(CountList list)
{
    if (list == CountList::Woofers) {
        wooferSizeHandler();
        return;
    }
    const int portCount = countList(CountList::Ports)->currentIndex();
    const bool port = hasPort(portCount);
    const PortFieldStates fields = portFieldStates(portCount, m_cmbPortType->currentIndex());
    m_cmbPortType->setEnabled(fields.portType);
    m_cmbPortWhere->setEnabled(fields.portWhere);
    inputBox(&ModelInputs::lp)->setEnabled(fields.length);
    FigureState& f = m_app->calc.figure;
    f.portMarkerVisible = f.portLengthVisible = f.portCaptionVisible = port;
    for (LabelState* l : {&f.lblHP, &f.lblLP, &f.lblDP, &f.lblBP})
        l->visible = port;
    f.line19Visible.fill(port);
    if (port) {
        portTypeHandler();
    } else {
        inputBox(&ModelInputs::dp)->setEnabled(fields.diameter);
        inputBox(&ModelInputs::bp)->setEnabled(fields.width);
        inputBox(&ModelInputs::hp)->setEnabled(fields.height);
        inputBox(&ModelInputs::thick2)->setEnabled(fields.portBoard);
        m_picture->apply(f, m_app->measure, m_app->decimalSeparator);
    }
    runRecalculate();
}

void frmMain::portTypeHandler()
{
    const int portCount = countList(CountList::Ports)->currentIndex();
    if (!hasPort(portCount))
        return;
    const int type = m_cmbPortType->currentIndex();
    const PortFieldStates fields = portFieldStates(portCount, type);
    inputBox(&ModelInputs::dp)->setEnabled(fields.diameter);
    inputBox(&ModelInputs::bp)->setEnabled(fields.width);
    inputBox(&ModelInputs::hp)->setEnabled(fields.height);
    inputBox(&ModelInputs::thick2)->setEnabled(fields.portBoard);
    m_app->calc.figure.portShape = isRoundPort(type) ? PortShape::Circle : PortShape::Rectangle;
    // Diameter or width and height, as the recalculation will show them: never both in one place.
    ApplyPortTypeLabels(m_app->calc.figure, m_cmbPortType->currentIndex());
    m_picture->apply(m_app->calc.figure, m_app->measure, m_app->decimalSeparator);
    runRecalculate();
}

void frmMain::wooferSizeHandler()
{
    if (m_isLoading)
        return;
    const double cm = wooferDiameterCm(m_cmbSize->currentIndex());
    const int n = countList(CountList::Woofers)->currentIndex() + 1;
    auto number = [this](std::string ModelInputs::*field) {
        QString t = toQString(m_app->inputs.*field);
        t.replace(',', '.');
        return t.toDouble(); // unreadable text counts as 0, as the recalculation reads it
    };
    const double t0 = number(&ModelInputs::thick0) / 10.0;
    if (!wooferFitsFront(cm, n, number(&ModelInputs::l3) - 2 * t0, number(&ModelInputs::h2) - 2 * t0)) {
        Message m;
        m.text = m_app->tables.messageBox[kMsgSubTooBig];
        m.title = "Error: sub size";
        m.icon = MessageIcon::Exclamation;
        messageService().show(this, m);
        if (m_app->simulationOn)
            buttonHandler(ShowButton::Simulation);
        return;
    }
    runRecalculate();
}

void frmMain::windowReset()
{
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!s)
        return;
    const QRect area = s->geometry();
    move((area.width() - frameGeometry().width()) / 2, (area.height() - frameGeometry().height()) / 2);
}

void frmMain::setCaption(const std::string& caption)
{
    setWindowTitle(toQString(caption));
}

std::string frmMain::caption() const
{
    return toStdString(windowTitle());
}

} // namespace kelvra
