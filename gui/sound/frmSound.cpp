#include "gui/sound/frmSound.h"
#include "gui/common/Refusals.h"

#include "acoustics/DesignPort.h"
#include "acoustics/PortTuning.h"
#include "boards/Boards.h"
#include "calc/Numeric.h"
#include "gui/common/AppState.h"
#include "gui/common/MainWindowHost.h"
#include "gui/common/MessageService.h"
#include "gui/common/WindowTexts.h"
#include "gui/sound/AcousticsReasons.h"
#include "gui/sound/ParameterBoxes.h"
#include "gui/sound/SoundCharts.h"
#include "gui/sound/frmSoundTexts.h"
#include "units/Units.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <cmath>

namespace kelvra
{

namespace
{

// The window's texts give lengths in cm; in inches they read in inches, as everywhere else.
QString inMeasure(const QString& text, const AppState& app)
{
    return toQString(measureText(toStdString(text), app.measure, app.decimalSeparator));
}

constexpr std::array<ParameterField, 10> kWooferFields{{
    {"fs", "Fs", "Hz", "Resonantie in vrije lucht", ""},
    {"qts", "Qts", "", "Totale Q; leeg: uit Qes en Qms", ""},
    {"qes", "Qes", "", "Elektrische Q", ""},
    {"qms", "Qms", "", "Mechanische Q", ""},
    {"vas", "Vas", "l", "Gelijkwaardig luchtvolume van de ophanging", ""},
    {"sd", "Sd", "cm²", "Conusoppervlak", ""},
    {"xmax", "Xmax", "mm", "Lineaire uitslag, een richting", ""},
    {"re", "Re", "Ω", "Gelijkstroomweerstand van de spreekspoel", ""},
    {"pe", "Pe", "W", "Nominaal vermogen", ""},
    {"le", "Le", "mH", "Zelfinductie van de spreekspoel; leeg: 0", "0"},
}};

constexpr std::array<ParameterField, 5> kOptionFields{{
    {"ql", "QL", "", "Verliezen van een poortbox; leeg: 7", "7"},
    {"power", "Power", "W", "Het vermogen van de versterker voor alle woofers samen; leeg: 1 W", "1"},
    {"targetfb", "Target Fb", "Hz", "The tuning the port length below is for", ""},
    {"subsonic", "Subsonic", "Hz", "Het subsonische (hoogdoorlaat) filter van de versterker; leeg: geen", ""},
    {"lowpass", "Low-pass", "Hz", "Het laagdoorlaatfilter van de versterker; leeg: geen", ""},
}};

// The choices of the combo boxes: the key they are stored under, their caption, the stored value of
// each item and the item's text. Every built-in text of these controls is here.
struct Choice {
    const char* key;
    const char* objectName;
    const char* caption;
    std::array<int, 4> values;
    std::array<const char*, 4> items; // nullptr ends the list
    int fallback;                     // the value when the key is empty
};
constexpr std::array<Choice, 6> kChoices{{
    {"coils", "cmbCoils", "Spreekspoelen", {1, 2}, {"1 (enkel)", "2 (dubbel)"}, 1},
    {"z", "cmbCoilOhm", "Ohm per spoel", {1, 2, 4, 8}, {"1 Ω", "2 Ω", "4 Ω", "8 Ω"}, 4},
    {"coilwiring", "cmbCoilWiring", "Spoelen geschakeld", {0, 1}, {"In serie", "Parallel"}, 0},
    {"wiring", "cmbWiring", "Woofers geschakeld", {0, 1}, {"Parallel", "In serie"}, 0},
    {"subsonicorder",
     "cmbSubsonicOrder",
     "",
     {2, 4, 5},
     {"Butterworth 2", "Butterworth 4", "Linkwitz-Riley 4"},
     4},
    {"lowpassorder",
     "cmbLowpassOrder",
     "",
     {2, 4, 5},
     {"Butterworth 2", "Butterworth 4", "Linkwitz-Riley 4"},
     4},
}};

// The plot check boxes, in the order of PlotKind.
constexpr std::array<std::pair<const char*, const char*>, kPlotCount> kPlotChecks{{
    {"chkPlotSpl", "SPL"},
    {"chkPlotExcursion", "Uitslag"},
    {"chkPlotPortSpeed", "Poortsnelheid"},
    {"chkPlotMaxSpl", "Max SPL"},
    {"chkPlotMaxPower", "Max vermogen"},
    {"chkPlotImpedance", "Impedantie"},
    {"chkPlotGroupDelay", "Groepsvertraging"},
}};

constexpr const char* kSettingsSection = "Sound";

QString captionOfKey(std::string_view key)
{
    for (const ParameterField& f : kWooferFields)
        if (f.key == key)
            return QString::fromUtf8(f.caption);
    for (const ParameterField& f : kOptionFields)
        if (f.key == key)
            return QString::fromUtf8(f.caption);
    return QString::fromUtf8(key.data(), static_cast<qsizetype>(key.size()));
}

} // namespace

// "qms: must be greater than qts" under the Qms box reads "Must be greater than Qts", in the window's
// words.
QString frmSound::fieldMessage(const AcousticsError& error) const
{
    std::string english = error.message;
    const std::string prefix = error.field + ": ";
    if (english.starts_with(prefix))
        english = english.substr(prefix.size());
    const QString text = reason(english);
    static const QRegularExpression word(
        QStringLiteral("\\b(fs|qts|qes|qms|vas|sd|xmax|re|pe|le|ql|subsonic|lowpass)\\b"));
    QString out;
    qsizetype from = 0;
    for (auto it = word.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        out += text.mid(from, m.capturedStart() - from) + captionOfKey(toStdString(m.captured()));
        from = m.capturedEnd();
    }
    out += text.mid(from);
    if (!out.isEmpty())
        out[0] = out[0].toUpper();
    // The ranges' numbers as the user writes them.
    static const QRegularExpression decimal(QStringLiteral("(\\d)\\.(\\d)"));
    if (m_separator != '.')
        out.replace(decimal, QStringLiteral("\\1") + QChar::fromLatin1(m_separator) + QStringLiteral("\\2"));
    return out;
}

frmSound::frmSound(MainWindowHost& host, QWidget* parent)
    : QWidget(parent, Qt::Window), m_host(host), m_separator(host.app().decimalSeparator)
{
    setObjectName(QStringLiteral("frmSound"));
    setWindowTitle(tr("Hoe het zal klinken"));
    {
        WindowTexts texts(*this);
        for (const auto& [name, builtIn] : kSoundTexts)
            texts.add(name, builtIn);
        for (const AcousticsReason& r : kAcousticsReasons)
            texts.add(r.name, r.builtIn);
    }
    buildControls();

    m_chooseFile = [this](const QString& caption, const QString& name, const QString& filter) {
        return QFileDialog::getSaveFileName(this, caption, name, filter);
    };
    m_chooseName = [this](const QString& suggested) {
        return QInputDialog::getText(this, text("dlgSaveWoofer"), text("dlgWooferName"), QLineEdit::Normal,
                                     suggested);
    };

    for (QLineEdit* b : m_woofer->boxes())
        connect(b, &QLineEdit::textChanged, this, &frmSound::onBoxesEdited);
    for (QLineEdit* b : m_options->boxes())
        connect(b, &QLineEdit::textChanged, this, &frmSound::onBoxesEdited);
    connect(m_endCorrection, &QComboBox::currentIndexChanged, this, &frmSound::onBoxesEdited);
    connect(m_car, &QComboBox::currentIndexChanged, this, &frmSound::onBoxesEdited);
    connect(m_loadWoofer, &QPushButton::clicked, this, &frmSound::onLoadWoofer);
    connect(m_saveWoofer, &QPushButton::clicked, this, &frmSound::onSaveWoofer);
    connect(m_usePortLength, &QPushButton::clicked, this, &frmSound::onUsePortLength);
    connect(m_useSuggestedTuning, &QPushButton::clicked, this, &frmSound::onUseSuggestedTuning);
    connect(m_exportCsv, &QPushButton::clicked, this, &frmSound::onExportCsvClicked);
    connect(m_exportPng, &QPushButton::clicked, this, &frmSound::onExportPngClicked);
    connect(m_print, &QPushButton::clicked, this, &frmSound::onPrintClicked);
    connect(m_close, &QPushButton::clicked, this, &QWidget::close);

    const IniStore& ini = m_host.app().ini;
    const QSize stored(toQString(ini.ReadIni(kSettingsSection, "Width", "0")).toInt(),
                       toQString(ini.ReadIni(kSettingsSection, "Height", "0")).toInt());
    // The size the user left it at, never smaller than what shows every caption whole.
    resize((stored.width() > 0 && stored.height() > 0 ? stored : QSize(1240, 860))
               .expandedTo(minimumSizeHint()));
    fillLibrary();
    refresh();
}

frmSound::~frmSound() = default;

void frmSound::buildControls()
{
    auto* wooferGroup = new QGroupBox(tr("Woofer"), this);
    m_wooferGroup = wooferGroup;
    wooferGroup->setObjectName(QStringLiteral("fraWoofer"));
    auto* wooferGrid = new QGridLayout(wooferGroup);
    m_library = new QComboBox(wooferGroup);
    m_library->setObjectName(QStringLiteral("cmbWooferLibrary"));
    m_library->setToolTip(tr("De woofers van de bibliotheek"));
    m_library->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_library->setMinimumContentsLength(24);
    m_loadWoofer = new QPushButton(tr("Laden"), wooferGroup);
    m_loadWoofer->setObjectName(QStringLiteral("cmdLoadWoofer"));
    m_saveWoofer = new QPushButton(tr("Woofer opslaan..."), wooferGroup);
    m_saveWoofer->setObjectName(QStringLiteral("cmdSaveWoofer"));
    auto* libraryRow = new QHBoxLayout;
    libraryRow->addWidget(m_library, 1);
    libraryRow->addWidget(m_loadWoofer);
    wooferGrid->addLayout(libraryRow, 0, 0, 1, 4);
    m_woofer = std::make_unique<ParameterBoxes>(wooferGroup, wooferGrid, 1, kWooferFields);
    const int coilRow = 1 + 2 * static_cast<int>(kWooferFields.size());
    auto* wiredNote = new QLabel(tr("De parameters zijn die van een woofer met zijn spoelen geschakeld zoals "
                                    "gekozen onder \"Box, auto en vermogen\"."),
                                 wooferGroup);
    wiredNote->setObjectName(QStringLiteral("lblWiredNote"));
    wiredNote->setWordWrap(true);
    wooferGrid->addWidget(wiredNote, coilRow, 0, 1, 4);
    addChoice(wooferGroup, wooferGrid, coilRow + 1, 0);
    addChoice(wooferGroup, wooferGrid, coilRow + 2, 1);
    wooferGrid->addWidget(m_saveWoofer, coilRow + 3, 0, 1, 4, Qt::AlignRight);

    auto* optionsGroup = new QGroupBox(tr("Box, auto en vermogen"), this);
    optionsGroup->setObjectName(QStringLiteral("fraSoundOptions"));
    auto* optionsGrid = new QGridLayout(optionsGroup);
    m_endCorrection = new QComboBox(optionsGroup);
    m_endCorrection->setObjectName(QStringLiteral("cmbEndCorrection"));
    // The items are written with their k in showTexts, so a language file translates the words alone.
    m_endCorrection->addItems({QString(), QString(), QString()});
    m_car = new QComboBox(optionsGroup);
    m_car->setObjectName(QStringLiteral("cmbCar"));
    m_car->addItems({tr("Geen (geen versterking in de auto)"), tr("Compact (vanaf 87 Hz)"),
                     tr("Middenklasse (vanaf 66 Hz)"), tr("Bus / stationwagen (vanaf 48 Hz)")});
    auto* endCaption = new QLabel(tr("Eindcorrectie poort"), optionsGroup);
    endCaption->setObjectName(QStringLiteral("lblEndCorrection"));
    endCaption->setBuddy(m_endCorrection);
    auto* carCaption = new QLabel(tr("Auto"), optionsGroup);
    carCaption->setObjectName(QStringLiteral("lblCar"));
    carCaption->setBuddy(m_car);
    optionsGrid->addWidget(endCaption, 0, 0);
    optionsGrid->addWidget(m_endCorrection, 0, 1, 1, 3);
    optionsGrid->addWidget(carCaption, 1, 0);
    optionsGrid->addWidget(m_car, 1, 1, 1, 3);
    m_options = std::make_unique<ParameterBoxes>(optionsGroup, optionsGrid, 2, kOptionFields);
    m_options->box("lowpass")->setObjectName(QStringLiteral("txtLowpass"));
    for (const auto& [name, caption] :
         {std::pair{"lblPower", "Vermogen"}, {"lblTargetFb", "Doel-Fb"}, {"lblLow-pass", "Laagdoorlaat"}})
        if (auto* label = findChild<QLabel*>(QString::fromLatin1(name)))
            label->setText(QString::fromUtf8(caption));
    m_options->errorLabel("lowpass")->setObjectName(QStringLiteral("lblErrorLowpass"));
    // The filters' kinds beside their frequencies, the wiring under them.
    const int filterRow = 2 + 2 * 3;
    addChoice(optionsGroup, optionsGrid, filterRow, 4);
    addChoice(optionsGroup, optionsGrid, filterRow + 2, 5);
    const int wiringRow = 2 + 2 * static_cast<int>(kOptionFields.size());
    addChoice(optionsGroup, optionsGrid, wiringRow, 2);
    addChoice(optionsGroup, optionsGrid, wiringRow + 1, 3);

    auto* left = new QVBoxLayout;
    left->addWidget(wooferGroup);
    left->addStretch();
    auto* middle = new QVBoxLayout;
    middle->addWidget(optionsGroup);
    middle->addWidget(buildResults());
    middle->addStretch();

    m_charts = new SoundCharts(m_separator, this);
    auto* plotRow = new QGridLayout;
    auto* plotsCaption = new QLabel(tr("Grafieken:"), this);
    plotsCaption->setObjectName(QStringLiteral("lblPlots"));
    plotRow->addWidget(plotsCaption, 0, 0);
    for (std::size_t i = 0; i < kPlotChecks.size(); ++i) {
        auto* check = new QCheckBox(tr(kPlotChecks[i].second), this);
        check->setObjectName(QString::fromLatin1(kPlotChecks[i].first));
        check->setChecked(m_charts->plotShown(static_cast<PlotKind>(i)));
        connect(check, &QCheckBox::toggled, this,
                [this, i](bool on) { m_charts->setPlotShown(static_cast<PlotKind>(i), on); });
        plotRow->addWidget(check, static_cast<int>(i / 4), 1 + static_cast<int>(i % 4));
    }
    plotRow->setColumnStretch(5, 1);
    auto* right = new QVBoxLayout;
    right->addLayout(plotRow);
    right->addWidget(m_charts, 1);
    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 0);
    columns->addLayout(middle, 0);
    columns->addLayout(right, 1);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("lblStatus"));
    m_status->setWordWrap(true);
    m_status->setStyleSheet(QStringLiteral("color: rgb(160,0,0); font-weight: bold;"));

    auto button = [this](const QString& caption, const char* name) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        return b;
    };
    m_exportCsv = button(tr("&CSV exporteren..."), "cmdExportCsv");
    m_exportPng = button(tr("P&NG exporteren..."), "cmdExportPng");
    m_print = button(tr("&Afdrukken..."), "cmdPrint");
    m_close = button(tr("&Sluiten"), "cmdClose");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_status, 1);
    for (QPushButton* b : {m_exportCsv, m_exportPng, m_print, m_close})
        buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns, 1);
    layout->addLayout(buttons);
}

