#include <QGuiApplication>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QPointer>

#include "M_GlState.h"
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
