#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "support/text.h"
#include "weblogin/devtools.h"

namespace kodrin::weblogin {
namespace {

using test::U;

TEST(Json, ParsesWhatTheProtocolSendsAndRefusesTheRest) {
    const auto value = json::Parse(R"( {"id": 7, "result": {"a": [1, -2.5e1, true, false, null],)"
                                   R"( "s": "q\"\\\/\n\u00e9\ud83d\ude00", "o": {}}} )");
    ASSERT_TRUE(value);
    EXPECT_EQ((*value)["id"].number, 7);
    const json::Value& a = (*value)["result"]["a"];
    EXPECT_EQ(a.items.size(), 5u);
    EXPECT_EQ(a[1].number, -25);
    EXPECT_TRUE(a[2].boolean);
    EXPECT_TRUE(a[4].IsNull());
    EXPECT_TRUE(a[9].IsNull());
    EXPECT_EQ((*value)["result"]["s"].text, "q\"\\/\n\xc3\xa9\xf0\x9f\x98\x80");
    EXPECT_TRUE((*value)["missing"]["deeper"].IsNull());
    for (const char* bad : {"", "{", "[1,]", "{\"a\" 1}", "\"open", "tru", "1 2", "\"\x01\"", "\"\\x\""}) {
        EXPECT_FALSE(json::Parse(bad)) << bad;
    }
    EXPECT_FALSE(json::Parse(std::string(100, '[') + std::string(100, ']')));
    // Quoting round-trips through the reader.
    const std::u16string text = u"a\"b\\c\r\n\x01 \u00e9\U0001F600";
    EXPECT_EQ(json::Parse(json::Quote(text))->text, platform::ToUtf8(text));
}

TEST(DevToolsEndpoint, ReadsThePortFileTheUrlAndHostPort) {
    const auto file = ReadDevToolsActivePort("9222\r\n/devtools/browser/abc\r\n");
    ASSERT_TRUE(file);
    EXPECT_EQ(file->port, 9222);
    EXPECT_EQ(file->host, u"127.0.0.1");
    EXPECT_EQ(file->path, u"/devtools/browser/abc");
    EXPECT_FALSE(ReadDevToolsActivePort("9222\n"));
    EXPECT_FALSE(ReadDevToolsActivePort("0\n/x"));
    EXPECT_FALSE(ReadDevToolsActivePort("70000\n/x"));
    const auto url = ParseWebSocketUrl("ws://localhost:4000/devtools/browser/x");
    ASSERT_TRUE(url);
    EXPECT_EQ(url->host, u"localhost");
    EXPECT_EQ(url->port, 4000);
    EXPECT_EQ(url->path, u"/devtools/browser/x");
    EXPECT_FALSE(ParseWebSocketUrl("http://h:1/x"));
    EXPECT_FALSE(ParseHostPort(u"host"));
    EXPECT_FALSE(ParseHostPort(u"host:x1"));
    EXPECT_EQ(ParseHostPort(u"127.0.0.1:9")->port, 9);
}

// A browser that answers each request through a function of its method and
// parameters; it sends an event before each answer, as browsers do.
struct ScriptedChannel : DevToolsChannel {
    std::function<std::string(const json::Value& request)> answer;
    std::vector<json::Value>* requests;
    std::deque<std::string> pending;
    bool lost = false;  // the connection dropped: nothing more arrives

    bool Send(const std::string& message) override {
        const auto request = json::Parse(message);
        if (!request) return false;
        requests->push_back(*request);
        pending.push_back(R"({"method":"Target.targetInfoChanged","params":{}})");
        const std::string id = std::to_string(static_cast<long long>((*request)["id"].number));
        pending.push_back(R"({"id":)" + id + "," + answer(*request) + "}");
        return true;
    }
    std::optional<std::string> Receive() override {
        if (lost || pending.empty()) return std::nullopt;
        std::string next = pending.front();
        pending.pop_front();
        return next;
    }
};

