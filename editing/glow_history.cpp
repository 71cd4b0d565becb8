#include "glow_history.h"

#include <memory>
#include <utility>

TGlowStep::TGlowStep(TGlowHistory& history, TGlowEdit edit)
    : QUndoCommand(StepText(edit)), History(history), Changes(std::move(edit))
{
}

// The stack calls these when a step is pushed and when it moves. The history
// has the step do its work first (a write can be refused, and the stack must
// then stay where it is), so the call that follows only moves the stack.
void TGlowStep::redo()
{
    if (!std::exchange(WorkDone, false))
        Put(true);
}

void TGlowStep::undo()
{
    if (!std::exchange(WorkDone, false))
        Put(false);
}

void TGlowStep::Put(bool after)
{
    History.Written = {Changes.Name, {}};
    History.Failure = nullptr;
    const auto put = [&](TGlowChange& change) {
        const TGlowBytes held = PutGlowBytes(change.At, after ? change.After : change.Before);
        if (!BeforeKnown)
            change.Before = held;
        History.Written.Changes.push_back({change.At, held, after ? change.After : change.Before});
    };
    try {
        if (after) {
            for (TGlowChange& change : Changes.Changes)
                put(change);
        } else {
            // In the reverse of the order the step wrote them.
            for (auto change = Changes.Changes.rbegin(); change != Changes.Changes.rend(); ++change)
                put(*change);
        }
    } catch (...) {
        History.Failure = std::current_exception();
    }
    BeforeKnown = true;
}

void TGlowHistory::Make(TGlowEdit edit)
{
    auto step = std::make_unique<TGlowStep>(*this, std::move(edit));
    step->Put(true);
    // Only the glows the file took are the step; one that changed no byte is
    // no step, and the steps that Redo would take stay.
    step->Changes.Changes.resize(Written.Changes.size());
    if (ChangesBytes(step->Changes)) {
        step->setText(StepText(step->Changes));
        step->WorkDone = true;
        Stack.push(step.release());
    }
    Report(Made);
}

const TGlowStep* TGlowHistory::UndoStep() const
{
    return static_cast<const TGlowStep*>(Stack.command(Stack.index() - 1));
}

const TGlowStep* TGlowHistory::RedoStep() const
{
    return static_cast<const TGlowStep*>(Stack.command(Stack.index()));
}

void TGlowHistory::Undo()
{
    Take(UndoStep(), false);
}

void TGlowHistory::Redo()
{
    Take(RedoStep(), true);
}

void TGlowHistory::Take(const TGlowStep* step, bool after)
{
    if (!step)
        return;
    // The stack owns its steps and hands them out as const only.
    auto* own = const_cast<TGlowStep*>(step);
    own->Put(after);
    // A redo that stopped part-way leaves the glows it wrote redone: they are
    // the step now, so that Undo takes back exactly those. An undo that
    // stopped leaves the step whole: Undo again puts back the rest.
    const bool partly = after && Failure && !Written.Changes.empty();
    if (partly)
        own->Changes.Changes.resize(Written.Changes.size());
    if (!Failure || partly) {
        own->WorkDone = true;
        after ? Stack.redo() : Stack.undo();
    }
    Report(after ? Redone : Undone);
}

void TGlowHistory::Report(TMove move)
{
    const TGlowEdit written = std::exchange(Written, {});
    const std::exception_ptr failure = std::exchange(Failure, nullptr);
    if (!written.Changes.empty())
        emit Changed(written, move);
    if (failure)
        std::rethrow_exception(failure);
}

QString StepText(const TGlowEdit& edit)
{
    if (!edit.Name.empty() || edit.Changes.empty())
        return QString::fromStdString(edit.Name);
    const TGlowChange& c = edit.Changes.front();
    return QStringLiteral("%1 of glow %2 in mesh %3")
        .arg(QString::fromStdString(ChangedValueName(c)))
        .arg(c.At.Glow)
        .arg(c.At.Mesh);
}

QString WrittenText(const TGlowEdit& edit)
{
    if (!edit.Name.empty()) {
        const size_t n = edit.Changes.size();
        return QStringLiteral("%1: %2 %3 written")
            .arg(QString::fromStdString(edit.Name))
            .arg(n)
            .arg(n == 1 ? "glow" : "glows");
    }
    if (edit.Changes.empty())
        return {};
    const TGlowChange& c = edit.Changes.front();
    const std::string changed = ChangedValueName(c);
    return QStringLiteral("Mesh %1, glow %2: %3")
        .arg(c.At.Mesh)
        .arg(c.At.Glow)
        .arg(changed.empty() ? QStringLiteral("written, nothing changed") : QString::fromStdString(changed) + " written");
}
