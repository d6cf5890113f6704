#include "gui/lang/frmOptions.h"

#include "gui/common/MessageService.h"
#include "gui/common/Twips.h"
#include "gui/lang/LoadLanguage.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

namespace kelvra
{

namespace
{
constexpr double kClientWidth = 3360;
constexpr double kClientHeight = 1605;

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption, double top)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setGeometry(twipRect(120, top, 1095, 375));
    return b;
}
} // namespace

void FillLanguageList(QComboBox& list, const AppState& app)
{
    list.clear();
    if (!app.languagesFound)
        return;
    for (const LanguageRow& row : app.languages)
        list.addItem(toQString(row.name));
}

frmOptions::frmOptions(MainWindowHost& host, LanguageTarget& mainWindow, QWidget* parent)
    : QDialog(parent), m_host(host), m_mainWindow(mainWindow)
{
    setObjectName("frmOptions");
    setWindowTitle("Settings");
    setModal(true);
    setFixedSize(twipsToPixels(kClientWidth), twipsToPixels(kClientHeight));

    m_cmdOK = makeButton(this, "cmdOK", "OK", 120);
    m_cmdCancel = makeButton(this, "cmdCancel", "Cancel", 600);
    m_cmdApply = makeButton(this, "cmdApply", "Apply", 1080);
    // Enter in the text field must not press OK behind the user's back.
    for (QPushButton* b : {m_cmdOK, m_cmdCancel, m_cmdApply})
        b->setAutoDefault(false);

    m_cboLanguage = new QComboBox(this);
    m_cboLanguage->setObjectName("cboLanguage");
    m_cboLanguage->setGeometry(twipRect(1440, 120, 1815, 315));
    m_cboLanguage->setEditable(true);
    m_cboLanguage->setInsertPolicy(QComboBox::NoInsert);

    m_cmbMeasure = new QComboBox(this);
    m_cmbMeasure->setObjectName("cmbMeasure");
    m_cmbMeasure->setGeometry(twipRect(1440, 600, 1815, 315));
    m_cmbMeasure->addItems({"Metric", "Imperial"});

    connect(m_cmdOK, &QPushButton::clicked, this, &frmOptions::onOKClicked);
    connect(m_cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_cmdApply, &QPushButton::clicked, this, &frmOptions::onApplyClicked);

    // Load handler.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    }
    const AppState& app = m_host.app();
    if (app.languagesFound) {
        FillLanguageList(*m_cboLanguage, app);
        m_cboLanguage->setEnabled(true);
        m_cboLanguage->setCurrentIndex(app.languageIndex);
    } else {
        m_cboLanguage->clear();
        m_cboLanguage->addItem("Standard");
        m_cboLanguage->setCurrentIndex(0);
        m_cboLanguage->setEnabled(false);
    }
    if (m_cboLanguage->currentIndex() < 0)
        m_cboLanguage->setEditText("Select your language");
    m_cmbMeasure->setCurrentIndex(static_cast<int>(app.measure));
}

int frmOptions::selectedLanguage() const
{
    // A text typed in full that is a language's name counts as choosing it.
    const int index = m_cboLanguage->currentIndex();
    if (index >= 0 && m_cboLanguage->currentText() == m_cboLanguage->itemText(index))
        return index;
    return m_cboLanguage->findText(m_cboLanguage->currentText(),
                                   Qt::MatchFixedString | Qt::MatchCaseSensitive);
}

void frmOptions::onApplyClicked()
{
    const int index = selectedLanguage();
    if (index < 0)
        return;
    m_host.app().languageIndex = index;
    Load_Language(m_host, m_mainWindow);
}

void frmOptions::onOKClicked()
{
    onApplyClicked();
    const Measure chosen = m_cmbMeasure->currentIndex() == 1 ? Measure::Imperial : Measure::Metric;
    AppState& app = m_host.app();
    if (chosen != app.measure) {
        app.measure = chosen;
        app.ini.WriteIni("Settings", "Measure", measureSetting(chosen));
        m_host.applyMeasure();
    }
    QCoreApplication::processEvents();
    accept();
}

} // namespace kelvra
