#pragma once
// The edit history of the open model, for undo and redo: one step per
// confirmed write. It ends when another model is opened or the program ends.

#include <QUndoCommand>
#include <QUndoStack>
#include <vector>

#include "glow_write.h"

// One step: the glows one confirmed write wrote, with their values before
// and after. The stack keeps the order and the texts; the history writes the
// values itself before it moves the stack (a write can be refused, and the
// stack must then stay), so the step's own undo and redo do nothing.
class TGlowStep : public QUndoCommand {
public:
    TGlowStep(const QString& text, std::vector<TGlowWrite> writes);
    const std::vector<TGlowWrite> Writes;
};

class TGlowHistory {
public:
    QUndoStack Stack;

    // Takes a confirmed write as one step; a write that changed no byte
    // makes none. Returns the step's text ("Center of glow 1 in mesh 0",
    // "Copy color to all").
    QString Record(const TGlowEdit& edit);
    // The step that Undo or Redo would take; nullptr when there is none.
    const TGlowStep* UndoStep() const;
    const TGlowStep* RedoStep() const;
    // Writes the values before (undo) or after (redo) that step into its
    // glows, in the working copy and in memory, glow by glow, then moves the
    // stack. Throws what WriteGlow throws: the stack then stays, and the
    // glows written so far keep the values written, in memory as in the file.
    void Undo();
    void Redo();
};

// What the status bar says after edit was written: "Mesh 0, glow 1: Center
// written", "Copy color to all: 5 glows written".
QString WrittenText(const TGlowEdit& edit);

// The text of a step for edit: the copy's name, or the value changed and
// where ("Center of glow 1 in mesh 0").
QString StepText(const TGlowEdit& edit);
