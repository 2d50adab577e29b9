#include "player/playback/host_path_media_engine.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "fakes/virtual_event_loop.h"
#include "player/playback/testing/fake_media_engine.h"

namespace orva {
namespace {

TEST(HostPathMediaEngine, OpensTheHostPathAndReportsTheNameItWasGiven) {
  fakes::VirtualEventLoop loop;
  fakes::FakeMediaLibrary media(loop);
  media.Add("/libri/a.mp3!", {.duration = 10});
  std::unique_ptr<MediaEngine> engine =
      WithHostPaths(media.Factory(), [](const std::string& core) { return "/" + core + "!"; })();
  std::vector<std::int32_t> relayed;
  engine->events.PlayStateChange = [&](std::int32_t s) { relayed.push_back(s); };
  engine->SetURL("libri/a.mp3");
  EXPECT_EQ(media.Current()->URL(), "/libri/a.mp3!");
  loop.Advance(11'000);
  EXPECT_EQ(engine->URL(), "libri/a.mp3");
  // The wrapped engine's events reach the host: the file played to its end.
  EXPECT_EQ(relayed, (std::vector<std::int32_t>{playstate::kTransitioning, playstate::kPlaying,
                                                playstate::kMediaEnded, playstate::kStopped}));
  // An empty name is not mapped.
  engine->SetURL("");
  EXPECT_EQ(media.Current()->URL(), "");
  EXPECT_EQ(engine->URL(), "");
}

TEST(HostPathMediaEngine, MapsCorePathsToTheFilesOnDisk) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / "orva host media" / "Cap01";
  fs::create_directories(dir);
  std::ofstream(dir / "pagina1.mp3") << "x";
  const std::string host = (dir / "pagina1.mp3").string();
  std::string core = host.substr(1);  // as a file address without its "file:///" leaves it
  for (char& c : core)
    if (c == '/') c = '\\';
  struct Case {
    const char* name;
    std::string core;
    std::string host;
  };
  const Case cases[] = {
      {"a file address without its scheme", core, host},
      {"a rooted path", "\\" + core, host},
      {"another letter case", "\\" + core.substr(0, core.size() - 11) + "PAGINA1.MP3", host},
      {"an address stays an address", "file:///x/a.mp3", "file:///x/a.mp3"},
      {"a name relative to the current folder", "a.mp3", "a.mp3"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(HostMediaPath(c.core), c.host);
  }
  fs::remove_all(dir.parent_path());
}

}  // namespace
}  // namespace orva
