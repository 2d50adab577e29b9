// The splash page: the program's logo, name and version, what it is for and
// who publishes the book, shown while the program starts.

#include "common/automation/trace.h"
#include "common/runtime/conversions.h"
#include "player/browser/frmBrowser.h"
#include "player/panels/handler_guard.h"

namespace orva {

namespace {

// The shortest time the splash stays, in milliseconds.
constexpr std::int32_t kShortestSplashMs = 1500;

std::string CentredText(const std::string& text) {
  return text.empty() ? std::string() : "<p align='center' class='testo'>" + text + "</p>";
}

}  // namespace

void FrmBrowser::ShowSplash() {
  // Every statement here is cosmetic: a failure skips that statement only.
  IgnoringErrors([&] {
    std::string page = "<BODY>";
    page += "<p align='center'><img border='0' src='" + programFolder_ +
            "\\include\\avvio.jpg' alt='Logo di OrvaPlayer'></p>";
    page += "<h1 align='center'><b><font size='7'>OrvaPlayer 4.0</font></b></h1>";
    page += "<h2 Align='CENTER'><i>Software di navigazione accessibile per l'ascolto degli ";
    page += "audiolibri digitali.</i></h2>";
    page += "<h2 align='center'>" + publisher_.name + "</h2>";
    page += CentredText(publisher_.postalAddress);
    if (!publisher_.website.empty())
      page += CentredText("<a href='" + publisher_.website + "'>" + publisher_.website + "</a>");
    if (!publisher_.mail.empty())
      page += CentredText("<a href='mailto:" + publisher_.mail + "'>" + publisher_.mail + "</a>");
    page += CentredText(publisher_.initials);
    page += "<hr>";
    page += "<p align='center' class='testo'><b>" + publisher_.thanks + "</b></p>";
    page += "<hr>";
    page += "</Body>";
    state.SplashPage = std::move(page);
  });

  std::int32_t ms = 0;
  IgnoringErrors([&] { ms = CLng(GetSetting(kPlayerSection, "TempoSp", "5000")); });
  const std::int32_t interval = ms < kShortestSplashMs + 1 ? kShortestSplashMs : ms;
  IgnoringErrors([&] { TimerSpalsh.SetInterval(interval); });

  bool written = false;
  IgnoringErrors([&] {
    HtmlDocument* document = objwb.Document();
    if (!document) RaiseVbError(vberr::kObjectNotSet);
    document->setBodyInnerHTML(state.SplashPage);
    written = true;
  });
  TraceEvent("splash", {{"interval_ms", interval}, {"written", written}});
}

}  // namespace orva
