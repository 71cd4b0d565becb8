// The placing tool's box: TGlowBoxing and the tool's handlers that hold it.

#include "glow_boxing.h"

#include "glow_gesture.h"
#include "glow_pick.h"
#include "glow_placer.h"
#include "glow_selecting.h"
#include "open_document.h"
#include "view_panel.h"

bool TGlowBoxing::MoveTo(QPointF at, double ratio)
{
    // As a glow's drag starts: a hand that shakes during a click draws no box.
    if (!Moved && !PastDragDistance(From, at, ratio))
        return false;
    Moved = true;
    To = at;
    return true;
}

void TGlowPlacer::StartBox(int x, int y, bool add)
{
    Boxing.emplace(QPointF(x, y), add);
}

bool TGlowPlacer::BoxPressed(Qt::MouseButton button)
{
    if (!Boxing)
        return false;
    if (button == Qt::RightButton)
        EndBox();
    return true;
}

bool TGlowPlacer::BoxMoved(Qt::MouseButtons buttons, QPointF at)
{
    if (!Boxing)
        return false;
    if (buttons.testFlag(Qt::LeftButton) && Boxing->MoveTo(at, Panel.devicePixelRatioF()))
        emit BoxChanged(Boxing->Box());
    return true;
}

bool TGlowPlacer::BoxReleased(Qt::MouseButton button, QPointF at)
{
    if (!Boxing || button != Qt::LeftButton)
        return false;
    const bool drawn = Boxing->MoveTo(at, Panel.devicePixelRatioF()) || Boxing->Drawn();
    const QRectF box = Boxing->Box();
    const bool add = Boxing->Adds();
    EndBox();
    // A click without a move did at the press what a click does.
    if (!drawn)
        return true;
    const TScene scene = Scene();
    const std::vector<TGlowIndex> boxed = GlowsInBox(scene, SelectableGlows(Document, scene), Projection(),
                                                     box.left(), box.top(), box.right(), box.bottom());
    if (SelectBoxed(Document, boxed, add))
        emit SelectionChanged();
    else
        emit Said(QStringLiteral("No glow's centre is drawn inside the box"));
    return true;
}

bool TGlowPlacer::BoxKey(const QKeyEvent& key)
{
    if (!Boxing || key.key() != Qt::Key_Escape)
        return false;
    if (key.type() == QEvent::KeyPress)
        EndBox();
    return true;
}

void TGlowPlacer::EndBox()
{
    if (!Boxing)
        return;
    Boxing.reset();
    emit BoxChanged(std::nullopt);
}
