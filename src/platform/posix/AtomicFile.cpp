#include "platform/posix/AtomicFile.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::posix {

int WriteAll(int descriptor, const char* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(descriptor, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        if (written == 0) {
            return EIO; // no progress: give up rather than spin
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
}

namespace {

std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

int ReadWholeFile(const std::string& path, std::string& content)
{
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        return errno;
    }
    std::string text;
    char chunk[8192];
    int error = 0;
    for (;;) {
        const ssize_t got = ::read(descriptor, chunk, sizeof chunk);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            error = errno;
            break;
        }
        if (got == 0) {
            break;
        }
        text.append(chunk, static_cast<std::size_t>(got));
    }
    ::close(descriptor);
    if (error == 0) {
        content.swap(text);
    }
    return error;
}

int ReplaceFileAtomically(const std::string& path, const std::string& content, int& faultAfterBytes)
{
    const std::string folder = FolderOf(path);
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);

    std::string temporary = path + ".tmp-XXXXXX";
    const int descriptor = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (descriptor < 0) {
        return errno;
    }
    int error = 0;
    if (faultAfterBytes >= 0) {
        const std::size_t part = std::min(content.size(), static_cast<std::size_t>(faultAfterBytes));
        faultAfterBytes = -1;
        WriteAll(descriptor, content.data(), part);
        error = EIO;
    } else {
        error = WriteAll(descriptor, content.data(), content.size());
    }
    // The new file keeps the old one's permissions, or private ones.
    struct stat old {};
    ::fchmod(descriptor, ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : 0600);
    if (error == 0 && ::fsync(descriptor) != 0) {
        error = errno;
    }
    if (::close(descriptor) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.c_str());
        return error;
    }
    // Make the rename itself durable.
    const int folderDescriptor = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderDescriptor >= 0) {
        ::fsync(folderDescriptor);
        ::close(folderDescriptor);
    }
    return 0;
}

FileLock::FileLock(const std::string& path)
{
    std::error_code ignored;
    std::filesystem::create_directories(FolderOf(path), ignored);
    m_descriptor = ::open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (m_descriptor >= 0) {
        while (::flock(m_descriptor, LOCK_EX) != 0) {
            if (errno != EINTR) {
                ::close(m_descriptor);
                m_descriptor = -1;
                break;
            }
        }
    }
}

FileLock::~FileLock()
{
    if (m_descriptor >= 0) {
        ::flock(m_descriptor, LOCK_UN);
        ::close(m_descriptor);
    }
}

std::string NativePath(const char* path)
{
    std::string result = path != nullptr ? path : "";
    for (char& ch : result) {
        if (ch == '\\') {
            ch = '/';
        }
    }
    return result;
}

} // namespace platform::posix
