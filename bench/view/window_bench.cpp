// What the user waits for: a key sent through Qt to the real main window,
// with the glow panel shown, until its frame is on the screen (drawn, put
// into the window and the window's buffer swapped), on the grid craft.
// BM_KeyFrame sends Left (the model turns: the meshes are drawn anew),
// BM_StepFrame sends N (the next mesh is selected: the meshes are drawn anew
// and the panel filled for it). BM_FrameFloor is the floor frame drawn on the
// same view panel in the same run; each ratio to it is the goal (at most
// 1.5). Needs an X display; for the software renderer:
//     LIBGL_ALWAYS_SOFTWARE=1 xvfb-run -a -s "-screen 0 1600x1000x24" build/bin/window_bench

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "glow_panel.h"
#include "view_panel.h"
#include "main_window.h"
#include "app_fixture.h"
#include "app_start.h"
#include "open_document.h"
#include "frame_floor.h"
#include "grid_craft.h"
#include "opt_builder.h"

namespace {

TAppFixture* App = nullptr;
int Swapped = 0;  // the view's frames put on the screen

// Sends key to the main window as the keyboard would and waits until the
// frame it drew is on the screen; false when it drew none, or it never came.
bool KeyToScreen(Qt::Key key)
{
    const int drawn = MainWindow()->View()->FramesShown();
    const int target = Swapped + 1;
    QTest::keyClick(App->KeyTarget(), key);
    if (MainWindow()->View()->FramesShown() != drawn + 1)
        return false;
    const QDeadlineTimer deadline(5000);
    while (Swapped < target && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return Swapped >= target;
}

void KeyBenchmark(benchmark::State& state, Qt::Key key)
{
    for (auto _ : state)
        if (!KeyToScreen(key)) {
            state.SkipWithError("no frame on the screen");
            break;
        }
    state.counters["side"] = MainWindow()->View()->width() * MainWindow()->View()->devicePixelRatio();
}

void BM_FrameFloor(benchmark::State& state)
{
    TMainWindow& main = *MainWindow();
    const std::vector<std::vector<TVertex>> arrays = EdgeArrays(Document().Model);
    for (auto _ : state)
        DrawFloorFrame(*main.View(), main.Scene(), main.ViewState().Camera, arrays);
    state.counters["side"] = main.View()->width() * main.View()->devicePixelRatio();
    main.Redraw();
}
BENCHMARK(BM_FrameFloor)->Unit(benchmark::kMillisecond);

void BM_KeyFrame(benchmark::State& state)
{
    KeyBenchmark(state, Qt::Key_Left);
}
BENCHMARK(BM_KeyFrame)->Unit(benchmark::kMillisecond);

void BM_StepFrame(benchmark::State& state)
{
    KeyBenchmark(state, Qt::Key_N);
}
BENCHMARK(BM_StepFrame)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    TNegApplication app(argc, argv);
    InstallAppBasics();
    TAppFixture fixture;
    App = &fixture;
    if (!fixture.StartWithSampleColors())
        return 1;
    // The whole screen, as maximized: without a window manager nothing
    // maximizes it.
    MainWindow()->setGeometry(MainWindow()->screen()->availableGeometry());
    const std::string file = fixture.Folder.File("grid.opt");
    optbuild::WriteFileBytes(file, optbuild::GridCraft());
    MainWindow()->OpenModel(QString::fromStdString(file));
    QObject::connect(MainWindow()->View(), &TViewPanel::frameSwapped, [] { ++Swapped; });
    MainWindow()->activateWindow();
    if (!GlowPanel()->isVisible() || !QTest::qWaitForWindowActive(MainWindow()))
        return 1;

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
