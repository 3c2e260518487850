#include "engine_connection.h"

#include <comrt/comrt.h>

#include <cstring>
#include <utility>

namespace {

// A counted wide string made from Qt text and freed at the end of the call.
class InBstr {
public:
    explicit InBstr(const QString& text)
        : m_s(SysAllocStringLen(reinterpret_cast<const OLECHAR*>(text.utf16()), UINT(text.size()))) {}
    ~InBstr() { SysFreeString(m_s); }
    InBstr(const InBstr&) = delete;
    InBstr& operator=(const InBstr&) = delete;
    operator BSTR() const { return m_s; }

private:
    BSTR m_s;
};

// Takes a string the engine returned, as Qt text, and frees it.
class OutBstr {
public:
    OutBstr() = default;
    ~OutBstr() { SysFreeString(m_s); }
    OutBstr(const OutBstr&) = delete;
    OutBstr& operator=(const OutBstr&) = delete;
    BSTR* operator&() { return &m_s; }
    QString text() const {
        return m_s ? QString::fromUtf16(reinterpret_cast<const char16_t*>(m_s), SysStringLen(m_s)) : QString();
    }

private:
    BSTR m_s = nullptr;
};

// Takes a safe array the engine returned and destroys it.
class OutArray {
public:
    OutArray() = default;
    ~OutArray() { SafeArrayDestroy(m_a); }
    OutArray(const OutArray&) = delete;
    OutArray& operator=(const OutArray&) = delete;
    SAFEARRAY** operator&() { return &m_a; }

