#include "harness.h"

#include <chrono>
#include <cstdio>
#include <vector>

namespace orvalet::bench {

const void* volatile keepAliveSink = nullptr;

namespace {

struct Case {
    const char* name;
    BenchBody body;
};

std::vector<Case>& Cases() {
    static std::vector<Case> cases;
    return cases;
}

double SecondsFor(const BenchBody& body, std::size_t iterations) {
    const auto start = std::chrono::steady_clock::now();
    body(iterations);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Run(const Case& c) {
    constexpr double kMinSeconds = 0.2;
    std::size_t iterations = 1;
    double seconds = SecondsFor(c.body, iterations);
    while (seconds < kMinSeconds && iterations < (std::size_t{1} << 30)) {
        iterations *= seconds > 0.0 && kMinSeconds / seconds < 10.0 ? 2 : 10;
        seconds = SecondsFor(c.body, iterations);
    }
    std::printf("%-48s %14.1f ns %12zu iterations\n", c.name,
                seconds * 1e9 / static_cast<double>(iterations), iterations);
}

}  // namespace

Registration::Registration(const char* name, BenchBody body) {
    Cases().push_back({name, std::move(body)});
}

}  // namespace orvalet::bench

int main() {
    for (const auto& c : orvalet::bench::Cases()) orvalet::bench::Run(c);
    return 0;
}
