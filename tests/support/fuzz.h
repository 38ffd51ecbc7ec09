#pragma once
// Seeds, counts and random numbers for the randomised tests.
//   ORVALET_FUZZ_FULL=1     runs the full counts instead of the quick slices ./test runs
//   ORVALET_FUZZ_SEED=N     starts from seed N instead of the fixed one
// Every run prints its seed, and a failure names the seed that repeats it.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace orvalet::testing {

inline bool FuzzFull() {
    const char* full = std::getenv("ORVALET_FUZZ_FULL");
    return full && *full && std::strcmp(full, "0") != 0;
}

inline int FuzzCount(int quick, int full) { return FuzzFull() ? full : quick; }

// The seed of this run, printed with what the run is about to do.
inline std::uint64_t FuzzSeed(const char* what, std::uint64_t fixedSeed, int count) {
    const char* given = std::getenv("ORVALET_FUZZ_SEED");
    const std::uint64_t seed = given && *given ? std::strtoull(given, nullptr, 0) : fixedSeed;
    std::printf("[fuzz] %s: %d from seed %llu%s\n", what, count, static_cast<unsigned long long>(seed),
                FuzzFull() ? "" : " (quick slice; ORVALET_FUZZ_FULL=1 for all)");
    std::fflush(stdout);
    return seed;
}

// What to set to repeat one case as the first of a run.
inline std::string Reproduce(std::uint64_t seed) { return "ORVALET_FUZZ_SEED=" + std::to_string(seed); }

// The same numbers from the same seed on every platform and library: the
// engine's output is fixed by the C++ standard and the helpers below use no
// library distribution.
class FuzzRandom {
public:
    explicit FuzzRandom(std::uint64_t seed) : engine_(seed) {}

    std::uint64_t Next() { return engine_(); }
    // 0 .. n-1; 0 for n == 0.
    std::uint64_t Below(std::uint64_t n) { return n == 0 ? 0 : engine_() % n; }
    bool OneIn(std::uint64_t n) { return Below(n) == 0; }
    // Picks one of the listed values.
    template <typename T, std::size_t N>
    const T& Pick(const T (&values)[N]) {
        return values[Below(N)];
    }

private:
    std::mt19937_64 engine_;
};

}  // namespace orvalet::testing
