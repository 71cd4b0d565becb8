#include "opt_file_io.h"

#include <algorithm>
#include <array>
#include <vector>

#include "bulk_memory.h"
#include "byte_reader.h"
#include "errors.h"
#include "file_bytes.h"
#include "glow_record.h"
#include "messages.h"
#include "model.h"

namespace {

// Node types the walk acts on; every other type is passed over.
constexpr int32_t GroupType = 0;
constexpr int32_t FaceDataType = 1;
constexpr int32_t VertexType = 3;
constexpr int32_t TextureType = 20;
constexpr int32_t LodType = 21;
constexpr int32_t GlowType = 28;

// Byte sizes of the records in the file.
constexpr int64_t VertexSize = 12;
constexpr int64_t FaceRecordSize = 64;
constexpr int64_t NormalSize = 12;
constexpr int64_t TexVecSize = 24;
constexpr int64_t FaceSize = FaceRecordSize + NormalSize + TexVecSize;

// Which node table is read, for what its entries past the capacity count as.
enum class TListing { TopLevel, MeshChildren, GroupChildren, Lods, Faces, UnkeptFaces };

// One walk over a file in memory, appending to model; counts what it leaves
// out in left.
class TOptWalk {
public:
    TOptWalk(const TByteReader& in, TModel& model, int64_t maxModelBytes, int64_t maxNodeVisits, TLeftOut& left)
        : In(in), Model(model), MaxModelBytes(maxModelBytes), MaxNodeVisits(maxNodeVisits), Left(left)
    {
    }

    void Run()
    {
        // Stored offsets count from the base at byte 8, less 8, and wrap
        // around in 32 bits.
        Base = static_cast<int32_t>(static_cast<uint32_t>(In.Int32(8)) - 8u);
        const int32_t count = In.Int32(14);
        std::array<int32_t, OPTInFile::MaxTopLevel> topLevel{};
        const int n = ReadTable(topLevel, count, 18, false, TListing::TopLevel);
        // The vertices and faces, nearly all of the model, share one memory:
        // a few large regions rather than thousands of blocks of the heap.
        // They take about the file's size, more where a list gets several
        // runs (its blocks after the first double): one region of one and a
        // half times the file's size mostly holds them all, and the room it
        // does not use is never touched.
        const auto bulk = NewBulkMemory(static_cast<size_t>(In.FileSize() + In.FileSize() / 2));
        for (int j = 0; j < n; ++j) {
            if (Peek(topLevel[j]) == TextureType)
                continue;
            TOMesh& mesh = Model.Meshes.Get(Model.Meshes.Add(TModel::NewMesh()));
            mesh.Vertices.UseMemory(bulk);
            for (TFaceL& faces : mesh.Faces)
                faces.UseMemory(bulk);
            MeshNode(mesh, topLevel[j]);
        }
    }

private:
    int32_t Convert(int32_t stored) const
    {
        return static_cast<int32_t>(static_cast<uint32_t>(stored) - static_cast<uint32_t>(Base));
    }

    // Reads the stored offset at pos and converts it to a file position.
    int32_t OffsetAt(int64_t pos) const { return Convert(In.Int32(pos)); }

    // Counts one node the walk looks at against the bound.
    void Visit()
    {
        if (++Visits > MaxNodeVisits)
            throw EOptTooLarge("File " + In.Path() + " cannot be opened: its node tables lead to more than " +
                               std::to_string(MaxNodeVisits) + " nodes");
    }

    // The node's type; the whole 12-byte peeked header must be in the file.
    int32_t Peek(int64_t node)
    {
        Visit();
        In.Require(node, 12);
        return In.Int32(node + 4);
    }

    // Reads min(count, N) stored offsets from the table whose stored offset
    // sits at tableOffsetPos, converting each; returns how many were read.
    // With skipEmpty, an entry whose stored or converted value is 0 reads as 0,
    // which the caller skips.
    template <size_t N>
    int ReadTable(std::array<int32_t, N>& table, int32_t count, int64_t tableOffsetPos, bool skipEmpty,
                  TListing listing)
    {
        const int32_t tablePos = OffsetAt(tableOffsetPos);
        const int n = std::clamp<int32_t>(count, 0, static_cast<int32_t>(N));
        In.RequireRun(tablePos, n, 4);
        for (int i = 0; i < n; ++i) {
            const int32_t stored = In.Int32(int64_t(tablePos) + 4 * i);
            table[i] = skipEmpty && stored == 0 ? 0 : Convert(stored);
        }
        if (count > n)
            CountLeftOut(tablePos, n, count, skipEmpty, listing);
        return n;
    }

