#pragma once
// The open document: the model opened for editing with everything the editor
// keeps of it (its reader, the folders, the working copy and its identity,
// the selection, the glow preview) and its edit history. The application makes
// one and hands it to the windows that show and change it; a fresh one is
// the state at program start.

#include "glow_history.h"
#include "open_model.h"

class TOpenDocument : public TOpenModel {
public:
    TOpenDocument() : History(*this) {}
    TOpenDocument(const TOpenDocument&) = delete;
    TOpenDocument& operator=(const TOpenDocument&) = delete;

    TGlowHistory History;
};
