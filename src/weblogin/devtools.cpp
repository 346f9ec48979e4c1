#include "weblogin/devtools.h"

#include <charconv>
#include <utility>
#include <vector>

#include "platform/utf.h"

namespace kodrin::weblogin {

namespace {

using json::Quote;
using json::Value;

using SessionPtr = std::shared_ptr<DevToolsSession>;

// The isolated world's list of the frame's forms, each the list of its elements.
constexpr std::string_view kFormsVariable = "window.__kodrinForms";

// Reads the frame's forms into the world's variable and gives, per form,
// per element: [tag name, id, input type or null, name, value].
constexpr std::string_view kCollectForms =
    "(() => { window.__kodrinFormList = Array.from(document.forms);"
    " const forms = window.__kodrinFormList.map(f => Array.from(f.elements));"
    " window.__kodrinForms = forms;"
    " return forms.map(elements => elements.map(e => [String(e.tagName || ''), String(e.id || ''),"
    " e instanceof HTMLInputElement ? String(e.type) : null,"
    " e instanceof HTMLInputElement ? String(e.name) : '', e instanceof HTMLInputElement ? String(e.value) : '']));"
    " })()";

std::u16string Utf16(const std::string& text) { return platform::FromUtf8(text); }

// Runtime.evaluate of expression in a context (0: the page's main world);
// the result's value, nothing on a failed call or a thrown exception.
std::optional<Value> Evaluate(DevToolsSession& session, const std::string& sessionId, std::string_view expression,
                              std::int64_t contextId = 0) {
    std::string params = "{\"expression\":" + Quote(expression) + ",\"returnByValue\":true";
    if (contextId != 0) params += ",\"contextId\":" + std::to_string(contextId);
    params += "}";
    std::optional<Value> result = session.Call("Runtime.evaluate", params, sessionId);
    if (!result || result->Has("exceptionDetails")) return std::nullopt;
    return (*result)["result"]["value"];
}

// One frame's isolated world, shared by the forms and elements read in it.
struct World {
    SessionPtr session;
    std::string sessionId;
    std::int64_t contextId = 0;

    void Run(const std::string& expression) const { Evaluate(*session, sessionId, expression, contextId); }
};

std::string ElementExpression(std::size_t form, std::size_t element) {
    return std::string(kFormsVariable) + "[" + std::to_string(form) + "][" + std::to_string(element) + "]";
}

class Element final : public PageElement {
public:
    Element(std::shared_ptr<World> world, std::size_t form, std::size_t index, const json::Value& description)
        : world_(std::move(world)), path_(ElementExpression(form, index)) {
        tag_ = Utf16(description[std::size_t{0}].text);
        id_ = Utf16(description[1].text);
        if (description[2].kind == json::Value::Kind::String) type_ = Utf16(description[2].text);
        name_ = Utf16(description[3].text);
        value_ = Utf16(description[4].text);
    }

    std::u16string TagName() override { return tag_; }
    std::u16string Id() override { return id_; }
    std::optional<std::u16string> InputType() override { return type_; }
    std::u16string Name() override { return name_; }
    std::u16string Value() override { return value_; }

    void SetValue(const std::u16string& text) override {
        world_->Run("(e => { e.focus(); e.value = " + Quote(text) + "; " + std::string(kEvents) + " })(" + path_ + ")");
    }
    void SetChecked(bool checked) override {
        world_->Run("(e => { e.checked = " + std::string(checked ? "true" : "false") + "; " + std::string(kEvents) +
                    " })(" + path_ + ")");
    }
    void Click() override { world_->Run(path_ + ".click()"); }

private:
    static constexpr const char* kEvents =
        "e.dispatchEvent(new Event('input', {bubbles: true})); e.dispatchEvent(new Event('change', {bubbles: true}));";

    std::shared_ptr<World> world_;
    std::string path_;
    std::u16string tag_, id_, name_, value_;
    std::optional<std::u16string> type_;
};

class Form final : public PageForm {
public:
    Form(std::shared_ptr<World> world, std::size_t index, Value elements)
        : world_(std::move(world)), index_(index), elements_(std::move(elements)) {}

