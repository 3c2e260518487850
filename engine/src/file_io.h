// Whole-file reading, and replacing a file atomically so a failed save never destroys it.
#pragma once

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

// Writes content to a temporary file beside the target (a symbolic link is followed to its
// target first, so the link stays a link), gives it the old file's permissions, flushes it and
// renames it over the target. false, with the old file untouched, on any failure.
bool replaceFileAtomically(const std::string& path, std::string_view content);

// Test seam: makes the next writes fail once more than this many bytes were written
// (npos: never). Lets tests show that a full disk leaves the old file in place.
void setWriteLimitForTesting(std::size_t bytes);

}  // namespace kestrum
