#include "view_panel.h"

#include <GL/gl.h>

#include <QMouseEvent>
#include <QResizeEvent>
#include <QOpenGLFramebufferObject>
#include <algorithm>
#include <cmath>
#include <exception>
#include <vector>

#include "gl_state.h"
#include "scene_drawing.h"
#include "app_state.h"
#include "mesh_lines.h"
#include "model.h"
#include "view_colors.h"
#include "view_projection.h"
#include "view_state.h"

TViewPanel* GLPanel = nullptr;

// ---- P1 ----

TViewPanel::TViewPanel(QWidget* parent) : QWidget(parent)
{
    GLPanel = this;
    // paintEvent covers every pixel itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TViewPanel::~TViewPanel()
{
    if (GLPanel == this)
        GLPanel = nullptr;
    if (Context) {
        makeCurrent();
        Back.reset();
        Meshes.reset();
        doneCurrent();
    }
}

void TViewPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    OnResized();
}

bool TViewPanel::event(QEvent* event)
{
    // A move to a screen of another scale changes the size in device pixels
    // without a resize.
    if (event->type() == QEvent::ScreenChangeInternal)
        OnResized();
    return QWidget::event(event);
}

void TViewPanel::OnResized()
{
    if (GLPanel != this)
        return;
    makeCurrent();
    SetViewport(*this);
    update();
    emit FramebufferResized();
}

void TViewPanel::mousePressEvent(QMouseEvent* event)
{
    const qreal ratio = devicePixelRatioF();
    LastPointer = event->position() * ratio;
    emit MouseDown(event->button(), event->buttons(), event->modifiers(), false,
                   int(event->position().x() * ratio), int(event->position().y() * ratio));
}

void TViewPanel::mouseDoubleClickEvent(QMouseEvent* event)
{
    const qreal ratio = devicePixelRatioF();
    emit MouseDown(event->button(), event->buttons(), event->modifiers(), true,
                   int(event->position().x() * ratio), int(event->position().y() * ratio));
}

void TViewPanel::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF at = event->position() * devicePixelRatioF();
    const QPointF moved = at - LastPointer;
    LastPointer = at;
    emit PointerMoved(event->buttons(), event->modifiers(), at);
    emit Dragged(event->buttons(), moved.x(), moved.y());
}

void TViewPanel::mouseReleaseEvent(QMouseEvent* event)
{
    emit MouseUp(event->button(), event->modifiers(), event->position() * devicePixelRatioF());
}

void TViewPanel::wheelEvent(QWheelEvent* event)
{
    constexpr double NotchDelta = 120;
    if (event->angleDelta().y() != 0)
        emit WheelTurned(event->angleDelta().y() / NotchDelta);
}

// ---- fixed state ----

void PopMatrixTo(unsigned depthQuery, int depth)
{
    GLint current = 0;
    glGetIntegerv(depthQuery, &current);
    for (; current > depth; --current)
        glPopMatrix();
}

void ResetContextState()
{
    glRenderMode(GL_RENDER);
    for (GLenum mode : {GL_PROJECTION, GL_MODELVIEW}) {
        glMatrixMode(mode);
        PopMatrixTo(mode == GL_PROJECTION ? GL_PROJECTION_STACK_DEPTH : GL_MODELVIEW_STACK_DEPTH, 1);
        glLoadIdentity();
    }
    for (GLenum cap : {GL_DEPTH_TEST, GL_CULL_FACE, GL_LIGHTING, GL_BLEND, GL_LINE_SMOOTH, GL_POINT_SMOOTH,
                       GL_POLYGON_SMOOTH, GL_TEXTURE_2D, GL_SCISSOR_TEST})
        glDisable(cap);
    glPointSize(1);
    glLineWidth(1);
    glColor4f(1, 1, 1, 1);
}

void SetViewport(const TViewPanel& panel)
{
    // The size of the panel's framebuffer, as Qt makes it.
    const QSize size = panel.size() * panel.devicePixelRatio();
    ViewWidth = size.width();
    ViewHeight = size.height();
    glViewport(0, 0, ViewWidth, ViewHeight);
}

