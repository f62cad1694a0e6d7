// Test support: the update web server (host/http/UpdateServer.cpp) run as a
// child process for one test. The program is found beside the test program.
// Its files, script and request log live in a folder the test gives:
//   <folder>/root/       the files it serves (Put)
//   <folder>/script.txt  the per-path behaviours (Script), read per request
//   <folder>/requests.log  what was asked (Requests)
// Start launches it and waits for its port; Stop, or the destructor, kills it
// and waits for it to end, so no server outlives its test. Natively the
// server also dies with the test process; under Windows it belongs to a job
// that is closed with the test process, and its own lifetime limit ends it
// in any case.
#pragma once

#include "support/ScratchFolder.h"

#include <algorithm>
#include <chrono>
#include <thread>

#if defined(_WIN32)
#  include <winsock2.h> // before windows.h, for tests that use sockets too
#  include <windows.h>
#else
#  include <csignal>
#  include <cstdio>
#  include <sys/prctl.h>
#  include <sys/wait.h>
#  include <unistd.h>
#endif

namespace orv_test {

// The folder of the running test program.
inline std::filesystem::path TestProgramFolder()
{
#if defined(_WIN32)
    char path[MAX_PATH + 1] = "";
    ::GetModuleFileNameA(nullptr, path, sizeof path);
    return std::filesystem::path(path).parent_path();
#else
    return std::filesystem::read_symlink("/proc/self/exe").parent_path();
#endif
}

class UpdateServer {
public:
    // One request the server logged, with the reply it gave.
    struct Request {
        std::string method, target;
        std::vector<std::string> headers; // "Name: value", as received
        int status = 0;                   // 0 when the connection was dropped
        long long bodyBytes = 0;          // body bytes sent
        std::string end;                  // complete, cut, aborted or dropped; empty while replying

        bool HasHeader(const std::string& line) const
        {
            return std::find(headers.begin(), headers.end(), line) != headers.end();
        }
    };

    explicit UpdateServer(std::filesystem::path folder) : m_folder(std::move(folder))
    {
        std::filesystem::create_directories(m_folder / "root");
    }
    ~UpdateServer() { Stop(); }
    UpdateServer(const UpdateServer&) = delete;
    UpdateServer& operator=(const UpdateServer&) = delete;

    // Writes a file the server serves at "/<relative>".
    void Put(const std::string& relative, const std::string& bytes) const { WriteFile(m_folder / "root" / relative, bytes); }
    std::filesystem::path Root() const { return m_folder / "root"; }
    // Replaces the script: lines "<path> <directive> ...".
    void Script(const std::string& text) const { WriteFile(m_folder / "script.txt", text); }
    int Port() const { return m_port; }
    std::string Url(const std::string& path) const { return "http://127.0.0.1:" + std::to_string(m_port) + path; }

    // Starts the server and waits up to 10 s for its port; false when it
    // could not be started or did not report one.
    bool Start()
    {
        Stop();
        const auto portFile = m_folder / "port.txt";
        std::filesystem::remove(portFile);
        if (!std::filesystem::exists(m_folder / "script.txt"))
            Script("");
        const std::vector<std::string> arguments = {"--root", (m_folder / "root").string(), "--script",
            (m_folder / "script.txt").string(), "--log", (m_folder / "requests.log").string(), "--port-file",
            portFile.string(), "--lifetime", "300000"};
        if (!Launch(arguments))
            return false;
        for (int i = 0; i < 1000 && Running(); ++i) {
            const std::string text = ReadFile(portFile);
            if (!text.empty()) {
                m_port = std::stoi(text);
                return true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        Stop();
        return false;
    }

    // Kills the server and waits for it to end.
    void Stop()
    {
#if defined(_WIN32)
        if (m_process != nullptr) {
            ::TerminateProcess(m_process, 9);
            ::WaitForSingleObject(m_process, 10000);
            ::CloseHandle(m_process);
            m_process = nullptr;
        }
        if (m_job != nullptr) {
            ::CloseHandle(m_job);
            m_job = nullptr;
        }
#else
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
            m_pid = -1;
        }
#endif
        m_port = 0;
    }

    bool Running() const
    {
#if defined(_WIN32)
        return m_process != nullptr && ::WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT;
#else
        if (m_pid > 0 && ::waitpid(m_pid, nullptr, WNOHANG) != 0)
            m_pid = -1; // ended, and now reaped
        return m_pid > 0;
#endif
    }

    // The log read as requests, in the order the server numbered them.
    std::vector<Request> Requests() const
    {
        std::vector<Request> requests;
        for (const std::vector<std::string>& fields : ReadRecords(m_folder / "requests.log")) {
            if (fields.size() < 2)
                continue;
            const size_t number = std::stoul(fields[1]);
            if (requests.size() < number)
                requests.resize(number);
            Request& request = requests[number - 1];
            if (fields[0] == "request" && fields.size() >= 5) {
                request.method = fields[2];
                request.target = fields[3];
                request.headers.assign(fields.begin() + 5, fields.end());
            } else if (fields[0] == "reply" && fields.size() == 6) {
                request.status = std::stoi(fields[2]);
                request.bodyBytes = std::stoll(fields[4]);
                request.end = fields[5];
            }
        }
        return requests;
    }

private:
    bool Launch(const std::vector<std::string>& arguments)
    {
#if defined(_WIN32)
        const std::string program = (TestProgramFolder() / "UpdateServer.exe").string();
        std::string commandLine = "\"" + program + "\"";
        for (const auto& argument : arguments)
            commandLine += " \"" + argument + "\"";
        m_job = ::CreateJobObjectA(nullptr, nullptr);
        if (m_job != nullptr) {
            JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
            limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
            ::SetInformationJobObject(m_job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        }
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        if (!::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE,
                CREATE_NO_WINDOW | CREATE_SUSPENDED, nullptr, nullptr, &startup, &info))
            return false;
        if (m_job != nullptr)
            ::AssignProcessToJobObject(m_job, info.hProcess);
        ::ResumeThread(info.hThread);
        ::CloseHandle(info.hThread);
        m_process = info.hProcess;
        return true;
#else
        const std::string program = (TestProgramFolder() / "UpdateServer").string();
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const auto& argument : arguments)
            argv.push_back(const_cast<char*>(argument.c_str()));
        argv.push_back(nullptr);
        const pid_t parent = ::getpid();
        m_pid = ::fork();
        if (m_pid == 0) {
            ::prctl(PR_SET_PDEATHSIG, SIGKILL);
            if (::getppid() != parent)
                ::_exit(126);
            // Its first line, the port, is for people starting it by hand.
            if (FILE* null = std::fopen("/dev/null", "w"))
                ::dup2(::fileno(null), STDOUT_FILENO);
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
        return m_pid > 0;
#endif
    }

    std::filesystem::path m_folder;
    int m_port = 0;
#if defined(_WIN32)
    HANDLE m_process = nullptr;
    HANDLE m_job = nullptr;
#else
    mutable pid_t m_pid = -1;
#endif
};

} // namespace orv_test
