#include <gtest/gtest.h>

#include "app_state.h"
#include "model.h"

namespace {

std::string ErrorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const EListError& e) {
        return e.what();
    }
    return "no error";
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

TEST(Selection, DecodeByMode)
{
    TheModel.Clear();
    for (int i = 0; i < 5; ++i)
        TheModel.Meshes.Add(TModel::NewMesh());
    SelectMode = 1;
    SelectedId = PackSelection(2, 7);
    DecodeSelection();
    EXPECT_EQ(CurMesh, 2);
    EXPECT_EQ(CurFace, 7);
    // The same id in mesh mode lies above the last mesh: the last mesh.
    SelectMode = 0;
    DecodeSelection();
    EXPECT_EQ(CurMesh, 4);
    EXPECT_EQ(CurFace, 7);
    SelectedId = 3;
    DecodeSelection();
    EXPECT_EQ(CurMesh, 3);
    EXPECT_EQ(CurFace, 0);
    TheModel.Clear();
}

}  // namespace