void frmSound::addChoice(QWidget* owner, QGridLayout* grid, int row, std::size_t index)
{
    const Choice& c = kChoices[index];
    auto* combo = new QComboBox(owner);
    combo->setObjectName(QString::fromLatin1(c.objectName));
    for (const char* item : c.items)
        if (item)
            combo->addItem(tr(item));
    m_choices[index] = combo;
    connect(combo, &QComboBox::currentIndexChanged, this, &frmSound::onBoxesEdited);
    if (*c.caption) {
        auto* caption = new QLabel(tr(c.caption), owner);
        caption->setObjectName(QStringLiteral("lbl") +
                               QString::fromLatin1(c.objectName + 3)); // "cmbX": "lblX"
        caption->setBuddy(combo);
        grid->addWidget(caption, row, 0);
        grid->addWidget(combo, row, 1, 1, 3);
    } else {
        grid->addWidget(combo, row, 3);
    }
}

QWidget* frmSound::buildResults()
{
    auto* group = new QGroupBox(tr("Wat de box doet"), this);
    group->setObjectName(QStringLiteral("fraSoundResults"));
    auto label = [group](const char* name) {
        auto* l = new QLabel(group);
        l->setObjectName(QString::fromLatin1(name));
        l->setWordWrap(true);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        return l;
    };
    m_fb = label("lblFb");
    m_portLength = label("lblPortLength");
    m_alignment = label("lblAlignment");
    m_sensitivity = label("lblSensitivity");
    m_xmaxAt = label("lblXmaxAt");
    m_portSpeedAt = label("lblPortSpeedAt");
    m_portClearance = label("lblPortClearance");
    m_portClearance->setStyleSheet(QStringLiteral("color: rgb(160,0,0);"));
    m_portClearance->hide();
    m_warnings = label("lblWarnings");
    m_warnings->setStyleSheet(QStringLiteral("color: rgb(170,90,0);"));
    m_load = label("lblLoad");
    m_fullPower = label("lblFullPower");
    m_portResonance = label("lblPortResonance");
    m_suggestedSealed = label("lblSuggestedSealed");
    m_suggestedVented = label("lblSuggestedVented");
    m_useSuggestedTuning = new QPushButton(tr("Deze afstemming gebruiken"), group);
    m_useSuggestedTuning->setObjectName(QStringLiteral("cmdUseSuggestedTuning"));
    m_useSuggestedTuning->setToolTip(tr("Neemt de voorgestelde afstemming als doel-Fb"));
    m_usePortLength = new QPushButton(tr("Deze poortlengte gebruiken"), group);
    m_usePortLength->setObjectName(QStringLiteral("cmdUsePortLength"));
    m_usePortLength->setToolTip(tr("Schrijft de poortlengte in het hoofdvenster"));
    auto* portRow = new QHBoxLayout;
    portRow->addWidget(m_portLength, 1);
    portRow->addWidget(m_usePortLength);
    auto* layout = new QVBoxLayout(group);
    layout->addWidget(m_fb);
    layout->addLayout(portRow);
    layout->addWidget(m_portClearance);
    for (QLabel* l : {m_alignment, m_sensitivity, m_load, m_xmaxAt, m_portSpeedAt, m_fullPower,
                      m_portResonance, m_suggestedSealed})
        layout->addWidget(l);
    auto* suggestedRow = new QHBoxLayout;
    suggestedRow->addWidget(m_suggestedVented, 1);
    suggestedRow->addWidget(m_useSuggestedTuning, 0, Qt::AlignTop);
    layout->addLayout(suggestedRow);
    layout->addWidget(m_warnings);
    return group;
}

