// Downloads and PAD checks over real HTTP, against a server of the tests' own
// on the loopback address.
#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"
#include "support/temp_folder.h"
#include "update/check_all.h"
#include "update/loopback_server.h"
#include "update/pad_check.h"
#include "update/transfer.h"

namespace kodrin::update {
namespace {

using QvLibrary::QvXferHTTP;
using test::LoopbackServer;

// Records the progress positions and the end of the dialog.
class Recorder final : public QvLibrary::TransferProgress {
public:
    void SetPosition(int position) override {
        if (positions.empty() || positions.back() != position) positions.push_back(position);
        if (onPosition) onPosition(position);
    }
    void End(bool success) override { ended = success; }

    std::vector<int> positions;
    std::optional<bool> ended;
    std::function<void(int)> onPosition;
};

// A session whose answers never tell their length, as WinINet's file
// pointer does not under Wine: the transfer reads until a short block.
class WithoutLength final : public HttpSession {
public:
    explicit WithoutLength(std::unique_ptr<HttpSession> inner) : inner_(std::move(inner)) {}
    std::unique_ptr<HttpResponse> Open(std::u16string_view url, unsigned flags) override {
        auto response = inner_->Open(url, flags);
        if (!response) return nullptr;
        return std::make_unique<Response>(std::move(response));
    }
    HttpFailure Failure() const override { return inner_->Failure(); }
    std::uint32_t LastError() const override { return inner_->LastError(); }

private:
    struct Response final : HttpResponse {
        explicit Response(std::unique_ptr<HttpResponse> r) : inner(std::move(r)) {}
        int Status() const override { return inner->Status(); }
        std::optional<std::uint64_t> Length() override { return std::nullopt; }
        bool Read(std::uint8_t* b, std::size_t s, std::size_t& got) override { return inner->Read(b, s, got); }
        HttpFailure Failure() const override { return inner->Failure(); }
        std::uint32_t LastError() const override { return inner->LastError(); }
        std::unique_ptr<HttpResponse> inner;
    };
    std::unique_ptr<HttpSession> inner_;
};

class Http : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(server_.Running());
        ASSERT_TRUE(temp_.Created());
    }
    std::u16string Local(const char16_t* name) const { return temp_.Path() + u"\\" + name; }
    std::string Contents(const std::u16string& path) const {
        std::vector<std::uint8_t> bytes;
        if (!platform::ReadWholeFile(path, bytes)) return "<none>";
        return std::string(bytes.begin(), bytes.end());
    }

    LoopbackServer server_;
    test::TempFolder temp_{u"kodrin-http-"};
};

TEST_F(Http, ATransferMovesOnlyAWholeFileOfStatus200IntoPlace) {
    struct Case {
        const char* path;
        bool hideLength;  // the length-less path that Wine's WinINet takes
        int result;
        std::size_t size;  // of the final file after a success
        bool partialLeft;
        HttpFailure failure;
    };
    const Case cases[] = {
        {"/bytes/10000", false, 0, 10000, false, HttpFailure::None},
        {"/bytes/8192", false, 0, 8192, false, HttpFailure::None},
        {"/bytes/10000", true, 0, 10000, false, HttpFailure::None},
        {"/bytes/8192", true, 0, 8192, false, HttpFailure::None},
        {"/bytes/0", true, 0, 0, false, HttpFailure::None},
        {"/nolength/10000", false, 0, 10000, false, HttpFailure::None},
        {"/redirect/bytes/5000", false, 0, 5000, false, HttpFailure::None},
        {"/status/404", false, 1, 0, false, HttpFailure::BadStatus},
        {"/status/500", true, 1, 0, false, HttpFailure::BadStatus},
        {"/half/10000", false, 1, 0, true, HttpFailure::Broken},
        {"/half/10000", true, 1, 0, true, HttpFailure::Broken},
        {"/stall", false, 1, 0, false, HttpFailure::TimedOut},
    };
    const std::string earlier = "the earlier, complete file";
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.path) + (c.hideLength ? " without length" : ""));
        const std::u16string local = Local(u"setup.exe");
        ASSERT_TRUE(platform::WriteFileAtomically(local, std::vector<std::uint8_t>(earlier.begin(), earlier.end())));
        platform::RemoveFile(local + u".qvxfer");
        QvXferHTTP transfer(server_.Url16(""), [&c](const HttpLimits& limits) -> std::unique_ptr<HttpSession> {
            auto session = OpenHttpSession(u"QvXferHTTP", limits);
            if (c.hideLength) return std::make_unique<WithoutLength>(std::move(session));
            return session;
        });
        transfer.SetTimeouts(2000, 1000);
        const std::string path(c.path);
        transfer.SetTargetPath(std::u16string(path.begin() + 1, path.end()), local);
        Recorder progress;
        EXPECT_EQ(transfer.Transfer(progress, 0, 100), c.result);
        EXPECT_EQ(transfer.LastFailure(), c.failure) << transfer.LastError();
        EXPECT_EQ(progress.positions.back(), 100);
        EXPECT_FALSE(progress.ended.has_value());
        EXPECT_EQ(Contents(local), c.result == 0 ? LoopbackServer::Pattern(c.size) : earlier);
        EXPECT_EQ(platform::FileExists(local + u".qvxfer"), c.partialLeft);
    }
}

