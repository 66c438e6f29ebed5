#include "engine/ad_fetch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace vellumar {
namespace {

// One scripted answer of the fake server.
struct Answer {
    HttpHead head;
    std::string body;
    bool last_chunk = true;     // for a chunked body: its end came
    std::size_t fail_read = 0;  // this read (from 1) fails
};

// Answers each address as scripted (nothing for any other), recording the
// addresses asked for and the size each read asks for.
class ScriptedServer : public HttpClient {
  public:
    std::map<std::string, Answer> answers;
    std::vector<std::string> asked;
    std::vector<std::size_t> reads;

    std::unique_ptr<HttpReply> Get(const std::string& url) override {
        asked.push_back(url);
        const auto it = answers.find(url);
        if (it == answers.end())
            return nullptr;
        return std::make_unique<Reply>(*this, it->second);
    }

  private:
    struct Reply : HttpReply {
        Reply(ScriptedServer& server, const Answer& answer) : server(server), answer(answer) {
            head = answer.head;
        }
        bool Read(std::span<char> buffer, std::size_t& read_bytes) override {
            server.reads.push_back(buffer.size());
            read_bytes = std::min(buffer.size(), answer.body.size() - offset);
            std::copy_n(answer.body.data() + offset, read_bytes, buffer.data());
            offset += read_bytes;
            return server.reads.size() != answer.fail_read;
        }
        bool LastChunkSeen() const override { return answer.last_chunk; }
        ScriptedServer& server;
        const Answer& answer;
        std::size_t offset = 0;
    };
};

Answer Ok(std::string body) {
    return {{200, "", std::to_string(body.size()), ""}, std::move(body)};
}
Answer Redirect(std::string location, int status = 302) {
    return {{status, std::move(location), "0", ""}, ""};
}

TEST(RedirectTarget, ResolvesReferencesAndRefusesOtherSchemes) {
    const std::string from = "http://h:81/a/b/c?q=1#f";
    for (const auto& [location, target] :
         std::vector<std::pair<std::string, std::string>>{{"https://other/x", "https://other/x"},
                                                          {"HTTP://other/x#top", "HTTP://other/x"},
                                                          {"//other/x", "http://other/x"},
                                                          {"/root", "http://h:81/root"},
                                                          {"d?e", "http://h:81/a/b/d?e"},
                                                          {"?p=2", "http://h:81/a/b/c?p=2"},
                                                          {" /spaced ", "http://h:81/spaced"},
                                                          {"ftp://h/file", ""},
                                                          {"file:///C:/x", ""},
                                                          {"javascript:alert(1)", ""},
                                                          {"http:relative", ""},
                                                          {"", ""}}) {
        EXPECT_EQ(RedirectTarget(from, location), target) << location;
    }
    EXPECT_EQ(RedirectTarget("http://h", "x"), "http://h/x");
    EXPECT_EQ(RedirectTarget("http://h?q", "?r"), "http://h/?r");
}

// A chain of `redirects` hops, relative and absolute, ending at the text.
ScriptedServer Chain(int redirects) {
    ScriptedServer server;
    for (int i = 0; i < redirects; ++i) {
        const std::string next = "http://h/" + std::to_string(i + 1);
        server.answers["http://h/" + std::to_string(i)] =
            Redirect(i % 2 ? next : std::to_string(i + 1), i % 3 ? 302 : 307);
    }
    server.answers["http://h/" + std::to_string(redirects)] = Ok("ADFaster");
    return server;
}

TEST(GetAdText, FollowsFiveRedirectsAndRefusesTheSixth) {
    ScriptedServer five = Chain(5);
    EXPECT_EQ(GetAdText(five, "http://h/0"), "Faster");
    EXPECT_EQ(five.asked.size(), 6u);
    ScriptedServer six = Chain(6);
    EXPECT_EQ(GetAdText(six, "http://h/0"), "");
    EXPECT_EQ(six.asked.size(), 6u);  // the sixth redirect is not followed
}

TEST(GetAdText, OnlyAWholeSuccessfulReplyCounts) {
    const auto chunked = [](std::string body, bool last_chunk) {
        return Answer{{200, "", "", "gzip, Chunked"}, std::move(body), last_chunk};
    };
    Answer short_body = Ok("ADshort");
    short_body.head.content_length = "1000000000";
    Answer long_body = Ok("ADlonger");
    long_body.head.content_length = "4";
    Answer no_length = Ok("ADuntil closed");
    no_length.head.content_length.clear();
    Answer bad_length = Ok("ADx");
    bad_length.head.content_length = "3x";
    Answer broken = Ok("AD" + std::string(3000, 'x'));
    broken.fail_read = 2;
    const std::vector<std::pair<Answer, std::string>> cases{
        {Ok("ADwhole"), "whole"},
        {no_length, "until closed"},
        {chunked("ADchunks", true), "chunks"},
        {chunked("ADchunks", false), ""},
        {short_body, ""},
        {long_body, ""},
        {bad_length, ""},
        {broken, ""},
        {Redirect("ftp://h/ad"), ""},
        {Redirect(""), ""},  // a 302 without a Location is no reply
        {Answer{{404, "", "5", ""}, "ADno"}, ""},
        {Answer{{304, "", "0", ""}, ""}, ""},
    };
    for (const auto& [answer, text] : cases) {
        ScriptedServer server;
        server.answers["http://h/ad"] = answer;
        EXPECT_EQ(GetAdText(server, "http://h/ad"), text) << answer.head.status << answer.body;
        EXPECT_EQ(server.asked.size(), 1u);
    }
    ScriptedServer none;
    EXPECT_EQ(GetAdText(none, "http://h/ad"), "");
}

TEST(GetAdText, ReadsALongReplyInChunksToItsEnd) {
    ScriptedServer server;
    server.answers["http://h/vellumar/ad/"] = Ok("Ad" + std::string(2500, 'x') + "end");
    EXPECT_EQ(GetAdText(server, "http://h/vellumar/ad/"), std::string(2500, 'x') + "end");
    EXPECT_EQ(server.asked, std::vector<std::string>{"http://h/vellumar/ad/"});
    EXPECT_EQ(server.reads, std::vector<std::size_t>(4, kAdChunkBytes));
}

TEST(GetAdText, AReplyOverTheCapIsReadNoFurther) {
    ScriptedServer server;
    server.answers["u"] = Ok("AD" + std::string(10 * 1024 * 1024, 'x'));
    EXPECT_EQ(GetAdText(server, "u"), "");
    // Reading stopped just past the cap instead of taking all ten megabytes.
    EXPECT_EQ(server.reads.size(), kAdReplyCapBytes / kAdChunkBytes + 1);
}

}  // namespace
}  // namespace vellumar