QLineEdit* frmSound::box(std::string_view key) const
{
    QLineEdit* b = m_woofer->box(key);
    return b ? b : m_options->box(key);
}

QLabel* frmSound::errorLabel(std::string_view key) const
{
    QLabel* l = m_woofer->errorLabel(key);
    return l ? l : m_options->errorLabel(key);
}

QString frmSound::text(const char* name) const
{
    return toQString(WindowTexts(*const_cast<frmSound*>(this)).text(name));
}

QString frmSound::number(double value, int decimals) const
{
    QString text = QString::number(value, 'f', decimals);
    if (m_separator != '.')
        text.replace('.', QChar::fromLatin1(m_separator));
    return text;
}

QString frmSound::figure(double value, int decimals) const
{
    return toQString(formatDouble(roundHalfEven(value, decimals), m_separator));
}

QString frmSound::reason(const std::string& english) const
{
    return acousticsReason(english, [this](const char* name) { return text(name); });
}

QString frmSound::warningLine(const SoundWarning& w) const
{
    switch (w.kind) {
    case SoundWarningKind::QtsDisagrees:
        return text("wrnQtsDisagrees").arg(figure(w.value, 3), figure(w.limit, 3));
    case SoundWarningKind::PowerAboveRated:
        return text("wrnPowerAboveRated").arg(figure(w.value, 1), figure(w.limit, 1));
    case SoundWarningKind::TargetPortTooLong:
        return text("wrnTargetPortTooLong").arg(figure(w.target, 1), figure(w.value, 1), figure(w.limit, 1));
    case SoundWarningKind::LoadBelowOneOhm:
        return text("wrnLoadBelowOneOhm").arg(figure(w.value, 2));
    case SoundWarningKind::PipeResonanceLow:
        return text("wrnPipeResonanceLow").arg(figure(w.value, 1));
    }
    return {};
}