    // The entries from `from` on of a table past its capacity are not read,
    // but the user is told what they would have added: each entry's node type
    // is looked at as far as the file holds it. The looks have a bound of
    // their own and leave the walk's alone: a file read before is read still.
    void CountLeftOut(int32_t tablePos, int from, int32_t count, bool skipEmpty, TListing listing)
    {
        if (listing == TListing::Lods || listing == TListing::UnkeptFaces)
            return;
        const int64_t end = std::min<int64_t>(count, (In.FileSize() - tablePos) / 4);
        for (int64_t i = from; i < end; ++i) {
            if (++Looks > MaxNodeVisits) {
                Left.Others += end - i;
                return;
            }
            const int32_t stored = In.Int32(int64_t(tablePos) + 4 * i);
            const int32_t node = Convert(stored);
            if (skipEmpty && (stored == 0 || node == 0))
                continue;
            // A node outside the file would have ended the read: none.
            if (!In.Holds(node, 12))
                continue;
            const int32_t type = In.Int32(int64_t(node) + 4);
            // Only the nodes the walk would have acted on.
            if (listing == TListing::TopLevel) {
                if (type != TextureType)
                    ++Left.Meshes;
            } else if (listing == TListing::Faces) {
                if (type == FaceDataType)
                    ++Left.Others;
            } else if (type == GlowType) {
                ++Left.Glows;
            } else if (type == VertexType || type == LodType ||
                       (type == GroupType && listing == TListing::MeshChildren)) {
                ++Left.Others;
            }
        }
    }

    // Checks that count records of size bytes at pos are in the file and
    // that the model may take count more items of heldSize bytes each (0 for
    // records it does not keep). Returns the records (nullptr for a count <= 0).
    const uint8_t* Claim(int64_t pos, int32_t count, int64_t size, int64_t heldSize)
    {
        const uint8_t* const records = In.Run(pos, count, size);
        if (count > 0 && (HeldBytes += count * heldSize) > MaxModelBytes)
            throw EOptTooLarge("File " + In.Path() + " cannot be opened: its model would take more than " +
                               std::to_string(MaxModelBytes) + " bytes of memory");
        return records;
    }

    void MeshNode(TOMesh& mesh, int32_t node)
    {
        std::array<int32_t, OPTInFile::MaxMeshChildren> children{};
        const int n =
            ReadTable(children, In.Int32(int64_t(node) + 8), int64_t(node) + 12, false, TListing::MeshChildren);
        for (int i = 0; i < n; ++i) {
            switch (Peek(children[i])) {
            case VertexType: VertexNode(mesh, children[i]); break;
            case GlowType: GlowNode(mesh, children[i]); break;
            case GroupType: GroupNode(mesh, children[i]); break;
            case LodType: LodNode(mesh, children[i]); break;
            default: break;
            }
        }
    }

    // Children of a group are handled as if they were the mesh's; groups
    // inside a group are not followed.
    void GroupNode(TOMesh& mesh, int32_t node)
    {
        std::array<int32_t, OPTInFile::MaxGroupChildren> children{};
        const int n =
            ReadTable(children, In.Int32(int64_t(node) + 8), int64_t(node) + 12, true, TListing::GroupChildren);
        for (int i = 0; i < n; ++i) {
            if (children[i] == 0)
                continue;
            switch (Peek(children[i])) {
            case VertexType: VertexNode(mesh, children[i]); break;
            case GlowType: GlowNode(mesh, children[i]); break;
            case LodType: LodNode(mesh, children[i]); break;
            default: break;
            }
        }
    }

    void VertexNode(TOMesh& mesh, int32_t node)
    {
        const int32_t count = In.Int32(int64_t(node) + 16);
        const uint8_t* data = Claim(OffsetAt(int64_t(node) + 20), count, VertexSize, sizeof(TVertex));
        mesh.Vertices.AppendMany(count, [data](int k) {
            const uint8_t* const v = data + VertexSize * k;
            return TVertex{GetFloat32LE(v), GetFloat32LE(v + 4), GetFloat32LE(v + 8)};
        });
    }

    // One node holds one glow whatever its data count says. The glow is
    // appended before its block is read, so a cut block leaves it in the
    // list (with its FilePos) when the read ends in an error.
    void GlowNode(TOMesh& mesh, int32_t node)
    {
        TEngineGlow& glow = mesh.Glows.Get(mesh.Glows.Add(TOMesh::NewGlow()));
        const int32_t data = OffsetAt(int64_t(node) + 20);
        glow.FilePos = data;
        const uint8_t* const record = Claim(data, 1, GlowRecordSize, sizeof(TEngineGlow));
        DecodeGlowRecord({record, size_t(GlowRecordSize)}, glow);
    }

