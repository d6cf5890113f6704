#include "gui/fit/frmFit.h"

#include "fit/FitTexts.h"
#include "gui/common/AppState.h"
#include "gui/common/MainWindowHost.h"
#include "gui/common/MessageService.h"
#include "gui/common/WindowTexts.h"
#include "gui/fit/FitPictures.h"
#include "gui/fit/frmFitTexts.h"
#include "gui/sound/AcousticsReasons.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QShortcut>
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

#include <array>

namespace kelvra
{

namespace
{

// The boxes of the search keys, with their captions' names and first values: a midsize car's boot.
// The goal's caption follows the goal (capGoalF, capTargetF3), so no language file names it.
struct BoxField {
    std::string_view key;
    const char* label;
    const char* caption;
    const char* first;
};
const BoxField kBoxes[] = {
    {"bootdepth", "lblBootDepth", "Diepte (cm)", "70"},
    {"bootheight", "lblBootHeight", "Hoogte (cm)", "42"},
    {"bootwidth", "lblBootWidth", "Breedte (cm)", "95"},
    {"seatangle", "lblSeatAngle", "Hoek achterbank (°)", "70"},
    {"goalf", "lblGoalF", "F (Hz)", "40"},
    {"power", "lblPower", "Vermogen (W)", ""},
    {"subsonic", "lblSubsonic", "Subsonic (Hz)", ""},
};

// The table's headings by the names of their texts; the first column marks the best design.
constexpr std::array<const char*, 10> kColumns{"",      "colSize",   "colNet",       "colFb",   "colPort",
                                               "colF3", "colMaxSpl", "colPortSpeed", "colXmax", "colOuter"};

QLabel* namedLabel(const char* name, const QString& caption, QWidget* parent)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QString number(double value, int decimals, char sep)
{
    return toQString(fitNumber(value, decimals, sep));
}

} // namespace

frmFit::frmFit(MainWindowHost& host, QWidget* parent) : QWidget(parent, Qt::Window), m_host(host)
{
    setObjectName(QStringLiteral("frmFit"));
    setWindowTitle(QStringLiteral("Past het in mijn kofferbak"));
    {
        WindowTexts texts(*this);
        for (const auto& [name, builtIn] : kFitTexts)
            texts.add(name, builtIn);
        for (const AcousticsReason& r : kAcousticsReasons)
            texts.add(r.name, r.builtIn);
    }
    buildControls();
    connect(m_goal, &QComboBox::currentIndexChanged, this, &frmFit::onGoalChanged);
    connect(m_search, &QPushButton::clicked, this, &frmFit::startSearch);
    connect(m_cancelButton, &QPushButton::clicked, this, &frmFit::cancelSearch);
    // Apart from the button: a new caption would take the button's shortcut with it.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, m_cancelButton,
            &QPushButton::click);
    connect(m_use, &QPushButton::clicked, this, &frmFit::useChosen);
    connect(m_table, &QTableWidget::itemSelectionChanged, this,
            [this] { m_use->setEnabled(chosen() != nullptr); });
    onGoalChanged();
    setRunning(false);
    showTexts();
}

frmFit::~frmFit()
{
    stopWorker();
}

