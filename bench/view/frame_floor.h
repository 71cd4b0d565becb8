#pragma once
// The floor of a frame: the same frame as the view's, with every face's edges
// drawn as GL_LINES from one vertex array per mesh (an edge two faces share
// twice), same colours, viewport, camera and glows.

#include <vector>

#include "camera.h"
#include "model.h"
#include "scene.h"

class TViewPanel;

// Every face edge of LOD 0 of each mesh of model, as GL_LINES vertex pairs.
std::vector<std::vector<TVertex>> EdgeArrays(const TModel& model);
// One floor frame of those arrays on panel, for scene (its selection and
// glows) through camera, waited for (glFinish).
void DrawFloorFrame(TViewPanel& panel, const TScene& scene, const TCamera& camera,
                    const std::vector<std::vector<TVertex>>& arrays);
// Waits until panel's GL has drawn what it was sent.
void Finish(TViewPanel& panel);
