#include "grid_craft.h"

#include "opt_builder.h"

namespace optbuild {

std::vector<uint8_t> GridCraft()
{
    constexpr int MeshCount = 4, Columns = 100, Rows = 33;
    OptBuilder b;
    for (int m = 0; m < MeshCount; ++m) {
        std::vector<TVertex> vertices;
        for (int r = 0; r <= Rows; ++r)
            for (int c = 0; c <= Columns; ++c)
                vertices.push_back({float(c) - 50 + float(m % 2) * 2, float(r) - 50 + float(m / 2) * 52,
                                    float((c * 7 + r * 3) % 11) - 5});
        const auto at = [](int r, int c) { return r * (Columns + 1) + c; };
        std::vector<FaceRecord> faces;
        for (int r = 0; r < Rows; ++r)
            for (int c = 0; c < Columns; ++c)
                if ((r + c) % 2 == 0) {
                    faces.push_back(Quad(at(r, c), at(r, c + 1), at(r + 1, c + 1), at(r + 1, c)));
                } else {
                    faces.push_back(Tri(at(r, c), at(r, c + 1), at(r + 1, c + 1)));
                    faces.push_back(Tri(at(r, c), at(r + 1, c + 1), at(r + 1, c)));
                }
        GlowRecord glow;
        glow.Center = {0, float(m) * 10, 0};
        glow.MainVec = {8, 6, 3};
        const NodeId mesh = b.Mesh();
        b.AddChild(mesh, b.Vertices(vertices));
        b.AddChild(mesh, b.LodWithFaces({1000.0f}, {faces}));
        b.AddChild(mesh, b.Glow(glow));
        b.AddTopLevel(mesh);
    }
    return b.Build();
}

}  // namespace optbuild
