// Whole-file reads and crash-safe whole-file replacement for the native
// settings stores (registry and INI files).
#pragma once

#include <cstddef>
#include <string>

namespace platform::posix {

// Writes all size bytes to the descriptor, again after interruptions.
// Returns 0, or the errno of the failure.
int WriteAll(int descriptor, const char* data, std::size_t size);

// Reads the whole file. Returns 0, or the errno of the failure (ENOENT when
// it does not exist).
int ReadWholeFile(const std::string& path, std::string& content);

// Replaces path with content: writes a temporary file in the same folder,
// flushes it to disk, renames it over path and flushes the folder. Missing
// folders are created. Returns 0, or an errno; on failure path is untouched
// and the temporary file is removed. When faultAfterBytes is 0 or more, only
// that many bytes are written before the call fails with EIO, and
// faultAfterBytes is reset to -1.
int ReplaceFileAtomically(const std::string& path, const std::string& content, int& faultAfterBytes);

// An exclusive advisory lock on "<path>.lock", held for the object's life,
// so that read-modify-write cycles of several processes do not interleave.
// If the lock file cannot be made, the object holds nothing and Held() is
// false; callers go on, since the rename alone still keeps the file whole.
class FileLock {
public:
    explicit FileLock(const std::string& path);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    bool Held() const noexcept { return m_descriptor >= 0; }

private:
    int m_descriptor = -1;
};

// Windows paths use backslashes; the native stores take either separator.
std::string NativePath(const char* path);

} // namespace platform::posix
