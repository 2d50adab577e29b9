#pragma once
// `orvabook check`: a book read the way the player reads it, with the
// player's own functions (the audio search, the page folder taken from the
// title, the element names and numbering, the book walk), so that what the
// check passes the player plays. What it finds, each with the page and the
// element:
//  - an audio reference the player does not find;
//  - a page whose audio chain stops while the book goes on;
//  - a next or previous page that does not exist, or lies outside the book;
//  - a title from which the player cannot tell the page's folder;
//  - position index anchors with a gap in their numbers, or positions that
//    do not increase;
//  - style sheets with a gap in their numbers; a missing help page or splash
//    picture;
//  - a start position that is not a number, or lies past the end of its
//    audio;
//  - an audio file the media engine cannot decode.
//
// The book is read as from its CD: the program folder and the player's
// current folder are both the book's folder.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/platform/file_system.h"
#include "tools/orvabook/html_reader.h"

namespace orva::orvabook {

enum class Severity { kWarning, kError };

struct Finding {
  Severity severity = Severity::kError;
  std::string kind;     // a stable word for tools: "audio", "catena", "collegamento", ...
  std::string page;     // inside the book, "/" separated ("Cap01/Pagina1_1.htm", "INCLUDE"); empty: the book
  std::string element;  // "ZUVPLAYER_AUDIO_1", "TITLE", "Style2.CSS"; may be empty
  std::string message;  // Italian, for the book's maker
};

struct AudioFile {
  std::string file;               // inside the book, "/" separated
  std::optional<double> seconds;  // its length, once decoded
  std::string error;              // why the engine could not decode it
};

struct CheckResult {
  int pages = 0;
  bool decoded = false;
  std::vector<Finding> findings;
  std::vector<AudioFile> audio;

  int Count(Severity severity) const;
  // 0 clean, 1 warnings only, 2 errors.
  int ExitCode() const;
};

// Decodes a file through the media engine, to its end.
struct DecodeResult {
  std::optional<double> seconds;
  std::string error;  // empty when decoded
};
class AudioDecoder {
 public:
  virtual ~AudioDecoder() = default;
  virtual DecodeResult Decode(const std::string& hostPath) = 0;
};

struct CheckOptions {
  AudioDecoder* decoder = nullptr;  // none: the audio is not decoded
  // Called as the work goes on: the step ("pagine", "audio"), how much of it
  // is done and its whole.
  std::function<void(std::string_view step, std::size_t done, std::size_t total)> progress;
};

// A link's file part: before its "#" and "?", "\" made "/", percent
// escapes decoded.
std::string LinkFile(std::string_view link);

// `bookFolder`: the book's host folder, absolute. `host` takes host paths.
CheckResult CheckBook(FileSystem& host, const HtmlReader& html, const std::string& bookFolder,
                      const CheckOptions& options);

}  // namespace orva::orvabook
