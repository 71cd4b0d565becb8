// Opening a large model should cost about as much as reading its bytes.
// BM_ReadFileBytes is the floor: the file's bytes read whole into a new
// buffer, as the reader gets them. BM_ReadOpt opens the same file. The
// reader's ratio (goal: at most 1.5 warm, 2.0 cold, where the model, about
// the file's size, doubles the memory touched) is BM_ReadOpt's counter
// ratio: before each open, untimed, it reads the floor in the same state of
// memory, and ratio is the sum of the opens' times over the sum of those
// reads'. Each floor read so starts where the open starts, in the caches the
// last open left, and a spell of a busy host weighs on both alike;
// BM_ReadFileBytes, run back to back, finds its own last read in the caches
// and runs faster. BM_ReadOptFromMemory is the walk alone.
//
// Every benchmark runs in both states of memory, named in its name:
// - warm: what one read freed stays the process's and the next read reuses
//   it (freed memory is never handed back, see KeepFreedMemory), so only the
//   work on pages already touched is timed;
// - cold: before each read, untimed, all freed memory is handed back to the
//   system (malloc_trim), so every page the read fills is faulted in anew, as
//   in a program's first open.
// Each reports the page faults per read (faults), which show the state, and
// the CPU time of the whole process: the read runs on a second thread while
// the walk follows it, which shortens the time only where a core is free. On
// a busy machine the process gets its share of the cores however many
// threads it runs, and the ratio of times nears the ratio of CPU times.
// BM_ReadOpt also reports the file's size and, cold, the model's resident
// size and the peak resident size while opening above what the process held
// before, both in MB.

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "file_bytes.h"
#include "model.h"
#include "opt_builder.h"
#include "opt_file_io.h"

namespace {

using namespace optbuild;

// The C library keeps the memory a program frees for its next allocations,
// but hands a large block back to the system at once (it had its own
// mapping) and the heap's free top beyond a threshold; which blocks count as
// large changes with what was freed before. Here every block comes from the
// heap and the heap is never trimmed by itself, so freed memory stays until
// a cold read hands it back on purpose.
const bool KeepFreedMemory = mallopt(M_MMAP_MAX, 0) && mallopt(M_TRIM_THRESHOLD, 1 << 30);

// 41.7 MB, 360,000 faces: 40 meshes, each with 16000 vertices, two glows and
// three LODs of 3000 faces.
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
        {
            const std::vector<uint8_t> bytes = b.Build(0x1000);
            Size = bytes.size();
            WriteFileBytes(Path, bytes);
        }
        // What the building freed goes back to the system: a large block
        // laid on pages the heap already touched in 4 KB pieces is not put
        // on 2 MB pages, and which blocks land there differed from one run
        // to the next.
        b = {};
        malloc_trim(0);
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

enum class TMemory { Warm, Cold };

int64_t PageFaults()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt + usage.ru_majflt;
}

void ReadFloor(std::optional<TFileBytes>& file)
{
    file.emplace(File().Path);
    benchmark::DoNotOptimize(file->Bytes().data());
}

// Times one read per iteration, each started in the given state of memory:
// untimed before it, drop() frees what the last read made and, cold, the
// freed memory goes back to the system. Warm, untimed reads come first until
// one faults (almost) no page in: which free blocks a large request gets
// changes from read to read until the heap settles, and a block the heap
// has not held before is new memory. Reports the faults per timed read.
// againstFloor: before each read, untimed, a floor read in the same state;
// reports the ratio of the reads' wall times to the floor reads'.
template <typename Drop, typename Read>
void TimeReads(benchmark::State& state, TMemory memory, Drop drop, Read read, bool againstFloor = false)
{
    if (!KeepFreedMemory)
        state.SkipWithError("freed memory cannot be kept");
    std::optional<TFileBytes> floor;
    const auto readFloor = [&] {
        if (!againstFloor)
            return std::chrono::steady_clock::duration{};
        if (memory == TMemory::Cold)
            malloc_trim(0);
        const auto start = std::chrono::steady_clock::now();
        ReadFloor(floor);
        const auto took = std::chrono::steady_clock::now() - start;
        floor.reset();
        return took;
    };
    for (int i = 0; i < 100 && memory == TMemory::Warm; ++i) {
        drop();
        readFloor();
        const int64_t before = PageFaults();
        read();
        if (PageFaults() - before < 10)
            break;
    }
    int64_t faults = 0;
    std::chrono::duration<double> floorTime{}, readTime{};
    for (auto _ : state) {
        state.PauseTiming();
        drop();
        floorTime += readFloor();
        if (memory == TMemory::Cold)
            malloc_trim(0);
        const int64_t before = PageFaults();
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        read();
        readTime += std::chrono::steady_clock::now() - start;
        faults += PageFaults() - before;
    }
    state.counters["faults"] = benchmark::Counter(double(faults), benchmark::Counter::kAvgIterations);
    if (againstFloor && floorTime.count() > 0)
        state.counters["ratio"] = readTime / floorTime;
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(File().Size));
}

