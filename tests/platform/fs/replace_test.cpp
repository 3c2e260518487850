// Replacing a file: the steps in their order, every failing step keeping the old file, links,
// modes, and the leftovers of writers that died.
#include <kestrum/files/replace.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using kestrum::files::Env;
using kestrum::files::FileError;
using kestrum::files::ReplaceFile;

class Folder {
public:
    Folder() {
        std::string pattern = (fs::temp_directory_path() / "kestrum-files-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data());
    }
    ~Folder() {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    std::string file(const std::string& name) const { return m_path + "/" + name; }
    const std::string& path() const { return m_path; }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& entry : fs::directory_iterator(m_path)) out.push_back(entry.path().filename().string());
        std::sort(out.begin(), out.end());
        return out;
    }

private:
    std::string m_path;
};

std::string readAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeAll(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

mode_t modeOf(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

// The real file system, with a record of the steps taken and the chosen one failing.
class ScriptedEnv : public Env {
public:
    enum Step { None, Create, Write, Sync, Close, Rename, SyncFolder };
    explicit ScriptedEnv(Step failing = None, int error = EIO) : m_failing(failing), m_error(error) {}

    int createExclusive(const std::string& path, unsigned mode, int& fd) override {
        steps.push_back("create");
        return m_failing == Create ? m_error : Env::createExclusive(path, mode, fd);
    }
    int changeMode(int fd, unsigned mode) override {
        steps.push_back("mode");
        return Env::changeMode(fd, mode);
    }
    int write(int fd, const char* data, std::size_t size, std::size_t& written) override {
        steps.push_back("write");
        if (m_failing != Write) return Env::write(fd, data, std::min<std::size_t>(size, 5), written);
        Env::write(fd, data, size / 2, written);  // part of it reaches the disk first
        return m_error;
    }
    int sync(int fd) override {
        steps.push_back("sync");
        return m_failing == Sync ? m_error : Env::sync(fd);
    }
    int close(int fd) override {
        const int error = Env::close(fd);
        steps.push_back("close");
        return m_failing == Close ? m_error : error;
    }
    int rename(const std::string& from, const std::string& to) override {
        steps.push_back("rename");
        return m_failing == Rename ? m_error : Env::rename(from, to);
    }
    int syncDirectory(const std::string& path) override {
        steps.push_back("sync folder");
        return m_failing == SyncFolder ? m_error : Env::syncDirectory(path);
    }

    std::vector<std::string> steps;

private:
    Step m_failing;
    int m_error;
};

// The steps of one replacement with repeated writes folded into one.
std::vector<std::string> folded(const std::vector<std::string>& steps) {
    std::vector<std::string> out;
    for (const auto& s : steps) {
        if (out.empty() || out.back() != s) out.push_back(s);
    }
    return out;
}

TEST(ReplaceFile, WritesSyncsRenamesAndThenSyncsTheFolder) {
    Folder dir;
    ScriptedEnv env;
    ASSERT_TRUE(ReplaceFile(dir.file("new.txt"), "twelve bytes", env).ok());
    EXPECT_EQ(folded(env.steps),
              (std::vector<std::string>{"create", "write", "sync", "close", "rename", "sync folder"}))
        << "a new file keeps the mode it was created with";
    EXPECT_EQ(readAll(dir.file("new.txt")), "twelve bytes");

    env.steps.clear();
    ASSERT_TRUE(ReplaceFile(dir.file("new.txt"), "second", env).ok());
    EXPECT_EQ(folded(env.steps),
              (std::vector<std::string>{"create", "mode", "write", "sync", "close", "rename", "sync folder"}));
    EXPECT_EQ(readAll(dir.file("new.txt")), "second");
    EXPECT_EQ(dir.names(), std::vector<std::string>{"new.txt"});
}

TEST(ReplaceFile, AFailingStepKeepsTheOldFileAndSaysWhere) {
    struct Row {
        ScriptedEnv::Step step;
        int error;
        const char* where;  // "file" or "folder"
    } rows[] = {
        {ScriptedEnv::Create, EACCES, "folder"}, {ScriptedEnv::Write, ENOSPC, "file"}, {ScriptedEnv::Sync, EIO, "file"},
        {ScriptedEnv::Close, EIO, "file"},       {ScriptedEnv::Rename, EXDEV, "file"},
    };
    for (const Row& row : rows) {
        Folder dir;
        const std::string path = dir.file("data.txt");
        writeAll(path, "old content");
        ScriptedEnv env(row.step, row.error);
        const FileError error = ReplaceFile(path, "new content that is longer", env);
        EXPECT_EQ(error.code, row.error) << row.step;
        EXPECT_EQ(error.path, std::string(row.where) == "file" ? path : dir.path()) << row.step;
        EXPECT_EQ(readAll(path), "old content") << row.step;
        EXPECT_EQ(dir.names(), std::vector<std::string>{"data.txt"}) << "no temporary file stays, step " << row.step;
    }
    // After the rename the new content is in place; a folder that cannot be synced is still
    // reported, unless the file system has no such thing (EINVAL).
    Folder dir;
    ScriptedEnv failingFolder(ScriptedEnv::SyncFolder, EIO);
    EXPECT_EQ(ReplaceFile(dir.file("a.txt"), "a", failingFolder).code, EIO);
    ScriptedEnv noFolderSync(ScriptedEnv::SyncFolder, EINVAL);
    EXPECT_TRUE(ReplaceFile(dir.file("b.txt"), "b", noFolderSync).ok());
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"a.txt", "b.txt"}));
}

