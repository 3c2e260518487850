// Saving replaces the database file atomically: a link stays a link, the permissions and the
// group stay, and a save that cannot finish (a folder that refuses the temporary file, a full
// disk, a failed sync) reports E_NO_WRITE_PERMISSION and leaves the old file exactly as it was.
#include "file_io.h"
#include "test_support.h"

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <functional>
#include <thread>

namespace kestrum::test {
namespace {

namespace fs = std::filesystem;

// Runs check as an unprivileged user (root ignores permissions) and gives back its result.
int runUnprivileged(const std::function<int()>& check) {
    if (::geteuid() != 0) return check();
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(100);
        ::_exit(check());
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 101;
}

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class FileReplace : public ::testing::Test {
protected:
    void SetUp() override {
        addQuantity(e, "Length", {0, 1});
        addUnit(e, "m", "Length", 1);
        fs::permissions(dir.path(), fs::perms::all);  // reachable for the unprivileged checks
    }
    void TearDown() override { setSaveEnvForTesting(nullptr); }
    static constexpr std::string_view kOld = "old contents, not a database\n";
    TempDir dir;
    Engine e;
};

TEST_F(FileReplace, ALinkStaysALinkAndItsTargetIsWritten) {
    fs::create_directory(dir.path() / "real");
    const std::string target = dir.file("real/db.xml");
    writeFile(target, kOld);
    fs::create_symlink("real/db.xml", dir.path() / "relative.xml");
    fs::create_symlink(target, dir.path() / "absolute.xml");
    fs::create_symlink("relative.xml", dir.path() / "chained.xml");
    for (const char* link : {"relative.xml", "absolute.xml", "chained.xml"}) {
        writeFile(target, kOld);
        ASSERT_OK(e.WriteUnitDatabase(dir.file(link))) << link;
        EXPECT_TRUE(fs::is_symlink(dir.path() / link)) << link;
        EXPECT_NE(readFile(target).find("<UNIT NAME = \"m\""), std::string::npos) << link;
    }
    // A link to a file that does not exist yet creates the file, not a file in place of the link.
    fs::create_symlink("real/new.xml", dir.path() / "dangling.xml");
    ASSERT_OK(e.WriteUnitDatabase(dir.file("dangling.xml")));
    EXPECT_TRUE(fs::is_symlink(dir.path() / "dangling.xml"));
    EXPECT_TRUE(fs::is_regular_file(dir.path() / "real/new.xml"));
    EXPECT_EQ(namesIn(dir.path() / "real"), (std::vector<std::string>{"db.xml", "new.xml"}));
}

TEST_F(FileReplace, PermissionsAreKept) {
    const std::string path = dir.file("db.xml");
    for (mode_t mode : {0640, 0604, 0600, 0664}) {
        writeFile(path, kOld);
        ASSERT_EQ(::chmod(path.c_str(), mode), 0);
        ASSERT_OK(e.WriteUnitDatabase(path));
        struct stat st;
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, mode) << std::oct << mode;
    }
    // A new file gets the usual permissions, not those of a private temporary file.
    const mode_t mask = ::umask(022);
    ASSERT_OK(e.WriteUnitDatabase(dir.file("new.xml")));
    ::umask(mask);
    struct stat st;
    ASSERT_EQ(::stat(dir.file("new.xml").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
    EXPECT_EQ(namesIn(dir.path()), (std::vector<std::string>{"db.xml", "new.xml"}));
}

TEST_F(FileReplace, AFolderThatRefusesTheTemporaryFileLeavesTheOldFile) {
    fs::create_directory(dir.path() / "locked");
    const std::string path = dir.file("locked/db.xml");
    writeFile(path, kOld);
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                              fs::perms::group_write | fs::perms::others_read | fs::perms::others_write);
    fs::permissions(dir.path() / "locked", fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                               fs::perms::others_read | fs::perms::others_exec);
    const int outcome = runUnprivileged([&] {
        const Result rc = e.WriteUnitDatabase(path);
        return rc == E_NO_WRITE_PERMISSION ? 0 : rc == S_OK ? 1 : 2;
    });
    EXPECT_EQ(outcome, 0) << "0: refused, 1: written, 2: another code, 100: could not drop privileges";
    EXPECT_EQ(readFile(path), kOld);
    EXPECT_EQ(namesIn(dir.path() / "locked"), std::vector<std::string>{"db.xml"});
}

TEST_F(FileReplace, AReadOnlyFileIsNotReplaced) {
    const std::string path = dir.file("db.xml");
    writeFile(path, kOld);
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const int outcome = runUnprivileged([&] {
        const Result rc = e.WriteUnitDatabase(path);
        return rc == E_NO_WRITE_PERMISSION ? 0 : rc == S_OK ? 1 : 2;
    });
    EXPECT_EQ(outcome, 0);
    EXPECT_EQ(readFile(path), kOld);
    EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"db.xml"});
}

// A disk with room for a given number of bytes, and syncs that fail on request.
class SmallDisk : public files::Env {
public:
    std::size_t room = std::string::npos;
    bool failSync = false;
    int write(int fd, const char* data, std::size_t size, std::size_t& written) override {
        if (room == 0) return ENOSPC;
        const int error = files::Env::write(fd, data, std::min(size, room), written);
        if (room != std::string::npos) room -= written;
        return error;
    }
    int sync(int fd) override { return failSync ? EIO : files::Env::sync(fd); }
};

