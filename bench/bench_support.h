// What the benchmarks share: the pair list, the shipped database, synthetic databases and the
// resident set size.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace kestrum::bench {

struct Pair {
    std::string from;
    std::string to;
};

const std::vector<Pair>& pairs();          // bench/pairs.txt
std::string shippedDatabase();              // the build tree's copy of the shipped database
// A database file of `units` units over a handful of quantities, written once per size.
std::string syntheticDatabase(std::size_t units);
std::vector<Pair> syntheticPairs(std::size_t units, std::size_t count);
long residentBytes();

}  // namespace kestrum::bench
