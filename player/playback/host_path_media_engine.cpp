#include "player/playback/host_path_media_engine.h"

#include <filesystem>
#include <system_error>
#include <utility>

#include "common/platform/host_paths.h"
#include "common/platform/path_resolver.h"
#include "player/playback/forwarding_media_engine.h"

namespace orva {

namespace {

class HostPathMediaEngine final : public ForwardingMediaEngine {
 public:
  HostPathMediaEngine(std::unique_ptr<MediaEngine> inner, MediaPathMapper toHost)
      : ForwardingMediaEngine(std::move(inner)), toHost_(std::move(toHost)) {}

  std::string URL() const override {
    const std::string opened = Inner().URL();
    return opened == opened_ ? given_ : opened;
  }
  void SetURL(const std::string& url) override {
    std::string host = url.empty() ? url : toHost_(url);
    Inner().SetURL(host);
    given_ = url;
    opened_ = std::move(host);
  }

 private:
  MediaPathMapper toHost_;
  std::string given_;   // the name as the core gave it
  std::string opened_;  // the path the wrapped engine was given for it
};

}  // namespace

std::string HostMediaPath(const std::string& coreName) {
  if (!AddressAsCorePath(coreName)) return coreName;
  const std::string host = HostPathFromCore(coreName, [](const std::string& folder) {
    std::error_code ec;
    return std::filesystem::is_directory(folder, ec);
  });
  static CaseInsensitivePaths paths;
  return paths.Resolve(host).value_or(host);
}

MediaEngineFactory WithHostPaths(MediaEngineFactory inner, MediaPathMapper toHost) {
  return [inner = std::move(inner), toHost = std::move(toHost)]() -> std::unique_ptr<MediaEngine> {
    std::unique_ptr<MediaEngine> engine = inner();
    if (!engine) return engine;
    return std::make_unique<HostPathMediaEngine>(std::move(engine), toHost);
  };
}

}  // namespace orva
