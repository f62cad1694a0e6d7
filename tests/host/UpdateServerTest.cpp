// The update web server, started as a child process and spoken to over a
// plain socket.
#include "support/UpdateServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

#if defined(_WIN32)
#  include <winsock2.h>
#  include <windows.h>
#else
#  include <arpa/inet.h>
#  include <netinet/in.h>
#  include <sys/socket.h>
#  include <unistd.h>
#endif

namespace {

#if defined(_WIN32)
using Socket = SOCKET;
void CloseSocket(Socket s) { closesocket(s); }
#else
using Socket = int;
void CloseSocket(Socket s) { ::close(s); }
#endif

struct Reply {
    std::string head; // status line and headers
    std::string body;
    bool closed = false; // the server closed the connection
    bool HasHeader(const std::string& line) const { return head.find("\r\n" + line + "\r\n") != std::string::npos; }
};

// A client connection to the server on 127.0.0.1.
class Client {
public:
    explicit Client(int port)
    {
#if defined(_WIN32)
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
#endif
        m_socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        address.sin_port = htons(static_cast<unsigned short>(port));
        m_connected = ::connect(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~Client() { CloseSocket(m_socket); }

    bool Get(const std::string& path, const std::string& extraHeaders = "")
    {
        const std::string request = "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\n" + extraHeaders + "\r\n";
        return m_connected && ::send(m_socket, request.data(), static_cast<int>(request.size()), 0) == static_cast<int>(request.size());
    }

    // Reads one reply: up to its Content-Length, else to the connection's
    // end; gives up after timeoutMs.
    Reply Read(int timeoutMs = 5000)
    {
        // A receive that waits no longer than the whole read may.
#if defined(_WIN32)
        const DWORD timeout = static_cast<DWORD>(timeoutMs);
#else
        const timeval timeout{timeoutMs / 1000, (timeoutMs % 1000) * 1000};
#endif
        ::setsockopt(m_socket, SOL_SOCKET, SO_RCVTIMEO, reinterpret_cast<const char*>(&timeout), sizeof timeout);
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        Reply reply;
        size_t headEnd = std::string::npos;
        long long length = -1;
        for (;;) {
            if (headEnd == std::string::npos && (headEnd = m_buffer.find("\r\n\r\n")) != std::string::npos) {
                reply.head = m_buffer.substr(0, headEnd + 2);
                m_buffer.erase(0, headEnd + 4);
                const auto at = reply.head.find("Content-Length: ");
                if (at != std::string::npos)
                    length = std::stoll(reply.head.substr(at + 16));
            }
            if (headEnd != std::string::npos && length >= 0 && static_cast<long long>(m_buffer.size()) >= length) {
                reply.body = m_buffer.substr(0, static_cast<size_t>(length));
                m_buffer.erase(0, static_cast<size_t>(length));
                return reply;
            }
            char chunk[4096];
            const int got = std::chrono::steady_clock::now() < deadline ? ::recv(m_socket, chunk, sizeof chunk, 0) : -1;
            if (got <= 0) {
                reply.closed = got == 0;
                reply.body = m_buffer;
                m_buffer.clear();
                return reply;
            }
            m_buffer.append(chunk, static_cast<size_t>(got));
        }
    }

private:
    Socket m_socket;
    bool m_connected = false;
    std::string m_buffer;
};

const std::string kManifest = "<CAutoUpdateManifest UrlOfUpdate=\"x\"/>";

class UpdateServerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_server.Put("release/update.manifest", kManifest);
        for (int i = 0; i < 3000; ++i)
            m_package += static_cast<char>('a' + i % 26);
        m_server.Put("packages/Setup.exe", m_package);
    }

