// Time of one frame and of one pick of the view for a model of about 20,000
// faces, against the floor: the same frame with the faces' edges drawn as
// GL_LINES from one vertex array per mesh (same colours, same viewport and
// camera, same glows). BM_Frame / BM_FrameFloor is the frame's ratio, the
// meshes drawn anew in every frame; BM_GlowFrame is a frame in which only a
// glow changed, over the kept picture of the meshes; BM_FrameSolid is BM_Frame
// with Solid, Whole Model and Glow Colors on (ship_bench.cpp has the same on
// a ship of 76,000 faces against its solid floor). BM_FrameLists replays
// the face pass's calls recorded in one OpenGL 1.1 display list per mesh,
// names included: what lists would give over the calls sent one by one (on
// Mesa's software renderer, nothing: each face stays a draw of its own, and
// the frame costs more CPU). Needs an X display and runs on whatever GL the
// display offers; for the software renderer:
//     LIBGL_ALWAYS_SOFTWARE=1 xvfb-run -a -s "-screen 0 1600x1000x24" build/bin/view_bench

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include <QApplication>

#include "frame_floor.h"
#include "grid_craft.h"
#include "model.h"
#include "opt_file_io.h"
#include "scene_drawing.h"
#include "view_colors.h"
#include "view_fixture.h"
#include "view_panel.h"

using namespace viewtest;

namespace {

// The grid craft, in light grey.
void BuildModel()
{
    OPTInFile().ReadOpt(optbuild::GridCraft(), "grid craft", Model());
    for (TColorF& c : Colors())
        c = {0.8f, 0.8f, 0.8f};
}

// One frame as Draw makes it, with faces() in place of the face pass.
template <typename Faces>
void FrameWith(const Faces& faces)
{
    const TScene scene = Scene();
    Panel()->DrawWith(Camera(), [&](const TViewProjection& view) {
        faces();
        DrawAllGlows(scene, view);
    });
}

void MeshColor(int meshIndex)
{
    const TColorF& c = Colors()[meshIndex == Selection().CurMesh && Selection().SelectMode == 0 ? ColSelected : ColMeshLines];
    glColor3f(c.Red, c.Green, c.Blue);
}

void BM_FrameFloor(benchmark::State& state)
{
    const std::vector<std::vector<TVertex>> arrays = EdgeArrays(Model());
    for (auto _ : state)
        DrawFloorFrame(*Panel(), Scene(), Camera(), arrays);
    state.counters["faces"] = FaceCount(Model());
}
BENCHMARK(BM_FrameFloor)->Unit(benchmark::kMillisecond);

// The face pass's calls recorded once per mesh in a display list, replayed
// with the mesh's colour set before each.
void BM_FrameLists(benchmark::State& state)
{
    std::vector<GLuint> lists;
    {
        TContextCurrent current(*Panel());
        for (int m = 0; m < Model().Meshes.Count(); ++m) {
            lists.push_back(glGenLists(1));
            glNewList(lists.back(), GL_COMPILE);
            DrawMeshFaces(m, Model().Meshes.Get(m), Selection().SelectMode == 1);
            glEndList();
        }
    }
    for (auto _ : state) {
        FrameWith([&lists] {
            for (size_t m = 0; m < lists.size(); ++m) {
                MeshColor(int(m));
                glCallList(lists[m]);
            }
        });
        Finish(*Panel());
    }
    TContextCurrent current(*Panel());
    for (GLuint list : lists)
        glDeleteLists(list, 1);
    state.counters["faces"] = FaceCount(Model());
}
BENCHMARK(BM_FrameLists)->Unit(benchmark::kMillisecond);

// A whole frame, as after a camera key: the meshes drawn anew.
void BM_Frame(benchmark::State& state)
{
    for (auto _ : state) {
        Panel()->ForgetMeshes();
        Draw();
        Finish(*Panel());
    }
    state.counters["faces"] = FaceCount(Model());
}
BENCHMARK(BM_Frame)->Unit(benchmark::kMillisecond);

// BM_Frame with Solid, Whole Model and Glow Colors on: the faces filled and
// lit under the wireframe, every glow with its halo. BM_FrameSolid /
// BM_FrameFloor is its ratio.
void BM_FrameSolid(benchmark::State& state)
{
    Options() = {true, true, true};
    for (auto _ : state) {
        Panel()->ForgetMeshes();
        Draw();
        Finish(*Panel());
    }
    Options() = {};
    state.counters["faces"] = FaceCount(Model());
}
BENCHMARK(BM_FrameSolid)->Unit(benchmark::kMillisecond);

// A frame in which only a glow moved, as in a drag.
void BM_GlowFrame(benchmark::State& state)
{
    TEngineGlow& glow = Model().Meshes.Get(0).Glows.Get(0);
    const TFloat3 start = glow.Center;
    int step = 0;
    for (auto _ : state) {
        glow.Center.X = start.X + float(++step % 20);
        Draw();
        Finish(*Panel());
    }
    glow.Center = start;
    state.counters["faces"] = FaceCount(Model());
}
BENCHMARK(BM_GlowFrame)->Unit(benchmark::kMillisecond);

// A click on a vertex of mesh 0, then on one of mesh 2, and so on: each pick
// changes the selection, so the frame drawn after the pass draws the meshes
// anew.
void BM_Pick(benchmark::State& state)
{
    const int at[2][2] = {{PixelX(0), PixelY(-33)}, {PixelX(0), PixelY(18)}};
    const int32_t mesh[2] = {0, 2};
    int click = 0;
    for (auto _ : state) {
        Pick(at[click][0], at[click][1]);
        Draw();
        Finish(*Panel());
        if (Selection().SelectedId != mesh[click]) {
            state.SkipWithError("a click picked another mesh");
            break;
        }
        click = 1 - click;
    }
    state.counters["faces"] = FaceCount(Model());
}
BENCHMARK(BM_Pick)->Unit(benchmark::kMillisecond);

// The pick pass alone.
void BM_PickPass(benchmark::State& state)
{
    for (auto _ : state) {
        benchmark::DoNotOptimize(Panel()->PickFace(Scene(), Camera(), PixelX(0), PixelY(-33)));
        Finish(*Panel());
    }
}
BENCHMARK(BM_PickPass)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    std::unique_ptr<TViewPanel> panel;
    try {
        panel.reset(ShowPanel(900));
    } catch (const std::exception&) {
        return 1;
    }
    BuildModel();
    Selection().EditGlow = 0;
    viewtest::Display() = {true, false, true};
    Restart();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
