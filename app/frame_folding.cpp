#include "frame_folding.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

#include "error_display.h"

namespace {

const QEvent::Type LoopTurned = QEvent::Type(QEvent::registerEventType());

// Only a running event loop comes back to draw a pending frame: a caller
// that drives the window step by step (a test, a script) gets each frame at
// once.
bool InEventLoop()
{
    return QThread::currentThread()->loopLevel() > 0;
}

}  // namespace

TFrameFolder::TFrameFolder(std::function<void()> draw, QObject* parent) : QObject(parent), Draw(std::move(draw)) {}

void TFrameFolder::Ask()
{
    if (TurnsBehind > 0 && InEventLoop())
        Waiting = true;
    else
        DrawNow();
}

void TFrameFolder::DrawNow()
{
    Waiting = false;
    if (TurnsBehind == 0)
        QCoreApplication::postEvent(this, new QEvent(LoopTurned));
    TurnsBehind = 2;
    Draw();
}

void TFrameFolder::customEvent(QEvent* event)
{
    if (event->type() != LoopTurned)
        return QObject::customEvent(event);
    if (--TurnsBehind > 0)
        QCoreApplication::postEvent(this, new QEvent(LoopTurned));
    else if (Waiting)
        Guarded([&] { DrawNow(); });
}
