#pragma once
// Keeps a handler from running inside itself when a nested message loop
// (a menu, a modal dialog) dispatches another tick while it is busy.

namespace orvalet {

// Sets the busy flag for the lifetime of the guard, unless it was already
// set, in which case Entered() is false and the caller must return at once.
// The flag is cleared on every way out, exceptions included, so one failed
// run never blocks all later ones.
class ReentryGuard {
public:
    explicit ReentryGuard(bool& busy) noexcept : busy_(busy), entered_(!busy) { busy_ = true; }
    ReentryGuard(const ReentryGuard&) = delete;
    ReentryGuard& operator=(const ReentryGuard&) = delete;
    ~ReentryGuard() {
        if (entered_) busy_ = false;
    }

    bool Entered() const noexcept { return entered_; }

private:
    bool& busy_;
    bool entered_;
};

}  // namespace orvalet
