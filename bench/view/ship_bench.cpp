// A whole frame of the big ship (tools/optbuild/big_ship.h: 76,000 faces)
// with Solid, Glow Colors, Whole Model and every glow shown, as after an
// arrow key: the camera turned a step, the meshes drawn anew from their kept
// arrays. BM_FrameAll / BM_FrameAllFloor is its ratio (goal: at most 1.2);
// the floor fills every level-0 face once and draws every edge once from
// vertex arrays with the same GL state, the faces' colours found before it
// runs.

#include <benchmark/benchmark.h>

#include <array>

#include "big_ship.h"
#include "frame_floor.h"
#include "opt_file_io.h"
#include "view_fixture.h"
#include "view_panel.h"

using namespace viewtest;

namespace {

// The big ship in the benchmarks' scene for its lifetime, a nacelle
// selected, seen from above and behind; the grid craft and its scene back
// after.
class TOnBigShip {
public:
    TOnBigShip() : Grid(std::move(Model())), GridSelection(Selection()), GridOptions(Options()), GridCamera(Camera())
    {
        OPTInFile().ReadOpt(optbuild::BigShip(), "big ship", Model());
        Selection().Select(1, Model());
        Options() = {.GlowColors = true, .Solid = true, .WholeModel = true};
        Camera().RotX = -60;
        Camera().RotZ = 30;
        Restart();
    }
    ~TOnBigShip()
    {
        Model() = std::move(Grid);
        Selection() = GridSelection;
        Options() = GridOptions;
        Camera() = GridCamera;
        Restart();
    }
    TOnBigShip(const TOnBigShip&) = delete;
    TOnBigShip& operator=(const TOnBigShip&) = delete;

    // The camera as the ship was set up, and turned one arrow key's step.
    static std::array<TCamera, 2> Cameras()
    {
        std::array<TCamera, 2> cameras = {Camera(), Camera()};
        cameras[1].RotY += cameras[1].RotStep;
        return cameras;
    }

private:
    TModel Grid;
    TSelection GridSelection;
    TViewOptions GridOptions;
    TCamera GridCamera;
};

void BM_FrameAllFloor(benchmark::State& state)
{
    const TOnBigShip ship;
    const std::array<TCamera, 2> cameras = TOnBigShip::Cameras();
    const std::array arrays = {SolidFloorArrays(*Panel(), Scene(), cameras[0]),
                               SolidFloorArrays(*Panel(), Scene(), cameras[1])};
    int step = 0;
    for (auto _ : state) {
        ++step;
        DrawSolidFloorFrame(*Panel(), Scene(), cameras[size_t(step % 2)], arrays[size_t(step % 2)]);
    }
    state.counters["faces"] = FaceCount(Model());
}
BENCHMARK(BM_FrameAllFloor)->Unit(benchmark::kMillisecond);

void BM_FrameAll(benchmark::State& state)
{
    const TOnBigShip ship;
    const std::array<TCamera, 2> cameras = TOnBigShip::Cameras();
    int step = 0;
    for (auto _ : state) {
        Camera() = cameras[size_t(++step % 2)];
        Draw();
        Finish(*Panel());
    }
    state.counters["faces"] = FaceCount(Model());
}
BENCHMARK(BM_FrameAll)->Unit(benchmark::kMillisecond);

}  // namespace