    std::size_t ElementCount() override { return elements_.items.size(); }
    std::unique_ptr<PageElement> Element(std::size_t index) override {
        if (index >= elements_.items.size()) return nullptr;
        return std::make_unique<class Element>(world_, index_, index, elements_.items[index]);
    }
    // The form as the user would send it (its submit handlers run); a form
    // without requestSubmit is sent directly.
    void Submit() override {
        world_->Run("(f => { if (f.requestSubmit) f.requestSubmit(); else f.submit(); })(window.__kodrinFormList[" +
                    std::to_string(index_) + "])");
    }

private:
    std::shared_ptr<World> world_;
    std::size_t index_;
    Value elements_;
};

class Document final : public PageDocument {
public:
    Document(SessionPtr session, std::string sessionId, Value frameTree)
        : session_(std::move(session)), sessionId_(std::move(sessionId)), tree_(std::move(frameTree)) {}

    std::size_t FrameCount() override { return tree_["childFrames"].items.size(); }
    std::unique_ptr<PageDocument> Frame(std::size_t index) override {
        const Value& child = tree_["childFrames"][index];
        if (child.IsNull()) return nullptr;
        return std::make_unique<Document>(session_, sessionId_, child);
    }

    std::optional<std::size_t> FormCount() override {
        const std::string frameId = tree_["frame"]["id"].text;
        const std::optional<Value> world = session_->Call(
            "Page.createIsolatedWorld", "{\"frameId\":" + Quote(frameId) + ",\"worldName\":\"kodrin\"}", sessionId_);
        if (!world || (*world)["executionContextId"].kind != Value::Kind::Number) return std::nullopt;
        world_ = std::make_shared<World>(
            World{session_, sessionId_, static_cast<std::int64_t>((*world)["executionContextId"].number)});
        std::optional<Value> forms = Evaluate(*session_, sessionId_, kCollectForms, world_->contextId);
        if (!forms || forms->kind != Value::Kind::Array) return std::nullopt;
        forms_ = std::move(*forms);
        return forms_.items.size();
    }

    std::unique_ptr<PageForm> Form(std::size_t index) override {
        if (world_ == nullptr || index >= forms_.items.size()) return nullptr;
        return std::make_unique<class Form>(world_, index, forms_.items[index]);
    }

private:
    SessionPtr session_;
    std::string sessionId_;
    Value tree_;
    std::shared_ptr<World> world_;
    Value forms_;
};

std::optional<std::uint16_t> ReadPort(std::string_view text) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value == 0 || value > 65535) return std::nullopt;
    return static_cast<std::uint16_t>(value);
}

}  // namespace

DevToolsSession::DevToolsSession(std::unique_ptr<DevToolsChannel> channel) : channel_(std::move(channel)) {}

std::optional<json::Value> DevToolsSession::Call(std::string_view method, std::string_view params,
                                                 std::string_view sessionId) {
    if (channel_ == nullptr) return std::nullopt;
    const std::int64_t id = nextId_++;
    std::string message = "{\"id\":" + std::to_string(id) + ",\"method\":" + Quote(method) + ",\"params\":";
    message += params;
    if (!sessionId.empty()) message += ",\"sessionId\":" + Quote(sessionId);
    message += "}";
    if (!channel_->Send(message)) return std::nullopt;
    for (;;) {
        const std::optional<std::string> answer = channel_->Receive();
        if (!answer) {
            // A connection that failed once stays failed.
            channel_.reset();
            return std::nullopt;
        }
        std::optional<Value> value = json::Parse(*answer);
        if (!value) continue;
        const Value& answerId = (*value)["id"];
        if (answerId.kind != Value::Kind::Number || static_cast<std::int64_t>(answerId.number) != id) continue;
        if (value->Has("error")) return std::nullopt;
        return (*value)["result"];
    }
}

DevToolsBrowser::DevToolsBrowser(std::unique_ptr<DevToolsChannel> channel)
    : session_(std::make_shared<DevToolsSession>(std::move(channel))) {}

