// The calculator test server: a class factory, an object with a dual interface that forwards
// IDispatch to its type information, and the exported type-library table.
#include "calculator.h"

#include <comrt/typelib_description.h>

#include <atomic>

namespace {

class Calculator final : public ICalculator {
public:
    Calculator() {
        ITypeLib* library = nullptr;
        if (SUCCEEDED(LoadRegTypeLib(LIBID_CalculatorLib, 1, 0, 0x409, &library))) {
            library->GetTypeInfoOfGuid(IID_ICalculator, &m_typeInfo);
            library->Release();
        }
    }

    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (ppv == nullptr) return E_POINTER;
        if (riid == IID_IUnknown || riid == IID_IDispatch || riid == IID_ICalculator) {
            *ppv = static_cast<ICalculator*>(this);
            AddRef();
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return ++m_refs; }
    ULONG Release() override {
        const ULONG left = --m_refs;
        if (left == 0) delete this;
        return left;
    }

    HRESULT GetTypeInfoCount(UINT* pctinfo) override {
        *pctinfo = m_typeInfo != nullptr ? 1 : 0;
        return S_OK;
    }
    HRESULT GetTypeInfo(UINT, LCID, ITypeInfo** pp) override {
        if (m_typeInfo == nullptr) return E_NOTIMPL;
        m_typeInfo->AddRef();
        *pp = m_typeInfo;
        return S_OK;
    }
    HRESULT GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        return m_typeInfo == nullptr ? E_NOTIMPL : m_typeInfo->GetIDsOfNames(names, count, ids);
    }
    HRESULT Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result, EXCEPINFO* info,
                   UINT* argErr) override {
        if (m_typeInfo == nullptr) return E_NOTIMPL;
        return m_typeInfo->Invoke(static_cast<ICalculator*>(this), id, flags, params, result, info, argErr);
    }

    HRESULT Add(LONG a, LONG b, LONG* pSum) override {
        *pSum = a + b;
        return S_OK;
    }
    HRESULT Join(BSTR sFirst, BSTR sSecond, BSTR* psJoined) override {
        const UINT a = SysStringLen(sFirst);
        const UINT b = SysStringLen(sSecond);
        BSTR joined = SysAllocStringLen(nullptr, a + b);
        if (joined == nullptr) return E_OUTOFMEMORY;
        for (UINT i = 0; i < a; ++i) joined[i] = sFirst[i];
        for (UINT i = 0; i < b; ++i) joined[a + i] = sSecond[i];
        *psJoined = joined;
        return S_OK;
    }
    HRESULT Scale(double dFactor, double* pdValue) override {
        *pdValue *= dFactor;
        return S_OK;
    }
    HRESULT Fail(LONG lCode) override {
        if (lCode == E_ABORT) return lCode;  // fails without a description
        ICreateErrorInfo* create = nullptr;
        if (SUCCEEDED(CreateErrorInfo(&create))) {
            create->SetGUID(IID_ICalculator);
            create->SetSource(const_cast<LPOLESTR>(u"Calculator"));
            create->SetDescription(const_cast<LPOLESTR>(u"Failure requested"));
            IErrorInfo* info = nullptr;
            if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
                SetErrorInfo(0, info);
                info->Release();
            }
            create->Release();
        }
        return lCode;
    }
    HRESULT SetFlag(unsigned char bFlag, tagCOLOR eColor) override {
        m_flag = bFlag * 100 + eColor;
        return S_OK;
    }
    HRESULT Flag(LONG* pFlag) override {
        *pFlag = m_flag;
        return S_OK;
    }
    HRESULT Sum(SAFEARRAY* pValues, LONG* pTotal) override {
        void* data = nullptr;
        if (FAILED(SafeArrayAccessData(pValues, &data))) return E_INVALIDARG;
        LONG total = 0;
        for (ULONG i = 0; i < pValues->rgsabound[0].cElements; ++i) total += static_cast<SHORT*>(data)[i];
        SafeArrayUnaccessData(pValues);
        *pTotal = total;
        return S_OK;
    }
    HRESULT Names(SAFEARRAY** ppNames) override {
        SAFEARRAY* names = SafeArrayCreateVector(VT_BSTR, 0, 2);
        if (names == nullptr) return E_OUTOFMEMORY;
        auto* strings = static_cast<BSTR*>(names->pvData);
        strings[0] = SysAllocString(u"one");
        strings[1] = SysAllocString(u"two");
        *ppNames = names;
        return S_OK;
    }

private:
    ~Calculator() {
        if (m_typeInfo != nullptr) m_typeInfo->Release();
    }
    std::atomic<ULONG> m_refs{0};
    ITypeInfo* m_typeInfo = nullptr;
    LONG m_flag = 0;
};

