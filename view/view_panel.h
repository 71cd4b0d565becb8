#pragma once
// The view panel: a plain widget that shows the last complete frame as an
// image, drawn off screen by the panel's own OpenGL context. Where OpenGL is
// a software renderer (virtual machines, remote desktops, wine) a GL widget
// would have the whole window composed through OpenGL on every repaint, the
// buttons and the status bar included.
//
// The view is a renderer of its inputs: Draw takes a scene and a camera and
// makes one frame, synchronously, changing nothing of either. Each frame is
// drawn into a back buffer the user cannot see and taken as the picture only
// when it is complete, so a frame stopped by an error leaves the last
// complete one on screen. Qt's own repaints show that picture.
//
// The meshes' picture is kept from frame to frame: a frame in which only the
// glows changed copies it and draws the glows over it, and touches only the
// box where the glows were and are. It is drawn anew when anything it shows
// changed (TMeshPicture), after Restart and after ForgetMeshes.

#include <QImage>
#include <QPointF>
#include <QRect>
#include <QWidget>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "mesh_arrays.h"
#include "scene.h"
#include "mesh_plan.h"
#include "seen_depth.h"
#include "view_projection.h"

class QOffscreenSurface;
class QOpenGLContext;
class QOpenGLFramebufferObject;

// What the meshes' picture depends on: the camera, the volume and the
// viewport, the selection, the two mesh colours, solid or wireframe, the
// meshes without glows shown or not. A setting that changes the meshes'
// picture belongs here.
struct TMeshPicture {
    int32_t PanX = 0, PanY = 0, RotX = 0, RotY = 0, RotZ = 0;
    double Zoom = 0;
    std::array<double, 3> Pivot{};
    int32_t ViewMin = 0, ViewMax = 0, Width = 0, Height = 0;
    int32_t SelectMode = 0, CurMesh = 0, CurFace = 0;
    std::array<float, 6> Colors{};  // "Mesh Lines" and "Selected", red, green, blue
    bool Solid = false, WholeModel = false;
    bool operator==(const TMeshPicture&) const = default;
};

// What one part of a frame drawn in parts came to (TViewPanel::DrawPart).
enum class TPartDrawn {
    Drawing,      // parts remain
    Shown,        // the frame is shown, through the scene and camera last given
    ShownBehind,  // the frame is shown, but its meshes through the picture it began with
};

// The side of the square around the pointer that a click picks in, in
// device pixels.
inline constexpr double PickSquare = 5.0;

class TViewPanel : public QWidget {
    Q_OBJECT
public:
    explicit TViewPanel(QWidget* parent = nullptr);
    ~TViewPanel() override;

    // A model was opened: the panel shows black from now on, and what it kept
    // of the last model is forgotten.
    void Restart();
    // Restart has run: frames are drawn. Before it Draw and PickFace do
    // nothing, and the panel shows its own colour.
    bool Started() const { return Made; }
    // How often Restart ran.
    int Restarts() const { return RestartCount; }

