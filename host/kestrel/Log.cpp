// The application log: one line per call, written whole under a lock so that
// lines from several threads never interleave.
#include "Folders.h"
#include "Kestrel.h"

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <mutex>
#include <string>

#if defined(_WIN32)
#  define WIN32_LEAN_AND_MEAN
#  include <windows.h>
#else
#  include <sys/syscall.h>
#  include <unistd.h>
#endif

namespace {

unsigned long CurrentThreadId()
{
#if defined(_WIN32)
    return GetCurrentThreadId();
#else
    return (unsigned long)syscall(SYS_gettid);
#endif
}

std::string Timestamp()
{
    const auto now = std::chrono::system_clock::now();
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    const auto millis = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm utc {};
#if defined(_WIN32)
    gmtime_s(&utc, &seconds);
#else
    gmtime_r(&seconds, &utc);
#endif
    char text[64];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03dZ", utc.tm_year + 1900, utc.tm_mon + 1,
                  utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, int(millis));
    return text;
}

class LogFile {
public:
    ~LogFile()
    {
        if (m_file != nullptr)
            std::fclose(m_file);
    }

    void Write(int level, const char* message)
    {
        char prefix[128];
        std::snprintf(prefix, sizeof prefix, "%s L%d T%lu ", Timestamp().c_str(), level, CurrentThreadId());
        std::string line = prefix;
        line += message != nullptr ? message : "";
        line += '\n';

        std::lock_guard<std::mutex> hold(m_lock);
        if (!Open())
            return;
        std::fwrite(line.data(), 1, line.size(), m_file);
        std::fflush(m_file);
    }

private:
    // Opens the log in the user's logs folder, again whenever the host root
    // has moved since the last line.
    bool Open()
    {
        const std::string logs = kestrel::HostRoot() + kestrel::kSeparator + "User" + kestrel::kSeparator + "logs";
        const std::string path = logs + kestrel::kSeparator + "kestrel.log";
        if (m_file != nullptr && path == m_path)
            return true;
        if (m_file != nullptr)
            std::fclose(m_file);
        m_file = kestrel::EnsureFolder(logs).empty() ? nullptr : std::fopen(path.c_str(), "ab");
        m_path = m_file != nullptr ? path : std::string();
        return m_file != nullptr;
    }

    std::mutex m_lock;
    std::FILE* m_file = nullptr;
    std::string m_path;
};

LogFile& TheLog()
{
    static LogFile log;
    return log;
}

} // namespace

extern "C" {

void HostLog(int level, const char* message)
{
    TheLog().Write(level, message);
}

void HostLogFormat(int level, const char* format, ...)
{
    if (format == nullptr)
        return;
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (length >= 0) {
        std::string message(std::size_t(length) + 1, '\0');
        std::vsnprintf(message.data(), message.size(), format, again);
        message.resize(std::size_t(length));
        TheLog().Write(level, message.c_str());
    }
    va_end(again);
}

} // extern "C"