class Factory final : public IClassFactory {
public:
    HRESULT QueryInterface(REFIID riid, void** ppv) override {
        if (riid == IID_IUnknown || riid == IID_IClassFactory) {
            *ppv = this;
            return S_OK;
        }
        *ppv = nullptr;
        return E_NOINTERFACE;
    }
    ULONG AddRef() override { return 2; }
    ULONG Release() override { return 1; }
    HRESULT CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
        if (ppv == nullptr) return E_POINTER;
        if (outer != nullptr) return CLASS_E_NOAGGREGATION;
        auto* calculator = new Calculator;
        calculator->AddRef();
        const HRESULT hr = calculator->QueryInterface(riid, ppv);
        calculator->Release();
        return hr;
    }
    HRESULT LockServer(BOOL) override { return S_OK; }
};
Factory g_factory;

using comrt::DescribeMethod;
using comrt::ParamDescription;

constexpr ParamDescription kAdd[] = {{u"a", VT_I4, PARAMFLAG_FIN},
                                     {u"b", VT_I4, PARAMFLAG_FIN},
                                     {u"pSum", VT_I4 | VT_BYREF, PARAMFLAG_FOUT | PARAMFLAG_FRETVAL}};
constexpr ParamDescription kJoin[] = {{u"sFirst", VT_BSTR, PARAMFLAG_FIN},
                                      {u"sSecond", VT_BSTR, PARAMFLAG_FIN},
                                      {u"psJoined", VT_BSTR | VT_BYREF, PARAMFLAG_FOUT | PARAMFLAG_FRETVAL}};
constexpr ParamDescription kScale[] = {{u"dFactor", VT_R8, PARAMFLAG_FIN},
                                       {u"pdValue", VT_R8 | VT_BYREF, PARAMFLAG_FIN | PARAMFLAG_FOUT}};
constexpr ParamDescription kFail[] = {{u"lCode", VT_I4, PARAMFLAG_FIN}};
constexpr ParamDescription kSetFlag[] = {{u"bFlag", VT_UI1, PARAMFLAG_FIN},
                                         {u"eColor", VT_USERDEFINED, PARAMFLAG_FIN, u"tagCOLOR"}};
constexpr ParamDescription kFlag[] = {{u"pFlag", VT_I4 | VT_BYREF, PARAMFLAG_FOUT | PARAMFLAG_FRETVAL}};
constexpr ParamDescription kSum[] = {{u"pValues", VT_ARRAY | VT_I2, PARAMFLAG_FIN},
                                     {u"pTotal", VT_I4 | VT_BYREF, PARAMFLAG_FOUT | PARAMFLAG_FRETVAL}};
constexpr ParamDescription kNames[] = {
    {u"ppNames", VT_ARRAY | VT_BSTR | VT_BYREF, PARAMFLAG_FOUT | PARAMFLAG_FRETVAL}};

constexpr comrt::FunctionDescription kFunctions[] = {
    DescribeMethod<&ICalculator::Add>(1, u"Add", u"Adds two numbers", kAdd),
    DescribeMethod<&ICalculator::Join>(2, u"Join", u"Joins two strings", kJoin),
    DescribeMethod<&ICalculator::Scale>(3, u"Scale", u"Scales a value in place", kScale),
    DescribeMethod<&ICalculator::Fail>(4, u"Fail", u"Fails with the given code", kFail),
    DescribeMethod<&ICalculator::SetFlag>(5, u"SetFlag", u"Sets the flag", kSetFlag),
    DescribeMethod<&ICalculator::Flag>(6, u"Flag", u"The flag", kFlag),
    DescribeMethod<&ICalculator::Sum>(7, u"Sum", u"Sums an array", kSum),
    DescribeMethod<&ICalculator::Names>(8, u"Names", u"Two names", kNames),
};
constexpr comrt::ConstantDescription kColors[] = {{u"RED", RED}, {u"GREEN", GREEN}};
constexpr comrt::ImplementedInterface kImplemented[] = {{&IID_ICalculator, IMPLTYPEFLAG_FDEFAULT}};

constexpr comrt::TypeDescription kTypes[] = {
    {TKIND_COCLASS, CLSID_Calculator, u"Calculator", u"Calculator Class", TYPEFLAG_FCANCREATE, nullptr, 0, nullptr,
     0, kImplemented, 1},
    {TKIND_DISPATCH, IID_ICalculator, u"ICalculator", u"Calculator Interface",
     TYPEFLAG_FDUAL | TYPEFLAG_FNONEXTENSIBLE | TYPEFLAG_FOLEAUTOMATION | TYPEFLAG_FDISPATCHABLE, kFunctions,
     static_cast<WORD>(std::size(kFunctions))},
    {TKIND_ENUM, GUID_NULL, u"tagCOLOR", nullptr, 0, nullptr, 0, kColors, 2},
};

constexpr comrt::TypeLibDescription kLibrary = {
    LIBID_CalculatorLib, 1, 0, 0x409, SYS_WIN32, u"CalculatorLib", u"Calculator Type Library", nullptr,
    u"stdole2.tlb", kTypes, static_cast<UINT>(std::size(kTypes))};

}  // namespace

extern "C" __attribute__((visibility("default"))) HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv) {
    if (!(rclsid == CLSID_Calculator)) {
        *ppv = nullptr;
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    return g_factory.QueryInterface(riid, ppv);
}

extern "C" __attribute__((visibility("default"))) const comrt::TypeLibDescription* DllGetTypeLibDescription() {
    return &kLibrary;
}