void frmFit::buildControls()
{
    const char sep = m_host.app().decimalSeparator;
    auto* bootGroup = new QGroupBox(QStringLiteral("De kofferbak"), this);
    bootGroup->setObjectName(QStringLiteral("fraBoot"));
    auto* bootForm = new QFormLayout;
    auto* searchGroup = new QGroupBox(QStringLiteral("De box"), this);
    searchGroup->setObjectName(QStringLiteral("fraSearch"));
    auto* searchForm = new QFormLayout(searchGroup);
    m_boxType = new QComboBox(searchGroup);
    m_boxType->setObjectName(QStringLiteral("cmbBoxType"));
    m_boxType->addItems({QStringLiteral("Elke"), QStringLiteral("Gesloten"), QStringLiteral("Sleufpoort"),
                         QStringLiteral("Ronde poorten")});
    m_goal = new QComboBox(searchGroup);
    m_goal->setObjectName(QStringLiteral("cmbGoal"));
    m_goal->addItems({QStringLiteral("Het diepst (laagste F3)"), QStringLiteral("Het luidst bij F"),
                      QStringLiteral("Het kleinst met F3 niet hoger dan")});
    m_subsonicOrder = new QComboBox(searchGroup);
    m_subsonicOrder->setObjectName(QStringLiteral("cmbSubsonicOrder"));
    m_subsonicOrder->addItems({QStringLiteral("Butterworth 12 dB/oct"),
                               QStringLiteral("Butterworth 24 dB/oct"),
                               QStringLiteral("Linkwitz-Riley 24 dB/oct")});
    m_subsonicOrder->setCurrentIndex(1);
    searchForm->addRow(namedLabel("lblBoxType", QStringLiteral("Soort box"), searchGroup), m_boxType);
    searchForm->addRow(namedLabel("lblGoal", QStringLiteral("Doel"), searchGroup), m_goal);
    for (const BoxField& field : kBoxes) {
        auto* edit = new QLineEdit(QString::fromLatin1(field.first), this);
        edit->setObjectName(QStringLiteral("txt") + QString::fromLatin1(field.key.data(), field.key.size()));
        m_boxes.emplace_back(field.key, edit);
        QLabel* label = namedLabel(field.label, QString::fromUtf8(field.caption), this);
        label->setBuddy(edit);
        if (field.key == "goalf")
            m_goalLabel = label;
        if (field.key.starts_with("boot") || field.key == "seatangle")
            bootForm->addRow(label, edit);
        else
            searchForm->addRow(label, edit);
    }
    searchForm->addRow(namedLabel("lblSubsonicOrder", QStringLiteral("Subsonic-filter"), searchGroup),
                       m_subsonicOrder);
    auto* bootRow = new QHBoxLayout(bootGroup);
    bootRow->addLayout(bootForm);
    m_picture = new BootPicture(bootGroup);
    bootRow->addWidget(m_picture, 1);

    m_search = new QPushButton(QStringLiteral("&Zoeken"), this);
    m_search->setObjectName(QStringLiteral("cmdSearch"));
    m_search->setDefault(true);
    m_cancelButton = new QPushButton(QStringLiteral("Annuleren"), this);
    m_cancelButton->setObjectName(QStringLiteral("cmdCancel"));
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("prgSearch"));
    m_progress->setRange(0, 1000);
    m_progress->setTextVisible(false);
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_status->setWordWrap(true);
    m_best = new QLabel(this);
    m_best->setObjectName(QStringLiteral("lblBest"));
    m_best->setWordWrap(true);
    m_best->setTextInteractionFlags(Qt::TextSelectableByMouse);

    m_table = new QTableWidget(0, static_cast<int>(kColumns.size()), this);
    m_table->setObjectName(QStringLiteral("tblFront"));
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_plot = new FitPlot(sep, this);
    m_use = new QPushButton(QStringLiteral("Dit ontwerp &gebruiken"), this);
    m_use->setObjectName(QStringLiteral("cmdUseDesign"));

    auto* inputs = new QHBoxLayout;
    inputs->addWidget(bootGroup, 3);
    inputs->addWidget(searchGroup, 2);
    auto* run = new QHBoxLayout;
    run->addWidget(m_search);
    run->addWidget(m_cancelButton);
    run->addWidget(m_progress, 1);
    auto* results = new QHBoxLayout;
    results->addWidget(m_table, 3);
    results->addWidget(m_plot, 2);
    auto* use = new QHBoxLayout;
    use->addWidget(m_best, 1);
    use->addWidget(m_use);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(inputs);
    layout->addLayout(run);
    layout->addWidget(m_status);
    layout->addLayout(results, 1);
    layout->addLayout(use);
    resize(fontMetrics().horizontalAdvance(QLatin1Char('M')) * 112, fontMetrics().height() * 44);
}

QLineEdit* frmFit::box(std::string_view key) const
{
    for (const auto& [k, edit] : m_boxes)
        if (k == key)
            return edit;
    return nullptr;
}

void frmFit::onGoalChanged()
{
    showGoalCaption();
    const bool smallest = m_goal->currentIndex() == static_cast<int>(FitGoal::Smallest);
    const char sep = m_host.app().decimalSeparator;
    box("goalf")->setText(number(smallest ? kDefaultTargetF3 : kDefaultLoudestAt, 1, sep));
}

