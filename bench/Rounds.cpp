#include "bench/Rounds.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace cq::bench {

double microsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const std::size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2.0;
}

SideBySide alternate(int rounds, const std::function<double()>& a,
                     const std::function<double()>& b) {
    SideBySide out;
    for (int r = 0; r < rounds; ++r) {
        if (r % 2 == 0) {
            out.a.push_back(a());
            out.b.push_back(b());
        } else {
            out.b.push_back(b());
            out.a.push_back(a());
        }
    }
    return out;
}

void report(const std::string& name, const std::string& labelA, const std::string& labelB,
            const SideBySide& sides, double target) {
    const double a = sides.medianA();
    const double b = sides.medianB();
    std::printf("%s, median of %zu alternating rounds:\n", name.c_str(), sides.a.size());
    std::printf("  %-44s %10.1f us\n", labelA.c_str(), a);
    std::printf("  %-44s %10.1f us\n", labelB.c_str(), b);
    std::printf("  ratio %.2f (target %.2f): %s\n", a / b, target,
                a / b <= target ? "met" : "missed");
    std::printf("RESULT|%s|%s|%.1f|%s|%.1f|%.2f|%.2f\n", name.c_str(), labelA.c_str(), a,
                labelB.c_str(), b, a / b, target);
    std::fflush(stdout);
}

int roundsFrom(int argc, char** argv, int fallback) {
    if (argc < 2) return fallback;
    const int n = std::atoi(argv[1]);
    return n > 0 ? n : fallback;
}

}  // namespace cq::bench
