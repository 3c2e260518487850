// Shared set-up for the component's tests: a registry file of the test's own with the server
// registered in it, a small Unit Database written by the test, and ways to read what an
// operation posted.
#pragma once

#include <scoped_registry.h>
#include <test_databases.h>

#include <kestrum/KestrumLib.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

extern "C" {
HRESULT DllGetClassObject(REFCLSID rclsid, REFIID riid, LPVOID* ppv);
HRESULT DllCanUnloadNow();
HRESULT DllRegisterServer();
HRESULT DllUnregisterServer();
}

namespace component_test {

using comrt_test::Bstr;
using comrt_test::Ref;
using comrt_test::ScopedRegistry;

// Three base quantities (Angle with no preferred unit anywhere), one derived, five units and
// two unit systems.
inline constexpr char kSmallDatabaseFile[] = "component_small.xml";

// What the thread's error object said, fetched (and so cleared) once.
struct Posted {
    bool present = false;
    GUID iid{};
    std::u16string source;
    std::u16string description;
    bool hasHelpFile = false;
    DWORD helpContext = 0;
};

inline Posted takePosted() {
    Posted posted;
    Ref<IErrorInfo> info;
    if (GetErrorInfo(0, info.put()) != S_OK) return posted;
    posted.present = true;
    info->GetGUID(&posted.iid);
    Bstr source;
    Bstr description;
    Bstr helpFile;
    info->GetSource(source.put());
    info->GetDescription(description.put());
    info->GetHelpFile(helpFile.put());
    info->GetHelpContext(&posted.helpContext);
    posted.source = source.str();
    posted.description = description.str();
    posted.hasHelpFile = helpFile.get() != nullptr;
    return posted;
}

inline std::u16string u16(const std::string& utf8) {
    return comrt::ToUtf16(utf8);
}

// The strings of a VT_BSTR array, which is destroyed.
inline std::vector<std::u16string> takeStrings(SAFEARRAY* array) {
    std::vector<std::u16string> items;
    if (array == nullptr) return items;
    LONG lower = 0;
    LONG upper = -1;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    EXPECT_EQ(lower, 0) << "lists start at index 0";
    for (LONG i = lower; i <= upper; ++i) {
        BSTR item = nullptr;
        SafeArrayGetElement(array, &i, &item);
        items.emplace_back(item, SysStringLen(item));
        SysFreeString(item);
    }
    SafeArrayDestroy(array);
    return items;
}

class ComponentTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(DllRegisterServer(), S_OK);
        databasePath = registry.dir() + "/small.xml";
        ASSERT_TRUE(kestrum::test::writeTestDatabase(kSmallDatabaseFile, databasePath));
        SetErrorInfo(0, nullptr);
    }

    // A new object through the class factory, as the given interface.
    template <typename T>
    HRESULT create(REFIID riid, Ref<T>& out) {
        Ref<IClassFactory> factory;
        HRESULT hr = DllGetClassObject(CLSID_Morvane, IID_IClassFactory, factory.putVoid());
        if (FAILED(hr)) return hr;
        return factory->CreateInstance(nullptr, riid, out.putVoid());
    }

    // An object with the small database loaded, through both of its interfaces.
    void createLoaded(Ref<IMorvane>& morvane, Ref<IUnitDatabase>& database) {
        ASSERT_EQ(create(IID_IMorvane, morvane), S_OK);
        ASSERT_EQ(morvane->QueryInterface(IID_IUnitDatabase, database.putVoid()), S_OK);
        ASSERT_EQ(morvane->Initialize(Bstr(u16(databasePath).c_str()).get()), S_OK);
    }

    ScopedRegistry registry;
    std::string databasePath;
};

}  // namespace component_test