    void LodNode(TOMesh& mesh, int32_t node)
    {
        const int32_t lods = In.Int32(int64_t(node) + 8);
        const int64_t tableOffsetPos = int64_t(node) + 12;
        const int64_t dist = OffsetAt(int64_t(node) + 20);
        mesh.LodCount = lods;

        // LodDist holds three distances; those of further LODs are not read.
        const int32_t distances = std::clamp(lods, 0, 3);
        In.RequireRun(dist, distances, 4);
        float* const lodDist[3] = {&mesh.LodDist.X, &mesh.LodDist.Y, &mesh.LodDist.Z};
        for (int i = 0; i < distances; ++i)
            *lodDist[i] = In.Float32(dist + 4 * i);

        std::array<int32_t, OPTInFile::MaxLods> lodTable{};
        const int n = ReadTable(lodTable, lods, tableOffsetPos, true, TListing::Lods);
        for (int lod = 0; lod < n; ++lod) {
            if (lodTable[lod] == 0)
                continue;
            // The LOD child's own type is not looked at.
            Visit();
            const int64_t child = lodTable[lod];
            std::array<int32_t, OPTInFile::MaxFaceNodes> faceNodes{};
            const int m = ReadTable(faceNodes, In.Int32(child + 8), child + 12, true,
                                    lod <= 2 ? TListing::Faces : TListing::UnkeptFaces);
            for (int k = 0; k < m; ++k) {
                if (faceNodes[k] != 0 && Peek(faceNodes[k]) == FaceDataType)
                    FaceDataNode(mesh, faceNodes[k], lod);
            }
        }
    }

    // Faces of LOD 3 are checked like the others but not kept: the model
    // holds three LODs.
    void FaceDataNode(TOMesh& mesh, int32_t node, int lod)
    {
        const int32_t count = In.Int32(int64_t(node) + 16);
        const int32_t data = OffsetAt(int64_t(node) + 20);
        const int32_t extra = In.Int32(int64_t(node) + 24);
        // The 4 bytes at data are not part of the faces.
        const uint8_t* const records = Claim(int64_t(data) + 4, count, FaceSize, lod <= 2 ? sizeof(TOFace) : 0);
        if (count <= 0 || lod > 2)
            return;
        const uint8_t* const normals = records + FaceRecordSize * count;
        const uint8_t* const texVecs = normals + NormalSize * count;
        mesh.Faces[lod].AppendMany(count, [=](int k) {
            TOFace face;
            face.ExtraValue = extra;
            const uint8_t* const rec = records + FaceRecordSize * k;
            TFace* const quads[4] = {&face.VertIdx, &face.Quad2, &face.Quad3, &face.Quad4};
            for (int q = 0; q < 4; ++q)
                for (int i = 0; i < 4; ++i)
                    quads[q]->Index[i] = GetInt32LE(rec + 16 * q + 4 * i);
            const uint8_t* const normal = normals + NormalSize * k;
            face.Normal = {GetFloat32LE(normal), GetFloat32LE(normal + 4), GetFloat32LE(normal + 8)};
            const uint8_t* const tex = texVecs + TexVecSize * k;
            for (int i = 0; i < 6; ++i)
                face.TexVec[i] = GetUInt32LE(tex + 4 * i);
            return face;
        });
    }

    const TByteReader& In;
    TModel& Model;
    int32_t Base = 0;
    const int64_t MaxModelBytes;
    const int64_t MaxNodeVisits;
    TLeftOut& Left;
    int64_t HeldBytes = 0;
    int64_t Visits = 0;
    int64_t Looks = 0;  // at entries left out
};

}  // namespace

TFileIdentity OPTInFile::ReadOpt(const std::string& path, TModel& model, TLinks links,
                                 const std::function<void(std::span<const uint8_t>)>& read)
{
    model.Clear();
    // The walk follows the read of the file as it comes in, on memory alone.
    const TFileBytes file(path, links, TFileBytes::Streamed);
    try {
        try {
            Walk(TByteReader(file, path), model);
        } catch (const Exception&) {
            // A walk that stopped on a file being rewritten says so.
            file.Finish();
            throw;
        }
        file.Finish();
    } catch (const EFileChanged&) {
        model.Clear();
        throw;
    } catch (const EInOutError&) {
        model.Clear();
        throw;
    }
    if (read)
        read(file.Bytes());
    return file.Identity();
}

void OPTInFile::ReadOpt(std::span<const uint8_t> bytes, const std::string& name, TModel& model)
{
    model.Clear();
    Walk(TByteReader(bytes, name), model);
}

void OPTInFile::Walk(const TByteReader& in, TModel& model)
{
    LeftOut = {};
    SharedBlocks.Clear();
    TOptWalk(in, model, MaxModelBytes, MaxNodeVisits, LeftOut).Run();
    SharedBlocks.Find(model);
}

std::string LeftOutText(const TLeftOut& leftOut)
{
    std::vector<std::string> parts;
    const auto add = [&parts](int64_t count, const char* one, const char* many) {
        if (count > 0)
            parts.push_back(CountText(count, one, many));
    };
    add(leftOut.Glows, "glow", "glows");
    add(leftOut.Meshes, "mesh", "meshes");
    add(leftOut.Others, "other node", "other nodes");
    if (parts.empty())
        return {};
    std::string text = parts[0];
    for (size_t i = 1; i < parts.size(); ++i)
        text += (i + 1 < parts.size() ? ", " : " and ") + parts[i];
    const bool one = leftOut.Glows + leftOut.Meshes + leftOut.Others == 1;
    return text + " past the reader's limits " + (one ? "is" : "are") + " left out";
}
