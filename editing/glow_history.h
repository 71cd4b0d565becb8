#pragma once
// The one way glows change: every change (a value confirmed in the edit
// dialog, Center, a drag, a copy to all glows) is a step of the edit history,
// and undo and redo are that step's own undo() and redo(). A step writes each
// glow into the working copy first and changes the model only for what the
// file took. The history ends when another model is opened or the program
// ends.

#include <QObject>
#include <QUndoCommand>
#include <QUndoStack>
#include <exception>

#include "glow_write.h"

struct TOpenModel;

// What one run of a step wrote, and the failure that stopped it.
struct TStepRun {
    TGlowEdit Written;
    std::exception_ptr Failure;
    size_t Tried = 0;  // the glows the run was to write

    void ThrowFailure() const
    {
        if (Failure)
            std::rethrow_exception(Failure);
    }
};

// One step: the glows one confirmed change wrote, with their bytes before and
// after. redo() gives each glow its bytes after, in order; undo() its bytes
// before, in reverse order. Either stops at the first write that fails. A
// redo that stopped part-way (the first one included) is then the step of the
// glows it wrote; a first run that wrote nothing, or changed no byte, is no
// step (it is obsolete). Each run reports into run. Never throws: the stack
// calls it.
class TGlowStep : public QUndoCommand {
public:
    TGlowStep(TOpenModel& open, TGlowEdit edit, TStepRun& run);
    void redo() override;
    void undo() override;
    const TGlowEdit& Edit() const { return Changes; }

private:
    void Put(bool after);

    TOpenModel& Open;
    TGlowEdit Changes;
    TStepRun& Run;
    // The first run takes the bytes the file held as the bytes before.
    bool BeforeKnown = false;
};

class TGlowHistory : public QObject {
    Q_OBJECT
public:
    explicit TGlowHistory(TOpenModel& open);

    QUndoStack Stack;

    enum TMove { Made, Undone, Redone };

    // Pushes edit's changes as one step, when they change a byte of what the
    // model holds; an edit that changes none is written all the same, and is
    // no step. Before a push the working copy must still be the file the
    // editor read or last wrote, open to writing: otherwise nothing is
    // written and the history stays as it was, Redo's steps included. A write
    // that fails part-way stops the change there: the glows written before it
    // are the step. Returns what was written and what stopped it, after
    // Changed for what was written; never throws.
    TStepRun Make(TGlowEdit edit);
    // Undoes or redoes the step the stack offers, through the stack, after the
    // same check as Make. Returns as Make (nothing when there is no step).
    TStepRun Undo();
    TStepRun Redo();

signals:
    // Glows changed, in the working copy and in memory: written holds each
    // glow written, with the bytes it has now as After. Not emitted when no
    // glow was written.
    void Changed(const TGlowEdit& written, TGlowHistory::TMove move);

private:
    TOpenModel& Open;
    TStepRun Run;

    // Emits Changed for what the last run wrote; hands the run over.
    TStepRun Report(TMove move);
    // The check before a step runs: nothing written when it fails.
    std::exception_ptr Refusal() const;
};

// What the status bar says after edit was written: "Mesh 0, glow 1: Center
// written", "Copy color to all: 5 glows written".
QString WrittenText(const TGlowEdit& edit);

// The text of a step for edit: the copy's name, or the value changed and
// where ("Center of glow 1 in mesh 0").
QString StepText(const TGlowEdit& edit);
