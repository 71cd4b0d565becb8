#pragma once
// Where a dragged glow's centre goes. The centre follows the pointer in the
// plane of the screen; a lock keeps it on one model axis through its stored
// place; a snap puts it on the nearest vertex, or face centre, of its mesh on
// screen. Arithmetic on the camera only: nothing is drawn or written here.

#include <cstdint>

#include "model.h"
#include "seen_depth.h"
#include "selection.h"
#include "view_projection.h"

enum class TSnap { None, Vertex, FaceCentre };

// Coordinate axis (0 x, 1 y, 2 z) of p.
float& Coordinate(TFloat3& p, int axis);
double Coordinate(const TFloat3& p, int axis);
// A coordinate as the file stores it; a drag far beyond the floats' range
// (at a zoom near zero) ends at the largest one.
float ToFloat(double value);

// Where the centre is, and what it was snapped onto: the vertex's or the
// face's index in the mesh, -1 with no snap.
struct TDragSpot {
    TFloat3 Centre;
    TSnap SnappedTo = TSnap::None;
    int32_t Index = -1;
};

class TGlowDrag {
public:
    static constexpr int NoAxis = -1;

    // A drag of the glow at `at`, whose stored centre is start, from the
    // pointer at (x, y), device pixels from the view's top-left corner.
    TGlowDrag(TGlowIndex at, const TFloat3& start, double x, double y);

    TGlowIndex Glow() const { return At; }
    const TFloat3& Start() const { return StartCentre; }
    // The pointer moved to (x, y): the centre moves by as much in the plane
    // of the screen, as view shows it now.
    void MoveTo(double x, double y, const TViewProjection& view);
    // X (0), Y (1) or Z (2) pressed: the centre keeps to that model axis
    // through its stored place, or is free again when that was the lock.
    void ToggleLock(int axis);
    int Lock() const { return LockAxis; }
    // The centre now, seen through view; with a snap, onto the vertex or the
    // face centre of mesh (the glow's) nearest the pointer on screen, of
    // those seen lets be seen (all of them without it). Under a lock only the
    // locked coordinate moves: the other two keep their stored float bits.
    TDragSpot Spot(TSnap snap, const TViewProjection& view, const TOMesh& mesh,
                   const TSeenDepth* seen = nullptr) const;

private:
    TGlowIndex At;
    TFloat3 StartCentre;
    // Where the pointer's moves have taken the centre, in model units.
    TVec3 Target;
    double PointerX, PointerY;
    int LockAxis = NoAxis;

    // How far along the locked axis the centre goes for the pointer's moves.
    double AlongLock(const TViewProjection& view) const;
};
