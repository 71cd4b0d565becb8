#include "view_projection.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Cosine and sine of whole degrees; exact at the quarter turns, so a turn of
// 90 degrees moves a dragged point along no axis it should keep.
std::array<double, 2> CosSin(int32_t degrees)
{
    const int32_t d = ((degrees % 360) + 360) % 360;
    switch (d) {
    case 0:
        return {1, 0};
    case 90:
        return {0, 1};
    case 180:
        return {-1, 0};
    case 270:
        return {0, -1};
    default: {
        const double r = d * std::numbers::pi / 180;
        return {std::cos(r), std::sin(r)};
    }
    }
}

using TMatrix = std::array<std::array<double, 3>, 3>;

TMatrix Times(const TMatrix& a, const TMatrix& b)
{
    TMatrix m{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            for (int k = 0; k < 3; ++k)
                m[i][j] += a[i][k] * b[k][j];
    return m;
}

}  // namespace

TGLMatrix operator*(const TGLMatrix& a, const TGLMatrix& b)
{
    TGLMatrix m{};
    for (size_t column = 0; column < 4; ++column)
        for (size_t row = 0; row < 4; ++row)
            for (size_t k = 0; k < 4; ++k)
                m[column * 4 + row] += a[k * 4 + row] * b[column * 4 + k];
    return m;
}

TViewVolume ViewVolume(int32_t viewMin, int32_t viewMax)
{
    double low = viewMin, high = viewMax;
    // A model within half a unit of one integer gives bounds that meet, which
    // an orthographic volume cannot take (nothing would be drawn). Half a
    // unit either side is the least that makes a volume, and it holds such a
    // model whole.
    if (low == high) {
        low -= 0.5;
        high += 0.5;
    }
    // Depth: 100 times the bound farthest from zero, on both sides, so that a
    // model lying all on one side of zero is not clipped in any rotation.
    return {low, high, 100 * std::max(std::fabs(low), std::fabs(high))};
}

TViewProjection::TViewProjection(const TCamera& camera, int32_t width, int32_t height)
    : PanX(camera.PanX), PanY(camera.PanY), Pivot(camera.Pivot), VolumeBox(ViewVolume(camera.ViewMin, camera.ViewMax)),
      ViewportWidth(width), ViewportHeight(height),
      // The frame has always scaled by the zoom as a float.
      Zoom(float(camera.Zoom))
{
    const auto [cx, sx] = CosSin(camera.RotX);
    const auto [cy, sy] = CosSin(camera.RotY);
    const auto [cz, sz] = CosSin(camera.RotZ);
    const TMatrix rx = {{{1, 0, 0}, {0, cx, -sx}, {0, sx, cx}}};
    const TMatrix ry = {{{cy, 0, sy}, {0, 1, 0}, {-sy, 0, cy}}};
    const TMatrix rz = {{{cz, -sz, 0}, {sz, cz, 0}, {0, 0, 1}}};
    // The frame turns about x, then y, then z, and scales last: a vertex is
    // scaled first.
    const TMatrix turn = Times(Times(rx, ry), rz);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j)
            Model[i][j] = turn[i][j] * Zoom;
    const double span = VolumeBox.High - VolumeBox.Low;
    PixelsX = width / span;
    PixelsY = height / span;
}

TVec3 TViewProjection::Turned(const TVec3& p) const
{
    TVec3 eye{};
    for (int i = 0; i < 3; ++i)
        eye[i] = Model[i][0] * p[0] + Model[i][1] * p[1] + Model[i][2] * p[2];
    return eye;
}

TVec3 TViewProjection::Eye(const TVec3& p) const
{
    TVec3 eye = Turned({p[0] - Pivot[0], p[1] - Pivot[1], p[2] - Pivot[2]});
    eye[0] += PanX;
    eye[1] += PanY;
    return eye;
}

TViewPoint TViewProjection::Project(const TVec3& p) const
{
    const TVec3 eye = Eye(p);
    // Window y counts down from the top, as the mouse's does.
    return {(eye[0] - VolumeBox.Low) * PixelsX, (VolumeBox.High - eye[1]) * PixelsY, eye[2] / VolumeBox.Depth};
}

TViewPoint TViewProjection::Project(const TFloat3& p) const
{
    return Project(TVec3{p.X, p.Y, p.Z});
}

TVec3 TViewProjection::Unproject(double dx, double dy) const
{
    if (Zoom == 0 || PixelsX == 0 || PixelsY == 0)
        return {0, 0, 0};
    const double eye[2] = {dx / PixelsX, -dy / PixelsY};
    // The turn is orthonormal: its inverse is its transpose, and the zoom
    // divides out.
    TVec3 model{};
    for (int j = 0; j < 3; ++j)
        model[j] = (Model[0][j] * eye[0] + Model[1][j] * eye[1]) / (Zoom * Zoom);
    return model;
}

TVec3 TViewProjection::Direction(const TVec3& eye) const
{
    if (Zoom == 0)
        return {0, 0, 0};
    // The turn's inverse is its transpose; a negative zoom mirrors.
    TVec3 model{};
    for (int j = 0; j < 3; ++j)
        model[j] = (Model[0][j] * eye[0] + Model[1][j] * eye[1] + Model[2][j] * eye[2]) / Zoom;
    return model;
}

std::array<double, 2> TViewProjection::AxisImage(int axis) const
{
    return {Model[0][axis] * PixelsX, -Model[1][axis] * PixelsY};
}

double TViewProjection::Scale() const
{
    return std::fabs(Zoom) * std::max(PixelsX, PixelsY);
}

TGLMatrix TViewProjection::ModelView() const
{
    TGLMatrix m{};
    for (size_t column = 0; column < 3; ++column)
        for (size_t row = 0; row < 3; ++row)
            m[column * 4 + row] = Model[row][column];
    // The pivot lands on the shift, at depth 0.
    const TVec3 pivot = Turned(Pivot);
    m[12] = PanX - pivot[0];
    m[13] = PanY - pivot[1];
    m[14] = 0 - pivot[2];  // +0 at rest, as the frame has always had it
    m[15] = 1;
    return m;
}

TGLMatrix TViewProjection::Projection(bool mirrored) const
{
    const TViewVolume& v = VolumeBox;
    const double bottom = mirrored ? v.High : v.Low;
    const double top = mirrored ? v.Low : v.High;
    // Near is the plane at +Depth: the viewer looks along +z.
    const double nearPlane = v.Depth, farPlane = -v.Depth;
    TGLMatrix m{};
    m[0] = 2 / (v.High - v.Low);
    m[5] = 2 / (top - bottom);
    m[10] = -2 / (farPlane - nearPlane);
    m[12] = -(v.High + v.Low) / (v.High - v.Low);
    m[13] = -(top + bottom) / (top - bottom);
    m[14] = -(farPlane + nearPlane) / (farPlane - nearPlane);
    m[15] = 1;
    return m;
}

TGLMatrix TViewProjection::PickProjection(double x, double y, double side) const
{
    // Scales the square up to the whole viewport and moves it to its middle.
    TGLMatrix pick{};
    pick[0] = ViewportWidth / side;
    pick[5] = ViewportHeight / side;
    pick[10] = 1;
    pick[12] = (ViewportWidth - 2 * x) / side;
    pick[13] = (ViewportHeight - 2 * y) / side;
    pick[15] = 1;
    return pick * Projection(true);
}
