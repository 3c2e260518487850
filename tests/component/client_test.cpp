// A client as the programs are: it knows only the client header and the runtime, registers
// the server with kestrum-regsvr, and creates the engine by program identifier.
#include "scoped_registry.h"

#include <kestrum/KestrumLib.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <fstream>
#include <string>

#include <sys/wait.h>

namespace {

using comrt_test::Bstr;
using comrt_test::Ref;
using comrt_test::ScopedRegistry;

struct Outcome {
    int status;
    std::string output;
};

// Runs kestrum-regsvr with the given arguments (2>&1) in the test's own registry.
Outcome regsvr(const std::string& arguments) {
    const std::string command = std::string(KESTRUM_REGSVR) + " " + arguments + " 2>&1";
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
        ASSERT_EQ(CoCreateInstance(clsid, nullptr, 7, IID_IMorvane, engine.putVoid()), S_OK);
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

}  // namespace