void frmFit::setRunning(bool running)
{
    m_search->setEnabled(!running);
    m_cancelButton->setEnabled(running);
    m_use->setEnabled(!running && chosen() != nullptr);
    if (!running)
        m_progress->setValue(0);
}

void frmFit::startSearch()
{
    if (searching())
        return;
    stopWorker();
    const AppState& app = m_host.app();
    const char sep = app.decimalSeparator;
    FitRequest request;
    request.design = app.inputs;
    request.decimalSeparator = sep;
    request.boxType = static_cast<FitBoxType>(m_boxType->currentIndex());
    request.goal = static_cast<FitGoal>(m_goal->currentIndex());
    request.subsonicOrder =
        std::array{2, 4, 5}[static_cast<std::size_t>(std::max(0, m_subsonicOrder->currentIndex()))];
    for (const auto& [key, edit] : m_boxes) {
        const std::string error = applyFitKey(request, key, typedLength(key, edit), sep);
        if (!error.empty()) {
            setStatus([this, error, edit = edit] { return boxReason(error, edit); });
            edit->setFocus();
            return;
        }
    }
    const auto woofer = parseWoofer(app.sound, sep);
    const auto options = parseSoundOptions(app.sound, sep);
    if (!woofer || !options) {
        setStatus([this, error = (!woofer ? woofer.error() : options.error())] {
            std::string why = error.message;
            if (why.starts_with(error.field + ": "))
                why = why.substr(error.field.size() + 2);
            return text("msgNoWoofer")
                .arg(toQString(error.field) + QStringLiteral(": ") +
                     acousticsReason(why, [this](const char* name) { return text(name); }));
        });
        return;
    }
    request.woofer = *woofer;
    request.sound = *options;
    m_result.reset();
    showResult();
    m_cancel = false;
    m_finished = false;
    setStatus([this] { return text("msgSearching"); });
    setRunning(true);
    FitControl control;
    control.cancel = &m_cancel;
    control.progress = [this](double done) {
        QMetaObject::invokeMethod(
            this, [this, done] { m_progress->setValue(static_cast<int>(done * 1000)); },
            Qt::QueuedConnection);
    };
    m_worker = std::thread([this, request, control] {
        FitResult result = fitBoot(request, control);
        m_finished = true;
        QMetaObject::invokeMethod(
            this, [this, result] { onFinished(result); }, Qt::QueuedConnection);
    });
}

void frmFit::cancelSearch()
{
    m_cancel = true;
}

void frmFit::stopWorker()
{
    m_cancel = true;
    if (m_worker.joinable())
        m_worker.join();
}

void frmFit::onFinished(const FitResult& result)
{
    stopWorker();
    setRunning(false);
    const char sep = m_host.app().decimalSeparator;
    if (result.cancelled) {
        setStatus([this] { return text("msgCancelled"); });
    } else if (!result.error.empty()) {
        setStatus([this, error = result.error] { return searchReason(error); });
    } else {
        m_result = result;
        setStatus([this, count = QLocale::c().toString(static_cast<qulonglong>(result.evaluated)),
                   seconds = number(result.seconds, 2, sep), none = !result.best] {
            const QString done = text("msgDesigns").arg(count, seconds);
            return none ? done + QLatin1Char(' ') + text("msgNoBox") : done;
        });
    }
    showResult();
    setRunning(false);
    emit searchFinished();
}

QString frmFit::designPort(const FitDesign& d) const
{
    const ModelInputs& in = d.inputs;
    if (in.pieces2 <= 0)
        return text("portSealed");
    if (in.ptype == 0)
        return text("portRound").arg(in.pieces2).arg(shownLength(in.dp), shownLength(in.lp));
    return text("portSlot").arg(shownLength(in.bp), shownLength(in.hp), shownLength(in.lp));
}

QString frmFit::shownLength(const std::string& cm) const
{
    const AppState& app = m_host.app();
    return toQString(typedTextOfModel(Quantity::Length, cm, app.measure, app.decimalSeparator));
}

std::string frmFit::typedLength(std::string_view key, const QLineEdit* edit) const
{
    const std::string typed = toStdString(edit->text().trimmed());
    const AppState& app = m_host.app();
    if (!key.starts_with("boot") || typed.empty() || app.measure == Measure::Metric)
        return typed;
    // Inches go to the search as cm; a text that reads as no length goes on as typed and is named.
    const Result<std::string> cm =
        modelTextOfTyped(Quantity::Length, typed, app.measure, app.decimalSeparator);
    return cm ? *cm : typed;
}

