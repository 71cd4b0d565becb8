#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <memory_resource>
#include <new>
#include <vector>

#include "bulk_memory.h"
#include "error_text.h"
#include "glow_record.h"
#include "glow_mirror.h"
#include "model.h"
#include "model_box.h"
#include "selection.h"

namespace {

std::string ErrorOf(const std::function<void()>& f)
{
    return MessageOf<EListError>(f);
}

TEST(ModelLists, GetOutsideTheListRaisesTheListsOwnMessage)
{
    TModel model;
    EXPECT_EQ(ErrorOf([&] { model.Meshes.Get(-1); }), "^TMeshL Index not valid: -1");
    model.Meshes.Add(TModel::NewMesh());
    EXPECT_EQ(ErrorOf([&] { model.Meshes.Get(1); }), "^TMeshL Index not valid: 1");
    TOMesh& mesh = model.Meshes.Get(0);
    EXPECT_EQ(ErrorOf([&] { mesh.Faces[0].Get(7); }), "^TFaceL Index not valid: 7");
    EXPECT_EQ(ErrorOf([&] { mesh.Vertices.Get(0); }), "^TVertexL Index not valid: 0");
    EXPECT_EQ(ErrorOf([&] { mesh.Glows.Get(3); }), "^TEngineGlow Index not valid: 3");
    EXPECT_EQ(ErrorOf([&] { model.Textures.Get(0); }), "^TTex20 Index not valid: 0");
    EXPECT_EQ(ErrorOf([&] { model.Palettes.Get(-5); }), "^TOPTPal Index not valid: -5");
}

TEST(ModelLists, GlowsKeepTheirAddressWhileTheListGrows)
{
    TOMesh mesh;
    mesh.Glows.Add(TOMesh::NewGlow());
    TEngineGlow* first = &mesh.Glows.Get(0);
    for (int i = 0; i < 10000; ++i)
        mesh.Glows.Add(TOMesh::NewGlow());
    EXPECT_EQ(first, &mesh.Glows.Get(0));
}

TEST(ModelLists, RunsAppendedAcrossBlocksLandInOrderAndStayPut)
{
    // Runs that start and end inside blocks, as a mesh's second vertex node
    // does; started with a long run, the list's first block is of its size.
    for (const std::vector<int>& runs : {std::vector{5, 20, 100, 1, 300}, std::vector{100, 5, 20, 1, 300}}) {
        TVertexL list;
        int next = 0;
        std::vector<const TVertex*> kept;
        for (const int run : runs) {
            list.AppendMany(run, [&](int i) { return TVertex{float(next + i), 0, 0}; });
            next += run;
            kept.push_back(&list.Get(next - 1));
            list.Add(TVertex{float(next++), 0, 0});
        }
        const TVertexL moved = std::move(list);
        ASSERT_EQ(moved.Count(), next);
        for (int i = 0; i < next; ++i)
            ASSERT_EQ(moved.Get(i).X, float(i)) << runs[0] << ": " << i;
        for (const TVertex* item : kept)
            EXPECT_EQ(item, &moved.Get(int(item->X)));
    }
}

TEST(ModelLists, ABlockThatGotNoRoomLeavesTheListToGrowAsBefore)
{
    // A memory that fails its first request, as an exhausted one does.
    class TFailsOnce : public std::pmr::memory_resource {
        bool Failed = false;
        void* do_allocate(size_t bytes, size_t alignment) override
        {
            if (!std::exchange(Failed, true))
                throw std::bad_alloc();
            return std::pmr::new_delete_resource()->allocate(bytes, alignment);
        }
        void do_deallocate(void* p, size_t bytes, size_t alignment) override
        {
            std::pmr::new_delete_resource()->deallocate(p, bytes, alignment);
        }
        bool do_is_equal(const memory_resource& other) const noexcept override { return this == &other; }
    };
    TVertexL list;
    list.UseMemory(std::make_shared<TFailsOnce>());
    EXPECT_THROW(list.Add(TVertex{}), std::bad_alloc);
    EXPECT_EQ(list.Count(), 0);
    list.Add(TVertex{0, 0, 0});
    const TVertex* first = &list.Get(0);
    for (int i = 1; i < 40; ++i)
        list.Add(TVertex{float(i), 0, 0});
    EXPECT_EQ(first, &list.Get(0));
    for (int i = 0; i < 40; ++i)
        ASSERT_EQ(list.Get(i).X, float(i)) << i;
}

TEST(ModelLists, ACopyHasBlocksOfItsOwnThatKeepTheirItemsInPlace)
{
    // A list in a reader's bulk memory whose last block is part full.
    TVertexL list;
    list.UseMemory(NewBulkMemory(64));
    list.AppendMany(5, [](int i) { return TVertex{float(i), 0, 0}; });
    list.AppendMany(15, [](int i) { return TVertex{float(5 + i), 0, 0}; });
    TVertexL copy = list;
    list.Clear();  // the original and its memory go
    const TVertex* inLastBlock = &copy.Get(16);
    for (int i = 20; i < 200; ++i)
        copy.Add(TVertex{float(i), 0, 0});
    EXPECT_EQ(inLastBlock, &copy.Get(16));
    ASSERT_EQ(copy.Count(), 200);
    for (int i = 0; i < 200; ++i)
        ASSERT_EQ(copy.Get(i).X, float(i)) << i;
}

TEST(Selection, DecodeByMode)
{
    TModel model;
    TSelection selection;
    for (int i = 0; i < 5; ++i)
        model.Meshes.Add(TModel::NewMesh());
    selection.SelectMode = 1;
    selection.SelectedId = PackSelection(2, 7);
    selection.Decode(model);
    EXPECT_EQ(selection.CurMesh, 2);
    EXPECT_EQ(selection.CurFace, 7);
    // The same id in mesh mode lies above the last mesh: the last mesh.
    selection.SelectMode = 0;
    selection.Decode(model);
    EXPECT_EQ(selection.CurMesh, 4);
    EXPECT_EQ(selection.CurFace, 7);
    selection.SelectedId = 3;
    selection.Decode(model);
    EXPECT_EQ(selection.CurMesh, 3);
    EXPECT_EQ(selection.CurFace, 0);
}

TEST(Selection, MeshModeComparesSigned)
{
    TModel model;
    TSelection selection;
    selection.SelectMode = 0;
    // An empty model: the "last mesh" is -1 and CurFace keeps its value.
    selection.CurFace = 9;
    selection.SelectedId = 0;
    selection.Decode(model);
    EXPECT_EQ(selection.CurMesh, -1);
    EXPECT_EQ(selection.CurFace, 9);

    for (int i = 0; i < 3; ++i)
        model.Meshes.Add(TModel::NewMesh());
    selection.SelectedId = 2;
    selection.Decode(model);
    EXPECT_EQ(selection.CurMesh, 2);
    EXPECT_EQ(selection.CurFace, 0);
    // A negative id is below the last index, so it is taken as it is.
    selection.CurFace = 5;
    selection.SelectedId = -1;
    selection.Decode(model);
    EXPECT_EQ(selection.CurMesh, -1);
    EXPECT_EQ(selection.CurFace, 0);
}

TEST(Selection, FaceModeUnpacksBothHalvesWhateverTheModel)
{
    TModel model;
    TSelection selection;
    selection.SelectMode = 1;
    static_assert(PackSelection(3, 0) == 3);
    static_assert(PackSelection(0, 1) == 65536);
    selection.SelectedId = PackSelection(65535, 300);
    selection.Decode(model);
    EXPECT_EQ(selection.CurMesh, 65535);
    EXPECT_EQ(selection.CurFace, 300);
    // Division truncates toward zero; the remainder has the id's sign.
    selection.SelectedId = -1;
    selection.Decode(model);
    EXPECT_EQ(selection.CurMesh, -1);
    EXPECT_EQ(selection.CurFace, 0);
    selection.SelectedId = PackSelection(-1, -1);
    selection.Decode(model);
    EXPECT_EQ(selection.CurMesh, -1);
    EXPECT_EQ(selection.CurFace, -1);
}

TEST(ModelLists, ClearEmptiesEveryListAndNumberingStartsAgain)
{
    TModel model;
    model.Clear();
    EXPECT_EQ(model.Meshes.Count(), 0);
    EXPECT_EQ(model.Textures.Count(), 0);
    EXPECT_EQ(model.Palettes.Count(), 0);
    model.Meshes.Add(TModel::NewMesh());
    model.Textures.Add(TTexture{});
    model.Clear();
    EXPECT_EQ(model.Meshes.Count(), 0);
    EXPECT_EQ(model.Textures.Count(), 0);
    EXPECT_EQ(model.Meshes.Add(TModel::NewMesh()), 0);
}

TEST(ModelLists, TriangleOrQuadByTheFourthIndex)
{
    TOFace face = TOMesh::NewFace();
    face.VertIdx = TFace{{4, 5, 6, -1}};
    EXPECT_EQ(face.CornerCount(), 3);
    // 0 is a real vertex index: a quad whose fourth corner is vertex 0.
    face.VertIdx.Index[3] = 0;
    EXPECT_EQ(face.CornerCount(), 4);
}

// A vertex with a coordinate that is no number or infinite has no place: the
// model's size is that of the others (one infinity made every glow lie within
// a share of it, its own twin included), and no vertex at all is size 0.
TEST(ModelBox, VerticesWithoutAPlaceAreLeftOut)
{
    TModel model;
    TOMesh& mesh = model.Meshes.Get(model.Meshes.Add(TModel::NewMesh()));
    for (const TVertex& v : {TVertex{-10, 0, 2}, TVertex{INFINITY, 0, 0}, TVertex{10, 5, NAN}, TVertex{6, -4, 1},
                             TVertex{0, -INFINITY, 0}})
        mesh.Vertices.Add(v);
    EXPECT_EQ(ModelSize(model), 16.0);
    const TModelBox box = ModelBox(model);
    EXPECT_EQ(box.Low.Y, -4.0f);
    EXPECT_EQ(box.High.Z, 2.0f);

    mesh.Vertices.Clear();
    mesh.Vertices.Add({NAN, 1, 1});
    EXPECT_TRUE(ModelBox(model).Empty());
    EXPECT_EQ(ModelSize(model), 0.0);
}

// One side of a ship selected, the other written: each glow's image goes
// onto the nearest glow NOT selected (a selected glow lies nearer S1's and
// S2's images than their twins do), a twin is taken once, only sign bits
// differ (a main vector's 0 becomes -0, which 0 - x would not give), and
// each twin keeps its own place in the file.
TEST(MirrorOntoTwins, EachGlowOntoItsOwnTwinAmongTheGlowsNotSelected)
{
    TModel model;
    TOMesh& side = model.Meshes.Get(model.Meshes.Add(TModel::NewMesh()));
    TOMesh& other = model.Meshes.Get(model.Meshes.Add(TModel::NewMesh()));
    side.Vertices.Add({-50, -50, 0});
    side.Vertices.Add({50, 50, 0});  // size 100: a twin lies within 1
    const auto glow = [&](TOMesh& mesh, TFloat3 centre, int32_t place) {
        TEngineGlow g;
        g.FilePos = place;
        g.Center = centre;
        g.MainVec = {0.0f, -8.5f, 2.125f};
        g.CoreColor = 0x80FF2010u + uint32_t(place);
        g.Density1 = {0.25f, -0.0f, 0.75f};
        mesh.Glows.Add(g);
        return TGlowIndex{int32_t(&mesh == &other), mesh.Glows.Count() - 1};
    };
    const TGlowIndex s1 = glow(side, {10, 3, 1}, 100), s2 = glow(side, {-10.25f, 3, 1}, 200),
                     s3 = glow(side, {30, 3, 5}, 300), s4 = glow(side, {10, 3, 1}, 400);
    const TGlowIndex t1 = glow(other, {-10.5f, 3, 1}, 500), t2 = glow(other, {10.6f, 3, 1}, 600);
    // A glow on the mirror plane is its own twin: the glow beside it keeps
    // its values.
    const TGlowIndex s5 = glow(side, {0.1f, 20, 1}, 700);
    glow(other, {-0.5f, 20, 1}, 800);

    const TTwinImages twins = MirrorOntoTwins(model, {s1, s2, s3, s4, s5}, TMirrorAxis::X);
    ASSERT_EQ(twins.Images.size(), 2u);
    EXPECT_EQ(twins.Images[0].At, t1);
    EXPECT_EQ(twins.Images[1].At, t2);
    EXPECT_EQ(twins.Untwinned, (std::vector<TGlowIndex>{s3, s4, s5}));
    for (const auto& [twin, from] : {std::pair{twins.Images[0], s1}, std::pair{twins.Images[1], s2}}) {
        const TEngineGlow& source = model.Meshes.Get(from.Mesh).Glows.Get(from.Glow);
        EXPECT_EQ(twin.Values.FilePos, model.Meshes.Get(twin.At.Mesh).Glows.Get(twin.At.Glow).FilePos);
        TGlowBytes expected = EncodeGlowWriteBack(source);
        const TGlowBytes written = EncodeGlowWriteBack(twin.Values);
        for (size_t sign : {size_t(glow_layout::Center + 3), size_t(glow_layout::MainVec + 3)})
            expected[sign] ^= 0x80;
        EXPECT_EQ(written, expected);
    }
    EXPECT_EQ(std::bit_cast<uint32_t>(twins.Images[0].Values.MainVec.X), 0x80000000u);
}

}  // namespace
