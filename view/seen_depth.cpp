#include "seen_depth.h"

#include <algorithm>
#include <cmath>
#include <utility>

TSeenDepth::TSeenDepth(const TViewProjection& view, std::vector<float> depth, int bits)
    : Width(view.Width()), Height(view.Height()), Depth(std::move(depth))
{
    // The eye units a pixel spans across the screen, in window depth (the
    // volume's depth, both sides, is the window's 0..1), and a few steps of
    // the buffer's own.
    const TViewVolume& v = view.Volume();
    const double pixel = std::fabs(v.High - v.Low) / std::max(1, std::min(Width, Height));
    Slack = SeenSlackPixels * pixel / (2 * v.Depth) + std::ldexp(4.0, -std::clamp(bits, 8, 32));
    // A read that did not fill the viewport shows nothing.
    if (Width <= 0 || Height <= 0 || Depth.size() != size_t(Width) * size_t(Height)) {
        Width = Height = 0;
        Depth.clear();
    }
}

bool TSeenDepth::Seen(const TViewPoint& shown) const
{
    if (!(shown.X >= 0 && shown.X < Width && shown.Y >= 0 && shown.Y < Height))
        return false;
    const int column = int(shown.X), row = Height - 1 - int(shown.Y);
    const double depth = (shown.Depth + 1) / 2;
    return depth <= Depth[size_t(row) * size_t(Width) + size_t(column)] + Slack;
}
