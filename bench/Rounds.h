#pragma once
// Two sides timed in alternating rounds of one run, so that whatever the
// machine does meanwhile falls on both: in even rounds side A runs first, in
// odd rounds side B. Each side reports its own time for a round (it may leave
// out its set-up), and the medians of the rounds are compared.

#include <chrono>
#include <functional>
#include <string>
#include <vector>

namespace cq::bench {

using Clock = std::chrono::steady_clock;

// Microseconds from `start` until now.
double microsSince(Clock::time_point start);

double median(std::vector<double> values);

struct SideBySide {
    std::vector<double> a;  // microseconds, one value per round
    std::vector<double> b;

    double medianA() const { return median(a); }
    double medianB() const { return median(b); }
    // Median of A over median of B.
    double ratio() const { return medianA() / medianB(); }
};

// Runs `rounds` rounds of both sides; each call returns its round's time in microseconds.
SideBySide alternate(int rounds, const std::function<double()>& a,
                     const std::function<double()>& b);

// Prints both medians and the ratio, then one line for scripts:
// "RESULT|<name>|<label a>|<median a>|<label b>|<median b>|<ratio>|<target>".
void report(const std::string& name, const std::string& labelA, const std::string& labelB,
            const SideBySide& sides, double target);

// The number of rounds: the program's first argument when given, else `fallback`.
int roundsFrom(int argc, char** argv, int fallback);

}  // namespace cq::bench