TEST_F(Http, ProgressMovesForwardOnlyAndAnOwnedDialogEndsWithTheResult) {
    QvXferHTTP transfer(server_.Url16("/"));
    transfer.SetTarget(u"bytes/10000", Local(u"a.bin"));
    EXPECT_EQ(transfer.Url(), server_.Url16("/bytes/10000"));
    Recorder progress;
    ASSERT_EQ(transfer.Transfer(progress, 20, 95), 0);
    // 4,096 + 4,096 + 1,808 bytes: 54% and 83% of the way, then the end.
    const std::vector<int> withLength{20, 23, 27, 31, 35, 60, 82, 95};
    // Without a length (WinINet under Wine) the blocks count against the
    // largest length there is: 26% of the way until the short block.
    const std::vector<int> withoutLength{20, 23, 27, 31, 35, 39, 95};
#ifdef _WIN32
    EXPECT_TRUE(progress.positions == withLength || progress.positions == withoutLength);
#else
    EXPECT_EQ(progress.positions, withLength);
    QvXferHTTP hidden(server_.Url16("/"), [](const HttpLimits& limits) -> std::unique_ptr<HttpSession> {
        return std::make_unique<WithoutLength>(OpenHttpSession(u"QvXferHTTP", limits));
    });
    hidden.SetTarget(u"bytes/10000", Local(u"a.bin"));
    Recorder lengthless;
    ASSERT_EQ(hidden.Transfer(lengthless, 20, 95), 0);
    EXPECT_EQ(lengthless.positions, withoutLength);
#endif

    transfer.SetTarget(u"status/404", Local(u"b.bin"));
    transfer.SetOwnsProgress(true);
    Recorder owned;
    EXPECT_EQ(transfer.Transfer(owned, 0, 100), 0);
    EXPECT_EQ(owned.ended, std::optional<bool>(false));
    EXPECT_EQ(transfer.CloseProgress(owned), 0);
    transfer.SetTarget(u"bytes/100", Local(u"b.bin"));
    EXPECT_EQ(transfer.CloseProgress(owned), 1);  // a new target gives the dialog back
    transfer.SetOwnsProgress(true);
    Recorder success;
    EXPECT_EQ(transfer.Transfer(success, 0, 100), 0);
    EXPECT_EQ(success.ended, std::optional<bool>(true));

    // No server on the port: 1, with the bar at the end.
    QvXferHTTP nowhere(u"http://127.0.0.1:1");
    nowhere.SetTarget(u"file", Local(u"c.bin"));
    Recorder failed;
    EXPECT_EQ(nowhere.Transfer(failed, 10, 60), 1);
    EXPECT_EQ(failed.positions.back(), 60);
    EXPECT_FALSE(platform::FileExists(Local(u"c.bin")));

    // The address: one "/" between the pieces, also after a folder part.
    QvXferHTTP slash(u"http://host/base/");
    slash.SetTargetPath(u"sub\\dir/file.txt", Local(u"d"));
    EXPECT_EQ(slash.Url(), u"http://host/base/sub/dir/file.txt");
    slash.SetTarget(u"file.txt", Local(u"d"));
    EXPECT_EQ(slash.Url(), u"http://host/base/file.txt");
}

TEST_F(Http, ACancelledTransferLeavesOnlyThePartialFileAndAReadOnlyTargetIsReplaced) {
    const std::u16string local = Local(u"big.bin");
    QvXferHTTP transfer(server_.Url16(""));
    transfer.SetTarget(u"trickle/100000", local);
    Recorder progress;
    // Cancel once the first block has come; the server sends no more.
    progress.onPosition = [&](int position) {
        if (position > 35) transfer.Cancel();
    };
    EXPECT_EQ(transfer.Transfer(progress, 20, 95), 1);
    EXPECT_EQ(transfer.LastFailure(), HttpFailure::Cancelled);
    EXPECT_FALSE(platform::FileExists(local));
    EXPECT_EQ(Contents(local + u".qvxfer"), LoopbackServer::Pattern(4096));

    // The next transfer starts afresh and replaces a read-only file.
    const std::string old = "old";
    ASSERT_TRUE(platform::WriteFileAtomically(local, std::vector<std::uint8_t>(old.begin(), old.end())));
    ASSERT_TRUE(platform::SetReadOnly(local, true));
    transfer.SetTarget(u"bytes/9000", local);
    Recorder again;
    EXPECT_EQ(transfer.Transfer(again, 0, 100), 0);
    EXPECT_EQ(Contents(local), LoopbackServer::Pattern(9000));
    EXPECT_FALSE(platform::FileExists(local + u".qvxfer"));
}

std::string Pad(const std::string& version) {
    return "<?xml version=\"1.0\"?>\r\n<XML_DIZ_INFO><Program_Info><Program_Version>" + version +
           "</Program_Version></Program_Info><Web_Info><Download_URLs><Primary_Download_URL>http://example.com/" +
           version + ".exe</Primary_Download_URL></Download_URLs></Web_Info></XML_DIZ_INFO>\r\n";
}

