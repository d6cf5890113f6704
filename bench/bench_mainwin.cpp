// The main window's speed as a user feels it, offscreen: a keystroke in txtSize(0) until the result
// labels show the new figures (and, separately, until the window has repainted), and the start-up from
// constructing the window until it is shown.
#include "frmMain.h"

#include "MessageService.h"

#include <QApplication>
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
    win->buttonHandler(2); // simulation on, so every change recalculates
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
