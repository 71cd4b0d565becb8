#pragma once
// The one way glows change: every change (a value confirmed in the edit
// dialog, Center, a drag, a copy to all glows) is a step of the edit history.
// The history writes a change, its undo or its redo into the working copy all
// or nothing, and changes the model and moves the stack only once the file
// took it: a write that fails leaves the file, the model and the history as
// they were. The history ends when another model is opened or the program
// ends.

#include <QObject>
#include <QUndoCommand>
#include <QUndoStack>
#include <exception>

#include "glow_write.h"

struct TOpenModel;

// What one run of a step wrote (every glow, or none), and the failure that
// stopped it.
struct TStepRun {
    TGlowEdit Written;
    std::exception_ptr Failure;

    void ThrowFailure() const
    {
        if (Failure)
            std::rethrow_exception(Failure);
    }
};

// One step: the glows one confirmed change wrote, with their bytes before and
// after. The history writes a step's bytes before it moves the stack, so the
// stack's redo() and undo() write nothing.
//
// A step made with a merge id other than -1 takes in the next step of that id
// on the same glows (QUndoStack::push asks it): the glows' bytes after become
// the next one's, and one undo takes both back.
class TGlowStep : public QUndoCommand {
public:
    TGlowStep(TGlowEdit edit, int mergeId);
    void redo() override {}
    void undo() override {}
    int id() const override { return MergeId; }
    bool mergeWith(const QUndoCommand* next) override;
    const TGlowEdit& Edit() const { return Changes; }

private:
    TGlowEdit Changes;
    int MergeId;
};

class TGlowHistory : public QObject {
    Q_OBJECT
public:
    explicit TGlowHistory(TOpenModel& open);

    QUndoStack Stack;

    enum TMove { Made, Undone, Redone };
    // What Make may merge: nothing, or a run of nudges.
    enum TMerge { Alone = -1, Nudges = 1 };

    // Writes edit's changes and pushes them as one step, when they change a
    // byte of what the model holds; an edit that changes none is written all
    // the same, and is no step. A write that fails writes nothing and leaves
    // the history as it was, Redo's steps included. An edit made with merge
    // other than Alone right after one made with the same merge on the same
    // glows joins its step. Returns what was written and what stopped it,
    // after Changed for what was written; never throws.
    TStepRun Make(TGlowEdit edit, TMerge merge = Alone);
    // Writes the step the stack offers to undo or redo, then moves the stack;
    // a write that fails leaves it where it was. Returns as Make (nothing
    // when there is no step).
    TStepRun Undo();
    TStepRun Redo();

signals:
    // Glows changed, in the working copy and in memory: written holds each
    // glow written, with the bytes it has now as After. Not emitted when no
    // glow was written.
    void Changed(const TGlowEdit& written, TGlowHistory::TMove move);

private:
    TOpenModel& Open;

    // Writes each change's bytes after (or, in reverse order, before).
    TStepRun Write(const TGlowEdit& edit, bool after);
    // Emits Changed for what run wrote; hands it back.
    TStepRun Report(TStepRun run, TMove move);
};

// What the status bar says after edit was written: "Mesh 0, glow 1: Center
// written", "Copy color to all: 5 glows written".
QString WrittenText(const TGlowEdit& edit);

// The text of a step for edit: the copy's name, or the value changed and
// where ("Center of glow 1 in mesh 0").
QString StepText(const TGlowEdit& edit);
