#pragma once
// The engine glow panel: a tool window laid over its anchor (the main
// window's right-hand panel P2) that stays above the anchor's window, showing
// and stepping through the glows of the current mesh.

#include <QWidget>
#include <cstdint>
#include <functional>

#include "click_label.h"
#include "glow_history.h"

class QFrame;
class QLabel;
class QToolButton;
class TClickList;
class TMCh;

class TEGlow : public QWidget {
    Q_OBJECT
public:
    // anchor: the widget the panel is laid over; its window owns the panel.
    // history: where the glows' changes go; the panel follows every change.
    // The panel makes its edit dialog, the window it opens its items in.
    TEGlow(QWidget* anchor, TGlowHistory& history);
    ~TEGlow() override;

    // Lays the panel over P2, fills it for CurMesh, then EditGlow := -1.
    void DisplayForm();
    // Puts the panel exactly over the client area of the anchor.
    void SetSize();
    // Refreshes the panel for CurMesh and redraws the view.
    void ShoGlow();
    // ShoGlow when the panel shows and CurMesh is no longer the mesh it
    // describes: the panel's list and copy buttons act on CurMesh.
    void FollowCurMesh();
    // Fills the colour bars and value labels from glow EditGlow of CurMesh.
    void displayinfo();
    // A colour bar's background becomes the RGB of colour word w; its text,
    // in black or white against it, names the bar and shows w as AARRGGBB.
    void DspColor(uint32_t w, QLabel* label);

    // Button and list handlers.
    void SBUpClick();
    void SBCopyColorClick();
    void SBCopyVectorClick();
    void SB1Click();
    void SB2Click();
    void SBConeClick();
    void SBConeOFFClick();
    void LBRateClick();
    // Opens the edit dialog on the item selected in LB.
    void LBClick();
    // A click on a colour bar or a value line: selects its item in LB and
    // opens it, as a click on the item does.
    void OpenItem(int row);
    // Fill and show the edit dialog for a colour word or a vector.
    void ShoColor(uint32_t w, const QString& title);
    void ShoPoint(float x, float y, float z, const QString& title);
    // The edit dialog, above the panel.
    TMCh* const Dialog;

    // The edit dialog works on the glow the panel shows: once the panel has
    // moved to another glow (or none), an open dialog is hidden unwritten and
    // the pending marks are cleared; on the same glow it stays as it is.
    void KeepDialogOnShownGlow();

    // The button bar.
    QFrame* Panel1 = nullptr;
    QToolButton* SBUp = nullptr;
    QToolButton* SB1 = nullptr;
    QToolButton* SB2 = nullptr;
    QToolButton* SBCopyColor = nullptr;
    QToolButton* SBCopyVector = nullptr;
    QToolButton* SBCone = nullptr;
    QToolButton* SBConeOFF = nullptr;
    // "Editing Glow n".
    QLabel* P3 = nullptr;
    // The rest: item list, colour bars, value labels, movement rate.
    QFrame* P2 = nullptr;
    TClickList* LB = nullptr;
    TClickLabel* L1 = nullptr;
    TClickLabel* L3 = nullptr;
    TClickLabel* Lp = nullptr;
    TClickLabel* Lv = nullptr;
    TClickLabel* lxv = nullptr;
    TClickLabel* lyv = nullptr;
    TClickLabel* lzv = nullptr;
    QFrame* Panel2 = nullptr;
    TClickList* LBRate = nullptr;
    QLabel* Label1 = nullptr;

signals:
    // The view must be drawn anew. The window that creates the panel
    // connects it to its redraw with a direct connection, so the frame is
    // drawn (and an error it raises ends the handler) at the emit.
    void RedrawRequested();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* const Anchor;
    TGlowHistory& History;
    // SetSize ran before the window system had told the frame's size; the
    // fit is done again as soon as it is known.
    bool FrameUnknown = false;
    // The mesh the last ShoGlow described.
    int32_t ShownMesh = -1;

    void BuildButtonBar();
    void BuildValueArea();
    // Copies a value of the shown glow to every glow of the model.
    void CopyToAll(const char* name, const std::function<void(TEngineGlow&)>& change);
    QToolButton* SpeedButton(int left, const QIcon& icon, const char* hint, void (TEGlow::*handler)());
};

// The one glow panel; created after the main window.
extern TEGlow* EGlow;
