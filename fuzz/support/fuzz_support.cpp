#include "fuzz_support.h"

#include "result_names.h"

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace kestrum::fuzz {

void fail(std::string_view what) {
    std::fprintf(stderr, "\nkestrum fuzz check failed: %.*s\n", static_cast<int>(what.size()), what.data());
    std::fflush(stderr);
    std::abort();
}

std::string codeText(Result rc) { return test_support::resultName(rc); }

std::string numberText(double value) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

ScratchDir::ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kestrum-fuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a scratch folder in " + pattern);
    m_path = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

std::string ScratchDir::file(std::string_view name) const { return m_path + "/" + std::string(name); }

void writeBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    KESTRUM_FUZZ_CHECK(out.good(), "cannot write " + path);
}

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

namespace {

std::string joined(const std::vector<std::string>& list) {
    std::string out;
    for (const auto& s : list) out += "[" + s + "]";
    return out;
}

// Each query of a listed item must succeed; the first that does not is reported.
class Querying {
public:
    void operator()(Result rc, std::string_view what, std::string_view item) {
        if (rc != S_OK && m_error.empty())
            m_error = std::string(what) + "(" + std::string(item) + ") of a listed item gave " + codeText(rc);
    }
    std::string error() const { return m_error; }

private:
    std::string m_error;
};

}  // namespace

std::string takeSnapshot(Engine& e, Snapshot& out) {
    Querying q;
    std::vector<std::string> quantities, units, systems;
    q(e.Quantity_Set(quantities), "Quantity_Set", "");
    q(e.Unit_Set(units), "Unit_Set", "");
    q(e.UnitSystem_Set(systems), "UnitSystem_Set", "");
    out = Snapshot();
    for (const auto& name : quantities) {
        QuantityState s;
        s.name = name;
        q(e.Quantity_Expression(name, s.expression), "Quantity_Expression", name);
        q(e.Quantity_DimVector(name, s.dims), "Quantity_DimVector", name);
        q(e.Quantity_Synonym_Set(name, s.synonyms), "Quantity_Synonym_Set", name);
        q(e.Quantity_Unit_Set(name, s.units), "Quantity_Unit_Set", name);
        out.quantities.push_back(std::move(s));
    }
    for (const auto& name : units) {
        UnitState s;
        s.name = name;
        q(e.Unit_Quantity(name, s.quantity), "Unit_Quantity", name);
        q(e.Unit_Expression(name, s.expression), "Unit_Expression", name);
        q(e.Unit_Symbol(name, s.symbol), "Unit_Symbol", name);
        q(e.Unit_ConversionFactor(name, s.factor), "Unit_ConversionFactor", name);
        q(e.Unit_ConversionOffset(name, s.offset), "Unit_ConversionOffset", name);
        q(e.Unit_Synonym_Set(name, s.synonyms), "Unit_Synonym_Set", name);
        out.units.push_back(std::move(s));
    }
    for (const auto& name : systems) {
        UnitSystemState s;
        s.name = name;
        for (const auto& quantity : quantities) {
            std::string preferred;
            q(e.UnitSystem_PrefUnit(name, quantity, preferred), "UnitSystem_PrefUnit", name + ", " + quantity);
            s.preferred.emplace_back(quantity, std::move(preferred));
        }
        out.systems.push_back(std::move(s));
    }
    return q.error();
}

std::vector<std::string> Snapshot::lines() const {
    std::vector<std::string> out;
    for (const auto& s : quantities) {
        std::string line = "quantity " + s.name + " expr=" + s.expression + " dims=";
        for (auto d : s.dims) line += std::to_string(d) + ",";
        out.push_back(line + " synonyms=" + joined(s.synonyms) + " units=" + joined(s.units));
    }
    // -0 and 0 are one value: a file need not keep the sign of a zero.
    auto value = [](double v) { return numberText(v == 0.0 ? 0.0 : v); };
    for (const auto& s : units) {
        out.push_back("unit " + s.name + " quantity=" + s.quantity + " expr=" + s.expression + " factor=" +
                      value(s.factor) + " offset=" + value(s.offset) + " symbol=" + s.symbol +
                      " synonyms=" + joined(s.synonyms));
    }
    for (const auto& s : systems) {
        std::string line = "system " + s.name + ":";
        for (const auto& [quantity, unit] : s.preferred) line += " " + quantity + "=" + unit;
        out.push_back(line);
    }
    return out;
}

std::string difference(const Snapshot& expected, const Snapshot& actual) {
    const auto a = expected.lines();
    const auto b = actual.lines();
    for (std::size_t i = 0; i < a.size() || i < b.size(); ++i) {
        const std::string left = i < a.size() ? a[i] : "(nothing)";
        const std::string right = i < b.size() ? b[i] : "(nothing)";
        if (left != right) return "expected  " + left + "\nbut found " + right;
    }
    return {};
}

std::string writeAndReadBack(Engine& e, const std::string& path, Engine& fresh) {
    if (const Result rc = e.WriteUnitDatabase(path); rc != S_OK) return "WriteUnitDatabase gave " + codeText(rc);
    if (const Result rc = fresh.ReadUnitDatabase(path, OVERWRITE); rc != S_OK)
        return "reading back what was written gave " + codeText(rc) + "; the file:\n" + readBytes(path);
    return {};
}

}  // namespace kestrum::fuzz
