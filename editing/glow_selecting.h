#pragma once
// Choosing glows on the open model: the glow under the pointer, Select Glows
// of Mesh, Escape's glow alone, the mirror twin, and Mirror Glow's write. The
// selection changes here; whoever calls shows it. An edit of the glow being
// edited reaches every selected glow (the edit dialog, a drag, a nudge).

#include <QString>
#include <optional>

#include "glow_mirror.h"
#include "glow_write.h"
#include "open_model.h"
#include "scene.h"
#include "view_projection.h"

// The glow whose centre scene draws at (x, y), device pixels, through view:
// the glow being edited where several are; none when no glow is there. In
// face mode a glow of a mesh without faces is passed over: its mesh would
// have no face to select. Throws the list errors.
TGlowIndex GlowAtPointer(const TOpenModel& open, const TScene& scene, const TViewProjection& view, int x, int y);

// Select Glows of Mesh: every glow of the current mesh, the glow being
// edited first (glow 0 right after an open). False when the mesh has none.
bool SelectGlowsOfMesh(TOpenModel& open);

// Escape: the glow being edited selected alone. False when no glow was
// selected.
bool SelectGlowAlone(TOpenModel& open);

// Select Mirror Twin across axis: the glow being edited and the glow nearest
// its mirror image, when one lies within TwinShare of the model's size.
// Selected tells whether the selection changed; Said is what to say either way.
struct TTwinChoice {
    bool Selected = false;
    QString Said;
};
TTwinChoice SelectTwin(TOpenModel& open, TMirrorAxis axis);

// Mirror Glow across axis: every selected glow but the one being edited
// becomes the mirror image of it, its place in the file kept. Nothing when
// fewer than two glows are selected. Throws the list errors.
std::optional<TGlowWrite> MirrorWrite(const TOpenModel& open, TMirrorAxis axis);
