#include "mesh_faces.h"

#include <algorithm>
#include <cmath>

namespace {

TVec3 Minus(const TVertex& x, const TVertex& y)
{
    return {double(x.X) - y.X, double(x.Y) - y.Y, double(x.Z) - y.Z};
}

// A triangle's normal from two edges, a quad's from its diagonals; not of
// unit length.
TVec3 Normal(const TVertex* c, bool triangle)
{
    const TVec3 a = triangle ? Minus(c[1], c[0]) : Minus(c[2], c[0]);
    const TVec3 b = triangle ? Minus(c[2], c[0]) : Minus(c[3], c[1]);
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

}  // namespace

TMeshFaces BuildMeshFaces(const TOMesh& mesh)
{
    TMeshFaces faces;
    faces.VertexCount = mesh.Vertices.Count();
    faces.FaceCount = mesh.Faces[0].Count();
    faces.Corners.reserve(size_t(faces.FaceCount) * 6);
    faces.Faces.reserve(size_t(faces.FaceCount));
    for (const TOFace& face : mesh.Faces[0]) {
        TVertex c[4];
        for (int k = 0; k < face.CornerCount(); ++k) {
            const int32_t index = face.VertIdx.Index[k];
            if (index < 0 || index >= faces.VertexCount) {
                // The frame stops here; it is never shown, so nothing is kept.
                faces.BadVertex = index;
                faces.Corners.clear();
                faces.Faces.clear();
                return faces;
            }
            c[k] = mesh.Vertices.Get(index);
        }
        faces.Corners.insert(faces.Corners.end(), {c[0], c[1], c[2]});
        if (!face.IsTriangle())
            faces.Corners.insert(faces.Corners.end(), {c[0], c[2], c[3]});
        faces.Faces.push_back({Normal(c, face.IsTriangle()), face.IsTriangle() ? 3 : 6});
    }
    return faces;
}

void LitCorners(const TMeshFaces& faces, float grey, const TViewProjection& view, std::vector<TColor3>& colors)
{
    colors.resize(faces.Corners.size());
    TColor3* at = colors.data();
    for (const TMeshFaces::TFace& face : faces.Faces) {
        const float light = grey * FaceLight(face.Normal, view);
        at = std::fill_n(at, face.Corners, TColor3{light, light, light});
    }
}

float FaceLight(const TVec3& normal, const TViewProjection& view)
{
    // The zoom scales the normal alike on every axis: the length divides it out.
    const TVec3 e = view.Turned(normal);
    const double length = std::sqrt(e[0] * e[0] + e[1] * e[1] + e[2] * e[2]);
    constexpr double Light[3] = {-0.36, 0.48, -0.8};  // unit, towards the light
    const double facing = length > 0 ? std::fabs(e[0] * Light[0] + e[1] * Light[1] + e[2] * Light[2]) / length : 0;
    constexpr double Ambient = 0.3, Diffuse = 0.7;
    return float(Ambient + Diffuse * facing);
}
