// The application's generic error box: what a command lets through ends that
// command and is shown with the run-time's message; the program goes on.
#pragma once

#include <exception>
#include <functional>
#include <string>

namespace unit1 {

// The message shown for an escaped error ("浮動小数点数のオーバーフロー",
// "範囲チェックエラー", or the error's own text).
std::string RunTimeMessage(std::exception_ptr error);

// Runs a command; an error escaping it is given to `showError` (the front
// end's generic error box). True when the command ran to its end.
bool RunGuarded(const std::function<void(const std::string&)>& showError,
                const std::function<void()>& command);

}  // namespace unit1
