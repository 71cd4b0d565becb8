#pragma once
// Every key and mouse gesture of the view, the glow panel and the edit
// dialog, grouped as a user looks for them. Help > Keys and Mouse shows this
// table and the manual page's KEYS AND MOUSE section is written from it at
// build time (keys_man_section.cpp), so the two say the same. No Qt: the
// manual page's generator is built without it.
//
// Markup, kept small for both: in Keys, ", " separates keys or gestures that
// do the same; in Does, a text between two '*' is a menu item or a button's
// name, set in bold. '*' stands for nothing else.

#include <span>

struct TKeyRow {
    const char* Keys;
    const char* Does;
};

struct TKeyGroup {
    const char* Title;
    std::span<const TKeyRow> Rows;
};

// What the table is about, said before it.
inline constexpr const char* KeyTableLead =
    "Unless a row names the glow panel or the edit dialog, the keys and clicks act in the main window; those that "
    "act on the model, once one is shown.";

std::span<const TKeyGroup> KeyTable();
