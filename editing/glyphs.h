#pragma once
// The button images of the glow panel and the edit dialog, drawn at 16 by 16
// pixels, each with a greyed twin for the disabled state.

#include <QIcon>

namespace glyphs {

QIcon NextGlow();      // Select Next Glow
QIcon SelectedGlow();  // Show Selected Glow
QIcon AllGlows();      // Show All Glows
QIcon CopyColor();     // Copy color to all
QIcon CopyVector();    // Copy This vector to all
QIcon Cones();         // Show vectors as cones
QIcon NoCones();       // Don't show cones
QIcon Confirm();       // Man Ok
QIcon Hide();          // Close
QIcon Retry();         // Center
QIcon AcceptAll();     // Color

}  // namespace glyphs
