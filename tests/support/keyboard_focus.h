#pragma once
// Whether keys typed now reach widget: its window is the one the window
// system gave the keyboard to, and widget is that window's focus widget.
// QTest::qWaitForWindowActive is no such wait for a dialog: Qt counts a
// window active while its owner, or its owner's owner, has the keyboard, so
// with a window manager it returns before the dialog has been given it. And
// after a dialog closes, Qt names it as the focus window until the window
// system has moved the keyboard on.

#include <QApplication>
#include <QWidget>
#include <QWindow>

inline bool HasKeyboard(const QWidget* widget)
{
    return QGuiApplication::focusWindow() == widget->window()->windowHandle() && QApplication::focusWidget() == widget;
}
