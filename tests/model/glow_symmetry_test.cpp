#include <gtest/gtest.h>

#include <cmath>

#include "glow_symmetry.h"

namespace {

TEngineGlow Glow(int32_t filePos, TFloat3 centre)
{
    TEngineGlow glow;
    glow.FilePos = filePos;
    glow.Center = centre;
    glow.MainVec = {0, 4, 1};
    return glow;
}

// A ship 200 wide: twins are found within 2 of a glow's mirror image.
struct GlowSymmetry : testing::Test {
    TModel Model;
    const TGlowIndex Right{0, 0}, Aft{0, 1}, Middle{0, 2}, Left{1, 0}, AftLeft{1, 1};

    GlowSymmetry()
    {
        TOMesh& right = Model.Meshes.Get(Model.Meshes.Add(TModel::NewMesh()));
        right.Vertices.Add({-100, 0, 0});
        right.Vertices.Add({100, 0, 0});
        right.Glows.Add(Glow(1000, {10, 5, 0}));
        right.Glows.Add(Glow(1068, {20, 5, 3}));
        right.Glows.Add(Glow(1136, {0, 8, 0}));
        TOMesh& left = Model.Meshes.Get(Model.Meshes.Add(TModel::NewMesh()));
        left.Glows.Add(Glow(2000, {-10.5f, 5, 0}));
        left.Glows.Add(Glow(2068, {-20, 5, 3}));
    }
};

TEST_F(GlowSymmetry, AnEditGivesEachTwinNotWrittenItselfTheMirrorImageOfTheResult)
{
    TSymmetry symmetry;
    TEngineGlow moved = Glow(1000, {12, 6, 0});
    const TGlowWrite edit{"", {{Right, moved}, {AftLeft, Glow(2068, {-21, 5, 3})}, {Middle, Glow(1136, {0, 9, 0})}}};
    EXPECT_EQ(symmetry.With(edit, Model).Write.Glows.size(), 3u) << "off: the write as given";

    symmetry.Set(TMirrorAxis::X);
    const TTwinnedWrite twinned = symmetry.With(edit, Model);
    // Right's twin Left takes the image; AftLeft's twin Aft, not written,
    // takes its image too; Middle lies on the plane and has none.
    ASSERT_EQ(twinned.Write.Glows.size(), 5u);
    EXPECT_EQ(twinned.Alone, std::vector<TGlowIndex>{Middle});
    const TGlowValues& left = twinned.Write.Glows[3];
    EXPECT_EQ(left.At, Left);
    EXPECT_EQ(left.Values.FilePos, 2000) << "written at the twin's own place";
    EXPECT_EQ(left.Values.Center.X, -12.0f);
    EXPECT_EQ(left.Values.Center.Y, 6.0f);
    // Only the sign bit differs: 0 becomes -0, not the 0 that 0 - x gives.
    EXPECT_TRUE(std::signbit(left.Values.MainVec.X));
    EXPECT_EQ(left.Values.MainVec.Y, 4.0f);
    EXPECT_EQ(twinned.Write.Glows[4].At, Aft);
    EXPECT_EQ(twinned.Write.Glows[4].Values.Center.X, 21.0f);

    // Both sides edited: each keeps what it was given.
    const TGlowWrite both{"", {{Right, moved}, {Left, Glow(2000, {-3, 1, 1})}}};
    EXPECT_EQ(symmetry.With(both, Model).Write.Glows.size(), 2u);

    // The view's twins: of the selected glows, those not selected.
    EXPECT_EQ(symmetry.Twins(Model, {Right, Aft, Middle}), (std::vector<TGlowIndex>{Left, AftLeft}));
    EXPECT_EQ(symmetry.Twins(Model, {Right, Left}), std::vector<TGlowIndex>{});
}

}  // namespace
