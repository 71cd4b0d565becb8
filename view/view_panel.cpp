#include "view_panel.h"

#include <QMouseEvent>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLFramebufferObject>
#include <QPainter>
#include <QResizeEvent>

#include "gl_state.h"

TViewPanel::TViewPanel(QWidget* parent) : QWidget(parent)
{
    // paintEvent covers every pixel itself.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

TViewPanel::~TViewPanel()
{
    if (Context) {
        makeCurrent();
        Back.reset();
        Meshes.reset();
        doneCurrent();
    }
}

// ---- the pointer and the size ----

void TViewPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    update();
    emit FramebufferResized();
}

bool TViewPanel::event(QEvent* event)
{
    // A move to a screen of another scale changes the size in device pixels
    // without a resize.
    if (event->type() == QEvent::ScreenChangeInternal) {
        update();
        emit FramebufferResized();
    }
    return QWidget::event(event);
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

QSize TViewPanel::DeviceSize() const
{
    // The size of the panel's framebuffer, as Qt makes it.
    return size() * devicePixelRatio();
}

// ---- the context ----

QSurfaceFormat ViewFormat()
{
    QSurfaceFormat format;
    format.setRenderableType(QSurfaceFormat::OpenGL);
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setSwapBehavior(QSurfaceFormat::DoubleBuffer);
    format.setRedBufferSize(8);
    format.setGreenBufferSize(8);
    format.setBlueBufferSize(8);
    format.setDepthBufferSize(32);
    format.setStencilBufferSize(0);
    return format;
}

QOpenGLContext* TViewPanel::context()
{
    if (!Context) {
        Surface = new QOffscreenSurface(nullptr, this);
        Surface->setFormat(ViewFormat());
        Surface->create();
        Context = new QOpenGLContext(this);
        Context->setFormat(ViewFormat());
        Context->create();
    }
    return Context;
}

void TViewPanel::makeCurrent()
{
    context()->makeCurrent(Surface);
}

void TViewPanel::doneCurrent()
{
    if (Context)
        Context->doneCurrent();
}

TContextCurrent::TContextCurrent(TViewPanel& panel)
    : Panel(panel), Before(QOpenGLContext::currentContext()),
      BeforeSurface(Before ? Before->surface() : nullptr)
{
    Panel.makeCurrent();
}

TContextCurrent::~TContextCurrent()
{
    if (Before && BeforeSurface)
        Before->makeCurrent(BeforeSurface);
    else
        Panel.doneCurrent();
}

void PopMatrixTo(GLenum depthQuery, int depth)
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
    glPolygonMode(GL_FRONT_AND_BACK, GL_LINE);
    glFrontFace(GL_CCW);
}

void LoadCamera(const TGLMatrix& projection, const TViewProjection& view)
{
    glViewport(0, 0, view.Width(), view.Height());
    glMatrixMode(GL_PROJECTION);
    glLoadMatrixd(projection.data());
    glMatrixMode(GL_MODELVIEW);
    glLoadMatrixd(view.ModelView().data());
}

// ---- starting over ----

void TViewPanel::Restart()
{
    // One context for the panel's life; every open starts it over from a
    // known state instead of making a new one.
    Made = true;
    ++RestartCount;
    ForgetMeshes();
    TContextCurrent current(*this);
    ResetContextState();
    // The panel shows black at once, whatever the first frame does.
    BindBackBuffer();
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    SwapBuffers();
}

void TViewPanel::ForgetMeshes()
{
    InParts.reset();
    Arrays.Forget();
    MeshesShow.reset();
    MeshDepth.reset();
    GlowsAt.reset();
}

// ---- the picture ----

QImage TViewPanel::grabFramebuffer() const
{
    const QSize size = DeviceSize();
    if (Picture.size() == size && Picture.devicePixelRatio() == devicePixelRatio())
        return Picture;
    // Nothing drawn yet: the panel's own colour until the first open. Around
    // a picture of another size (the panel changed size while frames could
    // not be drawn) black, the clear colour of every frame.
    QImage shown(size, QImage::Format_RGBA8888);
    shown.fill(Made || !Picture.isNull() ? QColor(Qt::black) : palette().color(backgroundRole()));
    QImage from = Picture;
    from.setDevicePixelRatio(1);
    QPainter(&shown).drawImage(0, 0, from);
    shown.setDevicePixelRatio(devicePixelRatio());
    return shown;
}

void TViewPanel::ShowBox(const std::optional<QRectF>& box)
{
    if (box == BoxShown)
        return;
    BoxShown = box;
    update();
}

void TViewPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, grabFramebuffer());
    if (BoxShown) {
        // In logical pixels, as the painter counts; a dashed line shows over
        // dark and light faces alike.
        const qreal ratio = devicePixelRatioF();
        const QRectF box(BoxShown->topLeft() / ratio, BoxShown->bottomRight() / ratio);
        painter.setPen(QPen(Qt::white, 0, Qt::DashLine));
        painter.drawRect(box);
    }
    emit frameSwapped();
}
