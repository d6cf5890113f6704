// The options dialog "Settings": the language of the main window and the measurement system every
// length and volume is typed and shown in.
#pragma once

#include "gui/common/MainWindowHost.h"
#include "lang/LanguageTarget.h"

#include <QDialog>

class QComboBox;
class QPushButton;

namespace kelvra
{

// Fills a list with the names of the language rows, in row order (nothing without language files).
void FillLanguageList(QComboBox& list, const AppState& app);

class frmOptions : public QDialog
{
    Q_OBJECT
public:
    // Loading centres the dialog on the screen and fills both lists; frmMain shows it with exec().
    frmOptions(MainWindowHost& host, LanguageTarget& mainWindow, QWidget* parent = nullptr);

    QComboBox* cboLanguage() const { return m_cboLanguage; }
    QComboBox* cmbMeasure() const { return m_cmbMeasure; }
    QPushButton* cmdOK() const { return m_cmdOK; }
    QPushButton* cmdCancel() const { return m_cmdCancel; }
    QPushButton* cmdApply() const { return m_cmdApply; }

    // The position of the chosen entry of cboLanguage, or -1 when the user has typed a text of their
    // own that names no language.
    int selectedLanguage() const;

private:
    void onApplyClicked();
    void onOKClicked();

    MainWindowHost& m_host;
    LanguageTarget& m_mainWindow;
    QPushButton* m_cmdOK = nullptr;
    QPushButton* m_cmdCancel = nullptr;
    QPushButton* m_cmdApply = nullptr;
    QComboBox* m_cboLanguage = nullptr;
    QComboBox* m_cmbMeasure = nullptr;
};

} // namespace kelvra
