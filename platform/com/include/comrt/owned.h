// Owning helpers for clients of the runtime: each holds one thing that must be given back (an
// interface reference, a BSTR, a SAFEARRAY) and gives it back when it goes out of scope, so an
// early return cannot leak it. Move-only: exactly one owner at a time.
//
// put() frees what is held and hands out the place an out-parameter fills; release() hands
// ownership on (to a caller's out-parameter) and leaves the helper empty.
#pragma once

#include <comrt/oleauto.h>
#include <comrt/objbase.h>
#include <comrt/types.h>
#include <comrt/unknown.h>

#include <string>
#include <string_view>
#include <type_traits>
#include <utility>

namespace comrt {

// The class context clients ask for: any server on this machine, in process or not.
inline constexpr DWORD kClassContextLocal = CLSCTX_INPROC_SERVER | CLSCTX_INPROC_HANDLER | CLSCTX_LOCAL_SERVER;
// The locale of the type libraries here (US English), under which they are registered.
inline constexpr LCID kLocaleEnglishUS = 0x409;

template <typename Owned, typename Traits>
class Owner {
public:
    Owner() = default;
    explicit Owner(Owned owned) : m_owned(owned) {}
    ~Owner() { reset(); }
    Owner(const Owner&) = delete;
    Owner& operator=(const Owner&) = delete;
    Owner(Owner&& other) noexcept : m_owned(other.release()) {}
    Owner& operator=(Owner&& other) noexcept {
        if (this != &other) {
            reset();
            m_owned = other.release();
        }
        return *this;
    }

    Owned get() const { return m_owned; }
    explicit operator bool() const { return m_owned != nullptr; }
    Owned* put() {
        reset();
        return &m_owned;
    }
    void reset() {
        if (m_owned != nullptr) Traits::free(m_owned);
        m_owned = nullptr;
    }
    [[nodiscard]] Owned release() { return std::exchange(m_owned, nullptr); }

private:
    Owned m_owned = nullptr;
};

struct BstrTraits {
    static void free(BSTR s) { SysFreeString(s); }
};
struct SafeArrayTraits {
    static void free(SAFEARRAY* a) { SafeArrayDestroy(a); }
};

// An interface pointer, released on scope exit. Constructed from a pointer, it takes over the
// reference the pointer carries (it does not add one).
template <typename T>
class InterfacePtr : public Owner<T*, InterfacePtr<T>> {
public:
    using Owner<T*, InterfacePtr<T>>::Owner;
    // Adds a reference of its own to a pointer someone else keeps owning (null stays empty).
    static InterfacePtr Retain(T* p) {
        if (p != nullptr) p->AddRef();
        return InterfacePtr(p);
    }
    static void free(T* p) { p->Release(); }
    T* operator->() const { return this->get(); }
    void** putVoid() { return reinterpret_cast<void**>(this->put()); }
};

// A BSTR, freed on scope exit.
class OwnedBstr : public Owner<BSTR, BstrTraits> {
public:
    OwnedBstr() = default;
    // A copy of text (null when text is null or memory runs out).
    explicit OwnedBstr(const char16_t* text) : Owner(SysAllocString(text)) {}
    // A copy of all of text, NULs inside included (null when memory runs out).
    static OwnedBstr Counted(std::u16string_view text) {
        return Adopt(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
    }
    // Takes over a BSTR that the caller owned.
    static OwnedBstr Adopt(BSTR owned) {
        OwnedBstr b;
        *b.put() = owned;
        return b;
    }
    std::u16string str() const { return get() == nullptr ? std::u16string() : std::u16string(get(), SysStringLen(get())); }
};

// A SAFEARRAY, destroyed on scope exit.
using OwnedSafeArray = Owner<SAFEARRAY*, SafeArrayTraits>;

// Hands each element of a one-dimensional array to take, in index order, as an Element (an
// OwnedBstr holds its own copy of a string element); an element that cannot be read is passed
// over, and a null array has none.
template <typename Element, typename Take>
void ForEachElement(SAFEARRAY* array, Take take) {
    LONG lower = 0;
    LONG upper = -1;
    if (array == nullptr || FAILED(SafeArrayGetLBound(array, 1, &lower)) || FAILED(SafeArrayGetUBound(array, 1, &upper))) {
        return;
    }
    for (LONG i = lower; i <= upper; ++i) {
        Element element{};
        void* place = nullptr;
        if constexpr (std::is_same_v<Element, OwnedBstr>) {
            place = element.put();
        } else {
            place = &element;
        }
        if (SUCCEEDED(SafeArrayGetElement(array, &i, place))) take(element);
    }
}

}  // namespace comrt
