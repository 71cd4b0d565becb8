// Reading an edit list should cost about as much as parsing its JSON, however
// long the list. BM_EditFloor is the floor: the text parsed into a JSON value
// and nothing else. BM_EditList reads the same text as optglow apply does:
// duplicate keys checked, every edit checked against the model and merged into
// one patch per glow. BM_EditList / BM_EditFloor at the same number of edits
// is its ratio (goal: at most 3 at 300,000 edits, where a reading that grows
// faster than the list shows at once). BM_StarList / BM_StarFloor is the same
// for edits that each select every glow ("mesh": "*", "glow": "*") of a
// model of 12,000 glows: the reading should grow with edits plus glows, not
// with their product (goal: at most 3 at 300,000 edits).

#include <benchmark/benchmark.h>

#include <string>

#include <nlohmann/json.hpp>

#include "edit_list.h"
#include "model.h"
#include "opt_builder.h"
#include "opt_file_io.h"

namespace {

// Three meshes with one glow each.
const TModel& Model()
{
    static const TModel model = [] {
        optbuild::OptBuilder b;
        for (int m = 0; m < 3; ++m) {
            const auto mesh = b.Mesh();
            b.AddChild(mesh, b.Vertices({{0, 0, 0}}));
            b.AddChild(mesh, b.Glow({}));
            b.AddTopLevel(mesh);
        }
        TModel read;
        OPTInFile().ReadOpt(b.Build(), "bench.opt", read);
        return read;
    }();
    return model;
}

// 12,000 glows: six meshes of 40 groups of 50 glows each.
const TModel& ManyGlows()
{
    static const TModel model = [] {
        optbuild::OptBuilder b;
        for (int m = 0; m < 6; ++m) {
            const auto mesh = b.Mesh();
            b.AddChild(mesh, b.Vertices({{0, 0, 0}}));
            for (int g = 0; g < 40; ++g) {
                const auto group = b.GroupNode();
                for (int k = 0; k < 50; ++k)
                    b.AddChild(group, b.Glow({}));
                b.AddChild(mesh, group);
            }
            b.AddTopLevel(mesh);
        }
        TModel read;
        OPTInFile().ReadOpt(b.Build(), "stars.opt", read);
        return read;
    }();
    return model;
}

// An edit list of n edits, each setting a colour and a vector of one glow
// (of mesh 0, 1 or 2), or with stars of every glow.
std::string EditList(int64_t n, bool stars = false)
{
    std::string text = "{\"edits\": [\n";
    for (int64_t i = 0; i < n; ++i)
        text += "{\"mesh\": " + (stars ? "\"*\"" : std::to_string(i % 3)) + ", \"glow\": " + (stars ? "\"*\"" : "0") +
                ", \"core\": \"FF" + std::to_string(100000 + i % 900000) + "\", \"center\": [" + std::to_string(i) +
                ".5, 1.25, -2]}" + (i + 1 < n ? ",\n" : "\n");
    return text + "]}\n";
}

void Floor(benchmark::State& state, bool stars)
{
    const std::string text = EditList(state.range(0), stars);
    for (auto _ : state)
        benchmark::DoNotOptimize(nlohmann::json::parse(text));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void Read(benchmark::State& state, const TModel& model, bool stars)
{
    const std::string text = EditList(state.range(0), stars);
    for (auto _ : state)
        benchmark::DoNotOptimize(optglow::ParseEditList(text, model));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_EditFloor(benchmark::State& state)
{
    Floor(state, false);
}

void BM_EditList(benchmark::State& state)
{
    Read(state, Model(), false);
}

void BM_StarFloor(benchmark::State& state)
{
    Floor(state, true);
}

void BM_StarList(benchmark::State& state)
{
    const TModel& model = ManyGlows();
    if (model.Meshes.Count() != 6 || model.Meshes.Get(5).Glows.Count() != 2000)
        state.SkipWithError("the model does not hold 12,000 glows");
    Read(state, model, true);
}

BENCHMARK(BM_EditFloor)->Arg(30'000)->Arg(300'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditList)->Arg(30'000)->Arg(300'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StarFloor)->Arg(300'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StarList)->Arg(300'000)->Unit(benchmark::kMillisecond);

}  // namespace
