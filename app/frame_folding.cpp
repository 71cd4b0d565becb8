#include "frame_folding.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>
#include <utility>

#include "error_display.h"
#include "view_panel.h"

namespace {

const QEvent::Type LoopTurned = QEvent::Type(QEvent::registerEventType());

// Only a running event loop comes back to draw a pending frame: a caller
// that drives the window step by step (a test, a script) gets each frame at
// once.
bool InEventLoop()
{
    return QThread::currentThread()->loopLevel() > 0;
}

void PostTurn(QObject* folder)
{
    QCoreApplication::postEvent(folder, new QEvent(LoopTurned));
}

}  // namespace

TFrameFolder::TFrameFolder(std::function<void()> draw, std::function<TPartDrawn()> drawPart, QObject* parent)
    : QObject(parent), Draw(std::move(draw)), DrawPart(std::move(drawPart))
{
}

void TFrameFolder::Ask()
{
    if (InParts || (TurnsBehind > 0 && InEventLoop()))
        Waiting = true;
    else
        DrawNow();
}

void TFrameFolder::DrawNow()
{
    Waiting = false;
    // The whole frame drawn here replaces a frame in parts, whose turn is
    // posted already.
    const bool posted = std::exchange(InParts, false) || TurnsBehind > 0;
    if (!posted)
        PostTurn(this);
    TurnsBehind = 2;
    Draw();
}

void TFrameFolder::Drawn()
{
    if (TurnsBehind == 0)
        PostTurn(this);
    TurnsBehind = 2;
}

void TFrameFolder::NextPart()
{
    TPartDrawn drawn = TPartDrawn::Shown;
    try {
        drawn = DrawPart();
    } catch (...) {
        InParts = Waiting = false;
        Drawn();
        throw;
    }
    if (drawn == TPartDrawn::Drawing)
        return PostTurn(this);
    InParts = false;
    Waiting = drawn == TPartDrawn::ShownBehind;
    Drawn();
}

void TFrameFolder::customEvent(QEvent* event)
{
    if (event->type() != LoopTurned)
        return QObject::customEvent(event);
    if (InParts)
        return Guarded([&] { NextPart(); });
    if (TurnsBehind > 0 && --TurnsBehind > 0)
        PostTurn(this);
    else if (Waiting) {
        InParts = true;
        Guarded([&] { NextPart(); });
    }
}
