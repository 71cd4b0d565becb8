#pragma once
// The OpenGL view: the context on the main window's view panel P1, the
// orthographic projection fitted to the model, the camera transform of every
// frame, and picking by mouse click.
//
// Frames are drawn on demand only, synchronously, inside the handler that asks
// for one (RenderView). Qt's own repaints re-show the last frame and change no
// state.

#include <QOpenGLWidget>
#include <cstdint>

// P1: the view panel. It owns the GL context.
class TGLPanel : public QOpenGLWidget {
    Q_OBJECT
public:
    explicit TGLPanel(QWidget* parent = nullptr);
    ~TGLPanel() override;

    // True from GLSetup to GLKill: frames go to this panel's context.
    bool ContextMade() const { return Made; }
    // Called by the frame code: the panel's framebuffer now holds a whole
    // frame, to be shown at the next repaint.
    void FrameDrawn();

signals:
    // A mouse button went down at (x, y): device pixels from the panel's
    // top-left corner. doubleClick marks the second press of a double click.
    void MouseDown(Qt::MouseButton button, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers,
                   bool doubleClick, int x, int y);

protected:
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    friend void GLSetup();
    friend void GLKill();
    bool Made = false;        // GLSetup has set the fixed state up on this context
    bool HoldsFrame = false;  // the framebuffer holds the last frame drawn
};

// The panel the view functions below work on; set by TGLPanel's constructor.
extern TGLPanel* GLPanel;

// Client size of P1 in device pixels: taken by GLSetup, and again at every
// resize of P1, together with the viewport.
extern int32_t ViewWidth, ViewHeight;

// The selection buffer of picking, as registered with OpenGL.
inline constexpr int SelectBufSize = 2048;
extern unsigned int SelectBuf[SelectBufSize];

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
    static TGLPanel* Panel();
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
// Draws one frame with the current camera.
void RenderView();
// Draws one frame: clear, camera transform, scene (or the pick pass while
// Picking), show it. A list error raised mid-frame leaves the GL state
// balanced (matrix stacks, render mode; Picking cleared as EndPick would) and
// propagates. Throws EListError.
void DrawFrame(int32_t panX, int32_t panY, int32_t rotX, int32_t rotY, int32_t rotZ, double zoom);
// Picking: renders the face pass in selection mode around (x, y) (device
// pixels from P1's top-left corner); EndPick takes the first hit's name into
// SelectedId and redraws. Throw EListError as DrawFrame does.
void StartPick(int32_t x, int32_t y);
void EndPick();
