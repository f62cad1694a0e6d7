// The web server that publishes update manifests and packages, as the update
// check sees it: an HTTP/1.1 server on 127.0.0.1 that serves the files of a
// folder and lets a test choose, per path, how each reply goes wrong.
//
//   UpdateServer --root DIR [--script FILE] [--log FILE] [--port-file FILE]
//                [--port N] [--lifetime MS]
//
// The server listens on 127.0.0.1 at port N (0, the default, lets the system
// choose a free one). Once it listens it prints "port=<n>" as the first line
// of its output and, with --port-file, writes "<n>\n" to FILE (complete, by
// rename). It ends when it is killed, or by itself after --lifetime ms
// (default 600000), so that a test that dies never leaves it running.
//
// GET and HEAD of "/a/b" serve DIR/a/b (200), or 404 when there is no such
// file; the query part is ignored, and a path with a ".." segment gets 403.
// Every reply carries "Cache-Control: no-cache, no-store", "Pragma: no-cache"
// and "Expires: 0". Connections are kept alive as HTTP/1.1 says, unless the
// client asks to close or a behaviour below ends the connection.
//
// The script file, read afresh for every request, holds one rule a line:
//   <path> <directive> ...        ("*" as the path matches every path)
// The first rule whose path equals the request's path (without its query)
// applies; '#' starts a comment line. Directives:
//   status=N     reply with status N (its body: the file if there is one,
//                else a short text)
//   file=REL     serve DIR/REL instead of the requested file
//   empty        an empty body (Content-Length: 0)
//   delay=MS     hold the request MS ms before replying
//   rate=BPS     send the body at about BPS bytes per second
//   length=N     declare Content-Length N; length=+N declares N more than
//                the body has. A declared length above what is sent closes
//                the connection after the body; one below it sends only
//                that many bytes.
//   cut=N        send only the first N bytes of the body (the full length
//                declared), then close
//   nolength     no Content-Length: the body ends when the connection closes
//   drop         close the connection without replying
//
// The log file gets two tab-separated lines for each request, flushed at once:
//   request <n> <method> <target> <version> <header: value> ...
//   reply <n> <status> <declared length or -> <body bytes sent> <end>
// where <end> is "complete", "cut" (the reply ended early by the script),
// "aborted" (the client went away during the reply) or "dropped".
//
// Exit codes: 0 never (the server runs until stopped), 1 for bad arguments,
// 2 when it cannot listen, 3 when its lifetime is over.
//
// It is built natively and for Windows from this one source. Tests under
// Wine start the Windows build with CreateProcess and end it with
// TerminateProcess: Wine cannot start a Linux program as a process that a
// Windows program can wait for and kill, and Wine's sockets reach the
// Windows build on 127.0.0.1 like any other. tests/support/UpdateServer.h
// starts either build for a test.
#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#if defined(_WIN32)
#  include <winsock2.h>
#  include <ws2tcpip.h>
using Socket = SOCKET;
constexpr Socket kNoSocket = INVALID_SOCKET;
constexpr int kSendFlags = 0;
void CloseSocket(Socket s) { closesocket(s); }
#else
#  include <arpa/inet.h>
#  include <netinet/in.h>
#  include <netinet/tcp.h>
#  include <sys/socket.h>
#  include <unistd.h>
using Socket = int;
constexpr Socket kNoSocket = -1;
constexpr int kSendFlags = MSG_NOSIGNAL;
void CloseSocket(Socket s) { ::close(s); }
#endif

namespace fs = std::filesystem;

namespace {

struct Options {
    fs::path root;
    fs::path script;
    fs::path log;
    fs::path portFile;
    int port = 0;
    long lifetimeMs = 600000;
};

// How one path is to be answered; the defaults are a plain reply.
struct Rule {
    int status = 0; // 0: 200 for a file, 404 without one
    std::string file;
    bool empty = false;
    long delayMs = 0;
    long rate = 0;
    std::optional<long long> length;
    bool lengthRelative = false;
    std::optional<long long> cut;
    bool noLength = false;
    bool drop = false;
};

Options g_options;
std::mutex g_logLock;
std::atomic<long> g_requestCount{0};

void Log(const std::string& line)
{
    if (g_options.log.empty())
        return;
    std::lock_guard<std::mutex> lock(g_logLock);
    std::ofstream out(g_options.log, std::ios::binary | std::ios::app);
    out << line << '\n';
}

std::string ReadWhole(const fs::path& path, bool& found)
{
    std::ifstream in(path, std::ios::binary);
    found = static_cast<bool>(in);
    return found ? std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()) : std::string();
}

