#include "gui/boards/frmBoards.h"
#include "gui/common/Refusals.h"

#include "calc/Numeric.h"
#include "gui/boards/BoardRows.h"
#include "gui/boards/BoxPicture.h"
#include "gui/boards/OutlinePicture.h"
#include "gui/boards/SheetPicture.h"
#include "gui/boards/frmBoardsTexts.h"
#include "gui/common/AppState.h"
#include "gui/common/MainWindowHost.h"
#include "gui/common/MessageService.h"
#include "gui/common/PanelCaptions.h"
#include "gui/common/Twips.h"
#include "gui/common/WindowTexts.h"
#include "gui/layouter/CutPlanWords.h"
#include "layouter/PanelSet.h"

#include <QAction>
#include <QCloseEvent>
#include <QEvent>
#include <QFileDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBrowser>
#include <QTimer>
#include <QVBoxLayout>

#include <array>

namespace kelvra
{

namespace
{

constexpr const char* kSection = "Boards";
// The first size: room for the list beside a drawing that shows the joints.
constexpr double kWidthTwips = 14400;
constexpr double kHeightTwips = 9000;

QAction* makeAction(QMenu* menu, const char* caption, const char* name, const QKeySequence& shortcut = {})
{
    QAction* a = menu->addAction(QString::fromUtf8(caption));
    a->setObjectName(QString::fromUtf8(name));
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    return a;
}

QPushButton* makeButton(const char* caption, const char* name, QWidget* parent)
{
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromUtf8(name));
    return b;
}

// A stored size, or the fallback when it is missing, unreadable or too small to be meant.
int storedLength(const IniStore& ini, const char* key, int fallback, int least)
{
    bool ok = false;
    const int value = QString::fromStdString(ini.ReadIni(kSection, key, "")).trimmed().toInt(&ok);
    return ok && value >= least ? value : fallback;
}

} // namespace

frmBoards::frmBoards(AppState& app, MainWindowHost& host, QWidget* parent)
    : QMainWindow(parent, Qt::Window), m_app(app), m_host(host)
{
    setObjectName(QStringLiteral("frmBoards"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Planken"));
    {
        // The texts the window draws itself; a language file's [frmBoards] translates them by name.
        WindowTexts texts(*this);
        for (const auto& [name, builtIn] : kBoardsTexts)
            texts.add(name, builtIn);
        for (const CutPlanWord& w : kCutPlanWords)
            texts.add(w.name, w.builtIn);
    }

    m_table = new QTableWidget(0, 5);
    m_table->setObjectName(QStringLiteral("tblBoards"));
    m_table->setHorizontalHeaderLabels({text("colBoard"), text("colCount"), text("colSize") + " (cm)",
                                        text("colThickness"), text("colBevels")});
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setWordWrap(false);
    m_table->horizontalHeader()->setStretchLastSection(true);
    m_table->setToolTip(
        QStringLiteral("De randen zijn genummerd zoals de omtrek van de plank loopt, zoals in de exports."));
    m_volume = new QLabel;
    m_volume->setObjectName(QStringLiteral("lblVolume"));
    m_volume->setWordWrap(true);
    m_volume->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* list = new QWidget;
    auto* listLayout = new QVBoxLayout(list);
    listLayout->setContentsMargins(0, 0, 0, 0);
    listLayout->addWidget(m_table, 1);
    listLayout->addWidget(m_volume);

    m_box = new BoxPicture;
    m_box->setMinimumSize(200, 160);
    m_sheets = new SheetPicture;
    m_sheets->setMinimumSize(200, 120);
    m_cuts = new QTextBrowser;
    m_cuts->setObjectName(QStringLiteral("txtCuts"));
    auto* plan = new QSplitter(Qt::Vertical);
    plan->addWidget(m_sheets);
    plan->addWidget(m_cuts);
    plan->setStretchFactor(0, 3);
    plan->setStretchFactor(1, 2);
    plan->setChildrenCollapsible(false);
    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("tabBoards"));
    m_tabs->addTab(m_box, QStringLiteral("Tekening"));
    m_outlines = new OutlinePicture;
    m_outlines->setMinimumSize(200, 160);
    m_tabs->addTab(m_outlines, QStringLiteral("Omtrek en verstek"));
    plan->setObjectName(QStringLiteral("fraSheetPlan"));
    m_tabs->addTab(plan, QStringLiteral("Plaatindeling"));

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->addWidget(list);
    splitter->addWidget(m_tabs);
    splitter->setStretchFactor(0, 0); // the list as wide as its columns, the drawing takes the rest
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);

    m_error = new QLabel;
    m_error->setObjectName(QStringLiteral("lblError"));
    m_error->setWordWrap(true);
    m_error->setAlignment(Qt::AlignCenter);
    m_error->setMargin(24);
    m_error->setStyleSheet(QStringLiteral("color: rgb(160, 0, 0);"));
    m_pages = new QStackedWidget;
    m_pages->addWidget(splitter);
    m_pages->addWidget(m_error);

    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    auto* layout = new QVBoxLayout(client);
    // Above the pages, so that a refused cut-out can be corrected where it was typed.
    layout->addWidget(createHoleBoxes());
    layout->addWidget(m_pages, 1);
    layout->addWidget(createButtons());
    setCentralWidget(client);
    createMenus();

    m_chooseFile = [this](const QString& caption, const QString& suggested, const QString& filter) {
        return QFileDialog::getSaveFileName(this, caption, suggested, filter);
    };
    m_refreshTimer = new QTimer(this);
    m_refreshTimer->setSingleShot(true);
    m_refreshTimer->setInterval(0);
    connect(m_refreshTimer, &QTimer::timeout, this, &frmBoards::refresh);

    const QSize first(twipsToPixels(kWidthTwips), twipsToPixels(kHeightTwips));
    QSize size(storedLength(m_app.ini, "Width", first.width(), 200),
               storedLength(m_app.ini, "Height", first.height(), 150));
    // A size stored on a larger screen still fits this one.
    if (const QScreen* s = QGuiApplication::primaryScreen())
        size = size.boundedTo(s->availableGeometry().size());
    resize(size);
    refresh();
}

