#include "test_models.h"

#include <filesystem>

#include "opt_builder.h"

using namespace optbuild;

void WriteModel(const std::string& path, const std::vector<TMeshSpec>& meshes)
{
    OptBuilder b;
    for (const TMeshSpec& shape : meshes) {
        const NodeId mesh = b.Mesh();
        b.AddChild(mesh, b.Vertices({{-30, 0, 0}, {45, 0, 0}, {0, 10, 0}, {0, 0, 5}}));
        for (int g = 0; g < shape.Glows; ++g) {
            GlowRecord glow;
            glow.CoreColor = 0xFF102030u + uint32_t(g);
            glow.Center = {float(g), 1, 2};
            b.AddChild(mesh, b.Glow(glow));
        }
        if (shape.Faces > 0)
            b.AddChild(mesh, b.LodWithFaces({1000.0f}, {std::vector<FaceRecord>(size_t(shape.Faces), Tri(0, 1, 2))}));
        b.AddTopLevel(mesh);
    }
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    WriteFileBytes(path, b.Build());
}
