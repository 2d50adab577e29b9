// OrvaPlayer: the talking-book player. The book is the folder of the program
// (or the one the command line names; or, for the installed program started
// from the desktop's menu, the sample book installed with it); the main
// window shows its pages and plays their audio.
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QWebEngineView>
#include <filesystem>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include "backends/hivex/hivex_hive_reader.h"
#include "backends/mpv/mpv_media_engine.h"
#include "backends/posix/mounted_volumes.h"
#include "backends/qt/browser/browser_main_window.h"
#include "backends/qt/browser/qt_web_browser.h"
#include "backends/qt/keys/key_preview_filter.h"
#include "backends/qt/keys/script_keys.h"
#include "backends/qt/panels/configurazione_panel.h"
#include "backends/qt/panels/debug_frame.h"
#include "backends/qt/panels/marcatori_panel.h"
#include "backends/qt/panels/osd_announcer.h"
#include "backends/qt/platform/program_bootstrap.h"
#include "backends/qt/platform/store_session.h"
#include "backends/speechd/atspi_screen_reader.h"
#include "backends/speechd/speechd_speech.h"
#include "common/platform/host_paths.h"
#include "common/platform/path_resolver.h"
#include "common/runtime/text.h"
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

// The hive files a bookmark import restores, read at the host's path of the
// core's name for them.
class HostPathHives : public orva::HiveReader {
 public:
  HostPathHives(orva::HiveReader& inner, const orva::HostPathFileSystem& files)
      : inner_(inner), files_(files) {}
  bool ReadHive(const std::string& path, orva::HiveKey* root, std::string* error) override {
    return inner_.ReadHive(files_.ToHost(path), root, error);
  }

 private:
  orva::HiveReader& inner_;
  const orva::HostPathFileSystem& files_;
};

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
        hives(hivex, files),
        folders(orva::ReaderFoldersFrom(ctx.environment)),
        form(orva::FrmBrowserServices{
            .loop = ctx.loop,
            .dialogs = ctx.dialogs,
            .fileSystem = files,
            .settings = ctx.store.settings(),
            .report = report,
            .objwb = browser,
            .programFolder = orva::CoreFolderFromHost(bookFolder),
            .volumes = &volumes,
            .homeFolder = folders.home,
            .dataFolder = folders.data,
            .makeFolders =
                [this](const std::string& folder) {
                  std::filesystem::create_directories(files.ToHost(folder));
                },
            .hives = &hives,
            .newPlayer = [this,
                          &ctx] { return std::make_unique<orva::oMoxPlayer>(ctx.loop, report, engines); },
            .publisher = {},
            // Silent with --audio null or fast, so tests never start a speech server.
            .speech = ctx.options.audio == "null" || ctx.options.audio == "fast" ? nullptr : &speech,
            .screenReader = &screenReader}) {
    window->Attach(form);
  }

  orva::MdlMain report;
  orva::CaseInsensitiveFileSystem caseless;
  orva::HostPathFileSystem files;
  std::unique_ptr<orva::BrowserMainWindow> window;
  orva::QtWebBrowser browser;
  orva::MediaEngineFactory engines;
  // Where a bookmark's audio is looked for when the book has moved to
  // another disc or stick, and the drives of the bookmark file chooser;
  // read afresh each time.
  orva::PosixMountedVolumes volumes;
  orva::HivexHiveReader hivex;
  HostPathHives hives;
  // The reader's home folder and the folder of the import's backup.
  orva::ReaderFolders folders;
  // The program's own voice, and whether a screen reader already speaks;
  // before the window, which silences the voice when it goes.
  orva::SpeechdSpeech speech;
  orva::AtspiScreenReaderStatus screenReader;
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

// Whether the command line names a book: "--book PATH" or a path alone.
// Qt's own options have not been taken out yet, so the values of those that
// take one in the next word ("-platform offscreen") are passed over.
bool NamesABook(const std::vector<std::string>& args) {
  constexpr std::string_view kTakesValue =
      " trace script audio platform platformpluginpath platformtheme plugin qwindowgeometry geometry "
      "qwindowtitle title qwindowicon icon display name session style stylesheet ";
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.empty() || arg.front() != '-' || arg == "--book" || arg.starts_with("--book=")) return true;
    const std::string name = arg.substr(arg.starts_with("--") ? 2 : 1);
    if (name.find('=') == std::string::npos && kTakesValue.find(" " + name + " ") != std::string_view::npos)
      ++i;
  }
  return false;
}

// The book a run without one on its command line reads: the program's own
// folder when it holds a book (the program copied beside a book, as on the
// book's disc), else the sample book installed with the program, found from
// the program's folder as <prefix>/bin and <prefix>/share/orvaplayer. That
// one is named even when it is missing, so that the run ends as for any
// book that is not there, saying where it looked. Nothing when the
// program's folder cannot be known.
std::optional<std::string> BookBesideTheProgram() {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path program = fs::read_symlink("/proc/self/exe", ec);
  if (ec || program.empty()) return std::nullopt;
  const fs::path folder = program.parent_path();
  for (const auto& entry : fs::directory_iterator(folder, ec))
    if (orva::AsciiEqualsNoCase(entry.path().filename().string(), "Index.htm")) return std::nullopt;
  return (folder / ".." / "share" / "orvaplayer" / "sample-book").lexically_normal().string();
}

}  // namespace

int main(int argc, char** argv) {
  // A run with no book named (the desktop's menu entry starts the program
  // so) reads the book beside the program or the installed sample book.
  std::vector<std::string> added;
  if (!NamesABook(std::vector<std::string>(argv + (argc > 0 ? 1 : 0), argv + argc)))
    if (const std::optional<std::string> book = BookBesideTheProgram()) added = {"--book", *book};
  std::vector<char*> arguments(argv, argv + argc);
  for (std::string& word : added) arguments.push_back(word.data());
  argc = static_cast<int>(arguments.size());
  arguments.push_back(nullptr);
  argv = arguments.data();

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
  orva::AddDebugScriptActions(actions);
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
    // place while shown; the window keeps it under the on-screen display.
    auto* bookmarks = new orva::MarcatoriPanel(r->form, r->window->view(), r->window.get());
    orva::BindMarcatoriScriptActions(ctx.actions, *bookmarks);
    // The debug frame follows fraDebug.Visible (Shift+Ctrl+Alt with a key),
    // over the page; the window keeps it under the display strip.
    auto* debug = new orva::DebugFrame(r->form, r->window.get());
    orva::BindDebugScriptActions(ctx.actions, *debug);
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
