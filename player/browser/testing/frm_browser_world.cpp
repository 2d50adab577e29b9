#include "player/browser/testing/frm_browser_world.h"

#include <utility>

namespace orva::testing {

namespace {
constexpr const char* kApp = "ZUV MediaPlayer";
constexpr const char* kSection = "Player";
}  // namespace

FrmBrowserWorld::FrmBrowserWorld(FrmBrowserWorldOptions options)
    : hostFolder(std::move(options.hostFolder)), format(options.numberFormat) {
  disk.AddFolder(hostFolder);
}

std::unique_ptr<oMoxPlayer> FrmBrowserWorld::NewPlayer(MediaEngineFactory engines) {
  return std::make_unique<oMoxPlayer>(loop, report, std::move(engines));
}

FrmBrowser& FrmBrowserWorld::MakeWindow(PlayerMaker newPlayer) {
  if (!newPlayer) newPlayer = [this] { return NewPlayer(media.Factory()); };
  form.reset();
  form = std::make_unique<FrmBrowser>(FrmBrowserServices{.loop = loop,
                                                         .dialogs = dialogs,
                                                         .fileSystem = files,
                                                         .settings = settings,
                                                         .report = report,
                                                         .objwb = browser,
                                                         .programFolder = CoreFolderFromHost(hostFolder),
                                                         .newPlayer = std::move(newPlayer),
                                                         .publisher = {}});
  return *form;
}

FrmBrowser& FrmBrowserWorld::StartWithoutSplash(PlayerMaker newPlayer) {
  FrmBrowser& f = MakeWindow(std::move(newPlayer));
  f.Form_Initialize();
  f.TimerSpalsh.SetEnabled(false);
  loop.RunUntilIdle(1000);
  return f;
}

std::string FrmBrowserWorld::Stored(const char* key, const char* def) {
  return settings.GetSetting(kApp, kSection, key, def);
}

void FrmBrowserWorld::Store(const char* key, const std::string& value) {
  settings.SaveSetting(kApp, kSection, key, value);
}

}  // namespace orva::testing
