#pragma once
// The message loops that run inside the meter's own: the popup menu, the
// dialogs and the error box. The window's parts must outlive the code that
// runs such a loop, so a close that arrives meanwhile waits for the
// outermost one to end; the options are saved once, however the program
// ends. The rules, without the window system.
#include <functional>
#include <utility>

namespace orvalet {

class NestedLoops {
public:
    // Asked for once the outermost loop has ended with a close waiting.
    explicit NestedLoops(std::function<void()> closeDue) : closeDue_(std::move(closeDue)) {}
    NestedLoops(const NestedLoops&) = delete;
    NestedLoops& operator=(const NestedLoops&) = delete;

    // Counts one loop for as long as it lives.
    class Scope {
    public:
        explicit Scope(NestedLoops& loops) noexcept : loops_(loops) { ++loops_.depth_; }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
        ~Scope() { loops_.Leave(); }

    private:
        NestedLoops& loops_;
    };

    int Depth() const noexcept { return depth_; }

    // What a close request is to do now.
    enum class CloseStep {
        CloseNow,      // no loop runs: save and close
        EndOpenLoops,  // end the open menu and close the open boxes as if cancelled; the close follows
    };
    CloseStep RequestClose() noexcept;

    // True the first time only: the options are saved once.
    bool TakeSave() noexcept;

private:
    void Leave();

    std::function<void()> closeDue_;
    int depth_ = 0;
    bool closePending_ = false;
    bool saved_ = false;
};

}  // namespace orvalet
