#include "update/loopback_server.h"

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
using SocketLength = int;
#else
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
using SocketLength = socklen_t;
#endif

#include <algorithm>
#include <chrono>
#include <cstring>

namespace kodrin::test {

namespace {

#ifdef _WIN32
using Socket = SOCKET;
void CloseSocket(std::intptr_t s) { ::closesocket(static_cast<SOCKET>(s)); }
bool Readable(std::intptr_t s, int ms) {
    WSAPOLLFD fd{static_cast<SOCKET>(s), POLLRDNORM, 0};
    return ::WSAPoll(&fd, 1, ms) > 0;
}
#else
using Socket = int;
void CloseSocket(std::intptr_t s) { ::close(static_cast<int>(s)); }
bool Readable(std::intptr_t s, int ms) {
    pollfd fd{static_cast<int>(s), POLLIN, 0};
    return ::poll(&fd, 1, ms) > 0;
}
#endif

bool SendAll(std::intptr_t s, const char* data, std::size_t size) {
    while (size > 0) {
        const auto sent = ::send(static_cast<Socket>(s), data, static_cast<int>(size), 0);
        if (sent <= 0) return false;
        data += sent;
        size -= static_cast<std::size_t>(sent);
    }
    return true;
}

const char* Reason(int status) {
    switch (status) {
        case 200: return "OK";
        case 302: return "Found";
        case 404: return "Not Found";
        case 500: return "Internal Server Error";
        default: return "Status";
    }
}

std::string Head(int status, const std::string& type, long long length, const std::string& extra = {}) {
    std::string head = "HTTP/1.1 " + std::to_string(status) + " " + Reason(status) + "\r\n";
    head += "Content-Type: " + type + "\r\nConnection: close\r\n";
    if (length >= 0) head += "Content-Length: " + std::to_string(length) + "\r\n";
    return head + extra + "\r\n";
}

}  // namespace

LoopbackServer::LoopbackServer() {
#ifdef _WIN32
    WSADATA data;
    if (::WSAStartup(MAKEWORD(2, 2), &data) != 0) return;
#endif
    const Socket s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
#ifdef _WIN32
    if (s == INVALID_SOCKET) return;
#else
    if (s < 0) return;
#endif
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    SocketLength length = sizeof address;
    if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(s, 64) != 0 ||
        ::getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        CloseSocket(static_cast<std::intptr_t>(s));
        return;
    }
    listener_ = static_cast<std::intptr_t>(s);
    port_ = ntohs(address.sin_port);
    acceptor_ = std::thread([this] { AcceptLoop(); });
}

LoopbackServer::~LoopbackServer() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    stopped_.notify_all();
    if (acceptor_.joinable()) acceptor_.join();
    for (std::thread& t : handlers_) t.join();
    if (listener_ != -1) CloseSocket(listener_);
#ifdef _WIN32
    ::WSACleanup();
#endif
}

std::string LoopbackServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::u16string LoopbackServer::Url16(const std::string& path) const {
    const std::string url = Url(path);
    return std::u16string(url.begin(), url.end());
}

void LoopbackServer::Serve(const std::string& path, Answer answer) {
    const std::lock_guard<std::mutex> lock(mutex_);
    answers_[path] = std::move(answer);
}

std::string LoopbackServer::Pattern(std::size_t size) {
    std::string bytes(size, '\0');
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>(PatternByte(i));
    return bytes;
}

bool LoopbackServer::Wait(int ms) {
    std::unique_lock<std::mutex> lock(mutex_);
    return !stopped_.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stopping_.load(); });
}

void LoopbackServer::AcceptLoop() {
    while (!stopping_) {
        if (!Readable(listener_, 50)) continue;
        const auto client = ::accept(static_cast<Socket>(listener_), nullptr, nullptr);
#ifdef _WIN32
        if (client == INVALID_SOCKET) continue;
#else
        if (client < 0) continue;
#endif
        const std::lock_guard<std::mutex> lock(mutex_);
        handlers_.emplace_back([this, c = static_cast<std::intptr_t>(client)] { Handle(c); });
    }
}

void LoopbackServer::Handle(std::intptr_t client) {
    std::string request;
    char buffer[2048];
    while (request.find("\r\n\r\n") == std::string::npos && request.size() < 65536) {
        if (!Readable(client, 5000)) break;
        const auto got = ::recv(static_cast<Socket>(client), buffer, sizeof buffer, 0);
        if (got <= 0) break;
        request.append(buffer, static_cast<std::size_t>(got));
    }
    const std::size_t pathStart = request.find(' ');
    const std::size_t pathEnd = pathStart == std::string::npos ? pathStart : request.find(' ', pathStart + 1);
    if (pathEnd == std::string::npos) {
        CloseSocket(client);
        return;
    }
    const std::string path = request.substr(pathStart + 1, pathEnd - pathStart - 1);
    ++requests_;
    const int now = ++atOnce_;
    for (int most = mostAtOnce_; now > most && !mostAtOnce_.compare_exchange_weak(most, now);) {
    }
    const auto number = [&path](std::size_t prefix) {
        return static_cast<std::size_t>(std::strtoull(path.c_str() + prefix, nullptr, 10));
    };
    std::string reply;
    if (Wait(delayMs_)) {
        if (path.starts_with("/bytes/")) {
            const std::string body = Pattern(number(7));
            reply = Head(200, "application/octet-stream", static_cast<long long>(body.size())) + body;
        } else if (path.starts_with("/nolength/")) {
            reply = Head(200, "application/octet-stream", -1) + Pattern(number(10));
        } else if (path.starts_with("/status/")) {
            const int status = static_cast<int>(number(8));
            const std::string body = "<html><body><h1>" + std::to_string(status) + " Error</h1></body></html>";
            reply = Head(status, "text/html", static_cast<long long>(body.size())) + body;
        } else if (path.starts_with("/redirect/")) {
            reply = Head(302, "text/html", 0, "Location: " + Url(path.substr(9)) + "\r\n");
        } else if (path == "/stall") {
            while (Wait(100)) {
            }
        } else if (path.starts_with("/half/")) {
            const std::size_t size = number(6);
            reply = Head(200, "application/octet-stream", static_cast<long long>(size)) + Pattern(size / 2);
        } else if (path.starts_with("/trickle/")) {
            const std::size_t size = number(9);
            const std::string head = Head(200, "application/octet-stream", static_cast<long long>(size));
            const std::string first = Pattern(4096);
            if (SendAll(client, head.data(), head.size()) && SendAll(client, first.data(), first.size())) {
                while (Wait(100)) {
                }
            }
        } else {
            Answer answer{404, "<html><body>Not Found</body></html>", "text/html"};
            {
                const std::lock_guard<std::mutex> lock(mutex_);
                if (const auto it = answers_.find(path); it != answers_.end()) answer = it->second;
            }
            reply = Head(answer.status, answer.contentType, static_cast<long long>(answer.body.size())) + answer.body;
            if (answer.holdMs > 0) {
                const std::size_t head = reply.size() - answer.body.size();
                if (!SendAll(client, reply.data(), head) || !Wait(answer.holdMs)) reply.clear();
                reply.erase(0, std::min(head, reply.size()));
            }
        }
    }
    if (!reply.empty()) SendAll(client, reply.data(), reply.size());
    --atOnce_;
#ifdef _WIN32
    ::shutdown(static_cast<Socket>(client), SD_SEND);
#else
    ::shutdown(static_cast<int>(client), SHUT_WR);
#endif
    CloseSocket(client);
}

}  // namespace kodrin::test
