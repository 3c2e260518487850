// MorvaneEngine: the program's one engine object, held through its two interfaces.
//
// Every page reaches the engine through this object. It turns the engine's counted wide strings
// and safe arrays into Qt text and lists (and frees them), passes text whole so the engine's own
// limits refuse what is too long instead of a cut text meaning something else, and keeps the
// mark for unsaved changes: set by every successful add, remove, rename and synonym edit, by a
// replace that altered a stored value and by an Append read; cleared by an Overwrite read and
// by a save. Results are the engine's codes; after a failure the engine's description is
// waiting for ShowEngineError.
#pragma once

#include <kestrum/KestrumLib.h>

#include <comrt/owned.h>

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

// What the engine reports as the factor or offset of a unit whose expression cannot be
// evaluated (a cycle, a unit that no longer exists): no number, never to be shown as one.
inline constexpr double kUndefinedValue = -99999999.0;

class MorvaneEngine {
public:
    // The exponents of a dimension vector as the Quantity Database page edits them, one per
    // base dimension in the engine's order.
    using DimensionExponents = std::array<int, 10>;

    // Creates the engine object from its in-process server asking for IMorvane, then asks it
    // for IUnitDatabase. On failure nothing is held and *why (if given) says what went wrong.
    HRESULT Create(QString* why = nullptr);
    void Release();
    bool IsCreated() const { return m_morvane && m_database; }

    IMorvane* morvane() const { return m_morvane.get(); }
    IUnitDatabase* database() const { return m_database.get(); }

    bool HasUnsavedChanges() const { return m_bUnsavedChanges; }
    // Puts the mark back as it was before a sequence of edits that cancelled each other out.
    void RestoreUnsavedChanges(bool bUnsaved) { m_bUnsavedChanges = bUnsaved; }

    // IMorvane
    HRESULT Initialize(const QString& location);
    // Remembers what the engine took, so a check box can show what conversions do: the engine
    // keeps the setting across reads, and refuses it before a database is loaded.
    HRESULT EnableDimensionalAnalysis(bool bEnable);
    bool DimensionalAnalysis() const { return m_bDimensionalAnalysis; }
    HRESULT UnitExpression_Convert(const QString& from, const QString& to, double& add, double& multiplyBy);
    HRESULT UnitExpression_Symbol(const QString& expression, QString& symbol);
    HRESULT QuantityExpression_Convert(const QString& systemFrom, const QString& systemTo, const QString& quantity,
                                       double& add, double& multiplyBy);
    HRESULT QuantityExpression_Symbol(const QString& system, const QString& quantity, QString& symbol);

    // IUnitDatabase: file
    HRESULT ReadUnitDatabase(const QString& location, tagREAD_FLAG flag);
    HRESULT WriteUnitDatabase(const QString& location);

    // IUnitDatabase: queries
    HRESULT Quantity_Set(QStringList& quantities);
    HRESULT Quantity_Synonym_Set(const QString& quantity, QStringList& synonyms);
    HRESULT Quantity_DimVector(const QString& quantity, std::vector<int>& vector);
    HRESULT Quantity_Expression(const QString& quantity, QString& expression);
    HRESULT Quantity_Unit_Set(const QString& quantity, QStringList& units);
    HRESULT Unit_Synonym_Set(const QString& unit, QStringList& synonyms);
    HRESULT Unit_ConversionFactor(const QString& unit, double& factor);
    HRESULT Unit_ConversionOffset(const QString& unit, double& offset);
    HRESULT Unit_Expression(const QString& unit, QString& expression);
    HRESULT Unit_Symbol(const QString& unit, QString& symbol);
    HRESULT UnitSystem_Set(QStringList& systems);
    HRESULT UnitSystem_PrefUnit(const QString& system, const QString& quantity, QString& unit);

    // IUnitDatabase: edits
    HRESULT Quantity_Add(const QString& quantity);
    HRESULT Quantity_Remove(const QString& quantity);
    HRESULT Quantity_Rename(const QString& currentName, const QString& newName);
    HRESULT Quantity_Synonym_Add(const QString& quantity, const QString& synonym);
    HRESULT Quantity_Synonym_Remove(const QString& quantity, const QString& synonym);
    HRESULT Quantity_DimVector_Replace(const QString& quantity, const DimensionExponents& vector);
    HRESULT Quantity_Expression_Replace(const QString& quantity, const QString& expression);
    HRESULT Unit_Add(const QString& unit, const QString& quantity);
    HRESULT Unit_Remove(const QString& unit);
    HRESULT Unit_Rename(const QString& currentName, const QString& newName);
    HRESULT Unit_Synonym_Add(const QString& unit, const QString& synonym);
    HRESULT Unit_Synonym_Remove(const QString& unit, const QString& synonym);
    HRESULT Unit_ConversionFactor_Replace(const QString& unit, double factor);
    HRESULT Unit_ConversionOffset_Replace(const QString& unit, double offset);
    HRESULT Unit_Expression_Replace(const QString& unit, const QString& expression);
    HRESULT Unit_Symbol_Replace(const QString& unit, const QString& symbol);
    HRESULT UnitSystem_Add(const QString& system);
    HRESULT UnitSystem_Remove(const QString& system);
    HRESULT UnitSystem_Rename(const QString& currentName, const QString& newName);
    HRESULT UnitSystem_PrefUnit_Replace(const QString& system, const QString& quantity, const QString& unit);

private:
    HRESULT noteEdit(HRESULT hr);
    template <class Operation, class... Args>
    HRESULT edit(Operation op, const Args&... args);
    template <class Value, class Query, class Replace>
    HRESULT replaceNoting(Query query, Replace replace);

    // Both or neither are held; the program's one reference to each, given back on destruction.
    comrt::InterfacePtr<IUnitDatabase> m_database;
    comrt::InterfacePtr<IMorvane> m_morvane;
    bool m_bUnsavedChanges = false;
    bool m_bLoaded = false;  // a database has been read: Initialize then reads nothing
    bool m_bDimensionalAnalysis = false;  // the engine object starts with it off
};
