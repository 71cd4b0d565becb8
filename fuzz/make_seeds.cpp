// Writes the reader target's seed corpus into FOLDER/read_opt: small OPT files
// made with OptBuilder that reach every kind of node, a few damaged ones among
// them. The seeds of the text targets are kept as files in seeds/.

#include <climits>
#include <cstdio>
#include <filesystem>
#include <string>

#include "opt_builder.h"

using namespace optbuild;

namespace {

// A mesh with vertices, a glow, a group and an LOD node with two LODs.
OptBuilder Sample()
{
    OptBuilder b;
    const NodeId tex = b.TextureNode();
    const NodeId mesh = b.Mesh();
    const NodeId group = b.GroupNode();
    GlowRecord glow;
    glow.CoreColor = 0xFF8040C0;
    glow.Center = {1, 2, 3};
    b.AddChild(mesh, b.Vertices({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {1, 1, 0}}));
    b.AddChild(mesh, b.Glow(glow));
    b.AddChild(group, b.Vertices({{0, 0, 1}}));
    b.AddChild(group, b.Glow(glow));
    b.AddEmptyChild(group);
    b.AddChild(mesh, group);
    b.AddChild(mesh, b.LodWithFaces({10, 20}, {{Quad(0, 1, 3, 2), Tri(0, 1, 4)}, {Tri(0, 1, 2)}}));
    b.AddTopLevel(tex);
    b.AddTopLevel(mesh);
    return b;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_seeds FOLDER\n");
        return 2;
    }
    const std::string dir = std::string(argv[1]) + "/read_opt/";
    std::filesystem::create_directories(dir);
    const auto save = [&](const char* name, OptBuilder& b, int32_t g) { WriteFileBytes(dir + name, b.Build(g)); };

    OptBuilder sample = Sample();
    save("sample-g8.opt", sample, 8);
    save("sample-g1000.opt", sample, 1000);
    save("sample-gwrap.opt", sample, INT32_MIN + 12);

    OptBuilder reversed = Sample();
    reversed.SetLayoutOrder({11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0});
    save("sample-reversed.opt", reversed, -64);

    OptBuilder lods;
    const NodeId mesh = lods.Mesh(3);
    const NodeId lod = lods.LodWithFaces({1, 2, 3, 4, 5}, {{Tri(0, 0, 0)}, {}, {Tri(2, 2, 2)}, {Tri(3, 3, 3)}});
    lods.AddEmptyChild(lod);
    lods.AddChild(mesh, lod);
    lods.AddChild(mesh, lods.Node(99));
    lods.AddTopLevel(mesh);
    lods.AddTopLevel(lods.TextureNode());
    save("five-lods.opt", lods, 8);

    OptBuilder damaged = Sample();
    damaged.SetDataCount(3, 0x7fffffff);  // the mesh's vertices
    damaged.SetChildCount(7, 0x7fffffff);  // the LOD node
    save("damaged-counts.opt", damaged, 8);

    OptBuilder repeated;
    const NodeId rmesh = repeated.Mesh();
    const NodeId rverts = repeated.Vertices({{1, 2, 3}});
    for (int i = 0; i < 60; ++i)
        repeated.AddChild(rmesh, rverts);
    for (int i = 0; i < 80; ++i)
        repeated.AddTopLevel(rmesh);
    save("repeated-nodes.opt", repeated, 8);
    return 0;
}
