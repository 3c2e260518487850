// The HKEY_CLASSES_ROOT registry file: format, key semantics, damage, atomic writes, locking.
#include "scoped_registry.h"

#include <comrt/faults.h>

#include <kestrum/files/env.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using comrt_test::queryDefault;
using comrt_test::ScopedRegistry;
using comrt_test::setDefault;

namespace {

LONG createKey(const char* path) {
    HKEY h = nullptr;
    const LONG rc = RegCreateKeyExA(HKEY_CLASSES_ROOT, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr);
    if (rc == ERROR_SUCCESS) RegCloseKey(h);
    return rc;
}

bool keyExists(const char* path) {
    HKEY h = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path, 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
    RegCloseKey(h);
    return true;
}

int filesIn(const std::string& dir) {
    int n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir)) ++n;
    return n;
}

TEST(RegistryFile, IsWrittenInTheExportFormatWithEscapes) {
    ScopedRegistry registry;
    ASSERT_TRUE(setDefault("CLSID\\{ABC}", "say \"hi\" C:\\dir"));
    HKEY h = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, "CLSID\\{ABC}", 0, KEY_ALL_ACCESS, &h), ERROR_SUCCESS);
    const char named[] = "1.0";
    ASSERT_EQ(RegSetValueExA(h, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(named), sizeof named),
              ERROR_SUCCESS);
    RegCloseKey(h);
    EXPECT_EQ(registry.text(),
              "Windows Registry Editor Version 5.00\n"
              "\n"
              "[HKEY_CLASSES_ROOT\\CLSID\\{ABC}]\n"
              "@=\"say \\\"hi\\\" C:\\\\dir\"\n"
              "\"Version\"=\"1.0\"\n");
    EXPECT_EQ(queryDefault("CLSID\\{ABC}"), "say \"hi\" C:\\dir");
}

TEST(RegistryFile, TextOutsideAsciiSurvives) {
    ScopedRegistry registry;
    ASSERT_TRUE(setDefault("Größe\\Maß", "µm ÷ °C"));
    EXPECT_EQ(queryDefault("größe\\maß"), "µm ÷ °C") << "ASCII letters fold, others compare exactly";
}

TEST(RegistryKeys, NamesIgnoreAsciiCaseAndKeepTheirSpelling) {
    ScopedRegistry registry;
    ASSERT_TRUE(setDefault("KestrumLib.Thing\\CLSID", "{1}"));
    EXPECT_EQ(queryDefault("kestrumlib.THING\\clsid"), "{1}");
    EXPECT_EQ(registry.keys(), std::set<std::string>{"KestrumLib.Thing\\CLSID"});
    ASSERT_TRUE(setDefault("KESTRUMLIB.THING\\CLSID", "{2}"));
    EXPECT_EQ(registry.keys(), std::set<std::string>{"KestrumLib.Thing\\CLSID"}) << "the first spelling stays";
}

