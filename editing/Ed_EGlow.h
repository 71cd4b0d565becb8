#pragma once
// The engine glow panel: an always-on-top tool window laid over the main
// window's right-hand panel, showing and stepping through the glows of the
// current mesh.

#include <QWidget>
#include <cstdint>

class QLabel;

class TEGlow : public QWidget {
    Q_OBJECT
public:
    explicit TEGlow(QWidget* parent = nullptr);

    // Lays the panel over P2, fills it for CurMesh, then EditGlow := -1.
    void DisplayForm();
    // Puts the panel exactly over the client area of the main window's P2.
    void SetSize();
    // Refreshes the panel for CurMesh and redraws the view.
    void ShoGlow();
    // Fills the colour bars and value labels from glow EditGlow of CurMesh.
    void displayinfo();
    // A label's background becomes the RGB of colour word w (alpha not shown).
    void DspColor(uint32_t w, QLabel* label);
};

// The one glow panel; created after the main window.
extern TEGlow* EGlow;
