#pragma once
// ShowMsg: a modal message with one OK button, captioned with the application
// title. The GUI installs the box; without one the text goes to stderr.

#include <functional>
#include <string>

// Line break inside message texts.
inline constexpr const char* LineBreak = "\n";

void ShowMsg(const std::string& text);

using TShowMsgHandler = std::function<void(const std::string&)>;

// Installs the handler that shows messages; returns the previous one.
TShowMsgHandler SetShowMsgHandler(TShowMsgHandler handler);
