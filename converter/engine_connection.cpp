#include "engine_connection.h"

#include "com_text.h"

#include <comrt/comrt.h>

#include <cstring>
#include <type_traits>

namespace {

// Qt text crosses as a counted wide string that lives until the call's full expression ends;
// numbers, flags and out-pointers cross as they are.
struct TextArgument {
    comrt::OwnedBstr text;
    operator BSTR() const { return text.get(); }
};
TextArgument marshal(const QString& text) { return {ToBstr(text)}; }
template <class T>
T marshal(T value) {
    return value;
}

// Calls an operation of the interface with the arguments marshalled.
template <class Interface, class Operation, class... Args>
HRESULT call(Interface* p, Operation op, const Args&... args) {
    return (p->*op)(marshal(args)...);
}

// What a query hands back through its last parameter, taken as Qt values.
void take(const comrt::OwnedBstr& result, QString& text) { text = ToQString(result); }
void take(const comrt::OwnedSafeArray& result, QStringList& items) {
    items.clear();
    comrt::ForEachElement<comrt::OwnedBstr>(result.get(), [&](const comrt::OwnedBstr& item) { items << ToQString(item); });
}
void take(const comrt::OwnedSafeArray& result, std::vector<int>& items) {
    items.clear();
    comrt::ForEachElement<SHORT>(result.get(), [&](SHORT item) { items.push_back(item); });
}

// Calls a query whose last parameter hands back a string or an array; `out` changes only when
// the query succeeded.
template <class Interface, class Operation, class Out, class... Args>
HRESULT query(Interface* p, Operation op, Out& out, const Args&... args) {
    std::conditional_t<std::is_same_v<Out, QString>, comrt::OwnedBstr, comrt::OwnedSafeArray> result;
    const HRESULT hr = (p->*op)(marshal(args)..., result.put());
    if (SUCCEEDED(hr)) take(result, out);
    return hr;
}

QString codeText(HRESULT hr) {
    return QStringLiteral("%1, %2").arg(QString::fromStdString(comrt::ResultText(hr)),
                                        QString::fromStdString(comrt::ResultHex(hr)));
}

QString classObjectFailure(HRESULT hr) {
    const QString registry = QString::fromStdString(comrt::RegistryPath());
    if (hr == REGDB_E_CLASSNOTREG)
        return QStringLiteral("the Kestrum engine is not registered in %1 (%2); register libkestrum.so with "
                              "kestrum-regsvr (scripts/run does this)")
            .arg(registry, codeText(hr));
    if (hr == REGDB_E_READREGDB) {
        std::string problem;
        comrt::VerifyRegistry(&problem);
        return QStringLiteral("the registry %1 cannot be read (%2)%3")
            .arg(registry, codeText(hr), problem.empty() ? QString() : QStringLiteral(": ") + QString::fromStdString(problem));
    }
    if (hr == CO_E_DLLNOTFOUND || hr == CO_E_ERRORINDLL)
        return QStringLiteral("the Kestrum engine server registered in %1 cannot be loaded (%2); register it again "
                              "with kestrum-regsvr")
            .arg(registry, codeText(hr));
    return QStringLiteral("the Kestrum engine cannot be reached (%1)").arg(codeText(hr));
}

}  // namespace

HRESULT MorvaneEngine::Create(QString* why) {
    Release();
    auto fail = [&](HRESULT hr, const QString& reason) {
        if (why) *why = reason;
        Release();
        return hr;
    };
    comrt::InterfacePtr<IClassFactory> factory;
    HRESULT hr = CoGetClassObject(CLSID_Morvane, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, factory.putVoid());
    if (FAILED(hr) || !factory) return fail(FAILED(hr) ? hr : E_FAIL, classObjectFailure(hr));
    hr = factory->CreateInstance(nullptr, IID_IMorvane, m_morvane.putVoid());
    if (FAILED(hr) || !m_morvane)
        return fail(FAILED(hr) ? hr : E_FAIL,
                    QStringLiteral("the Kestrum engine object cannot be created (%1)").arg(codeText(hr)));
    hr = m_morvane->QueryInterface(IID_IUnitDatabase, m_database.putVoid());
    if (FAILED(hr) || !m_database)
        return fail(FAILED(hr) ? hr : E_FAIL,
                    QStringLiteral("the Kestrum engine object has no IUnitDatabase interface (%1)").arg(codeText(hr)));
    m_bUnsavedChanges = false;
    m_bLoaded = false;
    m_bDimensionalAnalysis = false;
    return S_OK;
}

