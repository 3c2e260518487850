// The library as a host sees it: its exported names, its start-up trace and its own templates.
#include <kestrum/editctl/dimsafe_edit.h>
#include <kestrum/editctl/unit_system_list_dlg.h>

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <string>

#include <dlfcn.h>
#include <sys/wait.h>

TEST(Library, ExportsDdxUconvUnderItsPlainName) {
    void* self = ::dlopen(nullptr, RTLD_NOW);
    ASSERT_NE(self, nullptr);
    void* plain = ::dlsym(self, "DDX_UCONV");
    EXPECT_NE(plain, nullptr);
    EXPECT_EQ(plain, reinterpret_cast<void*>(&DDX_UCONV));
    EXPECT_EQ(::dlsym(self, "_Z9DDX_UCONVP13CDataExchangeiR12CDimsafeEdit"), nullptr) << "no decorated name";
    ::dlclose(self);
}

TEST(Library, TracesItsLoadAndUnloadOnStandardError) {
    const std::string command = std::string(EDITCTL_LOAD_PROBE) + " 2>&1 >/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string output;
    std::array<char, 256> buffer{};
    while (std::fgets(buffer.data(), int(buffer.size()), pipe)) output += buffer.data();
    const int status = ::pclose(pipe);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_EQ(output, "DIMSAFEEDITCTL.DLL Initializing!\nDIMSAFEEDITCTL.DLL Terminating!\n");
}

TEST(Library, UnitSystemTemplateGeometryInDialogUnits) {
    // 142 x 92 dialog units at the template font's 6 x 13 base units.
    CUnitSystemListDlg dialog;
    ASSERT_TRUE(dialog.Create());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Unit Systems"));
    EXPECT_EQ(dialog.size(), QSize(213, 150));
    EXPECT_EQ(dialog.GetDlgItem(7545)->geometry(), QRect(11, 24, 107, 114));
    EXPECT_EQ(dialog.GetDlgItem(IDOK)->geometry(), QRect(128, 11, 75, 23));
    EXPECT_EQ(dialog.GetDlgItem(IDCANCEL)->geometry(), QRect(128, 39, 75, 23));
}
