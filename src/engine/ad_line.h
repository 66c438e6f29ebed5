#pragma once
// The advertisement line and the links to the product's web site.
//
// The main window's LabelAd stays hidden until a line has arrived from the
// site: every tick of TimerAd (3 s) asks an AdFetcher to GET the text path,
// unless a form that pauses the fetch is on screen (the tray menu, the
// CPU-limit dialog). The fetcher works off the GUI thread and hands the text
// back on it; the first non-empty line is shown and stops the timer. The
// close image re-arms the timer (app/main_window.h), so each hide fetches
// the newest line. Clicks on LabelAd and LabelHomepage open the
// advertisement page and the home page in the user's browser.
//
// GetAdText (engine/ad_fetch.h) is the fetch itself: a complete reply
// counts only when it begins with the marker "AD" (any letter case) and has
// text after it. The composition root (app/win32/vellumar_app.cpp) creates
// the Win32 fetcher and an AdLine and tells it which forms pause it.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "controls/controls.h"
#include "platform/timer.h"

namespace vellumar {

// The product's web site when the build names none (CMake cache variable
// VELLUMAR_SITE_URL); whoever ships the program points it at their server.
#ifndef VELLUMAR_SITE_URL
#define VELLUMAR_SITE_URL "http://www.vellumar.com"
#endif
inline constexpr std::string_view kSiteRoot = VELLUMAR_SITE_URL;
// The environment variable that overrides the site at run time.
inline constexpr const char* kSiteUrlVariable = "VELLUMAR_SITE_URL";

inline constexpr std::string_view kHomePagePath = "/vellumar/";
inline constexpr std::string_view kAdTextPath = "/vellumar/ad/";
inline constexpr std::string_view kAdPagePath = "/vellumar/ad/page/";

// The site root: `override_url` when it is an http or https address (a
// trailing slash dropped), otherwise kSiteRoot.
std::string SiteRootFrom(const char* override_url);
// The site root of this run: kSiteRoot or the environment's override.
std::string SiteRoot();
std::string HomePageUrl();
std::string AdTextUrl();
std::string AdPageUrl();

// The advertisement of a reply: what follows the marker, unchanged; empty
// when the reply does not begin with the marker or holds nothing else.
std::string AdTextOfReply(std::string_view reply);
// What the label shows of a text: its first line, which ends at a line
// break or a NUL as the platform's own texts do, without the other control
// characters.
std::string AdLabelText(std::string_view text);

// Runs GetAdText away from the GUI thread, one fetch at a time.
class AdFetcher {
  public:
    virtual ~AdFetcher() = default;
    // Starts a fetch of `url`; false (and nothing starts) while one runs.
    virtual bool Start(const std::string& url) = 0;
    // Set by the owner: receives each finished fetch's text (empty when
    // there was none) on the GUI thread.
    std::function<void(const std::string&)> onFetched;
};

class AdLine {
  public:
    // Installs the handlers of the two labels and of `timer_ad`.
    AdLine(Label& label_ad, Label& label_homepage, Timer& timer_ad, AdFetcher& fetcher,
           std::function<void(const std::string&)> open_page);
    // Takes its handlers back, so the labels and the timer can outlive it.
    ~AdLine();
    AdLine(const AdLine&) = delete;
    AdLine& operator=(const AdLine&) = delete;

    // A form that pauses the fetch: no fetch starts while `shown` is true.
    void AddPausingForm(std::function<bool()> shown);

    void TimerAd_Timer();
    void LabelAd_Click();
    void LabelHomepage_Click();
    void LabelAd_MouseMove();

  private:
    void Fetched(const std::string& text);

    Label& label_ad_;
    Label& label_homepage_;
    Timer& timer_ad_;
    AdFetcher& fetcher_;
    std::function<void(const std::string&)> open_page_;
    std::vector<std::function<bool()>> pausing_forms_;
};

}  // namespace vellumar
