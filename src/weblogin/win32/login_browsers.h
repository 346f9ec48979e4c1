// The browsers a login can drive on Windows: Microsoft Edge and Google
// Chrome over the DevTools protocol (WinHTTP's WebSocket), Internet Explorer
// over COM; chosen by the option BROWSER.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "weblogin/browser.h"
#include "weblogin/browser_choice.h"
#include "weblogin/devtools.h"

namespace kodrin::weblogin {

// The environment variable of the test-only endpoint: "host:port" of a
// running browser's DevTools, attached to instead of starting a browser.
constexpr wchar_t kDevToolsEndpointVariable[] = L"KODRIN_DEVTOOLS_ENDPOINT";

struct BrowserSetup {
    std::uint32_t choice = kBrowserAutomatic;
    // The program's per-user data folder (ending with a backslash): each
    // Chromium-family browser gets its user-data folder "Browser\<name>" there.
    std::u16string userDataFolder;
    // "host:port" of a running browser to attach to; empty: start one.
    std::u16string endpoint;
};

// The setup for the option's value, with the endpoint from the environment.
BrowserSetup LoginBrowserSetup(std::uint32_t choice, const std::u16string& userDataFolder);

// The first browser of the option's order that can be started; null when
// none can. Runs on the login's worker thread (COM initialised there).
std::unique_ptr<Browser> CreateLoginBrowser(const BrowserSetup& setup);

// The browser's program file: the App Paths registry keys (per user, then
// for the machine), then Edge's usual folders. Nothing when not installed.
std::optional<std::u16string> FindChromiumBrowser(BrowserKind kind);

// A WebSocket to a DevTools endpoint, over WinHTTP (no Origin header).
std::unique_ptr<DevToolsChannel> ConnectDevTools(const DevToolsEndpoint& endpoint);

// A plain HTTP GET over WinHTTP: the body of a 200 answer.
std::optional<std::string> HttpGet(const std::u16string& host, std::uint16_t port, const std::u16string& path);

}  // namespace kodrin::weblogin