TEST(RegistryKeys, ParentsExistWhileKeysBelowThemDo) {
    ScopedRegistry registry;
    ASSERT_EQ(createKey("A\\B\\C"), ERROR_SUCCESS);
    EXPECT_TRUE(keyExists("A"));
    EXPECT_TRUE(keyExists("A\\B"));
    EXPECT_EQ(RegDeleteKeyA(HKEY_CLASSES_ROOT, "A\\B"), ERROR_ACCESS_DENIED) << "C is still below B";
    EXPECT_EQ(RegDeleteKeyA(HKEY_CLASSES_ROOT, "A\\B\\C"), ERROR_SUCCESS);
    EXPECT_FALSE(keyExists("A")) << "A and B existed only for C";
    EXPECT_EQ(RegDeleteKeyA(HKEY_CLASSES_ROOT, "A\\B"), ERROR_FILE_NOT_FOUND);
    EXPECT_TRUE(registry.keys().empty());

    ASSERT_EQ(createKey("X\\Y"), ERROR_SUCCESS);
    ASSERT_EQ(createKey("X\\Y\\Z"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKeyA(HKEY_CLASSES_ROOT, "X\\Y\\Z"), ERROR_SUCCESS);
    EXPECT_TRUE(keyExists("X\\Y")) << "a created key stays when the keys below it go";
}

TEST(RegistryKeys, DeleteTreeRemovesOnlyItsOwnBranch) {
    ScopedRegistry registry;
    ASSERT_TRUE(setDefault("Lib\\1.0\\409\\win32", "/x"));
    ASSERT_TRUE(setDefault("Lib\\1.0\\FLAGS", "0"));
    ASSERT_TRUE(setDefault("Lib\\1.0!", "sibling whose name starts alike"));
    ASSERT_TRUE(setDefault("Lib\\1.00", "another"));
    EXPECT_EQ(RegDeleteTreeA(HKEY_CLASSES_ROOT, "Lib\\1.0"), ERROR_SUCCESS);
    EXPECT_EQ(registry.keys(), (std::set<std::string>{"Lib\\1.0!", "Lib\\1.00"}));
    EXPECT_EQ(RegDeleteTreeA(HKEY_CLASSES_ROOT, "Lib\\1.0"), ERROR_FILE_NOT_FOUND);
}

TEST(RegistryValues, QueryReportsTheSizeItNeeds) {
    ScopedRegistry registry;
    ASSERT_TRUE(setDefault("Key", "value"));
    HKEY h = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, "Key", 0, KEY_READ, &h), ERROR_SUCCESS);
    DWORD size = 0;
    DWORD type = REG_NONE;
    EXPECT_EQ(RegQueryValueExA(h, "", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 6u) << "five characters and the terminator";
    EXPECT_EQ(type, REG_SZ);
    char small[5];
    size = sizeof small;
    EXPECT_EQ(RegQueryValueExA(h, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(small), &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 6u);
    char exact[6];
    size = sizeof exact;
    EXPECT_EQ(RegQueryValueExA(h, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(exact), &size), ERROR_SUCCESS);
    EXPECT_STREQ(exact, "value");
    EXPECT_EQ(RegQueryValueExA(h, "Missing", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    RegCloseKey(h);
}

TEST(RegistryValues, OnlyTextWithoutLineBreaksIsStored) {
    ScopedRegistry registry;
    HKEY h = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, "Key", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr),
              ERROR_SUCCESS);
    const char broken[] = "two\nlines";
    EXPECT_EQ(RegSetValueExA(h, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(broken), sizeof broken),
              ERROR_INVALID_PARAMETER);
    const BYTE number[4] = {1, 0, 0, 0};
    EXPECT_EQ(RegSetValueExA(h, "n", 0, 4 /* REG_DWORD */, number, 4), ERROR_INVALID_PARAMETER);
    RegCloseKey(h);
    EXPECT_EQ(createKey("Bad\nName"), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(createKey("Double\\\\Separator"), ERROR_INVALID_PARAMETER);
}

TEST(RegistryFile, MissingOrEmptyIsAnEmptyRegistry) {
    ScopedRegistry registry;
    EXPECT_FALSE(keyExists("Anything"));
    EXPECT_EQ(comrt::VerifyRegistry(nullptr), ERROR_SUCCESS);
    registry.write("");
    EXPECT_FALSE(keyExists("Anything"));
    EXPECT_EQ(createKey("Anything"), ERROR_SUCCESS);
    EXPECT_TRUE(keyExists("Anything"));
}

TEST(RegistryFile, DamageIsReportedAndTheFileIsNeverRewritten) {
    struct Row {
        const char* label;
        const char* content;
        const char* where;
    } rows[] = {
        {"no header", "[HKEY_CLASSES_ROOT\\A]\n", "line 1"},
        {"value before any key", "REGEDIT4\n@=\"x\"\n", "line 2"},
        {"unterminated string", "REGEDIT4\n[HKEY_CLASSES_ROOT\\A]\n@=\"x\n", "line 3"},
        {"unknown escape", "REGEDIT4\n[HKEY_CLASSES_ROOT\\A]\n@=\"a\\nb\"\n", "line 3"},
        {"bad number value", "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\A]\n\"n\"=dword:1234567890\n", "line 4"},
        {"unknown value type", "REGEDIT4\n\n[HKEY_CLASSES_ROOT\\A]\n\"n\"=qword:1\n", "line 4"},
        {"hex running off the end", "REGEDIT4\n[HKEY_CLASSES_ROOT\\A]\n\"n\"=hex:01,\\\n", "line 3"},
        {"other hive", "REGEDIT4\n[HKEY_CURRENT_USER\\A]\n", "line 2"},
        {"key deletion", "REGEDIT4\n[-HKEY_CLASSES_ROOT\\A]\n", "line 2"},
        {"unterminated key", "REGEDIT4\n[HKEY_CLASSES_ROOT\\A\n", "line 2"},
        {"text after value", "REGEDIT4\n[HKEY_CLASSES_ROOT\\A]\n@=\"x\" y\n", "line 3"},
    };
    for (const Row& row : rows) {
        ScopedRegistry registry;
        registry.write(row.content);
        std::string problem;
        EXPECT_EQ(comrt::VerifyRegistry(&problem), ERROR_BADDB) << row.label;
        EXPECT_NE(problem.find(row.where), std::string::npos) << row.label << ": " << problem;
        EXPECT_FALSE(keyExists("A")) << row.label;
        EXPECT_EQ(createKey("B"), ERROR_BADDB) << row.label;
        EXPECT_EQ(RegDeleteTreeA(HKEY_CLASSES_ROOT, "A"), ERROR_BADDB) << row.label;
        EXPECT_EQ(registry.text(), row.content) << row.label;
    }
}

TEST(RegistryFile, CommentsBlankLinesAndTheOldHeaderAreRead) {
    ScopedRegistry registry;
    registry.write("\xEF\xBB\xBFREGEDIT4\r\n; a comment\r\n\r\n[HKEY_CLASSES_ROOT\\A]\r\n@ = \"x\"\r\n");
    EXPECT_EQ(queryDefault("A"), "x");
}

// Lines written by another program that the runtime does not read stay as they were, where
// they were, through every kind of change.
TEST(RegistryFile, LinesTheRuntimeDoesNotReadSurviveRewritesByteForByte) {
    ScopedRegistry registry;
    const std::string kept =
        "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
        "\r\n"
        "; settings of another program\r\n"
        "[HKEY_CLASSES_ROOT\\Other.Program]\r\n"
        "@=\"Other\"\r\n"
        "\"Count\"=dword:00000001\r\n"
        "\"Blob\"=hex:01,02,03,\\\r\n"
        "  04,05\r\n"
        "\"Path\"=hex(2):25,00,48,00,00,00\r\n"
        "; a comment among the values\r\n"
        "\"Name\"=\"kept\"\r\n"
        "\r\n"
        "[HKEY_CLASSES_ROOT\\Zebra]\r\n"
        "@=\"last in sort order, first key written below it\"\r\n";
    registry.write(kept);
    EXPECT_EQ(queryDefault("Other.Program"), "Other");
    EXPECT_EQ(queryDefault("Other.Program\\Count"), "<missing>");
    ASSERT_TRUE(setDefault("Sample.Thing\\CLSID", "{1}"));
    std::string expected = kept;
    expected.insert(expected.find("\r\n[HKEY_CLASSES_ROOT\\Zebra]"),
                    "\r\n[HKEY_CLASSES_ROOT\\Sample.Thing\\CLSID]\r\n@=\"{1}\"\r\n");
    EXPECT_EQ(registry.text(), expected) << "a new key goes in its place in sort order, in the file's line breaks";
    ASSERT_TRUE(setDefault("Other.Program", "changed"));
    const std::string text = registry.text();
    EXPECT_NE(text.find("@=\"changed\"\r\n\"Count\"=dword:00000001\r\n\"Blob\"=hex:01,02,03,\\\r\n  04,05\r\n"),
              std::string::npos)
        << text;
    EXPECT_EQ(RegDeleteTreeA(HKEY_CLASSES_ROOT, "Sample.Thing"), ERROR_SUCCESS);
    ASSERT_TRUE(setDefault("Other.Program", "Other"));
    EXPECT_EQ(registry.text(), kept) << "undoing every change gives back the file as it was";

    // A string set over a value of another type replaces it.
    HKEY h = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_CLASSES_ROOT, "Other.Program", 0, KEY_ALL_ACCESS, &h), ERROR_SUCCESS);
    const char count[] = "2";
    ASSERT_EQ(RegSetValueExA(h, "count", 0, REG_SZ, reinterpret_cast<const BYTE*>(count), sizeof count), ERROR_SUCCESS);
    RegCloseKey(h);
    EXPECT_NE(registry.text().find("\"Count\"=\"2\"\r\n\"Blob\""), std::string::npos) << registry.text();
}

