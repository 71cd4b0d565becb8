#pragma once
// Glows that share bytes of the file. A glow node that the node tables list
// more than once (legal, though rare) gives a glow for each listing, all at
// one data block, and a damaged file can lay blocks over each other. A write
// patches the bytes once for all of them, so the model changes every one of
// them with it: they are one glow in memory too.

#include <cstdint>
#include <vector>

#include "glow_record.h"
#include "selection.h"

struct TModel;

class TSharedBlocks {
public:
    // Finds the glows of model whose written-back bytes lie over another's.
    void Find(const TModel& model);
    void Clear() { Sharing.clear(); }

    // Gives the glow at `at` of model the written-back bytes `bytes` (as the
    // file took them at its FilePos), and every glow whose bytes lie over
    // them the part they share. Throws the list errors.
    void Decode(TModel& model, TGlowIndex at, const TGlowBytes& bytes) const;

private:
    struct TPlaced {
        int64_t Pos = 0;
        TGlowIndex At;
    };
    // By position: the glows that share bytes with another, and only those.
    std::vector<TPlaced> Sharing;
};