TEST(ReplaceFile, TheMessageNamesThePlaceAndTheReason) {
    const FileError error{EACCES, "/srv/shared"};
    EXPECT_EQ(error.message(), "/srv/shared: Permission denied");
    Folder dir;
    const FileError missing = ReplaceFile(dir.file("no/such/folder/x.txt"), "x");
    EXPECT_EQ(missing.code, ENOENT);
    EXPECT_EQ(missing.path, dir.file("no/such/folder"));
    EXPECT_EQ(ReplaceFile(dir.path(), "x").code, EISDIR);
    EXPECT_EQ(ReplaceFile("", "x").code, EINVAL);
}

TEST(ReplaceFile, LinksAreFollowedToTheFileTheyName) {
    Folder dir;
    fs::create_directory(dir.file("real"));
    writeAll(dir.file("real/data.txt"), "old");
    fs::create_symlink("real/data.txt", dir.file("relative"));
    fs::create_symlink("relative", dir.file("chained"));
    fs::create_symlink(dir.file("real/data.txt"), dir.file("absolute"));
    for (const char* link : {"relative", "chained", "absolute"}) {
        ASSERT_TRUE(ReplaceFile(dir.file(link), link).ok()) << link;
        EXPECT_TRUE(fs::is_symlink(dir.file(link))) << link;
        EXPECT_EQ(readAll(dir.file("real/data.txt")), link);
    }
    fs::create_symlink("real/created.txt", dir.file("dangling"));
    ASSERT_TRUE(ReplaceFile(dir.file("dangling"), "made").ok());
    EXPECT_EQ(readAll(dir.file("real/created.txt")), "made");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"absolute", "chained", "dangling", "real", "relative"}));

    fs::create_symlink("loop-b", dir.file("loop-a"));
    fs::create_symlink("loop-a", dir.file("loop-b"));
    EXPECT_EQ(ReplaceFile(dir.file("loop-a"), "x").code, ELOOP);
}

TEST(ReplaceFile, ModesComeFromTheOldFileOrTheUmaskNeverFromTheWriter) {
    Folder dir;
    const std::string path = dir.file("data.txt");
    for (mode_t mode : {0600, 0640, 0664, 0604, 0444 | 0200}) {
        writeAll(path, "old");
        ::chmod(path.c_str(), mode);
        ASSERT_TRUE(ReplaceFile(path, "new").ok());
        EXPECT_EQ(modeOf(path), mode) << std::oct << mode;
    }
    const mode_t saved = ::umask(027);
    const bool written = ReplaceFile(dir.file("fresh.txt"), "x").ok();
    ::umask(saved);
    ASSERT_TRUE(written);
    EXPECT_EQ(modeOf(dir.file("fresh.txt")), 0640u);
}

// Another thread's umask is never changed, not even for a moment: threads writing new files
// under umask 077 all get private files.
TEST(ReplaceFile, ThreadsWritingNewFilesAllGetTheUmasksMode) {
    Folder dir;
    const mode_t saved = ::umask(077);
    std::vector<std::thread> threads;
    std::atomic<int> failures{0};
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < 200; ++i) {
                if (!ReplaceFile(dir.file(std::to_string(t) + "-" + std::to_string(i)), "private").ok()) ++failures;
            }
        });
    }
    for (auto& t : threads) t.join();
    ::umask(saved);
    EXPECT_EQ(failures.load(), 0);
    int open = 0;
    for (const auto& name : dir.names()) open += modeOf(dir.file(name)) != 0600;
    EXPECT_EQ(dir.names().size(), 800u);
    EXPECT_EQ(open, 0) << "files readable by others";
}

// Runs check as an unprivileged user when the test runs as root (root may write any file),
// and gives back its exit status.
int asUnprivileged(const std::function<bool()>& check) {
    if (::geteuid() != 0) return check() ? 0 : 1;
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(100);
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 101;
}

TEST(ReplaceFile, AReadOnlyFileIsRefusedEvenInAWritableFolder) {
    Folder dir;
    ::chmod(dir.path().c_str(), 0777);
    const std::string path = dir.file("data.txt");
    writeAll(path, "old");
    ::chmod(path.c_str(), 0444);
    EXPECT_EQ(asUnprivileged([&] {
                  const FileError error = ReplaceFile(path, "new");
                  return error.code == EACCES && error.path == path;
              }),
              0);
    EXPECT_EQ(readAll(path), "old");
    EXPECT_EQ(dir.names(), std::vector<std::string>{"data.txt"});
}

