#pragma once
// The placing tool: the view's left button and the glow keys. A press on a
// drawn glow's centre picks it and readies its drag, Ctrl+click adds a glow to
// the selection or takes it out, a press elsewhere selects the mesh or face
// under the pointer and, dragged on, draws a box that selects the glows in
// it; the nudge keys move the glows an edit reaches; the Edit
// items on the selected glows (select, mirror, copy and paste) act here. The
// tool changes the document and asks for a frame; it draws nothing itself.
//
// Its signals are for direct connections: a frame drawn inside the handler
// that asks for it, and an error it raises ends that handler.

#include <QKeyEvent>
#include <QObject>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

#include "glow_boxing.h"
#include "glow_dragging.h"
#include "glow_mirror.h"
#include "glow_nudging.h"
#include "scene.h"

class TOpenDocument;
class TViewPanel;

class TGlowPlacer : public QObject {
    Q_OBJECT
public:
    // The tool on document, over panel (its projection, what it lets be seen,
    // the pointer), shown through state's camera once state is Ready; scene
    // gives what the view shows now.
    TGlowPlacer(TOpenDocument& document, TViewPanel& panel, const TViewState& state, std::function<TScene()> scene,
                QObject* parent);

    // A mouse button went down in the view at (x, y), device pixels. During a
    // drag the right button puts the glow back; Ctrl+left toggles the glow
    // there; a plain left press picks a glow and readies its drag, or else
    // selects the mesh or face there. A left press where no glow is readies
    // a box (with Ctrl one that adds).
    void Press(Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
               bool doubleClick, int x, int y);
    // The pointer moved to `at` with buttons held: the dragged glow or the
    // box follows.
    void PointerMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF at);
    // A button let go at `at`: a drag's centres are written, one edit; a
    // click leaves the glow it picked selected alone; a box selects its glows.
    void Released(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF at);
    // A key pressed or let go: a drag's keys, then the nudge keys (pressed,
    // while the view is Ready). False for the keys that act otherwise.
    bool Key(const QKeyEvent& key);
    // The camera, the view's size or the Display options changed: a glow held
    // follows the new picture (its lock and snap). Asks for no frame.
    void FollowView();

    // A model was opened and fitted: the nudge step fits the camera's span,
    // no axis locked.
    void Start();
    // The model is closing: a drag ends unwritten and nothing is previewed.
    void Stop();
    bool Dragging() const { return Held != nullptr; }

    // The Edit items, while the view is Ready and no glow is dragged. Select
    // All Glows; Select Glows of Mesh; Escape's glow being edited alone;
    // Select Mirror Twin; Mirror Glow (MirrorWrite, one edit); Copy Glow;
    // Paste Glow Style (withCentre false) and Paste Glow.
    void SelectAll();
    void SelectMeshGlows();
    void SelectEditedGlowAlone();
    void SelectMirrorTwin(TMirrorAxis axis);
    void MirrorGlows(TMirrorAxis axis);
    void CopyGlow();
    void PasteGlow(bool withCentre);

signals:
    // The selection moved: the panel and the view show it.
    void SelectionChanged();
    // The glows held moved in the preview: the panel shows their values and
    // the status bar holds status (cleared when empty). No frame.
    void PreviewMoved(const QString& status);
    // One frame, please.
    void RedrawRequested();
    // The selection box to show over the view's picture (device pixels), or
    // none any more. No frame.
    void BoxChanged(const std::optional<QRectF>& box);
    // Something to say in the status bar for a few seconds.
    void Said(const QString& text);

private:
    // Readies the drag of the edited glow's size handle under (x, y), else
    // picks the glow under it and readies its drag; false when none is there.
    bool Pick(int x, int y);
    bool DragKey(const QKeyEvent& key);
    void Nudge(TNudge direction);
    bool Acts() const { return State.Ready && !Held; }
    // The preview follows the drag, without a frame.
    void Follow();
    // The glows held back where they are stored; nothing is written.
    void Cancel();
    void Finish();
    // The drag and its hold are gone, and what was previewed under it is back.
    void End();
    // The glows shown where they are stored: the panel, the status bar, a
    // frame.
    void ShowStored();
    TViewProjection Projection() const;
    // The box (glow_boxing.cpp): started by a left press on empty space,
    // with Ctrl one that adds; each handler is true when the box took the
    // event.
    void StartBox(int x, int y, bool add);
    bool BoxPressed(Qt::MouseButton button);
    bool BoxMoved(Qt::MouseButtons buttons, QPointF at);
    bool BoxReleased(Qt::MouseButton button, QPointF at);
    bool BoxKey(const QKeyEvent& key);
    void EndBox();

    TOpenDocument& Document;
    TViewPanel& Panel;
    const TViewState& State;
    std::function<TScene()> Scene;
    std::unique_ptr<TGlowGesture> Held;
    std::optional<TGlowBoxing> Boxing;
    TGlowNudging Nudging;
};
