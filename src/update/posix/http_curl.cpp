// The HTTP interface over libcurl. A response is pulled: each call drives
// the transfer (curl's multi interface, one handle) until enough of the
// body has come, so the callers read in blocks as they would from WinINet.
#include <curl/curl.h>

#include <chrono>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/utf.h"
#include "update/http.h"

namespace kodrin::update {

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kPollMs = 50;
constexpr std::size_t kBodyBlock = 4096;

void GlobalInit() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

HttpFailure FailureOf(CURLcode code, bool headersSeen) {
    switch (code) {
        case CURLE_OK: return HttpFailure::None;
        case CURLE_OPERATION_TIMEDOUT: return HttpFailure::TimedOut;
        case CURLE_ABORTED_BY_CALLBACK: return HttpFailure::Cancelled;
        case CURLE_PARTIAL_FILE:
        case CURLE_RECV_ERROR: return headersSeen ? HttpFailure::Broken : HttpFailure::Unreachable;
        default: break;
    }
    return headersSeen ? HttpFailure::Broken : HttpFailure::Unreachable;
}

class CurlResponse final : public HttpResponse {
public:
    explicit CurlResponse(const HttpLimits& limits) : limits_(limits) {}
    ~CurlResponse() override {
        if (multi_ != nullptr && easy_ != nullptr) curl_multi_remove_handle(multi_, easy_);
        if (easy_ != nullptr) curl_easy_cleanup(easy_);
        if (multi_ != nullptr) curl_multi_cleanup(multi_);
    }

    // Starts the request and waits for the final answer's head.
    bool Start(const std::string& url, const std::string& agent) {
        multi_ = curl_multi_init();
        easy_ = curl_easy_init();
        if (multi_ == nullptr || easy_ == nullptr) return Fail(HttpFailure::Unreachable, CURLE_FAILED_INIT);
        curl_easy_setopt(easy_, CURLOPT_URL, url.c_str());
        curl_easy_setopt(easy_, CURLOPT_USERAGENT, agent.c_str());
        curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
        curl_easy_setopt(easy_, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(easy_, CURLOPT_MAXREDIRS, 10L);
        // Only web addresses: a PAD file address must not read local files.
        curl_easy_setopt(easy_, CURLOPT_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(easy_, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
        curl_easy_setopt(easy_, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(limits_.connectTimeoutMs));
        curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &CurlResponse::OnBody);
        curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this);
        curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, &CurlResponse::OnHeader);
        curl_easy_setopt(easy_, CURLOPT_HEADERDATA, this);
        curl_multi_add_handle(multi_, easy_);
        lastActivity_ = Clock::now();
        if (!Pump([this] { return headDone_; })) return false;
        if (done_ && result_ != CURLE_OK && !headDone_) return Fail(FailureOf(result_, false), result_);
        return true;
    }

    int Status() const override {
        long code = 0;
        curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &code);
        return static_cast<int>(code);
    }

    std::optional<std::uint64_t> Length() override {
        curl_off_t length = -1;
        if (curl_easy_getinfo(easy_, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length) != CURLE_OK || length < 0) {
            return std::nullopt;
        }
        return static_cast<std::uint64_t>(length);
    }

    bool Read(std::uint8_t* buffer, std::size_t size, std::size_t& got) override {
        got = 0;
        if (!Pump([this, size] { return body_.size() - taken_ >= size; })) return false;
        if (body_.size() - taken_ < size && result_ != CURLE_OK) return Fail(FailureOf(result_, true), result_);
        got = std::min(size, body_.size() - taken_);
        if (got > 0) std::memcpy(buffer, body_.data() + taken_, got);
        taken_ += got;
        if (taken_ == body_.size()) {
            body_.clear();
            taken_ = 0;
        }
        return true;
    }

    HttpFailure Failure() const override { return failure_; }
    std::uint32_t LastError() const override { return error_; }

private:
    bool Fail(HttpFailure failure, std::uint32_t error) {
        failure_ = failure;
        error_ = error;
        return false;
    }

