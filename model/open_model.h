#pragma once
// The model opened for editing and what the editor keeps of it: the model and
// its one reader with the reader's bounds, the folders, the working copy and
// its identity, the selection, and a glow shown with values the model does
// not hold. The editor's document (editing/open_document.h) is one of these
// with its edit history; a fresh one is the state at program start. Nothing
// here knows of Qt.

#include <optional>
#include <string>

#include "copy_content.h"
#include "glow_preview.h"
#include "model.h"
#include "opt_file_io.h"
#include "selection.h"

struct TOpenModel {
    TModel Model;
    OPTInFile Reader;
    // Folders, each with a trailing path separator, and the file being edited.
    std::string AppDir;
    std::string ProjectDir;
    std::string DataDir;
    std::string OptFileName;  // file name only; the working copy is ProjectDir + OptFileName
    // The working copy as the editor last read or wrote it; empty before the
    // first read after a CopyOpt. Every write checks against it.
    std::optional<TKnownCopy> KnownCopy;
    TSelection Selection;
    TGlowPreview Preview;

    std::string WorkingCopyPath() const { return ProjectDir + OptFileName; }
    // The glow at `at` of Model. Throws the list errors.
    TEngineGlow& GlowAt(TGlowIndex at) { return Model.Meshes.Get(at.Mesh).Glows.Get(at.Glow); }
    const TEngineGlow& GlowAt(TGlowIndex at) const { return Model.Meshes.Get(at.Mesh).Glows.Get(at.Glow); }
    // The values the glow at `at` is shown with: the preview's or the model's.
    const TEngineGlow& ShownValues(TGlowIndex at) const { return Preview.Shown(Model, at); }
};
