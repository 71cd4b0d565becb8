#pragma once
// The one way glows change: every change (a value confirmed in the edit
// dialog, Center, a drag, a copy to all glows) is a step of the edit history.
// The history writes a change, its undo or its redo into the working copy all
// or nothing, and changes the model and moves the stack only once the file
// took it: a write that fails leaves the file, the model and the history as
// they were. The history ends when another model is opened or the program
// ends.

#include <QObject>
#include <QString>
#include <QUndoCommand>
#include <QUndoGroup>
#include <QUndoStack>
#include <exception>

#include "glow_preview.h"
#include "glow_symmetry.h"
#include "glow_write.h"

struct TOpenModel;

class QAction;

// What one run of a step wrote (every glow, or none), and the failure that
// stopped it.
struct TStepRun {
    TGlowEdit Written;
    std::exception_ptr Failure;
    // Under symmetry, what the status bar says of glows written without a
    // twin ("; glow 2 of mesh 0 has no twin across X, edited alone").
    QString Alone{};

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

    enum TMove { Made, Undone, Redone };
    // What Make may merge: nothing, or a run of nudges.
    enum TMerge { Alone = -1, Nudges = 1 };

    // Gives each glow of write its values, into the working copy and then
    // the model, and pushes the change as one step, when it changes a byte
    // of what the model holds; a write that changes none is written all the
    // same, and is no step. Under symmetry the twins of its glows are
    // written with them, and the status bar names a glow without one. A
    // write that fails writes nothing and leaves the
    // history as it was, Redo's steps included. A write made with merge
    // other than Alone right after one made with the same merge on the same
    // glows joins its step. Returns what was written and what stopped it,
    // after Changed for what was written; never throws.
    TStepRun Make(const TGlowWrite& write, TMerge merge = Alone);
    // Writes the step the stack offers to undo or redo, then moves the stack;
    // a write that fails leaves it where it was. Returns as Make (nothing
    // when there is no step).
    TStepRun Undo();
    TStepRun Redo();
    // No step to undo or redo: another model is opened.
    void Clear();

    // Symmetry across axis, or off: from now on Make gives the twin of
    // each glow a write reaches its mirror image, in the same step.
    void SetSymmetry(std::optional<TMirrorAxis> axis) { Mirror.Set(axis); }
    const TSymmetry& Symmetry() const { return Mirror; }
    // What Make would give the glows of a non-empty write, shown before it
    // is made: its first glow, and its others with their twins under
    // symmetry. Throws the list errors.
    TGlowPreview Previewed(const TGlowWrite& write) const;

    // Edit > Undo and Redo, owned by parent: named after the step they take
    // back or again ("Undo Center of glow 1 in mesh 0", "Undo" when there is
    // none) and on while there is one and the history is not held. They act
    // through whatever the caller connects to triggered (Undo, Redo), never
    // on their own.
    QAction* MakeUndoAction(QObject* parent);
    QAction* MakeRedoAction(QObject* parent);

    // While a hold lives, Undo and Redo are off (a gesture that will write
    // glows is under way); Make goes on as ever.
    class THold {
    public:
        explicit THold(TGlowHistory& history);
        THold(THold&& other) noexcept;
        THold& operator=(THold&&) = delete;
        ~THold();

    private:
        TGlowHistory* History;
    };
    [[nodiscard]] THold Hold() { return THold(*this); }

    // The steps, for reading.
    const QUndoStack& Stack() const { return Steps; }

signals:
    // Glows changed, in the working copy and in memory: written holds each
    // glow written, with the bytes it has now as After; said is what the
    // status bar says of it ("Mesh 0, glow 1: Center written", "Undone: Copy
    // color to all"). Not emitted when no glow was written.
    void Changed(const TGlowEdit& written, TGlowHistory::TMove move, const QString& said);

private:
    TOpenModel& Open;
    // The group gives the actions; its one stack is active but while held.
    QUndoGroup Group;
    QUndoStack Steps;
    int Holds = 0;
    TSymmetry Mirror;

    // write with the twins Make gives it.
    TTwinnedWrite Twinned(const TGlowWrite& write) const;
    // Writes each change's bytes after (or, in reverse order, before).
    TStepRun Write(const TGlowEdit& edit, bool after);
    // Emits Changed for what run wrote, saying said; hands it back.
    TStepRun Report(TStepRun run, TMove move, const QString& said);
};
