#pragma once
// The program's two option records at their defaults for a test.
#include <utility>

#include "settings/options.h"

namespace orvalet::testing {

// Sets CurrentOptions and PendingOptions to the defaults for its lifetime,
// and then puts back what they held.
class DefaultOptionsRecords {
public:
    DefaultOptionsRecords()
        : current_(std::exchange(CurrentOptions, OVL_OptionsRecord{})),
          pending_(std::exchange(PendingOptions, OVL_OptionsRecord{})) {}
    DefaultOptionsRecords(const DefaultOptionsRecords&) = delete;
    DefaultOptionsRecords& operator=(const DefaultOptionsRecords&) = delete;
    ~DefaultOptionsRecords() {
        CurrentOptions = std::move(current_);
        PendingOptions = std::move(pending_);
    }

private:
    OVL_OptionsRecord current_;
    OVL_OptionsRecord pending_;
};

}  // namespace orvalet::testing
