#pragma once
// Frame Glow: the view centred on one glow and zoomed to it.

#include "camera.h"
#include "model.h"

// Shifts and zooms camera so that glow's centre is in the middle of the view
// and its extent (as its halo shows it) spans about a third of it. The turns
// stay.
void FrameGlow(TCamera& camera, const TEngineGlow& glow);
