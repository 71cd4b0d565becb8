#pragma once
// Copy Glow and Paste Glow: a glow's values on the clipboard as an edit list,
// the text optglow's diff writes and its apply reads, so that styles kept as
// files, or another editor's glow, paste alike.

#include <QString>

#include "glow_write.h"
#include "open_model.h"

// Copy Glow: the glow being edited onto the clipboard. What to say, done or
// not.
QString CopyGlowToClipboard(const TOpenModel& open);

// Paste Glow Style (withCentre false) and Paste Glow: the clipboard's edit
// list of one glow into every selected glow, without or with the centre.
// The write, or, when Refusal is not empty, nothing and what to say.
struct TPaste {
    TGlowWrite Write;
    QString Refusal;
};
TPaste PasteWrite(const TOpenModel& open, bool withCentre);
