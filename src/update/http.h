// The small HTTP interface under the update checks: a session opens a URL
// and hands back the response, whose body is read in blocks. The Windows
// build implements it with WinINet (update/win32), the native build with
// libcurl (update/posix). Everything above it (the file transfer, the PAD
// check, checking many records at once) is the same code in both builds.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace kodrin::update {

// The time-outs of one session: connecting, and waiting for the next bytes
// of an answer. A server that never answers ends the request with
// HttpFailure::TimedOut after this long.
inline constexpr int kDefaultTimeoutMs = 15000;

struct HttpLimits {
    int connectTimeoutMs = kDefaultTimeoutMs;
    int receiveTimeoutMs = kDefaultTimeoutMs;
    // Polled while a request waits; set from any thread to end it early
    // (HttpFailure::Cancelled). May be null.
    const std::atomic<bool>* cancel = nullptr;
};

// Flags of one request.
enum HttpOpenFlags : unsigned {
    kHttpReload = 1u,        // never answer from a cache
    kHttpNoCacheWrite = 2u,  // do not keep the answer in a cache
    kHttpSecure = 4u,        // ask for a secure connection
};

// Why a request or a read failed.
enum class HttpFailure {
    None,
    Unreachable,  // no session, a bad address, or the server could not be reached
    TimedOut,     // connecting or waiting for bytes took longer than the limit
    Cancelled,    // the cancel flag was set
    Broken,       // the connection ended before the announced length, or another read error
    // Told by the users of the interface, never by a session:
    BadStatus,    // the answer's status was not 200
    LocalFile,    // the local file could not be written or moved into place
};

class HttpResponse {
public:
    virtual ~HttpResponse() = default;
    // The final status code (after redirects); 0 when unknown.
    virtual int Status() const = 0;
    // The resource's length as the server announced it; none when unknown.
    virtual std::optional<std::uint64_t> Length() = 0;
    // Reads up to size bytes, waiting until size bytes have come or the body
    // has ended: got < size only at the end. False on a failure (a
    // connection that ended before the announced length is one).
    virtual bool Read(std::uint8_t* buffer, std::size_t size, std::size_t& got) = 0;
    virtual HttpFailure Failure() const = 0;
    // The system's code of the last failure (for diagnosis).
    virtual std::uint32_t LastError() const = 0;
};

class HttpSession {
public:
    virtual ~HttpSession() = default;
    // Sends a GET for url (redirects followed) and waits for the answer's
    // head. Null on failure; Failure() and LastError() tell why.
    virtual std::unique_ptr<HttpResponse> Open(std::u16string_view url, unsigned flags) = 0;
    virtual HttpFailure Failure() const = 0;
    virtual std::uint32_t LastError() const = 0;
};

// A session with the given agent name and limits; null when none can be
// made (LastError-style code in *error when given). One session serves one
// thread at a time.
std::unique_ptr<HttpSession> OpenHttpSession(std::u16string_view agent, const HttpLimits& limits,
                                             std::uint32_t* error = nullptr);

}  // namespace kodrin::update