frmBoards::~frmBoards()
{
    // A box with the focus says its editing finished while the base class takes the window down, when
    // this is no longer a frmBoards: such a late edit is not applied.
    for (QLineEdit* e : {m_cutout, m_mountDepth})
        if (e)
            e->disconnect(this);
}

void frmBoards::createMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Bestand"));
    file->setObjectName(QStringLiteral("mnuBoards"));
    QAction* svg = makeAction(file, "&SVG per plaat exporteren...", "mnuBoardsSvg");
    QAction* dxf = makeAction(file, "&DXF exporteren...", "mnuBoardsDxf");
    QAction* csv = makeAction(file, "&CSV zaaglijst exporteren...", "mnuBoardsCsv");
    file->addSeparator();
    QAction* print = makeAction(file, "&Afdrukken...", "mnuBoardsPrint", QKeySequence(Qt::CTRL | Qt::Key_P));
    QAction* pdf = makeAction(file, "Opslaan als P&DF...", "mnuBoardsPdf");
    file->addSeparator();
    QAction* close = makeAction(file, "&Sluiten", "mnuBoardsClose", QKeySequence(Qt::CTRL | Qt::Key_W));

    QMenu* draw = menuBar()->addMenu(QStringLiteral("&Tekenen"));
    draw->setObjectName(QStringLiteral("mnuDraw"));
    QAction* update = makeAction(draw, "&Bijwerken", "mnuDrawUpd", QKeySequence(Qt::Key_F5));
    m_exploded = makeAction(draw, "&Uit elkaar", "mnuDrawExploded");
    m_exploded->setCheckable(true);
    m_exploded->setChecked(true);

    connect(svg, &QAction::triggered, this, [this] {
        exportWith(text("dlgSvg"), QStringLiteral("boards.svg"), text("filterSvg"), &frmBoards::exportSvg);
    });
    connect(dxf, &QAction::triggered, this, [this] {
        exportWith(text("dlgDxf"), QStringLiteral("boards.dxf"), text("filterDxf"), &frmBoards::exportDxf);
    });
    connect(csv, &QAction::triggered, this, [this] {
        exportWith(text("dlgCsv"), QStringLiteral("boards.csv"), text("filterCsv"), &frmBoards::exportCsv);
    });
    connect(print, &QAction::triggered, this, &frmBoards::onPrint);
    connect(pdf, &QAction::triggered, this, [this] {
        exportWith(text("dlgPdf"), QStringLiteral("boards.pdf"), text("filterPdf"), &frmBoards::saveAsPdf);
    });
    connect(close, &QAction::triggered, this, &QWidget::close);
    connect(update, &QAction::triggered, this, &frmBoards::refresh);
    connect(m_exploded, &QAction::toggled, m_box, &BoxPicture::setExploded);
}