namespace {

// Nearest integer, ties to the even one (the default rounding mode).
int64_t RoundHalfEven(float value)
{
    const double r = std::nearbyint(double(value));
    return int64_t(std::clamp(r, double(INT32_MIN), double(INT32_MAX)));
}

// The bound a third further from zero than r (r div 3 truncates).
int32_t PushedOut(int64_t r)
{
    return static_cast<int32_t>(r + r / 3);
}

}  // namespace

void MultViewOrtho(bool mirrored)
{
    const TViewVolume v = ViewVolume(ViewMin, ViewMax);
    const double bottom = mirrored ? v.High : v.Low;
    const double top = mirrored ? v.Low : v.High;
    // Near stays the larger plane.
    glOrtho(v.Low, v.High, bottom, top, v.Depth, -v.Depth);
}

void SetOutlineMode()
{
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glFrontFace(GL_CCW);
}

// ---- context and camera ----

void SceneExtent()
{
    float max = -999999.0f;
    float min = 999999.0f;
    for (const TOMesh& mesh : TheModel.Meshes)
        for (const TVertex& v : mesh.Vertices)
            for (float c : {v.X, v.Y, v.Z}) {
                if (c > max)
                    max = c;
                if (c < min)
                    min = c;
            }
    ViewMax = PushedOut(RoundHalfEven(max));
    ViewMin = PushedOut(RoundHalfEven(min));
}

void GLSetup()
{
    // Qt keeps one context per panel for the panel's life; every open starts
    // it over from a known state instead of making a new one.
    if (GLPanel)
        GLPanel->Made = true;
    ForgetMeshPicture();
    TGLCurrent current;
    ResetContextState();
    if (GLPanel)
        SetViewport(*GLPanel);
    // The panel shows black at once, whatever the first frame does.
    if (TViewPanel* panel = TGLCurrent::Panel())
        panel->BindBackBuffer();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (TViewPanel* panel = TGLCurrent::Panel())
        panel->SwapBuffers();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    SceneExtent();
    MultViewOrtho(false);
    SetOutlineMode();
    ++GLMade;
    RenderView();
}

void GLKill()
{
    // Frames go to the hidden context until the next GLSetup; the panel keeps
    // showing what it shows.
    if (GLPanel)
        GLPanel->Made = false;
}

void GLRestart()
{
    if (GLMade)
        GLKill();
    GLSetup();
}

namespace {

int Deferring = 0;  // InOneFrame calls under way
bool FramePending = false;

void DrawPendingFrame()
{
    if (Deferring > 0 || !FramePending)
        return;
    FramePending = false;
    RenderView();
}

}  // namespace

void RenderView()
{
    if (Deferring > 0) {
        // What the frame would decode, the caller may read at once.
        DecodeSelection();
        FramePending = true;
        return;
    }
    DrawFrame(PanX, PanY, RotX, RotY, RotZ, Zoom);
}

void RenderGlowsChanged()
{
    RenderView();
}

void InOneFrame(const std::function<void()>& action)
{
    ++Deferring;
    try {
        action();
    } catch (...) {
        --Deferring;
        // The picture still follows what changed before the error, which is
        // the one to report: a frame that fails as well keeps the last
        // complete one on screen (LastFrameComplete).
        try {
            DrawPendingFrame();
        } catch (...) {
        }
        throw;
    }
    --Deferring;
    DrawPendingFrame();
}

void ForgetMeshPicture()
{
    ForgetMeshLines();
    if (GLPanel)
        GLPanel->ForgetMeshes();
}

namespace {

// Puts the GL state back in balance when a list error stops a frame: the
// model-view matrix pushed by the frame popped, and a pick in progress
// undone. Open primitives are ended by the drawing code itself. The half
// drawn back buffer is never shown.
class TFrameGuard {
public:
    explicit TFrameGuard(TViewPanel* panel) : Panel(panel)
    {
        glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &ModelViewDepth);
    }
    ~TFrameGuard()
    {
        if (std::uncaught_exceptions() <= Exceptions)
            return;
        ViewState.FrameComplete = false;
        glMatrixMode(GL_MODELVIEW);
        PopMatrixTo(GL_MODELVIEW_STACK_DEPTH, ModelViewDepth);
        if (Picking)
            AbortPick();
        if (Panel)
            Panel->DropBackBuffer();
    }
    TFrameGuard(const TFrameGuard&) = delete;
    TFrameGuard& operator=(const TFrameGuard&) = delete;

private:
    TViewPanel* Panel;
    int Exceptions = std::uncaught_exceptions();
    GLint ModelViewDepth = 1;
};

}  // namespace

