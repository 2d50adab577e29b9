#pragma once
// The world the reading tests run in: the main window started on a book in
// memory (program folder "/books/Storia Antica", a blank in its name), the
// fake browser with pages built in code, and the fake media engine on the
// virtual clock. Pages are opened directly; the splash timer is switched
// off so that it never opens the index behind a test's back.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "common/automation/testing/captured_trace.h"
#include "common/runtime/text.h"
#include "player/browser/testing/frm_browser_world.h"

namespace orva::reading_testing {

inline const std::string kHostFolder = "/books/Storia Antica";
// The program folder as the core writes it.
inline const std::string kProgramFolder = "\\books\\Storia Antica";
// The book's address as the browser reports it.
inline const std::string kBookUrl = "file:///books/Storia%20Antica/";

// A META element of a page.
inline FakeElement Meta(std::string name, std::string content) {
  return FakeElement{.name = std::move(name), .content = std::move(content)};
}

struct ReadingWorld : ::testing::Test, testing::FrmBrowserWorld {
  ReadingWorld() : FrmBrowserWorld({.hostFolder = kHostFolder}) {}

  // The address of a book file, from its path inside the book ("cap01/a.htm").
  static std::string Url(const std::string& inBook) { return kBookUrl + Replace(inBook, " ", "%20"); }

  // A page on disk and in the browser.
  void AddPage(const std::string& inBook, FakePage page) {
    disk.AddFile(kHostFolder + "/" + inBook);
    browser.AddPage(Url(inBook), std::move(page));
  }

  // A media file on disk (a host path, relative to the book unless it starts
  // with "/"), playable by the engine under each name the core may give it.
  void AddMedia(const std::string& path, double seconds, std::vector<std::string> coreNames = {},
                fakes::FakeMedia shape = {}) {
    const std::string host = path.front() == '/' ? path : kHostFolder + "/" + path;
    disk.AddFile(host);
    shape.duration = seconds;
    const std::string core = Replace(host, "/", "\\");
    media.Add(core, shape);
    media.Add(core.substr(1), shape);  // from an address that lost "file:///"
    for (const std::string& name : coreNames) media.Add(name, shape);
  }

  // The window, started with an empty store and left browsing nothing.
  FrmBrowser& Start() {
    StartWithoutSplash();
    dialogs.Clear();
    Engine().ClearCalls();
    return *form;
  }

  // Opens a book page the way a link does, and lets it load.
  void Open(const std::string& inBook) {
    browser.Navigate2(Url(inBook));
    loop.DoEvents();
  }

  fakes::FakeMediaEngine& Engine() {
    fakes::FakeMediaEngine* engine = media.Current();
    if (engine == nullptr) throw std::logic_error("no engine");
    return *engine;
  }
  // The files handed to the engine, in order.
  std::vector<std::string> Played() {
    std::vector<std::string> out;
    for (const std::string& call : Engine().Calls())
      if (call.rfind("URL=", 0) == 0) out.push_back(call.substr(4));
    return out;
  }
  bool Playing() { return Engine().playState() == playstate::kPlaying; }
  // Plays on until nothing is pending within the limit (audios end, pages
  // follow).
  void PlayOn(std::int64_t ms) { loop.Advance(ms); }

  std::string Stored(const char* key) { return FrmBrowserWorld::Stored(key, ""); }
  // "procedure / number" of every error report shown.
  std::vector<std::string> Reports() const { return dialogs.ErrorReportCodes(); }
};

}  // namespace orva::reading_testing
