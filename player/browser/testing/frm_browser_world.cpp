#include "player/browser/testing/frm_browser_world.h"

#include <regex>
#include <utility>

namespace orva::testing {

FrmBrowserWorld::FrmBrowserWorld(FrmBrowserWorldOptions options)
    : hostFolder(std::move(options.hostFolder)), format(options.numberFormat) {
  disk.AddFolder(hostFolder);
}

void FrmBrowserWorld::AddMedia(const std::string& path, double seconds, std::vector<std::string> coreNames,
                               fakes::FakeMedia shape) {
  const std::string host = path.front() == '/' ? path : hostFolder + "/" + path;
  disk.AddFile(host);
  shape.duration = seconds;
  const std::string core = Replace(host, "/", "\\");
  media.Add(core, shape);
  media.Add(core.substr(1), shape);  // from an address that lost "file:///"
  for (const std::string& name : coreNames) media.Add(name, shape);
}

void FrmBrowserWorld::AddReadingPage(const std::vector<std::optional<int>>& anchors,
                                     const std::string& title) {
  FakePage page{.title = title,
                .elements = {Meta("ZUVPLAYER_AUDIO", "uno.mp3"), Meta("ZUVPLAYER_AUDIO_POS", "0"),
                             Meta("ZUVPLAYER_AUDIO_1", "due.mp3"), Meta("ZUVPLAYER_AUDIO_POS_1", "5"),
                             Meta("ZUVPLAYER_AUDIO_NEXTHTML_1", "Pag2.htm"),
                             Meta("ZUVPLAYER_AUDIO_NEXTHTML_2", "Pag2.htm"),
                             Meta("ZUVPLAYER_AUDIO_PREVHTML", "Pag0.htm")}};
  for (std::size_t i = 0; i < anchors.size(); ++i) {
    const int n = static_cast<int>(i) + 1;
    page.elements.push_back(
        Anchor(n, anchors[i] ? AnchorAddress(*anchors[i]) : Url(kPage) + "#parte" + std::to_string(n)));
  }
  AddPage(kPage, std::move(page));
  AddPage("cap01/Pag0.htm", {.title = "Pag0.htm"});
  AddPage("cap01/Pag2.htm", {.title = "Pag2.htm"});
  AddMedia("cap01/uno.mp3", 180);
  AddMedia("Libro/uno.mp3", 180);  // where a seek back looks for it
  AddMedia("Libro/due.mp3", 30);
}

FrmBrowser& FrmBrowserWorld::MakeWindow(PlayerMaker newPlayer) {
  if (!newPlayer) newPlayer = [this] { return NewPlayer(media.Factory()); };
  form.reset();
  form = std::make_unique<FrmBrowser>(FrmBrowserServices{
      .loop = loop,
      .dialogs = dialogs,
      .fileSystem = files,
      .settings = settings,
      .report = report,
      .objwb = browser,
      .programFolder = ProgramFolder(),
      .volumes = &volumes,
      .homeFolder = folders.home,
      .dataFolder = folders.data,
      .makeFolders = [this](const std::string& folder) { disk.AddFolder(files.ToHost(folder)); },
      .hives = &hives,
      .newPlayer = std::move(newPlayer),
      .publisher = {},
      .speech = &speech,
      .screenReader = &screenReader});
  return *form;
}

FrmBrowser& FrmBrowserWorld::Start(PlayerMaker newPlayer) {
  FrmBrowser& f = MakeWindow(std::move(newPlayer));
  f.Form_Initialize();
  In::SplashTimer(f).SetEnabled(false);
  loop.RunUntilIdle(1000);
  dialogs.Clear();
  if (media.Current() != nullptr) Engine().ClearCalls();
  return f;
}

FrmBrowser& FrmBrowserWorld::StartReading(const std::vector<std::optional<int>>& anchors) {
  AddReadingPage(anchors);
  AddStyleSheets();
  FrmBrowser& f = Start();
  Open(kPage);
  return f;
}

void FrmBrowserWorld::Press(std::int16_t code, std::int16_t shift) {
  if (!trace) trace = std::make_unique<CapturedTrace>(&loop);
  form->Form_KeyDown(code, shift);
}

std::string FrmBrowserWorld::LastKey(const std::string& field) {
  if (!trace) return "<no key>";
  const std::vector<std::string> lines = trace->Lines();
  for (auto it = lines.rbegin(); it != lines.rend(); ++it) {
    if (it->find("\"ev\":\"key\"") == std::string::npos) continue;
    std::smatch m;
    if (!std::regex_search(*it, m, std::regex("\"" + field + "\":(\"[^\"]*\"|[^,}]*)")))
      return "<no " + field + ">";
    const std::string value = m[1];
    return !value.empty() && value.front() == '"' ? value.substr(1, value.size() - 2) : value;
  }
  return "<no key>";
}

std::vector<std::string> FrmBrowserWorld::Played() {
  std::vector<std::string> out;
  for (const std::string& call : Engine().Calls())
    if (call.rfind("URL=", 0) == 0) out.push_back(call.substr(4));
  return out;
}

}  // namespace orva::testing
