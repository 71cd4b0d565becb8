#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "demo_model.h"
#include "model.h"
#include "opt_file_io.h"
#include "temp_dir.h"

namespace {

bool InRange(const TFloat3& v, float lo, float hi)
{
    return v.X >= lo && v.X <= hi && v.Y >= lo && v.Y <= hi && v.Z >= lo && v.Z <= hi;
}

// The file the build placed beside the editor is the current demo model, and
// it reads back as a fuselage and two pods, each with a glow at its back.
TEST(DemoModel, ReadsBackAsACraftWithEngineGlows)
{
    EXPECT_EQ(ReadBytes(NEG_DEMO_OPT), demo::BuildDemoOpt());
    TModel model;
    OPTInFile().ReadOpt(NEG_DEMO_OPT, model);
    ASSERT_EQ(model.Meshes.Count(), 3);

    const int vertexCounts[] = {12, 9, 9};
    const int faceCounts[3][3] = {{10, 4, 1}, {9, 3, 0}, {9, 3, 0}};
    const int lodCounts[] = {3, 2, 2};
    std::set<uint32_t> outerColors;
    int triangles = 0, quads = 0;
    for (int i = 0; i < 3; ++i) {
        const TOMesh& mesh = model.Meshes.Get(i);
        ASSERT_EQ(mesh.Vertices.Count(), vertexCounts[i]) << i;
        EXPECT_EQ(mesh.LodCount, lodCounts[i]) << i;
        float rearmost = 1e9f;
        for (const TVertex& v : mesh.Vertices) {
            EXPECT_TRUE(InRange({v.X, v.Y, v.Z}, -40, 40));
            rearmost = std::min(rearmost, v.Y);
        }
        for (int lod = 0; lod < 3; ++lod) {
            EXPECT_EQ(mesh.Faces[lod].Count(), faceCounts[i][lod]) << i << " " << lod;
            for (const TOFace& f : mesh.Faces[lod]) {
                (f.IsTriangle() ? triangles : quads) += lod == 0;
                for (int c = 0; c < f.CornerCount(); ++c) {
                    EXPECT_GE(f.VertIdx.Index[c], 0);
                    EXPECT_LT(f.VertIdx.Index[c], mesh.Vertices.Count());
                }
            }
        }
        ASSERT_EQ(mesh.Glows.Count(), 1) << i;
        const TEngineGlow& g = mesh.Glows.Get(0);
        // At the engine: just behind the mesh's rearmost point.
        EXPECT_LE(g.Center.Y, rearmost);
        EXPECT_GT(g.Center.Y, rearmost - 5);
        EXPECT_TRUE(InRange(g.Center, -40, 40));
        EXPECT_LT(g.MainVec.Y, 0);  // the exhaust points backwards
        EXPECT_TRUE(InRange(g.Density0, 0, 1) && InRange(g.Density1, 0, 1) && InRange(g.Density2, 0, 1));
        EXPECT_EQ(g.CoreColor >> 24, 0xFFu);  // an opaque core
        outerColors.insert(g.OuterColor);
    }
    EXPECT_EQ(outerColors.size(), 3u);
    EXPECT_GT(triangles, 0);
    EXPECT_GT(quads, 0);
    // The pods sit left and right of the fuselage.
    EXPECT_LT(model.Meshes.Get(1).Glows.Get(0).Center.X, -10);
    EXPECT_GT(model.Meshes.Get(2).Glows.Get(0).Center.X, 10);
}

}  // namespace