    // Draws one frame of scene through camera and shows it. Drawn while the
    // context is in feedback mode (a test's capture), the faces go one by one
    // and nothing is shown. Throws EListError for a list index in the scene
    // that names nothing; the frame before stays on screen.
    void Draw(const TScene& scene, const TCamera& camera);
    // The same frame as Draw, drawn a part at a time where the meshes'
    // picture is drawn anew (at most FrameParts parts of about equal work), for
    // input that comes faster than frames: each call draws the next part
    // with the scene and camera as they are by then, so what changed between
    // parts is in this frame, not left for one after it. A changed picture
    // of the meshes starts the frame over, until a whole frame's parts were
    // drawn since a frame was last shown (input faster than frames still
    // shows a picture every two frames or so); then the frame is finished
    // as begun and says so (ShownBehind); at a new size it is drawn whole
    // at once. A frame whose meshes are kept is drawn whole at once. Whatever
    // draws the meshes' picture anew (Draw, SeenDepth), Restart and
    // ForgetMeshes drop a frame in parts. Throws EListError as Draw, and
    // drops the frame.
    TPartDrawn DrawPart(const TScene& scene, const TCamera& camera);
    static constexpr int FrameParts = 8;
    // The same frame with content in place of the scene: the benchmarks draw
    // their floor through it, so both pay for the same frame.
    void DrawWith(const TCamera& camera, const std::function<void(const TViewProjection&)>& content);
    // The name of the face (face mode: its packed selection) or mesh that a
    // click at (x, y), device pixels from the top-left corner, hits first;
    // none when it hits nothing. Draws nothing. Throws EListError as Draw.
    std::optional<int32_t> PickFace(const TScene& scene, const TCamera& camera, int x, int y);
    // What the picture of scene's meshes through camera lets be seen: under
    // Solid the depth its faces leave; nothing (every point seen) in
    // wireframe and before Restart. Draws the meshes' picture into its kept
    // buffer when it is not kept (nothing new is shown) and reads its depth
    // once per picture. Throws EListError as Draw.
    std::shared_ptr<const TSeenDepth> SeenDepth(const TScene& scene, const TCamera& camera);
    // False when the last frame stopped on an error: the panel still shows the
    // frame before it.
    bool LastFrameComplete() const { return FrameComplete; }
    // The meshes changed in a way TMeshPicture does not tell (a mesh edited in
    // place): the next frame draws them anew.
    void ForgetMeshes();