QWidget* frmBoards::createButtons()
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    const std::array<std::pair<const char*, const char*>, 5> buttons{{{"SVG per plaat...", "cmdSvg"},
                                                                      {"DXF...", "cmdDxf"},
                                                                      {"CSV zaaglijst...", "cmdCsv"},
                                                                      {"Afdrukken...", "cmdPrint"},
                                                                      {"PDF...", "cmdPdf"}}};
    const std::array<const char*, 5> actions{"mnuBoardsSvg", "mnuBoardsDxf", "mnuBoardsCsv", "mnuBoardsPrint",
                                             "mnuBoardsPdf"};
    for (std::size_t i = 0; i < buttons.size(); ++i) {
        QPushButton* b = makeButton(buttons[i].first, buttons[i].second, row);
        layout->addWidget(b);
        const char* name = actions[i];
        connect(b, &QPushButton::clicked, this, [this, name] {
            if (QAction* a = action(name))
                a->trigger();
        });
    }
    layout->addStretch();
    QPushButton* close = makeButton("&Sluiten", "cmdClose", row);
    layout->addWidget(close);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    return row;
}

QWidget* frmBoards::createHoleBoxes()
{
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto box = [&](const char* caption, const char* label, const char* name, const char* tip) {
        auto* l = new QLabel(QString::fromUtf8(caption), row);
        l->setObjectName(QString::fromUtf8(label));
        auto* e = new QLineEdit(row);
        e->setObjectName(QString::fromUtf8(name));
        e->setToolTip(QString::fromUtf8(tip));
        e->setMaximumWidth(80);
        l->setBuddy(e);
        layout->addWidget(l);
        layout->addWidget(e);
        connect(e, &QLineEdit::editingFinished, this, &frmBoards::onHoleBoxEdited);
        return e;
    };
    m_cutout =
        box("Uitsparing woofer \u00d8 (cm):", "lblCutout", "txtCutout",
            "Het gat dat de woofer in de voorzijde nodig heeft; leeg neemt het gebruikelijke van zijn maat.");
    m_mountDepth = box("Inbouwdiepte (cm):", "lblMountDepth", "txtMountDepth",
                       "Van de buitenkant van de voorzijde tot de achterkant van de magneet; leeg wordt niet "
                       "gecontroleerd.");
    layout->addStretch();
    return row;
}

QString frmBoards::text(const char* name) const
{
    return toQString(WindowTexts(*const_cast<frmBoards*>(this)).text(name));
}

BoardWords frmBoards::words() const
{
    auto word = [this](const char* name) {
        return text(name).toStdString();
    };
    BoardWords w;
    w.square = word("bevSquare");
    w.edge = word("bevEdge");
    w.trapezoid = word("bevTrapezoid");
    w.portHole = word("portHole");
    w.portHoles = word("portHoles");
    w.portSlot = word("portSlot");
    w.portSlots = word("portSlots");
    w.volumes = word("volExact");
    w.hole = word("holeLine");
    w.beyondSaw = word("noteBeyondSaw");
    w.longOutside = word("bevLongOutside");
    w.longInside = word("bevLongInside");
    w.outlinesHint = word("picOutlinesHint");
    w.sheetCaption = word("picSheetCaption");
    w.core.takesTooMuch = word("wrnTakesTooMuch");
    w.core.cutoutGuess = word("wrnCutoutGuess");
    w.core.clearanceRound = word("wrnClearanceRound");
    w.core.clearanceSlot = word("wrnClearanceSlot");
    w.core.wooferHole = word("holeWoofer");
    w.core.portHole = word("holePort");
    w.core.slotHole = word("holeSlot");
    return w;
}

