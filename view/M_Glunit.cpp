#include "M_Glunit.h"

#include <QMouseEvent>

#include "M_draw.h"
#include "app_state.h"

// Stand-in until the view is built: frames run the scene logic only.

TGLPanel* GLPanel = nullptr;
int32_t ViewWidth = 0, ViewHeight = 0;

TGLPanel::TGLPanel(QWidget* parent) : QOpenGLWidget(parent)
{
    GLPanel = this;
}

TGLPanel::~TGLPanel()
{
    if (GLPanel == this)
        GLPanel = nullptr;
}

void TGLPanel::initializeGL() {}
void TGLPanel::paintGL() {}

void TGLPanel::mousePressEvent(QMouseEvent* event)
{
    const qreal ratio = devicePixelRatioF();
    emit MouseDown(event->button(), event->buttons(), event->modifiers(), false,
                   int(event->position().x() * ratio), int(event->position().y() * ratio));
}

void TGLPanel::mouseDoubleClickEvent(QMouseEvent* event)
{
    const qreal ratio = devicePixelRatioF();
    emit MouseDown(event->button(), event->buttons(), event->modifiers(), true,
                   int(event->position().x() * ratio), int(event->position().y() * ratio));
}

void GLSetup()
{
    SceneExtent();
    ++GLMade;
    RenderView();
}

void GLKill() {}

void GLRestart()
{
    if (GLMade)
        GLKill();
    GLSetup();
}

void SceneExtent() {}

void RenderView()
{
    DrawFrame(PanX, PanY, RotX, RotY, RotZ, Zoom);
}

void DrawFrame(int32_t, int32_t, int32_t, int32_t, int32_t, double)
{
    if (Picking)
        DrawMeshes();
    else
        DrawScene();
}

void StartPick(int32_t, int32_t) {}

void EndPick()
{
    Picking = false;
    RenderView();
}
