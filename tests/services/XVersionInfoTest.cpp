// Reading version resources. Natively no module has one; under Wine the
// library's own DLL and two test modules with chosen resources are read.
#include "services/XVersionInfo.h"

#include "platform/Module.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

// Opens the protected parts for the tests.
class CProbe : public CXVersionInfo {
public:
    void Fill()
    {
        for (int i = 0; i < 4; ++i) {
            m_FileVersionValues[i] = 10 + i;
            m_ProductVersionValues[i] = 20 + i;
        }
        for (CString* text : {&m_FileVersion, &m_ProductVersion, &m_Comments, &m_CompanyName, &m_FileDescription,
                 &m_InternalName, &m_LegalCopyright, &m_LegalTrademarks, &m_OriginalFilename, &m_PrivateBuild,
                 &m_ProductName, &m_SpecialBuild}) {
            *text = "stale";
        }
    }
};

std::vector<int> Values(const int* values)
{
    return std::vector<int>(values, values + 4);
}

std::vector<std::string> Strings(const CXVersionInfo& info)
{
    std::vector<std::string> strings;
    for (const CString& text : {info.FileVersion(), info.ProductVersion(), info.Comments(), info.CompanyName(),
             info.FileDescription(), info.InternalName(), info.LegalCopyright(), info.LegalTrademarks(),
             info.OriginalFilename(), info.PrivateBuild(), info.ProductName(), info.SpecialBuild()}) {
        strings.emplace_back(text.GetString());
    }
    return strings;
}

const std::vector<std::string> kNoStrings(12);

#if defined(_WIN32)
// A module in the folder of the test executable.
std::string Beside(const char* name)
{
    return (std::filesystem::path(platform::ModuleFileName(nullptr)).parent_path() / name).string();
}
#endif

} // namespace

TEST(XVersionInfo, UnusablePathsGiveZeroAndNoPathReadsTheExecutable)
{
    CProbe info;
    info.Fill();
    EXPECT_EQ(info.GetVersionInfo(""), 0);
    EXPECT_TRUE(info.Path().IsEmpty());
    EXPECT_EQ(Values(info.FileVersionValues()), std::vector<int>(4, 0));
    EXPECT_EQ(Strings(info), kNoStrings);

    // 260 characters cannot be a module path; 259 can, even one that does
    // not exist, which reads as a module without a resource.
    const std::string base = (std::filesystem::temp_directory_path() / "orv-no-such-module-").string();
    const std::string longest = base + std::string(259 - base.size(), 'x');
    EXPECT_EQ(info.GetVersionInfo((longest + "y").c_str()), 0);
    EXPECT_TRUE(info.Path().IsEmpty());
    info.Fill();
    EXPECT_EQ(info.GetVersionInfo(longest.c_str()), 1);
    EXPECT_STREQ(info.Path(), longest.c_str());
    EXPECT_EQ(Values(info.FileVersionValues()), std::vector<int>(4, 0));
    EXPECT_EQ(Values(info.ProductVersionValues()), std::vector<int>(4, 0));
    EXPECT_EQ(Strings(info), kNoStrings);

    // Copies carry every field.
    const std::string module = platform::ModuleFileName(nullptr);
    EXPECT_EQ(info.GetVersionInfo(module.c_str()), 1);
    info.Fill();
    const CXVersionInfo copy(info);
    EXPECT_EQ(Values(copy.ProductVersionValues()), (std::vector<int> {20, 21, 22, 23}));
    EXPECT_EQ(Strings(copy), std::vector<std::string>(12, "stale"));
    EXPECT_STREQ(copy.Path(), module.c_str());

    // No path reads the executable, whose path is cached and shared by every
    // thread.
    CProbe executable;
    EXPECT_EQ(executable.GetVersionInfo(), 1);
    std::vector<std::thread> threads;
    std::vector<std::string> seen(4);
    for (std::string& path : seen) {
        threads.emplace_back([&path] {
            CXVersionInfo reader;
            reader.GetVersionInfo();
            path = reader.Path().GetString();
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(seen, std::vector<std::string>(4, module));
}

#if defined(_WIN32)
TEST(XVersionInfo, ReadsTheLibrarysOwnVersionAndTheTestModules)
{
    const std::string module = Beside("OrvCommon.dll");
    CProbe info;
    ASSERT_EQ(info.GetVersionInfo(module.c_str()), 1);
    EXPECT_EQ(Values(info.FileVersionValues()), (std::vector<int>{1, 0, 0, 1}));
    EXPECT_EQ(Values(info.ProductVersionValues()), (std::vector<int>{1, 0, 0, 1}));
    // Values the resource does not have are empty.
    EXPECT_EQ(Strings(info), (std::vector<std::string> {"1,0,0,1", "1.0.0.1", "", "Velkor",
                                 "ORV Desktop common class library", "OrvCommon", "Copyright (C) 2026 Velkor", "",
                                 "OrvCommon.dll", "", "ORV Desktop", ""}));

    // A module with numbers but no translation, and one whose strings come
    // from the first of its two.
    info.Fill();
    ASSERT_EQ(info.GetVersionInfo(Beside("VersionNoTranslation.dll").c_str()), 1);
    EXPECT_EQ(Values(info.FileVersionValues()), (std::vector<int>{65535, 3, 40000, 5}));
    EXPECT_EQ(Values(info.ProductVersionValues()), (std::vector<int>{6, 7, 8, 9}));
    EXPECT_EQ(Strings(info), kNoStrings);
    ASSERT_EQ(info.GetVersionInfo(Beside("VersionTwoLanguages.dll").c_str()), 1);
    EXPECT_EQ(Strings(info), (std::vector<std::string>{"3,1,0,7", "3.1.0.0", "Erste Sprache", "Velkor GmbH",
                                 "Versionstest", "VersionTwoLanguages", "(C) Velkor", "ORV",
                                 "VersionTwoLanguages.dll", "private 1", "ORV Desktop DE", "special 2"}));
}
#endif
