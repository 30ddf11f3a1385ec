// SPDX-License-Identifier: MIT
// One PRESS through the real window: from the click on the button to the new
// result text, with two inputs taken in turn so every press writes new text.
#include "tests/ui/recorders.h"

#include <QApplication>
#include <benchmark/benchmark.h>

#include <chrono>

namespace {

using vantoril::frmVantorilTime;

// The test suite's window with recorders, and inputs that give a result.
struct Window : vantoril::testing::Harness {
    Window()
    {
        window->txtLngD->setText(QStringLiteral("126"));
        window->txtLngM->setText(QStringLiteral("44"));
        window->txtMinute->setText(QStringLiteral("33"));
        QCoreApplication::processEvents();
    }

    // East and west of Greenwich give different local times for the same instant.
    void Flip(int i) { window->cmbEW->setCurrentIndex(i & 1); }
};

template <typename Click>
void RunPresses(benchmark::State& state, Click click, bool repaint)
{
    Window w;
    QString last = w.Result();
    int i = 0;
    for (auto _ : state) {
        w.Flip(++i);
        // Paint what the flip and the last result left dirty, so the press
        // pays only for its own repaints.
        QCoreApplication::processEvents();
        const auto start = std::chrono::steady_clock::now();
        click(*w.window);
        if (repaint) QCoreApplication::processEvents();
        const auto end = std::chrono::steady_clock::now();
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());

        const QString now = w.Result();
        if (now == last || !w.messages.prompts.empty()) {
            state.SkipWithError("a press did not write a new result");
            break;
        }
        last = now;
    }
}

// Mouse press and release delivered to the button, as a user's click.
void BM_PressMouseClickToResult(benchmark::State& state)
{
    const auto click = [](frmVantorilTime& f) { QTest::mouseClick(f.cmdPress, Qt::LeftButton); };
    RunPresses(state, click, false);
}
BENCHMARK(BM_PressMouseClickToResult)->UseManualTime()->Unit(benchmark::kMicrosecond);

// The button's own click(): the signal and the procedure, without mouse events.
void BM_PressSignalToResult(benchmark::State& state)
{
    const auto click = [](frmVantorilTime& f) { f.cmdPress->click(); };
    RunPresses(state, click, false);
}
BENCHMARK(BM_PressSignalToResult)->UseManualTime()->Unit(benchmark::kMicrosecond);

// Including the repaint of what changed (offscreen), as far as the screen.
void BM_PressMouseClickAndRepaint(benchmark::State& state)
{
    const auto click = [](frmVantorilTime& f) { QTest::mouseClick(f.cmdPress, Qt::LeftButton); };
    RunPresses(state, click, true);
}
BENCHMARK(BM_PressMouseClickAndRepaint)->UseManualTime()->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
