// A client as the programs are: it knows only the client header and the runtime, registers
// the server with kestrum-regsvr, and creates the engine by program identifier.
#include "scoped_registry.h"

#include <kestrum/KestrumLib.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using comrt_test::Bstr;
using comrt_test::Ref;
using comrt_test::ScopedRegistry;

struct Outcome {
    int status;
    std::string output;
};

// Runs kestrum-regsvr with the given arguments (2>&1) in the test's own registry, after
// prefix (a command that runs it as another user) if one is given.
Outcome regsvr(const std::string& arguments, const std::string& prefix = "") {
    const std::string command = prefix + KESTRUM_REGSVR + " " + arguments + " 2>&1";
    Outcome run{-1, {}};
    FILE* pipe = popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    std::array<char, 512> buffer{};
    while (fgets(buffer.data(), static_cast<int>(buffer.size()), pipe) != nullptr) run.output += buffer.data();
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

TEST(Client, CreatesTheEngineByProgramIdentifierAndConvertsWithTheShippedDatabase) {
    ScopedRegistry registry;
    const Outcome registered = regsvr(KESTRUM_SERVER);
    ASSERT_EQ(registered.status, 0) << registered.output;
    EXPECT_NE(registered.output.find("Registered"), std::string::npos);

    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    CLSID clsid{};
    ASSERT_EQ(CLSIDFromProgID(u"KestrumLib.Morvane", &clsid), S_OK);
    {
        Ref<IMorvane> engine;
        ASSERT_EQ(CoCreateInstance(clsid, nullptr, comrt::kClassContextLocal, IID_IMorvane, engine.putVoid()), S_OK);
        Ref<IUnitDatabase> database;
        ASSERT_EQ(engine->QueryInterface(IID_IUnitDatabase, database.putVoid()), S_OK);
        const std::u16string shipped = comrt::ToUtf16(KESTRUM_SOURCE_DIR "/data/Unit_Database.xml");
        ASSERT_EQ(engine->Initialize(Bstr(shipped.c_str()).get()), S_OK);

        double add = -1;
        double multiplyBy = -1;
        ASSERT_EQ(engine->UnitExpression_Convert(Bstr(u"km/h").get(), Bstr(u"m/s").get(), &add, &multiplyBy), S_OK);
        EXPECT_DOUBLE_EQ(multiplyBy, 1 / 3.6);
        EXPECT_EQ(add, 0.0);
        ASSERT_EQ(engine->UnitExpression_Convert(Bstr(u"degC").get(), Bstr(u"degF").get(), &add, &multiplyBy), S_OK);
        EXPECT_NEAR(100 * multiplyBy + add, 212.0, 1e-9);
        ASSERT_EQ(engine->QuantityExpression_Convert(Bstr(u"SI").get(), Bstr(u"English").get(), Bstr(u"Length").get(),
                                                     &add, &multiplyBy),
                  S_OK);
        EXPECT_NEAR(multiplyBy, 1 / 0.3048, 1e-12);
        SAFEARRAY* systems = nullptr;
        ASSERT_EQ(database->UnitSystem_Set(&systems), S_OK);
        LONG upper = -1;
        SafeArrayGetUBound(systems, 1, &upper);
        EXPECT_GE(upper, 1) << "at least English and SI";
        SafeArrayDestroy(systems);
    }
    CoUninitialize();

    const Outcome unregistered = regsvr(std::string("-u ") + KESTRUM_SERVER);
    EXPECT_EQ(unregistered.status, 0) << unregistered.output;
    EXPECT_EQ(registry.keys().size(), 0u);
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    CLSID gone{};
    EXPECT_EQ(CLSIDFromProgID(u"KestrumLib.Morvane", &gone), CO_E_CLASSSTRING);
    CoUninitialize();
}

TEST(Regsvr, ShowsTheServersVersion) {
    const Outcome run = regsvr(std::string("--version ") + KESTRUM_SERVER);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, "1.01\n");
}

TEST(Regsvr, ReportsFailuresWithTheirCodeAndMeaning) {
    ScopedRegistry registry;
    struct Row {
        const char* label;
        std::string arguments;
        int status;
        const char* says;
    } rows[] = {
        {"no module", "", 2, "usage:"},
        {"unknown option", "--frobnicate x", 2, "unknown option"},
        {"missing module", registry.dir() + "/none.so", 2, "cannot load"},
        {"not a server", KESTRUM_RUNTIME, 2, "has no entry point DllRegisterServer"},
        {"nothing to unregister", std::string("-u ") + KESTRUM_SERVER, 1,
         "0x00000001 (some entries were missing or could not be removed)"},
    };
    for (const Row& row : rows) {
        const Outcome run = regsvr(row.arguments);
        EXPECT_EQ(run.status, row.status) << row.label << ": " << run.output;
        EXPECT_NE(run.output.find(row.says), std::string::npos) << row.label << ": " << run.output;
    }

    registry.write("not a registry\n");
    const Outcome damaged = regsvr(KESTRUM_SERVER);
    EXPECT_EQ(damaged.status, 1);
    EXPECT_NE(damaged.output.find("0x80004005 (Unspecified error)"), std::string::npos) << damaged.output;
    EXPECT_NE(damaged.output.find("damaged"), std::string::npos) << damaged.output;
    EXPECT_NE(damaged.output.find("line 1"), std::string::npos) << damaged.output;
    EXPECT_EQ(registry.text(), "not a registry\n");
}

