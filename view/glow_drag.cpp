#include "glow_drag.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>

#include "face_centre.h"

float& Coordinate(TFloat3& p, int axis)
{
    return axis == 0 ? p.X : axis == 1 ? p.Y : p.Z;
}

double Coordinate(const TFloat3& p, int axis)
{
    return axis == 0 ? p.X : axis == 1 ? p.Y : p.Z;
}

float ToFloat(double value)
{
    constexpr double largest = std::numeric_limits<float>::max();
    return float(std::clamp(value, -largest, largest));
}

namespace {

TVec3 Vec(const TFloat3& p)
{
    return {p.X, p.Y, p.Z};
}

// Of points(i) for i below count, the index of the one shown nearest (x, y)
// on screen, not clipped away and seen (the first of equals); -1 when there
// is none.
template <typename Point>
int32_t NearestOnScreen(int32_t count, const Point& point, const TViewProjection& view, const TSeenDepth* seen,
                        double x, double y)
{
    int32_t nearest = -1;
    double best = std::numeric_limits<double>::infinity();
    for (int32_t i = 0; i < count; ++i) {
        const auto p = point(i);
        if (!p)
            continue;
        const TViewPoint shown = view.Project(*p);
        const double dx = shown.X - x, dy = shown.Y - y;
        const double d = dx * dx + dy * dy;
        // Only a point that would be the nearest is looked up in the depth.
        if (!shown.Clipped() && d < best && (!seen || seen->Seen(shown))) {
            best = d;
            nearest = i;
        }
    }
    return nearest;
}

}  // namespace

TGlowDrag::TGlowDrag(TGlowIndex at, const TFloat3& start, double x, double y)
    : At(at), StartCentre(start), Target(Vec(start)), PointerX(x), PointerY(y)
{
}

void TGlowDrag::MoveTo(double x, double y, const TViewProjection& view)
{
    const TVec3 moved = view.Unproject(x - PointerX, y - PointerY);
    for (int axis = 0; axis < 3; ++axis)
        Target[axis] += moved[axis];
    PointerX = x;
    PointerY = y;
}

void TGlowDrag::ToggleLock(int axis)
{
    LockAxis = LockAxis == axis ? NoAxis : axis;
}

double TGlowDrag::AlongLock(const TViewProjection& view) const
{
    TVec3 moved;
    for (int axis = 0; axis < 3; ++axis)
        moved[axis] = Target[axis] - Coordinate(StartCentre, axis);
    // The pointer's moves as the screen shows them, laid onto the axis as
    // the screen shows it: the centre stays under the pointer along the axis.
    double shownX = 0, shownY = 0;
    for (int axis = 0; axis < 3; ++axis) {
        const auto image = view.AxisImage(axis);
        shownX += image[0] * moved[axis];
        shownY += image[1] * moved[axis];
    }
    const auto along = view.AxisImage(LockAxis);
    const double length2 = along[0] * along[0] + along[1] * along[1];
    // An axis that points (nearly) at the viewer cannot be followed across
    // the screen: the centre keeps what the moves in the screen give it.
    constexpr double Steepest = 0.05;
    const double scale = view.Scale();
    if (length2 <= Steepest * Steepest * scale * scale)
        return moved[LockAxis];
    return (shownX * along[0] + shownY * along[1]) / length2;
}

TDragSpot TGlowDrag::Spot(TSnap snap, const TViewProjection& view, const TOMesh& mesh, const TSeenDepth* seen) const
{
    TDragSpot spot;
    TFloat3 onto;
    if (snap == TSnap::Vertex) {
        spot.Index = NearestOnScreen(
            mesh.Vertices.Count(),
            [&](int32_t i) {
                const TVertex& v = mesh.Vertices.Get(i);
                return std::optional<TFloat3>(TFloat3{v.X, v.Y, v.Z});
            },
            view, seen, PointerX, PointerY);
        if (spot.Index >= 0) {
            const TVertex& v = mesh.Vertices.Get(spot.Index);
            onto = {v.X, v.Y, v.Z};
        }
    } else if (snap == TSnap::FaceCentre) {
        const TFaceL& faces = mesh.Faces[0];
        // A face with a corner that names no vertex has no centre to go to.
        const auto centre = [&](int32_t i) {
            const TOFace& face = faces.Get(i);
            return FaceCornersValid(mesh, face) ? std::optional<TFloat3>(FaceBoxCentre(mesh, face)) : std::nullopt;
        };
        spot.Index = NearestOnScreen(faces.Count(), centre, view, seen, PointerX, PointerY);
        if (spot.Index >= 0)
            onto = *centre(spot.Index);
    }
    if (spot.Index >= 0)
        spot.SnappedTo = snap;

    if (LockAxis == NoAxis) {
        spot.Centre = spot.Index >= 0 ? onto
                                      : TFloat3{ToFloat(Target[0]), ToFloat(Target[1]), ToFloat(Target[2])};
        return spot;
    }
    spot.Centre = StartCentre;
    Coordinate(spot.Centre, LockAxis) =
        spot.Index >= 0 ? Coordinate(onto, LockAxis)
                        : ToFloat(Coordinate(StartCentre, LockAxis) + AlongLock(view));
    return spot;
}