std::vector<std::string> frmBoards::boardLines(const BoxBoards& boards, const BoardWords& w) const
{
    const char sep = m_app.decimalSeparator;
    std::vector<std::string> lines;
    for (const std::string& line : portLines(boards, sep, w))
        lines.push_back(measureText(line, m_app.measure, sep));
    for (const std::string& line : holeLines(boards, sep, w.core))
        lines.push_back(measureText(withFigures(w.hole, {line}), m_app.measure, sep));
    for (const std::string& line : volumeLines(boards, sep, w))
        lines.push_back(measureText(line, m_app.measure, sep));
    return lines;
}

std::string frmBoards::holeModelText(const QLineEdit* box) const
{
    const std::string typed = toStdString(box->text().trimmed());
    if (typed.empty() || m_app.measure == Measure::Metric)
        return typed;
    // Inches are kept as cm, as the project file has them; a text that reads as no length goes on as
    // typed, so the boards core names it.
    const Result<std::string> cm =
        modelTextOfTyped(Quantity::Length, typed, m_app.measure, m_app.decimalSeparator);
    return cm ? *cm : typed;
}

void frmBoards::onHoleBoxEdited()
{
    std::string* cutout = m_app.sound.find("cutout");
    std::string* depth = m_app.sound.find("mountdepth");
    const std::string typedCutout = holeModelText(m_cutout);
    const std::string typedDepth = holeModelText(m_mountDepth);
    if (*cutout == typedCutout && *depth == typedDepth)
        return;
    *cutout = typedCutout;
    *depth = typedDepth;
    // Through the main window, so every window that shows the boards follows.
    m_host.runRecalculate();
    refresh();
}

QAction* frmBoards::action(std::string_view name) const
{
    return findChild<QAction*>(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
}

QPushButton* frmBoards::button(std::string_view name) const
{
    return findChild<QPushButton*>(QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size())));
}

void frmBoards::scheduleRefresh()
{
    m_refreshTimer->start();
}

void frmBoards::refresh()
{
    m_refreshTimer->stop();
    // The boards are named by the main window's figure captions, as the layouter names them.
    const std::array<std::string, kPanelCount> names = panelCaptions(m_host);
    const auto shown = [this](const std::string& cm) {
        return toQString(typedTextOfModel(Quantity::Length, cm, m_app.measure, m_app.decimalSeparator));
    };
    m_cutout->setText(shown(*m_app.sound.find("cutout")));
    m_mountDepth->setText(shown(*m_app.sound.find("mountdepth")));
    m_cutout->setPlaceholderText(
        shown(formatDouble(defaultCutout(m_app.inputs.sub), m_app.decimalSeparator)));
    const bool inches = m_app.measure == Measure::Imperial;
    for (QLabel* l : {findChild<QLabel*>(QStringLiteral("lblCutout")),
                      findChild<QLabel*>(QStringLiteral("lblMountDepth"))})
        if (l)
            l->setText(l->text().replace(inches ? QStringLiteral("(cm)") : QStringLiteral("(in)"),
                                         inches ? QStringLiteral("(in)") : QStringLiteral("(cm)")));
    m_result = buildBoards(m_app.inputs, m_app.decimalSeparator, names,
                           HoleSpec{*m_app.sound.find("cutout"), *m_app.sound.find("mountdepth")});
    if (m_result.ok())
        showBoards();
    else
        showError();
    refreshPlan();
    enableExports();
}

