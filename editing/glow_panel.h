#pragma once
// The engine glow panel: a tool window laid over its anchor (the main
// window's right-hand area) that stays above the anchor's window, showing and
// stepping through the glows of the current mesh.

#include <QWidget>
#include <cstdint>
#include <functional>

#include "click_label.h"
#include "glow_history.h"
#include "scene.h"

class QFrame;
class QLabel;
class QToolButton;
class TClickList;
class TOpenDocument;
class TValueDialog;

class TGlowPanel : public QWidget {
    Q_OBJECT
public:
    // anchor: the widget the panel is laid over; its window owns the panel.
    // document: the glows shown, and the history their changes go through;
    // the panel follows every change. The panel makes its edit dialog, the
    // window it opens its items in.
    TGlowPanel(QWidget* anchor, TOpenDocument& document);

    // Which glows the view draws, as the panel and its buttons say.
    TGlowDisplay Display() const;
    // Degrees one key press turns, as chosen in the panel's list.
    int MovementRate() const { return Rate; }

    // Lays the panel over the anchor, fills it for CurMesh, then EditGlow := -1.
    void ShowForNewModel();
    // Puts the panel exactly over the client area of the anchor.
    void FitOverAnchor();
    // Refreshes the panel for CurMesh. Draws nothing: whoever moved the
    // selection draws the frame.
    void ShowGlow();
    // ShowGlow when the panel shows and CurMesh is no longer the mesh it
    // describes: the panel's list and copy buttons act on CurMesh.
    void FollowCurMesh();
    // Fills the colour bars and value labels from glow EditGlow of CurMesh.
    void ShowGlowValues();
    // A colour bar's background becomes the RGB of colour word w; its text,
    // in black or white against it, names the bar and shows w as AARRGGBB.
    void ShowColorBar(uint32_t w, QLabel* label);

    // Button and list handlers.
    void StepToNextGlow();
    void CopyColorToAll();
    void CopyVectorToAll();
    // A display button was pressed: the view shows the new choice.
    void DisplayChoiceClicked();
    void ChooseMovementRate();
    // Opens the edit dialog on the item selected in ItemList.
    void OpenSelectedItem();
    // A click on a colour bar or a value line: selects its item in ItemList and
    // opens it, as a click on the item does.
    void OpenItem(int row);
    // The edit dialog, above the panel. It works on the glow the panel shows
    // and the glows selected with it, and follows the panel as it moves.
    TValueDialog* const Dialog;

    // The button bar.
    QFrame* ButtonBar = nullptr;
    QToolButton* NextGlowButton = nullptr;
    QToolButton* SelectedGlowButton = nullptr;
    QToolButton* AllGlowsButton = nullptr;
    QToolButton* CopyColorButton = nullptr;
    QToolButton* CopyVectorButton = nullptr;
    QToolButton* ConesButton = nullptr;
    QToolButton* NoConesButton = nullptr;
    // "Editing Glow n".
    QLabel* EditingLabel = nullptr;
    // The rest: item list, colour bars, value labels, movement rate.
    QFrame* ValueArea = nullptr;
    TClickList* ItemList = nullptr;
    TClickLabel* CoreColorBar = nullptr;
    TClickLabel* OuterColorBar = nullptr;
    TClickLabel* PointLine = nullptr;
    TClickLabel* VectorLine = nullptr;
    TClickLabel* Density0Line = nullptr;
    TClickLabel* Density1Line = nullptr;
    TClickLabel* Density2Line = nullptr;
    QFrame* RateArea = nullptr;
    TClickList* RateList = nullptr;
    QLabel* RateLabel = nullptr;

signals:
    // The view must be drawn anew. The window that creates the panel
    // connects it to its redraw with a direct connection, so the frame is
    // drawn (and an error it raises ends the handler) at the emit.
    void RedrawRequested();
    // A movement rate was chosen in the list.
    void MovementRateChosen(int degrees);

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QWidget* const Anchor;
    TOpenDocument& Document;
    int Rate = 4;
    // FitOverAnchor ran before the window system had told the frame's size; the
    // fit is done again as soon as it is known.
    bool FrameUnknown = false;
    // The mesh the last ShowGlow described.
    int32_t ShownMesh = -1;

    void BuildButtonBar();
    void BuildValueArea();
    // Copies a value of the shown glow to every glow of the model.
    void CopyToAll(const char* name, const std::function<void(TEngineGlow&)>& change);
    QToolButton* ToolButton(int left, const QIcon& icon, const char* hint, void (TGlowPanel::*handler)());
    QString EditingGlowText() const;
    void ShowMovementRate();
};
