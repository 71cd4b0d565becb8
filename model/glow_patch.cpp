#include "glow_patch.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <string_view>
#include <system_error>

#include "byte_order.h"
#include "errors.h"
#include "file_bytes.h"

namespace {

constexpr std::string_view RecordMagic = "NEGREC01";
constexpr std::string_view RecordSuffix = ".neg-record";
constexpr size_t HeaderSize = RecordMagic.size() + 8 + 4;
constexpr size_t BlockSize = 8 + 2 * GlowWriteBackSize;
constexpr size_t HashSize = 8;

// One glow block of a write: where its 68 bytes lie, what they held and what
// they are to get.
struct TBlock {
    int64_t At = 0;  // the position of the 68 bytes, past the block's first 4
    TGlowBytes Old{}, New{};
};

// What a record holds.
struct TRecord {
    int64_t Size = 0;
    std::vector<TBlock> Blocks;
};

uint64_t Fnv1a(std::span<const uint8_t> bytes)
{
    uint64_t hash = 0xcbf29ce484222325;
    for (const uint8_t b : bytes)
        hash = (hash ^ b) * 0x100000001b3;
    return hash;
}

std::vector<uint8_t> EncodeRecord(int64_t size, const std::vector<TBlock>& blocks)
{
    std::vector<uint8_t> bytes(HeaderSize + BlockSize * blocks.size() + HashSize);
    uint8_t* p = std::copy(RecordMagic.begin(), RecordMagic.end(), bytes.data());
    PutUInt64LE(p, uint64_t(size));
    PutUInt32LE(p + 8, uint32_t(blocks.size()));
    p += 12;
    for (const TBlock& block : blocks) {
        PutUInt64LE(p, uint64_t(block.At - GlowWriteBackOffset));
        p = std::copy(block.New.begin(), block.New.end(), std::copy(block.Old.begin(), block.Old.end(), p + 8));
    }
    PutUInt64LE(p, Fnv1a({bytes.data(), size_t(p - bytes.data())}));
    return bytes;
}

// The record in bytes; nothing when they are not one whole.
std::optional<TRecord> DecodeRecord(std::span<const uint8_t> bytes)
{
    if (bytes.size() < HeaderSize + HashSize ||
        !std::equal(RecordMagic.begin(), RecordMagic.end(), bytes.begin()))
        return std::nullopt;
    const size_t count = GetUInt32LE(bytes.data() + RecordMagic.size() + 8);
    const size_t body = bytes.size() - HashSize;
    if ((body - HeaderSize) / BlockSize != count || (body - HeaderSize) % BlockSize != 0 ||
        GetUInt64LE(bytes.data() + body) != Fnv1a(bytes.first(body)))
        return std::nullopt;
    TRecord record{int64_t(GetUInt64LE(bytes.data() + RecordMagic.size())), {}};
    for (const uint8_t* p = bytes.data() + HeaderSize; p < bytes.data() + body; p += BlockSize) {
        TBlock& block = record.Blocks.emplace_back();
        block.At = int64_t(GetUInt64LE(p)) + GlowWriteBackOffset;
        std::copy_n(p + 8, GlowWriteBackSize, block.Old.begin());
        std::copy_n(p + 8 + GlowWriteBackSize, GlowWriteBackSize, block.New.begin());
    }
    return record;
}

// Removes the record for good: its folder flushed, so that no crash brings
// it back over later writes.
bool RemoveRecord(const std::string& record)
{
    std::error_code error;
    std::filesystem::remove(SystemPath(record), error);
    return !error && SyncFolder(FolderPart(record));
}

// The blocks of a write in file order, each once with the last patch's
// bytes, those that the file holds already left out.
std::vector<TBlock> BlocksToWrite(std::span<const TGlowPatch> patches, std::span<const TGlowBytes> held)
{
    std::map<int64_t, TBlock> byPosition;
    for (size_t i = 0; i < patches.size(); ++i) {
        const TGlowPatch& patch = patches[i];
        byPosition.insert_or_assign(patch.FilePos, TBlock{patch.FilePos + GlowWriteBackOffset, held[i], patch.Bytes});
    }
    std::vector<TBlock> blocks;
    for (const auto& [position, block] : byPosition)
        if (block.Old != block.New)
            blocks.push_back(block);
    return blocks;
}

// Whether the file holds bytes at `at`.
bool Holds(TOpenFile& file, int64_t at, const TGlowBytes& bytes)
{
    TGlowBytes now{};
    return file.ReadAt(at, now.data(), now.size()) == now.size() && now == bytes;
}

// Puts back the old bytes of the blocks that a failed write reached and
// flushes the file; returns how many may still hold new bytes. A block whose
// write of the old bytes failed counts as back when the file holds them (the
// write that failed may have changed nothing).
size_t PutBackOldBytes(TOpenFile& file, std::span<const TBlock> reached)
{
    size_t notBack = 0;
    for (const TBlock& block : reached)
        if (!file.WriteAt(block.At, block.Old.data(), block.Old.size()) && !Holds(file, block.At, block.Old))
            ++notBack;
    return notBack == 0 && !file.Sync() ? reached.size() : notBack;
}

}  // namespace

std::string RecordPath(const std::string& path, TLinks links)
{
    const std::string file = links == TLinks::Follow ? ThroughLinks(path) : path;
    return FolderPart(file) + "." + FileNamePart(file) + std::string(RecordSuffix);
}

