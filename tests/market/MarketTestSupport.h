// Shared by the market tests: a private host root per test, so that the
// data folder and the log start empty, and symbol data loaded from a text;
// the Eastern daylight switches of 2007-2037.
#pragma once

#include "market/SymbolData.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>

namespace market_test {

struct EasternSwitch {
    int year;
    std::int64_t start; // first UTC second of daylight time
    std::int64_t end;   // first UTC second of standard time
};

// Generated from the IANA database by tools/gen_eastern_switches.py. The
// data file is itself a list of initialisers, so the test carries the table
// in its binary and needs no path to it at run time (natively or under Wine).
inline constexpr EasternSwitch kSwitches[] = {
#include "market/data/eastern-switches.txt"
};

// Points KESTREL_ROOT at an empty folder of the test's own and restores the
// previous root afterwards; the library-wide symbol data is emptied.
class HostRootTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::create_directories(DataFolder()); }
    void TearDown() override { CSymbolData::GetStaticInstance().Clear(); }

    std::filesystem::path DataFolder() const { return m_root / "User" / "data"; }

    // Writes the text as the user's symbol data file and loads it.
    void LoadSymbolData(const std::string& text, CSymbolData& data = CSymbolData::GetStaticInstance(),
                        const char* user = "trader")
    {
        data.SetUserName(user);
        orv_test::WriteFile(DataFolder() / (std::string(user) + "-OrvSymbolData.xml"), text);
        ASSERT_EQ(data.LoadXML(), 1);
    }

    std::string Log() const { return orv_test::ReadFile(m_root / "User" / "logs" / "kestrel.log"); }

    orv_test::ScratchFolder m_scratch {"market"};
    const std::filesystem::path m_root = m_scratch.Path();
    orv_test::ScopedEnvironment m_environment {"KESTREL_ROOT", m_root.string()};
};

} // namespace market_test
