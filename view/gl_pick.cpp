#include <GL/gl.h>
#include <GL/glu.h>

#include "gl_state.h"
#include "view_panel.h"
#include "app_state.h"
#include "view_state.h"

unsigned int SelectBuf[SelectBufSize];

namespace {
// Depth of the projection stack before StartPick pushed the pick projection.
GLint PickBaseDepth = 1;
}  // namespace

void StartPick(int32_t x, int32_t y)
{
    TGLCurrent current;
    glSelectBuffer(SelectBufSize, SelectBuf);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glMatrixMode(GL_PROJECTION);
    glGetIntegerv(GL_PROJECTION_STACK_DEPTH, &PickBaseDepth);
    glPushMatrix();
    glRenderMode(GL_SELECT);
    glLoadIdentity();
    gluPickMatrix(x, y, PickSquare, PickSquare, viewport);
    MultViewOrtho(true);
    glInitNames();
    glPushName(0);
    // At once, even inside InOneFrame: the pass is no frame to put off.
    DrawFrame(PanX, PanY, RotX, RotY, RotZ, Zoom);
}

void EndPick()
{
    TGLCurrent current;
    const GLint hits = glRenderMode(GL_RENDER);
    if (hits > 0 && Picking)
        SelectedId = static_cast<int32_t>(SelectBuf[3]);
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    Picking = false;
    RenderView();
}

void AbortPick()
{
    glRenderMode(GL_RENDER);
    glMatrixMode(GL_PROJECTION);
    PopMatrixTo(GL_PROJECTION_STACK_DEPTH, PickBaseDepth);
    glMatrixMode(GL_MODELVIEW);
    Picking = false;
}
