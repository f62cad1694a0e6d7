// Test support: a fresh folder for the running test, removed when it ends;
// whole-file reads and writes, and files of tab-separated records; and,
// natively, a private registry store.
#pragma once

#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#if defined(_WIN32)
#  include <process.h>
#else
#  include "platform/StoreTesting.h"
#  include <unistd.h>
#endif

namespace orv_test {

inline int ProcessId()
{
#if defined(_WIN32)
    return _getpid();
#else
    return ::getpid();
#endif
}

inline std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The lines of a file, each split at its tabs into fields.
inline std::vector<std::vector<std::string>> ReadRecords(const std::filesystem::path& path)
{
    std::vector<std::vector<std::string>> records;
    std::istringstream text(ReadFile(path));
    for (std::string line; std::getline(text, line);) {
        std::istringstream fields(line);
        records.emplace_back();
        for (std::string field; std::getline(fields, field, '\t');)
            records.back().push_back(field);
    }
    return records;
}

// Writes the file whole, making its folders first.
inline void WriteFile(const std::filesystem::path& path, const std::string& text)
{
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// "<temp>/orv-<purpose>-<process>-<test>", empty at the start, so that runs
// and tests never share one.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& purpose)
    {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        m_path = std::filesystem::temp_directory_path()
            / ("orv-" + purpose + "-" + std::to_string(ProcessId()) + "-" + (test != nullptr ? test->name() : "all"));
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
    }
    ~ScratchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

// Natively, the registry is a store file in folder for the object's life,
// read afresh as a new process would; on Windows the real registry serves
// and this does nothing.
class PrivateRegistry {
public:
    explicit PrivateRegistry([[maybe_unused]] const std::filesystem::path& folder)
    {
#if !defined(_WIN32)
        m_environment.Set("ORV_REGISTRY_FILE", (folder / "registry.txt").string());
        platform::ResetRegistryCacheForTesting();
#endif
    }
    ~PrivateRegistry()
    {
#if !defined(_WIN32)
        platform::SetRegistryWriteFaultForTesting(-1);
        platform::ResetRegistryCacheForTesting();
#endif
    }

private:
    ScopedEnvironment m_environment;
};

} // namespace orv_test
