// One step of a glow's drag on the view benchmark's model: the pointer moves
// a pixel, the centre follows (free, snapped to the nearest vertex of its
// mesh, or to the nearest face centre) and the frame shows it; only the glows
// change in that frame. Its goal is the view's for such a frame: at most a
// quarter of BM_Frame, in the same run.

#include <benchmark/benchmark.h>

#include "view_panel.h"
#include "app_state.h"
#include "frame_floor.h"
#include "glow_drag.h"
#include "glow_preview.h"
#include "glow_write.h"
#include "view_projection.h"

namespace {

void BM_GlowDragStep(benchmark::State& state)
{
    const auto snap = static_cast<TSnap>(state.range(0));
    const TGlowIndex at{0, 0};
    const TFloat3 stored = GlowAt(at).Center;
    const TViewPoint from = TViewProjection::Current().Project(stored);
    TGlowDrag drag(at, stored, from.X, from.Y);
    int step = 0;
    for (auto _ : state) {
        const TViewProjection view = TViewProjection::Current();
        drag.MoveTo(from.X + double(++step % 40), from.Y, view);
        GlowPreview.At = at;
        GlowPreview.Values = GlowAt(at);
        GlowPreview.Values.Center = drag.Spot(snap, view, TheModel.Meshes.Get(at.Mesh)).Centre;
        RenderGlowsChanged();
        Finish();
    }
    GlowPreview = {};
    state.counters["vertices"] = TheModel.Meshes.Get(at.Mesh).Vertices.Count();
}
BENCHMARK(BM_GlowDragStep)
    ->Arg(int(TSnap::None))
    ->Arg(int(TSnap::Vertex))
    ->Arg(int(TSnap::FaceCentre))
    ->Unit(benchmark::kMillisecond);

}  // namespace
