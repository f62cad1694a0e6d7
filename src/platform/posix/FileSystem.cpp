// The file-system seam on POSIX systems.
#include "platform/FileSystem.h"

#include "platform/posix/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool Matches(const char* pattern, const char* name)
{
    // As on Windows, "*.*" matches names without a point too.
    if (std::string(pattern) == "*.*") {
        pattern = "*";
    }
    return ::fnmatch(pattern, name, FNM_CASEFOLD | FNM_NOESCAPE) == 0;
}

// The path without trailing slashes, so that it names a link itself rather
// than the folder it points to ("/" stays).
std::string WithoutTrailingSlashes(const char* path)
{
    std::string name = path;
    while (name.size() > 1 && name.back() == '/') {
        name.pop_back();
    }
    return name;
}

// Copies the bytes of one open file into another; false on any error.
bool CopyBytes(int from, int to)
{
    char buffer[65536];
    for (;;) {
        const ssize_t read = ::read(from, buffer, sizeof buffer);
        if (read < 0 && errno == EINTR) {
            continue;
        }
        if (read < 0) {
            return false;
        }
        if (read == 0) {
            return true;
        }
        if (platform::posix::WriteAll(to, buffer, std::size_t(read)) != 0) {
            return false;
        }
    }
}

} // namespace

namespace platform {

bool ListDirectory(const char* folder, const char* pattern, CArray<DirectoryEntry>& entries)
{
    DIR* directory = ::opendir(folder);
    if (directory == nullptr) {
        return false;
    }
    std::string base = folder;
    if (base.empty() || base.back() != '/') {
        base += '/';
    }
    bool any = false;
    while (const dirent* entry = ::readdir(directory)) {
        if (!Matches(pattern, entry->d_name)) {
            continue;
        }
        DirectoryEntry found;
        found.name = entry->d_name;
        struct stat status {};
        if (::lstat((base + entry->d_name).c_str(), &status) == 0) {
            found.isDirectory = S_ISDIR(status.st_mode);
            found.isLink = S_ISLNK(status.st_mode);
        }
        entries.Add(found);
        any = true;
    }
    ::closedir(directory);
    return any;
}

bool CreateFolder(const char* path)
{
    return ::mkdir(path, 0777) == 0 || (errno == EEXIST && IsFolder(path));
}

bool CopyFileTo(const char* source, const char* target, bool failIfExists)
{
    struct stat status {};
    if (failIfExists && ::lstat(target, &status) == 0) {
        return false;
    }
    const int from = ::open(source, O_RDONLY | O_CLOEXEC);
    if (from < 0) {
        return false;
    }
    const std::string temporary = std::string(target) + ".orvcopy-" + std::to_string(::getpid());
    const int to = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    bool copied = to >= 0 && CopyBytes(from, to);
    ::close(from);
    if (to >= 0) {
        copied = ::fsync(to) == 0 && copied;
        copied = ::close(to) == 0 && copied;
    }
    if (copied && failIfExists) {
        // Never replace a target that appeared meanwhile.
        copied = ::link(temporary.c_str(), target) == 0;
        ::unlink(temporary.c_str());
        return copied;
    }
    if (copied && ::rename(temporary.c_str(), target) == 0) {
        return true;
    }
    ::unlink(temporary.c_str());
    return false;
}

bool DeleteFileAt(const char* path)
{
    struct stat status {};
    return ::lstat(path, &status) == 0 && !S_ISDIR(status.st_mode) && ::unlink(path) == 0;
}

bool RemoveFolder(const char* path)
{
    return ::rmdir(path) == 0;
}

bool IsFolder(const char* path)
{
    struct stat status {};
    return path != nullptr && ::stat(path, &status) == 0 && S_ISDIR(status.st_mode);
}

bool IsLink(const char* path)
{
    struct stat status {};
    return path != nullptr && ::lstat(WithoutTrailingSlashes(path).c_str(), &status) == 0 && S_ISLNK(status.st_mode);
}

bool RemoveLink(const char* path)
{
    return IsLink(path) && ::unlink(WithoutTrailingSlashes(path).c_str()) == 0;
}

bool TempFolder(CString& folder)
{
    const char* temp = std::getenv("TMPDIR");
    std::string path = temp != nullptr && *temp != '\0' ? temp : "/tmp";
    if (path.back() != '/') {
        path += '/';
    }
    folder = path.c_str();
    return true;
}

} // namespace platform
