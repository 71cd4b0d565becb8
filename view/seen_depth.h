#pragma once
// What a picture of the meshes hides: the depth nearest the viewer at each of
// its pixels, as its depth buffer kept it. A snap takes only what is seen.

#include <vector>

#include "view_projection.h"

// The points a picture lets be seen: nearer than two pixels' worth of depth
// behind what it shows at their pixel. So a point on a face, an edge or a
// corner that is seen counts, and one hidden behind a face does not.
inline constexpr double SeenSlackPixels = 2.0;

class TSeenDepth {
public:
    // depth: the window depth (0 nearest the viewer, 1 farthest) of each
    // pixel of view's viewport, rows up from the bottom, as OpenGL reads
    // them; bits: the depth buffer's precision.
    TSeenDepth(const TViewProjection& view, std::vector<float> depth, int bits);
    // Whether a point that the view the depth was read through shows at
    // `shown` lies inside the picture and is seen there.
    bool Seen(const TViewPoint& shown) const;

private:
    int Width = 0, Height = 0;
    std::vector<float> Depth;
    double Slack = 0;  // in window depth
};
