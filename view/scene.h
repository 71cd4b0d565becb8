#pragma once
// What a frame shows, apart from the camera: the model, its selection, which
// glows are drawn and how, the Display menu's options and the colours. The view draws a
// scene as it is given and changes nothing in it.

#include <vector>

#include "camera.h"
#include "glow_preview.h"
#include "model.h"
#include "selection.h"
#include "view_colors.h"

// Which glows are drawn, as the glow panel's buttons say.
struct TGlowDisplay {
    bool Showing = false;      // the glow panel is on screen; no glow is drawn otherwise
    bool SelectedOnly = true;  // only the selected glows, not every glow
    bool Cones = false;        // the vectors as cones too
};

// What the Display menu adds to the picture; all off at program start.
struct TViewOptions {
    bool GlowColors = false;  // each drawn glow also as a halo in its own colours
    bool Solid = false;       // faces filled and lit, the wireframe over them
    bool WholeModel = false;  // the meshes without glows too, dimmed
};

struct TScene {
    const TModel& Model;
    // Decoded: CurMesh and CurFace say what SelectedId selects.
    TSelection Selection;
    TGlowDisplay Glows;
    // A glow shown with other values than the model holds (a drag, an open
    // edit dialog).
    TGlowPreview Preview;
    TViewOptions Options;
    // What the lines, points and cones are drawn in.
    TColorTable Colors{};
    // Under symmetry, the twins of the selected glows that are not selected
    // themselves: drawn with them, with a thinner mark.
    std::vector<TGlowIndex> Twins{};

    // The values the glow at `at` is drawn with. Throws the list errors.
    const TEngineGlow& Shown(TGlowIndex at) const { return Preview.Shown(Model, at); }
};

// How the main window shows the open model: the camera, the Display menu's
// options, the colours, and whether a frame of it was drawn (keys and view
// clicks act from then on).
struct TViewState {
    TCamera Camera;
    TViewOptions Options;
    TColorTable Colors{};
    bool Ready = false;
};
