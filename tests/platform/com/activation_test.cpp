// Apartments, finding and loading in-process servers, program identifiers, identifier text.
#include "calculator.h"
#include "scoped_registry.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

using comrt_test::Ref;
using comrt_test::ScopedRegistry;
using comrt_test::setDefault;
using comrt_test::wide;

namespace {

const std::string kClassKey = "CLSID\\{33AB4C05-C9F6-47CB-B148-1D4AE800DB5A}";

std::string comrtPath() {
    Dl_info info{};
    dladdr(reinterpret_cast<void*>(&SysAllocString), &info);
    return info.dli_fname;
}

class Activation : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(CoInitialize(nullptr), S_OK); }
    void TearDown() override { CoUninitialize(); }
    void registerServer(const std::string& path) { ASSERT_TRUE(setDefault(kClassKey + "\\InprocServer32", path)); }

    ScopedRegistry registry;
};

TEST_F(Activation, ARegisteredServerIsLoadedAndGivesWorkingObjects) {
    registerServer(COMRT_TEST_SERVER);
    Ref<ICalculator> calculator;
    ASSERT_EQ(CoCreateInstance(CLSID_Calculator, nullptr, CLSCTX_INPROC_SERVER, IID_ICalculator, calculator.putVoid()),
              S_OK);
    LONG sum = 0;
    EXPECT_EQ(calculator->Add(2, 3, &sum), S_OK);
    EXPECT_EQ(sum, 5);

    Ref<IClassFactory> first;
    Ref<IClassFactory> second;
    ASSERT_EQ(CoGetClassObject(CLSID_Calculator, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, first.putVoid()),
              S_OK);
    ASSERT_EQ(CoGetClassObject(CLSID_Calculator, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory, second.putVoid()),
              S_OK);
    EXPECT_EQ(first.get(), second.get()) << "the module is loaded once, so its one factory is handed out";
}

TEST_F(Activation, EveryContextWithAnInProcessKindIsServed) {
    registerServer(COMRT_TEST_SERVER);
    for (DWORD context : {1u, 2u, 4u, 3u, 5u, 7u, 0x17u}) {
        Ref<IUnknown> object;
        EXPECT_EQ(CoCreateInstance(CLSID_Calculator, nullptr, context, IID_IUnknown, object.putVoid()), S_OK)
            << context;
    }
    Ref<IUnknown> remote;
    EXPECT_EQ(CoCreateInstance(CLSID_Calculator, nullptr, CLSCTX_REMOTE_SERVER, IID_IUnknown, remote.putVoid()),
              REGDB_E_CLASSNOTREG);
}

TEST_F(Activation, FailuresAreReportedWithTheirOwnCodes) {
    struct Row {
        const char* label;
        std::string path;  // empty: nothing registered
        HRESULT expected;
    } rows[] = {
        {"not registered", "", REGDB_E_CLASSNOTREG},
        {"module missing", registry.dir() + "/missing.so", CO_E_DLLNOTFOUND},
        {"not a server", comrtPath(), CO_E_ERRORINDLL},
    };
    for (const Row& row : rows) {
        if (!row.path.empty()) registerServer(row.path);
        void* out = reinterpret_cast<void*>(1);
        EXPECT_EQ(CoCreateInstance(CLSID_Calculator, nullptr, 7, IID_IUnknown, &out), row.expected) << row.label;
        EXPECT_EQ(out, nullptr) << row.label;
    }
    void* out = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_Calculator, nullptr, 7, IID_IUnknown, nullptr), E_POINTER);
    registerServer(COMRT_TEST_SERVER);
    EXPECT_EQ(CoCreateInstance(CLSID_Calculator, nullptr, 7, IID_ITypeLib, &out), E_NOINTERFACE);
}

TEST_F(Activation, ADamagedRegistryIsAReadErrorAndStaysAsItWas) {
    const std::string damaged = "REGEDIT4\n[HKEY_CLASSES_ROOT\\" + kClassKey + "\\InprocServer32]\n@=\"x\n";
    registry.write(damaged);
    void* out = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_Calculator, nullptr, 7, IID_IUnknown, &out), REGDB_E_READREGDB);
    CLSID clsid{};
    EXPECT_EQ(CLSIDFromProgID(u"Calculator.Calculator", &clsid), REGDB_E_READREGDB);
    EXPECT_EQ(registry.text(), damaged);
}

TEST(Apartment, CreationNeedsAnInitialisedThread) {
    ScopedRegistry registry;
    EXPECT_EQ(CoInitialize(nullptr), S_OK);
    EXPECT_EQ(CoInitialize(nullptr), S_FALSE);
    CoUninitialize();
    CoUninitialize();
    void* out = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_Calculator, nullptr, 7, IID_IUnknown, &out), CO_E_NOTINITIALIZED);
    EXPECT_EQ(CoInitialize(reinterpret_cast<void*>(1)), E_INVALIDARG);
}

TEST(ProgramIdentifiers, LeadToTheClassDirectlyOrThroughTheCurrentVersion) {
    ScopedRegistry registry;
    const std::string clsid = "{33AB4C05-C9F6-47CB-B148-1D4AE800DB5A}";
    ASSERT_TRUE(setDefault("Calc.Calculator.1\\CLSID", clsid));
    ASSERT_TRUE(setDefault("Calc.Calculator\\CurVer", "Calc.Calculator.1"));
    ASSERT_TRUE(setDefault("Calc.Broken\\CLSID", "not a guid"));
    CLSID found{};
    EXPECT_EQ(CLSIDFromProgID(u"Calc.Calculator.1", &found), S_OK);
    EXPECT_TRUE(found == CLSID_Calculator);
    found = CLSID_NULL;
    EXPECT_EQ(CLSIDFromProgID(u"calc.calculator", &found), S_OK) << "through CurVer, any case";
    EXPECT_TRUE(found == CLSID_Calculator);
    EXPECT_EQ(CLSIDFromProgID(u"Calc.Unknown", &found), CO_E_CLASSSTRING);
    EXPECT_EQ(CLSIDFromProgID(u"Calc.Broken", &found), CO_E_CLASSSTRING);
    EXPECT_EQ(CLSIDFromProgID(u"Calc.Calculator.1\\CLSID", &found), CO_E_CLASSSTRING);
}

TEST(GuidText, IsBracedUpperCaseAndReadsBackInEitherCase) {
    OLECHAR text[CHARS_IN_GUID];
    EXPECT_EQ(StringFromGUID2(CLSID_Calculator, text, CHARS_IN_GUID - 1), 0) << "one character short";
    ASSERT_EQ(StringFromGUID2(CLSID_Calculator, text, CHARS_IN_GUID), CHARS_IN_GUID);
    EXPECT_EQ(std::u16string(text), u"{33AB4C05-C9F6-47CB-B148-1D4AE800DB5A}");
    CLSID back{};
    ASSERT_EQ(CLSIDFromString(u"{33ab4c05-c9f6-47cb-b148-1d4ae800db5a}", &back), S_OK);
    EXPECT_TRUE(back == CLSID_Calculator);
    for (const char* bad : {"33AB4C05-C9F6-47CB-B148-1D4AE800DB5A", "{33AB4C05-C9F6-47CB-B148-1D4AE800DB5G}",
                            "{33AB4C05C-9F6-47CB-B148-1D4AE800DB5A}", "{33AB4C05-C9F6-47CB-B148-1D4AE800DB5A}x", ""}) {
        EXPECT_EQ(CLSIDFromString(wide(bad).c_str(), &back), CO_E_CLASSSTRING) << bad;
    }
}

}  // namespace
