// What the edit dialog shows and writes: the preview while typing, the
// four buttons' writes and the colour chooser.

#include <QScopedValueRollback>
#include <string>

#include "conversions.h"
#include "dialog_seam.h"
#include "error_display.h"
#include "errors.h"
#include "face_centre.h"
#include "glow_edit.h"
#include "glow_fields.h"
#include "messages.h"
#include "open_document.h"
#include "value_dialog.h"

bool TColorChooser::Execute(QWidget* parent, const std::function<void(const QColor&)>& browsing)
{
    const auto chosen = Dialogs().ChooseColor(parent, Color, browsing);
    if (!chosen)
        return false;
    Color = *chosen;
    return true;
}

uint32_t TValueDialog::ReverseCol(uint32_t p)
{
    return ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
}

uint32_t TValueDialog::ShownColor() const
{
    return Document.GlowAt(Glows.front()).*FieldOf(Value).Color;
}

TValueChange TValueDialog::TypedChange()
{
    TValueChange change{Value};
    if (!IsColorValue(Value)) {
        // A text that is no number (yet) leaves the number as stored.
        for (size_t col = 0; col < 3; ++col) {
            try {
                change.Numbers[col] = TypedNumber(Grid->Typed(int(col), false));
            } catch (const EConvertError&) {
            }
        }
        return change;
    }
    // What Color would write: the alpha typed (one left as shown keeps each
    // glow's own), the colour the chooser opens on (red, green and blue as
    // typed) or is on.
    if (const std::optional<std::string> alpha = Grid->Typed(0, false))
        change.Alpha = TypedByte(*alpha);
    const uint32_t stored = ShownColor() & 0x00FFFFFFu;
    if (const uint32_t typed = TypedColor(stored, Grid->Texts()) & 0x00FFFFFFu; typed != stored)
        change.Rgb = typed;
    if (ChooserColor)
        change.Rgb = uint32_t(ChooserColor->red()) << 16 | uint32_t(ChooserColor->green()) << 8 |
                     uint32_t(ChooserColor->blue());
    return change;
}

void TValueDialog::UpdatePreview()
{
    if (Glows.empty() || !isVisible())
        return;
    TGlowWrite shown;
    try {
        shown = AppliedTo(TypedChange(), Document.Model, Glows);
    } catch (const ENotFinite&) {
        // Store would write nothing: the glows as stored.
        shown = AppliedTo(TValueChange{Value}, Document.Model, Glows);
    }
    Document.Preview = Document.History.Previewed(shown);
    Previewing = true;
    emit PreviewChanged();
}

bool TValueDialog::DropPreview()
{
    if (!Previewing)
        return false;
    Previewing = false;
    if (Document.Preview.At == Glow())
        Document.Preview = {};
    return true;
}

void TValueDialog::WriteAndClose(const TGlowWrite& write)
{
    // The frame that shows what was written shows the stored glows; only when
    // nothing was written (or the write failed) must the preview go by a
    // frame of its own.
    const bool previewed = DropPreview();
    TStepRun run;
    {
        const QScopedValueRollback<bool> own(OwnWrite, true);
        run = Document.History.Make(write);
    }
    if (previewed && run.Written.Changes.empty())
        emit PreviewChanged();
    run.ThrowFailure();
    // The history's change refreshed the panel and drew the view.
    Grid->ForgetShown();
    HideButtons();
    hide();
}

void TValueDialog::StoreTyped()
{
    Guarded([&] {
        if (Glows.empty())
            return;
        // Only the cells the user changed: the others keep each glow's own
        // stored value.
        std::array<TNumberChange, 3> typed;
        try {
            for (size_t col = 0; col < 3; ++col)
                typed[col] = TypedNumber(Grid->Typed(int(col), true));
        } catch (const EConvertError& e) {
            ShowMsg(std::string("EConvertError") + LineBreak + e.what());
            return;
        }
        TValueChange change{Value};
        if (Mark)
            change.Numbers = typed;
        TGlowWrite write;
        try {
            write = AppliedTo(change, Document.Model, Glows);
        } catch (const ENotFinite& e) {
            ShowMsg(e.what());
            return;
        }
        if (!InDensityRange(change, write)) {
            ShowMsg("Value not 0.0 to 1.0 ! Exiting ");
            return;
        }
        WriteAndClose(write);
        // Served once written: after a write that failed, Store again stores
        // the same value.
        Mark.reset();
    });
}

void TValueDialog::ColorClicked()
{
    Guarded([&] {
        if (Glows.empty() || !IsColorValue(Value))
            return;
        // The chooser opens on the colour's red, green and blue as typed
        // (those left as shown are the stored ones), so a change of alpha
        // alone keeps them.
        Grid->EndCellEdit();
        const uint32_t opensOn = TypedColor(ShownColor(), Grid->Texts());
        ColorChooser.Color = QColor(int(opensOn >> 16 & 0xFF), int(opensOn >> 8 & 0xFF), int(opensOn & 0xFF));
        const bool chosen = ColorChooser.Execute(this, [this](const QColor& current) {
            ChooserColor = current;
            UpdatePreview();
        });
        // Cancelled, the view shows the dialog's values without the chooser's.
        ChooserColor.reset();
        if (!chosen) {
            UpdatePreview();
            return;
        }
        const QColor& c = ColorChooser.Color;
        TValueChange change{Value};
        change.Rgb = ReverseCol(uint32_t(c.red()) | uint32_t(c.green()) << 8 | uint32_t(c.blue()) << 16);
        const int32_t alpha = TextInt(Cell(0, 1).toStdString());
        if (alpha < 0 || alpha > 255) {
            ShowMsg("Alpha value not in range of 0 to 255");
            return;
        }
        // An alpha left as shown: each glow keeps its own.
        if (Grid->Typed(0, true))
            change.Alpha = uint32_t(alpha);
        WriteAndClose(AppliedTo(change, Document.Model, Glows));
    });
}

void TValueDialog::CenterClicked()
{
    Guarded([&] {
        if (Glows.empty())
            return;
        const TSelection& selection = Document.Selection;
        if (selection.SelectMode != FaceMode) {
            ShowMsg("Select a Face");
            return;
        }
        // The glow onto the face's centre, the others with it by as much.
        const TOMesh& mesh = Document.Model.Meshes.Get(selection.CurMesh);
        const TFloat3 to = FaceBoxCentre(mesh, mesh.Faces[0].Get(selection.CurFace));
        const TFloat3 from = Document.GlowAt(Glows.front()).Center;
        // A glow whose centre would become infinite or no number stays where
        // it is, and the user is told which.
        TGlowWrite moving;
        std::vector<TGlowIndex> refused;
        for (const TGlowIndex& at : Glows) {
            TEngineGlow glow = Document.GlowAt(at);
            if (const std::optional<TFloat3> moved = MovedAlong(glow.Center, from, to)) {
                glow.Center = *moved;
                moving.Glows.push_back({at, glow});
            } else {
                refused.push_back(at);
            }
        }
        if (!refused.empty())
            ShowMsg(NotMovedText(refused));
        if (!moving.Glows.empty())
            WriteAndClose(moving);
    });
}

void TValueDialog::CloseClicked()
{
    Guarded([&] {
        if (!Glows.empty())
            WriteAndClose({{}, {{Glows.front(), Document.GlowAt(Glows.front())}}});
    });
}
