// Opening a large model should cost about as much as reading its bytes.
// BM_ReadFloor is the floor: the file's bytes read into a buffer that is
// reused (allocated and touched once), so only the copy from the page cache
// is timed. BM_ReadOpt / BM_ReadFloor is the reader's ratio. BM_ReadOpt also
// reports the model's resident size, the peak resident size while opening
// above what the process held before, both in MB, and the file's size.

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "file_bytes.h"
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

void BM_ReadFloor(benchmark::State& state)
{
    const LargeModelFile& file = File();
    std::vector<uint8_t> buffer(file.Size);
    for (auto _ : state) {
        std::FILE* f = std::fopen(file.Path.c_str(), "rb");
        const size_t got = std::fread(buffer.data(), 1, buffer.size(), f);
        std::fclose(f);
        if (got != buffer.size())
            state.SkipWithError("short read");
        benchmark::DoNotOptimize(buffer.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.Size));
}

// A "Vm...:" line of /proc/self/status in MB (Linux).
double StatusMB(const std::string& key)
{
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind(key + ":", 0) == 0)
            return std::stod(line.substr(key.size() + 1)) / 1024.0;
    return 0;
}

// Resident sizes of one read from an empty model: the model's (what stays
// after the read) and the peak above the start.
void MeasureMemory(benchmark::State& state, const std::string& path, OPTInFile& reader, TModel& model)
{
    model.Clear();
    malloc_trim(0);  // freed memory back to the system, so it is not counted as the model's
    const double before = StatusMB("VmRSS");
    std::ofstream("/proc/self/clear_refs") << "5";  // resets VmHWM to VmRSS
    reader.ReadOpt(path, model);
    state.counters["modelMB"] = StatusMB("VmRSS") - before;
    state.counters["peakMB"] = StatusMB("VmHWM") - before;
}

void BM_ReadOpt(benchmark::State& state)
{
    const LargeModelFile& file = File();
    OPTInFile reader;
    TModel model;
    for (auto _ : state) {
        reader.ReadOpt(file.Path, model);
        benchmark::DoNotOptimize(model.Meshes.Count());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(file.Size));
    int64_t faces = 0, vertices = 0;
    for (const TOMesh& mesh : model.Meshes) {
        vertices += mesh.Vertices.Count();
        for (const TFaceL& lod : mesh.Faces)
            faces += lod.Count();
    }
    state.counters["faces"] = double(faces);
    state.counters["vertices"] = double(vertices);
    state.counters["fileMB"] = double(file.Size) / (1024.0 * 1024.0);
    MeasureMemory(state, file.Path, reader, model);
}

}  // namespace

BENCHMARK(BM_ReadFloor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadOpt)->Unit(benchmark::kMillisecond);

// The parts of ReadOpt: the walk over bytes already in memory, and the read
// of the bytes into a new buffer.
void BM_ReadOptFromMemory(benchmark::State& state)
{
    const TFileBytes file(File().Path);
    OPTInFile reader;
    TModel model;
    for (auto _ : state) {
        reader.ReadOpt(file.Bytes(), "bench.opt", model);
        benchmark::DoNotOptimize(model.Meshes.Count());
    }
}
BENCHMARK(BM_ReadOptFromMemory)->Unit(benchmark::kMillisecond);

void BM_ReadFileBytes(benchmark::State& state)
{
    for (auto _ : state) {
        const TFileBytes file(File().Path);
        benchmark::DoNotOptimize(file.Bytes().data());
    }
}
BENCHMARK(BM_ReadFileBytes)->Unit(benchmark::kMillisecond);
