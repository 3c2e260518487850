// UDUNITS-2 doing what a client does per pair: parse both strings, get a converter, convert,
// free everything. Modes (pairs file in UDUNITS spelling):
//   udunits_driver count PAIRS INDEX N   N conversions of one pair inside measure_loop
//   udunits_driver time PAIRS N          nanoseconds per conversion, one line per pair
//   udunits_driver load N                N loads of the UDUNITS database inside measure_loop
#include "../pair_driver.h"

#include <udunits2.h>

#include <cstdio>
#include <cstdlib>

namespace {

ut_system* g_system = nullptr;

double convertOnce(const pair_driver::Pair& p) {
    ut_unit* from = ut_parse(g_system, p.from.c_str(), UT_ASCII);
    ut_unit* to = ut_parse(g_system, p.to.c_str(), UT_ASCII);
    double value = 0;
    if (from && to) {
        if (cv_converter* c = ut_get_converter(from, to)) {
            value = cv_convert_double(c, 1.0);
            cv_free(c);
        }
    }
    ut_free(from);
    ut_free(to);
    return value;
}

}  // namespace

extern "C" __attribute__((noinline)) double measure_loop(const pair_driver::Pair* p, long n, int mode) {
    double sum = 0;
    for (long i = 0; i < n; ++i) {
        if (mode == 0) {
            sum += convertOnce(*p);
        } else {
            ut_system* s = ut_read_xml(nullptr);
            sum += s != nullptr;
            ut_free_system(s);
        }
    }
    return sum;
}

int main(int argc, char** argv) {
    ut_set_error_message_handler(ut_ignore);
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "load" && argc == 3) {
        std::printf("%g\n", measure_loop(nullptr, std::atol(argv[2]), 1));
        return 0;
    }
    g_system = ut_read_xml(nullptr);
    if (!g_system) return 1;
    if (mode == "count" && argc == 5) {
        const auto pairs = pair_driver::readPairs(argv[2]);
        const auto& p = pairs.at(std::atoi(argv[3]));
        convertOnce(p);
        std::printf("%g\n", measure_loop(&p, std::atol(argv[4]), 0));
        return 0;
    }
    if (mode == "time" && argc == 4) {
        for (const auto& p : pair_driver::readPairs(argv[2]))
            std::printf("%.1f\n", pair_driver::nanosecondsPerCall(std::atol(argv[3]), [&] { convertOnce(p); }));
        return 0;
    }
    std::fprintf(stderr, "usage: udunits_driver count PAIRS INDEX N | time PAIRS N | load N\n");
    return 2;
}
