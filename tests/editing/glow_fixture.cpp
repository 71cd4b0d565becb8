#include "glow_fixture.h"

#include <QHBoxLayout>
#include <bit>
#include <fstream>

#include "M_Glunit.h"
#include "app_state.h"
#include "byte_order.h"
#include "conversions.h"
#include "file_util.h"
#include "model.h"
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
    P2 = new QWidget(this);
    layout->addWidget(P2, 1);
}

TGlowEditing::TGlowEditing(const std::vector<TMeshSpec>& meshes)
{
    // The program's start values (mesh mode, mesh 0, glow 0), before the
    // windows install themselves.
    ResetSharedState();
    OptBuilder b;
    for (const TMeshSpec& shape : meshes) {
        const NodeId mesh = b.Mesh();
        b.AddChild(mesh, b.Vertices(shape.Vertices));
        b.AddChild(mesh, b.LodWithFaces({100.0f}, {shape.Faces}));
        for (const GlowRecord& g : shape.Glows)
            b.AddChild(mesh, b.Glow(g));
        b.AddTopLevel(mesh);
    }
    Original = b.Build();

    Main = std::make_unique<TAnchorWindow>();
    Panel = std::make_unique<TEGlow>(Main->P2, History);
    Dialog = Panel->Dialog;
    // A redraw draws the frame as the main window's does, and the panel
    // follows the mesh the frame decoded.
    const auto redraw = [this] {
        RenderView();
        Panel->FollowCurMesh();
    };
    QObject::connect(Panel.get(), &TEGlow::RedrawRequested, Panel.get(), redraw, Qt::DirectConnection);
    QObject::connect(Dialog, &TMCh::RedrawRequested, Panel.get(), redraw, Qt::DirectConnection);
    QObject::connect(&History, &TGlowHistory::Changed, Panel.get(), redraw, Qt::DirectConnection);
    QObject::connect(Dialog, &TMCh::KeyboardReleased, Main.get(), [this] { Main->activateWindow(); });
    Main->resize(900, 500);
    Main->show();

    // The test's working copy.
    ProjectDir = Dir.Path();
    OptFileName = "model.opt";
    Path = ProjectDir + OptFileName;
    WriteFileBytes(Path, Original);
    ReadWorkingCopy();
    DecodeSelection();
    Dialogs.Messages.clear();
}

TGlowEditing::~TGlowEditing()
{
    Panel.reset();
    Main.reset();
    ResetSharedState();
}

std::vector<uint8_t> TGlowEditing::FileBytes() const
{
    return ReadBytes(Path);
}

std::vector<TEngineGlow*> TGlowEditing::AllGlows() const
{
    std::vector<TEngineGlow*> all;
    for (TOMesh& mesh : TheModel.Meshes)
        for (TEngineGlow& g : mesh.Glows)
            all.push_back(&g);
    return all;
}

void TGlowEditing::SelectMesh(int mesh)
{
    SelectMode = 0;
    SelectedId = mesh;
    DecodeSelection();
}

void TGlowEditing::SelectFace(int mesh, int face)
{
    SelectMode = 1;
    SelectedId = PackSelection(mesh, face);
    DecodeSelection();
}

void TGlowEditing::Patch(int32_t pos, const std::vector<uint8_t>& bytes) const
{
    {
        std::fstream file(SystemPath(Path), std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(pos);
        file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }
    // The file is taken for the one the editor last wrote, whose model
    // therefore no longer matches it.
    OpenModel.KnownCopy = TOpenFile(Path, TOpenFile::Reading, TLinks::Follow).Identity();
}
