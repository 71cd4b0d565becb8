#pragma once
// The one way glows change: every change (a value confirmed in the edit
// dialog, Center, a copy to all glows, undo, redo) is a step that writes each
// glow into the working copy first and changes the model only for what the
// file took. The history keeps the steps of the open model for undo and redo;
// it ends when another model is opened or the program ends.

#include <QObject>
#include <QUndoCommand>
#include <QUndoStack>
#include <exception>

#include "glow_write.h"

class TGlowHistory;

// One step: the glows one confirmed change wrote, with their bytes before and
// after. redo() gives each glow its bytes after, in order; undo() its bytes
// before, in reverse order. Either stops at the first write that fails.
class TGlowStep : public QUndoCommand {
public:
    TGlowStep(TGlowHistory& history, TGlowEdit edit);
    void redo() override;
    void undo() override;
    const TGlowEdit& Edit() const { return Changes; }

private:
    friend class TGlowHistory;
    // Gives each glow its bytes after (or before); records in the history
    // what was written and the failure that stopped it. Never throws: the
    // stack calls it.
    void Put(bool after);

    TGlowHistory& History;
    TGlowEdit Changes;
    // The first Put takes the bytes the file held as the bytes before.
    bool BeforeKnown = false;
    // The history did the work before moving the stack: the stack's next
    // call into this step only moves it.
    bool WorkDone = false;
};

class TGlowHistory : public QObject {
    Q_OBJECT
public:
    QUndoStack Stack;

    // Makes edit's changes (their bytes after) and takes the glows the file
    // took as one step, when they changed a byte. A write that fails stops
    // the change there: the glows written before it are the step. Throws
    // what PutGlowBytes throws, after Changed for what was written.
    void Make(TGlowEdit edit);
    // The step that Undo or Redo would take; nullptr when there is none.
    const TGlowStep* UndoStep() const;
    const TGlowStep* RedoStep() const;
    // Writes the bytes before (undo) or after (redo) of that step into its
    // glows, then moves the stack. A write that fails stops it, and the glows
    // written so far keep their new bytes, in memory as in the file: a redo
    // that wrote some glows becomes a step of those glows alone and moves the
    // stack; otherwise the stack stays. Throws what PutGlowBytes throws,
    // after Changed.
    void Undo();
    void Redo();

    enum TMove { Made, Undone, Redone };

signals:
    // Glows changed, in the working copy and in memory: written holds each
    // glow written, with the bytes it has now as After. Not emitted when no
    // glow was written.
    void Changed(const TGlowEdit& written, TGlowHistory::TMove move);

private:
    friend class TGlowStep;
    // What the last Put wrote, and why it stopped.
    TGlowEdit Written;
    std::exception_ptr Failure;

    // Undo (after false) or Redo of step.
    void Take(const TGlowStep* step, bool after);
    // Emits Changed for what the last Put wrote, then rethrows its failure.
    void Report(TMove move);
};

// What the status bar says after edit was written: "Mesh 0, glow 1: Center
// written", "Copy color to all: 5 glows written".
QString WrittenText(const TGlowEdit& edit);

// The text of a step for edit: the copy's name, or the value changed and
// where ("Center of glow 1 in mesh 0").
QString StepText(const TGlowEdit& edit);
