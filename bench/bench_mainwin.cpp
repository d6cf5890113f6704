// The main window's speed as a user feels it, offscreen: a keystroke in txtSize(0) until the result
// labels show the new figures (and, separately, until the window has repainted), the same keystroke with
// the sound window open on a vented box with a woofer and a target tuning (until its figures and plots
// follow), the same with the boards window open too, and the
// start-up from constructing the window until it is shown.
#include "gui/main/frmMain.h"

#include "gui/common/MessageService.h"
#include "gui/sound/frmSound.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

using namespace kelvra;

namespace
{

// Messages never block a benchmark: the start-up's "no language file" notice is answered at once.
RecordingMessageService g_messages;

std::unique_ptr<frmMain> openWindow(const QTemporaryDir& dir)
{
    auto win = std::make_unique<frmMain>(AppPaths{dir.path().toStdString(), "kelvra"}, ',');
    win->show();
    QApplication::processEvents();
    return win;
}

void keystroke(benchmark::State& st, bool repaint)
{
    QTemporaryDir dir;
    auto win = openWindow(dir);
    win->buttonHandler(ShowButton::Simulation); // simulation on, so every change recalculates
    auto* box = qobject_cast<QLineEdit*>(win->control("txtSize", 0));
    auto* result = qobject_cast<QLabel*>(win->control("lblVolume"));
    bool odd = false;
    for (auto _ : st) {
        box->setText(odd ? QStringLiteral("41") : QStringLiteral("40"));
        odd = !odd;
        if (repaint)
            win->repaint();
        benchmark::DoNotOptimize(result->text());
    }
    win->close();
}

void BM_KeystrokeToResultLabels(benchmark::State& st)
{
    keystroke(st, false);
}
BENCHMARK(BM_KeystrokeToResultLabels)->Unit(benchmark::kMicrosecond);

void BM_KeystrokeToRepaintedWindow(benchmark::State& st)
{
    keystroke(st, true);
}
BENCHMARK(BM_KeystrokeToRepaintedWindow)->Unit(benchmark::kMicrosecond);

void keystrokeWithSoundWindow(benchmark::State& st, bool repaint, bool boards = false)
{
    QTemporaryDir dir;
    auto win = openWindow(dir);
    win->buttonHandler(ShowButton::Simulation);
    qobject_cast<QComboBox*>(win->control("cmbPieces", 2))->setCurrentIndex(1);
    qobject_cast<QLineEdit*>(win->control("txtSize", 6))->setText(QStringLiteral("10"));
    qobject_cast<QLineEdit*>(win->control("txtSize", 5))->setText(QStringLiteral("20"));
    win->openSound();
    auto* sound = win->findChild<frmSound*>();
    const std::pair<const char*, const char*> woofer[] = {
        {"fs", "29"},  {"qts", "0,41"}, {"qes", "0,44"},  {"qms", "6"},
        {"vas", "70"}, {"sd", "490"},   {"xmax", "12"},   {"re", "3,3"},
        {"pe", "400"}, {"le", "1,8"},   {"power", "300"}, {"targetfb", "32"}};
    for (const auto& [key, text] : woofer)
        sound->box(key)->setText(QString::fromLatin1(text));
    if (boards)
        win->openBoards(); // the boards window follows every keystroke too
    QApplication::processEvents();
    if (!sound->report())
        st.SkipWithError("the sound window shows no curve");
    auto* box = qobject_cast<QLineEdit*>(win->control("txtSize", 0));
    bool odd = false;
    for (auto _ : st) {
        box->setText(odd ? QStringLiteral("41") : QStringLiteral("40"));
        odd = !odd;
        if (repaint) {
            win->repaint();
            sound->repaint();
        }
        benchmark::DoNotOptimize(sound->report()->fb);
    }
    win->close();
}

void BM_KeystrokeWithSoundWindowToFigures(benchmark::State& st)
{
    keystrokeWithSoundWindow(st, false);
}
BENCHMARK(BM_KeystrokeWithSoundWindowToFigures)->Unit(benchmark::kMicrosecond);

void BM_KeystrokeWithSoundWindowToRepaintedWindows(benchmark::State& st)
{
    keystrokeWithSoundWindow(st, true);
}
BENCHMARK(BM_KeystrokeWithSoundWindowToRepaintedWindows)->Unit(benchmark::kMicrosecond);

// The same keystroke with the boards window open beside the sound window: the real boards, their
// drawing and plan, the sound figures and the port length solved through the volume.
void BM_KeystrokeWithSoundAndBoardsWindowsToFigures(benchmark::State& st)
{
    keystrokeWithSoundWindow(st, false, true);
}
BENCHMARK(BM_KeystrokeWithSoundAndBoardsWindowsToFigures)->Unit(benchmark::kMicrosecond);

void BM_StartToWindowShown(benchmark::State& st)
{
    for (auto _ : st) {
        st.PauseTiming();
        auto dir = std::make_unique<QTemporaryDir>();
        st.ResumeTiming();
        auto win = openWindow(*dir);
        st.PauseTiming();
        win->close();
        win.reset();
        dir.reset();
        st.ResumeTiming();
    }
}
BENCHMARK(BM_StartToWindowShown)->Unit(benchmark::kMillisecond)->Iterations(20);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    setMessageService(&g_messages);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    setMessageService(nullptr);
    return 0;
}
