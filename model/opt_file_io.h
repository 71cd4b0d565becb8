#pragma once
// The OPT reader: turns one OPT file into the content of a model and remembers
// where each engine glow's data block lies, for the in-place write-back.

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "file_util.h"
#include "shared_blocks.h"

class TByteReader;
struct TModel;

// What a read left out of node tables that list more than their capacities
// (OPTInFile::Max...): the glows among the children of meshes and groups, the
// meshes of the top level, and every other node (face nodes, and entries
// whose kind was not looked at).
struct TLeftOut {
    int64_t Glows = 0;
    int64_t Meshes = 0;
    int64_t Others = 0;
    bool operator==(const TLeftOut&) const = default;
};

// "10 glows and 1 mesh past the reader's limits are left out"; empty when
// nothing was left out.
std::string LeftOutText(const TLeftOut& leftOut);

class OPTInFile {
public:
    // Empties model and fills it from the OPT file at path; returns the
    // identity of the file as read. The walk follows the read as the bytes
    // come in.
    // Throws EFOpenError "Cannot open file <path>" when the file cannot be
    // opened (model stays empty), EFileChanged when another program wrote it
    // while it was read and EInOutError when the read failed (model stays
    // empty, whatever else the walk met), and EOptDamaged naming the path
    // when a read would leave the file (what was read before stays in model).
    // A directory or other non-regular file cannot be opened (ENotAFile), nor
    // a symbolic link with TLinks::Refuse. With read, the file's bytes are
    // handed to it once they are read and walked, before they are freed.
    TFileIdentity ReadOpt(const std::string& path, TModel& model, TLinks links = TLinks::Follow,
                          const std::function<void(std::span<const uint8_t>)>& read = {});

    // The same walk over an OPT file's bytes in memory; name stands for the
    // file in messages. Raises EOptDamaged and EOptTooLarge as above.
    void ReadOpt(std::span<const uint8_t> bytes, const std::string& name, TModel& model);

    // Bounds against node tables that point at the same nodes so often that
    // the model would not fit in memory or the walk would take minutes; an
    // intact file of any size met in practice stays far below both. Beyond
    // either, the read ends with EOptTooLarge saying which bound was hit.
    // MaxModelBytes bounds the memory of the vertices, faces and glows the
    // model would hold: 2.25 GiB. The 32-bit offsets keep an intact file's
    // data below 2 GiB, and 2 GiB of faces make a model of about 2.1 GiB, so
    // only node tables that repeat nodes come near it.
    // MaxNodeVisits counts every node the walk looks at, peeks included.
    static constexpr int64_t DefaultMaxModelBytes = int64_t{9} << 28;
    static constexpr int64_t DefaultMaxNodeVisits = 2'000'000;
    int64_t MaxModelBytes = DefaultMaxModelBytes;
    int64_t MaxNodeVisits = DefaultMaxNodeVisits;

    // What the last read left out, and which glows of its model share bytes.
    TLeftOut LeftOut;
    TSharedBlocks SharedBlocks;

    // Capacities of the node tables; entries beyond them are ignored (and
    // counted in LeftOut). LOD entries beyond MaxLods are not counted: the
    // model holds three LODs only.
    static constexpr int MaxTopLevel = 70;
    static constexpr int MaxMeshChildren = 50;
    static constexpr int MaxGroupChildren = 50;
    static constexpr int MaxLods = 4;
    static constexpr int MaxFaceNodes = 100;

private:
    void Walk(const TByteReader& in, TModel& model);
};
