#include "shared_blocks.h"

#include <algorithm>

#include "model.h"

namespace {

// Two glows' written-back bytes overlap when their blocks lie closer than this.
constexpr int64_t Reach = int64_t(GlowWriteBackSize);

}  // namespace

void TSharedBlocks::Find(const TModel& model)
{
    std::vector<TPlaced> all;
    for (int32_t m = 0; m < model.Meshes.Count(); ++m) {
        const TEngineGlowL& glows = model.Meshes.Get(m).Glows;
        for (int32_t g = 0; g < glows.Count(); ++g)
            all.push_back({glows.Get(g).FilePos, {m, g}});
    }
    // Stable: the glows at one block stay in mesh and glow order.
    std::stable_sort(all.begin(), all.end(), [](const TPlaced& a, const TPlaced& b) { return a.Pos < b.Pos; });
    Sharing.clear();
    for (size_t i = 0; i < all.size(); ++i) {
        const bool near = (i > 0 && all[i].Pos - all[i - 1].Pos < Reach) ||
                          (i + 1 < all.size() && all[i + 1].Pos - all[i].Pos < Reach);
        if (near)
            Sharing.push_back(all[i]);
    }
}

void TSharedBlocks::Decode(TModel& model, TGlowIndex at, const TGlowBytes& bytes) const
{
    TEngineGlow& written = model.Meshes.Get(at.Mesh).Glows.Get(at.Glow);
    DecodeGlowWriteBack(bytes, written);
    const int64_t pos = written.FilePos;
    auto other = std::lower_bound(Sharing.begin(), Sharing.end(), pos - Reach + 1,
                                  [](const TPlaced& p, int64_t from) { return p.Pos < from; });
    for (; other != Sharing.end() && other->Pos < pos + Reach; ++other) {
        if (other->At == at)
            continue;
        TEngineGlow& glow = model.Meshes.Get(other->At.Mesh).Glows.Get(other->At.Glow);
        // The bytes both cover, at their places in each glow's 68.
        TGlowBytes held = EncodeGlowWriteBack(glow);
        const int64_t from = std::max(pos, other->Pos), to = std::min(pos, other->Pos) + Reach;
        std::copy(bytes.begin() + (from - pos), bytes.begin() + (to - pos), held.begin() + (from - other->Pos));
        DecodeGlowWriteBack(held, glow);
    }
}