void frmBoards::showBoards()
{
    const char sep = m_app.decimalSeparator;
    const BoxBoards& boards = *m_result.boards;
    const BoardWords w = words();
    m_table->setRowCount(static_cast<int>(boards.boards.size()));
    bool beyondSaw = false;
    for (std::size_t r = 0; r < boards.boards.size(); ++r) {
        const BoardRow row = boardRow(boards.boards[r], sep, m_app.measure, w);
        beyondSaw = beyondSaw || row.beyondSaw;
        const std::array<const std::string*, 5> cells{&row.name, &row.count, &row.size, &row.thickness,
                                                      &row.bevels};
        for (std::size_t c = 0; c < cells.size(); ++c) {
            auto* item = new QTableWidgetItem(toQString(*cells[c]));
            if (c == 1 || c == 3)
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_table->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
    m_table->resizeColumnsToContents();
    // The list keeps the width of its columns, so no size or bevel is cut short.
    int width = 2 * m_table->frameWidth() + m_table->verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < m_table->columnCount(); ++c)
        width += m_table->columnWidth(c);
    m_table->setMinimumWidth(width);
    m_table->setCurrentCell(-1, -1);

    const std::array<const char*, 5> headings{"colBoard", "colCount", "colSize", "colThickness", "colBevels"};
    for (int c = 0; c < m_table->columnCount() && c < 5; ++c)
        m_table->horizontalHeaderItem(c)->setText(text(headings[static_cast<std::size_t>(c)]));
    m_table->horizontalHeaderItem(2)->setText(text("colSize") + (m_app.measure == Measure::Imperial
                                                                     ? QStringLiteral(" (in)")
                                                                     : QStringLiteral(" (cm)")));
    std::vector<std::string> lines = boardLines(boards, w);
    if (beyondSaw)
        lines.push_back(w.beyondSaw);
    QString text;
    for (const std::string& line : lines)
        text += (text.isEmpty() ? QString() : QStringLiteral("\n")) + toQString(line);
    m_volume->setText(text);
    m_box->setBoards(boards.boards);
    m_outlines->setBoards(boards.boards, sep, m_app.measure, w);
    m_pages->setCurrentIndex(0);
}

void frmBoards::showError()
{
    m_table->setRowCount(0);
    m_volume->clear();
    m_box->setBoards({});
    m_outlines->setBoards({}, m_app.decimalSeparator, m_app.measure, words());
    m_error->setText(text("msgNoBoards") + QStringLiteral("\n\n") +
                     toQString(m_result.error.text(refusalWords(m_app.tables))) + QStringLiteral("\n\n") +
                     text("msgFollow"));
    m_pages->setCurrentIndex(1);
}

void frmBoards::enableExports()
{
    // The workshop files need the plan; the print-out has the boards without it.
    const std::array<std::pair<const char*, const char*>, 5> items{{{"mnuBoardsSvg", "cmdSvg"},
                                                                    {"mnuBoardsDxf", "cmdDxf"},
                                                                    {"mnuBoardsCsv", "cmdCsv"},
                                                                    {"mnuBoardsPrint", "cmdPrint"},
                                                                    {"mnuBoardsPdf", "cmdPdf"}}};
    for (std::size_t i = 0; i < items.size(); ++i) {
        const bool on = i < 3 ? m_plan.ok() : m_result.ok();
        action(items[i].first)->setEnabled(on);
        button(items[i].second)->setEnabled(on);
    }
}

void frmBoards::exportWith(const QString& caption, const QString& suggested, const QString& filter,
                           bool (frmBoards::*write)(const QString&))
{
    const QString path = m_chooseFile ? m_chooseFile(caption, suggested, filter) : QString();
    if (!path.isEmpty())
        (this->*write)(path);
}

bool frmBoards::cannotWrite(const QString& path)
{
    messageService().show(this, Message{"\"" + toStdString(path) + "\" could not be written.", programTitle(),
                                        MessageIcon::Exclamation, MessageButtons::Ok});
    return false;
}

void frmBoards::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange && isVisible())
        refresh();
    QMainWindow::changeEvent(event);
}

void frmBoards::closeEvent(QCloseEvent* event)
{
    const QSize size = isMaximized() || isFullScreen() ? normalGeometry().size() : this->size();
    m_app.ini.WriteIni(kSection, "Width", std::to_string(size.width()));
    m_app.ini.WriteIni(kSection, "Height", std::to_string(size.height()));
    event->accept();
}

} // namespace kelvra
