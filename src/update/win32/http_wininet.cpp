// The HTTP interface over WinINet. Requests are synchronous; the session's
// time-outs bound every wait, and the cancel flag is looked at before each
// call.
#include <windows.h>
#include <wininet.h>

#include <string>

#include "framework/wide.h"
#include "update/http.h"

namespace kodrin::update {

namespace {

HttpFailure FailureOf(DWORD error, bool answered) {
    switch (error) {
        case ERROR_INTERNET_TIMEOUT: return HttpFailure::TimedOut;
        case ERROR_INTERNET_OPERATION_CANCELLED: return HttpFailure::Cancelled;
        case ERROR_INTERNET_CONNECTION_ABORTED:
        case ERROR_INTERNET_CONNECTION_RESET: return answered ? HttpFailure::Broken : HttpFailure::Unreachable;
        default: break;
    }
    return answered ? HttpFailure::Broken : HttpFailure::Unreachable;
}

// Wine reports a receive that timed out as an aborted connection: a call
// that failed after waiting the whole receive time-out timed out.
HttpFailure FailureAfter(DWORD error, bool answered, ULONGLONG started, const HttpLimits& limits) {
    const HttpFailure failure = FailureOf(error, answered);
    if (failure != HttpFailure::TimedOut && (error == ERROR_INTERNET_CONNECTION_ABORTED ||
                                             error == ERROR_INTERNET_CONNECTION_RESET) &&
        ::GetTickCount64() - started + 50 >= static_cast<ULONGLONG>(limits.receiveTimeoutMs)) {
        return HttpFailure::TimedOut;
    }
    return failure;
}

bool Cancelled(const HttpLimits& limits) { return limits.cancel != nullptr && limits.cancel->load(); }

void SetTimeout(HINTERNET handle, DWORD option, int ms) {
    DWORD value = static_cast<DWORD>(ms);
    ::InternetSetOptionW(handle, option, &value, sizeof value);
}

void SetTimeouts(HINTERNET handle, const HttpLimits& limits) {
    SetTimeout(handle, INTERNET_OPTION_CONNECT_TIMEOUT, limits.connectTimeoutMs);
    SetTimeout(handle, INTERNET_OPTION_RECEIVE_TIMEOUT, limits.receiveTimeoutMs);
    SetTimeout(handle, INTERNET_OPTION_SEND_TIMEOUT, limits.receiveTimeoutMs);
    SetTimeout(handle, INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, limits.receiveTimeoutMs);
}

// The connection and request handles of one request, closed request first.
struct Handles {
    Handles() = default;
    Handles(Handles&& other) noexcept : connection(other.connection), request(other.request) {
        other.connection = other.request = nullptr;
    }
    Handles& operator=(Handles&&) = delete;
    ~Handles() {
        if (request != nullptr) ::InternetCloseHandle(request);
        if (connection != nullptr) ::InternetCloseHandle(connection);
    }
    HINTERNET connection = nullptr;
    HINTERNET request = nullptr;
};

class WinInetResponse final : public HttpResponse {
public:
    WinInetResponse(Handles handles, const HttpLimits& limits)
        : handles_(std::move(handles)), request_(handles_.request), limits_(limits) {
        DWORD status = 0;
        DWORD size = sizeof status;
        if (::HttpQueryInfoW(request_, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr)) {
            status_ = static_cast<int>(status);
        }
        // The length the head announces, to tell a broken connection from
        // the end of the body.
        wchar_t text[32] = {};
        DWORD textSize = sizeof text;
        if (::HttpQueryInfoW(request_, HTTP_QUERY_CONTENT_LENGTH, text, &textSize, nullptr)) {
            announced_ = std::wcstoull(text, nullptr, 10);
            hasAnnounced_ = true;
        }
    }

    int Status() const override { return status_; }

    // The resource's length from the file pointer moved to its end (which
    // WinINet can do only for a resource it keeps in its cache).
    std::optional<std::uint64_t> Length() override {
        const DWORD length = ::InternetSetFilePointer(request_, 0, nullptr, FILE_END, 0);
        if (length == INVALID_SET_FILE_POINTER) return std::nullopt;
        return length;
    }

    bool Read(std::uint8_t* buffer, std::size_t size, std::size_t& got) override {
        got = 0;
        while (got < size) {
            if (Cancelled(limits_)) return Fail(HttpFailure::Cancelled, ERROR_INTERNET_OPERATION_CANCELLED);
            DWORD read = 0;
            const ULONGLONG started = ::GetTickCount64();
            const DWORD want = static_cast<DWORD>(size - got > 0x100000 ? 0x100000 : size - got);
            if (!::InternetReadFile(request_, buffer + got, want, &read)) {
                const DWORD error = ::GetLastError();
                return Fail(FailureAfter(error, true, started, limits_), error);
            }
            if (read == 0) {
                if (hasAnnounced_ && delivered_ + got < announced_) {
                    return Fail(HttpFailure::Broken, ERROR_INTERNET_CONNECTION_RESET);
                }
                break;
            }
            got += read;
        }
        delivered_ += got;
        return true;
    }

    HttpFailure Failure() const override { return failure_; }
    std::uint32_t LastError() const override { return error_; }

private:
    bool Fail(HttpFailure failure, DWORD error) {
        failure_ = failure;
        error_ = error;
        return false;
    }

