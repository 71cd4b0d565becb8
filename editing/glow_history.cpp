#include "glow_history.h"

#include <QAction>
#include <algorithm>
#include <utility>

#include "open_model.h"

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

// The text of a step for edit: the copy's name, or the value changed and
// where ("Center of glow 1 in mesh 0").
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

// What the status bar says after edit was written: "Mesh 0, glow 1: Center
// written", "Copy color to all: 5 glows written".
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

// What the status bar adds under symmetry when glows written have no twin:
// "; glow 2 of mesh 0 has no twin across X, edited alone".
QString AloneText(const std::vector<TGlowIndex>& alone, std::optional<TMirrorAxis> axis)
{
    if (alone.empty() || !axis)
        return {};
    const QChar across = QLatin1Char("XYZ"[int(*axis)]);
    if (alone.size() > 1)
        return QStringLiteral("; %1 glows have no twin across %2, edited alone").arg(alone.size()).arg(across);
    return QStringLiteral("; glow %1 of mesh %2 has no twin across %3, edited alone")
        .arg(alone.front().Glow)
        .arg(alone.front().Mesh)
        .arg(across);
}

}  // namespace

TGlowStep::TGlowStep(TGlowEdit edit, int mergeId)
    : QUndoCommand(StepText(edit)), Changes(std::move(edit)), MergeId(mergeId)
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

TGlowHistory::TGlowHistory(TOpenModel& open) : Open(open)
{
    Group.addStack(&Steps);
    Steps.setActive(true);
}

namespace {

// The group's action without its own trigger: Undo and Redo go through the
// history's door, which writes first and moves the stack only once written.
QAction* Detached(QAction* action, QUndoGroup& group)
{
    QObject::disconnect(action, &QAction::triggered, &group, nullptr);
    return action;
}

}  // namespace

QAction* TGlowHistory::MakeUndoAction(QObject* parent)
{
    // A prefix without %1: Qt puts a space and the step's text after it.
    return Detached(Group.createUndoAction(parent, QStringLiteral("Undo")), Group);
}

QAction* TGlowHistory::MakeRedoAction(QObject* parent)
{
    return Detached(Group.createRedoAction(parent, QStringLiteral("Redo")), Group);
}

TGlowHistory::THold::THold(TGlowHistory& history) : History(&history)
{
    if (History->Holds++ == 0)
        History->Steps.setActive(false);
}

TGlowHistory::THold::THold(THold&& other) noexcept : History(std::exchange(other.History, nullptr)) {}

TGlowHistory::THold::~THold()
{
    if (History && --History->Holds == 0)
        History->Steps.setActive(true);
}

void TGlowHistory::Clear()
{
    Steps.clear();
    Mirror.Reset();
}

TStepRun TGlowHistory::Write(const TGlowEdit& edit, bool after)
{
    std::vector<TGlowPut> puts;
    for (const TGlowChange& change : edit.Changes)
        puts.push_back({change.At, after ? change.After : change.Before});
    // An undo goes in the reverse of the order the step wrote (of two
    // changes of one block, the first one's bytes before are put back last).
    if (!after)
        std::reverse(puts.begin(), puts.end());
    TStepRun run{{edit.Name, {}}, nullptr, {}};
    try {
        const std::vector<TGlowBytes> held = PutGlowBytes(Open, puts);
        for (size_t i = 0; i < puts.size(); ++i)
            run.Written.Changes.push_back({puts[i].At, held[i], puts[i].Bytes});
    } catch (...) {
        run.Failure = std::current_exception();
    }
    return run;
}

TTwinnedWrite TGlowHistory::Twinned(const TGlowWrite& write) const
{
    return write.ReachesTwins ? Mirror.With(write, Open.Model) : TTwinnedWrite{write, {}};
}

TGlowPreview TGlowHistory::Previewed(const TGlowWrite& write) const
{
    const TGlowWrite shown = Twinned(write).Write;
    TGlowPreview preview{shown.Glows.front().At, shown.Glows.front().Values};
    preview.Others.assign(shown.Glows.begin() + 1, shown.Glows.end());
    return preview;
}

TStepRun TGlowHistory::Make(const TGlowWrite& given, TMerge merge)
{
    TGlowEdit edit{given.Name, {}};
    bool changes = false;
    TTwinnedWrite twinned;
    const TGlowWrite& write = twinned.Write;
    try {
        twinned = Twinned(given);
        for (const TGlowValues& glow : write.Glows) {
            const TGlowBytes after = EncodeGlowWriteBack(glow.Values);
            changes = changes || after != EncodeGlowWriteBack(Open.GlowAt(glow.At));
            edit.Changes.push_back({glow.At, {}, after});
        }
    } catch (...) {
        return {{given.Name, {}}, std::current_exception(), {}};
    }
    TStepRun run = Write(edit, true);
    // An edit that changes nothing is written and told as any edit (the file
    // keeps the bytes it holds), but is no step: a push would drop the steps
    // that Redo would take.
    if (!run.Failure && changes) {
        for (size_t i = 0; i < edit.Changes.size(); ++i)
            edit.Changes[i].Before = run.Written.Changes[i].Before;
        if (ChangesBytes(edit))
            Steps.push(new TGlowStep(std::move(edit), merge));
    }
    run.Alone = AloneText(twinned.Alone, Mirror.Axis());
    const QString said = WrittenText(run.Written) + run.Alone;
    return Report(std::move(run), Made, said);
}

TStepRun TGlowHistory::Undo()
{
    if (!Steps.canUndo())
        return {};
    const QUndoCommand* step = Steps.command(Steps.index() - 1);
    TStepRun run = Write(static_cast<const TGlowStep*>(step)->Edit(), false);
    const QString said = QStringLiteral("Undone: ") + step->text();
    if (!run.Failure)
        Steps.undo();
    return Report(std::move(run), Undone, said);
}

TStepRun TGlowHistory::Redo()
{
    if (!Steps.canRedo())
        return {};
    const QUndoCommand* step = Steps.command(Steps.index());
    TStepRun run = Write(static_cast<const TGlowStep*>(step)->Edit(), true);
    const QString said = QStringLiteral("Redone: ") + step->text();
    if (!run.Failure)
        Steps.redo();
    return Report(std::move(run), Redone, said);
}

TStepRun TGlowHistory::Report(TStepRun run, TMove move, const QString& said)
{
    // Glows moved: their twins are found anew.
    if (!run.Written.Changes.empty())
        Mirror.Forget();
    if (!run.Written.Changes.empty())
        emit Changed(run.Written, move, said);
    return run;
}