void frmFit::showEvent(QShowEvent* event)
{
    // The first values are a boot in cm: shown once in the program's measure.
    for (const auto& [key, edit] : m_boxes)
        if (key.starts_with("boot") && !edit->property("shownInMeasure").toBool()) {
            edit->setText(shownLength(toStdString(edit->text())));
            edit->setProperty("shownInMeasure", true);
        }
    // The captions follow the program's measure each time the window shows.
    showTexts();
    QWidget::showEvent(event);
}

void frmFit::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        showTexts();
    QWidget::changeEvent(event);
}

QString frmFit::boxReason(const std::string& error, const QLineEdit* box) const
{
    // "bootdepth: must be from 0 to 1000" names the box by its caption, in the window's words.
    QString caption;
    for (const QLabel* label : findChildren<QLabel*>())
        if (label->buddy() == box)
            caption = label->text().remove(QLatin1Char('&'));
    static const QRegularExpression notNumber(QStringLiteral("^\\w+: not a number: '(.*)'$"));
    static const QRegularExpression range(QStringLiteral("^\\w+: must be from (\\S+) to (\\S+)$"));
    const QString given = toQString(error);
    if (const auto m = notNumber.match(given); m.hasMatch() && !caption.isEmpty())
        return text("errFitNumber").arg(caption, m.captured(1));
    if (const auto m = range.match(given); m.hasMatch() && !caption.isEmpty())
        return text("errFitRange").arg(caption, m.captured(1), m.captured(2));
    return given;
}

QString frmFit::searchReason(const std::string& error) const
{
    static constexpr std::pair<const char*, const char*> kReasons[] = {
        {"The power must be more than 0 W.", "errFitPower"},
        {"The boot's depth, height and width must be more than 0 and at most 1000 cm.", "errFitBoot"},
        {"The seat angle must be from 30 to 150 degrees.", "errFitSeat"},
        {"The board thicknesses thick0 and thick2 must be whole millimetres above 0.", "errFitBoards"},
        {"The woofers' displacement subvol and the other volume vother must be numbers.", "errFitVolumes"},
    };
    for (const auto& [english, name] : kReasons)
        if (error == english)
            return text(name);
    return toQString(error);
}

QString frmFit::text(const char* name) const
{
    return toQString(WindowTexts(*const_cast<frmFit*>(this)).text(name));
}

void frmFit::setStatus(std::function<QString()> status)
{
    m_statusText = std::move(status);
    m_status->setText(m_statusText());
}

void frmFit::showGoalCaption()
{
    const bool smallest = m_goal->currentIndex() == static_cast<int>(FitGoal::Smallest);
    m_goalLabel->setText(text(smallest ? "capTargetF3" : "capGoalF"));
}

void frmFit::showTexts()
{
    const bool inches = m_host.app().measure == Measure::Imperial;
    const QString from = inches ? QStringLiteral("(cm)") : QStringLiteral("(in)");
    const QString to = inches ? QStringLiteral("(in)") : QStringLiteral("(cm)");
    // A caption a language file gave is in cm; the window may show inches.
    for (QLabel* label : findChildren<QLabel*>())
        if (label->buddy() && label->text().contains(from))
            label->setText(label->text().replace(from, to));
    showGoalCaption();
    box("power")->setPlaceholderText(text("emptyPower"));
    box("subsonic")->setPlaceholderText(text("emptySubsonic"));
    QStringList headings;
    for (const char* name : kColumns) {
        QString heading = *name ? text(name) : QString();
        if (inches)
            heading.replace(QStringLiteral("(cm)"), QStringLiteral("(in)"))
                .replace(QStringLiteral("(l)"), QStringLiteral("(ft³)"));
        headings.push_back(heading);
    }
    m_table->setHorizontalHeaderLabels(headings);
    m_picture->setTexts([this](const char* name) { return text(name); });
    m_plot->setTexts([this](const char* name) { return text(name); });
    if (m_statusText)
        m_status->setText(m_statusText());
    showResultTexts();
}

