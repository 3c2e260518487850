// The server's frame: class factory, server count, entry points and registration.
#include "component_fixture.h"

#include <comrt/faults.h>
#include <comrt/owned.h>

#include <dlfcn.h>

#include <filesystem>
#include <thread>

namespace component_test {
namespace {

const std::string kClsid = "{B509086A-A4D8-4933-B2E6-935009EA2EF7}";

std::string serverPath() {
    Dl_info info{};
    dladdr(reinterpret_cast<void*>(&DllGetClassObject), &info);
    return std::filesystem::canonical(info.dli_fname).string();
}

using ServerFrame = ComponentTest;

TEST_F(ServerFrame, TheClassFactoryIsHandedOutOnlyForMorvane) {
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(DllGetClassObject(IID_IMorvane, IID_IClassFactory, &out), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
    Ref<IClassFactory> factory;
    ASSERT_EQ(DllGetClassObject(CLSID_Morvane, IID_IClassFactory, factory.putVoid()), S_OK);
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE) << "a factory reference keeps the server loaded";
    Ref<IUnknown> unknown;
    EXPECT_EQ(factory->QueryInterface(IID_IUnknown, unknown.putVoid()), S_OK);
    EXPECT_EQ(unknown.get(), factory.get());
    Ref<IUnknown> other;
    EXPECT_EQ(factory->QueryInterface(IID_IDispatch, other.putVoid()), E_NOINTERFACE);
    EXPECT_EQ(other.get(), nullptr);
    EXPECT_EQ(DllGetClassObject(CLSID_Morvane, IID_IMorvane, other.putVoid()), E_NOINTERFACE);
    unknown.reset();
    factory.reset();
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
}

TEST_F(ServerFrame, CreationChecksTheOutPlaceBeforeAggregationAndCleansUpRefusals) {
    Ref<IClassFactory> factory;
    ASSERT_EQ(DllGetClassObject(CLSID_Morvane, IID_IClassFactory, factory.putVoid()), S_OK);
    IUnknown* outer = factory.get();
    EXPECT_EQ(factory->CreateInstance(outer, IID_IUnknown, nullptr), E_POINTER);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IUnknown, nullptr), E_POINTER);
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->CreateInstance(outer, IID_IUnknown, &out), CLASS_E_NOAGGREGATION);
    EXPECT_EQ(out, nullptr) << "an out-parameter is null after every failure";
    out = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_IClassFactory, &out), E_NOINTERFACE);
    EXPECT_EQ(out, nullptr);
    factory.reset();
    EXPECT_EQ(DllCanUnloadNow(), S_OK) << "the refused object was destroyed";
}

TEST_F(ServerFrame, ObjectsLocksAndFactoryReferencesAllKeepTheServerLoaded) {
    Ref<IClassFactory> factory;
    ASSERT_EQ(DllGetClassObject(CLSID_Morvane, IID_IClassFactory, factory.putVoid()), S_OK);
    IMorvane* object = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_IMorvane, reinterpret_cast<void**>(&object)), S_OK);
    EXPECT_EQ(factory->LockServer(1), S_OK);
    factory.reset();
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE) << "object and lock";
    EXPECT_EQ(object->AddRef(), 2u) << "a new object holds exactly one reference";
    EXPECT_EQ(object->Release(), 1u);
    EXPECT_EQ(object->Release(), 0u) << "the last release destroys the object";
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE) << "the lock";
    ASSERT_EQ(DllGetClassObject(CLSID_Morvane, IID_IClassFactory, factory.putVoid()), S_OK);
    EXPECT_EQ(factory->LockServer(0), S_OK);
    factory.reset();
    EXPECT_EQ(DllCanUnloadNow(), S_OK);
}

TEST_F(ServerFrame, CountsStayExactWhenTwoThreadsCreateAndReleaseTogether) {
    Ref<IMorvane> shared;
    ASSERT_EQ(create(IID_IMorvane, shared), S_OK);
    constexpr int kRounds = 300;
    auto work = [&] {
        for (int i = 0; i < kRounds; ++i) {
            Ref<IUnitDatabase> own;
            if (create(IID_IUnitDatabase, own) != S_OK) ADD_FAILURE() << "creation failed";
            for (int k = 0; k < 20; ++k) {
                shared->AddRef();
                shared->Release();
            }
        }
    };
    std::thread first(work);
    std::thread second(work);
    first.join();
    second.join();
    EXPECT_EQ(shared->AddRef(), 2u);
    EXPECT_EQ(shared->Release(), 1u);
    EXPECT_EQ(DllCanUnloadNow(), S_FALSE);
    shared.reset();
    EXPECT_EQ(DllCanUnloadNow(), S_OK) << "every object and factory reference was counted out again";
}

