// The engine's operations over its parts: the tables (queries and edits), the Evaluator
// (conversions and the values expressions define), the translation into preferred units and
// the symbols. No exception leaves an operation.
#include <kestrum/engine.h>

#include "evaluator.h"
#include "file_io.h"
#include "preferred_units.h"
#include "symbol.h"
#include "tables.h"
#include "text.h"
#include "xml_reader.h"
#include "xml_writer.h"

#include <kestrum/files/replace.h>

#include <cerrno>
#include <cmath>
#include <new>
#include <stdexcept>

namespace kestrum {

namespace {

// No exception leaves an operation: each one is a function-try-block whose handler gives the
// code of what was thrown. Running out of memory part way is E_OUTOFMEMORY and changes nothing,
// because every operation builds what it changes aside (a read fills a copy, an edit undoes
// itself) and commits only with steps that cannot fail.
Result currentFailure() noexcept {
    try {
        throw;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    } catch (const std::length_error&) {
        return E_OUTOFMEMORY;
    } catch (...) {
        return E_INTERNAL;
    }
}

// An operation that only hands on to one part, under the same rule.
template <class Operation>
Result guarded(Operation&& operation) noexcept {
    try {
        return operation();
    } catch (...) {
        return currentFailure();
    }
}

bool tooLongExpression(std::string_view text) {
    return text.size() > kMaxExpressionLength && utf16Length(text) > kMaxExpressionLength;
}

bool pathUsable(std::string_view path) {
    return !path.empty() && utf16Length(path) <= kMaxPathLength && path.find('\0') == std::string_view::npos;
}

Result convertExpressions(Evaluator& evaluator, bool dimensionalAnalysis, std::string_view fromExpression,
                          std::string_view toExpression, double& pdAdd, double& pdMultiplyBy) {
    UnitValue from, to;
    if (const Result rc = evaluator.evaluateOperand(fromExpression, from); rc != S_OK) return rc;
    if (const Result rc = evaluator.evaluateOperand(toExpression, to); rc != S_OK) return rc;
    if (dimensionalAnalysis && from.dims != to.dims) return E_DIMENSIONS_DIFFER;
    if (to.factor == 0.0) return E_DIVIDE_BY_ZERO;
    if (from.factor == UNDEFINED_VALUE || to.factor == UNDEFINED_VALUE) return E_INTERNAL;
    // v in "from" is v*fF + oF in the reference unit, and that is (v*fF + oF - oT)/fT in "to".
    const double multiplyBy = from.factor / to.factor;
    const double add = (from.offset - to.offset) / to.factor;
    // Two finite factors far enough apart (1e31 into 1e-318) overflow: no number converts
    // between them, so the pair is refused as the evaluator refuses a factor that overflows.
    if (!std::isfinite(multiplyBy) || !std::isfinite(add)) return E_INVALID_EXPRESSION;
    pdMultiplyBy = multiplyBy;
    pdAdd = add;
    return S_OK;
}

}  // namespace

Engine::Engine()
    : m_tables(std::make_unique<Tables>()),
      m_evaluator(std::make_unique<Evaluator>(*m_tables)),
      m_preferredUnits(std::make_unique<PreferredUnits>(*m_tables, *m_evaluator)),
      m_symbols(std::make_unique<SymbolRenderer>(*m_tables)) {}
Engine::~Engine() = default;

void Engine::SetReadBlockSize(std::size_t bytes) { m_readBlockSize = bytes == 0 ? kDefaultReadBlockSize : bytes; }

Result Engine::Initialize(std::string_view sUnitDatabaseLocation) try {
    if (!m_uninitialized) return S_OK;  // a later database is loaded with ReadUnitDatabase
    return ReadUnitDatabase(sUnitDatabaseLocation, OVERWRITE);
} catch (...) {
    return currentFailure();
}

Result Engine::EnableDimensionalAnalysis(bool bEnable) try {
    if (m_uninitialized) return E_NOT_INITIALIZED;
    m_dimensionalAnalysis = bEnable;
    return S_OK;
} catch (...) {
    return currentFailure();
}

Result Engine::UnitExpression_Convert(std::string_view sUnitExpressionFrom, std::string_view sUnitExpressionTo,
                                      double& pdAdd, double& pdMultiplyBy) try {
    if (m_uninitialized) return E_NOT_INITIALIZED;
    if (tooLongExpression(sUnitExpressionFrom) || tooLongExpression(sUnitExpressionTo)) return E_INVALID_EXPRESSION;
    return convertExpressions(*m_evaluator, m_dimensionalAnalysis, sUnitExpressionFrom, sUnitExpressionTo, pdAdd,
                              pdMultiplyBy);
} catch (...) {
    return currentFailure();
}

Result Engine::UnitExpression_Symbol(std::string_view sUnitExpression, std::string& psSymbol) try {
    if (tooLongExpression(sUnitExpression)) return E_INVALID_EXPRESSION;
    std::string symbol;
    if (const Result rc = m_symbols->render(sUnitExpression, symbol); rc != S_OK) return rc;
    psSymbol = std::move(symbol);
    return S_OK;
} catch (...) {
    return currentFailure();
}

Result Engine::QuantityExpression_Convert(std::string_view sUnitSystemFrom, std::string_view sUnitSystemTo,
                                          std::string_view sQuantityExpression, double& pdAdd,
                                          double& pdMultiplyBy) try {
    if (m_uninitialized) return E_NOT_INITIALIZED;
    if (tooLongExpression(sQuantityExpression)) return E_INVALID_EXPRESSION;
    std::string from, to;
    if (const Result rc = m_preferredUnits->build(sQuantityExpression, sUnitSystemFrom, from); rc != S_OK)
        return rc;
    if (const Result rc = m_preferredUnits->build(sQuantityExpression, sUnitSystemTo, to); rc != S_OK)
        return rc;
    // The built texts are the engine's own: the limit on a caller's expression does not apply
    // (ten preferred units with names of 50 characters make more than 500).
    return convertExpressions(*m_evaluator, m_dimensionalAnalysis, from, to, pdAdd, pdMultiplyBy);
} catch (...) {
    return currentFailure();
}

Result Engine::QuantityExpression_Symbol(std::string_view sUnitSystem, std::string_view sQuantityExpression,
                                         std::string& psSymbol) try {
    if (tooLongExpression(sQuantityExpression)) return E_INVALID_EXPRESSION;
    std::string expression, symbol;
    if (const Result rc = m_preferredUnits->build(sQuantityExpression, sUnitSystem, expression); rc != S_OK)
        return rc;
    if (const Result rc = m_symbols->render(expression, symbol); rc != S_OK) return rc;
    psSymbol = std::move(symbol);
    return S_OK;
} catch (...) {
    return currentFailure();
}

Result Engine::ReadUnitDatabase(std::string_view sUnitDatabaseLocation, int eReadFlag) try {
    FileContent file;
    if (!pathUsable(sUnitDatabaseLocation) || !file.open(std::string(sUnitDatabaseLocation))) return E_UDB_FILE_NOT_FOUND;
    const std::string_view content = file.view();
    // Read into a copy and swap it in on success: a failed read leaves the database as it was.
    auto target = eReadFlag == OVERWRITE ? std::make_unique<Tables>() : std::make_unique<Tables>(*m_tables);
    if (const Result rc = readDatabaseXml(*target, content, m_readBlockSize); rc != S_OK) return rc;
    m_tables->replaceWith(*target);
    m_uninitialized = false;
    return S_OK;
} catch (...) {
    return currentFailure();
}

Result Engine::WriteUnitDatabase(std::string_view sUnitDatabaseLocation) try {
    if (!pathUsable(sUnitDatabaseLocation)) return E_NO_WRITE_PERMISSION;
    const std::string text = writeDatabaseXml(*m_tables, *m_evaluator);
    const files::FileError error = files::ReplaceFile(std::string(sUnitDatabaseLocation), text, saveEnv());
    if (error.code == ENOMEM) return E_OUTOFMEMORY;
    return error.ok() ? S_OK : E_NO_WRITE_PERMISSION;
} catch (...) {
    return currentFailure();
}

// ---- Queries ----------------------------------------------------------------------------

Result Engine::Quantity_Set(std::vector<std::string>& ppQtyArray) {
    return guarded([&] { return m_tables->Quantity_Set(ppQtyArray); });
}

Result Engine::Quantity_Synonym_Set(std::string_view sQuantity, std::vector<std::string>& ppQtySynonymArray) {
    return guarded([&] { return m_tables->Quantity_Synonym_Set(sQuantity, ppQtySynonymArray); });
}

Result Engine::Quantity_DimVector(std::string_view sQuantity, std::vector<std::int16_t>& ppDimVector) try {
    DimVector v;
    if (const Result rc = m_evaluator->Quantity_DimVector(sQuantity, v); rc != S_OK) return rc;
    ppDimVector.assign(v.begin(), v.end());
    return S_OK;
} catch (...) {
    return currentFailure();
}

Result Engine::Quantity_Expression(std::string_view sQuantity, std::string& psExpression) {
    return guarded([&] { return m_tables->Quantity_Expression(sQuantity, psExpression); });
}

Result Engine::Quantity_Unit_Set(std::string_view sQuantity, std::vector<std::string>& ppUnitArray) {
    return guarded([&] { return m_tables->Quantity_Unit_Set(sQuantity, ppUnitArray); });
}

Result Engine::Unit_Set(std::vector<std::string>& ppUnitArray) {
    return guarded([&] { return m_tables->Unit_Set(ppUnitArray); });
}

Result Engine::Unit_Synonym_Set(std::string_view sUnit, std::vector<std::string>& ppUnitSynonymArray) {
    return guarded([&] { return m_tables->Unit_Synonym_Set(sUnit, ppUnitSynonymArray); });
}

Result Engine::Unit_Quantity(std::string_view sUnit, std::string& psQuantity) {
    return guarded([&] { return m_tables->Unit_Quantity(sUnit, psQuantity); });
}

Result Engine::Unit_ConversionFactor(std::string_view sUnit, double& pdConvFactor) {
    return guarded([&] { return m_evaluator->Unit_ConversionFactor(sUnit, pdConvFactor); });
}

Result Engine::Unit_ConversionOffset(std::string_view sUnit, double& pdConvOffset) {
    return guarded([&] { return m_evaluator->Unit_ConversionOffset(sUnit, pdConvOffset); });
}

Result Engine::Unit_Expression(std::string_view sUnit, std::string& psExpression) {
    return guarded([&] { return m_tables->Unit_Expression(sUnit, psExpression); });
}

Result Engine::Unit_Symbol(std::string_view sUnit, std::string& psSymbol) {
    return guarded([&] { return m_tables->Unit_Symbol(sUnit, psSymbol); });
}

Result Engine::UnitSystem_Set(std::vector<std::string>& ppUnitSystemArray) {
    return guarded([&] { return m_tables->UnitSystem_Set(ppUnitSystemArray); });
}

Result Engine::UnitSystem_PrefUnit(std::string_view sUnitSystem, std::string_view sQuantity,
                                   std::string& psPreferredUnit) {
    return guarded([&] { return m_tables->UnitSystem_PrefUnit(sUnitSystem, sQuantity, psPreferredUnit); });
}

// ---- Edits ------------------------------------------------------------------------------

Result Engine::Quantity_Remove(std::string_view sQuantity) {
    return guarded([&] { return m_tables->Quantity_Remove(sQuantity); });
}

Result Engine::Quantity_Rename(std::string_view sCurrentName, std::string_view sNewName) {
    return guarded([&] { return m_tables->Quantity_Rename(sCurrentName, sNewName); });
}

Result Engine::Quantity_Add(std::string_view sQuantity) {
    return guarded([&] { return m_tables->Quantity_Add(sQuantity); });
}

Result Engine::Quantity_Synonym_Remove(std::string_view sQuantity, std::string_view sSynonym) {
    return guarded([&] { return m_tables->Quantity_Synonym_Remove(sQuantity, sSynonym); });
}

Result Engine::Quantity_Synonym_Add(std::string_view sQuantity, std::string_view sSynonym) {
    return guarded([&] { return m_tables->Quantity_Synonym_Add(sQuantity, sSynonym); });
}

Result Engine::Quantity_DimVector_Replace(std::string_view sQuantity, std::span<const std::int16_t> pDimVector) {
    return guarded([&] { return m_tables->Quantity_DimVector_Replace(sQuantity, pDimVector); });
}

Result Engine::Quantity_Expression_Replace(std::string_view sQuantity, std::string_view sExpression) {
    return guarded([&] { return m_tables->Quantity_Expression_Replace(sQuantity, sExpression); });
}

Result Engine::Unit_Remove(std::string_view sUnit) {
    return guarded([&] { return m_tables->Unit_Remove(sUnit); });
}

Result Engine::Unit_Rename(std::string_view sCurrentName, std::string_view sNewName) {
    return guarded([&] { return m_tables->Unit_Rename(sCurrentName, sNewName); });
}

Result Engine::Unit_Add(std::string_view sUnit, std::string_view sQuantity) {
    return guarded([&] { return m_tables->Unit_Add(sUnit, sQuantity); });
}

Result Engine::Unit_Synonym_Remove(std::string_view sUnit, std::string_view sSynonym) {
    return guarded([&] { return m_tables->Unit_Synonym_Remove(sUnit, sSynonym); });
}

Result Engine::Unit_Synonym_Add(std::string_view sUnit, std::string_view sSynonym) {
    return guarded([&] { return m_tables->Unit_Synonym_Add(sUnit, sSynonym); });
}

Result Engine::Unit_Quantity_Replace(std::string_view sUnit, std::string_view sQuantity) {
    return guarded([&] { return m_tables->Unit_Quantity_Replace(sUnit, sQuantity); });
}

Result Engine::Unit_ConversionFactor_Replace(std::string_view sUnit, double dConvFactor) {
    return guarded([&] { return m_tables->Unit_ConversionFactor_Replace(sUnit, dConvFactor); });
}

Result Engine::Unit_ConversionOffset_Replace(std::string_view sUnit, double dConvOffset) {
    return guarded([&] { return m_tables->Unit_ConversionOffset_Replace(sUnit, dConvOffset); });
}

Result Engine::Unit_Expression_Replace(std::string_view sUnit, std::string_view sExpression) {
    return guarded([&] { return m_tables->Unit_Expression_Replace(sUnit, sExpression); });
}

Result Engine::Unit_Symbol_Replace(std::string_view sUnit, std::string_view sSymbol) {
    return guarded([&] { return m_tables->Unit_Symbol_Replace(sUnit, sSymbol); });
}

Result Engine::UnitSystem_Remove(std::string_view sUnitSystem) {
    return guarded([&] { return m_tables->UnitSystem_Remove(sUnitSystem); });
}

Result Engine::UnitSystem_Rename(std::string_view sCurrentName, std::string_view sNewName) {
    return guarded([&] { return m_tables->UnitSystem_Rename(sCurrentName, sNewName); });
}

Result Engine::UnitSystem_Add(std::string_view sUnitSystem) {
    return guarded([&] { return m_tables->UnitSystem_Add(sUnitSystem); });
}

Result Engine::UnitSystem_PrefUnit_Replace(std::string_view sUnitSystem, std::string_view sQuantity,
                                           std::string_view sUnit) {
    return guarded([&] { return m_tables->UnitSystem_PrefUnit_Replace(sUnitSystem, sQuantity, sUnit); });
}

}  // namespace kestrum
