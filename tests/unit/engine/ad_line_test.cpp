#include "engine/ad_line.h"

#include <gtest/gtest.h>

#include "fakes/fake_platform.h"

namespace vellumar {
namespace {

using namespace std::string_literals;
using TextCase = std::pair<std::string, std::string>;

TEST(AdReply, MarkerRules) {
    const std::string bom = "\xEF\xBB\xBF";
    for (const auto& [reply, text] : std::vector<TextCase>{{"ADBuy now", "Buy now"},
                                                           {"adBuy now", "Buy now"},
                                                           {"aD x\r\ny ", " x\r\ny "},
                                                           {"AD", ""},
                                                           {bom + "ADBuy", ""},
                                                           {"\r\nADBuy", ""},
                                                           {" ADBuy", ""},
                                                           {"A", ""}}) {
        EXPECT_EQ(AdTextOfReply(reply), text) << reply;
    }
}

TEST(AdReply, LabelShowsTheFirstLineWithoutControlCharacters) {
    for (const auto& [text, line] :
         std::vector<TextCase>{{"one\r\ntwo", "one"},
                               {"one\ntwo", "one"},
                               {"one\rtwo", "one"},
                               {"a\tb\001c\177d\033", "abcd"},
                               {"x\xC2\x85y", "xy"},  // C1 control
                               {"caf\xC3\xA9 \xE5\xBF\xAB", "caf\xC3\xA9 \xE5\xBF\xAB"},
                               {"\r\nnext", ""},
                               // A NUL ends the line as it ends a window text.
                               {"AD\0\0hidden"s, "AD"},
                               {"\0hidden"s, ""}}) {
        EXPECT_EQ(AdLabelText(text), line) << text;
    }
}

TEST(AdReply, SiteRootAndItsOverride) {
    EXPECT_EQ(SiteRootFrom(nullptr), kSiteRoot);
    EXPECT_EQ(SiteRootFrom("ftp://127.0.0.1"), kSiteRoot);
    EXPECT_EQ(SiteRootFrom("http://127.0.0.1:8080/"), "http://127.0.0.1:8080");
    EXPECT_EQ(SiteRootFrom("HTTPS://example.org"), "HTTPS://example.org");
    EXPECT_EQ(AdPageUrl(), SiteRoot() + "/vellumar/ad/page/");
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
    for (const std::string& nothing : {""s, "\r\nsecond line"s, "\x01\x02"s, "\0\0hidden"s}) {
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
