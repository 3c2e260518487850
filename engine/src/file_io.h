// Whole-file reading, and replacing a file atomically so a failed save never destroys it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace kestrum {

// false when the path cannot be opened and read as a regular file.
bool readWholeFile(const std::string& path, std::string& content);

// Writes content to a temporary file beside the target (a symbolic link is followed to its
// target first, so the link stays a link), gives it the old file's permissions, flushes it and
// renames it over the target. false, with the old file untouched, on any failure.
bool replaceFileAtomically(const std::string& path, std::string_view content);

// Test seam: makes the next writes fail once more than this many bytes were written
// (npos: never). Lets tests show that a full disk leaves the old file in place.
void setWriteLimitForTesting(std::size_t bytes);

}  // namespace kestrum
