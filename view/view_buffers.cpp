// The panel's buffers: the back buffer each frame is drawn into, the kept
// picture of the meshes, and the picture shown.

#include <cstring>

#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QOpenGLFramebufferObject>

#include "gl_state.h"
#include "view_panel.h"

void TViewPanel::BindBackBuffer()
{
    const QSize size = DeviceSize();
    if (!Back || Back->size() != size)
        Back = std::make_unique<QOpenGLFramebufferObject>(size, QOpenGLFramebufferObject::Depth);
    Back->bind();
    Changing = QRect(QPoint(0, 0), size);
    GlowsAt.reset();
    GlowsDrawn.reset();
}

void TViewPanel::SwapBuffers()
{
    // A pass in selection or feedback mode makes no picture to show.
    GLint renderMode = GL_RENDER;
    glGetIntegerv(GL_RENDER_MODE, &renderMode);
    if (renderMode == GL_RENDER) {
        // Blending leaves alpha below one where it drew; the picture is
        // opaque, as a window's framebuffer shows it.
        GLfloat clear[4] = {};
        glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
        glColorMask(GL_FALSE, GL_FALSE, GL_FALSE, GL_TRUE);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        glColorMask(GL_TRUE, GL_TRUE, GL_TRUE, GL_TRUE);
        glClearColor(clear[0], clear[1], clear[2], clear[3]);
        const QSize size = Back->size();
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        // OpenGL's rows go up from the bottom.
        if (Changing == QRect(QPoint(0, 0), size)) {
            QImage picture(size, QImage::Format_RGBA8888);
            glReadPixels(0, 0, size.width(), size.height(), GL_RGBA, GL_UNSIGNED_BYTE, picture.bits());
            Picture = std::move(picture).mirrored();
            Picture.setDevicePixelRatio(devicePixelRatio());
            update();
        } else if (!Changing.isEmpty()) {
            QImage part(Changing.size(), QImage::Format_RGBA8888);
            glReadPixels(Changing.x(), Changing.y(), Changing.width(), Changing.height(), GL_RGBA, GL_UNSIGNED_BYTE,
                         part.bits());
            const int top = size.height() - 1 - Changing.y();
            for (int row = 0; row < part.height(); ++row)
                std::memcpy(Picture.scanLine(top - row) + Changing.x() * 4, part.constScanLine(row),
                            size_t(part.bytesPerLine()));
            const QRect shown(Changing.x(), size.height() - Changing.bottom() - 1, Changing.width(),
                              Changing.height());
            update(QRectF(QRectF(shown).topLeft() / devicePixelRatio(), QRectF(shown).size() / devicePixelRatio())
                       .toAlignedRect());
        }
        GlowsAt = GlowsDrawn;
        ++Shown;
        PartsSinceShown = 0;
    }
    glDisable(GL_SCISSOR_TEST);
    context()->functions()->glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

bool TViewPanel::MeshesKept(const TMeshPicture& picture) const
{
    return Meshes && MeshesShow == picture && Meshes->size() == DeviceSize();
}

void TViewPanel::BindMeshBuffer()
{
    // Whatever was being drawn into it in parts is drawn over.
    InParts.reset();
    MeshesShow.reset();
    MeshDepth.reset();
    GlowsAt.reset();
    const QSize size = DeviceSize();
    if (!Meshes || Meshes->size() != size)
        Meshes = std::make_unique<QOpenGLFramebufferObject>(size, QOpenGLFramebufferObject::Depth);
    Meshes->bind();
}

void TViewPanel::KeepMeshes(const TMeshPicture& picture)
{
    MeshesShow = picture;
}

std::vector<float> TViewPanel::ReadMeshDepth(int& bits)
{
    Meshes->bind();
    const QSize size = Meshes->size();
    std::vector<float> depth(size_t(size.width()) * size_t(size.height()));
    GLint depthBits = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depthBits);
    bits = depthBits;
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, size.width(), size.height(), GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    context()->functions()->glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return depth;
}

void TViewPanel::BindBackBufferOverMeshes(const QRect& glows)
{
    const QSize size = Meshes->size();
    // Back keeps the last frame of glows over these meshes: elsewhere than
    // where its glows were or this frame's will be, it is this frame too.
    const bool lastOverMeshes = GlowsAt && Back && Back->size() == size && Picture.size() == size &&
                                Picture.devicePixelRatio() == devicePixelRatio();
    const QRect last = lastOverMeshes ? *GlowsAt : QRect();
    BindBackBuffer();
    if (lastOverMeshes)
        Changing = (last | glows) & Changing;
    GlowsDrawn = glows;
    QOpenGLExtraFunctions* gl = context()->extraFunctions();
    gl->glBindFramebuffer(GL_READ_FRAMEBUFFER, Meshes->handle());
    gl->glBindFramebuffer(GL_DRAW_FRAMEBUFFER, Back->handle());
    const QRect& c = Changing;
    gl->glBlitFramebuffer(c.left(), c.top(), c.right() + 1, c.bottom() + 1, c.left(), c.top(), c.right() + 1,
                          c.bottom() + 1, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    Back->bind();
    // Back must stay the picture outside the box, which the picture does not
    // take again: whatever a driver draws beyond the box's margin is cut.
    glScissor(c.x(), c.y(), c.width(), c.height());
    glEnable(GL_SCISSOR_TEST);
}

void TViewPanel::DropBackBuffer()
{
    GlowsAt.reset();
    glDisable(GL_SCISSOR_TEST);
    context()->functions()->glBindFramebuffer(GL_FRAMEBUFFER, 0);
}
