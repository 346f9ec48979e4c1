// A small HTTP server on the loopback address for the update tests and the
// benchmark: a free port, one thread per connection, one answer per
// connection ("Connection: close"). Paths:
//   /bytes/N      N bytes (byte i is PatternByte(i)) with Content-Length
//   /nolength/N   the same bytes without Content-Length
//   /status/N     status N with a small HTML error page
//   /redirect/P   302 to /P
//   /stall        never answers (until the server stops)
//   /half/N       announces N bytes, sends half of them, closes
//   /trickle/N    announces N bytes, sends 4,096, then stalls
//   anything set with Serve(): its answer (with holdMs: the head at once,
//                 the body that much later)
// Every answer waits SetDelay() milliseconds first.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace kodrin::test {

class LoopbackServer {
public:
    struct Answer {
        int status = 200;
        std::string body;
        std::string contentType = "text/xml";
        int holdMs = 0;
    };

    LoopbackServer();
    ~LoopbackServer();
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    bool Running() const { return port_ != 0; }
    int Port() const { return port_; }
    // "http://127.0.0.1:PORT" followed by path.
    std::string Url(const std::string& path) const;
    std::u16string Url16(const std::string& path) const;

    void Serve(const std::string& path, Answer answer);
    void SetDelay(int milliseconds) { delayMs_ = milliseconds; }

    static std::uint8_t PatternByte(std::size_t i) { return static_cast<std::uint8_t>((i * 7 + i / 251) & 0xFF); }
    static std::string Pattern(std::size_t size);

    int Requests() const { return requests_; }
    int MostAtOnce() const { return mostAtOnce_; }

private:
    void AcceptLoop();
    void Handle(std::intptr_t client);
    // Waits ms or until the server stops; false when it stopped.
    bool Wait(int ms);

    std::intptr_t listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stopping_{false};
    std::atomic<int> delayMs_{0};
    std::atomic<int> requests_{0};
    std::atomic<int> atOnce_{0};
    std::atomic<int> mostAtOnce_{0};
    std::mutex mutex_;
    std::condition_variable stopped_;
    std::map<std::string, Answer> answers_;
    std::vector<std::thread> handlers_;
    std::thread acceptor_;
};

}  // namespace kodrin::test