// A writer that blocks in the middle of writing, so another process can kill it there.
class BlockingEnv : public Env {
public:
    int write(int fd, const char* data, std::size_t size, std::size_t& written) override {
        Env::write(fd, data, size / 2, written);
        for (;;) ::pause();
    }
};

// Forks a child that starts replacing path and blocks part way; returns once its temporary
// file exists.
pid_t startBlockedWriter(const Folder& dir, const std::string& path) {
    const pid_t child = ::fork();
    if (child == 0) {
        BlockingEnv env;
        ReplaceFile(path, std::string(4096, 'x'), env);
        ::_exit(0);
    }
    const std::string prefix = kestrum::files::TemporaryPrefix(path);
    for (int i = 0; i < 1000; ++i) {
        for (const auto& name : dir.names()) {
            if (name.compare(0, prefix.size(), prefix) == 0 && fs::file_size(dir.file(name)) > 0) return child;
        }
        ::usleep(2000);
    }
    ADD_FAILURE() << "the child never started writing";
    return child;
}

TEST(ReplaceFile, WhatAKilledWriterLeftIsRemovedByTheNextWrite) {
    Folder dir;
    const std::string path = dir.file("data.txt");
    writeAll(path, "old");
    const pid_t writer = startBlockedWriter(dir, path);
    ::kill(writer, SIGKILL);
    ::waitpid(writer, nullptr, 0);
    ASSERT_EQ(dir.names().size(), 2u) << "the killed writer's temporary file";
    EXPECT_EQ(readAll(path), "old");

    ASSERT_TRUE(ReplaceFile(path, "new").ok());
    EXPECT_EQ(dir.names(), std::vector<std::string>{"data.txt"});
    EXPECT_EQ(readAll(path), "new");
}

TEST(ReplaceFile, ALiveWritersFileIsLeftAlone) {
    Folder dir;
    const std::string path = dir.file("data.txt");
    const pid_t writer = startBlockedWriter(dir, path);
    ASSERT_TRUE(ReplaceFile(path, "mine").ok());
    EXPECT_EQ(dir.names().size(), 2u) << "the blocked writer's file is still being written";
    ::kill(writer, SIGKILL);
    ::waitpid(writer, nullptr, 0);

    // The same holds for a process that is alive but not holding the lock (a reused id), and a
    // file of this process's own id that no thread of it is writing is a leftover.
    const std::string prefix = kestrum::files::TemporaryPrefix(path);
    writeAll(dir.file(prefix + std::to_string(::getppid()) + "-1"), "parent's");
    writeAll(dir.file(prefix + std::to_string(::getpid()) + "-999999"), "an earlier process with our id");
    writeAll(dir.file(prefix + "junk"), "not a writer's name");
    ASSERT_TRUE(ReplaceFile(path, "again").ok());
    EXPECT_EQ(dir.names(),
              (std::vector<std::string>{prefix + std::to_string(::getppid()) + "-1", prefix + "junk", "data.txt"}));
}

TEST(FileLock, ExcludesThreadsOfOneProcess) {
    Folder dir;
    const std::string lockPath = dir.file("data.lock");
    int inside = 0;
    int overlaps = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 50; ++i) {
                kestrum::files::FileLock lock;
                ASSERT_TRUE(lock.Acquire(lockPath).ok());
                if (__atomic_add_fetch(&inside, 1, __ATOMIC_SEQ_CST) != 1)
                    __atomic_add_fetch(&overlaps, 1, __ATOMIC_SEQ_CST);
                std::this_thread::yield();
                __atomic_sub_fetch(&inside, 1, __ATOMIC_SEQ_CST);
            }
        });
    }
    for (auto& t : threads) t.join();
    EXPECT_EQ(overlaps, 0);
    kestrum::files::FileLock lock;
    const FileError error = lock.Acquire(dir.file("missing/data.lock"));
    EXPECT_EQ(error.code, ENOENT);
    EXPECT_EQ(error.path, dir.file("missing/data.lock"));
}

TEST(MakeDirectories, CreatesEveryMissingFolderAndNamesTheOneItCannot) {
    Folder dir;
    ASSERT_TRUE(kestrum::files::MakeDirectories(dir.file("a/b/c")).ok());
    EXPECT_TRUE(fs::is_directory(dir.file("a/b/c")));
    writeAll(dir.file("plain"), "");
    const FileError error = kestrum::files::MakeDirectories(dir.file("plain/sub"));
    EXPECT_EQ(error.code, ENOTDIR);
    EXPECT_EQ(error.path, dir.file("plain"));
}

}  // namespace
