// The "Fit my boot" window: the boot's four measures, the box type, the goal and the amplifier, a search
// off the user-interface thread with its progress and Cancel, then the best design and the front of the
// others as a table and a plot. "Use this design" writes the chosen design's every input into the main
// window, which recalculates, so the sound and boards windows follow.
#pragma once

#include "fit/Fit.h"

#include <QWidget>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <thread>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableWidget;

namespace kelvra
{

class MainWindowHost;
class BootPicture;
class FitPlot;

class frmFit : public QWidget
{
    Q_OBJECT
public:
    explicit frmFit(MainWindowHost& host, QWidget* parent = nullptr);
    ~frmFit() override;

    // The box of a search key ("bootdepth", "goalf", "power" ...).
    QLineEdit* box(std::string_view key) const;
    bool searching() const { return m_worker.joinable() && !m_finished; }
    // The last search that ran to its end; none before the first or after a Cancel.
    const std::optional<FitResult>& result() const { return m_result; }
    // The design "Use this design" writes: the chosen row of the table, else the best.
    const FitDesign* chosen() const;

    void startSearch();
    void cancelSearch();
    void useChosen();

signals:
    void searchFinished();

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // The window's own texts again after a language file changed them.
    void changeEvent(QEvent* event) override;

private:
    void buildControls();
    void onGoalChanged();
    void onFinished(const FitResult& result);
    void showResult();
    // The texts the window draws itself, in the language and measure shown: the headings, the
    // pictures', the status, the best design and the ports of the table.
    void showTexts();
    void showResultTexts();
    void showGoalCaption();
    QString text(const char* name) const;
    // A typed box's fault and the search's own, in the window's words.
    QString boxReason(const std::string& error, const QLineEdit* box) const;
    QString searchReason(const std::string& error) const;
    // The status is kept as how to write it, so a new language writes it again.
    void setStatus(std::function<QString()> status);
    // The designs of the table's rows: the best first, then the front.
    std::vector<const FitDesign*> rows() const;
    void setRunning(bool running);
    void stopWorker();
    QString designPort(const FitDesign& d) const;
    // Lengths of the model (cm) as the user reads them, and a boot box's text as the search takes it.
    QString shownLength(const std::string& cm) const;
    std::string typedLength(std::string_view key, const QLineEdit* edit) const;

    MainWindowHost& m_host;
    std::thread m_worker;
    std::atomic<bool> m_cancel{false};
    std::atomic<bool> m_finished{true};
    std::optional<FitResult> m_result;

    std::vector<std::pair<std::string_view, QLineEdit*>> m_boxes;
    QComboBox* m_boxType = nullptr;
    QComboBox* m_goal = nullptr;
    QComboBox* m_subsonicOrder = nullptr;
    QLabel* m_goalLabel = nullptr;
    QLabel* m_status = nullptr;
    std::function<QString()> m_statusText;
    QLabel* m_best = nullptr;
    QProgressBar* m_progress = nullptr;
    QPushButton* m_search = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QPushButton* m_use = nullptr;
    QTableWidget* m_table = nullptr;
    FitPlot* m_plot = nullptr;
    BootPicture* m_picture = nullptr;
};

} // namespace kelvra
