// One step of a glow's drag on the view benchmark's model: the pointer moves
// a pixel, the centre follows (free, snapped to the nearest vertex of its
// mesh, or to the nearest face centre; with Solid, to the nearest one seen)
// and the frame shows it; only the glows change in that frame. Its goal is
// the view's for such a frame: at most a quarter of BM_Frame, in the same
// run.

#include <benchmark/benchmark.h>

#include "frame_floor.h"
#include "glow_drag.h"
#include "view_fixture.h"
#include "view_panel.h"
#include "view_projection.h"

using namespace viewtest;

namespace {

void BM_GlowDragStep(benchmark::State& state)
{
    const auto snap = static_cast<TSnap>(state.range(0));
    Options().Solid = state.range(1) != 0;
    const TGlowIndex at{0, 0};
    const TEngineGlow& glow = Model().Meshes.Get(at.Mesh).Glows.Get(at.Glow);
    const TFloat3 stored = glow.Center;
    const TViewPoint from = Panel()->Projection(Camera()).Project(stored);
    TGlowDrag drag(at, stored, from.X, from.Y);
    int step = 0;
    for (auto _ : state) {
        const TViewProjection view = Panel()->Projection(Camera());
        drag.MoveTo(from.X + double(++step % 40), from.Y, view);
        Preview().At = at;
        Preview().Values = glow;
        const auto seen = snap == TSnap::None ? nullptr : Panel()->SeenDepth(Scene(), Camera());
        Preview().Values.Center = drag.Spot(snap, view, Model().Meshes.Get(at.Mesh), seen.get()).Centre;
        Draw();
        Finish(*Panel());
    }
    Preview() = {};
    Options().Solid = false;
    state.counters["vertices"] = Model().Meshes.Get(at.Mesh).Vertices.Count();
}
BENCHMARK(BM_GlowDragStep)
    ->ArgNames({"snap", "solid"})
    ->Args({int(TSnap::None), 0})
    ->Args({int(TSnap::Vertex), 0})
    ->Args({int(TSnap::FaceCentre), 0})
    ->Args({int(TSnap::Vertex), 1})
    ->Args({int(TSnap::FaceCentre), 1})
    ->Unit(benchmark::kMillisecond);

}  // namespace