void BM_ReadFileBytes(benchmark::State& state, TMemory memory)
{
    std::optional<TFileBytes> file;
    TimeReads(state, memory, [&] { file.reset(); }, [&] { ReadFloor(file); });
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

// Resident sizes of one read from an empty model: the peak above the start,
// and the model's (what stays once the freed file bytes are handed back).
void MeasureMemory(benchmark::State& state, const std::string& path, OPTInFile& reader, TModel& model)
{
    model.Clear();
    malloc_trim(0);
    const double before = StatusMB("VmRSS");
    std::ofstream("/proc/self/clear_refs") << "5";  // resets VmHWM to VmRSS
    reader.ReadOpt(path, model);
    state.counters["peakMB"] = StatusMB("VmHWM") - before;
    malloc_trim(0);
    state.counters["modelMB"] = StatusMB("VmRSS") - before;
}

void BM_ReadOpt(benchmark::State& state, TMemory memory)
{
    const LargeModelFile& file = File();
    OPTInFile reader;
    TModel model;
    TimeReads(
        state, memory, [&] { model.Clear(); },
        [&] {
            reader.ReadOpt(file.Path, model);
            benchmark::DoNotOptimize(model.Meshes.Count());
        },
        true);
    int64_t faces = 0, vertices = 0;
    for (const TOMesh& mesh : model.Meshes) {
        vertices += mesh.Vertices.Count();
        for (const TFaceL& lod : mesh.Faces)
            faces += lod.Count();
    }
    state.counters["faces"] = double(faces);
    state.counters["vertices"] = double(vertices);
    state.counters["fileMB"] = double(file.Size) / (1024.0 * 1024.0);
    if (memory == TMemory::Cold)
        MeasureMemory(state, file.Path, reader, model);
}

void BM_ReadOptFromMemory(benchmark::State& state, TMemory memory)
{
    const TFileBytes file(File().Path);
    OPTInFile reader;
    TModel model;
    TimeReads(
        state, memory, [&] { model.Clear(); },
        [&] {
            reader.ReadOpt(file.Bytes(), "bench.opt", model);
            benchmark::DoNotOptimize(model.Meshes.Count());
        });
}

// CPU is the process's, the reading thread's included; two seconds of it
// each, which averages out much of a busy machine's noise.
void Settings(benchmark::internal::Benchmark* b)
{
    b->MeasureProcessCPUTime()->MinTime(2)->Unit(benchmark::kMillisecond);
}

}  // namespace

BENCHMARK_CAPTURE(BM_ReadFileBytes, warm, TMemory::Warm)->Apply(Settings);
BENCHMARK_CAPTURE(BM_ReadOpt, warm, TMemory::Warm)->Apply(Settings);
BENCHMARK_CAPTURE(BM_ReadOptFromMemory, warm, TMemory::Warm)->Apply(Settings);
BENCHMARK_CAPTURE(BM_ReadFileBytes, cold, TMemory::Cold)->Apply(Settings);
BENCHMARK_CAPTURE(BM_ReadOpt, cold, TMemory::Cold)->Apply(Settings);
BENCHMARK_CAPTURE(BM_ReadOptFromMemory, cold, TMemory::Cold)->Apply(Settings);
