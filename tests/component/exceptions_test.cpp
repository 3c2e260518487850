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
}  // namespace

// These operators are malloc and free underneath, so freeing what new returned is right here.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
    if (g_failAllocations.load()) throw std::bad_alloc();
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
    factory.reset();
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
}

}  // namespace
}  // namespace component_test
