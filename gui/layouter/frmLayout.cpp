#include "gui/layouter/frmLayout.h"

#include "gui/common/AppState.h"
#include "gui/common/MainWindowHost.h"
#include "gui/common/MessageService.h"
#include "gui/common/Twips.h"
#include "layouter/Placement.h"

#include <QAction>
#include <QCloseEvent>
#include <QInputDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <algorithm>

namespace kelvra
{

namespace
{

constexpr double kClientWidthTwips = 11460;
constexpr double kClientHeightTwips = 5925;
constexpr const char* kSection = "Layouter";

SheetCm customSheetSetting(const IniStore& ini, char sep)
{
    return kelvra::customSheetSetting(ini.ReadIni(kSection, "CustomLength", ""),
                                      ini.ReadIni(kSection, "CustomBreadth", ""), sep);
}

void saveCustomSheet(const IniStore& ini, SheetCm sheet, char sep)
{
    ini.WriteIni(kSection, "CustomLength", customSheetSideText(sheet.length, sep));
    ini.WriteIni(kSection, "CustomBreadth", customSheetSideText(sheet.breadth, sep));
}

QAction* makeAction(QMenu* menu, const QString& caption, const QString& name,
                    const QKeySequence& shortcut = {}, bool checkable = false)
{
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    a->setCheckable(checkable);
    return a;
}

} // namespace

frmLayout::frmLayout(AppState& app, MainWindowHost& host, QWidget* parent)
    : QMainWindow(parent, Qt::Window), m_app(app), m_host(host)
{
    setObjectName("frmLayout");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("Wood Layouter v1 beta");

    m_client = new QWidget(this);
    m_client->setObjectName("client");
    setCentralWidget(m_client);
    m_picPanel = new SheetView(m_client);
    m_picPanel->setGeometry(0, 0, 0, 0);
    for (int i = 0; i < kPanelCount; ++i) {
        auto* p = new PanelView(i, m_picPanel);
        p->installEventFilter(this);
        p->label()->installEventFilter(this);
        m_panels[static_cast<std::size_t>(i)] = p;
    }
    m_picPanel->setDrawing(&m_view.drawing, &m_texts);
    m_cutOverlay = new CutOverlay(&m_view.drawing, &m_texts, m_picPanel);
    m_client->installEventFilter(this);
    createMenus();

    connect(m_picPanel, &SheetView::pointerMoved, this, &frmLayout::onPointerMoved);
    connect(m_picPanel, &SheetView::buttonReleased, this, &frmLayout::onSheetReleased);

    // The open sequence: the saved saw and sheet are applied as if chosen from their menus (each
    // laying the boards out and writing its key back), then the saved placements or a fresh layout.
    const char sep = m_app.decimalSeparator;
    m_view.customSheet = customSheetSetting(m_app.ini, sep);
    const OpenedLayout opened =
        OpenLayout(m_view, panelModel(), m_app.ini.ReadIni(kSection, "Thick", "2"),
                   m_app.ini.ReadIni(kSection, "Size", "1"), m_app.layoutStrings, sep);
    m_app.ini.WriteIni(kSection, "Thick", std::to_string(opened.sawThick));
    m_app.ini.WriteIni(kSection, "Size", std::to_string(opened.sheetIndex));

    resize(twipsToPixels(kClientWidthTwips),
           twipsToPixels(kClientHeightTwips) + menuBar()->sizeHint().height());
    syncChecks();
    applyPanels();
    show();
    centreSheet();
}

frmLayout::~frmLayout() = default;

void frmLayout::createMenus()
{
    m_mnuPanel = menuBar()->addMenu("&Panel");
    m_mnuPanel->setObjectName("mnuPanel");
    for (int i = 0; i < kSheetSizeCount; ++i) {
        QAction* a =
            makeAction(m_mnuPanel, toQString(std::string(kSheetSizeCaptions[static_cast<std::size_t>(i)])),
                       QString("mnuPanelSize(%1)").arg(i), {}, true);
        connect(a, &QAction::triggered, this, [this, i] {
            if (i != kCustomSheet || askCustomSheet())
                chooseSheetSize(i);
            else
                syncChecks();
        });
        m_mnuPanelSize[static_cast<std::size_t>(i)] = a;
    }
    m_mnuPanel->addSeparator();
    m_mnuPanelAuto = makeAction(m_mnuPanel, "Auto fit", "mnuPanelAuto", QKeySequence(Qt::Key_F12));
    // F12 and Ctrl+F12 are taken; Shift+F12 keeps the exact plan beside "Auto fit".
    m_mnuPanelBest =
        makeAction(m_mnuPanel, "Best fit", "mnuPanelBest", QKeySequence(Qt::SHIFT | Qt::Key_F12));
    m_mnuPanelCutPlan = makeAction(m_mnuPanel, "Cut plan", "mnuPanelCutPlan",
                                   QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F12));
    // The builder's window of the real boards, the same one the main window opens.
    QAction* boards = makeAction(m_mnuPanel, "&Boards", "mnuPanelBoards", QKeySequence(Qt::CTRL | Qt::Key_B));
    connect(boards, &QAction::triggered, this, [this] { m_host.openBoards(); });
    m_mnuPanelPrint = makeAction(m_mnuPanel, "&Print", "mnuPanelPrint", QKeySequence(Qt::CTRL | Qt::Key_P));
    m_mnuPanel->addSeparator();
    m_mnuPanelExit = makeAction(m_mnuPanel, "Exit", "mnuPanelExit");
    connect(m_mnuPanelAuto, &QAction::triggered, this, &frmLayout::AutoFit);
    connect(m_mnuPanelBest, &QAction::triggered, this, &frmLayout::bestFit);
    connect(m_mnuPanelCutPlan, &QAction::triggered, this, &frmLayout::showCutPlan);
    connect(m_mnuPanelPrint, &QAction::triggered, this, &frmLayout::showPrintMessage);
    connect(m_mnuPanelExit, &QAction::triggered, this, &QWidget::close);

