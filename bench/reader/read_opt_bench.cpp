// Opening a large model should cost about as much as reading its bytes:
// ReadOpt against ReadWholeFile of the same file (compare the two times).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "file_util.h"
#include "model.h"
#include "opt_builder.h"
#include "opt_file_io.h"

namespace {

using namespace optbuild;

// About 45 MB: 40 meshes, each with 16000 vertices, two glows and three LODs
// of 3000 faces.
class LargeModelFile {
public:
    LargeModelFile()
    {
        OptBuilder b;
        for (int m = 0; m < 40; ++m) {
            const NodeId mesh = b.Mesh();
            std::vector<TVertex> vertices(16000);
            for (size_t i = 0; i < vertices.size(); ++i)
                vertices[i] = {float(i), float(m), float(i % 7)};
            b.AddChild(mesh, b.Vertices(vertices));
            b.AddChild(mesh, b.Glow({}));
            b.AddChild(mesh, b.Glow({}));
            std::vector<FaceRecord> faces;
            for (int32_t i = 0; i < 3000; ++i)
                faces.push_back(i % 2 ? Tri(i, i + 1, i + 2) : Quad(i, i + 1, i + 2, i + 3));
            b.AddChild(mesh, b.LodWithFaces({100, 200, 300}, {faces, faces, faces}));
            b.AddTopLevel(mesh);
        }
        const std::vector<uint8_t> bytes = b.Build(0x1000);
        Size = bytes.size();
        WriteFileBytes(Path, bytes);
    }
    ~LargeModelFile() { std::filesystem::remove(Path); }

    const std::string Path =
        (std::filesystem::temp_directory_path() / ("neg-bench-" + std::to_string(getpid()) + ".opt")).string();
    size_t Size = 0;
};

const LargeModelFile& File()
{
    static const LargeModelFile file;
    return file;
}

void BM_ReadWholeFile(benchmark::State& state)
{
    const LargeModelFile& file = File();
    for (auto _ : state) {
        std::vector<uint8_t> bytes = ReadWholeFile(file.Path);
        benchmark::DoNotOptimize(bytes.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.Size));
}

void BM_ReadOpt(benchmark::State& state)
{
    const LargeModelFile& file = File();
    for (auto _ : state) {
        TheReader.ReadOpt(file.Path);
        benchmark::DoNotOptimize(TheModel.Meshes.Count());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.Size));
    state.counters["faces"] = double(TheModel.Meshes.Get(0).Faces[0].Count()) * TheModel.Meshes.Count() * 3;
}

}  // namespace

BENCHMARK(BM_ReadWholeFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadOpt)->Unit(benchmark::kMillisecond);
