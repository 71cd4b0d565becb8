#pragma once
// Frame Glow: the view centred on one glow, zoomed to it and turning about it.

#include "camera.h"
#include "model.h"

// Makes glow's centre the point camera turns and zooms about, shown in the
// middle of the view, and zooms so that its extent (as its halo shows it)
// spans about a third of it. The turns stay. False, and camera unchanged,
// when the glow's centre or main vector is no finite number: it has no place
// to show.
bool FrameGlow(TCamera& camera, const TEngineGlow& glow);
