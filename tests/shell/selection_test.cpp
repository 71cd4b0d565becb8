// Stepping the selection without windows.

#include <gtest/gtest.h>

#include "app_state.h"
#include "model.h"
#include "selection.h"

namespace {

static_assert(NextIndex(0, 3) == 1 && NextIndex(2, 3) == 0 && NextIndex(0, 1) == 0);
static_assert(PrevIndex(2, 3) == 1 && PrevIndex(0, 3) == 2 && PrevIndex(0, 1) == 0);

class SelectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TheModel.Clear();
        for (int faces : {2, 0, 1}) {
            TOMesh mesh = TModel::NewMesh();
            for (int f = 0; f < faces; ++f)
                mesh.Faces[0].Add(TOMesh::NewFace());
            TheModel.Meshes.Add(std::move(mesh));
        }
        SelectMode = 0;
        CurMesh = CurFace = SelectedId = 0;
    }
    void TearDown() override
    {
        TheModel.Clear();
        SelectMode = CurMesh = CurFace = SelectedId = 0;
    }
};

TEST_F(SelectionTest, MeshModeWrapsBothWaysAndKeepsTheFace)
{
    CurFace = 1;
    ASSERT_TRUE(StepSelection(TSelStep::Prev));
    EXPECT_EQ(CurMesh, 2);
    EXPECT_EQ(SelectedId, 2);
    EXPECT_EQ(CurFace, 1);  // the next decode resets it
    ASSERT_TRUE(StepSelection(TSelStep::Next));
    EXPECT_EQ(CurMesh, 0);
    EXPECT_EQ(SelectedId, 0);
}

TEST_F(SelectionTest, FaceModeStaysInTheMeshAndPacks)
{
    SelectMode = 1;
    CurMesh = 2;
    ASSERT_TRUE(StepSelection(TSelStep::Next));  // one face: stays on it
    EXPECT_EQ(CurFace, 0);
    EXPECT_EQ(SelectedId, 2);
    CurMesh = 0;
    ASSERT_TRUE(StepSelection(TSelStep::Next));
    EXPECT_EQ(SelectedId, 65536);
    ASSERT_TRUE(StepSelection(TSelStep::Next));
    EXPECT_EQ(CurFace, 0);
    ASSERT_TRUE(StepSelection(TSelStep::Prev));
    EXPECT_EQ(CurFace, 1);
    EXPECT_EQ(CurMesh, 0);
    EXPECT_EQ(SelectedId, 65536);
}

TEST_F(SelectionTest, FaceModeOnAMeshWithoutFacesChangesNothing)
{
    SelectMode = 1;
    CurMesh = 1;
    SelectedId = 1;
    for (TSelStep step : {TSelStep::Next, TSelStep::Prev}) {
        EXPECT_FALSE(StepSelection(step));
        EXPECT_EQ(CurFace, 0);
        EXPECT_EQ(SelectedId, 1);
    }
}

TEST_F(SelectionTest, FaceModeOnAStaleMeshRaisesTheListError)
{
    SelectMode = 1;
    CurMesh = 3;
    EXPECT_THROW(StepSelection(TSelStep::Next), EListError);
}

}  // namespace
