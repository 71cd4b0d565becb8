#include "key_table.h"

namespace {

constexpr TKeyRow TurnAndZoom[] = {
    {"Left, Right, Up, Down",
     "turn the model by the degrees of the panel's *Movement Rate*; with Shift they shift it"},
    {"Page Up, Page Down", "turn the model about the view axis"},
    {"=, -", "zoom in and out"},
    {"Wheel", "zooms the view"},
    {"Right button drag", "turns the model"},
    {"Middle button drag, Shift and right button drag", "shifts it"},
    {"Movement Rate list",
     "in the glow panel, a click on 1 to 10 (4 at first): the degrees one press of an arrow or page key turns the "
     "model"},
    {"Ctrl+1, Ctrl+2, Ctrl+3, Ctrl+4, Ctrl+5, Ctrl+6",
     "*Display > Front*, *Back*, *Left*, *Right*, *Top*, *Bottom*: look along one axis of the model (y forward, "
     "z up)"},
    {"F", "*Display > Frame Glow*: centre the view on the glow being edited and turn it about that glow from then on"},
    {"Ctrl+0", "*Display > Reset View*: the view as it started, turning about the model's origin"},
};

constexpr TKeyRow Select[] = {
    {"N, P", "step to the next or previous mesh, or face of the current mesh after *Display > Face*"},
    {"Left click",
     "selects the mesh or face under the pointer; on a glow's centre point it picks that glow alone (the one being "
     "edited, else the nearest, where glows overlap)"},
    {"Ctrl and left click", "on a glow's centre point adds that glow to the selection, or takes it out"},
    {"Left button drag",
     "from where no glow's centre is: draw a box; the drawn glows whose centres lie inside it are selected when the "
     "button is let go (with Ctrl held at the press, added to the selection); Escape while drawing cancels it"},
    {"Ctrl+A", "*Edit > Select All Glows*: select every glow of the model"},
    {"Ctrl+Shift+A", "*Edit > Select Glows of Mesh*: select every glow of the current mesh"},
    {"Escape", "leave only the glow being edited selected"},
};

constexpr TKeyRow Place[] = {
    {"Left button drag",
     "on a glow's centre moves it in the plane of the screen, and the glows selected with it by the same offset; "
     "the new centres are written as one edit when the button is let go"},
    {"Left button drag on a size handle",
     "the marks at the outer ends of the x, y and z lines of the glow being edited (square, diamond, triangle): "
     "move that end along its own axis and change that component of the main vector by four, two or one times "
     "the end's move, of every selected glow by the same amount; written as one edit when the button is let go"},
    {"X, Y, Z", "while dragging: keep the centre on that axis of the model; the same key again frees it"},
    {"Ctrl",
     "held while dragging: snap the centre onto the nearest vertex of the glow's mesh, a size handle onto that "
     "vertex's coordinate on its axis"},
    {"Shift", "held while dragging: snap it onto the centre of the nearest face"},
    {"Escape, Right click", "while dragging: put the glows back; nothing is written"},
    {"J, L, I, K",
     "nudge the centre of the selected glows one step left, right, up or down on the screen, along the model axis "
     "nearest to that direction; each press is written at once, and a run of nudges is one edit"},
    {"U, O", "nudge it away from you and towards you"},
    {"[, ]", "make the nudge step finer or coarser"},
    {"X, Y, Z", "lock the nudges to that axis of the model; the same key again frees them"},
};

constexpr TKeyRow Edit[] = {
    {"Left click",
     "in the glow panel, on an item of its list, a colour bar or a value line: open the edit dialog on that value"},
    {"Return", "in the edit dialog: confirm as *Man Ok* (or *Color*) does; while typing into a cell, end that cell"},
    {"Escape", "in the edit dialog: close it unwritten"},
    {"Ctrl+Shift+C", "*Edit > Copy Glow*: the glow being edited onto the clipboard as an edit list"},
    {"Ctrl+Shift+V", "*Edit > Paste Glow Style*: the clipboard's style into the selected glows"},
    {"Ctrl+Z", "*Edit > Undo*: take back the last edit"},
    {"Ctrl+Shift+Z, Ctrl+Y", "*Edit > Redo*: make it again"},
};

constexpr TKeyRow Files[] = {
    {"Ctrl+O", "*File > Open Opt*: open a model"},
    {"Drop an OPT file", "onto the window: it is opened as a copy; the dropped file stays where it is"},
    {"Ctrl+Q", "*File > Exit*: end the editor"},
};

constexpr TKeyGroup Groups[] = {
    {"Turn and zoom", TurnAndZoom}, {"Select", Select}, {"Place", Place}, {"Edit", Edit}, {"Files", Files},
};

}  // namespace

std::span<const TKeyGroup> KeyTable()
{
    return Groups;
}
