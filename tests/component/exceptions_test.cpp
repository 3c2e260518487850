// No exception crosses an interface: when the engine runs out of memory inside an operation,
// the operation returns E_OUTOFMEMORY. Global operator new is replaced here so that it can be
// made to fail, in the server module as well, since the executable's definition takes
// precedence over the C++ library's for every module of the process.
#include "component_fixture.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<bool> g_failAllocations{false};
std::atomic<std::size_t> g_largestAllocation{0};
}  // namespace

// These operators are malloc and free underneath, so freeing what new returned is right here.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
    if (g_failAllocations.load()) throw std::bad_alloc();
    std::size_t largest = g_largestAllocation.load();
    while (size > largest && !g_largestAllocation.compare_exchange_weak(largest, size)) {
    }
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) {
    return operator new(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    try {
        return operator new(size);
    } catch (...) {
        return nullptr;
    }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

namespace component_test {
namespace {

using OutOfMemory = ComponentTest;

TEST_F(OutOfMemory, InsideAnOperationIsAResultCodeNotAnException) {
    Ref<IMorvane> morvane;
    Ref<IUnitDatabase> database;
    createLoaded(morvane, database);
    // Longer than any short-string buffer, so converting it needs the heap.
    Bstr longName(u"quantity_named_past_the_short_buffer");
    Bstr longUnit(u"kilometre_per_something_long_enough_for_the_heap");
    SAFEARRAY* units = nullptr;
    double add = 0;
    double multiplyBy = 0;

    g_failAllocations = true;
    const HRESULT added = database->Quantity_Add(longName.get());
    const HRESULT listed = database->Unit_Set(&units);
    const HRESULT converted = morvane->UnitExpression_Convert(longUnit.get(), longUnit.get(), &add, &multiplyBy);
    g_failAllocations = false;

    EXPECT_EQ(added, E_OUTOFMEMORY);
    EXPECT_EQ(listed, E_OUTOFMEMORY);
    EXPECT_EQ(converted, E_OUTOFMEMORY);
    EXPECT_EQ(units, nullptr);
    ASSERT_EQ(database->Quantity_Add(longName.get()), S_OK) << "the object works on afterwards";
}

TEST_F(OutOfMemory, WhileCreatingAnObjectIsReportedByTheFactory) {
    Ref<IClassFactory> factory;
    ASSERT_EQ(DllGetClassObject(CLSID_Morvane, IID_IClassFactory, factory.putVoid()), S_OK);
    void* object = reinterpret_cast<void*>(1);
    g_failAllocations = true;
    const HRESULT hr = factory->CreateInstance(nullptr, IID_IMorvane, &object);
    g_failAllocations = false;
    EXPECT_EQ(hr, E_OUTOFMEMORY);
    EXPECT_EQ(object, nullptr);
    factory.reset();
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
}

// A text longer than any operation accepts is refused for what it is, without being converted
// (or copied) whole: a 20-million-character name costs no more than a 501-character one.
TEST_F(OutOfMemory, AnOverLongTextIsRefusedWithoutConvertingItWhole) {
    Ref<IMorvane> morvane;
    Ref<IUnitDatabase> database;
    createLoaded(morvane, database);
    std::u16string edge = u"km";
    while (edge.size() < 500) edge += u"*m";  // 500 characters: the longest expression there is
    Bstr longest(edge.c_str());
    Bstr symbol;
    EXPECT_EQ(morvane->UnitExpression_Symbol(longest.get(), symbol.put()), S_OK) << "500 characters";
    edge = u"metre";
    while (edge.size() < 501) edge += u"*m";
    Bstr tooLong(edge.c_str());
    EXPECT_EQ(morvane->UnitExpression_Symbol(tooLong.get(), symbol.put()), static_cast<HRESULT>(0x8004020E))
        << "501 characters";

    const std::u16string huge(20'000'000, u'\u00E9');  // beyond ASCII: the general conversion
    BSTR hugeText = SysAllocStringLen(huge.data(), static_cast<UINT>(huge.size()));
    ASSERT_NE(hugeText, nullptr);
    VARIANT arg;
    VariantInit(&arg);
    arg.vt = VT_BSTR;
    arg.bstrVal = hugeText;
    DISPPARAMS params{&arg, nullptr, 1, 0};
    VARIANT result;
    VariantInit(&result);
    g_largestAllocation = 0;
    EXPECT_EQ(morvane->Invoke(13, IID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr),
              static_cast<HRESULT>(0x8004020E));
    double factor = 0;
    EXPECT_EQ(database->Unit_ConversionFactor(hugeText, &factor), static_cast<HRESULT>(0x8004020C));
    EXPECT_EQ(database->Unit_Add(hugeText, Bstr(u"Length").get()), static_cast<HRESULT>(0x80040218));
    EXPECT_LT(g_largestAllocation.load(), std::size_t{64 * 1024}) << "bytes in one allocation";
    SysFreeString(hugeText);
}

}  // namespace
}  // namespace component_test
