// The glows of a frame: each glow's point, lines and cones, and under Glow
// Colors its halo in its own colours.

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>
#include <vector>

#include "gl_state.h"
#include "glow_pick.h"
#include "glow_handles.h"
#include "scene_drawing.h"

namespace {

void Vertex(const TFloat3& p)
{
    glVertex3f(p.X, p.Y, p.Z);
}

TFloat3 Offset(const TFloat3& p, float dx, float dy, float dz)
{
    return {p.X + dx, p.Y + dy, p.Z + dz};
}

void Triangle(const TFloat3& first, const TFloat3& second, const TFloat3& third)
{
    TPrimitive primitive(GL_TRIANGLES);
    Vertex(first);
    Vertex(second);
    Vertex(third);
}

// RGBA of a glow's colour word (0xAARRGGBB), premultiplied by its alpha:
// blended so, a colour of alpha 0 adds nothing anywhere, also where it is
// shaded into the other colour.
std::array<float, 4> Premultiplied(uint32_t word)
{
    const float alpha = float(word >> 24) / 255;
    const auto channel = [&](int shift) { return float((word >> shift) & 0xFF) / 255 * alpha; };
    return {channel(16), channel(8), channel(0), alpha};
}

// Blending of premultiplied colours over the picture, for its lifetime.
class TBlend {
public:
    TBlend()
    {
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
        glPolygonMode(GL_FRONT_AND_BACK, GL_FILL);
    }
    ~TBlend()
    {
        glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
        glDisable(GL_BLEND);
    }
    TBlend(const TBlend&) = delete;
    TBlend& operator=(const TBlend&) = delete;
};

// The model-view matrix set to identity for its lifetime: drawing in eye
// coordinates.
class TEyeCoordinates {
public:
    TEyeCoordinates()
    {
        glPushMatrix();
        glLoadIdentity();
    }
    ~TEyeCoordinates() { glPopMatrix(); }
    TEyeCoordinates(const TEyeCoordinates&) = delete;
    TEyeCoordinates& operator=(const TEyeCoordinates&) = delete;
};

// The glow as a halo in its own colours, flat towards the viewer: the core
// colour at the centre shaded into the outer colour at the rim. The rim is
// the outline, as seen, of the half ellipsoid that the schematic's lines
// span (x: +-V.x/4, y: from the centre to V.y/2, z: +-V.z), never nearer the
// centre than a few pixels.
void DrawHalo(const TEngineGlow& glow, const TViewProjection& view)
{
    const TFloat3& p = glow.Center;
    const TFloat3& v = glow.MainVec;
    const TVec3 centre = view.Eye({p.X, p.Y, p.Z});
    // The half axes as seen: x, y (the half the glow points to), z.
    const auto seen = [&](int axis, double length) {
        TVec3 unit{};
        unit[size_t(axis)] = length;
        const TVec3 e = view.Turned(unit);
        return std::array<double, 2>{e[0], e[1]};
    };
    const std::array<double, 2> axes[3] = {seen(0, v.X / 4.0), seen(1, v.Y / 2.0), seen(2, v.Z)};
    const TViewVolume& volume = view.Volume();
    constexpr double MinPixels = 4;
    const double least = MinPixels * (volume.High - volume.Low) / std::max(view.Width(), 1);

    const auto core = Premultiplied(glow.CoreColor);
    const auto outer = Premultiplied(glow.OuterColor);
    TEyeCoordinates eye;
    TBlend blend;
    TPrimitive fan(GL_TRIANGLE_FAN);
    glColor4f(core[0], core[1], core[2], core[3]);
    glVertex3d(centre[0], centre[1], centre[2]);
    glColor4f(outer[0], outer[1], outer[2], outer[3]);
    constexpr int Steps = 64;
    for (int k = 0; k <= Steps; ++k) {
        // The outline's point farthest along the direction n: on the
        // ellipsoid where it faces the glow's half, else on its rim.
        const double angle = 2 * std::numbers::pi * (k % Steps) / Steps;
        const double n[2] = {std::cos(angle), std::sin(angle)};
        double along[3];
        for (int i = 0; i < 3; ++i)
            along[i] = axes[i][0] * n[0] + axes[i][1] * n[1];
        if (along[1] < 0)
            along[1] = 0;
        const double length = std::sqrt(along[0] * along[0] + along[1] * along[1] + along[2] * along[2]);
        double x = 0, y = 0;
        if (length > 0)
            for (int i = 0; i < 3; ++i) {
                x += axes[i][0] * along[i] / length;
                y += axes[i][1] * along[i] / length;
            }
        if (x * n[0] + y * n[1] < least) {
            x = least * n[0];
            y = least * n[1];
        }
        glVertex3d(centre[0] + x, centre[1] + y, centre[2]);
    }
}

// The selected glows, the glow being edited first; none for a selection
// that names no mesh.
std::vector<TGlowIndex> MarkedGlows(const TScene& scene)
{
    const TSelection& s = scene.Selection;
    if (s.CurMesh < 0 || s.CurMesh >= scene.Model.Meshes.Count())
        return {};
    return s.SelectedGlows(scene.Model);
}

// The glow being edited has the largest point, the others selected with it
// the next, among all glows or alone; their twins under symmetry the
// smallest.
float PointSize(const TScene& scene, const std::vector<TGlowIndex>& marked, TGlowIndex at)
{
    if (!marked.empty() && marked.front() == at)
        return LargestGlowPoint;
    if (std::find(marked.begin(), marked.end(), at) != marked.end())
        return SelectedGlowPoint;
    return std::find(scene.Twins.begin(), scene.Twins.end(), at) != scene.Twins.end() ? TwinGlowPoint : GlowPoint;
}

// The point, lines and cones of one glow (a valid index).
void DrawGlowLines(const TScene& scene, int meshIndex, int glowIndex, float pointSize)
{
    const TEngineGlow& glow = scene.Shown({meshIndex, glowIndex});
    const TFloat3& p = glow.Center;
    const TFloat3& v = glow.MainVec;
    const float a = v.X / 4;
    glPointSize(pointSize);
    SetColor(scene.Colors, ColPoint);
    {
        TPrimitive points(GL_POINTS);
        Vertex(p);
    }
    glPointSize(GlowPoint);
    {
        TPrimitive lines(GL_LINES);
        SetColor(scene.Colors, ColXVector);
        Vertex(HandleEnd(glow, 0));
        Vertex(p);
        Vertex(p);
        Vertex(Offset(p, -a, 0, 0));
        SetColor(scene.Colors, ColYVector);
        Vertex(HandleEnd(glow, 1));
        Vertex(p);
        SetColor(scene.Colors, ColZVector);
        Vertex(HandleEnd(glow, 2));
        Vertex(p);
        Vertex(p);
        Vertex(Offset(p, 0, 0, -v.Z));
    }
    if (scene.Glows.Cones) {
        SetColor(scene.Colors, ColCone);
        const TFloat3 apex = HandleEnd(glow, 1);
        Triangle(Offset(p, 0, 0, -v.Z), apex, Offset(p, -a, 0, 0));
        Triangle(Offset(p, 0, 0, v.Z), apex, Offset(p, -a, 0, 0));
        Triangle(Offset(p, 0, 0, -v.Z), apex, Offset(p, a, 0, 0));
        Triangle(Offset(p, 0, 0, v.Z), apex, Offset(p, a, 0, 0));
        // The last two exchange the offsets: a on the z axis, V.z on the x axis.
        Triangle(Offset(p, 0, 0, -a), apex, Offset(p, -v.Z, 0, 0));
        Triangle(Offset(p, 0, 0, a), apex, Offset(p, v.Z, 0, 0));
    }
}

// The size handles of the glow being edited, flat towards the viewer: an
// outline around each line's end in that line's colour, a square for x, a
// diamond for y, a triangle for z, so that they are told apart from each
// other and from the filled points of the centres.
void DrawHandles(const TScene& scene, const TViewProjection& view)
{
    const TGlowIndex at = HandledGlow(scene);
    if (!at)
        return;
    const TEngineGlow& glow = scene.Shown(at);
    // Eye units per device pixel, across and up.
    const TViewVolume& volume = view.Volume();
    const double across = (volume.High - volume.Low) / std::max(view.Width(), 1);
    const double up = (volume.High - volume.Low) / std::max(view.Height(), 1);
    constexpr TViewColor Colors[3] = {ColXVector, ColYVector, ColZVector};
    constexpr int Corners[3] = {4, 4, 3};
    constexpr double FirstCorner[3] = {0.125, 0, 0.25};  // of a turn
    TEyeCoordinates eye;
    for (int axis = 0; axis < 3; ++axis) {
        if (!HandleShown(glow, axis, view))
            continue;
        const TFloat3 end = HandleEnd(glow, axis);
        const TVec3 centre = view.Eye({end.X, end.Y, end.Z});
        SetColor(scene.Colors, Colors[axis]);
        TPrimitive outline(GL_LINE_LOOP);
        for (int k = 0; k < Corners[axis]; ++k) {
            const double angle = 2 * std::numbers::pi * (FirstCorner[axis] + double(k) / Corners[axis]);
            glVertex3d(centre[0] + HandleRadius * across * std::cos(angle), centre[1] + HandleRadius * up * std::sin(angle),
                       centre[2]);
        }
    }
}

// Every halo under every glow's lines, not only under its own.
void DrawGlows(const TScene& scene, const TViewProjection& view, const std::vector<TGlowIndex>& glows)
{
    if (scene.Options.GlowColors)
        for (const TGlowIndex& at : glows)
            DrawHalo(scene.Shown(at), view);
    const std::vector<TGlowIndex> marked = MarkedGlows(scene);
    for (const TGlowIndex& at : glows)
        DrawGlowLines(scene, at.Mesh, at.Glow, PointSize(scene, marked, at));
}

}  // namespace

void DrawSceneGlows(const TScene& scene, const TViewProjection& view)
{
    if (!scene.Glows.Showing)
        return;
    if (!scene.Glows.SelectedOnly)
        DrawAllGlows(scene, view);
    else
        DrawGlows(scene, view, DrawnGlows(scene));
    DrawHandles(scene, view);
}

void DrawAllGlows(const TScene& scene, const TViewProjection& view)
{
    std::vector<TGlowIndex> all;
    for (int32_t m = 0; m < scene.Model.Meshes.Count(); ++m)
        for (int32_t g = 0; g < scene.Model.Meshes.Get(m).Glows.Count(); ++g)
            all.push_back({m, g});
    DrawGlows(scene, view, all);
}

void DrawGlow(const TScene& scene, const TViewProjection& view, int meshIndex, int glowIndex)
{
    if (glowIndex == -1)
        return;
    if (scene.Options.GlowColors)
        DrawHalo(scene.Shown({meshIndex, glowIndex}), view);
    DrawGlowLines(scene, meshIndex, glowIndex, PointSize(scene, MarkedGlows(scene), {meshIndex, glowIndex}));
}