// Answers a page with a top frame and one child frame holding one login form.
std::string Answer(const json::Value& request) {
    const std::string& method = request["method"].text;
    if (method == "Target.getTargets") {
        return R"("result":{"targetInfos":[{"type":"service_worker","url":"about:blank","targetId":"W"},)"
               R"({"type":"page","url":"about:blank","targetId":"T1"}]})";
    }
    if (method == "Target.attachToTarget") return R"("result":{"sessionId":"S1"})";
    if (method == "Page.navigate") {
        return request["params"]["url"].text == "http://bad/" ? R"("result":{"errorText":"net::ERR_FAILED"})"
                                                               : R"("result":{"frameId":"F0"})";
    }
    if (method == "Page.getFrameTree") {
        return R"("result":{"frameTree":{"frame":{"id":"F0"},"childFrames":[{"frame":{"id":"F1"}}]}})";
    }
    if (method == "Page.createIsolatedWorld") {
        return request["params"]["frameId"].text == "F1" ? R"("result":{"executionContextId":12})"
                                                          : R"("error":{"code":-32000})";
    }
    if (method == "Runtime.evaluate") {
        const std::string& expression = request["params"]["expression"].text;
        if (expression == "document.readyState") return R"("result":{"result":{"type":"string","value":"complete"}})";
        if (expression.find("document.forms") != std::string::npos) {
            return R"("result":{"result":{"type":"object","value":[[["INPUT","u","text","user",""],)"
                   R"(["BUTTON","b",null,"",""]]]}})";
        }
        return R"("result":{"result":{"type":"undefined"}})";
    }
    return R"("result":{})";
}

TEST(DevToolsBrowser, DrivesTheBlankTabThroughTheProtocol) {
    std::vector<json::Value> requests;
    auto channel = std::make_unique<ScriptedChannel>();
    channel->answer = Answer;
    channel->requests = &requests;
    auto browser = DevToolsBrowser::Open(std::move(channel), true);
    ASSERT_NE(browser, nullptr);
    EXPECT_EQ(requests.back()["params"]["targetId"].text, "T1");  // the page, not the worker
    EXPECT_TRUE(browser->Navigate(u"http://site/login?a=\"1\""));
    EXPECT_EQ(requests.back()["sessionId"].text, "S1");
    EXPECT_EQ(requests.back()["params"]["url"].text, "http://site/login?a=\"1\"");
    EXPECT_FALSE(browser->Navigate(u"http://bad/"));
    EXPECT_EQ(browser->LoadComplete(), std::optional<bool>(true));

    auto top = browser->Document();
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top->FrameCount(), 1u);
    EXPECT_FALSE(top->FormCount());  // the top frame's world could not be made
    auto frame = top->Frame(0);
    ASSERT_NE(frame, nullptr);
    EXPECT_EQ(frame->FrameCount(), 0u);
    ASSERT_EQ(frame->FormCount(), std::optional<std::size_t>(1));
    auto form = frame->Form(0);
    ASSERT_EQ(form->ElementCount(), 2u);
    auto input = form->Element(0);
    EXPECT_EQ(input->TagName(), u"INPUT");
    EXPECT_EQ(input->InputType(), std::optional<std::u16string>(u"text"));
    EXPECT_EQ(input->Name(), u"user");
    EXPECT_FALSE(form->Element(1)->InputType());
    input->SetValue(u"it's \"me\"");
    const json::Value& set = requests.back()["params"];
    EXPECT_EQ(set["contextId"].number, 12);
    EXPECT_NE(set["expression"].text.find(R"("it's \"me\"")"), std::string::npos);
    EXPECT_NE(set["expression"].text.find("'change'"), std::string::npos);
    form->Submit();
    EXPECT_NE(requests.back()["params"]["expression"].text.find("requestSubmit"), std::string::npos);
    browser->Close();
    EXPECT_EQ(requests.back()["method"].text, "Target.closeTarget");
    EXPECT_EQ(requests.back()["params"]["targetId"].text, "T1");
}

TEST(DevToolsBrowser, ALostConnectionFailsEveryLaterCall) {
    std::vector<json::Value> requests;
    auto channel = std::make_unique<ScriptedChannel>();
    channel->requests = &requests;
    channel->answer = Answer;
    ScriptedChannel* raw = channel.get();
    auto browser = DevToolsBrowser::Open(std::move(channel), true);
    ASSERT_NE(browser, nullptr);
    raw->lost = true;
    EXPECT_FALSE(browser->LoadComplete());
    // The channel is gone with the connection: nothing more is sent.
    const std::size_t sent = requests.size();
    EXPECT_FALSE(browser->Navigate(u"http://site/"));
    EXPECT_EQ(browser->Document(), nullptr);
    EXPECT_EQ(requests.size(), sent);

    // A browser that cannot open a tab gives no browser.
    auto refusing = std::make_unique<ScriptedChannel>();
    refusing->requests = &requests;
    refusing->answer = [](const json::Value&) { return std::string(R"("error":{"code":-1})"); };
    EXPECT_EQ(DevToolsBrowser::Open(std::move(refusing), true), nullptr);
}

}  // namespace
}  // namespace kodrin::weblogin