void MorvaneEngine::Release() {
    m_morvane.reset();
    m_database.reset();
}

HRESULT MorvaneEngine::noteEdit(HRESULT hr) {
    if (SUCCEEDED(hr)) m_bUnsavedChanges = true;
    return hr;
}

template <class Operation, class... Args>
HRESULT MorvaneEngine::edit(Operation op, const Args&... args) {
    return noteEdit(call(m_database.get(), op, args...));
}

// A replace counts as a change only when it altered the stored value, so writing back an entry
// that was merely looked at leaves the database clean.
template <class Value, class Query, class Replace>
HRESULT MorvaneEngine::replaceNoting(Query query, Replace replace) {
    Value before{};
    const bool known = SUCCEEDED(query(before));
    // The replace posts its own description if it fails; the query's would only be stale.
    if (!known) SetErrorInfo(0, nullptr);
    const HRESULT hr = replace();
    if (FAILED(hr)) return hr;
    Value after{};
    if (!known || FAILED(query(after)) || !(after == before)) m_bUnsavedChanges = true;
    return hr;
}

// ---- IMorvane ----------------------------------------------------------------------------

HRESULT MorvaneEngine::Initialize(const QString& location) {
    const bool reads = !m_bLoaded;
    const HRESULT hr = call(m_morvane.get(), &IMorvane::Initialize, location);
    if (SUCCEEDED(hr) && reads) m_bUnsavedChanges = false;
    if (SUCCEEDED(hr)) m_bLoaded = true;
    return hr;
}

HRESULT MorvaneEngine::EnableDimensionalAnalysis(bool bEnable) {
    const HRESULT hr = m_morvane->EnableDimensionalAnalysis(bEnable ? 1 : 0);
    if (SUCCEEDED(hr)) m_bDimensionalAnalysis = bEnable;
    return hr;
}

HRESULT MorvaneEngine::UnitExpression_Convert(const QString& from, const QString& to, double& add, double& multiplyBy) {
    return call(m_morvane.get(), &IMorvane::UnitExpression_Convert, from, to, &add, &multiplyBy);
}

HRESULT MorvaneEngine::UnitExpression_Symbol(const QString& expression, QString& symbol) {
    return query(m_morvane.get(), &IMorvane::UnitExpression_Symbol, symbol, expression);
}

HRESULT MorvaneEngine::QuantityExpression_Convert(const QString& systemFrom, const QString& systemTo,
                                                  const QString& quantity, double& add, double& multiplyBy) {
    return call(m_morvane.get(), &IMorvane::QuantityExpression_Convert, systemFrom, systemTo, quantity, &add, &multiplyBy);
}

HRESULT MorvaneEngine::QuantityExpression_Symbol(const QString& system, const QString& quantity, QString& symbol) {
    return query(m_morvane.get(), &IMorvane::QuantityExpression_Symbol, symbol, system, quantity);
}

// ---- IUnitDatabase: file ------------------------------------------------------------------

HRESULT MorvaneEngine::ReadUnitDatabase(const QString& location, tagREAD_FLAG flag) {
    const HRESULT hr = call(m_database.get(), &IUnitDatabase::ReadUnitDatabase, location, flag);
    if (SUCCEEDED(hr)) {
        m_bUnsavedChanges = flag != OVERWRITE;
        m_bLoaded = true;
    }
    return hr;
}

HRESULT MorvaneEngine::WriteUnitDatabase(const QString& location) {
    const HRESULT hr = call(m_database.get(), &IUnitDatabase::WriteUnitDatabase, location);
    if (SUCCEEDED(hr)) m_bUnsavedChanges = false;
    return hr;
}

// ---- IUnitDatabase: queries ----------------------------------------------------------------
// Each hands back its result only on success.

