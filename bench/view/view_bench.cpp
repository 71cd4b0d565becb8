// Time of one frame and of one pick of the view for a model of about 20,000
// faces, against the floor: the same frame with the faces' edges drawn as
// GL_LINES from one vertex array per mesh (same colours, same viewport and
// camera, same glows). BM_Frame / BM_FrameFloor is the frame's ratio.
// BM_FrameLists replays the face pass's calls recorded in one OpenGL 1.1
// display list per mesh, names included: what lists would give over the
// calls sent one by one (on Mesa's software renderer, nothing: each face
// stays a draw of its own, and the frame costs more CPU). Needs an X display and runs on whatever GL the display offers; for
// the software renderer:
//     LIBGL_ALWAYS_SOFTWARE=1 xvfb-run -a -s "-screen 0 1600x1000x24" build/bin/view_bench

#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <vector>

#include <QApplication>
#include <QTest>

#include "M_Glunit.h"
#include "M_draw.h"
#include "app_state.h"
#include "model.h"
#include "view_colors.h"
#include "view_state.h"

namespace {

constexpr int MeshCount = 4;
constexpr int Columns = 100, Rows = 33;  // quads per mesh; every other one split in two triangles

// A bumpy grid per mesh, side by side, one glow each: 4 x 4,950 faces.
void BuildModel()
{
    TheModel.Clear();
    for (int m = 0; m < MeshCount; ++m) {
        TOMesh mesh = TModel::NewMesh();
        for (int r = 0; r <= Rows; ++r)
            for (int c = 0; c <= Columns; ++c)
                mesh.Vertices.Add({float(c) - 50 + float(m % 2) * 2, float(r) - 50 + float(m / 2) * 52,
                                   float((c * 7 + r * 3) % 11) - 5});
        auto at = [](int r, int c) { return r * (Columns + 1) + c; };
        for (int r = 0; r < Rows; ++r)
            for (int c = 0; c < Columns; ++c) {
                TOFace face = TOMesh::NewFace();
                if ((r + c) % 2 == 0) {
                    face.VertIdx = {{at(r, c), at(r, c + 1), at(r + 1, c + 1), at(r + 1, c)}};
                    mesh.Faces[0].Add(face);
                } else {
                    face.VertIdx = {{at(r, c), at(r, c + 1), at(r + 1, c + 1), -1}};
                    mesh.Faces[0].Add(face);
                    face.VertIdx = {{at(r, c), at(r + 1, c + 1), at(r + 1, c), -1}};
                    mesh.Faces[0].Add(face);
                }
            }
        TEngineGlow glow = TOMesh::NewGlow();
        glow.Center = {0, float(m) * 10, 0};
        glow.MainVec = {8, 6, 3};
        mesh.Glows.Add(glow);
        TheModel.Meshes.Add(std::move(mesh));
    }
    for (TColorF& c : ViewColors)
        c = {0.8f, 0.8f, 0.8f};
}

int FaceCount()
{
    int n = 0;
    for (const TOMesh& mesh : TheModel.Meshes)
        n += mesh.Faces[0].Count();
    return n;
}

void Finish()
{
    TGLCurrent current;
    glFinish();
}

// Every face edge of LOD 0 of each mesh, as GL_LINES vertex pairs.
std::vector<std::vector<TVertex>> EdgeArrays()
{
    std::vector<std::vector<TVertex>> arrays;
    for (const TOMesh& mesh : TheModel.Meshes) {
        std::vector<TVertex>& lines = arrays.emplace_back();
        for (const TOFace& face : mesh.Faces[0])
            for (int c = 0; c < face.CornerCount(); ++c) {
                lines.push_back(mesh.Vertices.Get(face.VertIdx.Index[c]));
                lines.push_back(mesh.Vertices.Get(face.VertIdx.Index[(c + 1) % face.CornerCount()]));
            }
    }
    return arrays;
}

// One frame as DrawFrame makes it, with faces() in place of the face pass.
template <typename Faces>
void FrameWith(const Faces& faces)
{
    DrawFrameWith(PanX, PanY, RotX, RotY, RotZ, Zoom, [&faces] {
        faces();
        DrawAllGlows();
    });
}

void MeshColor(int meshIndex)
{
    const TColorF& c = ViewColors[meshIndex == CurMesh && SelectMode == 0 ? ColSelected : ColMeshLines];
    glColor3f(c.Red, c.Green, c.Blue);
}

void BM_FrameFloor(benchmark::State& state)
{
    const std::vector<std::vector<TVertex>> arrays = EdgeArrays();
    for (auto _ : state) {
        FrameWith([&arrays] {
            glEnableClientState(GL_VERTEX_ARRAY);
            for (size_t m = 0; m < arrays.size(); ++m) {
                MeshColor(int(m));
                glVertexPointer(3, GL_FLOAT, sizeof(TVertex), arrays[m].data());
                glDrawArrays(GL_LINES, 0, GLsizei(arrays[m].size()));
            }
            glDisableClientState(GL_VERTEX_ARRAY);
        });
        Finish();
    }
    state.counters["faces"] = FaceCount();
}
BENCHMARK(BM_FrameFloor)->Unit(benchmark::kMillisecond);

// The face pass's calls recorded once per mesh in a display list, replayed
// with the mesh's colour set before each.
void BM_FrameLists(benchmark::State& state)
{
    std::vector<GLuint> lists;
    {
        TGLCurrent current;
        DecodeSelection();
        for (int m = 0; m < TheModel.Meshes.Count(); ++m) {
            lists.push_back(glGenLists(1));
            glNewList(lists.back(), GL_COMPILE);
            DrawMeshFaces(m, TheModel.Meshes.Get(m), SelectMode == 1);
            glEndList();
        }
    }
    for (auto _ : state) {
        FrameWith([&lists] {
            DecodeSelection();
            for (size_t m = 0; m < lists.size(); ++m) {
                MeshColor(int(m));
                glCallList(lists[m]);
            }
        });
        Finish();
    }
    TGLCurrent current;
    for (GLuint list : lists)
        glDeleteLists(list, 1);
    state.counters["faces"] = FaceCount();
}
BENCHMARK(BM_FrameLists)->Unit(benchmark::kMillisecond);

void BM_Frame(benchmark::State& state)
{
    for (auto _ : state) {
        RenderView();
        Finish();
    }
    state.counters["faces"] = FaceCount();
}
BENCHMARK(BM_Frame)->Unit(benchmark::kMillisecond);

// The pick pass and the frame EndPick draws after it.
void BM_Pick(benchmark::State& state)
{
    for (auto _ : state) {
        Picking = true;
        StartPick(ViewWidth / 2, ViewHeight / 2);
        EndPick();
        Finish();
    }
    state.counters["faces"] = FaceCount();
}
BENCHMARK(BM_Pick)->Unit(benchmark::kMillisecond);

// The pick pass alone.
void BM_PickPass(benchmark::State& state)
{
    for (auto _ : state) {
        Picking = true;
        StartPick(ViewWidth / 2, ViewHeight / 2);
        {
            TGLCurrent current;
            glRenderMode(GL_RENDER);
            glMatrixMode(GL_PROJECTION);
            glPopMatrix();
            glMatrixMode(GL_MODELVIEW);
        }
        Picking = false;
        Finish();
    }
}
BENCHMARK(BM_PickPass)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TGLPanel panel;
    panel.resize(900, 900);
    panel.show();
    if (!QTest::qWaitForWindowExposed(&panel))
        return 1;
    BuildModel();
    SetStartValues();
    EditGlow = 0;
    GlowDisplay = [] { return TGlowDisplay{true, false, true}; };
    GLRestart();

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
