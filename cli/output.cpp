#include "output.h"

#include <cerrno>
#include <unistd.h>

namespace kestrum::cli {

bool FdOutput::flushBuffer() {
    const char* p = pbase();
    std::size_t left = static_cast<std::size_t>(pptr() - pbase());
    // Once a write has failed nothing more is written: the output is already incomplete.
    while (left > 0 && m_error == 0) {
        const ssize_t n = ::write(m_fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            m_error = errno;
        } else {
            p += n;
            left -= static_cast<std::size_t>(n);
        }
    }
    setp(m_buffer, m_buffer + sizeof m_buffer);
    return m_error == 0;
}

FdOutput::int_type FdOutput::overflow(int_type c) {
    if (!flushBuffer()) return traits_type::eof();
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
    return c;
}

int FdOutput::sync() { return flushBuffer() ? 0 : -1; }

}  // namespace kestrum::cli