HRESULT MorvaneEngine::Quantity_Set(QStringList& quantities) {
    return query(m_database.get(), &IUnitDatabase::Quantity_Set, quantities);
}
HRESULT MorvaneEngine::Quantity_Synonym_Set(const QString& quantity, QStringList& synonyms) {
    return query(m_database.get(), &IUnitDatabase::Quantity_Synonym_Set, synonyms, quantity);
}
HRESULT MorvaneEngine::Quantity_DimVector(const QString& quantity, std::vector<int>& vector) {
    return query(m_database.get(), &IUnitDatabase::Quantity_DimVector, vector, quantity);
}
HRESULT MorvaneEngine::Quantity_Expression(const QString& quantity, QString& expression) {
    return query(m_database.get(), &IUnitDatabase::Quantity_Expression, expression, quantity);
}
HRESULT MorvaneEngine::Quantity_Unit_Set(const QString& quantity, QStringList& units) {
    return query(m_database.get(), &IUnitDatabase::Quantity_Unit_Set, units, quantity);
}
HRESULT MorvaneEngine::Unit_Synonym_Set(const QString& unit, QStringList& synonyms) {
    return query(m_database.get(), &IUnitDatabase::Unit_Synonym_Set, synonyms, unit);
}
HRESULT MorvaneEngine::Unit_ConversionFactor(const QString& unit, double& factor) {
    return call(m_database.get(), &IUnitDatabase::Unit_ConversionFactor, unit, &factor);
}
HRESULT MorvaneEngine::Unit_ConversionOffset(const QString& unit, double& offset) {
    return call(m_database.get(), &IUnitDatabase::Unit_ConversionOffset, unit, &offset);
}
HRESULT MorvaneEngine::Unit_Expression(const QString& unit, QString& expression) {
    return query(m_database.get(), &IUnitDatabase::Unit_Expression, expression, unit);
}
HRESULT MorvaneEngine::Unit_Symbol(const QString& unit, QString& symbol) {
    return query(m_database.get(), &IUnitDatabase::Unit_Symbol, symbol, unit);
}
HRESULT MorvaneEngine::UnitSystem_Set(QStringList& systems) {
    return query(m_database.get(), &IUnitDatabase::UnitSystem_Set, systems);
}
HRESULT MorvaneEngine::UnitSystem_PrefUnit(const QString& system, const QString& quantity, QString& unit) {
    return query(m_database.get(), &IUnitDatabase::UnitSystem_PrefUnit, unit, system, quantity);
}

// ---- IUnitDatabase: edits ------------------------------------------------------------------
// Adds, removes, renames and synonym edits mark the database changed when they succeed.

HRESULT MorvaneEngine::Quantity_Add(const QString& quantity) { return edit(&IUnitDatabase::Quantity_Add, quantity); }
HRESULT MorvaneEngine::Quantity_Remove(const QString& quantity) { return edit(&IUnitDatabase::Quantity_Remove, quantity); }
HRESULT MorvaneEngine::Unit_Add(const QString& unit, const QString& quantity) {
    return edit(&IUnitDatabase::Unit_Add, unit, quantity);
}
HRESULT MorvaneEngine::Unit_Remove(const QString& unit) { return edit(&IUnitDatabase::Unit_Remove, unit); }
HRESULT MorvaneEngine::UnitSystem_Add(const QString& system) { return edit(&IUnitDatabase::UnitSystem_Add, system); }
HRESULT MorvaneEngine::UnitSystem_Remove(const QString& system) { return edit(&IUnitDatabase::UnitSystem_Remove, system); }

HRESULT MorvaneEngine::Quantity_Rename(const QString& currentName, const QString& newName) {
    return edit(&IUnitDatabase::Quantity_Rename, currentName, newName);
}
HRESULT MorvaneEngine::Unit_Rename(const QString& currentName, const QString& newName) {
    return edit(&IUnitDatabase::Unit_Rename, currentName, newName);
}
HRESULT MorvaneEngine::UnitSystem_Rename(const QString& currentName, const QString& newName) {
    return edit(&IUnitDatabase::UnitSystem_Rename, currentName, newName);
}