bool ParseNumber(const std::string& text, long long& value)
{
    if (text.empty() || !std::all_of(text.begin(), text.end(), [](unsigned char c) { return std::isdigit(c); }))
        return false;
    value = std::strtoll(text.c_str(), nullptr, 10);
    return true;
}

// The first rule of the script for the path; a directive the server does not
// know makes the reply a 500, so a mistyped script shows at once.
Rule FindRule(const std::string& path, bool& scriptError)
{
    scriptError = false;
    Rule rule;
    if (g_options.script.empty())
        return rule;
    std::ifstream in(g_options.script, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string rulePath;
        if (!(words >> rulePath) || rulePath[0] == '#' || (rulePath != path && rulePath != "*"))
            continue;
        std::string word;
        while (words >> word) {
            const auto equals = word.find('=');
            const std::string key = word.substr(0, equals);
            const std::string value = equals == std::string::npos ? std::string() : word.substr(equals + 1);
            long long number = 0;
            const bool numeric = ParseNumber(value, number);
            if (key == "status" && numeric && number >= 100 && number <= 999) {
                rule.status = static_cast<int>(number);
            } else if (key == "file" && !value.empty()) {
                rule.file = value;
            } else if (word == "empty") {
                rule.empty = true;
            } else if (key == "delay" && numeric) {
                rule.delayMs = static_cast<long>(number);
            } else if (key == "rate" && numeric && number > 0) {
                rule.rate = static_cast<long>(number);
            } else if (key == "length" && !value.empty() && value[0] == '+' && ParseNumber(value.substr(1), number)) {
                rule.length = number;
                rule.lengthRelative = true;
            } else if (key == "length" && numeric) {
                rule.length = number;
            } else if (key == "cut" && numeric) {
                rule.cut = number;
            } else if (word == "nolength") {
                rule.noLength = true;
            } else if (word == "drop") {
                rule.drop = true;
            } else {
                scriptError = true;
            }
        }
        return rule;
    }
    return rule;
}

const char* Reason(int status)
{
    switch (status) {
    case 200: return "OK";
    case 400: return "Bad Request";
    case 403: return "Forbidden";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 500: return "Internal Server Error";
    case 503: return "Service Unavailable";
    default: return "Status";
    }
}

