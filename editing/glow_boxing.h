#pragma once
// Box select: a left drag that starts on empty view space draws a rectangle,
// and at release the glows whose centres are drawn inside it are selected
// (with Ctrl added to the selection); Escape or the right button while it is
// drawn cancels it. Counted in device pixels, as the view's presses, the
// projection and GlowAtPointer count. The placing tool holds one from a
// press on empty space to the release.

#include <QPointF>
#include <QRectF>

class TGlowBoxing {
public:
    // A press at `at`, device pixels; add: Ctrl was held.
    TGlowBoxing(QPointF at, bool add) : From(at), To(at), Add(add) {}
    // The pointer moved to `at` (ratio device pixels a logical one): false
    // while it has not yet gone the drag distance from the press, which
    // leaves the press a click.
    bool MoveTo(QPointF at, double ratio);
    bool Drawn() const { return Moved; }
    bool Adds() const { return Add; }
    // From the press to the pointer, whichever way it went.
    QRectF Box() const { return QRectF(From, To).normalized(); }

private:
    QPointF From, To;
    bool Add;
    bool Moved = false;
};
