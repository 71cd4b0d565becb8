#include "glow_nudging.h"

namespace {

// Where each nudge key sends the centre: J, L, I and K lie as the arrows
// do, U and O beside I.
std::optional<TNudge> NudgeOf(int key)
{
    switch (key) {
    case Qt::Key_J:
        return TNudge::Left;
    case Qt::Key_L:
        return TNudge::Right;
    case Qt::Key_I:
        return TNudge::Up;
    case Qt::Key_K:
        return TNudge::Down;
    case Qt::Key_U:
        return TNudge::Away;
    case Qt::Key_O:
        return TNudge::Towards;
    default:
        return std::nullopt;
    }
}

QChar AxisName(int axis)
{
    return QLatin1Char("XYZ"[axis]);
}

}  // namespace

void TGlowNudging::Start(double span)
{
    Step = TNudgeStep::For(span);
    Lock = TGlowDrag::NoAxis;
}

TGlowNudging::TKey TGlowNudging::Key(int key, Qt::KeyboardModifiers modifiers)
{
    // The letters are free in every other use only alone (Ctrl+Z and Ctrl+Y
    // are Undo and Redo).
    const bool plain = !(modifiers & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (const std::optional<TNudge> direction = NudgeOf(key))
        return plain ? TKey{true, direction} : TKey{};
    switch (key) {
    // With whatever a keyboard layout needs to type them (AltGr among others).
    case Qt::Key_BracketLeft:
        Step.Finer();
        break;
    case Qt::Key_BracketRight:
        Step.Coarser();
        break;
    case Qt::Key_X:
    case Qt::Key_Y:
    case Qt::Key_Z:
        if (!plain)
            return {};
        Lock = Lock == key - Qt::Key_X ? TGlowDrag::NoAxis : key - Qt::Key_X;
        break;
    default:
        return {};
    }
    return {true, std::nullopt};
}

std::optional<TGlowWrite> TGlowNudging::Write(const TOpenModel& open, const std::vector<TGlowIndex>& glows,
                                              TNudge direction, const TViewProjection& view) const
{
    TGlowWrite write;
    for (const TGlowIndex& at : glows) {
        // From where the glow is shown, as a drag starts.
        const std::optional<TFloat3> centre = Nudged(open.ShownValues(at).Center, direction, Step.Units(), Lock, view);
        if (!centre)
            return std::nullopt;
        write.Glows.push_back({at, open.GlowAt(at)});
        write.Glows.back().Values.Center = *centre;
    }
    return write;
}

QString TGlowNudging::Text() const
{
    QString text = QStringLiteral("step %1").arg(QString::fromStdString(Step.Text()));
    if (Lock != TGlowDrag::NoAxis)
        text += QStringLiteral("   locked to %1").arg(AxisName(Lock));
    return text;
}

QString TGlowNudging::AxisText(TNudge direction, const TViewProjection& view) const
{
    if (Lock != TGlowDrag::NoAxis)
        return {};
    return QStringLiteral("along %1   ").arg(AxisName(NudgeAxis(direction, view)));
}

QString TGlowNudging::LockRefusal() const
{
    return QStringLiteral("Locked to %1: that key does not move along %1 in this view").arg(AxisName(Lock));
}
