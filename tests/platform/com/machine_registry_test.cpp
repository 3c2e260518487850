// The machine-wide registry an installation writes: read under the user's, never written, and
// found beside the runtime's library.
#include "calculator.h"
#include "scoped_registry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>

#include <stdlib.h>

using comrt_test::queryDefault;
using comrt_test::Ref;
using comrt_test::ScopedRegistry;
using comrt_test::setDefault;

namespace {

const std::string kClassKey = "CLSID\\{33AB4C05-C9F6-47CB-B148-1D4AE800DB5A}";

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A user's registry (ScopedRegistry) and a machine-wide one beside it, each a file of the test's own.
class MachineRegistry : public ::testing::Test {
protected:
    void SetUp() override {
        machinePath = user.dir() + "/machine.reg";
        if (const char* old = std::getenv("KESTRUM_MACHINE_REGISTRY")) previous = old;
        ::setenv("KESTRUM_MACHINE_REGISTRY", machinePath.c_str(), 1);
        ASSERT_EQ(CoInitialize(nullptr), S_OK);
    }
    void TearDown() override {
        CoUninitialize();
        if (previous) {
            ::setenv("KESTRUM_MACHINE_REGISTRY", previous->c_str(), 1);
        } else {
            ::unsetenv("KESTRUM_MACHINE_REGISTRY");
        }
    }

    // Writes the machine-wide file as an installation does: through the registry calls, with the
    // user's registry pointed at it for the while.
    void writeMachine(const std::function<void()>& entries) {
        ::setenv("KESTRUM_REGISTRY", machinePath.c_str(), 1);
        ::setenv("KESTRUM_MACHINE_REGISTRY", (user.dir() + "/none.reg").c_str(), 1);
        entries();
        ::setenv("KESTRUM_REGISTRY", user.path().c_str(), 1);
        ::setenv("KESTRUM_MACHINE_REGISTRY", machinePath.c_str(), 1);
    }

    static std::string queryNamed(const std::string& key, const char* name) {
        return comrt_test::queryValue(key, name, "<no key>");
    }

    ScopedRegistry user;
    std::string machinePath;
    std::optional<std::string> previous;
};

TEST_F(MachineRegistry, AServerRegisteredForEveryUserIsCreatedWithNothingInTheUsersFile) {
    writeMachine([] { ASSERT_TRUE(setDefault(kClassKey + "\\InprocServer32", COMRT_TEST_SERVER)); });
    Ref<ICalculator> calculator;
    ASSERT_EQ(CoCreateInstance(CLSID_Calculator, nullptr, CLSCTX_INPROC_SERVER, IID_ICalculator, calculator.putVoid()),
              S_OK);
    LONG sum = 0;
    EXPECT_EQ(calculator->Add(2, 3, &sum), S_OK);
    EXPECT_EQ(sum, 5);
    EXPECT_FALSE(std::filesystem::exists(user.path())) << "reading never creates the user's file";
}

TEST_F(MachineRegistry, AKeyInTheUsersFileHidesTheMachinesValuesOfThatKeyOnly) {
    writeMachine([] {
        ASSERT_TRUE(setDefault(kClassKey + "\\InprocServer32", "/machine/server.so"));
        HKEY h = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, (kClassKey + "\\InprocServer32").c_str(), 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &h, nullptr),
                  ERROR_SUCCESS);
        const char model[] = "Both";
        ASSERT_EQ(RegSetValueExA(h, "ThreadingModel", 0, REG_SZ, reinterpret_cast<const BYTE*>(model), sizeof model),
                  ERROR_SUCCESS);
        RegCloseKey(h);
        ASSERT_TRUE(setDefault(kClassKey + "\\ProgID", "Machine.Calculator.1"));
        ASSERT_TRUE(setDefault("Machine.Only", "kept"));
    });
    ASSERT_TRUE(setDefault(kClassKey + "\\InprocServer32", "/user/server.so"));

    EXPECT_EQ(queryDefault(kClassKey + "\\InprocServer32"), "/user/server.so");
    EXPECT_EQ(queryNamed(kClassKey + "\\InprocServer32", "ThreadingModel"), "<missing>")
        << "the user's key replaces the machine's key whole";
    EXPECT_EQ(queryDefault(kClassKey + "\\ProgID"), "Machine.Calculator.1");
    EXPECT_EQ(queryDefault("machine.only"), "kept") << "keys match without regard to case across both files";

    // Creation follows the user's entry: a server that does not exist.
    Ref<IUnknown> object;
    EXPECT_NE(CoCreateInstance(CLSID_Calculator, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.putVoid()), S_OK);
}

