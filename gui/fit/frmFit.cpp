#include "gui/fit/frmFit.h"

#include "fit/FitTexts.h"
#include "gui/common/AppState.h"
#include "gui/common/MainWindowHost.h"
#include "gui/common/MessageService.h"
#include "gui/fit/FitPictures.h"

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
#include <QShowEvent>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kelvra
{

namespace
{

// The boxes of the search keys, with their first values: a midsize car's boot.
struct BoxSpec {
    std::string_view key;
    const char* caption;
    const char* first;
};
const BoxSpec kBoxes[] = {
    {"bootdepth", QT_TRANSLATE_NOOP("kelvra::frmFit", "Depth (cm)"), "70"},
    {"bootheight", QT_TRANSLATE_NOOP("kelvra::frmFit", "Height (cm)"), "42"},
    {"bootwidth", QT_TRANSLATE_NOOP("kelvra::frmFit", "Width (cm)"), "95"},
    {"seatangle", QT_TRANSLATE_NOOP("kelvra::frmFit", "Seat angle (°)"), "70"},
    {"goalf", QT_TRANSLATE_NOOP("kelvra::frmFit", "F (Hz)"), "40"},
    {"power", QT_TRANSLATE_NOOP("kelvra::frmFit", "Power (W)"), ""},
    {"subsonic", QT_TRANSLATE_NOOP("kelvra::frmFit", "Subsonic (Hz)"), ""},
};

QString number(double value, int decimals, char sep)
{
    return toQString(fitNumber(value, decimals, sep));
}

} // namespace

frmFit::frmFit(MainWindowHost& host, QWidget* parent) : QWidget(parent, Qt::Window), m_host(host)
{
    setObjectName(QStringLiteral("frmFit"));
    setWindowTitle(tr("Fit my boot"));
    buildControls();
    connect(m_goal, &QComboBox::currentIndexChanged, this, &frmFit::onGoalChanged);
    connect(m_search, &QPushButton::clicked, this, &frmFit::startSearch);
    connect(m_cancelButton, &QPushButton::clicked, this, &frmFit::cancelSearch);
    connect(m_use, &QPushButton::clicked, this, &frmFit::useChosen);
    connect(m_table, &QTableWidget::itemSelectionChanged, this,
            [this] { m_use->setEnabled(chosen() != nullptr); });
    onGoalChanged();
    setRunning(false);
}

frmFit::~frmFit()
{
    stopWorker();
}

void frmFit::buildControls()
{
    const char sep = m_host.app().decimalSeparator;
    auto* bootGroup = new QGroupBox(tr("The boot"), this);
    bootGroup->setObjectName(QStringLiteral("fraBoot"));
    auto* bootForm = new QFormLayout;
    auto* searchGroup = new QGroupBox(tr("The box"), this);
    searchGroup->setObjectName(QStringLiteral("fraSearch"));
    auto* searchForm = new QFormLayout(searchGroup);
    m_boxType = new QComboBox(searchGroup);
    m_boxType->setObjectName(QStringLiteral("cmbBoxType"));
    m_boxType->addItems({tr("Any"), tr("Sealed"), tr("Slot port"), tr("Round ports")});
    m_goal = new QComboBox(searchGroup);
    m_goal->setObjectName(QStringLiteral("cmbGoal"));
    m_goal->addItems({tr("Deepest (lowest F3)"), tr("Loudest at F"), tr("Smallest with F3 at or below")});
    m_subsonicOrder = new QComboBox(searchGroup);
    m_subsonicOrder->setObjectName(QStringLiteral("cmbSubsonicOrder"));
    m_subsonicOrder->addItems(
        {tr("Butterworth 12 dB/oct"), tr("Butterworth 24 dB/oct"), tr("Linkwitz-Riley 24 dB/oct")});
    m_subsonicOrder->setCurrentIndex(1);
    searchForm->addRow(tr("Box type"), m_boxType);
    searchForm->addRow(tr("Goal"), m_goal);
    for (const BoxSpec& field : kBoxes) {
        auto* edit = new QLineEdit(QString::fromLatin1(field.first), this);
        edit->setObjectName(QStringLiteral("txt") + QString::fromLatin1(field.key.data(), field.key.size()));
        m_boxes.emplace_back(field.key, edit);
        auto* label = new QLabel(tr(field.caption), this);
        label->setBuddy(edit);
        if (field.key == "goalf")
            m_goalLabel = label;
        if (field.key.starts_with("boot") || field.key == "seatangle")
            bootForm->addRow(label, edit);
        else
            searchForm->addRow(label, edit);
    }
    box("power")->setPlaceholderText(tr("N x Pe"));
    box("subsonic")->setPlaceholderText(tr("none"));
    searchForm->addRow(tr("Subsonic filter"), m_subsonicOrder);
    auto* bootRow = new QHBoxLayout(bootGroup);
    bootRow->addLayout(bootForm);
    bootRow->addWidget(new BootPicture(bootGroup), 1);

    m_search = new QPushButton(tr("&Search"), this);
    m_search->setObjectName(QStringLiteral("cmdSearch"));
    m_search->setDefault(true);
    m_cancelButton = new QPushButton(tr("Cancel"), this);
    m_cancelButton->setObjectName(QStringLiteral("cmdCancel"));
    m_cancelButton->setShortcut(QKeySequence(Qt::Key_Escape));
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

    m_table = new QTableWidget(0, 10, this);
    m_table->setObjectName(QStringLiteral("tblFront"));
    m_table->setHorizontalHeaderLabels(
        {QString(), tr("h2 x b2 x l3 (cm)"), tr("Net (l)"), tr("Fb (Hz)"), tr("Port"), tr("F3 (Hz)"),
         tr("Max. SPL at F (dB)"), tr("Port speed margin (m/s)"), tr("Xmax margin (mm)"), tr("Outer (l)")});
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_plot = new FitPlot(sep, this);
    m_use = new QPushButton(tr("&Use this design"), this);
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
    const bool smallest = m_goal->currentIndex() == static_cast<int>(FitGoal::Smallest);
    m_goalLabel->setText(smallest ? tr("Target F3 (Hz)") : tr("F (Hz)"));
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
            m_status->setText(toQString(error));
            edit->setFocus();
            return;
        }
    }
    const auto woofer = parseWoofer(app.sound, sep);
    const auto options = parseSoundOptions(app.sound, sep);
    if (!woofer || !options) {
        m_status->setText(tr("The woofer: %1. Type its parameters in \"How it will sound\" (F7) first.")
                              .arg(toQString((!woofer ? woofer.error() : options.error()).message)));
        return;
    }
    request.woofer = *woofer;
    request.sound = *options;
    m_result.reset();
    showResult();
    m_cancel = false;
    m_finished = false;
    m_status->setText(tr("Searching..."));
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
        m_status->setText(tr("Cancelled."));
    } else if (!result.error.empty()) {
        m_status->setText(toQString(result.error));
    } else {
        m_result = result;
        m_status->setText(tr("%1 designs in %2 s.")
                              .arg(QLocale::c().toString(static_cast<qulonglong>(result.evaluated)))
                              .arg(number(result.seconds, 2, sep)));
        if (!result.best)
            m_status->setText(m_status->text() + QLatin1Char(' ') +
                              tr("No box in this boot keeps every rule for this goal."));
    }
    showResult();
    setRunning(false);
    emit searchFinished();
}

