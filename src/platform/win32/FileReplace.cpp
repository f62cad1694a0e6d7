#include "platform/FileReplace.h"

#include "base/Types.h"

#include <atomic>

namespace platform {

namespace {

std::atomic<int> g_faultAfterBytes{-1};
std::atomic<unsigned> g_temporaryCounter{0};

// Writes all bytes, or the first `limit` of them and then fails.
DWORD WriteAll(HANDLE file, const char* data, std::size_t size, int limit)
{
    const bool faulty = limit >= 0;
    if (faulty && static_cast<std::size_t>(limit) < size)
        size = static_cast<std::size_t>(limit);
    while (size > 0) {
        const DWORD chunk = size > 0x10000000 ? 0x10000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, data, chunk, &written, nullptr))
            return GetLastError();
        data += written;
        size -= written;
    }
    return faulty ? ERROR_WRITE_FAULT : ERROR_SUCCESS;
}

// Creates each missing folder on the way to the file; failures show up when
// the file itself is created.
void CreateFolders(const std::string& file)
{
    for (std::size_t slash = file.find('\\', 1); slash != std::string::npos; slash = file.find('\\', slash + 1)) {
        const std::string folder = file.substr(0, slash);
        if (!folder.empty() && folder.back() != ':')
            CreateDirectoryA(folder.c_str(), nullptr);
    }
}

} // namespace

int ReplaceFileContents(const char* path, const void* data, std::size_t size)
{
    const int fault = g_faultAfterBytes.exchange(-1);
    std::string target = path != nullptr ? path : "";
    for (char& ch : target) {
        if (ch == '/')
            ch = '\\';
    }
    const std::string temporary = target + ".tmp-" + std::to_string(GetCurrentProcessId()) + "-" +
                                  std::to_string(g_temporaryCounter.fetch_add(1));
    CreateFolders(target);
    HANDLE file = CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return static_cast<int>(GetLastError());
    DWORD error = WriteAll(file, static_cast<const char*>(data), size, fault);
    if (error == ERROR_SUCCESS && !FlushFileBuffers(file))
        error = GetLastError();
    if (!CloseHandle(file) && error == ERROR_SUCCESS)
        error = GetLastError();
    if (error == ERROR_SUCCESS &&
        !MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = GetLastError();
    if (error != ERROR_SUCCESS)
        DeleteFileA(temporary.c_str());
    return static_cast<int>(error);
}

std::string FileErrorText(int error)
{
    char buffer[512] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                        static_cast<DWORD>(error), 0, buffer, sizeof buffer, nullptr);
    std::string text(buffer, length);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' '))
        text.pop_back();
    if (text.empty())
        text = "error " + std::to_string(error);
    return text;
}

void SetFileReplaceFaultForTesting(int failAfterBytes)
{
    g_faultAfterBytes = failAfterBytes < 0 ? -1 : failAfterBytes;
}

} // namespace platform
