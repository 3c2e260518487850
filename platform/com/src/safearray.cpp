// One-dimensional safe arrays of VT_BSTR and VT_I2, and variants.
#include "internal.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <limits>

using comrt::internal::allocate;

namespace {

// The element type is kept just before the array descriptor, where SafeArrayGetVartype finds it.
struct ArrayBlock {
    VARTYPE vt;
    SAFEARRAY array;
};

ArrayBlock* blockOf(SAFEARRAY* psa) {
    return reinterpret_cast<ArrayBlock*>(reinterpret_cast<char*>(psa) - offsetof(ArrayBlock, array));
}

bool supported(VARTYPE vt) {
    return vt == VT_BSTR || vt == VT_I2;
}

HRESULT checkIndex(SAFEARRAY* psa, const LONG* rgIndices, std::size_t& offset) {
    if (psa == nullptr || rgIndices == nullptr) return E_INVALIDARG;
    const std::int64_t index = std::int64_t{rgIndices[0]} - psa->rgsabound[0].lLbound;
    if (index < 0 || index >= std::int64_t{psa->rgsabound[0].cElements}) return DISP_E_BADINDEX;
    offset = static_cast<std::size_t>(index);
    return S_OK;
}

}  // namespace

extern "C" {

SAFEARRAY* SafeArrayCreate(VARTYPE vt, UINT cDims, SAFEARRAYBOUND* rgsabound) {
    if (cDims != 1 || rgsabound == nullptr || !supported(vt)) return nullptr;
    const ULONG count = rgsabound[0].cElements;
    const std::size_t elementSize = vt == VT_BSTR ? sizeof(BSTR) : sizeof(SHORT);
    if (count > std::numeric_limits<std::size_t>::max() / elementSize) return nullptr;
    auto* block = static_cast<ArrayBlock*>(allocate(sizeof(ArrayBlock)));
    if (block == nullptr) return nullptr;
    void* data = nullptr;
    if (count > 0) {
        data = comrt::internal::allocationAllowed() ? std::calloc(count, elementSize) : nullptr;
        if (data == nullptr) {
            std::free(block);
            return nullptr;
        }
    }
    block->vt = vt;
    SAFEARRAY& a = block->array;
    a.cDims = 1;
    a.fFeatures = static_cast<USHORT>(FADF_HAVEVARTYPE | (vt == VT_BSTR ? FADF_BSTR : 0));
    a.cbElements = static_cast<ULONG>(elementSize);
    a.cLocks = 0;
    a.pvData = data;
    a.rgsabound[0] = rgsabound[0];
    return &a;
}

SAFEARRAY* SafeArrayCreateVector(VARTYPE vt, LONG lLbound, ULONG cElements) {
    SAFEARRAYBOUND bound{cElements, lLbound};
    return SafeArrayCreate(vt, 1, &bound);
}

HRESULT SafeArrayDestroy(SAFEARRAY* psa) {
    if (psa == nullptr) return S_OK;
    if (psa->cLocks > 0) return DISP_E_ARRAYISLOCKED;
    if ((psa->fFeatures & FADF_BSTR) != 0 && psa->pvData != nullptr) {
        auto* strings = static_cast<BSTR*>(psa->pvData);
        for (ULONG i = 0; i < psa->rgsabound[0].cElements; ++i) SysFreeString(strings[i]);
    }
    std::free(psa->pvData);
    std::free(blockOf(psa));
    return S_OK;
}

UINT SafeArrayGetDim(SAFEARRAY* psa) {
    return psa == nullptr ? 0 : psa->cDims;
}

UINT SafeArrayGetElemsize(SAFEARRAY* psa) {
    return psa == nullptr ? 0 : psa->cbElements;
}

HRESULT SafeArrayGetVartype(SAFEARRAY* psa, VARTYPE* pvt) {
    if (psa == nullptr || pvt == nullptr) return E_INVALIDARG;
    if ((psa->fFeatures & FADF_HAVEVARTYPE) == 0) return E_INVALIDARG;
    *pvt = blockOf(psa)->vt;
    return S_OK;
}

HRESULT SafeArrayGetLBound(SAFEARRAY* psa, UINT nDim, LONG* plLbound) {
    if (psa == nullptr || plLbound == nullptr) return E_INVALIDARG;
    if (nDim != 1) return DISP_E_BADINDEX;
    *plLbound = psa->rgsabound[0].lLbound;
    return S_OK;
}

HRESULT SafeArrayGetUBound(SAFEARRAY* psa, UINT nDim, LONG* plUbound) {
    if (psa == nullptr || plUbound == nullptr) return E_INVALIDARG;
    if (nDim != 1) return DISP_E_BADINDEX;
    *plUbound = static_cast<LONG>(std::int64_t{psa->rgsabound[0].lLbound} + psa->rgsabound[0].cElements - 1);
    return S_OK;
}

HRESULT SafeArrayLock(SAFEARRAY* psa) {
    if (psa == nullptr) return E_INVALIDARG;
    if (psa->cLocks == 0xFFFF) return E_UNEXPECTED;
    ++psa->cLocks;
    return S_OK;
}

HRESULT SafeArrayUnlock(SAFEARRAY* psa) {
    if (psa == nullptr) return E_INVALIDARG;
    if (psa->cLocks == 0) return E_UNEXPECTED;
    --psa->cLocks;
    return S_OK;
}

HRESULT SafeArrayAccessData(SAFEARRAY* psa, void** ppvData) {
    if (psa == nullptr || ppvData == nullptr) return E_INVALIDARG;
    const HRESULT hr = SafeArrayLock(psa);
    if (FAILED(hr)) return hr;
    *ppvData = psa->pvData;
    return S_OK;
}

HRESULT SafeArrayUnaccessData(SAFEARRAY* psa) {
    return SafeArrayUnlock(psa);
}

HRESULT SafeArrayPutElement(SAFEARRAY* psa, LONG* rgIndices, void* pv) {
    std::size_t index = 0;
    if (const HRESULT hr = checkIndex(psa, rgIndices, index); FAILED(hr)) return hr;
    if ((psa->fFeatures & FADF_BSTR) != 0) {
        auto source = static_cast<BSTR>(pv);
        BSTR copy = nullptr;
        if (source != nullptr) {
            copy = SysAllocStringLen(source, SysStringLen(source));
            if (copy == nullptr) return E_OUTOFMEMORY;
        }
        auto* strings = static_cast<BSTR*>(psa->pvData);
        SysFreeString(strings[index]);
        strings[index] = copy;
        return S_OK;
    }
    if (pv == nullptr) return E_INVALIDARG;
    std::memcpy(static_cast<char*>(psa->pvData) + index * psa->cbElements, pv, psa->cbElements);
    return S_OK;
}

HRESULT SafeArrayGetElement(SAFEARRAY* psa, LONG* rgIndices, void* pv) {
    std::size_t index = 0;
    if (const HRESULT hr = checkIndex(psa, rgIndices, index); FAILED(hr)) return hr;
    if (pv == nullptr) return E_INVALIDARG;
    if ((psa->fFeatures & FADF_BSTR) != 0) {
        BSTR source = static_cast<BSTR*>(psa->pvData)[index];
        BSTR copy = nullptr;
        if (source != nullptr) {
            copy = SysAllocStringLen(source, SysStringLen(source));
            if (copy == nullptr) return E_OUTOFMEMORY;
        }
        *static_cast<BSTR*>(pv) = copy;
        return S_OK;
    }
    std::memcpy(pv, static_cast<char*>(psa->pvData) + index * psa->cbElements, psa->cbElements);
    return S_OK;
}

void VariantInit(VARIANTARG* pvarg) {
    if (pvarg == nullptr) return;
    std::memset(pvarg, 0, sizeof(VARIANT));
    pvarg->vt = VT_EMPTY;
}

HRESULT VariantClear(VARIANTARG* pvarg) {
    if (pvarg == nullptr) return E_INVALIDARG;
    const VARTYPE vt = pvarg->vt;
    if ((vt & VT_BYREF) == 0) {
        if ((vt & VT_ARRAY) != 0) {
            if (const HRESULT hr = SafeArrayDestroy(pvarg->parray); FAILED(hr)) return hr;
        } else if (vt == VT_BSTR) {
            SysFreeString(pvarg->bstrVal);
        } else if (vt == VT_UNKNOWN || vt == VT_DISPATCH) {
            if (pvarg->punkVal != nullptr) pvarg->punkVal->Release();
        } else if ((vt & VT_TYPEMASK) > VT_LPWSTR) {
            return DISP_E_BADVARTYPE;
        }
    }
    VariantInit(pvarg);
    return S_OK;
}

HRESULT VariantCopy(VARIANTARG* pvargDest, const VARIANTARG* pvargSrc) {
    if (pvargDest == nullptr || pvargSrc == nullptr) return E_INVALIDARG;
    if (pvargDest == pvargSrc) return S_OK;
    VARIANT copy = *pvargSrc;
    const VARTYPE vt = pvargSrc->vt;
    if ((vt & VT_BYREF) == 0) {
        if ((vt & VT_ARRAY) != 0 && pvargSrc->parray != nullptr) {
            SAFEARRAY* source = pvargSrc->parray;
            VARTYPE elementType = VT_EMPTY;
            if (FAILED(SafeArrayGetVartype(source, &elementType))) return E_INVALIDARG;
            copy.parray = SafeArrayCreate(elementType, 1, source->rgsabound);
            if (copy.parray == nullptr) return E_OUTOFMEMORY;
            for (ULONG i = 0; i < source->rgsabound[0].cElements; ++i) {
                LONG index = static_cast<LONG>(source->rgsabound[0].lLbound + static_cast<LONG>(i));
                HRESULT hr = S_OK;
                if (elementType == VT_BSTR) {
                    hr = SafeArrayPutElement(copy.parray, &index, static_cast<BSTR*>(source->pvData)[i]);
                } else {
                    hr = SafeArrayPutElement(copy.parray, &index, static_cast<SHORT*>(source->pvData) + i);
                }
                if (FAILED(hr)) {
                    SafeArrayDestroy(copy.parray);
                    return hr;
                }
            }
        } else if (vt == VT_BSTR && pvargSrc->bstrVal != nullptr) {
            copy.bstrVal = SysAllocStringLen(pvargSrc->bstrVal, SysStringLen(pvargSrc->bstrVal));
            if (copy.bstrVal == nullptr) return E_OUTOFMEMORY;
        } else if ((vt == VT_UNKNOWN || vt == VT_DISPATCH) && pvargSrc->punkVal != nullptr) {
            pvargSrc->punkVal->AddRef();
        }
    }
    if (const HRESULT hr = VariantClear(pvargDest); FAILED(hr)) {
        VariantClear(&copy);
        return hr;
    }
    *pvargDest = copy;
    return S_OK;
}

}  // extern "C"
