// Type libraries read from a server's table: the library's types by index, name and identifier.
#include "type_library.h"

namespace comrt::internal {

HREFTYPE TypeLibrary::indexOf(const OLECHAR* name) const {
    if (name == nullptr) return kNoType;
    for (UINT i = 0; i < m_description.typeCount; ++i) {
        if (std::u16string_view(m_description.types[i].name) == name) return i;
    }
    return kNoType;
}

HREFTYPE TypeLibrary::indexOf(REFGUID guid) const {
    for (UINT i = 0; i < m_description.typeCount; ++i) {
        if (m_description.types[i].guid == guid) return i;
    }
    return kNoType;
}

HRESULT TypeLibrary::GetTypeInfo(UINT index, ITypeInfo** ppTInfo) {
    if (ppTInfo == nullptr) return E_INVALIDARG;
    *ppTInfo = nullptr;
    if (index >= m_description.typeCount) return TYPE_E_ELEMENTNOTFOUND;
    if (!allocationAllowed()) return E_OUTOFMEMORY;
    auto* info = new (std::nothrow) TypeInfo(this, index);
    if (info == nullptr) return E_OUTOFMEMORY;
    *ppTInfo = info;
    return S_OK;
}

HRESULT TypeLibrary::GetTypeInfoType(UINT index, TYPEKIND* pTKind) {
    if (pTKind == nullptr) return E_INVALIDARG;
    if (index >= m_description.typeCount) return TYPE_E_ELEMENTNOTFOUND;
    *pTKind = m_description.types[index].kind;
    return S_OK;
}

HRESULT TypeLibrary::GetTypeInfoOfGuid(REFGUID guid, ITypeInfo** ppTinfo) {
    if (ppTinfo == nullptr) return E_INVALIDARG;
    *ppTinfo = nullptr;
    const HREFTYPE index = indexOf(guid);
    if (index == kNoType) return TYPE_E_ELEMENTNOTFOUND;
    return GetTypeInfo(index, ppTinfo);
}

HRESULT TypeLibrary::GetLibAttr(TLIBATTR** ppTLibAttr) {
    if (ppTLibAttr == nullptr) return E_INVALIDARG;
    *ppTLibAttr = nullptr;
    auto* attr = allocateZeroed<TLIBATTR>();
    if (attr == nullptr) return E_OUTOFMEMORY;
    attr->guid = m_description.libid;
    attr->lcid = m_description.lcid;
    attr->syskind = m_description.syskind;
    attr->wMajorVerNum = m_description.majorVersion;
    attr->wMinorVerNum = m_description.minorVersion;
    *ppTLibAttr = attr;
    return S_OK;
}

HRESULT TypeLibrary::GetDocumentation(INT index, BSTR* pBstrName, BSTR* pBstrDocString, DWORD* pdwHelpContext,
                                      BSTR* pBstrHelpFile) {
    clearDocumentation(pBstrName, pBstrDocString, pBstrHelpFile);
    if (index == -1) {
        return documentation(m_description.name, m_description.helpString, m_description.helpFile, pBstrName,
                             pBstrDocString, pdwHelpContext, pBstrHelpFile);
    }
    if (index < 0 || static_cast<UINT>(index) >= m_description.typeCount) return TYPE_E_ELEMENTNOTFOUND;
    const TypeDescription& type = m_description.types[index];
    return documentation(type.name, type.helpString, m_description.helpFile, pBstrName, pBstrDocString,
                         pdwHelpContext, pBstrHelpFile);
}

void TypeLibrary::ReleaseTLibAttr(TLIBATTR* pTLibAttr) {
    delete pTLibAttr;
}

}  // namespace comrt::internal