std::string Lower(std::string text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Sends all of data; false when the client has gone.
bool SendAll(Socket s, const char* data, size_t size)
{
    while (size > 0) {
        const int sent = ::send(s, data, static_cast<int>(std::min<size_t>(size, 65536)), kSendFlags);
        if (sent <= 0)
            return false;
        data += sent;
        size -= static_cast<size_t>(sent);
    }
    return true;
}

struct Request {
    std::string method, target, version;
    std::vector<std::pair<std::string, std::string>> headers;

    std::string Header(const std::string& name) const
    {
        for (const auto& [key, value] : headers)
            if (Lower(key) == Lower(name))
                return value;
        return {};
    }
};

// Reads one request head (and skips its body) from the connection; false at
// the end of the connection or on a malformed request.
bool ReadRequest(Socket s, std::string& buffer, Request& request)
{
    size_t end;
    while ((end = buffer.find("\r\n\r\n")) == std::string::npos) {
        if (buffer.size() > 65536)
            return false;
        char chunk[4096];
        const int got = ::recv(s, chunk, sizeof chunk, 0);
        if (got <= 0)
            return false;
        buffer.append(chunk, static_cast<size_t>(got));
    }
    std::istringstream head(buffer.substr(0, end));
    buffer.erase(0, end + 4);
    std::string line;
    std::getline(head, line);
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    std::istringstream first(line);
    if (!(first >> request.method >> request.target >> request.version))
        return false;
    while (std::getline(head, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const auto colon = line.find(':');
        if (colon == std::string::npos)
            continue;
        std::string value = line.substr(colon + 1);
        value.erase(0, value.find_first_not_of(" \t"));
        request.headers.emplace_back(line.substr(0, colon), value);
    }
    long long bodySize = 0;
    if (ParseNumber(request.Header("Content-Length"), bodySize)) {
        while (static_cast<long long>(buffer.size()) < bodySize) {
            char chunk[4096];
            const int got = ::recv(s, chunk, sizeof chunk, 0);
            if (got <= 0)
                return false;
            buffer.append(chunk, static_cast<size_t>(got));
        }
        buffer.erase(0, static_cast<size_t>(bodySize));
    }
    return true;
}

void LogRequest(const Request& request, long number)
{
    std::string line = "request\t" + std::to_string(number) + "\t" + request.method + "\t" + request.target + "\t" + request.version;
    for (const auto& [key, value] : request.headers)
        line += "\t" + key + ": " + value;
    Log(line);
}

void LogReply(long number, int status, const std::string& declared, long long sent, const char* end)
{
    Log("reply\t" + std::to_string(number) + "\t" + std::to_string(status) + "\t" + declared + "\t"
        + std::to_string(sent) + "\t" + end);
}

// The status and body for the request under its rule: the script's status
// or 200/404 by whether the file exists, and the file or a short text.
std::pair<int, std::string> Resolve(const Request& request, const std::string& path, const Rule& rule, bool scriptError)
{
    if (scriptError)
        return {500, "unknown directive in script\n"};
    const fs::path relative = fs::path(rule.file.empty() ? path : "/" + rule.file).relative_path();
    const bool escapes = std::any_of(relative.begin(), relative.end(), [](const fs::path& part) { return part == ".."; });
    int status = rule.status;
    bool found = false;
    std::string body;
    if (request.method != "GET" && request.method != "HEAD")
        status = 405;
    else if (escapes || path.empty() || path[0] != '/')
        status = 403;
    else
        body = ReadWhole(g_options.root / relative, found);
    if (status == 0)
        status = found ? 200 : 404;
    if (!found)
        body = std::string(Reason(status)) + "\n";
    if (rule.empty)
        body.clear();
    return {status, body};
}

std::string HeadText(int status, const std::string& path, std::optional<long long> length, bool keepAlive)
{
    std::string head = "HTTP/1.1 " + std::to_string(status) + " " + Reason(status) + "\r\n";
    const bool xml = path.ends_with(".manifest") || path.ends_with(".xml");
    head += std::string("Content-Type: ") + (xml ? "text/xml" : "application/octet-stream") + "\r\n";
    if (length)
        head += "Content-Length: " + std::to_string(*length) + "\r\n";
    head += "Cache-Control: no-cache, no-store\r\nPragma: no-cache\r\nExpires: 0\r\n";
    return head + "Connection: " + (keepAlive ? "keep-alive" : "close") + "\r\n\r\n";
}

// Sends the first count bytes of body, at the rule's rate if it has one;
// the bytes sent, which fall short of count when the client has gone.
long long SendBody(Socket s, const std::string& body, long long count, long rate)
{
    const long long slice = rate > 0 ? std::max(1L, rate / 20) : count;
    long long sent = 0;
    while (sent < count) {
        const long long part = std::min(slice, count - sent);
        if (!SendAll(s, body.data() + sent, static_cast<size_t>(part)))
            return sent;
        sent += part;
        if (rate > 0 && sent < count)
            std::this_thread::sleep_for(std::chrono::milliseconds(1000 * part / rate));
    }
    return sent;
}

// Answers one request; false when the connection is to be closed.
bool Answer(Socket s, const Request& request, long number)
{
    LogRequest(request, number);
    const std::string path = request.target.substr(0, request.target.find('?'));
    bool scriptError = false;
    const Rule rule = FindRule(path, scriptError);
    if (rule.drop) {
        LogReply(number, 0, "-", 0, "dropped");
        return false;
    }
    if (rule.delayMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(rule.delayMs));

    const auto [status, body] = Resolve(request, path, rule, scriptError);
    const long long size = static_cast<long long>(body.size());
    const long long declared = rule.length ? (rule.lengthRelative ? size + *rule.length : *rule.length) : size;
    const bool head = request.method == "HEAD";
    const long long toSend = head ? 0 : std::min({size, rule.cut.value_or(size), rule.noLength ? size : declared});
    const std::string connection = Lower(request.Header("Connection"));
    const bool keepAlive = (request.version == "HTTP/1.1" ? connection != "close" : connection == "keep-alive")
        && !rule.noLength && (head || (toSend == declared && !rule.cut));

    const std::string declaredText = rule.noLength ? "-" : std::to_string(declared);
    const std::string headText = HeadText(status, path, rule.noLength ? std::nullopt : std::optional(declared), keepAlive);
    if (!SendAll(s, headText.data(), headText.size())) {
        LogReply(number, status, declaredText, 0, "aborted");
        return false;
    }
    const long long sent = SendBody(s, body, toSend, rule.rate);
    LogReply(number, status, declaredText, sent, sent < toSend ? "aborted" : head || sent == size ? "complete" : "cut");
    return keepAlive && sent == toSend;
}

void Serve(Socket s)
{
    std::string buffer;
    Request request;
    while (ReadRequest(s, buffer, request)) {
        if (!Answer(s, request, ++g_requestCount))
            break;
        request = Request();
    }
#if defined(_WIN32)
    ::shutdown(s, SD_SEND);
#else
    ::shutdown(s, SHUT_WR);
#endif
    CloseSocket(s);
}

bool ParseArguments(int argc, char** argv)
{
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const std::string value = argv[i + 1];
        long long number = 0;
        if (name == "--root")
            g_options.root = value;
        else if (name == "--script")
            g_options.script = value;
        else if (name == "--log")
            g_options.log = value;
        else if (name == "--port-file")
            g_options.portFile = value;
        else if (name == "--port" && ParseNumber(value, number) && number <= 65535)
            g_options.port = static_cast<int>(number);
        else if (name == "--lifetime" && ParseNumber(value, number) && number > 0)
            g_options.lifetimeMs = static_cast<long>(number);
        else
            return false;
    }
    return argc % 2 == 1 && !g_options.root.empty();
}

bool WritePortFile(int port)
{
    const fs::path temporary = g_options.portFile.string() + ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << port << '\n';
        if (!out)
            return false;
    }
    std::error_code error;
    fs::rename(temporary, g_options.portFile, error);
    return !error;
}

} // namespace

