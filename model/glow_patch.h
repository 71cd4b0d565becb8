#pragma once
// Glow blocks patched in place, several at once all or nothing, even across a
// crash or a power cut. Before it patches more than one block, a write records
// beside the file what it is about to overwrite, in a file of its own made
// whole and flushed to the disk with its folder; then it patches, flushes the
// file and removes the record. A write that fails part-way puts back the old
// bytes at once; a file that has a record when it is next opened gets them
// back then (TakeBackUnfinishedWrite). One block is written as it is, with no
// record.
//
// The record lies beside the file, named after it: Project/ship.opt has
// Project/.ship.opt.neg-record (RecordPath). It holds, little-endian: the 8
// bytes "NEGREC01"; the file's size (int64); the number of blocks (uint32);
// for each block, in file order, its position (int64), the 68 bytes it held
// and the 68 it is to get; and the 64-bit FNV-1a hash of all that.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "file_util.h"
#include "glow_record.h"

// The 68 written-back bytes of the glow block at FilePos.
struct TGlowPatch {
    int64_t FilePos = 0;
    TGlowBytes Bytes{};
};

// The record of a write into the file at path: "." + its name +
// ".neg-record" in the same folder; with TLinks::Follow beside the file at
// the end of path's links. Throws EFCreateError for links that go round.
std::string RecordPath(const std::string& path, TLinks links);

// The 68 bytes that the open file (at path, size bytes long) holds at each
// patch's block. Throws EInOutError "Cannot write file <path>" for a block
// that does not lie wholly inside the file (a position from another file or
// a stale model), "Cannot read file <path>".
std::vector<TGlowBytes> HeldGlowBytes(TOpenFile& file, const std::string& path, int64_t size,
                                      std::span<const TGlowPatch> patches);

// Whether PatchGlowBlocks would write a byte: some block's last patch
// differs from what the file holds there.
bool WritesAnything(std::span<const TGlowPatch> patches, std::span<const TGlowBytes> held);

// Writes into the file at path, open for patching, each patch whose bytes
// differ from what it holds there (held, as HeldGlowBytes gave them; of
// patches of one block the last wins), all or nothing, with the record
// record when there are several. Throws EUnfinishedWrite when a record lies
// there already, what WriteWholeFile throws for the record (nothing written
// either way), EInOutError "Cannot write file <path>" for a write that failed
// and was taken back (the file as it was; a single block's 68 bytes may be
// partly new), EInOutError naming the record when a failure could not be
// taken back (the record stays; the text says what the file holds).
void PatchGlowBlocks(TOpenFile& file, const std::string& path, const std::string& record,
                     std::span<const TGlowPatch> patches, std::span<const TGlowBytes> held);

// What opening a file found of an unfinished write into it.
struct TTakeBack {
    enum TKind {
        NoRecord,
        TakenBack,   // the old bytes are back and the record gone
        LeftAlone,   // the file does not match the record, or the record cannot be read
    } Kind = NoRecord;
    std::string Text;  // for the user; empty for NoRecord
};

// Puts back the old bytes that the record beside the file at path keeps,
// where the file still matches it (its size, and at each block the old bytes
// or the new), then removes the record. Throws what opening, writing and
// flushing the file throw; the record then stays.
TTakeBack TakeBackUnfinishedWrite(const std::string& path, TLinks links);

// For the commands that only read: what record lies beside the file at
// path, or empty when none does. Changes nothing.
std::string UnfinishedWriteNote(const std::string& path);
