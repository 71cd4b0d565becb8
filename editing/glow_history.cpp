#include "glow_history.h"

#include <algorithm>
#include <utility>

#include "open_model.h"
#include "working_copy.h"

TGlowStep::TGlowStep(TOpenModel& open, TGlowEdit edit, TStepRun& run, int mergeId)
    : QUndoCommand(StepText(edit)), Open(open), Changes(std::move(edit)), Run(run), MergeId(mergeId)
{
}

bool TGlowStep::mergeWith(const QUndoCommand* next)
{
    // The stack asks only of a step with the same id: one of these.
    const auto& later = static_cast<const TGlowStep*>(next)->Changes.Changes;
    std::vector<TGlowChange>& changes = Changes.Changes;
    const auto sameGlow = [](const TGlowChange& a, const TGlowChange& b) { return a.At == b.At; };
    if (changes.empty() || !std::equal(changes.begin(), changes.end(), later.begin(), later.end(), sameGlow))
        return false;
    for (size_t i = 0; i < changes.size(); ++i)
        changes[i].After = later[i].After;
    // Back where the run began: the stack drops the step.
    setObsolete(!ChangesBytes(Changes));
    return true;
}

void TGlowStep::redo()
{
    Put(true);
}

void TGlowStep::undo()
{
    Put(false);
}

void TGlowStep::Put(bool after)
{
    Run = {{Changes.Name, {}}, nullptr, Changes.Changes.size()};
    std::vector<TGlowChange> written;  // in the order of Changes
    const auto put = [&](TGlowChange& change) {
        const TGlowBytes held = PutGlowBytes(Open, change.At, after ? change.After : change.Before);
        if (!BeforeKnown)
            change.Before = held;
        Run.Written.Changes.push_back({change.At, held, after ? change.After : change.Before});
        written.push_back(change);
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
        Run.Failure = std::current_exception();
        // A first run or a redo that stopped part-way is the step of the
        // glows it wrote, so that Undo takes back exactly those; the glows
        // not reached keep what the file holds. An undo that stopped keeps
        // the whole step: Redo puts back what it undid, and Undo can try the
        // rest again.
        if (after && (!BeforeKnown || !written.empty())) {
            Changes.Changes = std::move(written);
            setText(StepText(Changes));
        }
    }
    if (!BeforeKnown)
        setText(StepText(Changes));  // named for the value the bytes before show changed
    BeforeKnown = true;
    // A step that changes no byte is no step.
    if (!ChangesBytes(Changes))
        setObsolete(true);
}

TGlowHistory::TGlowHistory(TOpenModel& open) : Open(open) {}

std::exception_ptr TGlowHistory::Refusal() const
{
    try {
        CheckWorkingCopy(Open);
    } catch (...) {
        return std::current_exception();
    }
    return nullptr;
}

TStepRun TGlowHistory::Make(TGlowEdit edit, TMerge merge)
{
    const bool changes = std::any_of(edit.Changes.begin(), edit.Changes.end(), [&](const TGlowChange& c) {
        return c.After != EncodeGlowWriteBack(Open.GlowAt(c.At));
    });
    if (!changes) {
        // Written and told as any edit (the file keeps the bytes it holds),
        // but no step: a push would drop the steps that Redo would take.
        TGlowStep(Open, std::move(edit), Run).redo();
        return Report(Made);
    }
    // Refused before the step is pushed, for the same reason.
    if (const std::exception_ptr refused = Refusal())
        return {{edit.Name, {}}, refused, edit.Changes.size()};
    Stack.push(new TGlowStep(Open, std::move(edit), Run, merge));
    return Report(Made);
}

TStepRun TGlowHistory::Undo()
{
    if (!Stack.canUndo())
        return {};
    if (const std::exception_ptr refused = Refusal())
        return {{}, refused, 0};
    Stack.undo();
    return Report(Undone);
}

TStepRun TGlowHistory::Redo()
{
    if (!Stack.canRedo())
        return {};
    if (const std::exception_ptr refused = Refusal())
        return {{}, refused, 0};
    Stack.redo();
    return Report(Redone);
}

TStepRun TGlowHistory::Report(TMove move)
{
    TStepRun run = std::exchange(Run, {});
    if (!run.Written.Changes.empty())
        emit Changed(run.Written, move);
    return run;
}

namespace {

// The value an edit of several glows changed, named as the panel's items are
// ("Core Color", "Main Vector"): that of the first glow whose bytes changed.
QString SeveralGlowsValue(const TGlowEdit& edit)
{
    const auto changed = std::find_if(edit.Changes.begin(), edit.Changes.end(),
                                      [](const TGlowChange& c) { return c.Before != c.After; });
    QString name = QString::fromStdString(ChangedValueName(changed == edit.Changes.end() ? edit.Changes.front() : *changed));
    for (qsizetype i = 0; i < name.size(); ++i)
        if (i == 0 || name[i - 1] == ' ')
            name[i] = name[i].toUpper();
    return name;
}

}  // namespace

QString StepText(const TGlowEdit& edit)
{
    if (!edit.Name.empty() || edit.Changes.empty())
        return QString::fromStdString(edit.Name);
    if (edit.Changes.size() > 1)
        return QStringLiteral("%1 of %2 glows").arg(SeveralGlowsValue(edit)).arg(edit.Changes.size());
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
    if (edit.Changes.size() > 1)
        return SeveralGlowsValue(edit).isEmpty()
                   ? QStringLiteral("%1 glows: written, nothing changed").arg(edit.Changes.size())
                   : StepText(edit) + QStringLiteral(" written");
    const TGlowChange& c = edit.Changes.front();
    const std::string changed = ChangedValueName(c);
    return QStringLiteral("Mesh %1, glow %2: %3")
        .arg(c.At.Mesh)
        .arg(c.At.Glow)
        .arg(changed.empty() ? QStringLiteral("written, nothing changed") : QString::fromStdString(changed) + " written");
}
