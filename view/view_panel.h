#pragma once
// The OpenGL view: the context on the main window's view panel P1, the
// orthographic projection fitted to the model, the camera transform of every
// frame, and picking by mouse click.
//
// Frames are drawn on demand only, synchronously, inside the handler that asks
// for one (RenderView). Each frame is drawn into a back buffer the user cannot
// see and taken as the panel's picture only when it is complete, so a frame
// stopped by an error leaves the last complete one on screen. Qt's own
// repaints show that picture and change no state.
//
// The panel is a plain widget showing an image, its context drawing off
// screen: where OpenGL is a software renderer (virtual machines, remote
// desktops, wine) a GL widget would have the whole window composed through
// OpenGL on every repaint, the panel's buttons and status bar included.
//
// The meshes' picture is kept from frame to frame: a frame in which only the
// glows changed copies it and draws the glows over it. It is drawn anew when
// anything it shows changed (TMeshPicture), on every open, and after
// ForgetMeshPicture. Such a frame touches only the box where the glows were
// and are: the rest of the back buffer and of the picture stay as they were.

#include <QImage>
#include <QRect>
#include <QWidget>
#include <QPointF>
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "view_state.h"

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
    int32_t ViewMin = 0, ViewMax = 0, Width = 0, Height = 0;
    int32_t SelectMode = 0, CurMesh = 0, CurFace = 0;
    std::array<float, 6> Colors{};  // "Mesh Lines" and "Selected", red, green, blue
    bool Solid = false, WholeModel = false;
    bool operator==(const TMeshPicture&) const = default;
};

// P1: the view panel. It owns the GL context.
class TViewPanel : public QWidget {
    Q_OBJECT
public:
    explicit TViewPanel(QWidget* parent = nullptr);
    ~TViewPanel() override;

    // True from GLSetup to GLKill: frames go to this panel's context.
    bool ContextMade() const { return Made; }
    // The panel's own context, made at the first call, for the panel's life.
    QOpenGLContext* context();
    void makeCurrent();
    void doneCurrent();
    // What the panel shows, in device pixels: the last complete frame at its
    // top-left corner, black around it (the panel's own colour before the
    // first open).
    QImage grabFramebuffer() const;
    // The frame code: BindBackBuffer before drawing (a buffer of the panel's
    // size in device pixels); SwapBuffers once the frame is whole, which
    // makes it the panel's picture; DropBackBuffer when a frame stops, which
    // shows nothing new.
    void BindBackBuffer();
    void SwapBuffers();
    void DropBackBuffer();
    // Where the pointer was at the last press or move, in device pixels
    // from the panel's top-left corner.
    QPointF Pointer() const { return LastPointer; }
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
    void ForgetMeshes();
    void BindBackBufferOverMeshes(const QRect& glows);
    // Complete frames shown since the panel was made.
    int FramesShown() const { return Shown; }

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
    // screen of another scale. The viewport and ViewWidth/ViewHeight follow
    // already; the last picture stays shown.
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
    friend void GLSetup();
    friend void GLKill();
    void OnResized();

    QPointF LastPointer;  // device pixels, at the last press or move
    bool Made = false;  // GLSetup has set the fixed state up on this context
    QOpenGLContext* Context = nullptr;      // child objects: they go with the panel
    QOffscreenSurface* Surface = nullptr;
    std::unique_ptr<QOpenGLFramebufferObject> Back;    // the frame being drawn
    QImage Picture;                                    // the last complete frame
    std::unique_ptr<QOpenGLFramebufferObject> Meshes;  // the kept picture of the meshes
    std::optional<TMeshPicture> MeshesShow;            // what it shows, if it is whole
    // Device pixels up from the bottom-left corner. Changing: what the frame
    // being drawn changes in Back. GlowsAt: where the glows lie in Back, when
    // Back and Picture hold the same frame of glows over Meshes; GlowsDrawn:
    // the same for the frame being drawn, once it is shown.
    QRect Changing;
    std::optional<QRect> GlowsAt, GlowsDrawn;
    int Shown = 0;
};

// The panel the view functions below work on; set by TViewPanel's constructor.
extern TViewPanel* GLPanel;

// ViewWidth, ViewHeight (view_state.h): the client size of P1 in device
// pixels, taken by GLSetup, and again whenever P1's framebuffer changes size
// (a resize or a change of scale), together with the viewport.

// The selection buffer of picking, as registered with OpenGL.
inline constexpr int SelectBufSize = 2048;
extern unsigned int SelectBuf[SelectBufSize];
// The side of the square around the pointer that a click picks in, in
// device pixels.
inline constexpr double PickSquare = 5.0;

// Makes the view's context current for its lifetime: P1's once GLSetup has
// run on it, otherwise a small hidden context of its own, so that a frame
// asked for before the first open runs its logic without touching P1. Nests:
// only the outermost one chooses the context and releases it.
class TGLCurrent {
public:
    TGLCurrent();
    ~TGLCurrent();
    TGLCurrent(const TGLCurrent&) = delete;
    TGLCurrent& operator=(const TGLCurrent&) = delete;
    // The panel being drawn on, or nullptr for the hidden context.
    static TViewPanel* Panel();
};

// Builds the context state on P1: viewport, projection fitted to TheModel,
// outline polygon mode; draws a first frame.
void GLSetup();
// Releases the context state.
void GLKill();
// GLKill if GLMade, then GLSetup.
void GLRestart();
// ViewMax and ViewMin from every vertex of TheModel.
void SceneExtent();
// Draws one frame with the current camera; inside InOneFrame, decodes the
// selection and leaves the drawing to its end.
void RenderView();
// Draws the frame after a change of glows alone (a step of a glow's drag):
// the meshes' kept picture serves, with the glows drawn over it.
void RenderGlowsChanged();
// Runs action with the frames it asks for put off to its end, where one frame
// is drawn if any was asked for: one action, one frame. Nests. When action
// throws, a frame it asked for is still drawn and its error propagates.
void InOneFrame(const std::function<void()>& action);
// The meshes changed in a way TMeshPicture does not tell (another model, a
// mesh edited in place): the next frame draws them anew.
void ForgetMeshPicture();
// False when the last frame stopped on an error: the panel still shows the
// frame before it.
bool LastFrameComplete();
// Draws one frame: clear, camera transform, scene (or the pick pass while
// Picking, which makes no picture), show it. A list error raised mid-frame
// leaves the GL state balanced (matrix stacks, render mode; Picking cleared
// as EndPick would) and propagates. Throws EListError.
void DrawFrame(int32_t panX, int32_t panY, int32_t rotX, int32_t rotY, int32_t rotZ, double zoom);
// DrawFrame with content() in place of the scene or the pick pass; the view
// benchmark draws its floor through it, so both pay for the same frame.
void DrawFrameWith(int32_t panX, int32_t panY, int32_t rotX, int32_t rotY, int32_t rotZ, double zoom,
                   const std::function<void()>& content);
// Picking: renders the face pass in selection mode around (x, y) (device
// pixels from P1's top-left corner); EndPick takes the first hit's name into
// SelectedId and redraws. Throw EListError as DrawFrame does.
void StartPick(int32_t x, int32_t y);
void EndPick();
