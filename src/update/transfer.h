// File downloads over HTTP: QvXfer is the abstract transfer with its cancel
// operation, QvXferHTTP downloads base URL + folder + file name into a local
// file through the HTTP interface of update/http.h.
//
// A download is written to the partial file, the local path with ".qvxfer"
// appended, and moved to the local path only when it is complete; a failed,
// cancelled or killed download never leaves a truncated file under the final
// name (the partial file stays on disk). Every transfer starts from the first
// byte. Only an answer with status 200 is a file: an error page is never
// moved into place.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "update/http.h"

namespace QvLibrary {

// Where a transfer shows its progress: the position (0 to 100) of a
// progress bar, and the end of the dialog that shows it.
class TransferProgress {
public:
    virtual void SetPosition(int position) = 0;
    // Ends the dialog, with success or failure.
    virtual void End(bool success) = 0;

protected:
    ~TransferProgress() = default;
};

class QvXfer {
public:
    QvXfer();
    virtual ~QvXfer() = 0;
    QvXfer(const QvXfer&) = delete;
    QvXfer& operator=(const QvXfer&) = delete;

    // Any thread: the running transfer stops within one block (or, while it
    // waits for the server, at once) and returns 1. Stays in effect until the
    // next SetTarget or SetTargetPath.
    virtual void Cancel();
    // Downloads, moving progress from `from` to `to` (0 to 100). 0 when the
    // file was downloaded and moved into place, 1 otherwise. With owns
    // progress set it ends the dialog instead (success exactly when the
    // result would be 0) and returns 0.
    virtual int Transfer(TransferProgress& progress, int from, int to) = 0;
    // With owns progress set: ends the dialog with failure and returns 0;
    // otherwise returns 1.
    virtual int CloseProgress(TransferProgress& progress) = 0;

    void SetOwnsProgress(bool owns);
    void SetSecure(bool secure);
    // The system's code of the last failed step, or the HTTP status of an
    // answer other than 200. For diagnosis; never shown.
    std::uint32_t LastError() const;
    // Why the last transfer failed, as the HTTP interface tells it.
    kodrin::update::HttpFailure LastFailure() const;

protected:
    struct TransferState;
    std::unique_ptr<TransferState> state_;
};

class QvXferHTTP : public QvXfer {
public:
    // Makes the session of one transfer; the default opens the system's
    // HTTP session with agent "QvXferHTTP".
    using SessionMaker =
        std::function<std::unique_ptr<kodrin::update::HttpSession>(const kodrin::update::HttpLimits& limits)>;

    explicit QvXferHTTP(std::u16string_view baseUrl, SessionMaker sessions = {});
    ~QvXferHTTP() override;

    // Resets the state; no folder part.
    void SetTarget(std::u16string_view remoteName, std::u16string_view localPath);
    // Resets the state; the remote path splits at its last "\" or "/" into
    // the folder part (with a backslash appended) and the file name.
    void SetTargetPath(std::u16string_view remotePath, std::u16string_view localPath);
    // The time-outs of the next transfers (15 s each by default).
    void SetTimeouts(int connectMs, int receiveMs);

    int Transfer(TransferProgress& progress, int from, int to) override;
    int CloseProgress(TransferProgress& progress) override;

    // The address Transfer asks for: the base URL, the folder part and the
    // file name, with one "/" between non-empty pieces.
    std::u16string Url() const;
    // The partial file of the current target.
    std::u16string PartialPath() const;

private:
    int Download(TransferProgress& progress, int from, int to);

    std::unique_ptr<std::u16string> baseUrl_;
    SessionMaker sessions_;
};

}  // namespace QvLibrary
