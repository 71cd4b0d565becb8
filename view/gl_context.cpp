#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QOpenGLFramebufferObject>
#include <QPointer>

#include "gl_state.h"
#include "M_Glunit.h"

namespace {

int Depth = 0;
TGLPanel* Target = nullptr;

// The hidden context that takes frames while P1 has none set up yet: the
// frame's logic (selection decoding, list errors, ViewReady) runs as always,
// and P1 keeps showing its face colour.
QPointer<QOpenGLContext> Hidden;
QPointer<QOffscreenSurface> HiddenSurface;

void MakeHiddenCurrent()
{
    if (!Hidden) {
        HiddenSurface = new QOffscreenSurface(nullptr, qApp);
        HiddenSurface->setFormat(ViewFormat());
        HiddenSurface->create();
        Hidden = new QOpenGLContext(qApp);
        Hidden->setFormat(ViewFormat());
        Hidden->create();
    }
    Hidden->makeCurrent(HiddenSurface);
}

}  // namespace

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

TGLCurrent::TGLCurrent()
{
    if (Depth++ > 0)
        return;
    Target = GLPanel && GLPanel->ContextMade() && GLPanel->context() ? GLPanel : nullptr;
    if (Target)
        Target->makeCurrent();
    else
        MakeHiddenCurrent();
}

TGLCurrent::~TGLCurrent()
{
    if (--Depth > 0)
        return;
    if (Target)
        Target->doneCurrent();
    else if (Hidden)
        Hidden->doneCurrent();
    Target = nullptr;
}

TGLPanel* TGLCurrent::Panel()
{
    return Target;
}

// ---- P1's two buffers ----

void TGLPanel::BindBackBuffer()
{
    const QSize size = this->size() * devicePixelRatio();
    if (!Back || Back->size() != size)
        Back = std::make_unique<QOpenGLFramebufferObject>(size, QOpenGLFramebufferObject::Depth);
    Back->bind();
}

void TGLPanel::SwapBuffers()
{
    // A pass in selection or feedback mode makes no picture to show.
    GLint renderMode = GL_RENDER;
    glGetIntegerv(GL_RENDER_MODE, &renderMode);
    if (renderMode == GL_RENDER) {
        std::swap(Back, Front);
        ++Shown;
        update();
    }
    context()->functions()->glBindFramebuffer(GL_FRAMEBUFFER, defaultFramebufferObject());
}

bool TGLPanel::MeshesKept(const TMeshPicture& picture) const
{
    return Meshes && MeshesShow == picture && Meshes->size() == size() * devicePixelRatio();
}

void TGLPanel::BindMeshBuffer()
{
    MeshesShow.reset();
    const QSize size = this->size() * devicePixelRatio();
    if (!Meshes || Meshes->size() != size)
        Meshes = std::make_unique<QOpenGLFramebufferObject>(size, QOpenGLFramebufferObject::Depth);
    Meshes->bind();
}

void TGLPanel::KeepMeshes(const TMeshPicture& picture)
{
    MeshesShow = picture;
}

void TGLPanel::ForgetMeshes()
{
    MeshesShow.reset();
}

void TGLPanel::BindBackBufferOverMeshes()
{
    BindBackBuffer();
    QOpenGLExtraFunctions* gl = context()->extraFunctions();
    gl->glBindFramebuffer(GL_READ_FRAMEBUFFER, Meshes->handle());
    gl->glBindFramebuffer(GL_DRAW_FRAMEBUFFER, Back->handle());
    const QSize size = Back->size();
    gl->glBlitFramebuffer(0, 0, size.width(), size.height(), 0, 0, size.width(), size.height(), GL_COLOR_BUFFER_BIT,
                          GL_NEAREST);
    Back->bind();
}

void TGLPanel::DropBackBuffer()
{
    context()->functions()->glBindFramebuffer(GL_FRAMEBUFFER, defaultFramebufferObject());
}

void TGLPanel::paintGL()
{
    // Nothing drawn yet: the panel's own colour until the first open. Around
    // a front buffer of another size (the panel changed size while frames
    // could not be drawn) black, the clear colour of every frame.
    const QColor color = Made || Front ? QColor(Qt::black) : palette().color(backgroundRole());
    glClearColor(GLclampf(color.redF()), GLclampf(color.greenF()), GLclampf(color.blueF()), 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    if (!Front)
        return;
    // The front buffer unscaled, at the panel's top-left corner.
    const QSize to = size() * devicePixelRatio();
    const QSize from = Front->size();
    const int dy = to.height() - from.height();
    QOpenGLExtraFunctions* gl = context()->extraFunctions();
    gl->glBindFramebuffer(GL_READ_FRAMEBUFFER, Front->handle());
    gl->glBindFramebuffer(GL_DRAW_FRAMEBUFFER, defaultFramebufferObject());
    gl->glBlitFramebuffer(0, 0, from.width(), from.height(), 0, dy, from.width(), dy + from.height(),
                          GL_COLOR_BUFFER_BIT, GL_NEAREST);
    gl->glBindFramebuffer(GL_FRAMEBUFFER, defaultFramebufferObject());
}
