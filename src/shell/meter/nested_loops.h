#pragma once
// The message loops that run inside the meter's own. The window's parts must
// outlive the code that runs such a loop, so a close that arrives meanwhile
// waits for the outermost one to end; the options are saved once, however
// the program ends. The rules, without the window system.
//
// Every loop the meter can enter, and how it is counted:
//   - the tray menu (TrackPopupMenu), from the tray icon or the graph's
//     right button: run as a counted loop (WindowLoops::Run);
//   - the system menu (Alt+Space, or the caption's icon): counted between
//     WM_ENTERMENULOOP and WM_EXITMENULOOP;
//   - the move and size loop (a drag by the graph or the caption, the sizing
//     frame, the system menu's Move and Size): counted between
//     WM_ENTERSIZEMOVE and WM_EXITSIZEMOVE;
//   - the about box and the options dialog: run as counted loops
//     (TOVL_Main::RunActionDialog);
//   - the colour dialog: inside the options dialog's loop, counted with it;
//   - message boxes: the error box of a failed tick or handler, run as a
//     counted loop by the error handler WindowLoops puts in place; the
//     start-up error box comes before the meter runs, and the program ends
//     after it.
// A loop added to the meter is added to this list and counted the same way.
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
        explicit Scope(NestedLoops& loops) noexcept : loops_(loops) { loops_.Enter(); }
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;
        ~Scope() { loops_.Leave(); }

    private:
        NestedLoops& loops_;
    };

    // A loop the system runs and reports by a message as it begins and
    // another as it ends. A report of an end without a beginning is ignored.
    void Enter() noexcept { ++depth_; }
    void Leave();

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
    std::function<void()> closeDue_;
    int depth_ = 0;
    bool closePending_ = false;
    bool saved_ = false;
};

}  // namespace orvalet
