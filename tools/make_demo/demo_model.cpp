#include "demo_model.h"

#include "opt_builder.h"

namespace demo {

namespace {

using optbuild::FaceRecord;
using optbuild::GlowRecord;
using optbuild::OptBuilder;
using optbuild::Quad;
using optbuild::Tri;
using optbuild::NodeId;

// Axes: x to the right, y forward (the nose points at +y), z up. A glow's main
// vector gives the size of its flame: width (x), length backwards (y, so
// negative here) and height (z).

// Densities fall off from the first vector to the third.

// A wedge-nosed fuselage with a tail fin; its geometry sits in a group node,
// as in many real models, and its main engine glows at the back.
NodeId Fuselage(OptBuilder& b)
{
    const std::vector<TVertex> v = {
        {0, 40, 0},                                                     // 0 nose
        {-9, 5, -6}, {9, 5, -6}, {9, 5, 6}, {-9, 5, 6},                 // 1..4 widest ring
        {-7, -30, -5}, {7, -30, -5}, {7, -30, 5}, {-7, -30, 5},         // 5..8 tail ring
        {0, -18, 5}, {0, -30, 15}, {0, -30, 5},                         // 9..11 fin
    };
    const std::vector<FaceRecord> lod0 = {
        Tri(0, 1, 2), Tri(0, 2, 3), Tri(0, 3, 4), Tri(0, 4, 1),
        Quad(1, 2, 6, 5), Quad(2, 3, 7, 6), Quad(3, 4, 8, 7), Quad(4, 1, 5, 8),
        Quad(5, 6, 7, 8), Tri(9, 10, 11),
    };
    const std::vector<FaceRecord> lod1 = {Tri(0, 1, 3), Tri(0, 3, 4), Quad(1, 3, 7, 5), Quad(5, 6, 7, 8)};
    const std::vector<FaceRecord> lod2 = {Tri(0, 5, 7)};

    const auto mesh = b.Mesh();
    const auto group = b.GroupNode();
    b.AddChild(group, b.Vertices(v));
    b.AddChild(group, b.LodWithFaces({0.0f, 300.0f, 1200.0f}, {lod0, lod1, lod2}));
    b.AddChild(mesh, group);
    b.AddChild(mesh, b.Glow(GlowRecord{{.OuterColor = 0xC03070FF,
                                        .CoreColor = 0xFFE8F4FF,
                                        .Center = {0, -31, 0},
                                        .MainVec = {12, -16, 5},
                                        .Density0 = {0.8f, 0.8f, 1.0f},
                                        .Density1 = {0.5f, 0.5f, 0.7f},
                                        .Density2 = {0.2f, 0.2f, 0.4f}}}));
    return mesh;
}

// An engine pod beside the fuselage: a box with a pointed front.
NodeId Pod(OptBuilder& b, float cx, uint32_t outer)
{
    const std::vector<TVertex> v = {
        {cx - 4, -34, -4}, {cx + 4, -34, -4}, {cx + 4, -34, 4}, {cx - 4, -34, 4},  // 0..3 back
        {cx - 4, 4, -4},   {cx + 4, 4, -4},   {cx + 4, 4, 4},   {cx - 4, 4, 4},    // 4..7 front
        {cx, 12, 0},                                                               // 8 tip
    };
    const std::vector<FaceRecord> lod0 = {
        Quad(0, 1, 5, 4), Quad(1, 2, 6, 5), Quad(2, 3, 7, 6), Quad(3, 0, 4, 7), Quad(0, 1, 2, 3),
        Tri(4, 5, 8),     Tri(5, 6, 8),     Tri(6, 7, 8),     Tri(7, 4, 8),
    };
    const std::vector<FaceRecord> lod1 = {Quad(0, 1, 6, 7), Quad(2, 3, 4, 5), Tri(4, 6, 8)};

    const auto mesh = b.Mesh();
    b.AddChild(mesh, b.Vertices(v));
    b.AddChild(mesh, b.LodWithFaces({0.0f, 500.0f}, {lod0, lod1}));
    b.AddChild(mesh, b.Glow(GlowRecord{{.OuterColor = outer,
                                        .CoreColor = 0xFFFFF2C8,
                                        .Center = {cx, -35, 0},
                                        .MainVec = {7, -10, 3},
                                        .Density0 = {0.6f, 0.6f, 1.0f},
                                        .Density1 = {0.35f, 0.35f, 0.6f},
                                        .Density2 = {0.15f, 0.15f, 0.3f}}}));
    return mesh;
}

}  // namespace

std::vector<uint8_t> BuildDemoOpt()
{
    OptBuilder b;
    // A texture node first, as real models have them; it does not become a mesh.
    b.AddTopLevel(b.TextureNode());
    b.AddTopLevel(Fuselage(b));
    b.AddTopLevel(Pod(b, -25, 0xB0FF7A20));
    b.AddTopLevel(Pod(b, 25, 0xB0FF5A10));
    // A base other than 8, so stored offsets differ from file positions.
    return b.Build(264);
}

}  // namespace demo