HRESULT MorvaneEngine::Quantity_Synonym_Add(const QString& quantity, const QString& synonym) {
    return edit(&IUnitDatabase::Quantity_Synonym_Add, quantity, synonym);
}
HRESULT MorvaneEngine::Quantity_Synonym_Remove(const QString& quantity, const QString& synonym) {
    return edit(&IUnitDatabase::Quantity_Synonym_Remove, quantity, synonym);
}
HRESULT MorvaneEngine::Unit_Synonym_Add(const QString& unit, const QString& synonym) {
    return edit(&IUnitDatabase::Unit_Synonym_Add, unit, synonym);
}
HRESULT MorvaneEngine::Unit_Synonym_Remove(const QString& unit, const QString& synonym) {
    return edit(&IUnitDatabase::Unit_Synonym_Remove, unit, synonym);
}

// ---- IUnitDatabase: replaces ---------------------------------------------------------------

HRESULT MorvaneEngine::Quantity_DimVector_Replace(const QString& quantity, const DimensionExponents& vector) {
    return replaceNoting<std::vector<int>>(
        [&](std::vector<int>& v) { return Quantity_DimVector(quantity, v); },
        [&] {
            comrt::OwnedSafeArray array(SafeArrayCreateVector(VT_I2, 0, ULONG(vector.size())));
            if (!array) return E_OUTOFMEMORY;
            for (LONG i = 0; i < LONG(vector.size()); ++i) {
                // The engine's exponents are 16-bit: each value crosses as its low 16 bits.
                SHORT element = SHORT(static_cast<unsigned short>(vector[std::size_t(i)] & 0xFFFF));
                SafeArrayPutElement(array.get(), &i, &element);
            }
            return call(m_database.get(), &IUnitDatabase::Quantity_DimVector_Replace, quantity, array.get());
        });
}

HRESULT MorvaneEngine::Quantity_Expression_Replace(const QString& quantity, const QString& expression) {
    return replaceNoting<QString>(
        [&](QString& v) { return Quantity_Expression(quantity, v); },
        [&] { return call(m_database.get(), &IUnitDatabase::Quantity_Expression_Replace, quantity, expression); });
}

namespace {
// Doubles compare by their bits here: a replace that stores the same bits changed nothing.
struct Bits {
    double value = 0;
    bool operator==(const Bits& other) const { return std::memcmp(&value, &other.value, sizeof value) == 0; }
};
}  // namespace

HRESULT MorvaneEngine::Unit_ConversionFactor_Replace(const QString& unit, double factor) {
    return replaceNoting<Bits>(
        [&](Bits& v) { return Unit_ConversionFactor(unit, v.value); },
        [&] { return call(m_database.get(), &IUnitDatabase::Unit_ConversionFactor_Replace, unit, factor); });
}

HRESULT MorvaneEngine::Unit_ConversionOffset_Replace(const QString& unit, double offset) {
    return replaceNoting<Bits>(
        [&](Bits& v) { return Unit_ConversionOffset(unit, v.value); },
        [&] { return call(m_database.get(), &IUnitDatabase::Unit_ConversionOffset_Replace, unit, offset); });
}

HRESULT MorvaneEngine::Unit_Expression_Replace(const QString& unit, const QString& expression) {
    return replaceNoting<QString>(
        [&](QString& v) { return Unit_Expression(unit, v); },
        [&] { return call(m_database.get(), &IUnitDatabase::Unit_Expression_Replace, unit, expression); });
}

HRESULT MorvaneEngine::Unit_Symbol_Replace(const QString& unit, const QString& symbol) {
    return replaceNoting<QString>(
        [&](QString& v) { return Unit_Symbol(unit, v); },
        [&] { return call(m_database.get(), &IUnitDatabase::Unit_Symbol_Replace, unit, symbol); });
}

HRESULT MorvaneEngine::UnitSystem_PrefUnit_Replace(const QString& system, const QString& quantity, const QString& unit) {
    return replaceNoting<QString>(
        [&](QString& v) { return UnitSystem_PrefUnit(system, quantity, v); },
        [&] { return call(m_database.get(), &IUnitDatabase::UnitSystem_PrefUnit_Replace, system, quantity, unit); });
}
