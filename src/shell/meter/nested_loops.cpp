#include "shell/meter/nested_loops.h"

#include <utility>

namespace orvalet {

NestedLoops::CloseStep NestedLoops::RequestClose() noexcept {
    if (depth_ == 0) return CloseStep::CloseNow;
    closePending_ = true;
    return CloseStep::EndOpenLoops;
}

bool NestedLoops::TakeSave() noexcept { return !std::exchange(saved_, true); }

void NestedLoops::Leave() {
    if (depth_ == 0) return;
    if (--depth_ == 0 && std::exchange(closePending_, false) && closeDue_) closeDue_();
}

}  // namespace orvalet
