#include "M_drawlists.h"

#include <GL/gl.h>

#include <QOpenGLContext>
#include <bit>
#include <string>
#include <unordered_map>
#include <vector>

#include "M_draw.h"
#include "errors.h"
#include "model.h"

namespace {

struct TFaceList {
    GLuint Id = 0;
    uint64_t Print = 0;  // Fingerprint of the mesh when recorded
    bool Recorded = false;
    bool Failed = false;  // recording met a list error, whose text is Error
    std::string Error;
};

// Per mesh index: [0] with the mesh's name on every face, [1] with face names.
struct TContextLists {
    std::vector<TFaceList> ByNames[2];
};

// Lists belong to the context they were made in, and die with it.
std::unordered_map<const QOpenGLContext*, TContextLists> Lists;

TContextLists& CurrentLists()
{
    QOpenGLContext* context = QOpenGLContext::currentContext();
    const auto [at, added] = Lists.try_emplace(context);
    if (added && context)
        QObject::connect(context, &QOpenGLContext::aboutToBeDestroyed, [context] { Lists.erase(context); });
    return at->second;
}

// What a mesh's list is made from: its faces' vertex indices and the
// coordinates of its vertices. Checked at every frame, so that a list never
// shows faces or vertices that have changed since it was recorded.
uint64_t Fingerprint(const TOMesh& mesh)
{
    uint64_t h = 14695981039346656037ull;
    const auto mix = [&h](uint32_t word) { h = (h ^ word) * 1099511628211ull; };
    mix(static_cast<uint32_t>(mesh.Faces[0].Count()));
    mix(static_cast<uint32_t>(mesh.Vertices.Count()));
    for (const TOFace& face : mesh.Faces[0])
        for (int32_t index : face.VertIdx.Index)
            mix(static_cast<uint32_t>(index));
    for (const TVertex& v : mesh.Vertices) {
        mix(std::bit_cast<uint32_t>(v.X));
        mix(std::bit_cast<uint32_t>(v.Y));
        mix(std::bit_cast<uint32_t>(v.Z));
    }
    return h;
}

void Record(TFaceList& list, int32_t meshIndex, const TOMesh& mesh, bool faceNames, uint64_t print)
{
    list.Recorded = false;
    list.Failed = false;
    list.Error.clear();
    glNewList(list.Id, GL_COMPILE);
    try {
        DrawMeshFaces(meshIndex, mesh, faceNames);
    } catch (const EListError& e) {
        list.Failed = true;
        list.Error = e.what();
    } catch (...) {
        glEndList();
        throw;
    }
    glEndList();
    list.Print = print;
    list.Recorded = true;
}

}  // namespace

void CallMeshFaces(int32_t meshIndex, const TOMesh& mesh, bool faceNames)
{
    std::vector<TFaceList>& lists = CurrentLists().ByNames[faceNames ? 1 : 0];
    if (lists.size() <= size_t(meshIndex))
        lists.resize(size_t(meshIndex) + 1);
    TFaceList& list = lists[size_t(meshIndex)];
    if (list.Id == 0)
        list.Id = glGenLists(1);
    if (list.Id == 0) {
        // No list to be had: the calls themselves.
        DrawMeshFaces(meshIndex, mesh, faceNames);
        return;
    }
    const uint64_t print = Fingerprint(mesh);
    if (!list.Recorded || list.Print != print)
        Record(list, meshIndex, mesh, faceNames, print);
    glCallList(list.Id);
    if (list.Failed)
        throw EListError(list.Error);
}
