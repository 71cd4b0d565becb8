#pragma once
// A glow held by the left button in the view, one of its values following
// the pointer: its centre (glow_dragging) or its main vector by a size handle
// (glow_sizing). Readied by the press, moving once the pointer passed the
// system's drag distance, snapped to what is seen of the model; the glows
// selected with it change by as much. Nothing is written until it ends; Undo
// and Redo wait for the gesture's end from the press on.

#include <QKeyEvent>
#include <QPointF>
#include <QString>
#include <string>
#include <vector>

#include "glow_drag.h"
#include "glow_history.h"
#include "glow_preview.h"
#include "glow_write.h"
#include "seen_depth.h"
#include "view_projection.h"

class TOpenDocument;

// What spot was snapped onto, for the status bar ("   on vertex 5", "   on
// the centre of face 0"); empty without a snap.
QString SnapText(const TDragSpot& spot);

// True once the pointer pressed at pressed and now at `at` (device pixels,
// ratio of them to the logical one) passed the system's drag distance: a hand
// that shakes during a click moves nothing.
bool PastDragDistance(QPointF pressed, QPointF at, double ratio);

class TGlowGesture {
public:
    virtual ~TGlowGesture() = default;
    TGlowGesture(const TGlowGesture&) = delete;
    TGlowGesture& operator=(const TGlowGesture&) = delete;

    TGlowIndex Glow() const { return Drag.Glow(); }
    bool Moving() const { return Moved; }
    // The pointer, held at `at` with modifiers, as view shows the model: true
    // once past the drag distance (ratio device pixels to the logical one),
    // when the glow goes with it. Under it a press and release stays a click.
    bool MoveTo(QPointF at, Qt::KeyboardModifiers modifiers, const TViewProjection& view, double ratio);
    // The button let go at `at`: the glow goes there.
    void MoveLast(QPointF at, const TViewProjection& view);
    // Whether a click (no move) leaves the glow picked selected alone, as a
    // click on a glow's centre does.
    virtual bool ClickSelectsAlone() const = 0;

    // What a key pressed or let go does: Escape cancels, X, Y and Z are the
    // axis keys (AxisKey), Ctrl and Shift snap at once, N and P wait for the
    // gesture's end (the glow held stays the panel's). Changed: the glow must
    // follow anew.
    enum class TKey { NotTaken, Taken, Changed, Cancel };
    TKey Key(const QKeyEvent& key);

    // The snap the keys held ask for: Ctrl a vertex, Shift a face centre.
    virtual TSnap Snap() const;
    // The document's preview shows the glows as they are now, as view shows
    // them, snapped among what seen lets be seen; the status bar's text for
    // it. Throws the list errors.
    QString Follow(const TViewProjection& view, const TSeenDepth* seen);

    // What was previewed when the gesture began: it starts from it, and a
    // gesture that writes nothing puts it back.
    const TGlowPreview& Underneath() const { return Before; }

    // The write of the value previewed: the stored values with only that one
    // changed, the glow held first (the step is named for it). Refusal: the
    // message for followers left as they are, as their value would become
    // infinite or no number. Unmoved: the glow held is back as it started,
    // nothing to write.
    struct TWrite {
        TGlowWrite Write;
        std::string Refusal;
        bool Unmoved = false;
    };
    TWrite Written() const;

protected:
    // A press at `at`, device pixels, on the point start of the glow at
    // picked, whose value (a member of the glow) follows: from where the
    // glows are shown now (an edit dialog open on them may preview other
    // values than the stored ones).
    TGlowGesture(TOpenDocument& document, TGlowIndex picked, TFloat3 TEngineGlow::*value, const TFloat3& start,
                 QPointF at);

    // X (0), Y (1) or Z (2) pressed once the glow moves: true when where it
    // goes changed.
    virtual bool AxisKey(int axis) = 0;
    // The value of the glow held with the point held at spot.
    virtual TFloat3 Placed(const TDragSpot& spot) const = 0;
    // The status bar's text for the point at spot giving value.
    virtual QString Text(const TDragSpot& spot, const TFloat3& value) const = 0;
    // The message for followers whose value would not be a finite number.
    virtual std::string Refusal(const std::vector<TGlowIndex>& refused) const = 0;

    // The glow held, as shown when the gesture began.
    const TEngineGlow& Start() const { return Started; }
    Qt::KeyboardModifiers Held() const { return Modifiers; }
    TGlowDrag Drag;

private:
    TOpenDocument& Document;
    TFloat3 TEngineGlow::*Value;
    TEngineGlow Started;
    QPointF PressedAt;  // device pixels
    bool Moved = false;
    Qt::KeyboardModifiers Modifiers;
    TGlowPreview Before;
    // The other glows selected, as shown when the gesture began.
    std::vector<TGlowValues> Followers;
    TGlowHistory::THold Hold;
};
