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

}  // namespace comrt