TEST(RegistryFile, AFileWithoutAFinalLineBreakOrAHeaderStillTakesNewKeys) {
    ScopedRegistry registry;
    registry.write("REGEDIT4\n[HKEY_CLASSES_ROOT\\A]\n@=\"a\"");
    ASSERT_TRUE(setDefault("B", "b"));
    EXPECT_EQ(registry.text(), "REGEDIT4\n[HKEY_CLASSES_ROOT\\A]\n@=\"a\"\n\n[HKEY_CLASSES_ROOT\\B]\n@=\"b\"\n");
    registry.write("; only a comment\n");
    ASSERT_TRUE(setDefault("C", "c"));
    EXPECT_EQ(registry.text(),
              "Windows Registry Editor Version 5.00\n; only a comment\n\n[HKEY_CLASSES_ROOT\\C]\n@=\"c\"\n");
}

// The real file system, with the chosen step of a write failing and the reads counted.
class FailingEnv : public kestrum::files::Env {
public:
    enum class Step { None, Temporary, Write, Sync, Rename };
    explicit FailingEnv(Step step = Step::None) : m_step(step) { comrt::SetFileEnv(this); }
    ~FailingEnv() override { comrt::SetFileEnv(nullptr); }
    int createExclusive(const std::string& path, unsigned mode, int& fd) override {
        return m_step == Step::Temporary ? EACCES : Env::createExclusive(path, mode, fd);
    }
    int write(int fd, const char* data, std::size_t size, std::size_t& written) override {
        if (m_step != Step::Write) return Env::write(fd, data, size, written);
        Env::write(fd, data, size / 2, written);
        return ENOSPC;
    }
    int sync(int fd) override { return m_step == Step::Sync ? EIO : Env::sync(fd); }
    int rename(const std::string& from, const std::string& to) override {
        return m_step == Step::Rename ? EXDEV : Env::rename(from, to);
    }
    int readFile(const std::string& path, std::string& content) override {
        ++reads;
        return Env::readFile(path, content);
    }
    std::atomic<int> reads{0};

private:
    Step m_step;
};

