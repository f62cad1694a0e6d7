// Test support: environment variables set for one scope and put back as they
// were when it ends, so that no test leaks its settings into the next.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orv_test {

// Reads a variable; nullopt when it is not set.
inline std::optional<std::string> GetEnvironment(const char* name)
{
    const char* value = std::getenv(name);
    return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
}

// Sets a variable, or removes it when value is nullopt. On Windows an empty
// value removes the variable, as _putenv_s does.
inline void SetEnvironment(const char* name, const std::optional<std::string>& value)
{
#if defined(_WIN32)
    _putenv_s(name, value ? value->c_str() : "");
#else
    if (value) {
        ::setenv(name, value->c_str(), 1);
    } else {
        ::unsetenv(name);
    }
#endif
}

// Sets variables for the lifetime of the object and restores each one's
// previous value (or absence) when it is destroyed, last set first.
class ScopedEnvironment {
public:
    ScopedEnvironment() = default;
    ScopedEnvironment(const char* name, const std::optional<std::string>& value) { Set(name, value); }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
    ~ScopedEnvironment()
    {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it) {
            SetEnvironment(it->first.c_str(), it->second);
        }
    }

    ScopedEnvironment& Set(const char* name, const std::optional<std::string>& value)
    {
        m_saved.emplace_back(name, GetEnvironment(name));
        SetEnvironment(name, value);
        return *this;
    }

private:
    std::vector<std::pair<std::string, std::optional<std::string>>> m_saved;
};

} // namespace orv_test
