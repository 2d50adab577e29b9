#pragma once
// orvabook: tools for the makers of books. Each command is a row of one
// table; --help lists the rows there are.
//
//   orvabook check [--json] [--no-audio] [--durate] BOOK
//   orvabook from-daisy NCC OUT

#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "common/platform/file_system.h"
#include "tools/orvabook/book_check.h"
#include "tools/orvabook/html_reader.h"
#include "tools/orvabook/markup_tree.h"

namespace orva::orvabook {

struct OrvabookServices {
  FileSystem& files;  // host paths
  const HtmlReader& html;
  // Makes the decoder of the media engine, when a command decodes audio;
  // may throw when the engine cannot start.
  std::function<std::unique_ptr<AudioDecoder>()> decoder;
  // The error stream is a terminal: a long check shows how far it has got.
  bool terminal = false;
  // Reads the files of a DAISY book whole; none: from-daisy cannot run.
  const DocumentReader* documents = nullptr;
};

// Exit codes: 0 nothing found, 1 warnings only, 2 errors (also a command
// line or a book that cannot be used).
int RunOrvabook(const std::vector<std::string>& args, OrvabookServices& services, std::ostream& out,
                std::ostream& err);

}  // namespace orva::orvabook