    // The panel's size in device pixels, the viewport of every frame.
    QSize DeviceSize() const;
    // camera over this panel's viewport.
    TViewProjection Projection(const TCamera& camera) const { return {camera, DeviceSize().width(), DeviceSize().height()}; }
    // What the panel shows, in device pixels: the last complete frame at its
    // top-left corner, black around it (the panel's own colour before
    // Restart).
    QImage grabFramebuffer() const;
    // Where the pointer was at the last press or move, in device pixels from
    // the panel's top-left corner.
    QPointF Pointer() const { return LastPointer; }
    // A selection box drawn over the picture, device pixels from the panel's
    // top-left corner, until it is set to none; the picture itself, and what
    // grabFramebuffer gives, stay as they are. Repaints, draws no frame.
    void ShowBox(const std::optional<QRectF>& box);
    const std::optional<QRectF>& Box() const { return BoxShown; }
    // Complete frames shown since the panel was made.
    int FramesShown() const { return Shown; }
    // The panel's own context, made at the first call, for the panel's life.
    QOpenGLContext* context();

signals:
    // A mouse button went down at (x, y): device pixels from the panel's
    // top-left corner. doubleClick marks the second press of a double click.
    void MouseDown(Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                   bool doubleClick, int x, int y);
    // The pointer moved (dx, dy) device pixels since the last press or move
    // while buttons were held.
    void Dragged(Qt::MouseButtons buttons, double dx, double dy);
    // The pointer moved to `at` (device pixels from the panel's top-left
    // corner) while buttons were held; emitted before Dragged.
    void PointerMoved(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF at);
    // A mouse button was let go at `at`.
    void MouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF at);
    // The wheel turned by notches (120ths of the angle delta: a notch of a
    // mouse wheel is 1, a touchpad gives fractions); positive away from the
    // user.
    void WheelTurned(double notches);
    // The panel changed its size in device pixels: a resize, or a move to a
    // screen of another scale. The last picture stays shown.
    void FramebufferResized();
    // The panel's picture reached the window: after every repaint, as a GL
    // widget says when its frame was composed.
    void frameSwapped();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    friend class TContextCurrent;
    void makeCurrent();
    void doneCurrent();

    // The frame on screen: the meshes' picture, kept or drawn anew, and the
    // glows over it.
    void DrawPanelFrame(const TScene& scene, const TCamera& camera);
    // The glows drawn over the kept meshes' picture, and the frame shown.
    void ShowGlowsOverMeshes(const TScene& scene, const TViewProjection& view);
    // Runs one frame, or a part of one (whole false: it leaves the mark as
    // it is); a list error ends it with the state balanced, nothing new
    // shown and the frame marked incomplete.
    void InFrame(const std::function<void()>& frame, bool whole = true);
    // The frame code: BindBackBuffer before drawing (a buffer of the panel's
    // size in device pixels); SwapBuffers once the frame is whole, which
    // makes it the picture; DropBackBuffer when a frame stops, which shows
    // nothing new.
    void BindBackBuffer();
    void SwapBuffers();
    void DropBackBuffer();
    // The kept picture of the meshes. MeshesKept: it shows picture, at the
    // panel's size. BindMeshBuffer binds its buffer to draw it anew (nothing
    // is kept until KeepMeshes says what it shows); BindBackBufferOverMeshes
    // binds the back buffer holding a copy of it, for a frame whose glows lie
    // within glows (device pixels up from the bottom-left corner, null when
    // there are none). Where the last frame drew its glows over the same
    // meshes, only the box of both frames' glows is copied, drawn (the
    // scissor on it) and taken into the picture.
    bool MeshesKept(const TMeshPicture& picture) const;
    void BindMeshBuffer();
    void KeepMeshes(const TMeshPicture& picture);
    void BindBackBufferOverMeshes(const QRect& glows);
    // The kept picture of the meshes made to show picture: drawn anew through
    // view when it does not, its buffer then left bound.
    void KeepMeshPicture(const TScene& scene, const TViewProjection& view, const TMeshPicture& picture);
    // The kept picture's depth, each pixel's, rows up from the bottom, and
    // the bits it has; the buffer is let go.
    std::vector<float> ReadMeshDepth(int& bits);

    QPointF LastPointer;  // device pixels, at the last press or move
    std::optional<QRectF> BoxShown;
    bool Made = false;    // Restart has run: frames are drawn
    int RestartCount = 0;
    bool FrameComplete = true;
    QOpenGLContext* Context = nullptr;  // child objects: they go with the panel
    QOffscreenSurface* Surface = nullptr;
    std::unique_ptr<QOpenGLFramebufferObject> Back;    // the frame being drawn
    QImage Picture;                                    // the last complete frame
    std::unique_ptr<QOpenGLFramebufferObject> Meshes;  // the kept picture of the meshes
    std::optional<TMeshPicture> MeshesShow;            // what it shows, if it is whole
    std::shared_ptr<const TSeenDepth> MeshDepth;       // its depth, once read
    TMeshArrays Arrays;                                // each mesh's edges and faces, kept
    // The frame being drawn in parts into Meshes: the picture it shows, how,
    // and how many parts are drawn. PartsSinceShown counts the parts drawn
    // since a frame was last shown, those of frames started over included.
    struct TFrameInParts {
        TMeshPicture Picture;
        TViewProjection View;
        TMeshPlan Plan;
        size_t Drawn = 0;
    };
    std::optional<TFrameInParts> InParts;
    int PartsSinceShown = 0;
    // Where a frame's glows are found: room for a few hundred glows with halos.
    std::vector<float> Feedback = std::vector<float>(1 << 17);
    // Device pixels up from the bottom-left corner. Changing: what the frame
    // being drawn changes in Back. GlowsAt: where the glows lie in Back, when
    // Back and Picture hold the same frame of glows over Meshes; GlowsDrawn:
    // the same for the frame being drawn, once it is shown.
    QRect Changing;
    std::optional<QRect> GlowsAt, GlowsDrawn;
    int Shown = 0;
};

// Makes the panel's context current for its lifetime, and puts back the
// context that was current before (a test's own, in feedback mode).
class TContextCurrent {
public:
    explicit TContextCurrent(TViewPanel& panel);
    ~TContextCurrent();
    TContextCurrent(const TContextCurrent&) = delete;
    TContextCurrent& operator=(const TContextCurrent&) = delete;

private:
    TViewPanel& Panel;
    QOpenGLContext* Before;
    class QSurface* BeforeSurface;
};