int main(int argc, char** argv)
{
    if (!ParseArguments(argc, argv)) {
        std::fprintf(stderr,
            "usage: UpdateServer --root DIR [--script FILE] [--log FILE] [--port-file FILE] [--port N] [--lifetime MS]\n");
        return 1;
    }
#if defined(_WIN32)
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return 2;
#endif
    const Socket listener = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<unsigned short>(g_options.port));
    socklen_t length = sizeof address;
    if (listener == kNoSocket || ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0
        || ::listen(listener, 16) != 0 || ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        std::fprintf(stderr, "UpdateServer: cannot listen on 127.0.0.1:%d\n", g_options.port);
        return 2;
    }
    const int port = ntohs(address.sin_port);
    if (!g_options.portFile.empty() && !WritePortFile(port)) {
        std::fprintf(stderr, "UpdateServer: cannot write %s\n", g_options.portFile.string().c_str());
        return 2;
    }
    std::printf("port=%d\n", port);
    std::fflush(stdout);

    std::thread([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(g_options.lifetimeMs));
        std::fflush(nullptr);
        std::_Exit(3);
    }).detach();

    for (;;) {
        const Socket client = ::accept(listener, nullptr, nullptr);
        if (client == kNoSocket)
            continue;
        int on = 1;
        ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
        std::thread(Serve, client).detach();
    }
}
