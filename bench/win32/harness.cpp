#include "harness.h"

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace orvalet::bench {

const void* volatile keepAliveSink = nullptr;

namespace {

struct Case {
    const char* name;
    BenchBody body;
};

struct ReportCase {
    const char* name;
    std::function<void()> body;
};

std::vector<Case>& Cases() {
    static std::vector<Case> cases;
    return cases;
}

std::vector<ReportCase>& Reports() {
    static std::vector<ReportCase> reports;
    return reports;
}

double SecondsFor(const BenchBody& body, std::size_t iterations) {
    const auto start = std::chrono::steady_clock::now();
    body(iterations);
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct Timing {
    double seconds;
    std::size_t iterations;
};

Timing Time(const BenchBody& body) {
    constexpr double kMinSeconds = 0.2;
    std::size_t iterations = 1;
    double seconds = SecondsFor(body, iterations);
    while (seconds < kMinSeconds && iterations < (std::size_t{1} << 30)) {
        iterations *= seconds > 0.0 && kMinSeconds / seconds < 10.0 ? 2 : 10;
        seconds = SecondsFor(body, iterations);
    }
    return {seconds, iterations};
}

void Run(const Case& c) {
    const Timing timing = Time(c.body);
    std::printf("%-48s %14.1f ns %12zu iterations\n", c.name,
                timing.seconds * 1e9 / static_cast<double>(timing.iterations), timing.iterations);
    std::fflush(stdout);
}

}  // namespace

Registration::Registration(const char* name, BenchBody body) {
    Cases().push_back({name, std::move(body)});
}

Report::Report(const char* name, std::function<void()> body) { Reports().push_back({name, std::move(body)}); }

double MeanSeconds(const std::function<void()>& body) {
    const Timing timing = Time([&body](std::size_t iterations) {
        for (std::size_t i = 0; i < iterations; ++i) body();
    });
    return timing.seconds / static_cast<double>(timing.iterations);
}

}  // namespace orvalet::bench

int main(int argc, char** argv) {
    const std::string filter = argc > 1 ? argv[1] : "";
    const auto wanted = [&filter](const char* name) { return std::string(name).find(filter) != std::string::npos; };
    for (const auto& c : orvalet::bench::Cases())
        if (wanted(c.name)) orvalet::bench::Run(c);
    for (const auto& r : orvalet::bench::Reports()) {
        if (!wanted(r.name)) continue;
        std::printf("== %s\n", r.name);
        r.body();
        std::fflush(stdout);
    }
    return 0;
}
