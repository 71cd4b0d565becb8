#include "glow_fixture.h"

#include <QHBoxLayout>
#include <algorithm>
#include <bit>
#include <fstream>

#include "byte_order.h"
#include "conversions.h"
#include "copy_content.h"
#include "file_bytes.h"
#include "file_util.h"
#include "model.h"
#include "view_colors.h"
#include "working_copy.h"

using namespace optbuild;

GlowRecord SampleGlow(int n)
{
    GlowRecord g;
    g.Unused = 0x5A5A0000 + n;
    g.CoreColor = 0x80FF8000u + uint32_t(n);
    g.OuterColor = 0x11223344u + uint32_t(n) * 0x01010101u;
    const float f = float(n);
    g.MainVec = {1 + f, -2 - f, 0.5f + f};
    g.Center = {10 + f, 20 + f, -30 - f};
    g.Density0 = {0.5f, 0.25f, 1.0f};
    g.Density1 = {0.125f, 0.75f, 0.0f};
    g.Density2 = {0.01f * f, 0.375f, 0.625f};
    return g;
}

TMeshSpec SampleMesh(int glows, int first)
{
    TMeshSpec mesh;
    mesh.Vertices = {{0, 0, 0}, {2, 0, 0}, {0, 4, 0}};
    mesh.Faces = {Tri(0, 1, 2)};
    for (int i = 0; i < glows; ++i)
        mesh.Glows.push_back(SampleGlow(first + i));
    return mesh;
}

void PutField(std::vector<uint8_t>& bytes, const TEngineGlow& glow, TGlowField field, uint32_t word)
{
    PutUInt32LE(&bytes[size_t(glow.FilePos) + GlowWriteBackOffset + size_t(field)], word);
}

void PutField(std::vector<uint8_t>& bytes, const TEngineGlow& glow, TGlowField field, const TFloat3& v)
{
    const float xyz[3] = {v.X, v.Y, v.Z};
    for (int i = 0; i < 3; ++i)
        PutField(bytes, glow, TGlowField(field + 4 * i), std::bit_cast<uint32_t>(xyz[i]));
}

TAnchorWindow::TAnchorWindow()
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addSpacing(400);
    GlowPanelArea = new QWidget(this);
    layout->addWidget(GlowPanelArea, 1);
}

TGlowEditing::TGlowEditing(const std::vector<TMeshSpec>& meshes)
{
    // What stays from one test to the next in the process: as at program
    // start.
    DecimalSeparator = '.';
    OptBuilder b;
    for (const TMeshSpec& shape : meshes) {
        const NodeId mesh = b.Mesh();
        b.AddChild(mesh, b.Vertices(shape.Vertices));
        b.AddChild(mesh, b.LodWithFaces({100.0f}, {shape.Faces}));
        std::vector<NodeId> glows;
        for (const GlowRecord& g : shape.Glows)
            glows.push_back(b.Glow(g));
        if (shape.Listed.empty())
            for (const NodeId glow : glows)
                b.AddChild(mesh, glow);
        for (const int i : shape.Listed)
            b.AddChild(mesh, glows[size_t(i)]);
        b.AddTopLevel(mesh);
    }
    Original = b.Build();

    Main = std::make_unique<TAnchorWindow>();
    Panel = std::make_unique<TGlowPanel>(Main->GlowPanelArea, Doc);
    Dialog = Panel->Dialog;
    // No view here: a redraw is counted.
    const auto redraw = [this] { ++Redraws; };
    QObject::connect(Panel.get(), &TGlowPanel::RedrawRequested, Panel.get(), redraw, Qt::DirectConnection);
    QObject::connect(Dialog, &TValueDialog::RedrawRequested, Panel.get(), redraw, Qt::DirectConnection);
    QObject::connect(&Doc.History, &TGlowHistory::Changed, Panel.get(), redraw, Qt::DirectConnection);
    QObject::connect(Dialog, &TValueDialog::KeyboardReleased, Main.get(), [this] { Main->activateWindow(); });
    Main->resize(900, 500);
    Main->show();

    // The test's working copy.
    Doc.ProjectDir = Dir.Path();
    Doc.OptFileName = "model.opt";
    Path = Doc.WorkingCopyPath();
    WriteFileBytes(Path, Original);
    ReadWorkingCopy(Doc);
    Doc.Selection.Decode(Doc.Model);
    Dialogs.Messages.clear();
}

TGlowEditing::~TGlowEditing()
{
    Panel.reset();
    Main.reset();
}

std::vector<uint8_t> TGlowEditing::FileBytes() const
{
    return ReadBytes(Path);
}

std::vector<TEngineGlow*> TGlowEditing::AllGlows()
{
    std::vector<TEngineGlow*> all;
    for (TOMesh& mesh : Doc.Model.Meshes)
        for (TEngineGlow& g : mesh.Glows)
            all.push_back(&g);
    return all;
}

void TGlowEditing::SelectMesh(int mesh)
{
    Doc.Selection.SelectMode = 0;
    Doc.Selection.Select(mesh, Doc.Model);
}

void TGlowEditing::SelectFace(int mesh, int face)
{
    Doc.Selection.SelectMode = 1;
    Doc.Selection.Select(PackSelection(mesh, face), Doc.Model);
}

void TGlowEditing::Patch(int32_t pos, const std::vector<uint8_t>& bytes)
{
    {
        std::fstream file(SystemPath(Path), std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(pos);
        file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    // The file is taken for the one the editor last wrote, whose model
    // therefore no longer matches it.
    const TFileBytes file(Path);
    Doc.KnownCopy = TKnownCopy{file.Identity(), FrameOf(file.Bytes(), Doc.Model)};
}
