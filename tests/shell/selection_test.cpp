// Stepping the selection without windows.

#include <gtest/gtest.h>

#include "errors.h"
#include "model.h"
#include "selection.h"

namespace {

static_assert(NextIndex(0, 3) == 1 && NextIndex(2, 3) == 0 && NextIndex(0, 1) == 0);
static_assert(PrevIndex(2, 3) == 1 && PrevIndex(0, 3) == 2 && PrevIndex(0, 1) == 0);

class SelectionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (int faces : {2, 0, 1}) {
            TOMesh mesh = TModel::NewMesh();
            for (int f = 0; f < faces; ++f)
                mesh.Faces[0].Add(TOMesh::NewFace());
            Model.Meshes.Add(std::move(mesh));
        }
    }
    bool StepSelection(TSelStep step) { return Sel.Step(step, Model); }

    TModel Model;
    TSelection Sel;
};

TEST_F(SelectionTest, MeshModeWrapsBothWaysAndKeepsTheFace)
{
    Sel.CurFace = 1;
    ASSERT_TRUE(StepSelection(TSelStep::Prev));
    EXPECT_EQ(Sel.CurMesh, 2);
    EXPECT_EQ(Sel.SelectedId, 2);
    EXPECT_EQ(Sel.CurFace, 1);  // the next decode resets it
    ASSERT_TRUE(StepSelection(TSelStep::Next));
    EXPECT_EQ(Sel.CurMesh, 0);
    EXPECT_EQ(Sel.SelectedId, 0);
}

TEST_F(SelectionTest, FaceModeStaysInTheMeshAndPacks)
{
    Sel.SelectMode = 1;
    Sel.CurMesh = 2;
    ASSERT_TRUE(StepSelection(TSelStep::Next));  // one face: stays on it
    EXPECT_EQ(Sel.CurFace, 0);
    EXPECT_EQ(Sel.SelectedId, 2);
    Sel.CurMesh = 0;
    ASSERT_TRUE(StepSelection(TSelStep::Next));
    EXPECT_EQ(Sel.SelectedId, 65536);
    ASSERT_TRUE(StepSelection(TSelStep::Next));
    EXPECT_EQ(Sel.CurFace, 0);
    ASSERT_TRUE(StepSelection(TSelStep::Prev));
    EXPECT_EQ(Sel.CurFace, 1);
    EXPECT_EQ(Sel.CurMesh, 0);
    EXPECT_EQ(Sel.SelectedId, 65536);
}

TEST_F(SelectionTest, FaceModeOnAMeshWithoutFacesChangesNothing)
{
    Sel.SelectMode = 1;
    Sel.CurMesh = 1;
    Sel.SelectedId = 1;
    for (TSelStep step : {TSelStep::Next, TSelStep::Prev}) {
        EXPECT_FALSE(StepSelection(step));
        EXPECT_EQ(Sel.CurFace, 0);
        EXPECT_EQ(Sel.SelectedId, 1);
    }
}

TEST_F(SelectionTest, FaceModeOnAStaleMeshRaisesTheListError)
{
    Sel.SelectMode = 1;
    Sel.CurMesh = 3;
    EXPECT_THROW(StepSelection(TSelStep::Next), EListError);
}

}  // namespace