    // Drives the transfer until enough() holds or the transfer ended
    // (true), or until it is cancelled or waits too long for bytes (false).
    template <typename Enough>
    bool Pump(Enough enough) {
        while (!enough() && !done_) {
            if (limits_.cancel != nullptr && limits_.cancel->load()) return Fail(HttpFailure::Cancelled, 0);
            int running = 0;
            curl_multi_perform(multi_, &running);
            int queued = 0;
            while (CURLMsg* message = curl_multi_info_read(multi_, &queued)) {
                if (message->msg == CURLMSG_DONE) {
                    done_ = true;
                    result_ = message->data.result;
                }
            }
            if (enough() || done_) break;
            curl_multi_poll(multi_, nullptr, 0, kPollMs, nullptr);
            // Connecting has its own limit in curl; once connected, the
            // server must send something every receive time-out.
            curl_off_t connected = 0;
            curl_easy_getinfo(easy_, CURLINFO_CONNECT_TIME_T, &connected);
            const auto idle = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - lastActivity_);
            if (connected > 0 && idle.count() > limits_.receiveTimeoutMs) {
                return Fail(HttpFailure::TimedOut, CURLE_OPERATION_TIMEDOUT);
            }
        }
        return true;
    }

    static std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* self) {
        auto* response = static_cast<CurlResponse*>(self);
        response->lastActivity_ = Clock::now();
        response->headDone_ = true;
        response->body_.insert(response->body_.end(), data, data + size * count);
        return size * count;
    }

    static std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* self) {
        auto* response = static_cast<CurlResponse*>(self);
        response->lastActivity_ = Clock::now();
        const std::string_view line(data, size * count);
        if (line.starts_with("HTTP/")) {
            response->redirecting_ = false;
        } else if (line.size() > 9 && (line.substr(0, 9) == "Location:" || line.substr(0, 9) == "location:")) {
            response->redirecting_ = true;
        } else if (line == "\r\n" || line == "\n") {
            long code = 0;
            curl_easy_getinfo(response->easy_, CURLINFO_RESPONSE_CODE, &code);
            const bool followed = response->redirecting_ && code >= 300 && code < 400;
            if (code >= 200 && !followed) response->headDone_ = true;
        }
        return size * count;
    }

    HttpLimits limits_;
    CURLM* multi_ = nullptr;
    CURL* easy_ = nullptr;
    std::vector<std::uint8_t> body_;
    std::size_t taken_ = 0;
    bool headDone_ = false;
    bool redirecting_ = false;
    bool done_ = false;
    CURLcode result_ = CURLE_OK;
    Clock::time_point lastActivity_;
    HttpFailure failure_ = HttpFailure::None;
    std::uint32_t error_ = 0;
};

class CurlSession final : public HttpSession {
public:
    CurlSession(std::u16string_view agent, const HttpLimits& limits)
        : agent_(platform::ToUtf8(agent)), limits_(limits) {}

    std::unique_ptr<HttpResponse> Open(std::u16string_view url, unsigned) override {
        failure_ = HttpFailure::None;
        error_ = 0;
        if (limits_.cancel != nullptr && limits_.cancel->load()) {
            failure_ = HttpFailure::Cancelled;
            return nullptr;
        }
        auto response = std::make_unique<CurlResponse>(limits_);
        if (!response->Start(platform::ToUtf8(url), agent_)) {
            failure_ = response->Failure();
            error_ = response->LastError();
            return nullptr;
        }
        return response;
    }
    HttpFailure Failure() const override { return failure_; }
    std::uint32_t LastError() const override { return error_; }

private:
    std::string agent_;
    HttpLimits limits_;
    HttpFailure failure_ = HttpFailure::None;
    std::uint32_t error_ = 0;
};

}  // namespace

std::unique_ptr<HttpSession> OpenHttpSession(std::u16string_view agent, const HttpLimits& limits,
                                             std::uint32_t* error) {
    GlobalInit();
    if (error != nullptr) *error = 0;
    return std::make_unique<CurlSession>(agent, limits);
}

}  // namespace kodrin::update