void frmSound::showTexts()
{
    showOwnWoofer();
    constexpr std::array<const char*, 3> endNames = {"endFree", "endOneFlanged", "endBothFlanged"};
    for (int i = 0; i < m_endCorrection->count() && i < static_cast<int>(endNames.size()); ++i)
        m_endCorrection->setItemText(
            i, text(endNames[static_cast<std::size_t>(i)]) + QStringLiteral(" (k = ") +
                   number(endCorrectionFactor(static_cast<EndCorrection>(i)), 3) + QStringLiteral(")"));
    // Filling the boxes is not an edit: without this every box would write the half-filled set back.
    m_syncing = true;
    const WooferTexts& texts = m_host.app().sound;
    for (const ParameterBoxes* boxes : {m_woofer.get(), m_options.get()})
        for (std::size_t i = 0; i < boxes->fields().size(); ++i) {
            const QString t = toQString(*texts.find(boxes->fields()[i].key));
            if (boxes->boxes()[i]->text() != t)
                boxes->boxes()[i]->setText(t);
        }
    auto position = [&](std::string_view key, int count, int fallback) {
        bool ok = false;
        const int p = toQString(*texts.find(key)).toInt(&ok);
        return ok && p >= 0 && p < count ? p : fallback;
    };
    m_endCorrection->setCurrentIndex(position("endcorr", 3, static_cast<int>(kDefaultEndCorrection)));
    m_car->setCurrentIndex(position("car", 4, 0));
    for (std::size_t i = 0; i < kChoices.size(); ++i) {
        const Choice& c = kChoices[i];
        bool ok = false;
        const int stored = toQString(*texts.find(c.key)).toInt(&ok);
        const int value = ok ? stored : c.fallback;
        const auto at = std::find(c.values.begin(), c.values.end(), value);
        const auto fallback = std::find(c.values.begin(), c.values.end(), c.fallback);
        m_choices[i]->setCurrentIndex(static_cast<int>(
            (at != c.values.end() && c.items[at - c.values.begin()] ? at : fallback) - c.values.begin()));
    }
    m_choices[2]->setEnabled(m_choices[0]->currentIndex() == 1); // one coil has no wiring of its own
    const std::string& name = *texts.find("name");
    m_wooferGroup->setTitle(name.empty() ? tr("Woofer") : text("wooferNamed").arg(toQString(name)));
    m_syncing = false;
}

