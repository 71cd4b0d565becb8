#pragma once
// The one place where an error that escapes an event handler is shown: an
// error box captioned with the application title. The handler's work ends at
// the error; the program goes on.

#include <QString>
#include <exception>
#include <string>
#include <utility>

// The message as the error box shows it: a full stop is appended when the
// last character's code is above that of the full stop.
QString ErrorBoxText(const std::string& message);

// Shows the error box for e.
void ShowError(const std::exception& e);

// A message box with one OK button, captioned with the application title: a
// condition the user is told of, no error.
void ShowMsg(const std::string& text);

// Runs one event handler; an error it raises goes to the error box instead
// of crossing Qt's event loop.
template <typename F>
void Guarded(F&& handler)
{
    try {
        std::forward<F>(handler)();
    } catch (const std::exception& e) {
        ShowError(e);
    }
}
