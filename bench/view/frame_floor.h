#pragma once
// The floor of a frame: the same frame as the view's, with every face's edges
// drawn as GL_LINES from one vertex array per mesh (an edge two faces share
// twice), same colours, viewport, camera and glows.

#include <vector>

#include "model.h"

// Every face edge of LOD 0 of each mesh of TheModel, as GL_LINES vertex pairs.
std::vector<std::vector<TVertex>> EdgeArrays();
// One floor frame of those arrays on the view's panel, waited for (glFinish).
void DrawFloorFrame(const std::vector<std::vector<TVertex>>& arrays);
// Waits until the GL has drawn what it was sent.
void Finish();
