// Reading what is left of a descriptor, whole, however the system hands it out.
#include <kestrum/files/env.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <string>
#include <thread>

#include <fcntl.h>
#include <unistd.h>

using kestrum::files::Env;
using kestrum::files::ReadToEnd;

namespace {

TEST(ReadToEnd, TakesEverythingAPipeDeliversInPiecesInOrder) {
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    // More than one read's worth, with bytes that tell every position apart (a NUL among them).
    std::string sent;
    for (int i = 0; i < 200000; ++i) sent += static_cast<char>(i % 251);
    std::thread writer([&] {
        std::size_t done = 0;
        while (done < sent.size()) {
            // Small writes, so the reader sees short reads.
            const std::size_t chunk = std::min<std::size_t>(4093, sent.size() - done);
            const ssize_t n = ::write(fds[1], sent.data() + done, chunk);
            if (n <= 0) break;
            done += static_cast<std::size_t>(n);
        }
        ::close(fds[1]);
    });
    std::string received = "stale";
    EXPECT_EQ(ReadToEnd(fds[0], received), 0);
    writer.join();
    ::close(fds[0]);
    EXPECT_EQ(received.size(), sent.size());
    EXPECT_TRUE(received == sent) << "the bytes and their order are kept";
}

TEST(ReadToEnd, AFailedReadGivesItsErrnoAndLeavesTheContent) {
    std::string content = "kept";
    EXPECT_EQ(ReadToEnd(-1, content), EBADF);
    EXPECT_EQ(content, "kept");

    // A descriptor open only for writing cannot be read.
    char path[] = "/tmp/kestrum-read-XXXXXX";
    const int fd = ::mkstemp(path);
    ASSERT_GE(fd, 0);
    const int writeOnly = ::open(path, O_WRONLY);
    ASSERT_GE(writeOnly, 0);
    EXPECT_EQ(ReadToEnd(writeOnly, content), EBADF);
    EXPECT_EQ(content, "kept");
    ::close(writeOnly);
    ::close(fd);
    ::unlink(path);
}

TEST(ReadToEnd, AnEmptyFileReadsAsEmptyAndReadFileSaysWhyItCannotOpen) {
    char path[] = "/tmp/kestrum-read-XXXXXX";
    const int fd = ::mkstemp(path);
    ASSERT_GE(fd, 0);
    std::string content = "stale";
    EXPECT_EQ(ReadToEnd(fd, content), 0);
    EXPECT_EQ(content, "");
    ::close(fd);

    content = "kept";
    EXPECT_EQ(Env::Default().readFile(std::string(path) + ".missing", content), ENOENT);
    EXPECT_EQ(content, "kept");
    ASSERT_EQ(::truncate(path, 0), 0);
    EXPECT_EQ(Env::Default().readFile(path, content), 0);
    EXPECT_EQ(content, "");
    ::unlink(path);
}

}  // namespace
