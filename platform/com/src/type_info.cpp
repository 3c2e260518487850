// Type information read from a server's table (type_library.cpp holds the library).
#include "type_library.h"

#include <new>
#include <string_view>

namespace comrt::internal {

namespace {

// The virtual table of a dual or dispatch interface starts with IUnknown's three and
// IDispatch's four operations; a plain interface with IUnknown's three.
int inheritedOperations(const TypeDescription& type) {
    return type.kind == TKIND_DISPATCH ? 7 : 3;
}

BSTR copyOrNull(const OLECHAR* text, bool& failed) {
    if (text == nullptr) return nullptr;
    BSTR copy = SysAllocString(text);
    failed = failed || copy == nullptr;
    return copy;
}

// A FUNCDESC with the storage its parameter descriptions point into; FUNCDESC comes first so
// that ReleaseFuncDesc finds the block from the pointer it handed out.
struct FuncDescBlock {
    FUNCDESC desc;
    ELEMDESC* params;
    TYPEDESC* nested;  // two per parameter: a pointer's target and an array's element
};

struct VarDescBlock {
    VARDESC desc;
    VARIANT value;
};

}  // namespace

void clearDocumentation(BSTR* pName, BSTR* pDocString, BSTR* pHelpFile) {
    for (BSTR* place : {pName, pDocString, pHelpFile}) {
        if (place != nullptr) *place = nullptr;
    }
}

HRESULT documentation(const OLECHAR* name, const OLECHAR* docString, const OLECHAR* helpFile, BSTR* pName,
                      BSTR* pDocString, DWORD* pHelpContext, BSTR* pHelpFile) {
    clearDocumentation(pName, pDocString, pHelpFile);
    bool failed = false;
    BSTR n = pName != nullptr ? copyOrNull(name, failed) : nullptr;
    BSTR d = pDocString != nullptr ? copyOrNull(docString, failed) : nullptr;
    BSTR h = pHelpFile != nullptr ? copyOrNull(helpFile, failed) : nullptr;
    if (failed) {
        SysFreeString(n);
        SysFreeString(d);
        SysFreeString(h);
        return E_OUTOFMEMORY;
    }
    if (pName != nullptr) *pName = n;
    if (pDocString != nullptr) *pDocString = d;
    if (pHelpFile != nullptr) *pHelpFile = h;
    if (pHelpContext != nullptr) *pHelpContext = 0;
    return S_OK;
}


TypeInfo::TypeInfo(TypeLibrary* library, UINT index) : m_library(library), m_index(index) {
    m_library->AddRef();
}

TypeInfo::~TypeInfo() {
    m_library->Release();
}

const FunctionDescription* TypeInfo::function(MEMBERID memid) const {
    const TypeDescription& t = type();
    for (WORD i = 0; i < t.functionCount; ++i) {
        if (t.functions[i].memid == memid) return &t.functions[i];
    }
    return nullptr;
}

HRESULT TypeInfo::GetTypeAttr(TYPEATTR** ppTypeAttr) {
    if (ppTypeAttr == nullptr) return E_INVALIDARG;
    *ppTypeAttr = nullptr;
    auto* attr = allocateZeroed<TYPEATTR>();
    if (attr == nullptr) return E_OUTOFMEMORY;
    const TypeDescription& t = type();
    const TypeLibDescription& lib = m_library->description();
    attr->guid = t.guid;
    attr->lcid = lib.lcid;
    attr->memidConstructor = MEMBERID_NIL;
    attr->memidDestructor = MEMBERID_NIL;
    attr->typekind = t.kind;
    attr->cFuncs = t.functionCount;
    attr->cVars = t.constantCount;
    attr->cImplTypes = t.implementedCount;
    if (t.kind == TKIND_DISPATCH || t.kind == TKIND_INTERFACE) {
        attr->cbSizeVft = static_cast<WORD>((inheritedOperations(t) + t.functionCount) * sizeof(void*));
    }
    attr->cbAlignment = alignof(void*);
    attr->wTypeFlags = t.typeFlags;
    attr->wMajorVerNum = lib.majorVersion;
    attr->wMinorVerNum = lib.minorVersion;
    *ppTypeAttr = attr;
    return S_OK;
}

HRESULT TypeInfo::GetFuncDesc(UINT index, FUNCDESC** ppFuncDesc) {
    if (ppFuncDesc == nullptr) return E_INVALIDARG;
    *ppFuncDesc = nullptr;
    const TypeDescription& t = type();
    if (index >= t.functionCount) return TYPE_E_ELEMENTNOTFOUND;
    const FunctionDescription& f = t.functions[index];
    auto* block = allocateZeroed<FuncDescBlock>();
    if (block == nullptr) return E_OUTOFMEMORY;
    block->params = new (std::nothrow) ELEMDESC[f.paramCount > 0 ? f.paramCount : 1]{};
    block->nested = new (std::nothrow) TYPEDESC[f.paramCount > 0 ? 2 * f.paramCount : 1]{};
    if (block->params == nullptr || block->nested == nullptr) {
        ReleaseFuncDesc(&block->desc);
        return E_OUTOFMEMORY;
    }
    for (SHORT i = 0; i < f.paramCount; ++i) {
        const ParamDescription& p = f.params[i];
        TYPEDESC* element = &block->nested[2 * i];
        TYPEDESC* target = &block->nested[2 * i + 1];
        const VARTYPE base = p.vt & VT_TYPEMASK;
        TYPEDESC inner{};
        if ((p.vt & VT_ARRAY) != 0) {
            element->vt = base;
            inner.lptdesc = element;
            inner.vt = VT_SAFEARRAY;
        } else if (base == VT_USERDEFINED) {
            inner.hreftype = m_library->indexOf(p.typeName);
            inner.vt = VT_USERDEFINED;
        } else {
            inner.vt = base;
        }
        ELEMDESC& e = block->params[i];
        if ((p.vt & VT_BYREF) != 0) {
            *target = inner;
            e.tdesc.lptdesc = target;
            e.tdesc.vt = VT_PTR;
        } else {
            e.tdesc = inner;
        }
        e.paramdesc.wParamFlags = p.flags;
    }
    FUNCDESC& d = block->desc;
    d.memid = f.memid;
    d.lprgelemdescParam = block->params;
    d.funckind = FUNC_PUREVIRTUAL;
    d.invkind = INVOKE_FUNC;
    d.callconv = CC_STDCALL;
    d.cParams = f.paramCount;
    d.oVft = static_cast<SHORT>((inheritedOperations(t) + index) * sizeof(void*));
    d.elemdescFunc.tdesc.vt = VT_HRESULT;
    *ppFuncDesc = &block->desc;
    return S_OK;
}

HRESULT TypeInfo::GetVarDesc(UINT index, VARDESC** ppVarDesc) {
    if (ppVarDesc == nullptr) return E_INVALIDARG;
    *ppVarDesc = nullptr;
    const TypeDescription& t = type();
    if (index >= t.constantCount) return TYPE_E_ELEMENTNOTFOUND;
    auto* block = allocateZeroed<VarDescBlock>();
    if (block == nullptr) return E_OUTOFMEMORY;
    block->value.vt = VT_I4;
    block->value.lVal = t.constants[index].value;
    block->desc.memid = static_cast<MEMBERID>(0x40000000 + index);
    block->desc.lpvarValue = &block->value;
    block->desc.elemdescVar.tdesc.vt = VT_I4;
    block->desc.varkind = VAR_CONST;
    *ppVarDesc = &block->desc;
    return S_OK;
}

HRESULT TypeInfo::GetNames(MEMBERID memid, BSTR* rgBstrNames, UINT cMaxNames, UINT* pcNames) {
    if (rgBstrNames == nullptr || pcNames == nullptr) return E_INVALIDARG;
    *pcNames = 0;
    std::u16string_view names[32];
    UINT count = 0;
    if (const FunctionDescription* f = function(memid)) {
        names[count++] = f->name;
        for (SHORT i = 0; i < f->paramCount && count < 32; ++i) names[count++] = f->params[i].name;
    } else {
        const TypeDescription& t = type();
        const auto index = static_cast<std::uint32_t>(memid) - 0x40000000u;
        if (index >= t.constantCount) return TYPE_E_ELEMENTNOTFOUND;
        names[count++] = t.constants[index].name;
    }
    if (count > cMaxNames) count = cMaxNames;
    for (UINT i = 0; i < count; ++i) {
        rgBstrNames[i] = allocString(names[i]);
        if (rgBstrNames[i] == nullptr) {
            for (UINT k = 0; k < i; ++k) {
                SysFreeString(rgBstrNames[k]);
                rgBstrNames[k] = nullptr;
            }
            return E_OUTOFMEMORY;
        }
    }
    *pcNames = count;
    return S_OK;
}

HRESULT TypeInfo::GetRefTypeOfImplType(UINT index, HREFTYPE* pRefType) {
    if (pRefType == nullptr) return E_INVALIDARG;
    const TypeDescription& t = type();
    if (index >= t.implementedCount) return TYPE_E_ELEMENTNOTFOUND;
    const HREFTYPE ref = m_library->indexOf(*t.implemented[index].iid);
    if (ref == kNoType) return TYPE_E_ELEMENTNOTFOUND;
    *pRefType = ref;
    return S_OK;
}

HRESULT TypeInfo::GetImplTypeFlags(UINT index, INT* pImplTypeFlags) {
    if (pImplTypeFlags == nullptr) return E_INVALIDARG;
    const TypeDescription& t = type();
    if (index >= t.implementedCount) return TYPE_E_ELEMENTNOTFOUND;
    *pImplTypeFlags = t.implemented[index].flags;
    return S_OK;
}

HRESULT TypeInfo::GetIDsOfNames(LPOLESTR* rgszNames, UINT cNames, MEMBERID* pMemId) {
    if (rgszNames == nullptr || pMemId == nullptr || cNames == 0) return E_INVALIDARG;
    for (UINT i = 0; i < cNames; ++i) pMemId[i] = DISPID_UNKNOWN;
    if (rgszNames[0] == nullptr) return DISP_E_UNKNOWNNAME;
    const TypeDescription& t = type();
    const FunctionDescription* found = nullptr;
    for (WORD i = 0; i < t.functionCount && found == nullptr; ++i) {
        if (equalsIgnoringAsciiCase(t.functions[i].name, rgszNames[0])) found = &t.functions[i];
    }
    if (found == nullptr) return DISP_E_UNKNOWNNAME;
    pMemId[0] = found->memid;
    HRESULT hr = S_OK;
    for (UINT n = 1; n < cNames; ++n) {
        for (SHORT p = 0; p < found->paramCount && rgszNames[n] != nullptr; ++p) {
            if (equalsIgnoringAsciiCase(found->params[p].name, rgszNames[n])) pMemId[n] = p;
        }
        if (pMemId[n] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
    }
    return hr;
}

HRESULT TypeInfo::Invoke(PVOID pvInstance, MEMBERID memid, WORD wFlags, DISPPARAMS* pDispParams,
                         VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) {
    if (pvInstance == nullptr) return E_INVALIDARG;
    const FunctionDescription* f = function(memid);
    if (f == nullptr) return DISP_E_MEMBERNOTFOUND;
    return invokeFunction(*f, pvInstance, wFlags, pDispParams, pVarResult, pExcepInfo, puArgErr);
}

HRESULT TypeInfo::GetDocumentation(MEMBERID memid, BSTR* pBstrName, BSTR* pBstrDocString, DWORD* pdwHelpContext,
                                   BSTR* pBstrHelpFile) {
    clearDocumentation(pBstrName, pBstrDocString, pBstrHelpFile);
    const TypeDescription& t = type();
    const OLECHAR* helpFile = m_library->description().helpFile;
    if (memid == MEMBERID_NIL) {
        return documentation(t.name, t.helpString, helpFile, pBstrName, pBstrDocString, pdwHelpContext,
                             pBstrHelpFile);
    }
    const FunctionDescription* f = function(memid);
    if (f == nullptr) return TYPE_E_ELEMENTNOTFOUND;
    return documentation(f->name, f->helpString, helpFile, pBstrName, pBstrDocString, pdwHelpContext,
                         pBstrHelpFile);
}

HRESULT TypeInfo::GetRefTypeInfo(HREFTYPE hRefType, ITypeInfo** ppTInfo) {
    if (ppTInfo == nullptr) return E_INVALIDARG;
    *ppTInfo = nullptr;
    if (hRefType >= m_library->description().typeCount) return TYPE_E_ELEMENTNOTFOUND;
    return m_library->GetTypeInfo(hRefType, ppTInfo);
}

HRESULT TypeInfo::GetContainingTypeLib(ITypeLib** ppTLib, UINT* pIndex) {
    if (ppTLib == nullptr) return E_INVALIDARG;
    m_library->AddRef();
    *ppTLib = m_library;
    if (pIndex != nullptr) *pIndex = m_index;
    return S_OK;
}

void TypeInfo::ReleaseTypeAttr(TYPEATTR* pTypeAttr) {
    delete pTypeAttr;
}

void TypeInfo::ReleaseFuncDesc(FUNCDESC* pFuncDesc) {
    if (pFuncDesc == nullptr) return;
    auto* block = reinterpret_cast<FuncDescBlock*>(pFuncDesc);
    delete[] block->params;
    delete[] block->nested;
    delete block;
}

void TypeInfo::ReleaseVarDesc(VARDESC* pVarDesc) {
    delete reinterpret_cast<VarDescBlock*>(pVarDesc);
}

}  // namespace comrt::internal
