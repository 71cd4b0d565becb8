// What the user waits for: a key sent through Qt to the real main window,
// with the glow panel shown, until its frame is on the screen (drawn, put
// into the window and the window's buffer swapped), on the grid craft.
// BM_KeyFrame sends Left (the model turns: the meshes are drawn anew),
// BM_StepFrame sends N (the next mesh is selected: the meshes are drawn anew
// and the panel filled for it). BM_FrameFloor is the floor frame drawn on the
// same view panel in the same run; each ratio to it is the goal (at most
// 1.5).
// On the big ship (tools/optbuild/big_ship.h) with Solid, Glow Colors, Whole
// Model and every glow shown, BM_FrameAll is one frame of the window's view
// as after an arrow key (as view_bench's), and BM_HeldKey the Left key held:
// thirty presses posted at 30 a second by another thread, as the window
// system queues them whatever the window is doing, timed from the last press
// to the frame that shows all thirty on the screen (goal: at most 1.5 times
// BM_FrameAll of the same run, its counter `ratio`). BM_FrameAllInParts is
// BM_FrameAll's frame drawn a part at a time, as input coming faster than
// frames has it drawn (its `ratio` to BM_FrameAll: the cost of the parts,
// near 1). Needs an X display; for
// the software renderer:
//     LIBGL_ALWAYS_SOFTWARE=1 xvfb-run -a -s "-screen 0 1600x1000x24" build/bin/window_bench

#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <functional>
#include <thread>

#include "glow_panel.h"
#include "view_panel.h"
#include "main_window.h"
#include "app_fixture.h"
#include "app_start.h"
#include "big_ship.h"
#include "open_document.h"
#include "frame_floor.h"
#include "grid_craft.h"
#include "opt_builder.h"

namespace {

TAppFixture* App = nullptr;
int Swapped = 0;  // the view's frames put on the screen
std::string GridFile, ShipFile;
double FrameAllMs = 0;  // BM_FrameAll's last mean in this run

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

// The big ship open in the main window for the benchmark's lifetime, seen
// from above and behind, with Solid, Glow Colors, Whole Model and every glow
// shown; the grid craft back after, the three options off.
class TBigShipOpen {
public:
    TBigShipOpen()
    {
        MainWindow()->OpenModel(QString::fromStdString(ShipFile));
        Show(true);
        if (!GlowPanel()->AllGlowsButton->isChecked())
            GlowPanel()->AllGlowsButton->click();
        TCamera& camera = MainWindow()->ViewState().Camera;
        camera.RotX = -60;
        camera.RotZ = 30;
        MainWindow()->Redraw();
    }
    ~TBigShipOpen()
    {
        Show(false);
        MainWindow()->OpenModel(QString::fromStdString(GridFile));
    }
    TBigShipOpen(const TBigShipOpen&) = delete;
    TBigShipOpen& operator=(const TBigShipOpen&) = delete;

private:
    static void Show(bool on)
    {
        const TMainWindowItems& items = MainWindow()->Items();
        for (QAction* option : {items.SolidAction, items.GlowColorsAction, items.WholeModelAction})
            if (option->isChecked() != on)
                option->trigger();
    }
};

// Frames of the big ship drawn by draw and waited for, the camera turned a
// step and back by turns, so each draws the meshes anew; their mean in ms.
double ShipFrames(benchmark::State& state, const std::function<void(const TCamera&)>& draw)
{
    const TBigShipOpen ship;
    std::array<TCamera, 2> cameras = {MainWindow()->ViewState().Camera, MainWindow()->ViewState().Camera};
    cameras[1].RotY += cameras[1].RotStep;
    int step = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        draw(cameras[size_t(++step % 2)]);
        Finish(*MainWindow()->View());
    }
    state.counters["faces"] = FaceCount(Document().Model);
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() /
           double(std::max<benchmark::IterationCount>(state.iterations(), 1));
}

void BM_FrameAll(benchmark::State& state)
{
    FrameAllMs =
        ShipFrames(state, [](const TCamera& camera) { MainWindow()->View()->Draw(MainWindow()->Scene(), camera); });
}
BENCHMARK(BM_FrameAll)->Unit(benchmark::kMillisecond);

void BM_FrameAllInParts(benchmark::State& state)
{
    const double ms = ShipFrames(state, [](const TCamera& camera) {
        while (MainWindow()->View()->DrawPart(MainWindow()->Scene(), camera) == TPartDrawn::Drawing) {
        }
    });
    if (FrameAllMs > 0)
        state.counters["ratio"] = ms / FrameAllMs;
}
BENCHMARK(BM_FrameAllInParts)->Unit(benchmark::kMillisecond);

void BM_HeldKey(benchmark::State& state)
{
    const TBigShipOpen ship;
    const TCamera& camera = MainWindow()->ViewState().Camera;
    QWidget* target = App->KeyTarget();
    constexpr int Presses = 30;
    using Clock = std::chrono::steady_clock;
    double totalMs = 0;
    for (auto _ : state) {
        const int32_t turned = camera.RotY - Presses * camera.RotStep;
        std::atomic<bool> allPressed = false;
        Clock::time_point lastPress;
        std::thread keyboard([&] {
            Clock::time_point next = Clock::now();
            for (int press = 0; press < Presses; ++press) {
                std::this_thread::sleep_until(next);
                lastPress = Clock::now();
                allPressed = press == Presses - 1;  // before the press it waits for is delivered
                QCoreApplication::postEvent(
                    target, new QKeyEvent(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier, QString(), press > 0));
                next += std::chrono::microseconds(1000000 / 30);
            }
        });
        // The program's own event loop, until a frame showing every press
        // is on the screen.
        QEventLoop loop;
        Clock::time_point settled;
        const auto connection = QObject::connect(MainWindow()->View(), &TViewPanel::frameSwapped, &loop, [&] {
            if (allPressed && camera.RotY == turned && !MainWindow()->FramePending()) {
                settled = Clock::now();
                loop.quit();
            }
        });
        QTimer::singleShot(20000, &loop, &QEventLoop::quit);
        loop.exec();
        QObject::disconnect(connection);
        keyboard.join();
        if (camera.RotY != turned || settled == Clock::time_point()) {
            state.SkipWithError("the camera did not turn by every press");
            break;
        }
        const std::chrono::duration<double> waited = settled - lastPress;
        state.SetIterationTime(waited.count());
        totalMs += waited.count() * 1000;
    }
    if (FrameAllMs > 0 && state.iterations() > 0)
        state.counters["ratio"] = totalMs / double(state.iterations()) / FrameAllMs;
}
BENCHMARK(BM_HeldKey)->UseManualTime()->Unit(benchmark::kMillisecond);

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
    GridFile = fixture.Folder.File("grid.opt");
    optbuild::WriteFileBytes(GridFile, optbuild::GridCraft());
    ShipFile = fixture.Folder.File("ship.opt");
    optbuild::WriteFileBytes(ShipFile, optbuild::BigShip());
    MainWindow()->OpenModel(QString::fromStdString(GridFile));
    QObject::connect(MainWindow()->View(), &TViewPanel::frameSwapped, [] { ++Swapped; });
    MainWindow()->activateWindow();
    if (!GlowPanel()->isVisible() || !QTest::qWaitForWindowActive(MainWindow()))
        return 1;

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
