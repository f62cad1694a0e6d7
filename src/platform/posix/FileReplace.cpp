#include "platform/FileReplace.h"

#include "platform/posix/AtomicFile.h"

#include <atomic>
#include <cstring>

namespace platform {

namespace {
std::atomic<int> g_faultAfterBytes{-1};
} // namespace

int ReplaceFileContents(const char* path, const void* data, std::size_t size)
{
    int fault = g_faultAfterBytes.exchange(-1);
    const std::string content(static_cast<const char*>(data), size);
    return posix::ReplaceFileAtomically(posix::NativePath(path), content, fault);
}

std::string FileErrorText(int error)
{
    return std::strerror(error);
}

void SetFileReplaceFaultForTesting(int failAfterBytes)
{
    g_faultAfterBytes = failAfterBytes < 0 ? -1 : failAfterBytes;
}

} // namespace platform
