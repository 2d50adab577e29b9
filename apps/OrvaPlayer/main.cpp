// OrvaPlayer: the talking-book player. The book is the folder of the program
// (or the one the command line names); the main window shows its pages and
// plays their audio.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWebEngineView>
#include <filesystem>
#include <memory>

#include "backends/mpv/mpv_media_engine.h"
#include "backends/posix/mounted_volumes.h"
#include "backends/qt/browser/browser_main_window.h"
#include "backends/qt/browser/qt_web_browser.h"
#include "backends/qt/keys/key_preview_filter.h"
#include "backends/qt/keys/script_keys.h"
#include "backends/qt/panels/configurazione_panel.h"
#include "backends/qt/panels/marcatori_panel.h"
#include "backends/qt/panels/osd_announcer.h"
#include "backends/qt/platform/program_bootstrap.h"
#include "backends/qt/platform/store_session.h"
#include "common/platform/host_paths.h"
#include "common/platform/path_resolver.h"
#include "player/browser/frmBrowser.h"
#include "player/panels/mdlMain.h"
#include "player/playback/host_path_media_engine.h"
#include "player/playback/oMoxPlayer.h"

namespace {

orva::mpvbackend::MpvEngineOptions EngineOptions(const std::string& audio) {
  if (audio == "null") return orva::mpvbackend::MpvEngineOptions::Headless(false);
  if (audio == "fast") return orva::mpvbackend::MpvEngineOptions::Headless(true);
  return {};
}

// Everything the player's run keeps alive, in the order it is built.
struct PlayerRun {
  explicit PlayerRun(orva::ProgramContext& ctx, const std::string& bookFolder)
      : report(ctx.dialogs, &ctx.diagnostics),
        caseless(ctx.files),
        files(caseless),
        window(std::make_unique<orva::BrowserMainWindow>()),
        browser(window->view(), bookFolder),
        // The engine opens the host path of the names the core hands it.
        engines(
            orva::WithHostPaths(orva::mpvbackend::MakeMpvEngineFactory(EngineOptions(ctx.options.audio)))),
        form(orva::FrmBrowserServices{
            .loop = ctx.loop,
            .dialogs = ctx.dialogs,
            .fileSystem = files,
            .settings = ctx.store.settings(),
            .report = report,
            .objwb = browser,
            .programFolder = orva::CoreFolderFromHost(bookFolder),
            .volumes = &volumes,
            .newPlayer = [this,
                          &ctx] { return std::make_unique<orva::oMoxPlayer>(ctx.loop, report, engines); },
            .publisher = {}}) {
    window->Attach(form);
  }

  orva::MdlMain report;
  orva::CaseInsensitiveFileSystem caseless;
  orva::HostPathFileSystem files;
  std::unique_ptr<orva::BrowserMainWindow> window;
  orva::QtWebBrowser browser;
  orva::MediaEngineFactory engines;
  // Where a bookmark's audio is looked for when the book has moved to
  // another disc or stick; read afresh at each search.
  orva::PosixMountedVolumes volumes;
  orva::FrmBrowser form;
};

std::string BookFolder(const orva::ProgramOptions& options) {
  namespace fs = std::filesystem;
  fs::path folder = options.bookDir.empty() ? fs::path(QCoreApplication::applicationDirPath().toStdString())
                                            : fs::path(options.bookDir);
  std::error_code ec;
  fs::path full = fs::weakly_canonical(fs::absolute(folder), ec);
  std::string text = (ec ? fs::absolute(folder) : full).string();
  while (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

}  // namespace

int main(int argc, char** argv) {
  orva::ScriptActions actions;
  actions.Add(
      {"click", "click LINK  (follow the link with this text or written address)", 1, 1, nullptr, nullptr});
  actions.Add({"close", "close  (close the window: the exit question is asked)", 0, 0, nullptr, nullptr});
  actions.Add(
      {"navigate", "navigate ADDRESS  (open an address as the program does)", 1, 1, nullptr, nullptr});
  actions.Add(
      {"key", "key KEYS  (press keys as the reader does: Ctrl+2, Alt+plus, Ctrl+Shift+1, F1, Esc, KP1)", 1, 1,
       [](const orva::ScriptArgs& args) {
         return orva::x11keys::ParseScriptKey(args.at(0)) ? std::string()
                                                          : "unknown key \"" + args.at(0) + "\"";
       },
       nullptr});
  orva::AddConfigurazioneScriptActions(actions);
  orva::AddMarcatoriScriptActions(actions);
  orva::AddMainWindowScriptActions(actions);
  const orva::ProgramSpec spec{
      "OrvaPlayer", "The accessible talking-book player: shows the book's pages and plays their audio.",
      /*takesBook=*/true, /*embedsBrowser=*/true};
  return orva::RunProgram(argc, argv, spec, std::move(actions), [](orva::ProgramContext& ctx) {
    PlayerRun* r = &ctx.Keep(std::make_unique<PlayerRun>(ctx, BookFolder(ctx.options)));
    // A store that cannot be read or written is the reader's business: it
    // is shown through the error report, as every other failure is.
    ctx.store.ReportFailuresTo([r](const orva::RegistryFailure& f) {
      r->report.MostraErrore("Impostazioni - " + f.step, {}, {f.number, f.description + ". " + f.detail});
    });
    ctx.actions.Bind("click", [r, &ctx](const orva::ScriptArgs& args) {
      if (!r->browser.ClickLink(args.at(0))) ctx.Notice("no link \"" + args.at(0) + "\" on the page");
    });
    ctx.actions.Bind("close", [r](const orva::ScriptArgs&) { r->window->close(); });
    ctx.actions.Bind("navigate", [r](const orva::ScriptArgs& args) { r->browser.Navigate2(args.at(0)); });
    orva::BindMainWindowScriptActions(ctx.actions, *r->window);
    // The configuration panel follows frmconfigurazioneVisible, which its
    // command key toggles; the on-screen display speaks its messages.
    auto* panel = new orva::ConfigurazionePanel(r->form, r->form.frmconfigurazioneVisible, r->window.get());
    orva::BindConfigurazioneScriptActions(ctx.actions, *panel);
    // The bookmark panel follows fraMarcatoriVisible and takes the browser's
    // place while shown, under the on-screen display.
    auto* bookmarks = new orva::MarcatoriPanel(r->form, r->window->view(), r->window.get());
    bookmarks->stackUnder(r->window->osd());
    orva::BindMarcatoriScriptActions(ctx.actions, *bookmarks);
    if (!orva::AnnounceOsdMessages(r->form, r->window.get()))
      ctx.Notice("the on-screen display has no label");
    // Every key reaches the key map before the focused control; the
    // script's keys take the same way in.
    auto* keys = new orva::KeyPreviewFilter(
        r->window.get(),
        [r](std::int16_t keyCode, std::int16_t shift) { r->form.Form_KeyDown(keyCode, shift); },
        r->window.get());
    keys->WatchMessage(r->window->osd());
    ctx.app.installEventFilter(keys);
    ctx.actions.Bind("key", [r](const orva::ScriptArgs& args) {
      orva::PressScriptKey(*r->window, *orva::x11keys::ParseScriptKey(args.at(0)));
    });
    // The script's end and "quit" close the window as the reader would:
    // the exit question decides.
    ctx.SetQuitHandler([r] { r->window->close(); });
    r->window->show();
    // The window is created once the script's first answers are queued.
    QTimer::singleShot(0, r->window.get(), [r] { r->form.Form_Initialize(); });
    ctx.KeepRunning();
  });
}
