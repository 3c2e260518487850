// The measuring loop shared by our pair driver and the peer's: one function that callgrind
// counts (--toggle-collect=measure_loop) and a clock around it.
#pragma once

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace pair_driver {

struct Pair {
    std::string from;
    std::string to;
};

inline std::vector<Pair> readPairs(const std::string& path) {
    std::vector<Pair> pairs;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream words(line);
        Pair p;
        if (words >> p.from >> p.to) pairs.push_back(p);
    }
    return pairs;
}

// Nanoseconds per call of body over n calls, the best of five rounds.
template <class Body>
double nanosecondsPerCall(long n, Body&& body) {
    double best = 1e300;
    for (int round = 0; round < 5; ++round) {
        const auto start = std::chrono::steady_clock::now();
        for (long i = 0; i < n; ++i) body();
        const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;
        best = std::min(best, elapsed.count() / static_cast<double>(n));
    }
    return best;
}

}  // namespace pair_driver
