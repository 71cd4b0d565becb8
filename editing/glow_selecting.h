#pragma once
// Choosing glows on the open model: the glow under the pointer, Select Glows
// of Mesh, Escape's glow alone, the mirror twin, and Mirror Glow's write. The
// selection changes here; whoever calls shows it. An edit of the glow being
// edited reaches every selected glow (the edit dialog, a drag, a nudge).

#include <QString>
#include <optional>
#include <vector>

#include "glow_mirror.h"
#include "glow_write.h"
#include "open_model.h"
#include "scene.h"
#include "view_projection.h"

// The glows scene draws that a click or a box may select: in face mode a
// glow of a mesh without faces is passed over, its mesh would have no face
// to select.
std::vector<TGlowIndex> SelectableGlows(const TOpenModel& open, const TScene& scene);

// The glow whose centre scene draws at (x, y), device pixels, through view:
// the glow being edited where several are; none when no glow is there. Only
// SelectableGlows. Throws the list errors.
TGlowIndex GlowAtPointer(const TOpenModel& open, const TScene& scene, const TViewProjection& view, int x, int y);

// A box's glows selected: added to the selection when add, else in its
// place. The glow being edited stays edited when it is one of boxed or add;
// else the first of boxed is. False, nothing changed, when boxed is empty.
bool SelectBoxed(TOpenModel& open, const std::vector<TGlowIndex>& boxed, bool add);

// Select Glows of Mesh: every glow of the current mesh, the glow being
// edited first (glow 0 right after an open). False when the mesh has none.
bool SelectGlowsOfMesh(TOpenModel& open);

// Select All Glows: every glow of the model, the glow being edited first;
// when none is edited, the first glow of the model is (its mesh becomes the
// current one). False when the model has no glow.
bool SelectAllGlows(TOpenModel& open);

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

// Mirror Glow across axis. With two glows selected the other becomes the
// mirror image of the glow being edited; with more, each selected glow's
// image is written onto its own twin (MirrorOntoTwins). Each glow written
// keeps its place in the file. Refusal says why nothing is to be written
// (fewer than two glows selected, no twin for any); Untwinned names the
// glows that have no twin, the others written. Throws the list errors.
struct TMirror {
    TGlowWrite Write;
    QString Refusal;
    QString Untwinned;
};
TMirror MirrorWrite(const TOpenModel& open, TMirrorAxis axis);
