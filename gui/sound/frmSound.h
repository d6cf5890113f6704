// The "How it will sound" window: the woofer's Thiele/Small parameters, the port's end correction, the
// car and the power, and what the designed box does with them: the port's tuning, the port length for a
// target tuning, the alignment, the sensitivity, where the limits are reached, and the curves.
// It reads the design from the main window after every recalculation; it writes only the port length,
// through the main window, as a user's change would.
#pragma once

#include "acoustics/Acoustics.h"
#include "persist/WooferLibrary.h"

#include <QWidget>

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>

class QComboBox;
class QGridLayout;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;

namespace kelvra
{

class MainWindowHost;
class ParameterBoxes;
class SoundCharts;

class frmSound : public QWidget
{
    Q_OBJECT
public:
    explicit frmSound(MainWindowHost& host, QWidget* parent = nullptr);
    ~frmSound() override;

    // Reads the design and the sound inputs again and shows the figures and curves; the main window
    // calls it after every recalculation and on every switch of simulation mode.
    void refresh();

    // Asks for a file name to write (caption, suggested name, filter); a file dialog unless a test puts
    // another chooser in place. An empty answer cancels.
    using FileChooser = std::function<QString(const QString&, const QString&, const QString&)>;
    void setFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }
    // Asks for the name under which "Save woofer..." stores the woofer (the suggestion is the current one).
    using NameChooser = std::function<QString(const QString&)>;
    void setNameChooser(NameChooser chooser) { m_chooseName = std::move(chooser); }

    // The curve as a CSV file and the plots as a PNG picture; false (and a message) when the file cannot
    // be written or there is no curve.
    bool exportCsv(const QString& path);
    bool exportPng(const QString& path);
    void printTo(QPrinter& printer);

    // The box of a woofer or option key ("qts", "power", "targetfb"), and the message beside it.
    QLineEdit* box(std::string_view key) const;
    QLabel* errorLabel(std::string_view key) const;
    SoundCharts* charts() const { return m_charts; }
    // The last analysis shown; none while the window shows no curve.
    const std::optional<SoundReport>& report() const { return m_report; }

protected:
    void closeEvent(QCloseEvent* event) override;
    // A new language: the texts the window draws itself are written again.
    void changeEvent(QEvent* event) override;

private:
    void buildControls();
    QWidget* buildResults();
    void showTexts();
    void onBoxesEdited();
    void onUsePortLength();
    void onUseSuggestedTuning();
    void addChoice(QWidget* owner, QGridLayout* grid, int row, std::size_t index);
    void onExportCsvClicked();
    void onExportPngClicked();
    void onPrintClicked();
    void fillLibrary();
    // Once a field differs from the woofer loaded from the list, the list shows "(own woofer)".
    void showOwnWoofer();
    void onLoadWoofer();
    void onSaveWoofer();
    void showNoFigures(const QString& reason);
    void markError(const AcousticsError& error);
    void showReport(const SoundReport& report, const Woofer& woofer, bool vented);
    QString number(double value, int decimals) const;
    // Rounded, without trailing zeros, as the core's own figures.
    QString figure(double value, int decimals) const;
    QString warningLine(const SoundWarning& warning) const;
    // A reason the acoustics core gives in English, in the window's language.
    QString reason(const std::string& english) const;
    // An error the acoustics core gives for a box, as the box shows it.
    QString fieldMessage(const AcousticsError& error) const;
    // A text the window writes itself, as the window's language has it.
    QString text(const char* name) const;
    bool refuseWrite(const QString& path);

    MainWindowHost& m_host;
    char m_separator;
    bool m_syncing = false; // the boxes are being filled from the inputs: not an edit
    std::unique_ptr<ParameterBoxes> m_woofer;
    std::unique_ptr<ParameterBoxes> m_options;
    QGroupBox* m_wooferGroup = nullptr;
    QComboBox* m_library = nullptr;
    QPushButton* m_loadWoofer = nullptr;
    QPushButton* m_saveWoofer = nullptr;
    QComboBox* m_endCorrection = nullptr;
    QComboBox* m_car = nullptr;
    QLabel* m_fb = nullptr;
    QLabel* m_portLength = nullptr;
    QPushButton* m_usePortLength = nullptr;
    QLabel* m_alignment = nullptr;
    QLabel* m_sensitivity = nullptr;
    QLabel* m_xmaxAt = nullptr;
    QLabel* m_portSpeedAt = nullptr;
    QLabel* m_portClearance = nullptr; // the port's inner end too near the wall it faces
    QLabel* m_warnings = nullptr;
    QLabel* m_load = nullptr;
    QLabel* m_fullPower = nullptr;
    QLabel* m_portResonance = nullptr;
    QLabel* m_suggestedSealed = nullptr;
    QLabel* m_suggestedVented = nullptr;
    QPushButton* m_useSuggestedTuning = nullptr;
    std::array<QComboBox*, 6> m_choices{}; // coils, ohm per coil, their wiring, the woofers', filter kinds
    std::optional<double> m_suggestedFb;   // what the tuning button writes into the target Fb box
    double m_netVolume = 0;                // litres, the design's, for the suggestions' difference
    QLabel* m_status = nullptr;
    QPushButton* m_exportCsv = nullptr;
    QPushButton* m_exportPng = nullptr;
    QPushButton* m_print = nullptr;
    QPushButton* m_close = nullptr;
    SoundCharts* m_charts = nullptr;
    std::vector<WooferEntry> m_woofers;  // the library as listed
    std::optional<WooferTexts> m_loaded; // the woofer last loaded from the list
    std::optional<SoundReport> m_report;
    std::optional<double> m_portLengthCm; // what the button writes into the port length box
    FileChooser m_chooseFile;
    NameChooser m_chooseName;
};

} // namespace kelvra
