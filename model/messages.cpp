#include "messages.h"

#include <iostream>
#include <utility>

namespace {

TShowMsgHandler& Handler()
{
    static TShowMsgHandler handler = [](const std::string& text) { std::cerr << text << '\n'; };
    return handler;
}

}  // namespace

void ShowMsg(const std::string& text)
{
    Handler()(text);
}

TShowMsgHandler SetShowMsgHandler(TShowMsgHandler handler)
{
    return std::exchange(Handler(), std::move(handler));
}