namespace {

void ClearFrame()
{
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// content() under the camera transform, on the model-view stack.
void WithCamera(int32_t panX, int32_t panY, int32_t rotX, int32_t rotY, int32_t rotZ, double zoom,
                const std::function<void()>& content)
{
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glTranslatef(GLfloat(panX), GLfloat(panY), 0);
    glRotated(rotX, 1, 0, 0);
    glRotated(rotY, 0, 1, 0);
    glRotated(rotZ, 0, 0, 1);
    glScalef(GLfloat(zoom), GLfloat(zoom), GLfloat(zoom));
    content();
    glPopMatrix();
}

// Projection times model-view: model coordinates to clip coordinates.
TClipMatrix ClipMatrix()
{
    TClipMatrix p{}, mv{}, clip{};
    glGetDoublev(GL_PROJECTION_MATRIX, p.data());
    glGetDoublev(GL_MODELVIEW_MATRIX, mv.data());
    for (size_t column = 0; column < 4; ++column)
        for (size_t row = 0; row < 4; ++row)
            for (size_t k = 0; k < 4; ++k)
                clip[column * 4 + row] += p[k * 4 + row] * mv[column * 4 + k];
    return clip;
}

// The face pass in selection mode. It makes no picture: nothing is cleared
// or shown, and only the faces that can meet the pick square are sent.
void DrawPickPass(int32_t panX, int32_t panY, int32_t rotX, int32_t rotY, int32_t rotZ, double zoom)
{
    TGLCurrent current;
    TFrameGuard guard(nullptr);
    WithCamera(panX, panY, rotX, rotY, rotZ, zoom, [] {
        const TClipMatrix region = ClipMatrix();
        if (SelectMode == 0)
            DrawMeshes(&region);
        if (SelectMode == 1)
            DrawMeshes(&region);
    });
}

// The pixels content() draws, device pixels up from the bottom-left corner:
// the box of every vertex that feedback reports, widened by the largest point
// a glow draws. Null when it draws nothing, the whole viewport when the
// feedback does not fit or reports what it cannot place.
QRect DrawnBox(const std::function<void()>& content)
{
    // Kept from frame to frame: room for a few hundred glows with halos.
    static std::vector<GLfloat> feedback(1 << 17);
    glFeedbackBuffer(GLsizei(feedback.size()), GL_2D, feedback.data());
    glRenderMode(GL_FEEDBACK);
    try {
        content();
    } catch (...) {
        glRenderMode(GL_RENDER);
        throw;
    }
    const GLint count = glRenderMode(GL_RENDER);
    const QRect whole(0, 0, ViewWidth, ViewHeight);
    if (count < 0)
        return whole;
    float left = INFINITY, right = -INFINITY, bottom = INFINITY, top = -INFINITY;
    for (GLint at = 0; at < count;) {
        GLint vertices = 0;
        switch (GLint(feedback[size_t(at++)])) {
        case GL_PASS_THROUGH_TOKEN:
            ++at;
            continue;
        case GL_POINT_TOKEN:
        case GL_BITMAP_TOKEN:
        case GL_DRAW_PIXEL_TOKEN:
        case GL_COPY_PIXEL_TOKEN:
            vertices = 1;
            break;
        case GL_LINE_TOKEN:
        case GL_LINE_RESET_TOKEN:
            vertices = 2;
            break;
        case GL_POLYGON_TOKEN:
            vertices = at < count ? GLint(feedback[size_t(at++)]) : -1;
            break;
        default:
            return whole;
        }
        if (vertices < 0 || vertices > (count - at) / 2)
            return whole;
        for (; vertices > 0; --vertices, at += 2) {
            left = std::min(left, feedback[size_t(at)]);
            right = std::max(right, feedback[size_t(at)]);
            bottom = std::min(bottom, feedback[size_t(at + 1)]);
            top = std::max(top, feedback[size_t(at + 1)]);
        }
    }
    if (left > right)
        return {};
    const int margin = int(std::ceil(LargestGlowPoint / 2)) + 1;
    return QRect(QPoint(int(std::floor(left)) - margin, int(std::floor(bottom)) - margin),
                 QPoint(int(std::ceil(right)) + margin, int(std::ceil(top)) + margin)) &
           whole;
}

TMeshPicture CurrentMeshPicture(int32_t panX, int32_t panY, int32_t rotX, int32_t rotY, int32_t rotZ, double zoom)
{
    const TColorF& lines = ViewColors[ColMeshLines];
    const TColorF& selected = ViewColors[ColSelected];
    return {panX,        panY,    rotX,    rotY,       rotZ,     zoom,
            ViewMin,     ViewMax, ViewWidth, ViewHeight, SelectMode, CurMesh,
            CurFace,     {lines.Red, lines.Green, lines.Blue, selected.Red, selected.Green, selected.Blue},
            ViewOptions.Solid, ViewOptions.WholeModel};
}

// A frame on P1: the meshes' picture, kept or drawn anew, and the glows over
// it.
void DrawPanelFrame(TViewPanel& panel, int32_t panX, int32_t panY, int32_t rotX, int32_t rotY, int32_t rotZ,
                    double zoom)
{
    TFrameGuard guard(&panel);
    // From the start of an open until its first scene the model may have
    // been replaced under the same counts.
    if (!ViewReady)
        ForgetMeshPicture();
    DecodeSelection();
    const TMeshPicture picture = CurrentMeshPicture(panX, panY, rotX, rotY, rotZ, zoom);
    if (!panel.MeshesKept(picture)) {
        panel.BindMeshBuffer();
        ClearFrame();
        WithCamera(panX, panY, rotX, rotY, rotZ, zoom, DrawMeshPicture);
        panel.KeepMeshes(picture);
    }
    QRect glows;
    WithCamera(panX, panY, rotX, rotY, rotZ, zoom, [&glows] { glows = DrawnBox(DrawSceneGlows); });
    panel.BindBackBufferOverMeshes(glows);
    WithCamera(panX, panY, rotX, rotY, rotZ, zoom, DrawSceneGlows);
    glFlush();
    panel.SwapBuffers();
    ViewState.FrameComplete = true;
}

}  // namespace

void DrawFrame(int32_t panX, int32_t panY, int32_t rotX, int32_t rotY, int32_t rotZ, double zoom)
{
    if (Picking) {
        DrawPickPass(panX, panY, rotX, rotY, rotZ, zoom);
        return;
    }
    TGLCurrent current;
    GLint renderMode = GL_RENDER;
    glGetIntegerv(GL_RENDER_MODE, &renderMode);
    // Feedback wants the faces one by one, as the hidden context draws them.
    if (TViewPanel* panel = TGLCurrent::Panel(); panel && renderMode == GL_RENDER)
        DrawPanelFrame(*panel, panX, panY, rotX, rotY, rotZ, zoom);
    else
        DrawFrameWith(panX, panY, rotX, rotY, rotZ, zoom, DrawScene);
}

void DrawFrameWith(int32_t panX, int32_t panY, int32_t rotX, int32_t rotY, int32_t rotZ, double zoom,
                   const std::function<void()>& content)
{
    TGLCurrent current;
    TViewPanel* panel = TGLCurrent::Panel();
    TFrameGuard guard(panel);
    if (panel)
        panel->BindBackBuffer();
    ClearFrame();
    WithCamera(panX, panY, rotX, rotY, rotZ, zoom, content);
    glFlush();
    if (panel)
        panel->SwapBuffers();
    ViewState.FrameComplete = true;
}

bool LastFrameComplete()
{
    return ViewState.FrameComplete;
}