void frmFit::showResult()
{
    m_table->setRowCount(0);
    m_plot->show({}, std::nullopt);
    m_best->clear();
    if (!m_result)
        return;
    const char sep = m_host.app().decimalSeparator;
    const bool inches = m_host.app().measure == Measure::Imperial;
    const std::vector<const FitDesign*> designs = rows();
    m_table->setRowCount(static_cast<int>(designs.size()));
    for (int r = 0; r < static_cast<int>(designs.size()); ++r) {
        const FitDesign& d = *designs[static_cast<std::size_t>(r)];
        const QStringList cells = {
            QString(),
            shownLength(d.inputs.h2) + " x " + shownLength(d.inputs.b2) + " x " + shownLength(d.inputs.l3),
            inches ? toQString(volumeText(d.netVolume, Measure::Imperial, sep, false))
                   : number(d.netVolume, 2, sep),
            d.fb ? number(*d.fb, 1, sep) : QStringLiteral("-"),
            QString(),
            number(d.f3, 1, sep),
            number(d.maxSplAt, 1, sep),
            d.fb ? number(d.portSpeedMargin, 1, sep) : QStringLiteral("-"),
            number(d.excursionMargin, 1, sep),
            inches ? toQString(volumeText(d.outerVolume, Measure::Imperial, sep, false))
                   : number(d.outerVolume, 1, sep)};
        for (int c = 0; c < cells.size(); ++c)
            m_table->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    m_plot->show(m_result->front, m_result->best);
    showResultTexts();
}

std::vector<const FitDesign*> frmFit::rows() const
{
    std::vector<const FitDesign*> rows;
    if (!m_result)
        return rows;
    if (m_result->best)
        rows.push_back(&*m_result->best);
    for (const FitDesign& d : m_result->front)
        rows.push_back(&d);
    return rows;
}

void frmFit::showResultTexts()
{
    const std::vector<const FitDesign*> designs = rows();
    for (int r = 0; r < static_cast<int>(designs.size()) && r < m_table->rowCount(); ++r) {
        if (QTableWidgetItem* mark = m_table->item(r, 0))
            mark->setText(r == 0 && m_result->best ? text("rowBest") : QString());
        if (QTableWidgetItem* port = m_table->item(r, 4))
            port->setText(designPort(*designs[static_cast<std::size_t>(r)]));
    }
    const char sep = m_host.app().decimalSeparator;
    const bool inches = m_host.app().measure == Measure::Imperial;
    if (const FitDesign* best = m_result && m_result->best ? &*m_result->best : nullptr)
        m_best->setText(
            text("resBest").arg(shownLength(best->inputs.h2), shownLength(best->inputs.b2),
                                shownLength(best->inputs.l3), designPort(*best),
                                inches ? toQString(volumeText(best->netVolume, Measure::Imperial, sep))
                                       : number(best->netVolume, 2, sep) + QStringLiteral(" l"),
                                number(best->f3, 1, sep), number(best->maxSplAt, 1, sep),
                                toQString(std::string(lengthUnit(m_host.app().measure)))));
}

const FitDesign* frmFit::chosen() const
{
    if (!m_result)
        return nullptr;
    const int row = m_table->currentRow();
    const bool hasBest = m_result->best.has_value();
    if (row < 0 || !m_table->selectionModel()->hasSelection())
        return hasBest ? &*m_result->best : nullptr;
    if (hasBest && row == 0)
        return &*m_result->best;
    const auto index = static_cast<std::size_t>(row - (hasBest ? 1 : 0));
    return index < m_result->front.size() ? &m_result->front[index] : nullptr;
}

void frmFit::useChosen()
{
    const FitDesign* d = chosen();
    if (!d || searching())
        return;
    const FitDesign design = *d;
    // Every input goes in before one recalculation: a half-written design may not be buildable.
    const bool simulation = m_host.app().simulationOn;
    m_host.setSimulationFlag(false);
    for (const ModelKey& key : modelKeys()) {
        if (key.kind == KeyKind::Text)
            m_host.setModelText(key, textOf(design.inputs, key));
        else
            m_host.setModelListPosition(key, listPosition(design.inputs, key));
    }
    m_host.setSimulationFlag(simulation);
    m_host.runRecalculate();
}

void frmFit::closeEvent(QCloseEvent* event)
{
    stopWorker();
    QWidget::closeEvent(event);
}

} // namespace kelvra