    QStringList strings() const {
        QStringList items;
        LONG lower = 0, upper = -1;
        if (!m_a || FAILED(SafeArrayGetLBound(m_a, 1, &lower)) || FAILED(SafeArrayGetUBound(m_a, 1, &upper)))
            return items;
        for (LONG i = lower; i <= upper; ++i) {
            OutBstr item;
            if (SUCCEEDED(SafeArrayGetElement(m_a, &i, &item))) items << item.text();
        }
        return items;
    }
    std::vector<int> shorts() const {
        std::vector<int> items;
        LONG lower = 0, upper = -1;
        if (!m_a || FAILED(SafeArrayGetLBound(m_a, 1, &lower)) || FAILED(SafeArrayGetUBound(m_a, 1, &upper)))
            return items;
        for (LONG i = lower; i <= upper; ++i) {
            SHORT item = 0;
            if (SUCCEEDED(SafeArrayGetElement(m_a, &i, &item))) items.push_back(item);
        }
        return items;
    }

private:
    SAFEARRAY* m_a = nullptr;
};

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

MorvaneEngine::~MorvaneEngine() { Release(); }

HRESULT MorvaneEngine::Create(QString* why) {
    Release();
    auto fail = [&](HRESULT hr, const QString& reason) {
        if (why) *why = reason;
        Release();
        return hr;
    };
    IClassFactory* pFactory = nullptr;
    HRESULT hr = CoGetClassObject(CLSID_Morvane, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                  reinterpret_cast<void**>(&pFactory));
    if (FAILED(hr) || !pFactory) return fail(FAILED(hr) ? hr : E_FAIL, classObjectFailure(hr));
    hr = pFactory->CreateInstance(nullptr, IID_IMorvane, reinterpret_cast<void**>(&m_pIMorvane));
    pFactory->Release();
    if (FAILED(hr) || !m_pIMorvane)
        return fail(FAILED(hr) ? hr : E_FAIL,
                    QStringLiteral("the Kestrum engine object cannot be created (%1)").arg(codeText(hr)));
    hr = m_pIMorvane->QueryInterface(IID_IUnitDatabase, reinterpret_cast<void**>(&m_pIUnitDatabase));
    if (FAILED(hr) || !m_pIUnitDatabase)
        return fail(FAILED(hr) ? hr : E_FAIL,
                    QStringLiteral("the Kestrum engine object has no IUnitDatabase interface (%1)").arg(codeText(hr)));
    m_bUnsavedChanges = false;
    m_bLoaded = false;
    m_bDimensionalAnalysis = false;
    return S_OK;
}

void MorvaneEngine::Release() {
    if (m_pIMorvane) m_pIMorvane->Release();
    if (m_pIUnitDatabase) m_pIUnitDatabase->Release();
    m_pIMorvane = nullptr;
    m_pIUnitDatabase = nullptr;
}

HRESULT MorvaneEngine::noteEdit(HRESULT hr) {
    if (SUCCEEDED(hr)) m_bUnsavedChanges = true;
    return hr;
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
    const HRESULT hr = m_pIMorvane->Initialize(InBstr(location));
    if (SUCCEEDED(hr) && reads) m_bUnsavedChanges = false;
    if (SUCCEEDED(hr)) m_bLoaded = true;
    return hr;
}

HRESULT MorvaneEngine::EnableDimensionalAnalysis(bool bEnable) {
    const HRESULT hr = m_pIMorvane->EnableDimensionalAnalysis(bEnable ? 1 : 0);
    if (SUCCEEDED(hr)) m_bDimensionalAnalysis = bEnable;
    return hr;
}

HRESULT MorvaneEngine::UnitExpression_Convert(const QString& from, const QString& to, double& add, double& multiplyBy) {
    return m_pIMorvane->UnitExpression_Convert(InBstr(from), InBstr(to), &add, &multiplyBy);
}

HRESULT MorvaneEngine::UnitExpression_Symbol(const QString& expression, QString& symbol) {
    OutBstr result;
    const HRESULT hr = m_pIMorvane->UnitExpression_Symbol(InBstr(expression), &result);
    if (SUCCEEDED(hr)) symbol = result.text();
    return hr;
}

HRESULT MorvaneEngine::QuantityExpression_Convert(const QString& systemFrom, const QString& systemTo,
                                                  const QString& quantity, double& add, double& multiplyBy) {
    return m_pIMorvane->QuantityExpression_Convert(InBstr(systemFrom), InBstr(systemTo), InBstr(quantity), &add,
                                                   &multiplyBy);
}

HRESULT MorvaneEngine::QuantityExpression_Symbol(const QString& system, const QString& quantity, QString& symbol) {
    OutBstr result;
    const HRESULT hr = m_pIMorvane->QuantityExpression_Symbol(InBstr(system), InBstr(quantity), &result);
    if (SUCCEEDED(hr)) symbol = result.text();
    return hr;
}

// ---- IUnitDatabase: file ------------------------------------------------------------------

HRESULT MorvaneEngine::ReadUnitDatabase(const QString& location, tagREAD_FLAG flag) {
    const HRESULT hr = m_pIUnitDatabase->ReadUnitDatabase(InBstr(location), flag);
    if (SUCCEEDED(hr)) {
        m_bUnsavedChanges = flag != OVERWRITE;
        m_bLoaded = true;
    }
    return hr;
}

HRESULT MorvaneEngine::WriteUnitDatabase(const QString& location) {
    const HRESULT hr = m_pIUnitDatabase->WriteUnitDatabase(InBstr(location));
    if (SUCCEEDED(hr)) m_bUnsavedChanges = false;
    return hr;
}

// ---- IUnitDatabase: queries ----------------------------------------------------------------

HRESULT MorvaneEngine::Quantity_Set(QStringList& quantities) {
    OutArray result;
    const HRESULT hr = m_pIUnitDatabase->Quantity_Set(&result);
    if (SUCCEEDED(hr)) quantities = result.strings();
    return hr;
}

HRESULT MorvaneEngine::Quantity_Synonym_Set(const QString& quantity, QStringList& synonyms) {
    OutArray result;
    const HRESULT hr = m_pIUnitDatabase->Quantity_Synonym_Set(InBstr(quantity), &result);
    if (SUCCEEDED(hr)) synonyms = result.strings();
    return hr;
}

HRESULT MorvaneEngine::Quantity_DimVector(const QString& quantity, std::vector<int>& vector) {
    OutArray result;
    const HRESULT hr = m_pIUnitDatabase->Quantity_DimVector(InBstr(quantity), &result);
    if (SUCCEEDED(hr)) vector = result.shorts();
    return hr;
}

HRESULT MorvaneEngine::Quantity_Expression(const QString& quantity, QString& expression) {
    OutBstr result;
    const HRESULT hr = m_pIUnitDatabase->Quantity_Expression(InBstr(quantity), &result);
    if (SUCCEEDED(hr)) expression = result.text();
    return hr;
}

HRESULT MorvaneEngine::Quantity_Unit_Set(const QString& quantity, QStringList& units) {
    OutArray result;
    const HRESULT hr = m_pIUnitDatabase->Quantity_Unit_Set(InBstr(quantity), &result);
    if (SUCCEEDED(hr)) units = result.strings();
    return hr;
}

HRESULT MorvaneEngine::Unit_Synonym_Set(const QString& unit, QStringList& synonyms) {
    OutArray result;
    const HRESULT hr = m_pIUnitDatabase->Unit_Synonym_Set(InBstr(unit), &result);
    if (SUCCEEDED(hr)) synonyms = result.strings();
    return hr;
}

HRESULT MorvaneEngine::Unit_ConversionFactor(const QString& unit, double& factor) {
    return m_pIUnitDatabase->Unit_ConversionFactor(InBstr(unit), &factor);
}

HRESULT MorvaneEngine::Unit_ConversionOffset(const QString& unit, double& offset) {
    return m_pIUnitDatabase->Unit_ConversionOffset(InBstr(unit), &offset);
}

HRESULT MorvaneEngine::Unit_Expression(const QString& unit, QString& expression) {
    OutBstr result;
    const HRESULT hr = m_pIUnitDatabase->Unit_Expression(InBstr(unit), &result);
    if (SUCCEEDED(hr)) expression = result.text();
    return hr;
}

HRESULT MorvaneEngine::Unit_Symbol(const QString& unit, QString& symbol) {
    OutBstr result;
    const HRESULT hr = m_pIUnitDatabase->Unit_Symbol(InBstr(unit), &result);
    if (SUCCEEDED(hr)) symbol = result.text();
    return hr;
}

HRESULT MorvaneEngine::UnitSystem_Set(QStringList& systems) {
    OutArray result;
    const HRESULT hr = m_pIUnitDatabase->UnitSystem_Set(&result);
    if (SUCCEEDED(hr)) systems = result.strings();
    return hr;
}

HRESULT MorvaneEngine::UnitSystem_PrefUnit(const QString& system, const QString& quantity, QString& unit) {
    OutBstr result;
    const HRESULT hr = m_pIUnitDatabase->UnitSystem_PrefUnit(InBstr(system), InBstr(quantity), &result);
    if (SUCCEEDED(hr)) unit = result.text();
    return hr;
}

// ---- IUnitDatabase: edits ------------------------------------------------------------------

HRESULT MorvaneEngine::Quantity_Add(const QString& quantity) {
    return noteEdit(m_pIUnitDatabase->Quantity_Add(InBstr(quantity)));
}

HRESULT MorvaneEngine::Quantity_Remove(const QString& quantity) {
    return noteEdit(m_pIUnitDatabase->Quantity_Remove(InBstr(quantity)));
}

HRESULT MorvaneEngine::Quantity_Rename(const QString& currentName, const QString& newName) {
    return noteEdit(m_pIUnitDatabase->Quantity_Rename(InBstr(currentName), InBstr(newName)));
}

HRESULT MorvaneEngine::Quantity_Synonym_Add(const QString& quantity, const QString& synonym) {
    return noteEdit(m_pIUnitDatabase->Quantity_Synonym_Add(InBstr(quantity), InBstr(synonym)));
}

HRESULT MorvaneEngine::Quantity_Synonym_Remove(const QString& quantity, const QString& synonym) {
    return noteEdit(m_pIUnitDatabase->Quantity_Synonym_Remove(InBstr(quantity), InBstr(synonym)));
}

HRESULT MorvaneEngine::Quantity_DimVector_Replace(const QString& quantity, const DimensionExponents& vector) {
    return replaceNoting<std::vector<int>>(
        [&](std::vector<int>& v) { return Quantity_DimVector(quantity, v); },
        [&] {
            SAFEARRAY* array = SafeArrayCreateVector(VT_I2, 0, ULONG(vector.size()));
            if (!array) return E_OUTOFMEMORY;
            for (LONG i = 0; i < LONG(vector.size()); ++i) {
                // The engine's exponents are 16-bit: each value crosses as its low 16 bits.
                SHORT element = SHORT(static_cast<unsigned short>(vector[std::size_t(i)] & 0xFFFF));
                SafeArrayPutElement(array, &i, &element);
            }
            const HRESULT hr = m_pIUnitDatabase->Quantity_DimVector_Replace(InBstr(quantity), array);
            SafeArrayDestroy(array);
            return hr;
        });
}

HRESULT MorvaneEngine::Quantity_Expression_Replace(const QString& quantity, const QString& expression) {
    return replaceNoting<QString>([&](QString& v) { return Quantity_Expression(quantity, v); },
                                  [&] { return m_pIUnitDatabase->Quantity_Expression_Replace(InBstr(quantity), InBstr(expression)); });
}

HRESULT MorvaneEngine::Unit_Add(const QString& unit, const QString& quantity) {
    return noteEdit(m_pIUnitDatabase->Unit_Add(InBstr(unit), InBstr(quantity)));
}

HRESULT MorvaneEngine::Unit_Remove(const QString& unit) { return noteEdit(m_pIUnitDatabase->Unit_Remove(InBstr(unit))); }

HRESULT MorvaneEngine::Unit_Rename(const QString& currentName, const QString& newName) {
    return noteEdit(m_pIUnitDatabase->Unit_Rename(InBstr(currentName), InBstr(newName)));
}

HRESULT MorvaneEngine::Unit_Synonym_Add(const QString& unit, const QString& synonym) {
    return noteEdit(m_pIUnitDatabase->Unit_Synonym_Add(InBstr(unit), InBstr(synonym)));
}

HRESULT MorvaneEngine::Unit_Synonym_Remove(const QString& unit, const QString& synonym) {
    return noteEdit(m_pIUnitDatabase->Unit_Synonym_Remove(InBstr(unit), InBstr(synonym)));
}

namespace {
// Doubles compare by their bits here: a replace that stores the same bits changed nothing.
struct Bits {
    double value = 0;
    bool operator==(const Bits& other) const { return std::memcmp(&value, &other.value, sizeof value) == 0; }
};
}  // namespace

HRESULT MorvaneEngine::Unit_ConversionFactor_Replace(const QString& unit, double factor) {
    return replaceNoting<Bits>([&](Bits& v) { return Unit_ConversionFactor(unit, v.value); },
                               [&] { return m_pIUnitDatabase->Unit_ConversionFactor_Replace(InBstr(unit), factor); });
}

HRESULT MorvaneEngine::Unit_ConversionOffset_Replace(const QString& unit, double offset) {
    return replaceNoting<Bits>([&](Bits& v) { return Unit_ConversionOffset(unit, v.value); },
                               [&] { return m_pIUnitDatabase->Unit_ConversionOffset_Replace(InBstr(unit), offset); });
}

HRESULT MorvaneEngine::Unit_Expression_Replace(const QString& unit, const QString& expression) {
    return replaceNoting<QString>([&](QString& v) { return Unit_Expression(unit, v); },
                                  [&] { return m_pIUnitDatabase->Unit_Expression_Replace(InBstr(unit), InBstr(expression)); });
}

HRESULT MorvaneEngine::Unit_Symbol_Replace(const QString& unit, const QString& symbol) {
    return replaceNoting<QString>([&](QString& v) { return Unit_Symbol(unit, v); },
                                  [&] { return m_pIUnitDatabase->Unit_Symbol_Replace(InBstr(unit), InBstr(symbol)); });
}

HRESULT MorvaneEngine::UnitSystem_Add(const QString& system) {
    return noteEdit(m_pIUnitDatabase->UnitSystem_Add(InBstr(system)));
}

HRESULT MorvaneEngine::UnitSystem_Remove(const QString& system) {
    return noteEdit(m_pIUnitDatabase->UnitSystem_Remove(InBstr(system)));
}

HRESULT MorvaneEngine::UnitSystem_Rename(const QString& currentName, const QString& newName) {
    return noteEdit(m_pIUnitDatabase->UnitSystem_Rename(InBstr(currentName), InBstr(newName)));
}

HRESULT MorvaneEngine::UnitSystem_PrefUnit_Replace(const QString& system, const QString& quantity, const QString& unit) {
    return replaceNoting<QString>(
        [&](QString& v) { return UnitSystem_PrefUnit(system, quantity, v); },
        [&] { return m_pIUnitDatabase->UnitSystem_PrefUnit_Replace(InBstr(system), InBstr(quantity), InBstr(unit)); });
}
