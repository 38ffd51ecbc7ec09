#pragma once
// The benchmarks replace the global operator new with one that counts, so a
// benchmark can tell how many heap allocations a piece of work makes.
#include <cstddef>

namespace orvalet::bench {

// Allocations through operator new in the whole program so far.
std::size_t AllocationCount();

}  // namespace orvalet::bench
