#include "weblogin/win32/login_browsers.h"

#include <windows.h>
#include <winhttp.h>

#include <utility>
#include <vector>

#include "platform/files.h"
#include "weblogin/win32/internet_explorer.h"

namespace kodrin::weblogin {

namespace {

constexpr DWORD kConnectTimeoutMs = 5000;
// A DevTools answer comes within this; a browser that stays silent longer
// is given up.
constexpr DWORD kReceiveTimeoutMs = 20000;
// How long a browser just started may take to write its DevToolsActivePort.
constexpr DWORD kStartTimeoutMs = 20000;
constexpr DWORD kStartPollMs = 50;

const wchar_t* W(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

struct Internet {
    HINTERNET handle = nullptr;
    Internet() = default;
    explicit Internet(HINTERNET h) : handle(h) {}
    Internet(const Internet&) = delete;
    Internet& operator=(const Internet&) = delete;
    Internet(Internet&& other) noexcept : handle(std::exchange(other.handle, nullptr)) {}
    Internet& operator=(Internet&& other) noexcept {
        if (this != &other) {
            if (handle != nullptr) ::WinHttpCloseHandle(handle);
            handle = std::exchange(other.handle, nullptr);
        }
        return *this;
    }
    ~Internet() {
        if (handle != nullptr) ::WinHttpCloseHandle(handle);
    }
};

// A session, a connection and a request to host:port/path; the request is
// sent (upgraded to a WebSocket when asked) and its answer received.
struct Exchange {
    Internet session, connection, request;

    bool Open(const std::u16string& host, std::uint16_t port, const std::u16string& path, bool webSocket) {
        session = Internet(::WinHttpOpen(L"Kodrin", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                         WINHTTP_NO_PROXY_BYPASS, 0));
        if (session.handle == nullptr) return false;
        ::WinHttpSetTimeouts(session.handle, static_cast<int>(kConnectTimeoutMs), static_cast<int>(kConnectTimeoutMs),
                             static_cast<int>(kReceiveTimeoutMs), static_cast<int>(kReceiveTimeoutMs));
        connection = Internet(::WinHttpConnect(session.handle, W(host), port, 0));
        if (connection.handle == nullptr) return false;
        request = Internet(::WinHttpOpenRequest(connection.handle, L"GET", W(path), nullptr, WINHTTP_NO_REFERER,
                                                WINHTTP_DEFAULT_ACCEPT_TYPES, 0));
        if (request.handle == nullptr) return false;
        if (webSocket && !::WinHttpSetOption(request.handle, WINHTTP_OPTION_UPGRADE_TO_WEB_SOCKET, nullptr, 0)) {
            return false;
        }
        if (!::WinHttpSendRequest(request.handle, WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
            !::WinHttpReceiveResponse(request.handle, nullptr)) {
            return false;
        }
        return true;
    }

    DWORD Status() const {
        DWORD status = 0;
        DWORD size = sizeof(status);
        if (!::WinHttpQueryHeaders(request.handle, WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                                   WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX)) {
            return 0;
        }
        return status;
    }
};

class WebSocketChannel final : public DevToolsChannel {
public:
    WebSocketChannel(Exchange exchange, HINTERNET socket) : exchange_(std::move(exchange)), socket_(socket) {}
    ~WebSocketChannel() override {
        ::WinHttpWebSocketClose(socket_.handle, WINHTTP_WEB_SOCKET_SUCCESS_CLOSE_STATUS, nullptr, 0);
    }

    bool Send(const std::string& message) override {
        return ::WinHttpWebSocketSend(socket_.handle, WINHTTP_WEB_SOCKET_UTF8_MESSAGE_BUFFER_TYPE,
                                      const_cast<char*>(message.data()), static_cast<DWORD>(message.size())) ==
               ERROR_SUCCESS;
    }

    std::optional<std::string> Receive() override {
        std::string message;
        std::vector<char> buffer(64 * 1024);
        for (;;) {
            DWORD read = 0;
            WINHTTP_WEB_SOCKET_BUFFER_TYPE type{};
            if (::WinHttpWebSocketReceive(socket_.handle, buffer.data(), static_cast<DWORD>(buffer.size()), &read,
                                          &type) != ERROR_SUCCESS) {
                return std::nullopt;
            }
            if (type == WINHTTP_WEB_SOCKET_CLOSE_BUFFER_TYPE) return std::nullopt;
            message.append(buffer.data(), read);
            if (type == WINHTTP_WEB_SOCKET_UTF8_MESSAGE_BUFFER_TYPE ||
                type == WINHTTP_WEB_SOCKET_BINARY_MESSAGE_BUFFER_TYPE) {
                return message;
            }
        }
    }

private:
    Exchange exchange_;
    Internet socket_;
};

std::u16string FromWide(const wchar_t* text) { return std::u16string(reinterpret_cast<const char16_t*>(text)); }

std::u16string Environment(const wchar_t* name) {
    wchar_t buffer[1024];
    const DWORD length = ::GetEnvironmentVariableW(name, buffer, static_cast<DWORD>(std::size(buffer)));
    if (length == 0 || length >= std::size(buffer)) return {};
    return FromWide(buffer);
}

std::optional<std::u16string> RegistryDefault(HKEY root, const std::u16string& key) {
    wchar_t buffer[MAX_PATH * 2];
    DWORD size = sizeof(buffer);
    if (::RegGetValueW(root, W(key), nullptr, RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ, nullptr, buffer, &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::u16string path = FromWide(buffer);
    if (path.size() >= 2 && path.front() == u'"' && path.back() == u'"') path = path.substr(1, path.size() - 2);
    return path;
}

const char16_t* ProgramName(BrowserKind kind) { return kind == BrowserKind::Edge ? u"msedge.exe" : u"chrome.exe"; }
const char16_t* FolderName(BrowserKind kind) { return kind == BrowserKind::Edge ? u"Edge" : u"Chrome"; }

// The browser's own WebSocket, named by its DevToolsActivePort file.
std::unique_ptr<DevToolsChannel> ConnectByPortFile(const std::u16string& file) {
    std::vector<std::uint8_t> bytes;
    if (!platform::ReadWholeFile(file, bytes)) return nullptr;
    const std::optional<DevToolsEndpoint> endpoint =
        ReadDevToolsActivePort(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (!endpoint) return nullptr;
    return ConnectDevTools(*endpoint);
}

// A browser at host:port: its WebSocket is named by /json/version.
std::unique_ptr<Browser> AttachToEndpoint(const std::u16string& hostPort) {
    const std::optional<DevToolsEndpoint> endpoint = ParseHostPort(hostPort);
    if (!endpoint) return nullptr;
    const std::optional<std::string> version = HttpGet(endpoint->host, endpoint->port, u"/json/version");
    if (!version) return nullptr;
    const std::optional<json::Value> answer = json::Parse(*version);
    if (!answer) return nullptr;
    const std::optional<DevToolsEndpoint> socket = ParseWebSocketUrl((*answer)["webSocketDebuggerUrl"].text);
    if (!socket) return nullptr;
    std::unique_ptr<DevToolsChannel> channel = ConnectDevTools(*socket);
    if (channel == nullptr) return nullptr;
    return DevToolsBrowser::Open(std::move(channel), false);
}

// Edge or Chrome with the program's own user-data folder: the one already
// running with that folder, else a new one started with a DevTools port the
// system chooses.
std::unique_ptr<Browser> OpenChromium(BrowserKind kind, const std::u16string& userDataFolder) {
    const std::optional<std::u16string> program = FindChromiumBrowser(kind);
    if (!program || userDataFolder.empty()) return nullptr;
    const std::u16string folder = userDataFolder + u"Browser\\" + FolderName(kind);
    const std::u16string portFile = folder + u"\\DevToolsActivePort";
    if (std::unique_ptr<DevToolsChannel> channel = ConnectByPortFile(portFile)) {
        if (std::unique_ptr<DevToolsBrowser> browser = DevToolsBrowser::Open(std::move(channel), false)) {
            return browser;
        }
    }
    // The file of a browser that has gone would name a dead port.
    platform::RemoveFile(portFile);
    platform::CreateFolders(folder);
    std::u16string commandLine = u"\"" + *program + u"\" --remote-debugging-port=0 --user-data-dir=\"" + folder +
                                 u"\" --no-first-run --no-default-browser-check about:blank";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(W(*program), reinterpret_cast<wchar_t*>(commandLine.data()), nullptr, nullptr, FALSE, 0,
                          nullptr, nullptr, &startup, &process)) {
        return nullptr;
    }
    ::CloseHandle(process.hThread);
    std::unique_ptr<Browser> browser;
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < kStartTimeoutMs) {
        if (std::unique_ptr<DevToolsChannel> channel = ConnectByPortFile(portFile)) {
            browser = DevToolsBrowser::Open(std::move(channel), true);
            break;
        }
        // A browser that ended at once handed the page to one already running.
        if (::WaitForSingleObject(process.hProcess, kStartPollMs) == WAIT_OBJECT_0) {
            ::Sleep(kStartPollMs);
        }
    }
    ::CloseHandle(process.hProcess);
    return browser;
}

}  // namespace

BrowserSetup LoginBrowserSetup(std::uint32_t choice, const std::u16string& userDataFolder) {
    BrowserSetup setup;
    setup.choice = choice;
    setup.userDataFolder = userDataFolder;
    setup.endpoint = Environment(kDevToolsEndpointVariable);
    return setup;
}

std::unique_ptr<Browser> CreateLoginBrowser(const BrowserSetup& setup) {
    if (!setup.endpoint.empty()) return AttachToEndpoint(setup.endpoint);
    for (const BrowserKind kind : BrowserOrder(setup.choice)) {
        std::unique_ptr<Browser> browser =
            kind == BrowserKind::InternetExplorer ? CreateInternetExplorer() : OpenChromium(kind, setup.userDataFolder);
        if (browser != nullptr) return browser;
    }
    return nullptr;
}

std::optional<std::u16string> FindChromiumBrowser(BrowserKind kind) {
    const std::u16string appPaths =
        std::u16string(u"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\") + ProgramName(kind);
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        if (std::optional<std::u16string> path = RegistryDefault(root, appPaths)) {
            if (platform::FileExists(*path)) return path;
        }
    }
    if (kind == BrowserKind::Edge) {
        for (const wchar_t* variable : {L"ProgramFiles(x86)", L"ProgramFiles", L"LOCALAPPDATA"}) {
            const std::u16string base = Environment(variable);
            if (base.empty()) continue;
            const std::u16string path = base + u"\\Microsoft\\Edge\\Application\\msedge.exe";
            if (platform::FileExists(path)) return path;
        }
    }
    return std::nullopt;
}

std::unique_ptr<DevToolsChannel> ConnectDevTools(const DevToolsEndpoint& endpoint) {
    Exchange exchange;
    if (!exchange.Open(endpoint.host, endpoint.port, endpoint.path, true) || exchange.Status() != 101) return nullptr;
    HINTERNET socket = ::WinHttpWebSocketCompleteUpgrade(exchange.request.handle, 0);
    if (socket == nullptr) return nullptr;
    // The request's handle goes; the socket keeps the connection.
    exchange.request = Internet();
    return std::make_unique<WebSocketChannel>(std::move(exchange), socket);
}

std::optional<std::string> HttpGet(const std::u16string& host, std::uint16_t port, const std::u16string& path) {
    Exchange exchange;
    if (!exchange.Open(host, port, path, false) || exchange.Status() != 200) return std::nullopt;
    std::string body;
    for (;;) {
        DWORD available = 0;
        if (!::WinHttpQueryDataAvailable(exchange.request.handle, &available)) return std::nullopt;
        if (available == 0) return body;
        std::string chunk(available, '\0');
        DWORD read = 0;
        if (!::WinHttpReadData(exchange.request.handle, chunk.data(), available, &read)) return std::nullopt;
        body.append(chunk.data(), read);
    }
}

}  // namespace kodrin::weblogin
