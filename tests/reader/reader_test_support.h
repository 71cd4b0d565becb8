#pragma once
// Shared helpers of the reader tests: a sample model built with OptBuilder,
// and a way to read any built file through an open model's reader.

#include <functional>
#include <string>
#include <vector>

#include "open_model.h"
#include "opt_builder.h"
#include "temp_dir.h"

namespace readertest {

// Writes bytes to a file in dir and reads it into open's Model with its
// Reader; returns the path.
std::string ReadBytesAsOpt(TOpenModel& open, const TempDir& dir, const std::vector<uint8_t>& bytes,
                           const std::string& name = "m.opt");

// The message of the EOptDamaged that f raises, or "no error".
std::string DamagedMessage(const std::function<void()>& f);

// "File <path> is damaged or truncated (offset <offset>)".
std::string TruncatedText(const std::string& path, int64_t offset);

// A small model that uses every kind of node the reader knows: one texture
// node, then a mesh with vertices, a glow, a group holding more vertices and a
// second glow, and an LOD node with two LODs of faces.
struct SampleModel {
    optbuild::OptBuilder B;
    optbuild::NodeId Texture, Mesh, Verts, Glow, Group, GroupVerts, GroupGlow, Lod, Faces0, Faces1;
    optbuild::GlowRecord GlowValues, GroupGlowValues;
    std::vector<optbuild::FaceRecord> Lod0, Lod1;
    SampleModel();
};

}  // namespace readertest