    QMenu* saw = menuBar()->addMenu("&Saw");
    saw->setObjectName("mnuSaw");
    m_mnuSawCheck = makeAction(saw, "Check lines", "mnuSawCheck", QKeySequence(Qt::CTRL | Qt::Key_F12));
    // "Lines" is open to the user, so the cut lines of the next layout can be drawn.
    m_mnuSawLines = makeAction(saw, "Lines", "mnuSawLines", {}, true);
    QMenu* thickness = saw->addMenu("Thickness");
    thickness->setObjectName("mnuSawThickness");
    for (int t = kFirstSawThick; t <= kLastSawThick; ++t) {
        const auto caption = kSawKerfs[static_cast<std::size_t>(t - kFirstSawThick)].caption;
        QAction* a = makeAction(thickness, toQString(std::string(caption)), QString("mnuSawThick(%1)").arg(t),
                                {}, true);
        connect(a, &QAction::triggered, this, [this, t] { chooseSawThick(t); });
        m_mnuSawThick[static_cast<std::size_t>(t)] = a;
    }
    connect(m_mnuSawCheck, &QAction::triggered, this, &frmLayout::checkLines);
    connect(m_mnuSawLines, &QAction::triggered, this, &frmLayout::toggleLines);

    QMenu* draw = menuBar()->addMenu("&Draw");
    draw->setObjectName("mnuDraw");
    m_mnuDrawUpd = makeAction(draw, "&Update", "mnuDrawUpd", QKeySequence(Qt::Key_F5));
    m_mnuDrawML = makeAction(draw, "&Middle line", "mnuDrawML", {}, true);
    connect(m_mnuDrawUpd, &QAction::triggered, this, &frmLayout::RefreshPanels);
    connect(m_mnuDrawML, &QAction::triggered, this, &frmLayout::toggleMiddleLine);
}

std::array<QWidget*, kPanelCount> frmLayout::panelWidgets() const
{
    std::array<QWidget*, kPanelCount> out{};
    for (std::size_t i = 0; i < out.size(); ++i)
        out[i] = m_panels[i];
    return out;
}

bool frmLayout::panelPickedUp() const
{
    return m_selected && viewAt(*m_selected) && viewAt(*m_selected)->border();
}

Panel& frmLayout::panelAt(int index)
{
    if (index < kPanelCount)
        return m_view.panels[static_cast<std::size_t>(index)];
    return m_view.extras[static_cast<std::size_t>(index - kPanelCount)].panel;
}

PanelView* frmLayout::viewAt(int index) const
{
    if (index < 0)
        return nullptr;
    if (index < kPanelCount)
        return m_panels[static_cast<std::size_t>(index)];
    const auto extra = static_cast<std::size_t>(index - kPanelCount);
    return extra < m_extraViews.size() ? m_extraViews[extra] : nullptr;
}

void frmLayout::refreshExtras(const PanelModel& model)
{
    std::vector<std::string> before;
    for (const ExtraPanel& e : m_view.extras)
        before.push_back(e.key);
    RefreshExtraPanels(m_view.extras, model, m_app.decimalSeparator);
    for (const ExtraPanel& e : m_view.extras)
        if (std::find(before.begin(), before.end(), e.key) == before.end()) {
            PlaceExtraPanels(m_view.extras, m_view.panels, m_view.sheet.height, kerfPixels(m_view.sawThick));
            break;
        }
}

QAction* frmLayout::action(std::string_view name) const
{
    return findChild<QAction*>(QString::fromUtf8(name.data(), static_cast<int>(name.size())));
}

