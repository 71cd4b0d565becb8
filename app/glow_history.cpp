#include "glow_history.h"

TGlowStep::TGlowStep(const QString& text, std::vector<TGlowWrite> writes)
    : QUndoCommand(text), Writes(std::move(writes))
{
}

QString StepText(const TGlowEdit& edit)
{
    if (!edit.Name.empty() || edit.Writes.empty())
        return QString::fromStdString(edit.Name);
    const TGlowWrite& w = edit.Writes.front();
    return QStringLiteral("%1 of glow %2 in mesh %3")
        .arg(QString::fromStdString(ChangedValueName(w)))
        .arg(w.Glow)
        .arg(w.Mesh);
}

QString WrittenText(const TGlowEdit& edit)
{
    if (!edit.Name.empty()) {
        const size_t n = edit.Writes.size();
        return QStringLiteral("%1: %2 %3 written")
            .arg(QString::fromStdString(edit.Name))
            .arg(n)
            .arg(n == 1 ? "glow" : "glows");
    }
    if (edit.Writes.empty())
        return {};
    const TGlowWrite& w = edit.Writes.front();
    const std::string changed = ChangedValueName(w);
    return QStringLiteral("Mesh %1, glow %2: %3")
        .arg(w.Mesh)
        .arg(w.Glow)
        .arg(changed.empty() ? QStringLiteral("written, nothing changed") : QString::fromStdString(changed) + " written");
}

QString TGlowHistory::Record(const TGlowEdit& edit)
{
    if (!ChangesBytes(edit))
        return {};
    const QString text = StepText(edit);
    Stack.push(new TGlowStep(text, edit.Writes));
    return text;
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
    const TGlowStep* step = UndoStep();
    if (!step)
        return;
    // In the reverse of the order the step wrote them.
    for (auto w = step->Writes.rbegin(); w != step->Writes.rend(); ++w)
        PutGlowValues(w->Mesh, w->Glow, w->Before);
    Stack.undo();
}

void TGlowHistory::Redo()
{
    const TGlowStep* step = RedoStep();
    if (!step)
        return;
    for (const TGlowWrite& w : step->Writes)
        PutGlowValues(w.Mesh, w.Glow, w.After);
    Stack.redo();
}
