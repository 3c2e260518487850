// Standard output for the kestrum program: a stream buffer over a file descriptor that keeps
// the reason of a failed write, so a full disk or a closed pipe is reported, not lost.
#pragma once

#include <streambuf>

namespace kestrum::cli {

class FdOutput : public std::streambuf {
public:
    explicit FdOutput(int fd) : m_fd(fd) { setp(m_buffer, m_buffer + sizeof m_buffer); }
    ~FdOutput() override { sync(); }
    FdOutput(const FdOutput&) = delete;
    FdOutput& operator=(const FdOutput&) = delete;

    // The errno of the first failed write; 0 while every write succeeded.
    int error() const { return m_error; }

protected:
    int_type overflow(int_type c) override;
    int sync() override;

private:
    bool flushBuffer();

    int m_fd;
    int m_error = 0;
    char m_buffer[8192];
};

}  // namespace kestrum::cli