PanelModel frmLayout::panelModel() const
{
    PanelModel m = panelModelOf(m_app.calc.derived, m_app.inputs, m_app.decimalSeparator);
    // The boards are named by the main window's figure captions, which follow the language file.
    for (int i = 0; i < kPanelCount; ++i) {
        auto* label =
            qobject_cast<QLabel*>(m_host.control("Label2", kPanelNameLabels[static_cast<std::size_t>(i)]));
        if (label)
            m.names[static_cast<std::size_t>(i)] = toStdString(label->text());
    }
    return m;
}

void frmLayout::applyPanels()
{
    for (int i = 0; i < kPanelCount; ++i)
        m_panels[static_cast<std::size_t>(i)]->apply(m_view.panels[static_cast<std::size_t>(i)],
                                                     m_app.measure, m_app.decimalSeparator);
    // One widget per extra board, made and dropped as the design gains or loses them.
    while (m_extraViews.size() > m_view.extras.size()) {
        if (m_selected && *m_selected == kPanelCount + static_cast<int>(m_extraViews.size()) - 1)
            m_selected.reset();
        delete m_extraViews.back();
        m_extraViews.pop_back();
    }
    for (std::size_t i = 0; i < m_view.extras.size(); ++i) {
        const ExtraPanel& e = m_view.extras[i];
        if (i == m_extraViews.size() ||
            m_extraViews[i]->objectName() != QString::fromStdString("sh" + e.key)) {
            auto* v = new PanelView(kPanelCount + static_cast<int>(i), m_picPanel, e.key);
            v->installEventFilter(this);
            v->label()->installEventFilter(this);
            if (i == m_extraViews.size())
                m_extraViews.push_back(v);
            else {
                delete m_extraViews[i];
                m_extraViews[i] = v;
            }
        }
        m_extraViews[i]->apply(e.panel, m_app.measure, m_app.decimalSeparator);
        m_extraViews[i]->setVisible(e.panel.visible && !m_visibleBeforePlan);
    }
    m_cutOverlay->setGeometry(m_picPanel->rect());
    m_cutOverlay->raise();
    m_picPanel->update();
}

void frmLayout::syncChecks()
{
    for (int i = 0; i < kSheetSizeCount; ++i)
        m_mnuPanelSize[static_cast<std::size_t>(i)]->setChecked(i == m_view.sheetIndex);
    for (int t = kFirstSawThick; t <= kLastSawThick; ++t)
        m_mnuSawThick[static_cast<std::size_t>(t)]->setChecked(t == m_view.sawThick);
    m_mnuSawLines->setChecked(m_view.linesOn);
    m_mnuDrawML->setChecked(m_view.middleLineOn);
}

void frmLayout::centreSheet()
{
    const int w = m_view.sheet.width;
    const int h = m_view.sheet.height;
    m_picPanel->setGeometry((m_client->width() - w) / 2, (m_client->height() - h) / 2, w, h);
}

void frmLayout::RefreshPanels()
{
    leavePlan();
    const PanelModel model = panelModel();
    kelvra::RefreshPanels(m_view.panels, model, m_app.decimalSeparator);
    refreshExtras(model);
    applyPanels();
}

void frmLayout::AutoFit()
{
    leavePlan();
    kelvra::AutoFit(m_view, panelModel(), m_app.decimalSeparator);
    m_texts.clear();
    centreSheet();
    applyPanels();
}

void frmLayout::chooseSheetSize(int index)
{
    if (isSheetSizeIndex(index))
        leavePlan();
    if (ChooseSheetSize(m_view, index, panelModel(), m_app.decimalSeparator)) {
        m_texts.clear();
        m_app.ini.WriteIni(kSection, "Size", std::to_string(index));
        centreSheet();
        applyPanels();
    }
    syncChecks();
}

bool frmLayout::askCustomSheet()
{
    const Measure m = m_app.measure;
    const char sep = m_app.decimalSeparator;
    bool ok = false;
    const QString typed = QInputDialog::getText(
        this, "Custom sheet", QString("Length x breadth (%1):").arg(toQString(std::string(lengthUnit(m)))),
        QLineEdit::Normal, toQString(sheetText(m_view.customSheet, m, sep)), &ok);
    if (!ok)
        return false;
    const std::optional<SheetCm> sheet = readSheetText(toStdString(typed), m, sep);
    if (!sheet) {
        messageService().show(this, {"\"" + toStdString(typed) +
                                         "\" is no sheet: type length x breadth, for example " +
                                         sheetText(kDefaultCustomSheet, m, sep),
                                     "Custom sheet", MessageIcon::Exclamation, MessageButtons::Ok});
        return false;
    }
    m_view.customSheet = *sheet;
    saveCustomSheet(m_app.ini, *sheet, sep);
    return true;
}