std::vector<TGlowBytes> HeldGlowBytes(TOpenFile& file, const std::string& path, int64_t size,
                                      std::span<const TGlowPatch> patches)
{
    std::vector<TGlowBytes> held(patches.size());
    for (size_t i = 0; i < patches.size(); ++i) {
        const int64_t filePos = patches[i].FilePos;
        if (filePos < 0 || filePos > size - GlowRecordSize)
            throw EInOutError::Write(path);
        if (file.ReadAt(filePos + GlowWriteBackOffset, held[i].data(), held[i].size()) != held[i].size())
            throw EInOutError::Read(path);
    }
    return held;
}

bool WritesAnything(std::span<const TGlowPatch> patches, std::span<const TGlowBytes> held)
{
    return !BlocksToWrite(patches, held).empty();
}

void PatchGlowBlocks(TOpenFile& file, const std::string& path, const std::string& record,
                     std::span<const TGlowPatch> patches, std::span<const TGlowBytes> held)
{
    const std::vector<TBlock> blocks = BlocksToWrite(patches, held);
    if (blocks.empty())
        return;
    if (blocks.size() == 1) {
        if (!file.WriteAt(blocks[0].At, blocks[0].New.data(), blocks[0].New.size()))
            throw EInOutError::Write(path);
        return;
    }
    if (!WriteWholeFile(record, EncodeRecord(file.Identity().Size, blocks), TExisting::Keep))
        throw EUnfinishedWrite(path, record);
    if (!SyncFolder(FolderPart(record))) {
        RemoveRecord(record);
        throw EInOutError::Write(record);
    }
    size_t reached = 0;
    bool written = true;
    for (const TBlock& block : blocks) {
        ++reached;
        if (!file.WriteAt(block.At, block.New.data(), block.New.size())) {
            written = false;
            break;
        }
    }
    if (written && file.Sync() && RemoveRecord(record))
        return;
    // All or nothing: what this write changed goes back at once.
    if (const size_t notBack = PutBackOldBytes(file, std::span(blocks).first(reached)))
        throw EInOutError("Cannot write file " + path + ", nor put back what this write changed: up to " +
                          std::to_string(notBack) + " of its " + std::to_string(blocks.size()) +
                          " glows may hold new bytes until the file is opened again, which puts back the old ones "
                          "kept in " + record);
    if (!RemoveRecord(record))
        throw EInOutError("Cannot remove file " + record + "; the write was taken back, " + path + " is as it was");
    throw EInOutError::Write(path);
}

namespace {

// The record beside path, read; nothing when it cannot be read or is not
// one whole.
std::optional<TRecord> ReadRecord(const std::string& record)
{
    try {
        return DecodeRecord(TFileBytes(record, TLinks::Refuse).Bytes());
    } catch (const Exception&) {
        return std::nullopt;
    }
}

std::string GlowCount(size_t count)
{
    return std::to_string(count) + (count == 1 ? " glow" : " glows");
}

}  // namespace

TTakeBack TakeBackUnfinishedWrite(const std::string& path, TLinks links)
{
    const std::string recordPath = RecordPath(path, links);
    if (KindOf(recordPath, TLinks::Refuse) == TFileKind::Missing)
        return {};
    const std::optional<TRecord> record = ReadRecord(recordPath);
    if (!record)
        return {TTakeBack::LeftAlone, "The record of an unfinished write " + recordPath +
                                          " cannot be read; it and " + path + " were left as they are"};
    TOpenFile file(path, TOpenFile::Patching, links);
    // Each block must hold its old bytes or its new ones: anything else was
    // written since, by someone who did not know of the record.
    bool matches = file.Identity().Size == record->Size;
    std::vector<const TBlock*> toPutBack;
    for (const TBlock& block : record->Blocks) {
        if (!matches)
            break;
        TGlowBytes now{};
        matches = block.At >= 0 && block.At <= record->Size - int64_t(now.size()) &&
                  file.ReadAt(block.At, now.data(), now.size()) == now.size() && (now == block.Old || now == block.New);
        if (matches && now != block.Old)
            toPutBack.push_back(&block);
    }
    if (!matches)
        return {TTakeBack::LeftAlone, path + " no longer matches the unfinished write recorded in " + recordPath +
                                          "; both were left as they are"};
    bool putBack = true;
    for (const TBlock* block : toPutBack)
        putBack = putBack && file.WriteAt(block->At, block->Old.data(), block->Old.size());
    if (!putBack || !file.Sync() || !file.Close())
        throw EInOutError("Cannot write file " + path + " to take back the unfinished write recorded in " + recordPath);
    std::string text = "An unfinished write of " + GlowCount(record->Blocks.size()) + " into " + path +
                       " was taken back: the file is as it was before it";
    if (!RemoveRecord(recordPath))
        text += " (its record " + recordPath + " could not be removed)";
    return {TTakeBack::TakenBack, text};
}

std::string UnfinishedWriteNote(const std::string& path)
{
    std::string recordPath;
    try {
        recordPath = RecordPath(path, TLinks::Follow);
    } catch (const Exception&) {
        return {};  // links that go round: the read says so
    }
    if (KindOf(recordPath, TLinks::Refuse) == TFileKind::Missing)
        return {};
    const std::optional<TRecord> record = ReadRecord(recordPath);
    const std::string what = record ? "an unfinished write of " + GlowCount(record->Blocks.size()) : "an unfinished write";
    return path + " has " + what + " recorded in " + recordPath +
           "; set and apply take it back before they write, the editor when it opens the file. Nothing was changed";
}