std::unique_ptr<DevToolsBrowser> DevToolsBrowser::Open(std::unique_ptr<DevToolsChannel> channel, bool reuseBlankTab) {
    std::unique_ptr<DevToolsBrowser> browser(new DevToolsBrowser(std::move(channel)));
    DevToolsSession& session = *browser->session_;
    if (reuseBlankTab) {
        if (const std::optional<Value> targets = session.Call("Target.getTargets")) {
            for (const Value& target : (*targets)["targetInfos"].items) {
                if (target["type"].text == "page" && target["url"].text == "about:blank") {
                    browser->targetId_ = target["targetId"].text;
                    break;
                }
            }
        }
    }
    if (browser->targetId_.empty()) {
        const std::optional<Value> created = session.Call("Target.createTarget", "{\"url\":\"about:blank\"}");
        if (!created || (*created)["targetId"].text.empty()) return nullptr;
        browser->targetId_ = (*created)["targetId"].text;
    }
    const std::optional<Value> attached = session.Call(
        "Target.attachToTarget", "{\"targetId\":" + Quote(browser->targetId_) + ",\"flatten\":true}");
    if (!attached || (*attached)["sessionId"].text.empty()) return nullptr;
    browser->sessionId_ = (*attached)["sessionId"].text;
    return browser;
}

bool DevToolsBrowser::Navigate(const std::u16string& url) {
    const std::optional<Value> result = session_->Call("Page.navigate", "{\"url\":" + Quote(url) + "}", sessionId_);
    return result && (*result)["errorText"].text.empty();
}

std::optional<bool> DevToolsBrowser::LoadComplete() {
    const std::optional<Value> state = Evaluate(*session_, sessionId_, "document.readyState");
    if (!state || state->kind != Value::Kind::String) return std::nullopt;
    return state->text == "complete";
}

void DevToolsBrowser::Show() {
    session_->Call("Target.activateTarget", "{\"targetId\":" + Quote(targetId_) + "}");
}

void DevToolsBrowser::Close() { session_->Call("Target.closeTarget", "{\"targetId\":" + Quote(targetId_) + "}"); }

std::unique_ptr<PageDocument> DevToolsBrowser::Document() {
    std::optional<Value> tree = session_->Call("Page.getFrameTree", "{}", sessionId_);
    if (!tree || (*tree)["frameTree"].IsNull()) return nullptr;
    return std::make_unique<class Document>(session_, sessionId_, std::move((*tree)["frameTree"]));
}

std::optional<DevToolsEndpoint> ReadDevToolsActivePort(std::string_view text) {
    const std::size_t end = text.find_first_of("\r\n");
    const std::string_view first = text.substr(0, end);
    const std::optional<std::uint16_t> port = ReadPort(first);
    if (!port || end == std::string_view::npos) return std::nullopt;
    std::string_view rest = text.substr(end);
    while (!rest.empty() && (rest.front() == '\r' || rest.front() == '\n')) rest.remove_prefix(1);
    const std::string_view path = rest.substr(0, rest.find_first_of("\r\n"));
    if (path.empty() || path.front() != '/') return std::nullopt;
    return DevToolsEndpoint{u"127.0.0.1", *port, platform::FromUtf8(path)};
}

std::optional<DevToolsEndpoint> ParseWebSocketUrl(std::string_view url) {
    constexpr std::string_view kScheme = "ws://";
    if (url.substr(0, kScheme.size()) != kScheme) return std::nullopt;
    url.remove_prefix(kScheme.size());
    const std::size_t slash = url.find('/');
    if (slash == std::string_view::npos) return std::nullopt;
    std::optional<DevToolsEndpoint> endpoint = ParseHostPort(platform::FromUtf8(url.substr(0, slash)));
    if (!endpoint) return std::nullopt;
    endpoint->path = platform::FromUtf8(url.substr(slash));
    return endpoint;
}

std::optional<DevToolsEndpoint> ParseHostPort(std::u16string_view text) {
    const std::size_t colon = text.rfind(u':');
    if (colon == std::u16string_view::npos || colon == 0) return std::nullopt;
    const std::optional<std::uint16_t> port = ReadPort(platform::ToUtf8(text.substr(colon + 1)));
    if (!port) return std::nullopt;
    return DevToolsEndpoint{std::u16string(text.substr(0, colon)), *port, {}};
}

}  // namespace kodrin::weblogin
