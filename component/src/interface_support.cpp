// Error descriptions and conversions at the component's interfaces.
#include "interface_support.h"

#include <algorithm>
#include <kestrum/engine.h>

namespace kestrum::component {

BSTR ErrorMessage(Result rc) {
    try {
        return comrt::Utf8ToBstr(kestrum::ErrorMessage(rc));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void PostErrorInfo(REFIID riid, Result rc) {
    const auto message = comrt::OwnedBstr::Adopt(ErrorMessage(rc));
    comrt::InterfacePtr<ICreateErrorInfo> create;
    if (FAILED(CreateErrorInfo(create.put()))) return;
    create->SetGUID(riid);
    create->SetSource(const_cast<LPOLESTR>(kErrorSource));
    create->SetDescription(message.get());
    comrt::InterfacePtr<IErrorInfo> info;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, info.putVoid()))) SetErrorInfo(0, info.get());
}

HRESULT Finish(REFIID riid, Result rc) {
    if (rc != S_OK && IsEngineCode(rc)) PostErrorInfo(riid, rc);
    return rc;
}

HRESULT PutString(const std::string& utf8, BSTR* out) {
    BSTR text = comrt::Utf8ToBstr(utf8);
    if (text == nullptr) return E_OUTOFMEMORY;
    *out = text;
    return S_OK;
}

namespace {

template <typename Item, typename Store>
HRESULT putArray(VARTYPE vt, const std::vector<Item>& items, SAFEARRAY** out, Store store) {
    comrt::OwnedSafeArray array(SafeArrayCreateVector(vt, 0, static_cast<ULONG>(items.size())));
    if (!array) return E_OUTOFMEMORY;
    void* data = nullptr;
    if (FAILED(SafeArrayAccessData(array.get(), &data))) return E_INTERNAL;
    bool stored = true;
    for (std::size_t i = 0; i < items.size() && stored; ++i) stored = store(data, i, items[i]);
    SafeArrayUnaccessData(array.get());
    if (!stored) return E_OUTOFMEMORY;
    *out = array.release();
    return S_OK;
}

}  // namespace

HRESULT PutStringArray(const std::vector<std::string>& items, SAFEARRAY** out) {
    return putArray(VT_BSTR, items, out, [](void* data, std::size_t i, const std::string& item) {
        static_cast<BSTR*>(data)[i] = comrt::Utf8ToBstr(item);
        return static_cast<BSTR*>(data)[i] != nullptr;
    });
}

HRESULT PutShortArray(const std::vector<std::int16_t>& items, SAFEARRAY** out) {
    return putArray(VT_I2, items, out, [](void* data, std::size_t i, std::int16_t item) {
        static_cast<SHORT*>(data)[i] = item;
        return true;
    });
}

HRESULT ReadShortArray(SAFEARRAY* array, std::vector<std::int16_t>& items) {
    if (array == nullptr) return E_INTERNAL;
    VARTYPE vt = VT_EMPTY;
    if (SafeArrayGetDim(array) != 1 || FAILED(SafeArrayGetVartype(array, &vt)) || vt != VT_I2) return E_INVALIDARG;
    LONG lower = 0;
    LONG upper = -1;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    items.reserve(kBaseDimensions);  // nothing may throw while the array is locked
    void* data = nullptr;
    if (FAILED(SafeArrayAccessData(array, &data))) return E_INTERNAL;
    const std::int64_t count = std::clamp<std::int64_t>(std::int64_t{upper} - lower + 1, 0, kBaseDimensions);
    const auto* values = static_cast<const SHORT*>(data);
    items.assign(values, values + count);
    SafeArrayUnaccessData(array);
    return S_OK;
}

void Utf8::convertGenerally(BSTR text) {
    std::size_t length = 0;
    while (length <= kLongestAccepted && text[length] != 0) ++length;
    m_heap = comrt::ToUtf8(std::u16string_view(text, length));
    m_view = m_heap;
}

}  // namespace kestrum::component
