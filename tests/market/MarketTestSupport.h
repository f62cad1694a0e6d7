// Shared by the market tests: a private host root per test, so that the
// data folder and the log start empty, symbol data loaded from a text, and
// small file helpers.
#pragma once

#include "market/SymbolData.h"
#include "support/ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace market_test {

// Points KESTREL_ROOT at an empty folder named after the test and restores
// the previous root afterwards; the library-wide symbol data is emptied.
class HostRootTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        m_root = std::filesystem::temp_directory_path() /
                 ("orv-market-" + std::string(info->test_suite_name()) + "-" + info->name());
        std::filesystem::remove_all(m_root);
        std::filesystem::create_directories(DataFolder());
        m_environment.Set("KESTREL_ROOT", m_root.string());
    }

    void TearDown() override
    {
        CSymbolData::GetStaticInstance().Clear();
        std::error_code ignored;
        std::filesystem::remove_all(m_root, ignored);
    }

    std::filesystem::path DataFolder() const { return m_root / "User" / "data"; }

    // Writes the text as the user's symbol data file and loads it.
    void LoadSymbolData(const std::string& text, CSymbolData& data = CSymbolData::GetStaticInstance(),
                        const char* user = "trader")
    {
        data.SetUserName(user);
        WriteFile(DataFolder() / (std::string(user) + "-OrvSymbolData.xml"), text);
        ASSERT_EQ(data.LoadXML(), 1);
    }

    static void WriteFile(const std::filesystem::path& path, const std::string& content)
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << content;
    }

    static std::string ReadFile(const std::filesystem::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    std::string Log() const { return ReadFile(m_root / "User" / "logs" / "kestrel.log"); }

    std::filesystem::path m_root;
    orv_test::ScopedEnvironment m_environment;
};

} // namespace market_test
