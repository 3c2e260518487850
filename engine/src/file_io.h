// Whole-file reading, and the file system through which saves replace a file.
#pragma once

#include <kestrum/files/env.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace kestrum {

// The bytes of a regular file, mapped into memory while the object lives (read into memory
// where mapping is not possible). open() is false when the path cannot be opened and read as a
// regular file.
class FileContent {
public:
    FileContent() = default;
    ~FileContent();
    FileContent(const FileContent&) = delete;
    FileContent& operator=(const FileContent&) = delete;
    bool open(const std::string& path);
    std::string_view view() const { return m_mapped ? std::string_view(m_mapped, m_size) : std::string_view(m_copy); }

private:
    const char* m_mapped = nullptr;
    std::size_t m_size = 0;
    std::string m_copy;
};

// The file system that saves go through: the real one unless a test installed another.
files::Env& saveEnv();
// Test seam: env (kept alive by the caller) for every save from now on; null restores the
// real file system. Lets tests show that a failed write, sync or rename keeps the old file.
void setSaveEnvForTesting(files::Env* env);

}  // namespace kestrum
