#pragma once
// The message of the error of kind E that f raises, or "no error".

#include <functional>
#include <string>

template <typename E>
std::string MessageOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const E& e) {
        return e.what();
    }
    return "no error";
}