TEST_F(FileReplace, AFullDiskOrAFailedSyncLeavesTheOldFile) {
    const std::string path = dir.file("db.xml");
    ASSERT_OK(e.WriteUnitDatabase(path));
    const std::size_t size = readFile(path).size();
    SmallDisk disk;
    setSaveEnvForTesting(&disk);
    for (std::size_t room : {std::size_t{0}, std::size_t{1}, size / 2, size - 1}) {
        writeFile(path, kOld);
        disk.room = room;
        EXPECT_RC(E_NO_WRITE_PERMISSION, e.WriteUnitDatabase(path)) << room << " bytes of room";
        EXPECT_EQ(readFile(path), kOld) << room;
        EXPECT_EQ(namesIn(dir.path()), std::vector<std::string>{"db.xml"}) << "no temporary file is left behind";
        disk.room = room;
        EXPECT_RC(E_NO_WRITE_PERMISSION, e.WriteUnitDatabase(dir.file("other.xml")));
        EXPECT_FALSE(fs::exists(dir.file("other.xml")));
    }
    disk.room = std::string::npos;
    disk.failSync = true;
    EXPECT_RC(E_NO_WRITE_PERMISSION, e.WriteUnitDatabase(path));
    EXPECT_EQ(readFile(path), kOld);
    disk.failSync = false;
    ASSERT_OK(e.WriteUnitDatabase(path));
    Engine back;
    ASSERT_OK(back.ReadUnitDatabase(path, OVERWRITE));
    EXPECT_EQ(dump(back), dump(e));
}

// Separate engines may save from separate threads; none of them may widen another's new files
// by changing the process's umask, not even for a moment.
TEST_F(FileReplace, EnginesSavingNewFilesOnSeveralThreadsAllGetTheUmasksMode) {
    const mode_t saved = ::umask(077);
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t) {
        threads.emplace_back([&, t] {
            Engine own;
            for (int i = 0; i < 400; ++i) {
                if (own.WriteUnitDatabase(dir.file(std::to_string(t) + "-" + std::to_string(i) + ".xml")) != S_OK)
                    ++failures;
            }
        });
    }
    for (auto& thread : threads) thread.join();
    ::umask(saved);
    EXPECT_EQ(failures.load(), 0);
    int readableByOthers = 0;
    for (const auto& name : namesIn(dir.path())) {
        struct stat st;
        ASSERT_EQ(::stat(dir.file(name).c_str(), &st), 0);
        readableByOthers += (st.st_mode & 0777) != 0600;
    }
    EXPECT_EQ(namesIn(dir.path()).size(), 1600u);
    EXPECT_EQ(readableByOthers, 0) << "of 1600 new files";
}

// A database shared through a group (owner 1001, group 2000, mode 664) saved by another member
// of the group (user 1002) keeps its group and mode, so its owner can still save it. The saver
// needs another user's identity, so the test runs where it may take one.
TEST_F(FileReplace, ASaveByAMemberOfTheFilesGroupKeepsTheGroupAndTheMode) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as two other users";
    constexpr uid_t kOwner = 1001, kSaver = 1002;
    constexpr gid_t kShared = 2000;
    fs::create_directory(dir.path() / "shared");
    const std::string folder = dir.file("shared");
    const std::string path = dir.file("shared/db.xml");
    writeFile(path, kOld);
    ASSERT_EQ(::chown(folder.c_str(), kOwner, kShared), 0);
    ASSERT_EQ(::chmod(folder.c_str(), 0775), 0);  // no set-group-id folder: the save must keep the group
    ASSERT_EQ(::chown(path.c_str(), kOwner, kShared), 0);
    ASSERT_EQ(::chmod(path.c_str(), 0664), 0);

    auto saveAs = [&](uid_t uid, gid_t primary) {
        const pid_t child = ::fork();
        if (child == 0) {
            const gid_t groups[] = {kShared};
            if (::setgroups(1, groups) != 0 || ::setgid(primary) != 0 || ::setuid(uid) != 0) ::_exit(100);
            Engine other;
            other.Quantity_Add("Saved_By_" + std::to_string(uid));
            ::_exit(other.WriteUnitDatabase(path) == S_OK ? 0 : 1);
        }
        int status = 0;
        ::waitpid(child, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : 101;
    };
    ASSERT_EQ(saveAs(kSaver, kSaver), 0);
    struct stat st;
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, kSaver) << "an ordinary user cannot give the file away";
    EXPECT_EQ(st.st_gid, kShared);
    EXPECT_EQ(st.st_mode & 07777, 0664u);
    EXPECT_EQ(saveAs(kOwner, kOwner), 0) << "the owner can still save the shared database";
    EXPECT_NE(readFile(path).find("Saved_By_1001"), std::string::npos);
    EXPECT_EQ(namesIn(folder), std::vector<std::string>{"db.xml"});

    // Root saving a user's file gives it back to that user.
    ASSERT_OK(e.WriteUnitDatabase(path));
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, kOwner);
    EXPECT_EQ(st.st_gid, kShared);
}

}  // namespace
}  // namespace kestrum::test