void frmSound::onBoxesEdited()
{
    if (m_syncing)
        return;
    WooferTexts& texts = m_host.app().sound;
    for (const ParameterBoxes* boxes : {m_woofer.get(), m_options.get()})
        for (std::size_t i = 0; i < boxes->fields().size(); ++i)
            *texts.find(boxes->fields()[i].key) = toStdString(boxes->boxes()[i]->text());
    *texts.find("endcorr") = std::to_string(m_endCorrection->currentIndex());
    *texts.find("car") = std::to_string(m_car->currentIndex());
    // A choice left at what an empty key means stays empty: a design without it saves as before.
    for (std::size_t i = 0; i < kChoices.size(); ++i) {
        const Choice& c = kChoices[i];
        const int value = c.values[static_cast<std::size_t>(std::max(0, m_choices[i]->currentIndex()))];
        std::string& text = *texts.find(c.key);
        if (!(text.empty() && value == c.fallback))
            text = std::to_string(value);
    }
    refresh();
}

void frmSound::showNoFigures(const QString& reason)
{
    m_report.reset();
    m_charts->clearCurve();
    m_status->setText(inMeasure(reason, m_host.app()));
    for (QLabel* l : {m_alignment, m_sensitivity, m_xmaxAt, m_portSpeedAt, m_warnings, m_load, m_fullPower,
                      m_portResonance, m_suggestedSealed, m_suggestedVented})
        l->clear();
    m_suggestedFb.reset();
    m_useSuggestedTuning->setEnabled(false);
    for (QPushButton* b : {m_exportCsv, m_exportPng, m_print})
        b->setEnabled(false);
}

