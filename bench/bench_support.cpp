#include "bench_support.h"

#include <kestrum/engine.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <unistd.h>

namespace kestrum::bench {

const std::vector<Pair>& pairs() {
    static const std::vector<Pair> list = [] {
        std::vector<Pair> out;
        std::ifstream in(KESTRUM_BENCH_DIR "/pairs.txt");
        std::string line;
        while (std::getline(in, line)) {
            if (line.empty() || line[0] == '#') continue;
            std::istringstream words(line);
            Pair p;
            if (words >> p.from >> p.to) out.push_back(p);
        }
        return out;
    }();
    return list;
}

std::string shippedDatabase() { return KESTRUM_BINARY_DIR "/share/kestrum/Unit_Database.xml"; }

namespace {

std::string syntheticName(std::size_t i) { return "unit_" + std::to_string(i); }

}  // namespace

std::string syntheticDatabase(std::size_t units) {
    const auto path = std::filesystem::temp_directory_path() / ("kestrum-bench-" + std::to_string(units) + ".xml");
    if (std::filesystem::exists(path)) return path.string();
    // Built through the engine and its writer, so the file is exactly what users would have.
    Engine engine;
    static const char* quantities[] = {"Length", "Mass", "Time", "Area", "Velocity"};
    for (int q = 0; q < 5; ++q) engine.Quantity_Add(quantities[q]);
    const std::int16_t length[] = {0, 1}, mass[] = {1}, time[] = {0, 0, 1};
    engine.Quantity_DimVector_Replace("Length", length);
    engine.Quantity_DimVector_Replace("Mass", mass);
    engine.Quantity_DimVector_Replace("Time", time);
    engine.Quantity_Expression_Replace("Area", "Length^2");
    engine.Quantity_Expression_Replace("Velocity", "Length/Time");
    std::mt19937_64 random(units);
    for (std::size_t i = 0; i < units; ++i) {
        const std::string name = syntheticName(i);
        engine.Unit_Add(name, quantities[i % 5]);
        engine.Unit_ConversionFactor_Replace(name, 0.5 + static_cast<double>(random() % 100000) / 1000.0);
        engine.Unit_Symbol_Replace(name, "u" + std::to_string(i));
        engine.Unit_Synonym_Add(name, "u_" + std::to_string(i));
    }
    engine.UnitSystem_Add("base");
    engine.WriteUnitDatabase(path.string());
    return path.string();
}

std::vector<Pair> syntheticPairs(std::size_t units, std::size_t count) {
    std::vector<Pair> out;
    std::mt19937_64 random(42);
    for (std::size_t i = 0; i < count; ++i) {
        // Same quantity on both sides (index congruent mod 5), one compound.
        const std::size_t a = random() % (units / 5) * 5, b = random() % (units / 5) * 5;
        const std::size_t t = random() % (units / 5) * 5 + 2;
        out.push_back({syntheticName(a) + "/" + syntheticName(t), "u_" + std::to_string(b) + "/" + syntheticName(t)});
    }
    return out;
}

long residentBytes() {
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * ::sysconf(_SC_PAGESIZE);
}

}  // namespace kestrum::bench
