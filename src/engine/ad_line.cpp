#include "engine/ad_line.h"

#include <cstdlib>
#include <utility>

#include "platform/text.h"

namespace vellumar {

std::string SiteRootFrom(const char* override_url) {
    std::string_view root = kSiteRoot;
    if (override_url) {
        const std::string_view candidate = override_url;
        if (StartsWithIgnoringAsciiCase(candidate, "http://") ||
            StartsWithIgnoringAsciiCase(candidate, "https://"))
            root = candidate;
    }
    while (!root.empty() && root.back() == '/') root.remove_suffix(1);
    return std::string(root);
}

std::string SiteRoot() {
    // Read once: the variable belongs to the process's start.
    static const std::string root = SiteRootFrom(std::getenv(kSiteUrlVariable));
    return root;
}

std::string HomePageUrl() {
    return SiteRoot() + std::string(kHomePagePath);
}
std::string AdTextUrl() {
    return SiteRoot() + std::string(kAdTextPath);
}
std::string AdPageUrl() {
    return SiteRoot() + std::string(kAdPagePath);
}

std::string AdTextOfReply(std::string_view reply) {
    if (!StartsWithIgnoringAsciiCase(reply, "ad"))
        return {};
    return std::string(reply.substr(2));
}

std::string AdLabelText(std::string_view text) {
    std::string line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if (byte == '\0' || byte == '\r' || byte == '\n')
            break;
        if (byte < 0x20 || byte == 0x7F)
            continue;
        // C1 controls (U+0080 to U+009F) are C2 80 to C2 9F in UTF-8.
        if (byte == 0xC2 && i + 1 < text.size()) {
            const auto next = static_cast<unsigned char>(text[i + 1]);
            if (next >= 0x80 && next <= 0x9F) {
                ++i;
                continue;
            }
        }
        line.push_back(static_cast<char>(byte));
    }
    return line;
}

AdLine::AdLine(Label& label_ad, Label& label_homepage, Timer& timer_ad, AdFetcher& fetcher,
               std::function<void(const std::string&)> open_page)
    : label_ad_(label_ad),
      label_homepage_(label_homepage),
      timer_ad_(timer_ad),
      fetcher_(fetcher),
      open_page_(std::move(open_page)) {
    timer_ad_.SetHandler([this] { TimerAd_Timer(); });
    fetcher_.onFetched = [this](const std::string& text) { Fetched(text); };
    label_ad_.onClick = [this] { LabelAd_Click(); };
    label_ad_.onMouseMove = [this] { LabelAd_MouseMove(); };
    label_homepage_.onClick = [this] { LabelHomepage_Click(); };
}

AdLine::~AdLine() {
    timer_ad_.SetHandler({});
    fetcher_.onFetched = nullptr;
    label_ad_.onClick = nullptr;
    label_ad_.onMouseMove = nullptr;
    label_homepage_.onClick = nullptr;
}

void AdLine::AddPausingForm(std::function<bool()> shown) {
    pausing_forms_.push_back(std::move(shown));
}

void AdLine::TimerAd_Timer() {
    for (const auto& shown : pausing_forms_) {
        if (shown && shown())
            return;
    }
    // A fetch still under way keeps its place; the next tick asks again.
    fetcher_.Start(AdTextUrl());
}

void AdLine::Fetched(const std::string& text) {
    // A text with nothing to show on its first line counts as none, so the
    // timer goes on asking.
    std::string line = AdLabelText(text);
    if (line.empty())
        return;
    label_ad_.SetText(std::move(line));
    label_ad_.SetVisible(true);
    timer_ad_.SetEnabled(false);
}

void AdLine::LabelAd_Click() {
    if (open_page_)
        open_page_(AdPageUrl());
}

void AdLine::LabelHomepage_Click() {
    if (open_page_)
        open_page_(HomePageUrl());
}

void AdLine::LabelAd_MouseMove() {
    label_ad_.SetUnderline(true);
}

}  // namespace vellumar
