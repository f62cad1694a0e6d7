// Where the REST API component's class is registered in the class registry,
// by the tests and by the set-up helper stand-in (checknet.exe), and the
// fixture the REST API tests share.
#pragma once

#include "services/Registry.h"

#include "support/HostLogLines.h"
#include "support/ScopedEnvironment.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

inline constexpr const char* kRestAPIClassKey = "CLSID\\{32C6BA9D-A05F-4CB3-9C1F-40F80819D5B9}";

inline void UnregisterRestAPIClass() { RegDeleteTreeA(HKEY_CLASSES_ROOT, kRestAPIClassKey); }

// Removes the REST API settings from the global settings key.
inline void RemoveRestAPISettings()
{
    COrvRegistry registry;
    if (registry.Open()) {
        for (const char* name : {"RestAPINetworkInterface", "RestAPIPort", "RestAPIServiceName", "RestAPIAllowedIpList",
                 "RestAPIEnabled"})
            registry.DeleteValue(name);
    }
}

// The host folders live in a scratch root of the name, whose log the test
// reads; the class registration and the settings the test made are removed
// at the end.
class RestAPITest : public ::testing::Test {
protected:
    explicit RestAPITest(const char* root) : m_root(root), m_environment("KESTREL_ROOT", m_root.Path().string()) {}
    ~RestAPITest() override
    {
        RemoveRestAPISettings();
        UnregisterRestAPIClass();
    }

    // The log's lines but the empty one a message ending in a line break leaves.
    std::vector<std::string> Log() const
    {
        std::vector<std::string> lines;
        for (const std::string& line : orv_test::HostLogLines(m_root.Path()))
            if (line.find_first_not_of(' ') != std::string::npos)
                lines.push_back(line);
        return lines;
    }
    // The last log line, or "" when nothing was logged.
    std::string LastLine() const
    {
        const auto lines = Log();
        return lines.empty() ? std::string() : lines.back();
    }

    orv_test::ScratchFolder m_root;
    orv_test::ScopedEnvironment m_environment;
};
