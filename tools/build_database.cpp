// kestrum-build-database: builds the shipped Unit_Database.xml from the reference tables.
//
//   kestrum-build-database [--data DIR] --output FILE
//
// The database is built through the engine's edit operations and written by the engine's own
// writer. Nothing is written unless the built database holds every table value bit for bit,
// and the written file is read back and checked again before it replaces FILE.
#include "database_builder.h"
#include "reference_tables.h"

#include <kestrum/engine.h>

#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using kestrum::data::ReferenceTables;

int usage() {
    std::cerr << "usage: kestrum-build-database [--data DIR] --output FILE\n"
                 "Builds the Unit Database from DIR's quantities.csv, units.csv, unit_systems.csv and\n"
                 "definitions.csv (default DIR: the folder of FILE).\n";
    return 2;
}

bool report(const std::string& stage, const std::vector<std::string>& messages) {
    if (messages.empty()) return true;
    std::cerr << "kestrum-build-database: " << stage << ":\n";
    for (const auto& m : messages) std::cerr << "  " << m << "\n";
    return false;
}

// Reads the written file into a fresh engine and holds it to the same checks as the built one,
// so a writer that loses a digit or a synonym is caught before the file is shipped.
bool verifyWrittenFile(const fs::path& file, const ReferenceTables& tables) {
    kestrum::Engine engine;
    if (const kestrum::Result rc = engine.ReadUnitDatabase(file.string(), kestrum::OVERWRITE); rc != kestrum::S_OK)
        return report("reading back " + file.string(), {kestrum::ErrorMessage(rc)});
    return report("the written file differs from the tables", kestrum::data::compareWithTables(engine, tables)) &&
           report("definitions with the wrong dimensions", kestrum::data::checkDefinitionDimensions(engine, tables));
}

}  // namespace

int main(int argc, char** argv) {
    fs::path dataDir, output;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--data" || arg == "--output") && i + 1 < argc) {
            (arg == "--data" ? dataDir : output) = argv[++i];
        } else {
            return usage();
        }
    }
    if (output.empty()) return usage();
    if (dataDir.empty()) dataDir = output.parent_path().empty() ? fs::path(".") : output.parent_path();

    ReferenceTables tables;
    std::string error;
    if (!kestrum::data::loadReferenceTables(dataDir, tables, error)) {
        std::cerr << "kestrum-build-database: " << error << "\n";
        return 1;
    }
    kestrum::Engine engine;
    if (!report("edits refused", kestrum::data::buildDatabase(engine, tables)) ||
        !report("the built database differs from the tables", kestrum::data::compareWithTables(engine, tables)))
        return 1;

    fs::path staged = output;
    staged += ".new";
    if (const kestrum::Result rc = engine.WriteUnitDatabase(staged.string()); rc != kestrum::S_OK) {
        std::cerr << "kestrum-build-database: " << staged.string() << ": " << kestrum::ErrorMessage(rc) << "\n";
        return 1;
    }
    std::error_code ec;
    if (!verifyWrittenFile(staged, tables)) {
        fs::remove(staged, ec);
        return 1;
    }
    fs::rename(staged, output, ec);
    if (ec) {
        std::cerr << "kestrum-build-database: " << output.string() << ": " << ec.message() << "\n";
        fs::remove(staged, ec);
        return 1;
    }
    std::cout << output.string() << ": " << tables.quantities.size() << " quantities, " << tables.units.size()
              << " units, " << tables.systems.size() << " unit systems\n";
    return 0;
}