TEST(RegistryFile, AFailedWriteKeepsTheOldFileLeavesNoTemporaryAndSaysWhy) {
    using Step = FailingEnv::Step;
    struct Row {
        Step step;
        const char* reason;
    } rows[] = {{Step::Temporary, "Permission denied"},
                {Step::Write, "No space left on device"},
                {Step::Sync, "Input/output error"},
                {Step::Rename, "Invalid cross-device link"}};
    for (const Row& row : rows) {
        ScopedRegistry registry;
        ASSERT_TRUE(setDefault("Old", "kept"));
        const std::string before = registry.text();
        const int files = filesIn(registry.dir());
        {
            FailingEnv failing(row.step);
            EXPECT_EQ(createKey("New"), ERROR_CANTWRITE) << row.reason;
            const std::string problem = comrt::RegistryWriteProblem();
            EXPECT_NE(problem.find(row.reason), std::string::npos) << problem;
            EXPECT_EQ(problem.find(row.step == Step::Temporary ? registry.dir() + ":" : registry.path() + ":"), 0u)
                << problem;
        }
        EXPECT_EQ(registry.text(), before) << row.reason;
        EXPECT_EQ(filesIn(registry.dir()), files) << "temporary file removed: " << row.reason;
        EXPECT_EQ(queryDefault("Old"), "kept");
        EXPECT_TRUE(setDefault("New", "written"));
        EXPECT_EQ(comrt::RegistryWriteProblem(), "") << "a write that succeeds clears the problem";
    }
}

TEST(RegistryFile, AFolderThatCannotBeCreatedIsNamed) {
    ScopedRegistry registry;
    std::ofstream(registry.dir() + "/plain") << "a file, not a folder";
    const std::string nested = registry.dir() + "/plain/kestrum/classes.reg";
    ::setenv("KESTRUM_REGISTRY", nested.c_str(), 1);
    EXPECT_EQ(createKey("Key"), ERROR_CANTWRITE);
    EXPECT_EQ(comrt::RegistryWriteProblem(), registry.dir() + "/plain: Not a directory");
    ::setenv("KESTRUM_REGISTRY", registry.path().c_str(), 1);
}

