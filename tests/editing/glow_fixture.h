#pragma once
// A working copy made by the OPT builder and read into a document of the
// test's own, plus the windows of the glow editing (a stand-in for the main
// window, panel, dialog), for the tests of the panel and the edit dialog.

#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "glow_panel.h"
#include "value_dialog.h"
#include "glow_record.h"
#include "open_document.h"
#include "opt_builder.h"
#include "scripted_dialogs.h"
#include "temp_dir.h"

struct TMeshSpec {
    std::vector<TVertex> Vertices;
    std::vector<optbuild::FaceRecord> Faces;
    std::vector<optbuild::GlowRecord> Glows;
    // The glow nodes as the mesh lists them, by index into Glows, a node
    // listed more than once as often as it stands here; empty: each once.
    std::vector<int> Listed;
};

// A glow with values that differ from glow to glow and from field to field.
optbuild::GlowRecord SampleGlow(int n);

// A mesh with one triangle and `glows` sample glows numbered from first.
TMeshSpec SampleMesh(int glows, int first = 0);

// Where each field lies in the 68 bytes the write-back puts at FilePos + 4.
enum TGlowField : int {
    CoreField = glow_layout::CoreColor,
    OuterField = glow_layout::OuterColor,
    VectorField = glow_layout::MainVec,
    CenterField = glow_layout::Center,
    Density0Field = glow_layout::Density0,
    Density1Field = glow_layout::Density1,
    Density2Field = glow_layout::Density2,
};

// Sets one field of glow's block in a copy of a file's bytes, so that an
// expected file is the original with only the intended field replaced.
void PutField(std::vector<uint8_t>& bytes, const TEngineGlow& glow, TGlowField field, uint32_t word);
void PutField(std::vector<uint8_t>& bytes, const TEngineGlow& glow, TGlowField field, const TFloat3& v);

// Stands in for the main window: a window whose right-hand part GlowPanelArea grows with
// it, for the panel to be laid over.
class TAnchorWindow : public QWidget {
public:
    TAnchorWindow();
    QWidget* GlowPanelArea = nullptr;
};

class TGlowEditing {
public:
    // Writes the model into a fresh folder as the document's ProjectDir +
    // "model.opt", reads it into the document's model as the working copy and
    // builds the windows over the document.
    explicit TGlowEditing(const std::vector<TMeshSpec>& meshes);
    ~TGlowEditing();

    std::vector<uint8_t> FileBytes() const;
    // Every glow of the model, in list order.
    std::vector<TEngineGlow*> AllGlows();
    // Selects mesh `mesh` (mesh mode) or face `face` of it (face mode).
    void SelectMesh(int mesh);
    void SelectFace(int mesh, int face);
    // Overwrites the bytes of the working copy at pos behind the model's
    // back: the editor takes the file for the one it last wrote and writes
    // over these bytes.
    void Patch(int32_t pos, const std::vector<uint8_t>& bytes);

    TempDir Dir;
    std::string Path;
    std::vector<uint8_t> Original;
    TScriptedDialogs Dialogs;
    TOpenDocument Doc;
    // Frames the panel and the dialog asked for.
    int Redraws = 0;
    std::unique_ptr<TAnchorWindow> Main;
    std::unique_ptr<TGlowPanel> Panel;
    TValueDialog* Dialog = nullptr;  // the panel's
};
