#include "copy_content.h"

#include <algorithm>
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

#include "glow_record.h"
#include "model.h"

namespace {

// The frame is hashed in pieces that never cross a multiple of PieceSize, so
// a file read in parts that begin at such multiples hashes as if read whole.
constexpr int64_t PieceSize = int64_t{1} << 16;
constexpr int64_t PartSize = 16 * PieceSize;

// A file's bytes taken in file order: the hash of its frame, and whether each
// glow's written-back bytes are those the model holds.
class TContentWalk {
public:
    explicit TContentWalk(const TModel& model)
    {
        for (const TOMesh& mesh : model.Meshes)
            for (const TEngineGlow& glow : mesh.Glows)
                Glows.push_back(&glow);
        std::ranges::sort(Glows, {}, &TEngineGlow::FilePos);
        // The glows' bytes as one list of ranges: blocks may share bytes.
        for (const TEngineGlow* glow : Glows) {
            const int64_t from = glow->FilePos + GlowWriteBackOffset, to = from + int64_t(GlowWriteBackSize);
            if (!Covered.empty() && from <= Covered.back().second)
                Covered.back().second = std::max(Covered.back().second, to);
            else
                Covered.emplace_back(from, to);
        }
    }

    // Takes the bytes part at the position at, a multiple of PieceSize right
    // after the part taken before.
    void Take(int64_t at, std::span<const uint8_t> part)
    {
        const int64_t end = at + int64_t(part.size());
        for (int64_t p = at; p < end;) {
            while (NextCovered < Covered.size() && Covered[NextCovered].second <= p)
                ++NextCovered;
            const bool inGlow = NextCovered < Covered.size() && Covered[NextCovered].first <= p;
            int64_t stop = std::min(end, inGlow ? Covered[NextCovered].second : (p / PieceSize + 1) * PieceSize);
            if (!inGlow) {
                if (NextCovered < Covered.size())
                    stop = std::min(stop, Covered[NextCovered].first);
                const std::span<const uint8_t> piece = part.subspan(size_t(p - at), size_t(stop - p));
                const size_t hash = std::hash<std::string_view>{}(
                    std::string_view(reinterpret_cast<const char*>(piece.data()), piece.size()));
                Hash = (Hash ^ hash) * static_cast<size_t>(0x9E3779B97F4A7C15ull) + size_t(p);
            }
            p = stop;
        }
        while (FirstGlow < Glows.size() && Glows[FirstGlow]->FilePos + GlowRecordSize <= at)
            ++FirstGlow;
        for (size_t g = FirstGlow; g < Glows.size() && Glows[g]->FilePos + GlowWriteBackOffset < end; ++g) {
            const int64_t from = Glows[g]->FilePos + GlowWriteBackOffset;
            const int64_t low = std::max(from, at), high = std::min(from + int64_t(GlowWriteBackSize), end);
            const TGlowBytes held = EncodeGlowWriteBack(*Glows[g]);
            GlowsHeld = GlowsHeld && std::equal(part.begin() + (low - at), part.begin() + (high - at),
                                                held.begin() + (low - from));
        }
    }

    size_t Hash = 0;
    bool GlowsHeld = true;

private:
    std::vector<const TEngineGlow*> Glows;  // by position
    std::vector<std::pair<int64_t, int64_t>> Covered;
    size_t NextCovered = 0, FirstGlow = 0;
};

}  // namespace

TCopyFrame FrameOf(std::span<const uint8_t> bytes, const TModel& model)
{
    TContentWalk walk(model);
    walk.Take(0, bytes);
    return {int64_t(bytes.size()), walk.Hash};
}

bool HoldsModel(std::span<const uint8_t> bytes, const TCopyFrame& frame, const TModel& model)
{
    TContentWalk walk(model);
    walk.Take(0, bytes);
    return int64_t(bytes.size()) == frame.Size && walk.Hash == frame.Hash && walk.GlowsHeld;
}

bool HoldsModel(TOpenFile& file, const TCopyFrame& frame, const TModel& model)
{
    const int64_t size = file.Identity().Size;
    if (size != frame.Size)
        return false;
    TContentWalk walk(model);
    std::vector<uint8_t> part(size_t(std::min(size, PartSize)));
    for (int64_t at = 0; at < size; at += PartSize) {
        const size_t count = size_t(std::min(PartSize, size - at));
        if (file.ReadAt(at, part.data(), count) != count)
            return false;
        walk.Take(at, {part.data(), count});
    }
    return walk.Hash == frame.Hash && walk.GlowsHeld;
}