TEST_F(Http, APadCheckAnswersWithinItsTimeOutsAndNamesWhyItFailed) {
    server_.Serve("/pad.xml", {200, Pad("2.0"), "text/xml"});
    // A version tag split across the 4,096-byte blocks.
    std::string big = "<XML_DIZ_INFO>" + std::string(4096 - 14 - 8, ' ') + "<Program_Version>3.1</Program_Version>";
    server_.Serve("/big.xml", {200, big + std::string(6000, ' ') + "</XML_DIZ_INFO>", "text/xml"});
    server_.Serve("/home.html", {200, "<html><body>Welcome</body></html>", "text/html"});
    server_.Serve("/error-pad.xml", {404, Pad("9.9"), "text/xml"});
    server_.Serve("/huge.xml", {200, std::string(kMaxPadBytes + 1, 'x'), "text/xml"});
    struct Case {
        const char* path;
        const char* outcome;
        const char16_t* published;
    };
    const Case cases[] = {
        {"/pad.xml", "newer", u"2.0"},
        {"/redirect/pad.xml", "newer", u"2.0"},
        {"/big.xml", "newer", u"3.1"},
        {"/home.html", "failed: not a PAD file", u""},
        {"/error-pad.xml", "failed: HTTP 404", u""},
        {"/status/500", "failed: HTTP 500", u""},
        {"/stall", "failed: time-out", u""},
        {"/half/10000", "failed: connection broken", u""},
        {"/huge.xml", "failed: too large", u""},
    };
    HttpLimits limits;
    limits.connectTimeoutMs = 2000;
    limits.receiveTimeoutMs = 1000;
    const auto session = OpenHttpSession(u"PadFileDownload", limits);
    ASSERT_NE(session, nullptr);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const PadCheckResult result = CheckPadFile(*session, server_.Url16(c.path), u"1.5");
        EXPECT_EQ(OutcomeWord(result), c.outcome);
        EXPECT_EQ(result.published, c.published);
    }
    EXPECT_EQ(OutcomeWord(CheckPadFile(*session, u"http://127.0.0.1:1/pad.xml", u"1.0")), "failed: cannot connect");
    // A PAD file address reads only from the web, never a local file.
    const std::u16string local = Local(u"pad.xml");
    const std::string pad = Pad("5.0");
    ASSERT_TRUE(platform::WriteFileAtomically(local, std::vector<std::uint8_t>(pad.begin(), pad.end())));
    std::u16string fileUrl = u"file:///" + local;
    for (char16_t& c : fileUrl) {
        if (c == u'\\') c = u'/';
    }
    EXPECT_EQ(OutcomeWord(CheckPadFile(*session, fileUrl, u"1.0")), "failed: cannot connect");
}

TEST_F(Http, CheckAllRunsEightAtATimeAndKeepsTheItemsOrder) {
    std::vector<CheckItem> items;
    for (int i = 0; i < 24; ++i) {
        const std::string path = "/pad" + std::to_string(i) + ".xml";
        if (i % 6 != 5) server_.Serve(path, {200, Pad("1." + std::to_string(i)), "text/xml"});
        items.push_back({i, server_.Url16(path), u"1.10"});
    }
    server_.SetDelay(150);
    std::vector<std::size_t> reported;
    const std::vector<PadCheckResult> results =
        CheckAll(items, HttpLimits{}, kChecksAtOnce, {}, [&](std::size_t done, std::size_t total) {
            EXPECT_EQ(total, items.size());
            reported.push_back(done);
        });
    ASSERT_EQ(results.size(), items.size());
    for (int i = 0; i < 24; ++i) {
        SCOPED_TRACE(i);
        const std::string expected = i % 6 == 5 ? "failed: HTTP 404" : i > 10 ? "newer" : "current";
        EXPECT_EQ(OutcomeWord(results[static_cast<std::size_t>(i)]), expected);
    }
    EXPECT_EQ(reported.size(), items.size());
    EXPECT_EQ(reported.back(), items.size());
    EXPECT_LE(server_.MostAtOnce(), kChecksAtOnce);
    EXPECT_GT(server_.MostAtOnce(), 1);
    const CheckCounts counts = CountOutcomes(results);
    EXPECT_EQ(counts.newer + counts.current + counts.noVersion + counts.failed, items.size());
    EXPECT_EQ(counts.failed, 4u);

    // Cancelled after the first answer: the rest fail as cancelled.
    std::atomic<bool> cancel{false};
    HttpLimits limits;
    limits.cancel = &cancel;
    const auto cancelled = CheckAll(items, limits, 2, {}, [&](std::size_t, std::size_t) { cancel = true; });
    EXPECT_GE(CountOutcomes(cancelled).failed, items.size() - 2);
    EXPECT_EQ(OutcomeWord(cancelled.back()), "failed: cancelled");
}

}  // namespace
}  // namespace kodrin::update
