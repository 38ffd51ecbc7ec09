#pragma once
#include <exception>
#include <functional>
#include <string>
#include <utility>

namespace orvalet {

// The application-wide handler for exceptions that reach an event boundary
// (timer ticks, window procedures). The shell installs one that shows a
// message box; tests install their own.
using ErrorHandler = std::function<void(const std::wstring& message)>;

// Installs the handler and returns the one it replaces.
ErrorHandler SetErrorHandler(ErrorHandler handler);

// Installs a handler for its own lifetime and puts back the one it replaced,
// which it keeps within reach.
class ScopedErrorHandler {
public:
    explicit ScopedErrorHandler(ErrorHandler handler) : previous_(SetErrorHandler(std::move(handler))) {}
    ScopedErrorHandler(const ScopedErrorHandler&) = delete;
    ScopedErrorHandler& operator=(const ScopedErrorHandler&) = delete;
    ~ScopedErrorHandler() { SetErrorHandler(std::move(previous_)); }

    const ErrorHandler& Previous() const noexcept { return previous_; }

private:
    ErrorHandler previous_;
};

// Reports the exception currently being handled. Call only inside a catch
// block. Never throws.
void ReportCurrentException() noexcept;

// Runs fn and reports any exception it throws. Returns whether fn completed.
template <typename Fn>
bool RunGuarded(Fn&& fn) noexcept {
    try {
        fn();
        return true;
    } catch (...) {
        ReportCurrentException();
        return false;
    }
}

}  // namespace orvalet
