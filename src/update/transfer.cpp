#include "update/transfer.h"

#include <array>

#include "platform/files.h"
#include "update/partial_file.h"

namespace QvLibrary {

using kodrin::update::HttpFailure;
using kodrin::update::HttpLimits;
using kodrin::update::HttpResponse;
using kodrin::update::HttpSession;

struct QvXfer::TransferState {
    std::u16string folderPart;
    std::u16string fileName;
    std::u16string localPath;
    std::uint32_t lastError = 0;
    HttpFailure lastFailure = HttpFailure::None;
    std::atomic<bool> cancel{false};
    bool ownsProgress = false;
    bool secure = false;
    int connectTimeoutMs = kodrin::update::kDefaultTimeoutMs;
    int receiveTimeoutMs = kodrin::update::kDefaultTimeoutMs;

    void Reset() {
        folderPart.clear();
        fileName.clear();
        localPath.clear();
        lastError = 0;
        lastFailure = HttpFailure::None;
        cancel = false;
        ownsProgress = false;
    }
};

QvXfer::QvXfer() : state_(std::make_unique<TransferState>()) {}
QvXfer::~QvXfer() = default;

void QvXfer::Cancel() { state_->cancel = true; }
void QvXfer::SetOwnsProgress(bool owns) { state_->ownsProgress = owns; }
void QvXfer::SetSecure(bool secure) { state_->secure = secure; }
std::uint32_t QvXfer::LastError() const { return state_->lastError; }
HttpFailure QvXfer::LastFailure() const { return state_->lastFailure; }

QvXferHTTP::QvXferHTTP(std::u16string_view baseUrl, SessionMaker sessions)
    : baseUrl_(std::make_unique<std::u16string>(baseUrl)), sessions_(std::move(sessions)) {
    if (!sessions_) {
        sessions_ = [](const HttpLimits& limits) { return kodrin::update::OpenHttpSession(u"QvXferHTTP", limits); };
    }
}

QvXferHTTP::~QvXferHTTP() = default;

void QvXferHTTP::SetTarget(std::u16string_view remoteName, std::u16string_view localPath) {
    state_->Reset();
    state_->fileName = remoteName;
    state_->localPath = localPath;
}

void QvXferHTTP::SetTargetPath(std::u16string_view remotePath, std::u16string_view localPath) {
    state_->Reset();
    const std::size_t split = remotePath.find_last_of(u"\\/");
    if (split == std::u16string_view::npos) {
        state_->fileName = remotePath;
    } else {
        state_->folderPart = std::u16string(remotePath.substr(0, split)) + u'\\';
        state_->fileName = remotePath.substr(split + 1);
    }
    state_->localPath = localPath;
}

void QvXferHTTP::SetTimeouts(int connectMs, int receiveMs) {
    state_->connectTimeoutMs = connectMs;
    state_->receiveTimeoutMs = receiveMs;
}

std::u16string QvXferHTTP::Url() const {
    const auto separate = [](std::u16string& url) {
        if (!url.empty() && url.back() != u'/') url += u'/';
    };
    std::u16string url = *baseUrl_;
    separate(url);
    // The folder part keeps the backslash it was split at; an address takes
    // forward slashes.
    std::u16string folder = state_->folderPart;
    for (char16_t& c : folder) {
        if (c == u'\\') c = u'/';
    }
    url += folder;
    separate(url);
    url += state_->fileName;
    return url;
}

std::u16string QvXferHTTP::PartialPath() const { return state_->localPath + u".qvxfer"; }

int QvXferHTTP::CloseProgress(TransferProgress& progress) {
    if (!state_->ownsProgress) return 1;
    progress.End(false);
    return 0;
}

int QvXferHTTP::Transfer(TransferProgress& progress, int from, int to) {
    int result = 1;
    try {
        result = Download(progress, from, to);
    } catch (...) {
        result = 1;
    }
    progress.SetPosition(to);
    if (state_->ownsProgress) {
        progress.End(result == 0);
        return 0;
    }
    return result;
}

namespace {

// Replaces target with the complete partial file; a read-only target is
// made writable and deleted first.
bool MoveIntoPlace(const std::u16string& partial, const std::u16string& target) {
    if (kodrin::platform::FileExists(target)) {
        if (kodrin::platform::IsReadOnly(target)) kodrin::platform::SetReadOnly(target, false);
        kodrin::platform::RemoveFile(target);
    }
    return kodrin::platform::MoveFileTo(partial, target);
}

}  // namespace

// Steps 1 to 9 of a transfer; the caller moves the bar to `to` and ends an
// owned dialog.
int QvXferHTTP::Download(TransferProgress& progress, int from, int to) {
    TransferState& s = *state_;
    const unsigned span = static_cast<unsigned>(to - from);
    const auto position = [&](unsigned percent) {
        progress.SetPosition(from + static_cast<int>(span * percent / 100));
    };
    const auto fail = [&](HttpFailure failure, std::uint32_t error) {
        s.lastFailure = failure;
        s.lastError = error;
        return 1;
    };
    position(0);

    HttpLimits limits;
    limits.connectTimeoutMs = s.connectTimeoutMs;
    limits.receiveTimeoutMs = s.receiveTimeoutMs;
    limits.cancel = &s.cancel;
    const std::unique_ptr<HttpSession> session = sessions_(limits);
    if (!session) return fail(HttpFailure::Unreachable, s.lastError);
    if (s.cancel) return fail(HttpFailure::Cancelled, 0);

    position(5);
    const std::u16string url = Url();
    const unsigned flags = kodrin::update::kHttpReload | (s.secure ? kodrin::update::kHttpSecure : 0u);
    // Only an answer of 200 is the file; an error page is a failure.
    const auto open = [&](unsigned openFlags) -> std::unique_ptr<HttpResponse> {
        std::unique_ptr<HttpResponse> response = session->Open(url, openFlags);
        if (!response) {
            fail(session->Failure(), session->LastError());
            return nullptr;
        }
        if (response->Status() != 200) {
            fail(HttpFailure::BadStatus, static_cast<std::uint32_t>(response->Status()));
            return nullptr;
        }
        return response;
    };
    std::unique_ptr<HttpResponse> response = open(flags);
    if (!response) return 1;
    if (s.cancel) return fail(HttpFailure::Cancelled, 0);

    // The first answer tells the length; the second, kept out of the cache,
    // delivers the data. Without a length the body is read to its end.
    position(10);
    const std::optional<std::uint64_t> length = response->Length();
    const std::uint64_t size = length ? *length : 0xFFFFFFFFu;
    position(15);
    response.reset();
    response = open(flags | kodrin::update::kHttpNoCacheWrite);
    if (!response) return 1;
    if (s.cancel) return fail(HttpFailure::Cancelled, 0);

    position(20);
    std::uint64_t received = 0;
    unsigned shown = 0;
    const std::u16string partial = PartialPath();
    kodrin::update::OutputFile file;
    constexpr std::size_t kBlock = 4096;
    std::array<std::uint8_t, kBlock> block;
    int result = 1;
    while (received < size) {
        if (s.cancel) {
            fail(HttpFailure::Cancelled, 0);
            break;
        }
        std::size_t got = 0;
        if (!response->Read(block.data(), kBlock, got)) {
            fail(response->Failure(), response->LastError());
            break;
        }
        if ((!file.IsOpen() && !file.Create(partial)) || !file.Write(block.data(), got)) {
            fail(HttpFailure::LocalFile, file.LastError());
            break;
        }
        if (got == kBlock) {
            received += kBlock;
            const unsigned percent =
                received >= size ? 95u : static_cast<unsigned>(95 - (size - received) * 70 / size);
            if (percent != shown) {
                position(percent);
                shown = percent;
            }
            if (received < size) continue;
        } else if (length && received + got < size) {
            // The answer ended before the length it announced: the
            // connection broke, and the file is not whole.
            fail(HttpFailure::Broken, 0);
            break;
        }
        // A short block, or the whole length: the download is complete.
        if (!file.IsOpen() && !file.Create(partial)) {
            fail(HttpFailure::LocalFile, file.LastError());
            break;
        }
        if (!file.Close()) {
            fail(HttpFailure::LocalFile, file.LastError());
            break;
        }
        if (MoveIntoPlace(partial, s.localPath)) {
            result = 0;
        } else {
            fail(HttpFailure::LocalFile, 0);
            if (kodrin::platform::IsReadOnly(partial)) kodrin::platform::SetReadOnly(partial, false);
            kodrin::platform::RemoveFile(partial);
        }
        break;
    }
    file.Close();
    return result;
}

}  // namespace QvLibrary
