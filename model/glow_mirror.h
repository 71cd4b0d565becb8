#pragma once
// A glow's mirror image across a plane of the model through its origin, and
// the glow that lies there: the twin of an engine on a symmetric ship.

#include <functional>
#include <vector>

#include "glow_preview.h"
#include "model.h"
#include "selection.h"

// The planes x = 0, y = 0 and z = 0, named by the axis they cross.
enum class TMirrorAxis { X = 0, Y = 1, Z = 2 };

// p with its coordinate on axis of the other sign: only the sign bit
// changes (2.5 gives -2.5, 0 gives -0, a NaN stays a NaN).
TFloat3 Mirrored(const TFloat3& p, TMirrorAxis axis);

// source across the plane of axis: its centre and main vector mirrored,
// every other value (FilePos too) bit for bit.
TEngineGlow MirrorImage(const TEngineGlow& source, TMirrorAxis axis);

// How far a glow's twin may lie from its mirror image, as a share of the
// model's size: twins placed by hand are off by far less, and the glows
// beside an engine's place lie farther apart.
inline constexpr double TwinShare = 0.01;

// The largest extent of the model's box (model_box.h; 0 for none).
double ModelSize(const TModel& model);
// How far a twin may lie from the mirror image in model: TwinShare of its
// size.
double TwinReach(const TModel& model);

// The glow of model whose centre lies nearest the mirror image of the centre
// of the glow at `at` (the first of equals), the glow itself included, and
// how far it lies from there; the glows for which passOver is true are not
// looked at. No glow when no centre can be measured (a model whose centres
// are not numbers). Throws the list errors.
struct TMirrorTwin {
    TGlowIndex At;
    double Distance = 0;
};
TMirrorTwin NearestToMirrorImage(const TModel& model, TGlowIndex at, TMirrorAxis axis,
                                 const std::function<bool(TGlowIndex)>& passOver = {});

// Each glow of glows mirrored onto its own twin across axis: the glow
// nearest its mirror image within TwinReach, among the glows not in glows
// (one side of a ship selected, the other side written), a twin an earlier
// glow took passed over; a glow nearer its own image than any other lies on
// the mirror plane and has none. Images holds each twin with the mirror image of its
// glow, its own place in the file kept, in the order of glows; Untwinned the
// glows without a twin, for which nothing is written. Throws the list errors.
struct TTwinImages {
    std::vector<TGlowValues> Images;
    std::vector<TGlowIndex> Untwinned;
};
TTwinImages MirrorOntoTwins(const TModel& model, const std::vector<TGlowIndex>& glows, TMirrorAxis axis);
