// The glow panel's side of the edit dialog: opening it on an item of ItemList.

#include "click_list.h"
#include "error_display.h"
#include "glow_edit.h"
#include "glow_panel.h"
#include "open_document.h"
#include "value_dialog.h"

void TGlowPanel::OpenSelectedItem()
{
    Guarded([&] {
        if (!ShownGlowIndex(Document))
            return;
        // The items are listed in the order of the values.
        const int row = ItemList->SelectedRow();
        // No row (a Ctrl+click took it away): the dialog, open on no glow,
        // goes unwritten, as a click on another item first closes it.
        if (row < int(TGlowValue::CoreColor) || row > int(TGlowValue::Density2))
            Dialog->Open({}, TGlowValue::CoreColor);
        else
            Dialog->Open(EditedGlows(Document), TGlowValue(row));
    });
}