// File names are bytes: a server installed in a folder whose name is not UTF-8 is registered
// by those bytes, and every creation afterwards finds and loads it.
TEST(Client, CreatesAServerInstalledInAFolderWhoseNameIsNotUtf8) {
    ScopedRegistry registry;
    const std::string folder = registry.dir() + "/caf\xE9 \xFF";
    std::filesystem::create_directory(folder);
    const std::string copy = folder + "/libkestrum.so";
    std::filesystem::copy_file(KESTRUM_SERVER, copy);
    const Outcome registered = regsvr("'" + copy + "'");
    ASSERT_EQ(registered.status, 0) << registered.output;
    EXPECT_EQ(comrt_test::queryDefault("CLSID\\{B509086A-A4D8-4933-B2E6-935009EA2EF7}\\InprocServer32"), copy);

    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    {
        Ref<IMorvane> engine;
        ASSERT_EQ(CoCreateInstance(CLSID_Morvane, nullptr, comrt::kClassContextLocal, IID_IMorvane, engine.putVoid()), S_OK)
            << "class and type library both registered";
        Ref<IUnitDatabase> database;
        EXPECT_EQ(engine->QueryInterface(IID_IUnitDatabase, database.putVoid()), S_OK);
    }
    CoUninitialize();
    const Outcome unregistered = regsvr("-u '" + copy + "'");
    EXPECT_EQ(unregistered.status, 0) << unregistered.output;
    EXPECT_TRUE(registry.keys().empty());
}

// Registration leaves what another program wrote in the registry (values of other types,
// comments) as it was, and unregistration gives back the file byte for byte.
TEST(Client, RegistersBesideAnotherProgramsValuesAndComments) {
    ScopedRegistry registry;
    const std::string other =
        "Windows Registry Editor Version 5.00\n"
        "\n"
        "; written by another program\n"
        "[HKEY_CLASSES_ROOT\\Other.Program]\n"
        "@=\"Other\"\n"
        "\"Count\"=dword:00000001\n"
        "\"Data\"=hex:de,ad,\\\n"
        "  be,ef\n";
    registry.write(other);
    const Outcome registered = regsvr(KESTRUM_SERVER);
    ASSERT_EQ(registered.status, 0) << registered.output;
    ASSERT_EQ(CoInitialize(nullptr), S_OK);
    {
        Ref<IMorvane> engine;
        EXPECT_EQ(CoCreateInstance(CLSID_Morvane, nullptr, comrt::kClassContextLocal, IID_IMorvane, engine.putVoid()), S_OK);
    }
    CoUninitialize();
    EXPECT_NE(registry.text().find(other.substr(other.find("; written"))), std::string::npos);
    const Outcome unregistered = regsvr(std::string("-u ") + KESTRUM_SERVER);
    EXPECT_EQ(unregistered.status, 0) << unregistered.output;
    EXPECT_EQ(registry.text(), other);
}

// A registry that cannot be written is reported with the file or folder and the reason, for
// registration and unregistration alike.
TEST(Regsvr, NamesTheFileOrFolderItCannotWriteAndWhy) {
    ScopedRegistry registry;
    std::ofstream(registry.dir() + "/plain") << "a file where a folder should be";
    const std::string unreachable = registry.dir() + "/plain/kestrum/classes.reg";
    ::setenv("KESTRUM_REGISTRY", unreachable.c_str(), 1);
    const Outcome registering = regsvr(KESTRUM_SERVER);
    const Outcome unregistering = regsvr(std::string("-u ") + KESTRUM_SERVER);
    ::setenv("KESTRUM_REGISTRY", registry.path().c_str(), 1);
    const std::string says = "cannot write " + registry.dir() + "/plain: Not a directory";
    EXPECT_EQ(registering.status, 1);
    EXPECT_NE(registering.output.find(says), std::string::npos) << registering.output;
    EXPECT_EQ(unregistering.status, 1);
    EXPECT_NE(unregistering.output.find(says), std::string::npos) << unregistering.output;
    EXPECT_EQ(unregistering.output.find("some entries were missing"), std::string::npos) << unregistering.output;

    // A registry file that its user may not write, in a folder the user may. Root writes any
    // file, so as root the tool runs as another user.
    registry.write("Windows Registry Editor Version 5.00\n");
    ::chmod(registry.dir().c_str(), 0777);
    ::chmod(registry.path().c_str(), 0444);
    const std::string asUser = ::geteuid() == 0 ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
    const std::string reachable = asUser + "test -r " KESTRUM_SERVER " -a -x " KESTRUM_REGSVR;
    if (!asUser.empty() && std::system(reachable.c_str()) != 0) {
        GTEST_SKIP() << "the build tree is out of reach of the unprivileged user";
    }
    const Outcome readOnly = regsvr(KESTRUM_SERVER, asUser);
    EXPECT_EQ(readOnly.status, 1);
    EXPECT_NE(readOnly.output.find("cannot write " + registry.path() + ": Permission denied"), std::string::npos)
        << readOnly.output;
}

}  // namespace