TEST_F(MachineRegistry, ChangesGoToTheUsersFileAndLeaveTheMachinesAsItWas) {
    writeMachine([] { ASSERT_TRUE(setDefault("Machine.Class\\CLSID", "{machine}")); });
    const std::string before = fileText(machinePath);

    ASSERT_TRUE(setDefault("User.Class\\CLSID", "{user}"));
    ASSERT_TRUE(setDefault("Machine.Class\\CLSID", "{user's own}"));
    EXPECT_EQ(queryDefault("Machine.Class\\CLSID"), "{user's own}");
    EXPECT_EQ(RegDeleteTreeA(HKEY_CLASSES_ROOT, "Machine.Class"), ERROR_SUCCESS);
    EXPECT_EQ(queryDefault("Machine.Class\\CLSID"), "{machine}") << "deleting the user's key uncovers the machine's";
    EXPECT_EQ(RegDeleteTreeA(HKEY_CLASSES_ROOT, "Machine.Class"), ERROR_FILE_NOT_FOUND)
        << "the machine's keys cannot be deleted through the user's registry";

    EXPECT_EQ(fileText(machinePath), before);
    EXPECT_EQ(queryDefault("User.Class\\CLSID"), "{user}");
    EXPECT_EQ(user.keys().count("Machine.Class\\CLSID"), 0u);
}

TEST_F(MachineRegistry, ANewVersionOfEitherFileIsSeenByTheNextRead) {
    writeMachine([] { ASSERT_TRUE(setDefault("Shared.Class\\CLSID", "{machine 1}")); });
    EXPECT_EQ(queryDefault("Shared.Class\\CLSID"), "{machine 1}");
    EXPECT_EQ(queryDefault("Shared.Class\\CLSID"), "{machine 1}") << "a second read, from what was kept";

    // An upgrade rewrites the machine's file while the process runs.
    writeMachine([] { ASSERT_TRUE(setDefault("Shared.Class\\CLSID", "{machine 2}")); });
    EXPECT_EQ(queryDefault("Shared.Class\\CLSID"), "{machine 2}");

    ASSERT_TRUE(setDefault("Shared.Class\\CLSID", "{user}"));
    EXPECT_EQ(queryDefault("Shared.Class\\CLSID"), "{user}");
    ASSERT_EQ(RegDeleteTreeA(HKEY_CLASSES_ROOT, "Shared.Class"), ERROR_SUCCESS);
    EXPECT_EQ(queryDefault("Shared.Class\\CLSID"), "{machine 2}");

    // The machine's file removed (the package purged): only the user's keys are left.
    std::filesystem::remove(machinePath);
    EXPECT_EQ(queryDefault("Shared.Class\\CLSID"), "<missing>");
}

TEST_F(MachineRegistry, ADamagedMachineFileIsReportedByItsNameAndNeverRewritten) {
    std::ofstream(machinePath, std::ios::binary) << "Windows Registry Editor Version 5.00\n\n[HKEY_CLASSES_ROOT\\Broken\n";
    const std::string before = fileText(machinePath);

    std::string problem;
    EXPECT_EQ(comrt::VerifyRegistry(&problem), ERROR_BADDB);
    EXPECT_EQ(problem.rfind(machinePath + ": ", 0), 0u) << problem;
    EXPECT_EQ(queryDefault("Anything"), "<missing>");
    Ref<IUnknown> object;
    EXPECT_EQ(CoCreateInstance(CLSID_Calculator, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, object.putVoid()),
              REGDB_E_READREGDB);

    ASSERT_TRUE(setDefault("User.Class\\CLSID", "{user}")) << "the user's own file can still be written";
    EXPECT_EQ(fileText(machinePath), before);
}

TEST_F(MachineRegistry, AMissingMachineFileIsAnEmptyRegistry) {
    EXPECT_EQ(comrt::VerifyRegistry(nullptr), ERROR_SUCCESS);
    ASSERT_TRUE(setDefault("User.Class\\CLSID", "{user}"));
    EXPECT_EQ(queryDefault("User.Class\\CLSID"), "{user}");
    EXPECT_FALSE(std::filesystem::exists(machinePath));
}

TEST(MachineRegistryPath, IsTheVariableWhenSetElseKestrumClassesRegBesideTheRuntimeLibrary) {
    const char* old = std::getenv("KESTRUM_MACHINE_REGISTRY");
    const std::optional<std::string> previous = old ? std::optional<std::string>(old) : std::nullopt;

    ::setenv("KESTRUM_MACHINE_REGISTRY", "/etc/somewhere/classes.reg", 1);
    EXPECT_EQ(comrt::MachineRegistryPath(), "/etc/somewhere/classes.reg");

    ::unsetenv("KESTRUM_MACHINE_REGISTRY");
    const std::string libraries = std::filesystem::canonical(KESTRUM_BINARY_DIR "/lib").string();
    EXPECT_EQ(comrt::MachineRegistryPath(), libraries + "/kestrum/classes.reg");

    if (previous) ::setenv("KESTRUM_MACHINE_REGISTRY", previous->c_str(), 1);
}

}  // namespace
