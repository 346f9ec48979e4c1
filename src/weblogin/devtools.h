// A Chromium-family browser (Microsoft Edge, Google Chrome, Chromium) driven
// over the DevTools protocol: the login's Browser, on one WebSocket to the
// browser. The login gets a tab of its own (a page target, attached in flat
// mode); the page's frames are walked through the frame tree and each
// frame's forms are read and filled with Runtime.evaluate in an isolated
// world of that frame, so that the page's own scripts neither see nor
// disturb the walk. Values are set with "input" and "change" events.
//
// The WebSocket itself (WinHTTP) and the start of the browser live in
// weblogin/win32; here the protocol is portable and runs over any channel.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "weblogin/browser.h"
#include "weblogin/json.h"

namespace kodrin::weblogin {

// One WebSocket connection: text messages (UTF-8) both ways.
class DevToolsChannel {
public:
    virtual ~DevToolsChannel() = default;
    virtual bool Send(const std::string& message) = 0;
    // The next message; nothing when the connection failed, closed or timed out.
    virtual std::optional<std::string> Receive() = 0;
};

// Calls of one connection: numbered requests, each answered by the
// response with its number; events in between are passed over.
class DevToolsSession {
public:
    explicit DevToolsSession(std::unique_ptr<DevToolsChannel> channel);
    // The call's result; nothing when the call could not be made or the
    // browser answered with an error. params is a JSON object ("{}" for none);
    // sessionId names an attached target ("" for the browser itself).
    std::optional<json::Value> Call(std::string_view method, std::string_view params = "{}",
                                    std::string_view sessionId = "");

private:
    std::unique_ptr<DevToolsChannel> channel_;
    std::int64_t nextId_ = 1;
};

class DevToolsBrowser final : public Browser {
public:
    // Opens the login's tab: the browser's blank tab when reuseBlankTab is
    // set (a browser just started for the login) and there is one, else a
    // new tab. Null when the browser does not answer.
    static std::unique_ptr<DevToolsBrowser> Open(std::unique_ptr<DevToolsChannel> channel, bool reuseBlankTab);

    bool Navigate(const std::u16string& url) override;
    std::optional<bool> LoadComplete() override;
    void Show() override;
    void Close() override;
    std::unique_ptr<PageDocument> Document() override;

private:
    explicit DevToolsBrowser(std::unique_ptr<DevToolsChannel> channel);

    std::shared_ptr<DevToolsSession> session_;
    std::string targetId_;
    std::string sessionId_;
};

// Where a browser's DevTools WebSocket listens.
struct DevToolsEndpoint {
    std::u16string host;
    std::uint16_t port = 0;
    std::u16string path;  // "/devtools/browser/<id>"
};

// The DevToolsActivePort file a browser writes into its user-data folder:
// the port on the first line, the browser's WebSocket path on the second.
std::optional<DevToolsEndpoint> ReadDevToolsActivePort(std::string_view text);
// "ws://host:port/path", as /json/version gives webSocketDebuggerUrl.
std::optional<DevToolsEndpoint> ParseWebSocketUrl(std::string_view url);
// "host:port" (the test-only endpoint setting).
std::optional<DevToolsEndpoint> ParseHostPort(std::u16string_view text);

}  // namespace kodrin::weblogin
