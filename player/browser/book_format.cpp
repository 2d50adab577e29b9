#include "player/browser/book_format.h"

#include <algorithm>

#include "common/runtime/conversions.h"
#include "common/runtime/text.h"
#include "player/browser/addresses.h"

namespace orva::book {

namespace {

bool Contains(std::string_view s, std::string_view find) { return s.find(find) != std::string_view::npos; }

std::string Numbered(std::string_view base, std::int32_t n) { return std::string(base) + std::to_string(n); }

}  // namespace

std::string IndexPathOf(std::string_view programFolder) {
  return Replace(std::string(programFolder) + "\\" + std::string(kIndexPage), "\\\\", "\\");
}

std::string StyleSheetAddress(std::string_view programFolder, int styleNumber) {
  return "file:///" + Replace(programFolder, "\\", "/") + "/INCLUDE/Style" + std::to_string(styleNumber) +
         ".CSS";
}

std::string AudioElement(std::int32_t n) {
  return n == 0 ? std::string(kAudioElement) : Numbered("ZUVPLAYER_AUDIO_", n);
}

std::string NextHtmlElement(std::int32_t n) { return Numbered("ZUVPLAYER_AUDIO_NEXTHTML_", n); }

std::string PositionElement(std::int32_t n) {
  return n == 0 ? std::string(kPositionElement) : Numbered("ZUVPLAYER_AUDIO_POS_", n);
}

std::string IndexAnchorElement(std::int32_t n) { return Numbered("OrvaIndex_", n); }

MessageTexts::MessageTexts() { ResetToDefaults(); }

void MessageTexts::ResetToDefaults() {
  for (const MessageSpec& spec : kMessages) Set(spec.id, std::string(spec.defaultText));
}

CommandLink ClassifyCommandLink(std::string_view url) {
  const std::string upper = UCase(url);
  if (Contains(upper, kReloadMarker)) return CommandLink::kReload;
  if (Contains(url, kStopMarker)) return CommandLink::kStop;
  if (Contains(url, kPauseMarker)) return CommandLink::kPause;
  if (Contains(url, kPlayMarker)) return CommandLink::kPlay;
  if (Contains(url, kKeyCommandMarker)) return CommandLink::kKeyCommand;
  if (Contains(url, kPersonalVideoHash) || Contains(url, kPersonalVideoAt))
    return CommandLink::kPersonalVideo;
  // The dictionary marker is tested in capitals here, like the extensions;
  // which kind of video it is the handler then decides on the exact text.
  for (std::string_view ext : kVideoLinkExtensions)
    if (Contains(upper, ext)) return CommandLink::kVideo;
  if (Contains(upper, kDictionaryVideoMarker)) return CommandLink::kVideo;
  return CommandLink::kNone;
}

const char* ToString(CommandLink link) {
  switch (link) {
    case CommandLink::kNone: return "none";
    case CommandLink::kReload: return "reload";
    case CommandLink::kStop: return "stop";
    case CommandLink::kPause: return "pause";
    case CommandLink::kPlay: return "play";
    case CommandLink::kKeyCommand: return "keycmd";
    case CommandLink::kPersonalVideo: return "video_pers";
    case CommandLink::kVideo: return "video";
  }
  return "none";
}

KeyCommand ParseKeyCommand(std::string_view url) {
  KeyCommand cmd;
  if (Contains(url, kKeyAltMarker)) cmd.shift = static_cast<std::int16_t>(cmd.shift + 4);
  if (Contains(url, kKeyShiftMarker)) cmd.shift = static_cast<std::int16_t>(cmd.shift + 1);
  if (Contains(url, kKeyCtrlMarker)) cmd.shift = static_cast<std::int16_t>(cmd.shift + 2);
  std::string text = Mid(url, std::max(1, InStr(url, kKeyCommandMarker)));
  for (std::string_view marker : {kKeyCtrlMarker, kKeyShiftMarker, kKeyAltMarker, kKeyCommandMarker})
    text = Replace(text, marker, "");
  cmd.keyCode = CInt(text);
  return cmd;
}

bool WantsWindowedVideo(std::string_view url) { return Contains(url, kNoFullMarker); }

std::string PersonalVideoName(std::string_view url) {
  const std::string_view delimiter = Contains(url, kPersonalVideoAt) ? "@" : "#";
  std::string name = Replace(url, kNoFullMarker, "");
  name = Replace(name, std::string(delimiter) + "VIDEO_PERS" + std::string(delimiter), "");
  return Replace(name, delimiter, "");
}

std::string RemoveHtmExtensions(std::string_view name) {
  return Replace(Replace(name, ".htm", ""), ".HTM", "");
}

std::string RemoveNoFull(std::string_view name) { return Replace(name, kNoFullMarker, ""); }

bool IsVideoExtension(std::string_view extension) {
  return extension == ".wmv" || extension == ".m1v" || extension == ".avi";
}

bool HasExtension(std::string_view name) {
  // Only the file name counts: a dot in a folder name ("Libri.2024",
  // "tmp.XXXX") says nothing about the file.
  const int dot = InStrRev(name, ".");
  return dot > std::max(InStrRev(name, "/"), InStrRev(name, "\\"));
}

ResolvedAudio ResolveAudioReference(std::string reference, std::string_view pageUrl,
                                    std::string_view programFolder,
                                    const std::function<bool(const std::string&)>& exists,
                                    const std::function<void(const std::string&)>& step) {
  // The page's folder: up to and including the address's last "\", or else
  // its last "/"; as a path, without "file:///", "/" made "\", "%20" a blank.
  std::string folder;
  if (!pageUrl.empty()) {
    folder = Left(pageUrl, InStrRev(pageUrl, "\\"));
    if (folder.empty()) folder = Left(pageUrl, InStrRev(pageUrl, "/"));
  }
  auto clean = [](const std::string& f) { return InStr(f, "file:///") > 0 ? FileAddressToPath(f) : f; };
  ResolvedAudio out;
  if (!Trim(pageUrl).empty() && InStr(reference, "/") == 0 && InStr(reference, "\\") == 0) {
    folder = clean(folder);
    reference = folder + reference;
  }
  if (!HasExtension(reference)) {
    for (std::string_view extension : kAudioExtensions) {
      if (exists(reference + std::string(extension))) {
        reference += extension;
        out.video = IsVideoExtension(extension);
        break;
      }
    }
  }
  if (step) step("Controllo esistenza file " + reference);
  out.path = reference;
  if (!exists(out.path)) out.path = clean(folder) + reference;
  if (step) step("Controllo esistenza file1");
  if (!exists(out.path)) {
    out.path = std::string(programFolder) + "\\" + reference;
    if (!exists(out.path))
      out.path = std::string(programFolder) + "\\" + std::string(kAudioFolder) + "\\" + reference;
  }
  out.reference = std::move(reference);
  return out;
}

bool IsIndexPage(std::string_view address) { return InStr(UCase(Right(address, 20)), "INDEX.HTM") > 0; }

std::string PositionTextFromAddress(std::string_view address) {
  return Mid(address, InStr(address, kPositionElement) + Len(kPositionElement) + 1);
}

double ParsePosition(std::string_view text) { return CDbl(text); }

}  // namespace orva::book
