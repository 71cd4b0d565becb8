// Reading an edit list should cost about as much as parsing its JSON, however
// long the list. BM_EditFloor is the floor: the text parsed into a JSON value
// and nothing else. BM_EditList reads the same text as optglow apply does:
// duplicate keys checked, every edit checked against the model and merged into
// one patch per glow. BM_EditList / BM_EditFloor at the same number of edits
// is its ratio (goal: at most 3 at 300,000 edits, where a reading that grows
// faster than the list shows at once).

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

// An edit list of n edits, each setting a colour and a vector of one glow.
std::string EditList(int64_t n)
{
    std::string text = "{\"edits\": [\n";
    for (int64_t i = 0; i < n; ++i)
        text += "{\"mesh\": " + std::to_string(i % 3) + ", \"glow\": 0, \"core\": \"FF" +
                std::to_string(100000 + i % 900000) + "\", \"center\": [" + std::to_string(i) + ".5, 1.25, -2]}" +
                (i + 1 < n ? ",\n" : "\n");
    return text + "]}\n";
}

void BM_EditFloor(benchmark::State& state)
{
    const std::string text = EditList(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(nlohmann::json::parse(text));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BM_EditList(benchmark::State& state)
{
    const std::string text = EditList(state.range(0));
    const TModel& model = Model();
    for (auto _ : state)
        benchmark::DoNotOptimize(optglow::ParseEditList(text, model));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_EditFloor)->Arg(30'000)->Arg(300'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EditList)->Arg(30'000)->Arg(300'000)->Unit(benchmark::kMillisecond);

}  // namespace