QString frmFit::designPort(const FitDesign& d) const
{
    const ModelInputs& in = d.inputs;
    if (in.pieces2 <= 0)
        return tr("sealed");
    if (in.ptype == 0)
        return tr("%1 x round %2, lp %3").arg(in.pieces2).arg(shownLength(in.dp), shownLength(in.lp));
    return tr("slot %1 x %2, lp %3").arg(shownLength(in.bp), shownLength(in.hp), shownLength(in.lp));
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
    // The captions follow the program's measure each time the window shows.
    const bool inches = m_host.app().measure == Measure::Imperial;
    const QString from = inches ? QStringLiteral("(cm)") : QStringLiteral("(in)");
    const QString to = inches ? QStringLiteral("(in)") : QStringLiteral("(cm)");
    // The first values are a boot in cm: shown once in the program's measure.
    for (const auto& [key, edit] : m_boxes)
        if (key.starts_with("boot") && !edit->property("shownInMeasure").toBool()) {
            edit->setText(shownLength(toStdString(edit->text())));
            edit->setProperty("shownInMeasure", true);
        }
    for (QLabel* label : findChildren<QLabel*>())
        if (label->buddy() && label->text().contains(from))
            label->setText(label->text().replace(from, to));
    for (int c = 0; c < m_table->columnCount(); ++c)
        if (QTableWidgetItem* h = m_table->horizontalHeaderItem(c))
            h->setText(h->text().replace(from, to).replace(
                inches ? QStringLiteral("(l)") : QStringLiteral("(ft³)"),
                inches ? QStringLiteral("(ft³)") : QStringLiteral("(l)")));
    QWidget::showEvent(event);
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
    std::vector<const FitDesign*> rows;
    if (m_result->best)
        rows.push_back(&*m_result->best);
    for (const FitDesign& d : m_result->front)
        rows.push_back(&d);
    m_table->setRowCount(static_cast<int>(rows.size()));
    for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
        const FitDesign& d = *rows[static_cast<std::size_t>(r)];
        const QStringList cells = {r == 0 && m_result->best ? tr("Best") : QString(),
                                   shownLength(d.inputs.h2) + " x " + shownLength(d.inputs.b2) + " x " +
                                       shownLength(d.inputs.l3),
                                   inches ? toQString(volumeText(d.netVolume, Measure::Imperial, sep, false))
                                          : number(d.netVolume, 2, sep),
                                   d.fb ? number(*d.fb, 1, sep) : QStringLiteral("-"),
                                   designPort(d),
                                   number(d.f3, 1, sep),
                                   number(d.maxSplAt, 1, sep),
                                   d.fb ? number(d.portSpeedMargin, 1, sep) : QStringLiteral("-"),
                                   number(d.excursionMargin, 1, sep),
                                   number(d.outerVolume, 1, sep)};
        for (int c = 0; c < cells.size(); ++c)
            m_table->setItem(r, c, new QTableWidgetItem(cells[c]));
    }
    m_plot->show(m_result->front, m_result->best);
    if (const FitDesign* best = m_result->best ? &*m_result->best : nullptr)
        m_best->setText(tr("Best: %1 x %2 x %3 %8, %4, net %5, F3 %6 Hz, max. SPL at F %7 dB.")
                            .arg(shownLength(best->inputs.h2), shownLength(best->inputs.b2),
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