// Reading costs one look at the file's identity while it is unchanged: the parsed file is
// reused, and any change, by this runtime or by an editor writing in place, is seen at once.
TEST(RegistryFile, ReadsReuseTheParsedFileUntilItChanges) {
    ScopedRegistry registry;
    ASSERT_TRUE(setDefault("Key", "aaaa"));
    ::usleep(100000);  // older than the file times' granularity
    FailingEnv counting;
    EXPECT_EQ(queryDefault("Key"), "aaaa");
    const int afterFirst = counting.reads.load();
    for (int i = 0; i < 20; ++i) EXPECT_EQ(queryDefault("Key"), "aaaa");
    EXPECT_EQ(counting.reads.load(), afterFirst) << "unchanged file read again";

    std::string text = registry.text();
    text.replace(text.find("aaaa"), 4, "bbbb");
    {
        std::fstream inPlace(registry.path(), std::ios::in | std::ios::out | std::ios::binary);
        inPlace << text;  // same size, same inode
    }
    EXPECT_EQ(queryDefault("Key"), "bbbb") << "an edit in place within the same moment";
    ::usleep(100000);
    text.replace(text.find("bbbb"), 4, "cccc");
    {
        std::fstream inPlace(registry.path(), std::ios::in | std::ios::out | std::ios::binary);
        inPlace << text;
    }
    EXPECT_EQ(queryDefault("Key"), "cccc") << "an edit in place later";
    ASSERT_TRUE(setDefault("Key", "dddd"));
    EXPECT_EQ(queryDefault("Key"), "dddd");
    std::filesystem::remove(registry.path());
    EXPECT_EQ(queryDefault("Key"), "<missing>");
}

TEST(RegistryFile, PermissionsAndSymbolicLinksSurviveAWrite) {
    ScopedRegistry registry;
    const std::string real = registry.dir() + "/real.reg";
    std::filesystem::create_symlink(real, registry.path());
    ASSERT_TRUE(setDefault("First", "1"));
    ASSERT_EQ(::chmod(real.c_str(), 0600), 0);
    ASSERT_TRUE(setDefault("Second", "2"));
    EXPECT_TRUE(std::filesystem::is_symlink(registry.path())) << "the link is followed, not replaced";
    struct stat st {};
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    EXPECT_EQ(registry.keys(), (std::set<std::string>{"First", "Second"}));
}