    Handles handles_;
    HINTERNET request_;
    HttpLimits limits_;
    int status_ = 0;
    std::uint64_t announced_ = 0;
    bool hasAnnounced_ = false;
    std::uint64_t delivered_ = 0;
    HttpFailure failure_ = HttpFailure::None;
    std::uint32_t error_ = 0;
};

class WinInetSession final : public HttpSession {
public:
    WinInetSession(HINTERNET internet, const HttpLimits& limits) : internet_(internet), limits_(limits) {}
    ~WinInetSession() override { ::InternetCloseHandle(internet_); }

    std::unique_ptr<HttpResponse> Open(std::u16string_view url, unsigned flags) override {
        failure_ = HttpFailure::None;
        error_ = 0;
        if (Cancelled(limits_)) {
            failure_ = HttpFailure::Cancelled;
            return nullptr;
        }
        // No cookies: a download needs none, and their store is one more
        // shared file that every request would look into.
        DWORD internetFlags = INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES;
        if (flags & kHttpReload) internetFlags |= INTERNET_FLAG_RELOAD;
        if (flags & kHttpNoCacheWrite) internetFlags |= INTERNET_FLAG_NO_CACHE_WRITE;
        if (flags & kHttpSecure) internetFlags |= INTERNET_FLAG_SECURE;
        // The request is made in its steps (connection, request, sending)
        // rather than with InternetOpenUrlW, so that the time-outs are set
        // on the request itself before it waits for the answer: WinINet
        // does not hand every time-out of the session down to its requests.
        std::wstring address = QvLibrary::WideCopy(url);
        wchar_t host[256] = {};
        std::wstring path(address.size() + 1, L'\0');
        URL_COMPONENTSW parts{};
        parts.dwStructSize = sizeof parts;
        parts.lpszHostName = host;
        parts.dwHostNameLength = 256;
        parts.lpszUrlPath = path.data();
        parts.dwUrlPathLength = static_cast<DWORD>(path.size());
        std::wstring extra(address.size() + 1, L'\0');
        parts.lpszExtraInfo = extra.data();
        parts.dwExtraInfoLength = static_cast<DWORD>(extra.size());
        if (!::InternetCrackUrlW(address.c_str(), static_cast<DWORD>(address.size()), 0, &parts) ||
            (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)) {
            // Only web addresses: a PAD file address must not read local files.
            error_ = ERROR_INTERNET_UNRECOGNIZED_SCHEME;
            failure_ = HttpFailure::Unreachable;
            return nullptr;
        }
        path.resize(parts.dwUrlPathLength);
        // The query goes with the path; a fragment stays with the client.
        extra.resize(parts.dwExtraInfoLength);
        if (const std::size_t hash = extra.find(L'#'); hash != std::wstring::npos) extra.resize(hash);
        path += extra;
        if (path.empty()) path = L"/";
        if (parts.nScheme == INTERNET_SCHEME_HTTPS) internetFlags |= INTERNET_FLAG_SECURE;
        Handles handles;
        handles.connection = ::InternetConnectW(internet_, host, parts.nPort, nullptr, nullptr,
                                                INTERNET_SERVICE_HTTP, 0, 0);
        if (handles.connection != nullptr) {
            handles.request = ::HttpOpenRequestW(handles.connection, L"GET", path.c_str(), nullptr, nullptr, nullptr,
                                                 internetFlags, 0);
        }
        if (handles.request != nullptr) {
            SetTimeouts(handles.request, limits_);
            const ULONGLONG started = ::GetTickCount64();
            if (!::HttpSendRequestW(handles.request, nullptr, 0, nullptr, 0)) {
                error_ = ::GetLastError();
                failure_ = Cancelled(limits_) ? HttpFailure::Cancelled : FailureAfter(error_, false, started, limits_);
                return nullptr;
            }
        } else {
            error_ = ::GetLastError();
            failure_ = FailureOf(error_, false);
            return nullptr;
        }
        return std::make_unique<WinInetResponse>(std::move(handles), limits_);
    }
    HttpFailure Failure() const override { return failure_; }
    std::uint32_t LastError() const override { return error_; }

private:
    HINTERNET internet_;
    HttpLimits limits_;
    HttpFailure failure_ = HttpFailure::None;
    std::uint32_t error_ = 0;
};

}  // namespace

std::unique_ptr<HttpSession> OpenHttpSession(std::u16string_view agent, const HttpLimits& limits,
                                             std::uint32_t* error) {
    if (error != nullptr) *error = 0;
    // Checks run several at a time against one server: more than the two
    // connections per server that WinINet allows by default.
    static const bool connections = [] {
        DWORD most = 16;
        ::InternetSetOptionW(nullptr, INTERNET_OPTION_MAX_CONNS_PER_SERVER, &most, sizeof most);
        ::InternetSetOptionW(nullptr, INTERNET_OPTION_MAX_CONNS_PER_1_0_SERVER, &most, sizeof most);
        return true;
    }();
    (void)connections;
    if (::InternetAttemptConnect(0) != ERROR_SUCCESS) {
        if (error != nullptr) *error = ::GetLastError();
        return nullptr;
    }
    const std::wstring name = QvLibrary::WideCopy(agent);
    HINTERNET internet = ::InternetOpenW(name.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (internet == nullptr) {
        const std::string narrow(agent.begin(), agent.end());
        internet = ::InternetOpenA(narrow.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    }
    if (internet == nullptr) {
        if (error != nullptr) *error = ::GetLastError();
        return nullptr;
    }
    SetTimeouts(internet, limits);
    return std::make_unique<WinInetSession>(internet, limits);
}

}  // namespace kodrin::update
