#pragma once
// One frame for all the input behind it. Keys, wheel notches and mouse moves
// that the window system queued while a frame was being made would each draw
// a frame of their own, in turn, and the picture would go on moving long
// after the hand stopped. Asked for a frame while such input may still be
// waiting, the folder only marks the frame pending; once the event loop has
// delivered what was queued (every action in it applied), it draws that one
// frame, which shows their sum. Asked with nothing behind the last frame, it
// draws at once: one action, one frame, as before.
//
// The frame that input waits for is drawn a part at a time, one part per
// turn of the event loop, so that input which comes while it is being drawn
// is applied at once and taken into it (the view starts it over, until a
// frame's parts were drawn since it last showed one): letting go of a held
// key, the hand mostly waits for one frame, not for the rest of the one
// under way and another.

#include <QObject>
#include <functional>

enum class TPartDrawn;  // view_panel.h

class TFrameFolder : public QObject {
    Q_OBJECT
public:
    // draw makes one frame; drawPart the next part of one, with the input
    // applied by then. A pending frame drawn later goes through the error
    // box when it throws.
    TFrameFolder(std::function<void()> draw, std::function<TPartDrawn()> drawPart, QObject* parent);

    // One frame: now, or once the input queued behind the last frame is
    // applied. Throws what draw throws when it draws now.
    void Ask();
    // One frame now, whatever input waits: a frame whose outcome the caller
    // acts on (the first of a model shows the panel only once drawn).
    // Throws what draw throws.
    void Now() { DrawNow(); }
    // A frame was asked for and is not shown yet: it waits for the input
    // behind the last one, or is being drawn in parts.
    bool Pending() const { return Waiting || InParts; }

protected:
    void customEvent(QEvent* event) override;

private:
    void DrawNow();
    void NextPart();
    // A frame was shown: the input queued meanwhile is waited for.
    void Drawn();

    std::function<void()> Draw;
    std::function<TPartDrawn()> DrawPart;
    // Turns of the event loop still to pass before the input queued while
    // the last frame was made has all been delivered: window-system input
    // read during a frame is delivered in the turn after the one that sends
    // what was posted during it, so the count starts at two.
    int TurnsBehind = 0;
    bool Waiting = false;
    bool InParts = false;  // a frame is being drawn, a part per turn
};