TEST_F(ServerFrame, RegistrationWritesTheClassAndTypeLibraryKeysAndNothingElse) {
    const std::string clsidKey = "CLSID\\" + kClsid;
    const std::set<std::string> classKeys = {
        clsidKey,
        clsidKey + "\\InprocServer32",
        clsidKey + "\\ProgID",
        clsidKey + "\\VersionIndependentProgID",
        "KestrumLib.Morvane.1",
        "KestrumLib.Morvane.1\\CLSID",
        "KestrumLib.Morvane",
        "KestrumLib.Morvane\\CLSID",
        "KestrumLib.Morvane\\CurVer",
        clsidKey + "\\Implemented Categories",
        clsidKey + "\\Implemented Categories\\{7DD95801-9882-11CF-9FA9-00AA006C42C4}",
    };
    const std::string lib = "TypeLib\\{A0851D91-48BC-468D-A783-3DE0ED081B41}\\1.0";
    const std::set<std::string> libraryKeys = {
        lib,
        lib + "\\FLAGS",
        lib + "\\HELPDIR",
        lib + "\\409\\win32",
        "Interface\\{6C2992A7-089E-4257-8832-29EBE503C1F9}",
        "Interface\\{6C2992A7-089E-4257-8832-29EBE503C1F9}\\TypeLib",
        "Interface\\{8446F672-84E7-422C-93CD-3B1E96E20E3C}",
        "Interface\\{8446F672-84E7-422C-93CD-3B1E96E20E3C}\\TypeLib",
    };
    std::set<std::string> expected = classKeys;
    expected.insert(libraryKeys.begin(), libraryKeys.end());
    EXPECT_EQ(registry.keys(), expected);

    EXPECT_EQ(comrt_test::queryDefault(clsidKey), "Morvane");
    EXPECT_EQ(comrt_test::queryDefault(clsidKey + "\\InprocServer32"), serverPath());
    EXPECT_EQ(comrt_test::queryDefault(lib + "\\409\\win32"), serverPath());
    EXPECT_EQ(comrt_test::queryDefault(clsidKey + "\\ProgID"), "KestrumLib.Morvane.1");
    EXPECT_EQ(comrt_test::queryDefault("KestrumLib.Morvane\\CurVer"), "KestrumLib.Morvane.1");
    EXPECT_EQ(registry.text().find("ThreadingModel"), std::string::npos);
    for (const char16_t* progId : {u"KestrumLib.Morvane", u"KestrumLib.Morvane.1"}) {
        CLSID clsid{};
        EXPECT_EQ(CLSIDFromProgID(progId, &clsid), S_OK);
        EXPECT_TRUE(clsid == CLSID_Morvane);
    }

    ASSERT_TRUE(comrt_test::setDefault("Other.Class\\CLSID", "{00000000-0000-0000-0000-000000000001}"));
    EXPECT_EQ(DllUnregisterServer(), S_OK);
    EXPECT_EQ(registry.keys(), std::set<std::string>{"Other.Class\\CLSID"}) << "the file stays, without them";
    EXPECT_EQ(DllUnregisterServer(), S_FALSE) << "nothing left to remove";
    EXPECT_EQ(DllRegisterServer(), S_OK) << "and it registers again";
    EXPECT_EQ(registry.keys().size(), expected.size() + 1);
}

TEST_F(ServerFrame, AFailedEntryUndoesTheEntriesWrittenBeforeIt) {
    ASSERT_EQ(DllUnregisterServer(), S_OK);
    ASSERT_TRUE(comrt_test::setDefault("Unrelated", "kept"));
    comrt::SetRegistryFault([](comrt::RegistryOperation op, std::string_view path) {
        return op == comrt::RegistryOperation::SetValue && path == "KestrumLib.Morvane\\CLSID" ? ERROR_ACCESS_DENIED
                                                                                             : ERROR_SUCCESS;
    });
    EXPECT_EQ(DllRegisterServer(), E_FAIL);
    comrt::SetRegistryFault({});
    EXPECT_EQ(registry.keys(), std::set<std::string>{"Unrelated"}) << "no class keys and no type library";
}

TEST_F(ServerFrame, ADamagedRegistryIsReportedAndLeftAlone) {
    const std::string damaged = "Windows Registry Editor Version 5.00\n[HKEY_CLASSES_ROOT\\X]\n@=broken\n";
    registry.write(damaged);
    EXPECT_EQ(DllRegisterServer(), E_FAIL);
    EXPECT_EQ(DllUnregisterServer(), S_FALSE);
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    void* out = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_Morvane, nullptr, comrt::kClassContextLocal, IID_IMorvane, &out), REGDB_E_READREGDB);
    CoUninitialize();
    EXPECT_EQ(registry.text(), damaged);
}

TEST_F(ServerFrame, CreationByProgramIdentifierGoesThroughTheRegistry) {
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(u"KestrumLib.Morvane", &clsid), S_OK);
    Ref<IMorvane> morvane;
    ASSERT_EQ(CoCreateInstance(clsid, nullptr, comrt::kClassContextLocal, IID_IMorvane, morvane.putVoid()), S_OK);
    EXPECT_EQ(morvane->Initialize(Bstr(u16(databasePath).c_str()).get()), S_OK);
    double add = -1;
    double multiplyBy = -1;
    EXPECT_EQ(morvane->UnitExpression_Convert(Bstr(u"km").get(), Bstr(u"m").get(), &add, &multiplyBy), S_OK);
    EXPECT_EQ(multiplyBy, 1000.0);
    EXPECT_EQ(add, 0.0);
    morvane.reset();
    CoUninitialize();
}

TEST(ServerVersion, IsOnePointZeroOneZero) {
    using GetVersion = HRESULT (*)(comrt::ModuleVersion*);
    auto query = reinterpret_cast<GetVersion>(dlsym(RTLD_DEFAULT, comrt::kModuleVersionSymbol));
    ASSERT_NE(query, nullptr);
    comrt::ModuleVersion version{};
    ASSERT_EQ(query(&version), S_OK);
    EXPECT_EQ(comrt::FormatModuleVersion(version), "1.01");
    EXPECT_EQ(version.build, 1);
}

}  // namespace
}  // namespace component_test
