#include "glow_fixture.h"

#include <cstring>
#include <fstream>

#include "app_state.h"
#include "conversions.h"
#include "model.h"
#include "opt_file_io.h"

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

std::vector<uint8_t> WriteBackBytes(const TEngineGlow& glow)
{
    std::vector<uint8_t> out;
    const auto put = [&out](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out.push_back(uint8_t(v >> (8 * i)));
    };
    const auto putFloat = [&put](float f) {
        uint32_t v;
        std::memcpy(&v, &f, 4);
        put(v);
    };
    put(glow.CoreColor);
    put(glow.OuterColor);
    for (const TFloat3* v : {&glow.MainVec, &glow.Center, &glow.Density0, &glow.Density1, &glow.Density2}) {
        putFloat(v->X);
        putFloat(v->Y);
        putFloat(v->Z);
    }
    return out;
}

TGlowEditing::TGlowEditing(const std::vector<TMeshSpec>& meshes)
{
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

    // The windows first: the main window sets its own start values and
    // folders when it is created and shown; the test's state comes after.
    Main = std::make_unique<TMe>();
    Panel = std::make_unique<TEGlow>();
    Dialog = std::make_unique<TMCh>();
    Main->resize(900, 500);
    Main->show();

    ProjectDir = Dir.Path();
    OptFileName = "model.opt";
    Path = ProjectDir + OptFileName;
    WriteFileBytes(Path, Original);
    TheReader.ReadOpt(Path);
    DecimalSeparator = '.';
    RotStep = 4;
    SelectMode = 0;
    SelectedId = 0;
    DecodeSelection();
    EditGlow = 0;
    DialogGlow = nullptr;
    ClearPendingMarks();
    Dialogs.Messages.clear();
}

TGlowEditing::~TGlowEditing()
{
    Dialog.reset();
    Panel.reset();
    Main.reset();
    DialogGlow = nullptr;
    TheModel.Clear();
    DecimalSeparator = '.';
}

std::vector<uint8_t> TGlowEditing::FileBytes() const
{
    return ReadBytes(Path);
}

std::vector<uint8_t> TGlowEditing::Expected(const std::vector<const TEngineGlow*>& written) const
{
    std::vector<uint8_t> bytes = Original;
    for (const TEngineGlow* g : written) {
        const auto block = WriteBackBytes(*g);
        std::copy(block.begin(), block.end(), bytes.begin() + g->FilePos + 4);
    }
    return bytes;
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
    std::fstream file(Path, std::ios::in | std::ios::out | std::ios::binary);
    file.seekp(pos);
    file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}