    // The server's log entry for request n (1-based), once its reply ended.
    orv_test::UpdateServer::Request Logged(size_t n)
    {
        for (int i = 0; i < 500; ++i) {
            const auto requests = m_server.Requests();
            if (requests.size() >= n && !requests[n - 1].end.empty())
                return requests[n - 1];
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return {};
    }

    orv_test::ScratchFolder m_folder{"update-server"};
    orv_test::UpdateServer m_server{m_folder.Path()};
    std::string m_package;
};

TEST_F(UpdateServerTest, ServesFilesWithNoCacheHeadersOnKeptConnectionsLogsEachRequestAndStops)
{
    ASSERT_TRUE(m_server.Start());
    Client client(m_server.Port());
    ASSERT_TRUE(client.Get("/release/update.manifest?x=1", "X-Probe: one\r\n"));
    const Reply found = client.Read();
    ASSERT_TRUE(client.Get("/beta/update.manifest", "Connection: close\r\n"));
    const Reply missing = client.Read();

    EXPECT_EQ(found.head.substr(0, 17), "HTTP/1.1 200 OK\r\n");
    for (const Reply* reply : {&found, &missing}) {
        EXPECT_TRUE(reply->HasHeader("Cache-Control: no-cache, no-store"));
        EXPECT_TRUE(reply->HasHeader("Pragma: no-cache"));
        EXPECT_TRUE(reply->HasHeader("Expires: 0"));
    }
    EXPECT_FALSE(found.closed);
    EXPECT_EQ(missing.head.substr(0, 24), "HTTP/1.1 404 Not Found\r\n");

    const auto first = Logged(1);
    EXPECT_EQ(first.method, "GET");
    EXPECT_EQ(first.target, "/release/update.manifest?x=1");
    EXPECT_TRUE(first.HasHeader("X-Probe: one"));

    // Stopped, the server is gone and takes no connection.
    const int port = m_server.Port();
    m_server.Stop();
    EXPECT_FALSE(m_server.Running());
    EXPECT_FALSE(Client(port).Get("/release/update.manifest"));
}

TEST_F(UpdateServerTest, ScriptChoosesEachPathsReply)
{
    struct Row {
        const char* rule;
        int status;
        const char* contentLength; // nullptr: no such header
        size_t bodyBytes;
        bool closes;
        const char* end;
    };
    const Row rows[] = {
        {"status=404", 404, "3000", 3000, false, "complete"},
        {"empty", 200, "0", 0, false, "complete"},
        {"length=+100", 200, "3100", 3000, true, "complete"},
        {"length=5", 200, "5", 5, false, "cut"},
        {"cut=1000", 200, "3000", 1000, true, "cut"},
        {"nolength", 200, nullptr, 3000, true, "complete"},
        {"drop", 0, nullptr, 0, true, "dropped"},
        {"frobnicate", 500, "28", 28, false, "complete"},
    };
    ASSERT_TRUE(m_server.Start());
    size_t number = 0;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.rule);
        m_server.Script("# served under another name\n/get file=packages/Setup.exe " + std::string(row.rule) + "\n");
        Client client(m_server.Port());
        ASSERT_TRUE(client.Get("/get"));
        const Reply reply = client.Read();
        // The status line; no reply at all on a dropped connection.
        EXPECT_EQ(reply.head.substr(0, 13), row.status != 0 ? "HTTP/1.1 " + std::to_string(row.status) + " " : "");
        if (row.contentLength != nullptr) {
            EXPECT_TRUE(reply.HasHeader("Content-Length: " + std::string(row.contentLength))) << reply.head;
        } else {
            EXPECT_EQ(reply.head.find("Content-Length"), std::string::npos);
        }
        EXPECT_EQ(reply.body.size(), row.bodyBytes);
        if (row.status == 200) {
            EXPECT_EQ(reply.body, m_package.substr(0, row.bodyBytes));
        }
        if (row.closes) {
            EXPECT_TRUE(reply.closed || client.Read(2000).closed);
        }
        const auto logged = Logged(++number);
        EXPECT_EQ(logged.status, row.status);
        EXPECT_EQ(logged.bodyBytes, static_cast<long long>(row.bodyBytes));
        EXPECT_EQ(logged.end, row.end);
    }
}

TEST_F(UpdateServerTest, DelayHoldsTheRequestAndRateThrottlesTheBodyUntilTheClientLeaves)
{
    m_server.Script("/release/update.manifest delay=1500\n/packages/Setup.exe rate=2000\n");
    ASSERT_TRUE(m_server.Start());
    {
        Client client(m_server.Port());
        ASSERT_TRUE(client.Get("/release/update.manifest"));
        EXPECT_TRUE(client.Read(300).head.empty()); // still held
        EXPECT_EQ(client.Read().body, kManifest);
    }
    {
        Client client(m_server.Port());
        ASSERT_TRUE(client.Get("/packages/Setup.exe"));
        const Reply partial = client.Read(400);
        EXPECT_TRUE(partial.HasHeader("Content-Length: 3000"));
        EXPECT_LT(partial.body.size(), 3000u);
    } // the client goes away in mid-body
    const auto logged = Logged(2);
    EXPECT_EQ(logged.end, "aborted");
    EXPECT_LT(logged.bodyBytes, 3000);
}

} // namespace
