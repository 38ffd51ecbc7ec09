#pragma once
// A small timing harness for the Windows build, where Google Benchmark is not
// available: each registered case runs for at least a fifth of a second and
// reports the mean time of one iteration. The program's argument, if any,
// picks the cases and reports whose names contain it.
#include <cstddef>
#include <functional>
#include <string>

namespace orvalet::bench {

using BenchBody = std::function<void(std::size_t iterations)>;

struct Registration {
    Registration(const char* name, BenchBody body);
};

// A report runs once, after the timed cases, and prints its own figures.
struct Report {
    Report(const char* name, std::function<void()> body);
};

// Mean seconds of one call of body over at least a fifth of a second.
double MeanSeconds(const std::function<void()>& body);

// Keeps the optimiser from discarding a computed value.
extern const void* volatile keepAliveSink;

template <typename T>
void KeepAlive(const T& value) {
    keepAliveSink = &value;
}

}  // namespace orvalet::bench

#define ORVALET_WIN_BENCH(name)                                                          \
    static void name(std::size_t iterations);                                            \
    static const ::orvalet::bench::Registration name##_registration{#name, name};       \
    static void name(std::size_t iterations)

#define ORVALET_WIN_REPORT(name)                                                    \
    static void name();                                                             \
    static const ::orvalet::bench::Report name##_report{#name, name};               \
    static void name()
