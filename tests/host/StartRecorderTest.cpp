// The installer and set-up helper stand-ins: started as real processes, they
// record how they were started and exit with the codes the test chose.
#if defined(_WIN32)

#include "support/UpdateServer.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

namespace {

// Runs the program with the arguments in folder; its exit code, or -1.
int RunProgram(const std::string& program, const std::string& arguments, const std::filesystem::path& folder)
{
    std::string commandLine = "\"" + program + "\" " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
            folder.string().c_str(), &startup, &info))
        return -1;
    WaitForSingleObject(info.hProcess, 10000);
    DWORD code = 0;
    GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return static_cast<int>(code);
}

TEST(StartRecorder, RecordsEachRunAndExitsWithTheCodeChosenForItOr99WithoutARecord)
{
    struct Row {
        const char* program;
        const char* prefix;
        const char* arguments;
        const char* splitLast; // the last argument as the C runtime splits it
    };
    const Row rows[] = {
        {"InstallerStandin.exe", "ORV_INSTALLER", "/update /pid 4242", "4242"},
        {"checknet.exe", "ORV_CHECKNET", "-REGASM=\"C:\\a b\\RestAPI.dll\" -LISTEN=:8000", "-LISTEN=:8000"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.program);
        orv_test::ScratchFolder folder("start-recorder");
        const auto record = folder / "record.txt";
        orv_test::ScopedEnvironment environment;
        environment.Set((std::string(row.prefix) + "_RECORD").c_str(), record.string());
        environment.Set((std::string(row.prefix) + "_EXIT").c_str(), std::string("0,1,7"));
        const std::string program = (orv_test::TestProgramFolder() / row.program).string();
        std::vector<int> codes;
        for (int i = 0; i < 4; ++i)
            codes.push_back(RunProgram(program, row.arguments, folder.Path()));
        EXPECT_EQ(codes, (std::vector<int>{0, 1, 7, 7}));

        const auto lines = orv_test::ReadRecords(record);
        ASSERT_EQ(lines.size(), 4u);
        ASSERT_GE(lines[0].size(), 4u);
        EXPECT_EQ(std::filesystem::path(lines[0][0]), std::filesystem::path(program));
        EXPECT_EQ(std::filesystem::path(lines[0][1]), folder.Path());
        EXPECT_NE(lines[0][2].find(row.arguments), std::string::npos) << lines[0][2];
        EXPECT_EQ(lines[0].back(), row.splitLast);
    }
    // A record that cannot be written gives exit code 99.
    orv_test::ScratchFolder folder("start-recorder");
    orv_test::ScopedEnvironment environment("ORV_CHECKNET_RECORD", (folder / "missing" / "record.txt").string());
    const std::string checknet = (orv_test::TestProgramFolder() / "checknet.exe").string();
    EXPECT_EQ(RunProgram(checknet, "-DOTNETVERSION=4", folder.Path()), 99);
}

} // namespace

#endif