// Two writers that reach one file by different names, one through a symbolic link and one by
// the real name, lock the same file and lose nothing.
TEST(RegistryFile, WritersThroughALinkAndTheRealNameLoseNothing) {
    ScopedRegistry registry;
    std::filesystem::create_directory(registry.dir() + "/real");
    const std::string real = registry.dir() + "/real/classes.reg";
    std::filesystem::create_symlink("real/classes.reg", registry.path());
    constexpr int kPerProcess = 200;
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = ::fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            ::setenv("KESTRUM_REGISTRY", c == 0 ? registry.path().c_str() : real.c_str(), 1);
            bool good = true;
            for (int i = 0; i < kPerProcess; ++i) {
                good = setDefault("P" + std::to_string(c) + "\\K" + std::to_string(i), "v") && good;
            }
            ::_exit(good ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(registry.keys().size(), 2u * kPerProcess);
    EXPECT_TRUE(std::filesystem::is_symlink(registry.path()));
    EXPECT_TRUE(std::filesystem::exists(real + ".lock")) << "the lock is beside the file written";
}

// A writer killed in the middle of writing leaves its temporary file; the next write removes it.
TEST(RegistryFile, WhatAKilledWriterLeftIsRemovedByTheNextWrite) {
    ScopedRegistry registry;
    ASSERT_TRUE(setDefault("Before", "1"));
    const pid_t writer = ::fork();
    ASSERT_GE(writer, 0);
    if (writer == 0) {
        class Stalling : public kestrum::files::Env {
            int write(int fd, const char* data, std::size_t size, std::size_t& written) override {
                Env::write(fd, data, size / 2, written);
                for (;;) ::pause();
            }
        } stalling;
        comrt::SetFileEnv(&stalling);
        setDefault("Never", "written");
        ::_exit(0);
    }
    bool started = false;
    for (int i = 0; i < 1000 && !started; ++i) {
        started = filesIn(registry.dir()) == 3;  // the file, its lock and the writer's temporary file
        if (!started) ::usleep(2000);
    }
    ASSERT_TRUE(started);
    ::kill(writer, SIGKILL);
    ASSERT_EQ(::waitpid(writer, nullptr, 0), writer);
    EXPECT_EQ(filesIn(registry.dir()), 3);
    ASSERT_TRUE(setDefault("After", "2"));
    EXPECT_EQ(filesIn(registry.dir()), 2) << "the file and its lock";
    EXPECT_EQ(registry.keys(), (std::set<std::string>{"After", "Before"}));
}

TEST(RegistryFile, ConcurrentWritersInTwoProcessesLoseNothing) {
    ScopedRegistry registry;
    constexpr int kPerProcess = 40;
    pid_t children[2];
    for (int c = 0; c < 2; ++c) {
        children[c] = ::fork();
        ASSERT_GE(children[c], 0);
        if (children[c] == 0) {
            bool good = true;
            for (int i = 0; i < kPerProcess; ++i) {
                const std::string key = "P" + std::to_string(c) + "\\K" + std::to_string(i);
                good = setDefault(key, "v") && good;
            }
            ::_exit(good ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(registry.keys().size(), 2u * kPerProcess);
    EXPECT_TRUE(std::filesystem::exists(registry.path() + ".lock")) << "the lock lives beside the file";
}

TEST(RegistryFile, LocationFollowsTheEnvironment) {
    ScopedRegistry registry;
    EXPECT_EQ(comrt::RegistryPath(), registry.path());
    ::unsetenv("KESTRUM_REGISTRY");
    const char* savedXdg = std::getenv("XDG_DATA_HOME");
    const std::string xdg = savedXdg != nullptr ? savedXdg : "";
    const std::string home = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
    ::setenv("XDG_DATA_HOME", "/data/home", 1);
    EXPECT_EQ(comrt::RegistryPath(), "/data/home/kestrum/classes.reg");
    ::setenv("XDG_DATA_HOME", "relative/ignored", 1);
    ::setenv("HOME", "/home/someone", 1);
    EXPECT_EQ(comrt::RegistryPath(), "/home/someone/.local/share/kestrum/classes.reg");
    ::unsetenv("XDG_DATA_HOME");
    EXPECT_EQ(comrt::RegistryPath(), "/home/someone/.local/share/kestrum/classes.reg");
    if (savedXdg != nullptr) ::setenv("XDG_DATA_HOME", xdg.c_str(), 1);
    ::setenv("HOME", home.c_str(), 1);
    ::setenv("KESTRUM_REGISTRY", registry.path().c_str(), 1);
}

TEST(RegistryFile, MissingDirectoriesAreCreated) {
    ScopedRegistry registry;
    const std::string nested = registry.dir() + "/a/b/classes.reg";
    ::setenv("KESTRUM_REGISTRY", nested.c_str(), 1);
    EXPECT_EQ(createKey("Key"), ERROR_SUCCESS);
    EXPECT_TRUE(std::filesystem::exists(nested));
    ::setenv("KESTRUM_REGISTRY", registry.path().c_str(), 1);
}

TEST(RegistryFaults, AnInjectedFailureIsReturnedAndChangesNothing) {
    ScopedRegistry registry;
    ASSERT_TRUE(setDefault("Keep", "1"));
    const std::string before = registry.text();
    comrt::SetRegistryFault([](comrt::RegistryOperation op, std::string_view path) {
        return op == comrt::RegistryOperation::SetValue && path == "Keep" ? ERROR_ACCESS_DENIED : ERROR_SUCCESS;
    });
    EXPECT_FALSE(setDefault("Keep", "2"));
    EXPECT_TRUE(setDefault("Other", "3"));
    comrt::SetRegistryFault({});
    EXPECT_EQ(queryDefault("Keep"), "1");
    EXPECT_EQ(queryDefault("Other"), "3");
}

}  // namespace
