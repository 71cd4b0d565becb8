#include "glow_selecting.h"

#include <algorithm>
#include <vector>

#include "conversions.h"
#include "glow_edit.h"
#include "glow_pick.h"

namespace {

constexpr char AxisNames[] = "XYZ";

QString GlowName(TGlowIndex at)
{
    return QStringLiteral("glow %1 of mesh %2").arg(at.Glow).arg(at.Mesh);
}

}  // namespace

std::vector<TGlowIndex> SelectableGlows(const TOpenModel& open, const TScene& scene)
{
    const TModel& model = open.Model;
    std::vector<TGlowIndex> glows = DrawnGlows(scene);
    // In face mode the picked glow's mesh becomes current with a face
    // selected; a mesh without faces has none to select.
    if (open.Selection.SelectMode == FaceMode)
        std::erase_if(glows, [&](TGlowIndex at) { return model.Meshes.Get(at.Mesh).Faces[0].Count() == 0; });
    return glows;
}

TGlowIndex GlowAtPointer(const TOpenModel& open, const TScene& scene, const TViewProjection& view, int x, int y)
{
    return PickGlow(scene, SelectableGlows(open, scene), view, x, y, ShownGlowIndex(open));
}

bool SelectBoxed(TOpenModel& open, const std::vector<TGlowIndex>& boxed, bool add)
{
    if (boxed.empty())
        return false;
    TSelection& selection = open.Selection;
    const TGlowIndex edited = ShownGlowIndex(open);
    if (!add || !edited) {
        if (std::find(boxed.begin(), boxed.end(), edited) == boxed.end())
            selection.EditGlowAt(boxed.front(), open.Model);
        selection.SelectEditedGlowAlone();
    }
    selection.AddGlows(boxed, open.Model);
    return true;
}

bool SelectGlowsOfMesh(TOpenModel& open)
{
    TSelection& selection = open.Selection;
    const int glows = CurMeshGlowCount(open);
    if (glows == 0)
        return false;
    // Right after a model is opened no glow is edited yet: the first one is.
    if (!ShownGlowIndex(open))
        selection.EditGlow = 0;
    selection.SelectEditedGlowAlone();
    std::vector<TGlowIndex> mesh;
    for (int32_t g = 0; g < glows; ++g)
        mesh.push_back({selection.CurMesh, g});
    selection.AddGlows(mesh, open.Model);
    return true;
}

bool SelectAllGlows(TOpenModel& open)
{
    const std::vector<TGlowIndex> every = EveryGlow(open.Model);
    if (every.empty())
        return false;
    TSelection& selection = open.Selection;
    // Nothing edited yet: the first glow is, as Select Glows of Mesh does on
    // the current mesh.
    if (!ShownGlowIndex(open))
        selection.EditGlowAt(every.front(), open.Model);
    selection.SelectEditedGlowAlone();
    selection.AddGlows(every, open.Model);
    return true;
}

bool SelectGlowAlone(TOpenModel& open)
{
    if (open.Selection.Glows.empty())
        return false;
    open.Selection.SelectEditedGlowAlone();
    return true;
}

TTwinChoice SelectTwin(TOpenModel& open, TMirrorAxis axis)
{
    const TGlowIndex edited = ShownGlowIndex(open);
    if (!edited)
        return {false, QStringLiteral("Select Mirror Twin: select a glow first")};
    const TMirrorTwin twin = NearestToMirrorImage(open.Model, edited, axis);
    const double within = TwinReach(open.Model);
    const QChar axisName = QLatin1Char(AxisNames[int(axis)]);
    if (!twin.At || !(twin.Distance <= within))
        return {false,
                QString::fromStdString(FormatFloats("No glow lies within %.2f of the mirror image", {float(within)})) +
                    QStringLiteral(" of %1 across %2").arg(GlowName(edited), axisName)};
    if (twin.At == edited)
        return {false, QStringLiteral("Glow %1 of mesh %2 lies on the mirror plane across %3: it is its own twin")
                           .arg(edited.Glow)
                           .arg(edited.Mesh)
                           .arg(axisName)};
    open.Selection.SelectEditedGlowAlone();
    open.Selection.AddGlows({twin.At}, open.Model);
    return {true, QStringLiteral("Mirror twin across %1: %2").arg(axisName).arg(GlowName(twin.At))};
}

TMirror MirrorWrite(const TOpenModel& open, TMirrorAxis axis)
{
    const std::vector<TGlowIndex> glows = open.Selection.SelectedGlows(open.Model);
    if (glows.size() < 2)
        return {{},
                QStringLiteral("Mirror Glow: select its twin as well (Ctrl+click it, or Edit > Select Mirror Twin)"),
                {}};
    const QChar axisName = QLatin1Char(AxisNames[int(axis)]);
    const std::string name = "Mirror across " + std::string(1, axisName.toLatin1());
    if (glows.size() == 2) {
        // A pair placed by hand, maybe not quite twins yet: the other one
        // becomes the image of the glow being edited wherever it lies.
        const TEngineGlow image = MirrorImage(open.GlowAt(glows.front()), axis);
        TGlowWrite write = WithChange(open.Model, name, {glows.back()}, [&](TEngineGlow& g) {
            const int32_t place = g.FilePos;
            g = image;
            g.FilePos = place;
        });
        // The image is the twin's already: symmetry adds nothing to it.
        write.ReachesTwins = false;
        return {std::move(write), {}, {}};
    }
    TTwinImages twins = MirrorOntoTwins(open.Model, glows, axis);
    QString untwinned;
    if (!twins.Untwinned.empty())
        untwinned = QStringLiteral("no twin across %1 for %2")
                        .arg(axisName, QString::fromStdString(GlowsNamed(twins.Untwinned)));
    if (twins.Images.empty())
        return {{}, QStringLiteral("Mirror Glow: ") + untwinned, {}};
    return {{name, std::move(twins.Images), false}, {}, untwinned};
}