void frmSound::markError(const AcousticsError& error)
{
    if (box(error.field)) {
        m_woofer->setError(error.field, fieldMessage(error));
        m_options->setError(error.field, fieldMessage(error));
        showNoFigures(text("msgFieldWrong").arg(captionOfKey(error.field)));
    } else {
        showNoFigures(fieldMessage(error));
    }
}

void frmSound::refresh()
{
    m_charts->setTexts([this](const std::string& name) { return text(name.c_str()); });
    showTexts();
    m_woofer->clearErrors();
    m_options->clearErrors();
    m_fb->clear();
    m_portLength->clear();
    m_portLengthCm.reset();
    m_usePortLength->setEnabled(false);
    m_portClearance->clear();
    m_portClearance->hide();
    const AppState& app = m_host.app();
    if (!app.simulationOn) {
        showNoFigures(text("msgNeedsSimulation"));
        return;
    }
    const Checked<SoundOptions> options = parseSoundOptions(app.sound, m_separator);
    if (!options)
        return markError(options.error());
    const Checked<Port> port = designPort(app.inputs, m_separator, options->endCorrection);
    if (!port)
        return showNoFigures(fieldMessage(port.error()));
    const BoardsResult boards = buildBoards(app.inputs, m_separator);
    if (!boards.ok())
        return showNoFigures(toQString(boards.error.text(refusalWords(app.tables))));
    const double vb = boards.boards->netVolumeExact;
    m_netVolume = vb;
    for (const BoardsNotice& n : boards.boards->notices)
        if (n.kind == BoardsNotice::Kind::PortClearance) {
            BoardsWords words;
            words.clearanceRound = text("wrnClearanceRound").toStdString();
            words.clearanceSlot = text("wrnClearanceSlot").toStdString();
            m_portClearance->setText(inMeasure(toQString(noticeText(n, m_separator, words)), app));
            m_portClearance->show();
        }

    const bool vented = port->count > 0;
    if (vented) {
        const Checked<double> fb = tuningFrequency(*port, vb);
        m_fb->setText(fb ? text("resFb").arg(number(*fb, 1)) : fieldMessage(fb.error()));
        if (options->targetFb) {
            // The length that tunes the box it leaves behind, to 0.1 mm so the box lands on the target.
            const Checked<double> length =
                designPortLengthFor(app.inputs, m_separator, options->endCorrection, *options->targetFb);
            if (length) {
                m_portLengthCm = std::round(*length * 100) / 100;
                m_portLength->setText(inMeasure(
                    text("resPortLength").arg(number(*options->targetFb, 1), number(*m_portLengthCm, 2)),
                    app));
                m_usePortLength->setEnabled(true);
            } else {
                m_portLength->setText(text("resNoPortLength").arg(number(*options->targetFb, 1)));
            }
        } else {
            m_portLength->setText(text("resTypeTarget"));
        }
    } else {
        m_fb->setText(text("resSealedFb"));
        m_portLength->setText(text("resChoosePort"));
    }

    if (app.sound.noWoofer())
        return showNoFigures(text("msgNoWoofer"));
    const Checked<Woofer> woofer = parseWoofer(app.sound, m_separator);
    if (!woofer)
        return markError(woofer.error());
    SoundOptions withCount = *options;
    withCount.woofers = app.inputs.pieces0 + 1;
    Checked<SoundReport> report = analyseSound(*woofer, *port, vb, withCount);
    if (!report)
        return markError(report.error());
    SoundReport shown = *report;
    if (m_portLengthCm && withCount.targetFb)
        if (const auto room = targetPortRoom(app.inputs, m_separator, *m_portLengthCm, *withCount.targetFb))
            shown.warnings.push_back(*room);
    showReport(shown, *woofer, vented);
}

