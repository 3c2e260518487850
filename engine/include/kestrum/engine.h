// kestrum::Engine: one Unit Database in memory and the conversions over it.
//
// An Engine holds quantities (dimension vectors or quantity expressions), units (factor and
// offset, or a unit expression, and a symbol), unit systems with one preferred unit per
// quantity, and synonyms. It reads and writes that database as an XML file, evaluates unit
// expressions such as "km/h" or "kg*m/s^2", and answers a conversion with two numbers:
// a value v in the "from" expression is v * pdMultiplyBy + pdAdd in the "to" expression.
//
// Every operation returns a Result (see <kestrum/result.h>) and writes its output parameters
// only on success. Strings are UTF-8; names are case-insensitive in ASCII letters and are
// given back in the spelling with which they were created. Lists come back ordered by the
// lower-case name, byte-wise.
//
// Thread safety: none. One Engine is used by one thread at a time; separate Engines share
// nothing and may be used from different threads.
#pragma once

#include <kestrum/export.h>
#include <kestrum/result.h>

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kestrum {

// A unit factor or offset that is not known (an expression that could not be evaluated).
inline constexpr double UNDEFINED_VALUE = -99999999.0;
// Every exponent of a quantity whose dimension vector is not known.
inline constexpr std::int32_t UNSET_EXPONENT = -999;
// Dimension vector order: KG, M, S, A, K, MOL, CD, RAD, SR, DOLLAR.
inline constexpr int kBaseDimensions = 10;

// eReadFlag of ReadUnitDatabase.
inline constexpr int OVERWRITE = 1;
inline constexpr int APPEND = 2;

class Evaluator;
class PreferredUnits;
class SymbolRenderer;
class Tables;

class KESTRUM_ENGINE_API Engine {
public:
    Engine();
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Conversions and symbols.
    Result Initialize(std::string_view sUnitDatabaseLocation);
    Result EnableDimensionalAnalysis(bool bEnable);
    Result UnitExpression_Convert(std::string_view sUnitExpressionFrom, std::string_view sUnitExpressionTo,
                                  double& pdAdd, double& pdMultiplyBy);
    Result UnitExpression_Symbol(std::string_view sUnitExpression, std::string& psSymbol);
    Result QuantityExpression_Convert(std::string_view sUnitSystemFrom, std::string_view sUnitSystemTo,
                                      std::string_view sQuantityExpression, double& pdAdd, double& pdMultiplyBy);
    Result QuantityExpression_Symbol(std::string_view sUnitSystem, std::string_view sQuantityExpression,
                                     std::string& psSymbol);

    // The database file. eReadFlag 1 (OVERWRITE) replaces the database, any other value merges.
    // A failed read leaves the database exactly as it was.
    Result ReadUnitDatabase(std::string_view sUnitDatabaseLocation, int eReadFlag);
    Result WriteUnitDatabase(std::string_view sUnitDatabaseLocation);

    // Queries.
    Result Quantity_Set(std::vector<std::string>& ppQtyArray);
    Result Quantity_Synonym_Set(std::string_view sQuantity, std::vector<std::string>& ppQtySynonymArray);
    Result Quantity_DimVector(std::string_view sQuantity, std::vector<std::int16_t>& ppDimVector);
    Result Quantity_Expression(std::string_view sQuantity, std::string& psExpression);
    Result Quantity_Unit_Set(std::string_view sQuantity, std::vector<std::string>& ppUnitArray);
    Result Unit_Set(std::vector<std::string>& ppUnitArray);
    Result Unit_Synonym_Set(std::string_view sUnit, std::vector<std::string>& ppUnitSynonymArray);
    Result Unit_Quantity(std::string_view sUnit, std::string& psQuantity);
    Result Unit_ConversionFactor(std::string_view sUnit, double& pdConvFactor);
    Result Unit_ConversionOffset(std::string_view sUnit, double& pdConvOffset);
    Result Unit_Expression(std::string_view sUnit, std::string& psExpression);
    Result Unit_Symbol(std::string_view sUnit, std::string& psSymbol);
    Result UnitSystem_Set(std::vector<std::string>& ppUnitSystemArray);
    Result UnitSystem_PrefUnit(std::string_view sUnitSystem, std::string_view sQuantity,
                               std::string& psPreferredUnit);

    // Edits.
    Result Quantity_Remove(std::string_view sQuantity);
    Result Quantity_Rename(std::string_view sCurrentName, std::string_view sNewName);
    Result Quantity_Add(std::string_view sQuantity);
    Result Quantity_Synonym_Remove(std::string_view sQuantity, std::string_view sSynonym);
    Result Quantity_Synonym_Add(std::string_view sQuantity, std::string_view sSynonym);
    Result Quantity_DimVector_Replace(std::string_view sQuantity, std::span<const std::int16_t> pDimVector);
    Result Quantity_Expression_Replace(std::string_view sQuantity, std::string_view sExpression);
    Result Unit_Remove(std::string_view sUnit);
    Result Unit_Rename(std::string_view sCurrentName, std::string_view sNewName);
    Result Unit_Add(std::string_view sUnit, std::string_view sQuantity);
    Result Unit_Synonym_Remove(std::string_view sUnit, std::string_view sSynonym);
    Result Unit_Synonym_Add(std::string_view sUnit, std::string_view sSynonym);
    Result Unit_Quantity_Replace(std::string_view sUnit, std::string_view sQuantity);
    Result Unit_ConversionFactor_Replace(std::string_view sUnit, double dConvFactor);
    Result Unit_ConversionOffset_Replace(std::string_view sUnit, double dConvOffset);
    Result Unit_Expression_Replace(std::string_view sUnit, std::string_view sExpression);
    Result Unit_Symbol_Replace(std::string_view sUnit, std::string_view sSymbol);
    Result UnitSystem_Remove(std::string_view sUnitSystem);
    Result UnitSystem_Rename(std::string_view sCurrentName, std::string_view sNewName);
    Result UnitSystem_Add(std::string_view sUnitSystem);
    Result UnitSystem_PrefUnit_Replace(std::string_view sUnitSystem, std::string_view sQuantity,
                                       std::string_view sUnit);

    // Size of the blocks in which ReadUnitDatabase feeds a file to the parser (default 512;
    // 0 restores it). Exposed so that tests can show the result does not depend on where
    // blocks end.
    void SetReadBlockSize(std::size_t bytes);

private:
    // The parts hold references to the tables, which stay at one address: a read swaps their
    // content.
    std::unique_ptr<Tables> m_tables;
    std::unique_ptr<Evaluator> m_evaluator;
    std::unique_ptr<PreferredUnits> m_preferredUnits;
    std::unique_ptr<SymbolRenderer> m_symbols;
    bool m_dimensionalAnalysis = false;
    bool m_uninitialized = true;
    static constexpr std::size_t kDefaultReadBlockSize = 512;
    std::size_t m_readBlockSize = kDefaultReadBlockSize;
};

}  // namespace kestrum
