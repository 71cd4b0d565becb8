#include "big_ship.h"

#include <cmath>
#include <numbers>

#include "opt_builder.h"

namespace optbuild {

namespace {

constexpr double Pi = std::numbers::pi;

// A body of revolution about the line x = axisX, z = axisZ from y = y0 to
// y1: rings of `around` vertices, radius radius(t) at t from 0 to 1 along
// it, a tip vertex at each end. (rings - 1) * around quads and 2 * around
// triangles.
void Body(OptBuilder& b, NodeId mesh, double axisX, double axisZ, double y0, double y1, int rings, int around,
          double (*radius)(double t))
{
    std::vector<TVertex> vertices;
    for (int r = 0; r < rings; ++r) {
        const double t = (r + 0.5) / rings;
        for (int a = 0; a < around; ++a) {
            const double angle = 2 * Pi * a / around;
            // Bumps, so that most quads are not flat.
            const double bump = 1 + 0.03 * std::sin(7 * angle) * std::cos(11 * Pi * t);
            const double rr = radius(t) * bump;
            vertices.push_back({float(axisX + rr * std::cos(angle) * 1.2), float(y0 + (y1 - y0) * t),
                                float(axisZ + rr * std::sin(angle))});
        }
    }
    const int front = int(vertices.size()), back = front + 1;
    vertices.push_back({float(axisX), float(y0), float(axisZ)});
    vertices.push_back({float(axisX), float(y1), float(axisZ)});
    const auto at = [around](int r, int a) { return r * around + (a % around); };
    std::vector<FaceRecord> faces;
    for (int a = 0; a < around; ++a)
        faces.push_back(Tri(front, at(0, a + 1), at(0, a)));
    for (int r = 0; r + 1 < rings; ++r)
        for (int a = 0; a < around; ++a)
            faces.push_back(Quad(at(r, a), at(r, a + 1), at(r + 1, a + 1), at(r + 1, a)));
    for (int a = 0; a < around; ++a)
        faces.push_back(Tri(back, at(rings - 1, a), at(rings - 1, a + 1)));
    b.AddChild(mesh, b.Vertices(vertices));
    b.AddChild(mesh, b.LodWithFaces({1000.0f}, {faces}));
}

}  // namespace

std::vector<uint8_t> BigShip()
{
    OptBuilder b;
    const NodeId hull = b.Mesh();
    // 200 around, 199 rings: 39,600 quads and 400 triangles.
    Body(b, hull, 0, 0, -200, 200, 199, 200, [](double t) { return 40 * std::pow(std::sin(Pi * t), 0.6); });
    b.AddTopLevel(hull);
    for (int n = 0; n < 6; ++n) {
        const double angle = 2 * Pi * n / 6 + Pi / 6;
        const double x = 50 * std::cos(angle), z = 50 * std::sin(angle);
        const NodeId nacelle = b.Mesh();
        // 60 around, 99 rings: 5,880 quads and 120 triangles.
        Body(b, nacelle, x, z, -230, -70, 99, 60, [](double t) { return 12 * std::pow(std::sin(Pi * t), 0.3); });
        for (int g = 0; g < 3; ++g) {
            GlowRecord glow;
            glow.CoreColor = 0xC0FFE080;
            glow.OuterColor = 0x6040A0FF;
            const double around = 2 * Pi * g / 3;
            glow.Center = {float(x + 6 * std::cos(around)), -232, float(z + 6 * std::sin(around))};
            glow.MainVec = {16, -24, 4};
            b.AddChild(nacelle, b.Glow(glow));
        }
        b.AddTopLevel(nacelle);
    }
    return b.Build();
}

}  // namespace optbuild
