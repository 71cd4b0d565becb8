// Fuzz target: any bytes, read from memory as an OPT model. Our own errors
// (damaged, too large) are expected; anything else is a finding, and so is a
// model that holds more than the input can account for.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "errors.h"
#include "glow_record.h"
#include "model.h"
#include "opt_file_io.h"

namespace {

// How often the walk can reach one kind of node inside one mesh: 50 mesh
// children, or 50 groups of 50 children each.
constexpr int64_t NodesPerMesh = OPTInFile::MaxMeshChildren * (1 + OPTInFile::MaxGroupChildren);

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

// The model must be what the walk over size bytes allows: every glow's block
// inside the input (but for the one being read when the read failed), counts
// no larger than repeated visits of the largest node the input can hold, and
// the whole within the reader's memory bound.
void CheckModel(const TModel& model, const OPTInFile& reader, int64_t size, bool complete)
{
    Require(model.Meshes.Count() <= OPTInFile::MaxTopLevel);
    int64_t held = 0;
    for (int m = 0; m < model.Meshes.Count(); ++m) {
        const TOMesh& mesh = model.Meshes.Get(m);
        const bool lastMesh = m == model.Meshes.Count() - 1;
        for (int g = 0; g < mesh.Glows.Count(); ++g) {
            const TEngineGlow& glow = mesh.Glows.Get(g);
            if (complete || !lastMesh || g < mesh.Glows.Count() - 1)
                Require(glow.FilePos >= 0 && glow.FilePos <= size - GlowRecordSize);
        }
        Require(mesh.Glows.Count() <= NodesPerMesh);
        Require(mesh.Vertices.Count() <= NodesPerMesh * (size / 12));
        for (const TFaceL& faces : mesh.Faces)
            Require(faces.Count() <= NodesPerMesh * OPTInFile::MaxFaceNodes * (size / 100));
        held += int64_t(sizeof(TEngineGlow)) * mesh.Glows.Count() + int64_t(sizeof(TVertex)) * mesh.Vertices.Count();
        for (const TFaceL& faces : mesh.Faces)
            held += int64_t(sizeof(TOFace)) * faces.Count();
    }
    Require(held <= reader.MaxModelBytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // Smaller bounds than the editor's keep one input within the fuzzer's
    // memory and time limits; the walk that checks them is the same.
    OPTInFile reader;
    reader.MaxModelBytes = 20'000'000;
    reader.MaxNodeVisits = 50'000;
    TModel model;
    bool complete = true;
    try {
        reader.ReadOpt(std::span<const uint8_t>(data, size), "fuzz.opt", model);
    } catch (const EOptDamaged&) {
        complete = false;
    } catch (const EOptTooLarge&) {
        complete = false;
    }
    CheckModel(model, reader, static_cast<int64_t>(size), complete);
    return 0;
}
