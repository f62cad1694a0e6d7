// The process seam on Linux: the executables named by /proc/<pid>/exe.
#include "platform/Process.h"

#include <cctype>
#include <dirent.h>
#include <string>
#include <unistd.h>

namespace {

bool IsNumber(const char* text)
{
    if (*text == '\0') {
        return false;
    }
    for (; *text != '\0'; ++text) {
        if (!std::isdigit(static_cast<unsigned char>(*text))) {
            return false;
        }
    }
    return true;
}

} // namespace

namespace platform {

bool ListProcessNames(CStringArray& names)
{
    DIR* processes = ::opendir("/proc");
    if (processes == nullptr) {
        return false;
    }
    while (const dirent* entry = ::readdir(processes)) {
        if (!IsNumber(entry->d_name)) {
            continue;
        }
        char target[4096];
        const std::string link = std::string("/proc/") + entry->d_name + "/exe";
        const ssize_t length = ::readlink(link.c_str(), target, sizeof target - 1);
        if (length <= 0) {
            continue; // another user's process, or a kernel thread
        }
        std::string path(target, std::size_t(length));
        // A replaced executable reads "<path> (deleted)".
        const std::string deleted = " (deleted)";
        if (path.size() > deleted.size() && path.compare(path.size() - deleted.size(), deleted.size(), deleted) == 0) {
            path.resize(path.size() - deleted.size());
        }
        const std::size_t slash = path.rfind('/');
        names.Add(CString(path.substr(slash == std::string::npos ? 0 : slash + 1).c_str()));
    }
    ::closedir(processes);
    return true;
}

DWORD CurrentProcessId() noexcept
{
    return DWORD(::getpid());
}

} // namespace platform