void frmLayout::chooseSawThick(int sawThick)
{
    if (isSawThick(sawThick))
        leavePlan();
    if (ChooseSawThick(m_view, sawThick, panelModel(), m_app.decimalSeparator)) {
        m_texts.clear();
        m_app.ini.WriteIni(kSection, "Thick", std::to_string(sawThick));
        centreSheet();
        applyPanels();
    }
    syncChecks();
}

void frmLayout::checkLines()
{
    CheckLines(m_view);
    applyPanels();
}

void frmLayout::toggleLines()
{
    m_view.linesOn = !m_view.linesOn;
    syncChecks();
}

void frmLayout::toggleMiddleLine()
{
    ToggleMiddleLine(m_view);
    syncChecks();
    m_picPanel->update();
}

void frmLayout::showPrintMessage()
{
    messageService().show(this, {"Bwahahahahaha Werkt nog niet :roflol", programTitle(), MessageIcon::None,
                                 MessageButtons::Ok});
}

void frmLayout::placePanel(int index, float left, float top, bool turned)
{
    if (index < 0 || index >= kPanelCount)
        return;
    Panel& p = m_view.panels[static_cast<std::size_t>(index)];
    p.left = left;
    p.top = top;
    p.turned = turned ? 1 : 0;
    m_panels[static_cast<std::size_t>(index)]->apply(p, m_app.measure, m_app.decimalSeparator);
}

void frmLayout::setDrawing(std::vector<Stroke> strokes, std::vector<SheetText> texts)
{
    m_view.drawing = std::move(strokes);
    m_texts = std::move(texts);
    m_cutOverlay->update();
    m_picPanel->update();
}

void frmLayout::setCutLines(const std::vector<Segment>& lines, float width)
{
    std::vector<Stroke> strokes;
    strokes.reserve(lines.size());
    for (const Segment& s : lines)
        strokes.push_back({s, width, false, kCutLineColour});
    setDrawing(std::move(strokes));
}

void frmLayout::putDown()
{
    if (m_selected && viewAt(*m_selected))
        viewAt(*m_selected)->setBorder(false);
    m_picPanel->releaseMouse();
}

void frmLayout::onPanelReleased(int index, Qt::MouseButton button)
{
    PanelView* view = viewAt(index);
    if (!view)
        return;
    Panel& panel = panelAt(index);
    if (button == Qt::RightButton) {
        panel.turned = panel.turned == 0 ? 1 : 0;
    } else if (button == Qt::LeftButton) {
        if (!view->border()) {
            putDown();
            m_selected = index;
            view->setBorder(true);
            view->raise();
            // The sheet takes every pointer event while a board is picked up, so the board keeps
            // following even when the pointer is over it or over another board.
            m_picPanel->grabMouse();
        } else {
            putDown();
        }
    }
    RefreshPanels();
}

void frmLayout::onPointerMoved(QPoint position)
{
    if (!panelPickedUp())
        return;
    Panel& p = panelAt(*m_selected);
    p.left = static_cast<float>(position.x());
    p.top = static_cast<float>(position.y());
    viewAt(*m_selected)->move(position);
}

void frmLayout::onSheetReleased(QPoint position, Qt::MouseButton button)
{
    // While the sheet holds the pointer, a click on a board or its caption arrives here.
    for (QWidget* w = m_picPanel->childAt(position); w && w != m_picPanel; w = w->parentWidget()) {
        if (auto* p = qobject_cast<PanelView*>(w)) {
            onPanelReleased(p->index(), button);
            return;
        }
    }
}

bool frmLayout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_client) {
        if (event->type() == QEvent::Resize && !isMinimized())
            centreSheet();
        return false;
    }
    PanelView* panel = qobject_cast<PanelView*>(watched);
    if (!panel && watched->parent())
        panel = qobject_cast<PanelView*>(watched->parent());
    if (!panel)
        return QMainWindow::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return true;
    case QEvent::MouseButtonRelease:
        onPanelReleased(panel->index(), static_cast<QMouseEvent*>(event)->button());
        return true;
    case QEvent::MouseMove: {
        auto* w = static_cast<QWidget*>(watched);
        const QPointF p = static_cast<QMouseEvent*>(event)->position();
        onPointerMoved(w->mapTo(m_picPanel, p.toPoint()));
        return true;
    }
    default:
        return QMainWindow::eventFilter(watched, event);
    }
}

void frmLayout::closeEvent(QCloseEvent* event)
{
    putDown();
    RecordLayout(m_view.panels, m_app.layoutStrings, m_app.decimalSeparator);
    RecordExtraLayout(m_view.extras, m_app.layoutStrings, m_app.decimalSeparator);
    event->accept();
}

} // namespace kelvra
