#pragma once
// A glow's drag in the view: readied by a press on its centre, moving once the
// pointer passed the system's drag distance, its centre following the pointer
// in the plane of the screen, locked to an axis or snapped to what is seen of
// the model. The glows selected with it move by as much. Nothing is written
// until it ends; Undo and Redo wait for the gesture's end from the press on.

#include <QKeyEvent>
#include <QPointF>
#include <QString>
#include <vector>

#include "glow_drag.h"
#include "glow_history.h"
#include "glow_preview.h"
#include "glow_write.h"
#include "seen_depth.h"
#include "view_projection.h"

class TOpenDocument;

class TGlowDragging {
public:
    // A press at `at`, device pixels, on the centre of the glow at picked:
    // from where the glows are shown now (an edit dialog open on them may
    // preview other centres than the stored ones).
    TGlowDragging(TOpenDocument& document, TGlowIndex picked, QPointF at);

    TGlowIndex Glow() const { return Drag.Glow(); }
    bool Moving() const { return Moved; }
    // The pointer, held at `at` with modifiers, as view shows the model: true
    // once past the drag distance (ratio device pixels to the logical one),
    // when the centre goes with it. Under it a press and release stays a click.
    bool MoveTo(QPointF at, Qt::KeyboardModifiers modifiers, const TViewProjection& view, double ratio);
    // The button let go at `at`: the centre goes there.
    void MoveLast(QPointF at, const TViewProjection& view);

    // What a key pressed or let go does to the drag: Escape cancels it, X, Y
    // and Z lock it to an axis or free it, Ctrl and Shift snap at once, N and
    // P wait for the drag's end (the glow dragged stays the panel's). Changed:
    // the centre must follow anew.
    enum class TKey { NotTaken, Taken, Changed, Cancel };
    TKey Key(const QKeyEvent& key);

    // The snap the keys held ask for.
    TSnap Snap() const;
    // The document's preview shows where the glows are now, as view shows
    // them, snapped among what seen lets be seen; the status bar's text for
    // it ("Center 12.50, -31.00, 4.25", the lock, the snap). Throws the list
    // errors.
    QString Follow(const TViewProjection& view, const TSeenDepth* seen);

    // What was previewed when the drag began: the drag starts from it, and a
    // drag that writes nothing puts it back.
    const TGlowPreview& Underneath() const { return Before; }

    // The write of the centres previewed: the stored values with only the
    // centre changed, the dragged glow first (the step is named for it).
    // Refused: followers left where they are, as their centre would become
    // infinite or no number. Unmoved: the dragged glow is back where it
    // started, nothing to write.
    struct TWrite {
        TGlowWrite Write;
        std::vector<TGlowIndex> Refused;
        bool Unmoved = false;
    };
    TWrite Written() const;

private:
    TOpenDocument& Document;
    TGlowDrag Drag;
    QPointF PressedAt;  // device pixels
    bool Moved = false;
    Qt::KeyboardModifiers Modifiers;
    TGlowPreview Before;
    // The other glows selected, as shown when the drag began.
    std::vector<TGlowValues> Followers;
    TGlowHistory::THold Hold;
};