void frmSound::showReport(const SoundReport& report, const Woofer& woofer, bool vented)
{
    m_report = report;
    m_status->clear();
    const QString f3 = report.f3 ? number(*report.f3, 1) + QStringLiteral(" Hz") : text("resNotReached");
    if (report.qtc && report.fc)
        m_alignment->setText(text("resSealed").arg(number(*report.qtc, 2), number(*report.fc, 1), f3));
    else
        m_alignment->setText(text("resVented").arg(f3));
    m_sensitivity->setText(
        report.woofers == 1 ? text("resSensitivity").arg(number(report.sensitivity, 1))
                            : text("resSensitivityN").arg(number(report.sensitivity, 1)).arg(report.woofers));
    m_load->setText(text("resLoad").arg(number(report.load, 2)).arg(report.woofers));
    const auto reached = [this](std::optional<double> f) {
        return f ? number(*f, 1) + QStringLiteral(" Hz") : text("resNotInRange");
    };
    m_fullPower->setText(
        vented ? text("resFullPowerVented")
                     .arg(number(report.fullPower.power, 0), reached(report.fullPower.excursionLimitAt),
                          number(kPortSpeedLimit, 0), reached(report.fullPower.portSpeedLimitAt))
               : text("resFullPower")
                     .arg(number(report.fullPower.power, 0), reached(report.fullPower.excursionLimitAt)));
    m_portResonance->setText(
        report.portResonance ? text("resPipeResonance").arg(number(*report.portResonance, 0)) : QString());
    const double vb = m_netVolume;
    const auto fromDesign = [&](double suggested) {
        const double off = vb - suggested;
        return text("resThisBox")
            .arg(number(vb, 1), number(std::abs(off), 1), off >= 0 ? text("resMore") : text("resLess"));
    };
    m_suggestedSealed->setText(report.suggested.sealed ? text("resSuggestedSealed")
                                                             .arg(number(report.suggested.sealed->vb, 1),
                                                                  number(report.suggested.sealed->f3, 1),
                                                                  fromDesign(report.suggested.sealed->vb))
                                                       : text("resNoSuggestedSealed"));
    m_suggestedFb.reset();
    m_useSuggestedTuning->setEnabled(false);
    if (report.suggested.vented) {
        const SuggestedVented& v = *report.suggested.vented;
        m_suggestedVented->setText(
            text("resSuggestedVented")
                .arg(number(v.vb, 1), number(v.fb, 1), number(v.f3, 1), fromDesign(v.vb)));
        m_suggestedFb = std::round(v.fb * 10) / 10;
        m_useSuggestedTuning->setEnabled(vented);
    } else {
        m_suggestedVented->setText(text("resNoSuggestedVented"));
    }
    QStringList warnings;
    for (const SoundWarning& w : report.warnings)
        warnings << warningLine(w);
    m_warnings->setText(inMeasure(warnings.join(QLatin1Char('\n')), m_host.app()));
    const QString xmax = number(woofer.xmax, 1);
    m_xmaxAt->setText(report.excursionLimitF ? text("resXmaxAt").arg(xmax, number(*report.excursionLimitF, 1))
                                             : text("resXmaxNot").arg(xmax));
    const QString limit = number(kPortSpeedLimit, 0);
    if (!vented)
        m_portSpeedAt->setText(text("resNoPortSpeed"));
    else
        m_portSpeedAt->setText(report.portSpeedLimitF
                                   ? text("resPortSpeedAt").arg(limit, number(*report.portSpeedLimitF, 1))
                                   : text("resPortSpeedNot").arg(limit));
    std::vector<PlotPoint> points;
    points.reserve(report.curve.size());
    for (const CurvePoint& p : report.curve)
        points.push_back({p.f, p.spl, p.splCabin, p.excursion, p.portSpeed, p.maxSpl, p.maxPower, p.impedance,
                          p.impedancePhase, p.groupDelay});
    m_charts->showCurve(points, woofer.xmax, kPortSpeedLimit, vented, report.ratedPower);
    for (QPushButton* b : {m_exportCsv, m_exportPng, m_print})
        b->setEnabled(true);
}

void frmSound::onUseSuggestedTuning()
{
    if (!m_suggestedFb)
        return;
    // As if typed: the port length for it follows at once.
    box("targetfb")->setText(number(*m_suggestedFb, 1));
}

void frmSound::onUsePortLength()
{
    if (!m_portLengthCm)
        return;
    // Through the main window's own route, so its recalculation (and with it this window) follows.
    m_host.setModelText(*findModelKey("lp"), toStdString(number(*m_portLengthCm, 2)));
}

void frmSound::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange && isVisible())
        refresh();
    QWidget::changeEvent(event);
}

void frmSound::closeEvent(QCloseEvent* event)
{
    const IniStore& ini = m_host.app().ini;
    ini.WriteIni(kSettingsSection, "Width", std::to_string(width()));
    ini.WriteIni(kSettingsSection, "Height", std::to_string(height()));
    QWidget::closeEvent(event);
}

} // namespace kelvra
