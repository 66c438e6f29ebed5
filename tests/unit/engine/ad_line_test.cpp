#include "engine/ad_line.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "fakes/fake_platform.h"

namespace vellumar {
namespace {

TEST(AdReply, MarkerRules) {
    const struct {
        std::string_view reply;
        std::string_view text;
    } cases[] = {
        {"ADBuy now", "Buy now"},
        {"adBuy now", "Buy now"},
        {"aD Buy\r\nnow ", " Buy\r\nnow "},  // the rest unchanged
        {"AD", ""},                          // the marker alone
        {"\xEF\xBB\xBF"
         "ADBuy",
         ""},               // byte-order mark first
        {"\r\nADBuy", ""},  // blank line first
        {" ADBuy", ""},
        {"A", ""},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(AdTextOfReply(c.reply), c.text) << c.reply;
}

TEST(AdReply, LabelShowsTheFirstLineWithoutControlCharacters) {
    const struct {
        std::string_view text;
        std::string_view line;
    } cases[] = {
        {"one\r\ntwo", "one"},
        {"one\ntwo", "one"},
        {"one\rtwo", "one"},
        {"a\tb\x01"
         "c\x7f"
         "d\x1b",
         "abcd"},
        {"x\xC2\x85y", "xy"},                                      // C1 control in UTF-8
        {"caf\xC3\xA9 \xE5\xBF\xAB", "caf\xC3\xA9 \xE5\xBF\xAB"},  // letters kept
        {"\r\nsecond line", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(AdLabelText(c.text), c.line) << c.text;
}

TEST(AdReply, SiteRootAndItsOverride) {
    const std::string built_in(kSiteRoot);
    const struct {
        const char* override_url;
        std::string root;
    } cases[] = {
        {nullptr, built_in},
        {"", built_in},
        {"ftp://127.0.0.1", built_in},
        {"http://127.0.0.1:8080/", "http://127.0.0.1:8080"},
        {"HTTPS://example.org", "HTTPS://example.org"},
    };
    for (const auto& c : cases) EXPECT_EQ(SiteRootFrom(c.override_url), c.root);
    EXPECT_EQ(HomePageUrl(), SiteRoot() + "/vellumar/");
    EXPECT_EQ(AdPageUrl(), SiteRoot() + "/vellumar/ad/page/");
}

// Serves a body from memory, recording what each read asked for.
class MemoryHttp : public HttpClient, public HttpBody {
  public:
    std::unique_ptr<HttpBody> Get(const std::string& url) override {
        urls.push_back(url);
        if (!answers)
            return nullptr;
        struct Borrowed : HttpBody {
            explicit Borrowed(MemoryHttp& owner) : owner(owner) {}
            bool Read(std::span<char> buffer, std::size_t& read_bytes) override {
                return owner.Read(buffer, read_bytes);
            }
            MemoryHttp& owner;
        };
        return std::make_unique<Borrowed>(*this);
    }
    bool Read(std::span<char> buffer, std::size_t& read_bytes) override {
        asked.push_back(buffer.size());
        if (fail_at_read && asked.size() == fail_at_read)
            return false;
        read_bytes = std::min(buffer.size(), body.size() - offset);
        std::copy_n(body.data() + offset, read_bytes, buffer.data());
        offset += read_bytes;
        return true;
    }

    bool answers = true;
    std::string body;
    std::size_t offset = 0;
    std::size_t fail_at_read = 0;
    std::vector<std::string> urls;
    std::vector<std::size_t> asked;
};

TEST(GetAdText, ReadsALongReplyInChunksToItsEnd) {
    MemoryHttp http;
    http.body = "Ad" + std::string(2500, 'x') + "end";
    EXPECT_EQ(GetAdText(http, "http://h/vellumar/ad/"), std::string(2500, 'x') + "end");
    EXPECT_EQ(http.urls, std::vector<std::string>{"http://h/vellumar/ad/"});
    EXPECT_EQ(http.asked, std::vector<std::size_t>(4, kAdChunkBytes));
}

TEST(GetAdText, FailuresAndOversizedRepliesGiveNothing) {
    MemoryHttp refused;
    refused.answers = false;
    EXPECT_EQ(GetAdText(refused, "u"), "");

    MemoryHttp broken;
    broken.body = "AD" + std::string(3000, 'x');
    broken.fail_at_read = 2;
    EXPECT_EQ(GetAdText(broken, "u"), "");

    MemoryHttp huge;
    huge.body = "AD" + std::string(10 * 1024 * 1024, 'x');
    EXPECT_EQ(GetAdText(huge, "u"), "");
    // Reading stopped just past the cap instead of taking all ten megabytes.
    EXPECT_EQ(huge.asked.size(), kAdReplyCapBytes / kAdChunkBytes + 1);
}

class FakeFetcher : public AdFetcher {
  public:
    bool Start(const std::string& url) override {
        started.push_back(url);
        return true;
    }
    std::vector<std::string> started;
};

class AdLineTest : public ::testing::Test {
  protected:
    testing::ManualTimerService timers;
    Timer timer{timers, 3000, true};
    Label ad{"LabelAd", {}, "Nothing", {}};
    Label homepage{"LabelHomepage", {}, "home", {}};
    FakeFetcher fetcher;
    std::vector<std::string> opened;
    AdLine line{ad, homepage, timer, fetcher,
                [this](const std::string& url) { opened.push_back(url); }};
};

TEST_F(AdLineTest, TicksFetchUnlessAPausingFormIsShown) {
    bool menu_shown = true;
    bool dialog_shown = false;
    line.AddPausingForm([&] { return menu_shown; });
    line.AddPausingForm([&] { return dialog_shown; });
    timers.Fire(timer);
    menu_shown = false;
    dialog_shown = true;
    timers.Fire(timer);
    EXPECT_TRUE(fetcher.started.empty());
    dialog_shown = false;
    timers.Fire(timer);
    EXPECT_EQ(fetcher.started, std::vector<std::string>{AdTextUrl()});
}

TEST_F(AdLineTest, OnlyAShowableLineStopsTheTimer) {
    ad.SetVisible(false);
    for (const char* nothing : {"", "\r\nsecond line", "\x01\x02"}) {
        fetcher.onFetched(nothing);
        EXPECT_FALSE(ad.Visible());
        EXPECT_EQ(ad.Text(), "Nothing");
        EXPECT_TRUE(timers.IsRunning(timer));
    }
    fetcher.onFetched("Faster today\r\nignored");
    EXPECT_TRUE(ad.Visible());
    EXPECT_EQ(ad.Text(), "Faster today");
    EXPECT_FALSE(timers.IsRunning(timer));
}

TEST_F(AdLineTest, LabelsOpenTheirPagesAndTheAdUnderlinesUnderThePointer) {
    ad.UserClick();
    homepage.UserClick();
    EXPECT_EQ(opened, (std::vector<std::string>{AdPageUrl(), HomePageUrl()}));
    ad.onMouseMove();
    EXPECT_TRUE(ad.Style().underline);
}

}  // namespace
}  // namespace vellumar
