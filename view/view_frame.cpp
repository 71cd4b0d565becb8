// One frame of the view, and the pick pass that finds what a click hits.

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include <QOpenGLFramebufferObject>

#include "gl_state.h"
#include "scene_drawing.h"
#include "view_panel.h"

namespace {

void ClearFrame()
{
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}

// The pixels content() draws, device pixels up from the bottom-left corner:
// the box of every vertex that feedback reports, widened by the largest point
// a glow draws. Null when it draws nothing, the whole viewport when the
// feedback does not fit or reports what it cannot place.
QRect DrawnBox(std::vector<GLfloat>& feedback, const QSize& viewport, const std::function<void()>& content)
{
    glFeedbackBuffer(GLsizei(feedback.size()), GL_2D, feedback.data());
    glRenderMode(GL_FEEDBACK);
    try {
        content();
    } catch (...) {
        glRenderMode(GL_RENDER);
        throw;
    }
    const GLint count = glRenderMode(GL_RENDER);
    const QRect whole(QPoint(0, 0), viewport);
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

TMeshPicture PictureOf(const TScene& scene, const TCamera& camera, const QSize& viewport)
{
    const TColorF& lines = scene.Colors[ColMeshLines];
    const TColorF& selected = scene.Colors[ColSelected];
    const TSelection& s = scene.Selection;
    return {camera.PanX,
            camera.PanY,
            camera.RotX,
            camera.RotY,
            camera.RotZ,
            camera.Zoom,
            camera.Pivot,
            camera.ViewMin,
            camera.ViewMax,
            viewport.width(),
            viewport.height(),
            s.SelectMode,
            s.CurMesh,
            s.CurFace,
            {lines.Red, lines.Green, lines.Blue, selected.Red, selected.Green, selected.Blue},
            scene.Options.Solid,
            scene.Options.WholeModel};
}

}  // namespace

void TViewPanel::Draw(const TScene& scene, const TCamera& camera)
{
    if (!Made)
        return;
    TContextCurrent current(*this);
    GLint renderMode = GL_RENDER;
    glGetIntegerv(GL_RENDER_MODE, &renderMode);
    // Feedback wants the faces one by one.
    if (renderMode == GL_RENDER)
        DrawPanelFrame(scene, camera);
    else
        DrawWith(camera, [&](const TViewProjection& view) { DrawScene(scene, view); });
}

void TViewPanel::InFrame(const std::function<void()>& frame, bool whole)
{
    // A list error stops the frame: the half drawn back buffer is never shown,
    // and the GL state is put back in balance for the next one. Open
    // primitives are ended by the drawing code itself.
    GLint depth = 1;
    glGetIntegerv(GL_MODELVIEW_STACK_DEPTH, &depth);
    try {
        frame();
    } catch (...) {
        FrameComplete = false;
        InParts.reset();
        glMatrixMode(GL_MODELVIEW);
        PopMatrixTo(GL_MODELVIEW_STACK_DEPTH, depth);
        DropBackBuffer();
        throw;
    }
    if (whole)
        FrameComplete = true;
}

void TViewPanel::DrawWith(const TCamera& camera, const std::function<void(const TViewProjection&)>& content)
{
    if (!Made)
        return;
    TContextCurrent current(*this);
    const TViewProjection view = Projection(camera);
    InFrame([&] {
        BindBackBuffer();
        ClearFrame();
        LoadCamera(view.Projection(), view);
        content(view);
        glFlush();
        SwapBuffers();
    });
}

void TViewPanel::DrawPanelFrame(const TScene& scene, const TCamera& camera)
{
    const TViewProjection view = Projection(camera);
    InFrame([&] {
        KeepMeshPicture(scene, view, PictureOf(scene, camera, DeviceSize()));
        ShowGlowsOverMeshes(scene, view);
    });
}

void TViewPanel::ShowGlowsOverMeshes(const TScene& scene, const TViewProjection& view)
{
    LoadCamera(view.Projection(), view);
    const QRect glows = DrawnBox(Feedback, DeviceSize(), [&] { DrawSceneGlows(scene, view); });
    BindBackBufferOverMeshes(glows);
    DrawSceneGlows(scene, view);
    glFlush();
    SwapBuffers();
}

TPartDrawn TViewPanel::DrawPart(const TScene& scene, const TCamera& camera)
{
    if (!Made)
        return TPartDrawn::Shown;
    TContextCurrent current(*this);
    const TMeshPicture picture = PictureOf(scene, camera, DeviceSize());
    if (InParts && InParts->Picture != picture) {
        const bool mayStartOver = size_t(PartsSinceShown) < InParts->Plan.Parts.size();
        const bool resized = InParts->Picture.Width != picture.Width || InParts->Picture.Height != picture.Height;
        // A frame of the old size is of no use: a window being resized gets
        // whole frames, as it did before frames came in parts.
        if (resized && !mayStartOver) {
            DrawPanelFrame(scene, camera);
            return TPartDrawn::Shown;
        }
        if (resized || mayStartOver)
            InParts.reset();
    }
    if (!InParts && MeshesKept(picture)) {
        DrawPanelFrame(scene, camera);
        return TPartDrawn::Shown;
    }
    InFrame(
        [&] {
            if (!InParts) {
                TMeshPlan plan = PlanMeshPicture(scene, Arrays, FrameParts);
                BindMeshBuffer();
                ClearFrame();
                InParts.emplace(TFrameInParts{picture, Projection(camera), std::move(plan)});
            } else {
                Meshes->bind();
            }
            const TViewProjection& view = InParts->View;
            LoadCamera(view.Projection(), view);
            DrawMeshPart(scene.Model, InParts->Plan, InParts->Drawn++, view, Arrays);
            ++PartsSinceShown;
            glFlush();
        },
        false);
    if (InParts->Drawn < InParts->Plan.Parts.size()) {
        DropBackBuffer();  // nothing bound between parts
        return TPartDrawn::Drawing;
    }
    const TFrameInParts done = std::move(*InParts);
    InParts.reset();
    KeepMeshes(done.Picture);
    InFrame([&] { ShowGlowsOverMeshes(scene, done.View); });
    return done.Picture == picture ? TPartDrawn::Shown : TPartDrawn::ShownBehind;
}

void TViewPanel::KeepMeshPicture(const TScene& scene, const TViewProjection& view, const TMeshPicture& picture)
{
    if (MeshesKept(picture))
        return;
    BindMeshBuffer();
    ClearFrame();
    LoadCamera(view.Projection(), view);
    DrawMeshPicture(scene, view, Arrays);
    KeepMeshes(picture);
}

std::shared_ptr<const TSeenDepth> TViewPanel::SeenDepth(const TScene& scene, const TCamera& camera)
{
    if (!Made || !scene.Options.Solid)
        return nullptr;
    const TMeshPicture picture = PictureOf(scene, camera, DeviceSize());
    if (MeshDepth && MeshesKept(picture))
        return MeshDepth;
    TContextCurrent current(*this);
    const TViewProjection view = Projection(camera);
    try {
        KeepMeshPicture(scene, view, picture);
    } catch (...) {
        // Nothing is kept of a picture stopped half drawn.
        DropBackBuffer();
        throw;
    }
    int bits = 0;
    std::vector<float> depth = ReadMeshDepth(bits);
    MeshDepth = std::make_shared<const TSeenDepth>(view, std::move(depth), bits);
    return MeshDepth;
}

std::optional<int32_t> TViewPanel::PickFace(const TScene& scene, const TCamera& camera, int x, int y)
{
    if (!Made)
        return std::nullopt;
    TContextCurrent current(*this);
    const TViewProjection view = Projection(camera);
    // Selection mode makes no picture: nothing is cleared or shown, and only
    // the faces that can meet the pick square are sent.
    std::array<GLuint, 2048> hits{};
    glSelectBuffer(GLsizei(hits.size()), hits.data());
    glRenderMode(GL_SELECT);
    const TGLMatrix pick = view.PickProjection(x, y, PickSquare);
    LoadCamera(pick, view);
    glInitNames();
    glPushName(0);
    const TGLMatrix region = pick * view.ModelView();
    try {
        DrawMeshes(scene, &region);
    } catch (...) {
        glRenderMode(GL_RENDER);
        throw;
    }
    // A hit record: the count of names, two depths, then the names.
    if (glRenderMode(GL_RENDER) > 0)
        return int32_t(hits[3]);
    return std::nullopt;
}
