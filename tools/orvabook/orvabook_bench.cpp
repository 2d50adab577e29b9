// Checking a large book without decoding its audio: 50 folders of 20 pages
// (1,000 pages), each with two audios (one beside the page, found by
// extension completion, one in Libro), the chain to the next page, the
// previous page and four position index anchors; on disk, through the real
// file system and HTML reader. The whole check should stay under 2 s.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "backends/libxml_html/libxml_html_reader.h"
#include "backends/posix/posix_file_system.h"
#include "tools/orvabook/book_check.h"

namespace orva::orvabook {
namespace {

namespace fs = std::filesystem;

constexpr int kFolders = 50;
constexpr int kPages = 20;

std::string TwoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

void Write(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path) << text;
}

std::string Name(int folder, int page) { return "Pag" + TwoDigits(folder) + "_" + TwoDigits(page); }

std::string PageText(int folder, int page) {
  const std::string name = Name(folder, page);
  std::string text = "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + name + ".htm</title>\n";
  text += "<meta name=\"ZUVPLAYER_AUDIO\" content=\"" + name + "a\">\n";
  text += "<meta name=\"ZUVPLAYER_AUDIO_POS\" content=\"0\">\n";
  text += "<meta name=\"ZUVPLAYER_AUDIO_1\" content=\"" + name + "b.mp3\">\n";
  const int nextFolder = page == kPages ? folder + 1 : folder;
  const int nextPage = page == kPages ? 1 : page + 1;
  if (nextFolder <= kFolders) {
    const std::string target = "../Cap" + TwoDigits(nextFolder) + "/" + Name(nextFolder, nextPage) + ".htm";
    text += "<meta name=\"ZUVPLAYER_AUDIO_NEXTHTML_1\" content=\"" + target + "\">\n";
    text += "<meta name=\"ZUVPLAYER_AUDIO_NEXTHTML_2\" content=\"" + target + "\">\n";
  }
  text += "<meta name=\"ZUVPLAYER_AUDIO_PREVHTML\" content=\"../Index.htm\">\n</head><body>\n<h1>" + name +
          "</h1>\n<ul>\n";
  for (int n = 1; n <= 4; ++n)
    text += "<li><a id=\"OrvaIndex_" + std::to_string(n) + "\" href=\"" + name +
            ".htm#ZUVPLAYER_AUDIO_POS=" + std::to_string(n * 30) + "\">Voce " + std::to_string(n) +
            "</a></li>\n";
  text += "</ul>\n";
  for (int p = 0; p < 20; ++p) text += "<p>Testo della pagina, un paragrafo dopo l'altro.</p>\n";
  return text + "</body></html>\n";
}

// Made once, removed when the program ends.
struct TempBook {
  fs::path root = fs::temp_directory_path() / ("orvabook-bench-" + std::to_string(getpid()));
  TempBook() {
    fs::remove_all(root);
    Write(root / "Index.htm",
          "<html><head><title>Index.htm</title><meta name=\"ZUVPLAYER_AUDIO\" content=\"Libro/indice.mp3\">"
          "<meta name=\"ZUVPLAYER_AUDIO_NEXTHTML_1\" "
          "content=\"Cap01/Pag01_01.htm\"></head><body></body></html>");
    Write(root / "Libro" / "indice.mp3", "");
    for (const char* file : {"Style1.CSS", "help.htm", "avvio.jpg"}) Write(root / "INCLUDE" / file, "");
    for (int f = 1; f <= kFolders; ++f) {
      for (int p = 1; p <= kPages; ++p) {
        const fs::path folder = root / ("Cap" + TwoDigits(f));
        Write(folder / (Name(f, p) + ".htm"), PageText(f, p));
        Write(folder / (Name(f, p) + "a.mp3"), "");
        Write(root / "Libro" / (Name(f, p) + "b.mp3"), "");
      }
    }
  }
  ~TempBook() {
    std::error_code ec;
    fs::remove_all(root, ec);
  }
};

const fs::path& Book() {
  static const TempBook book;
  return book.root;
}

void BM_CheckLargeBookWithoutAudio(benchmark::State& state) {
  PosixFileSystem files;
  LibxmlHtmlReader html;
  const std::string book = Book().string();
  for (auto _ : state) {
    const CheckResult result = CheckBook(files, html, book, {});
    if (result.pages != kFolders * kPages + 1 || !result.findings.empty()) {
      state.SkipWithError(result.findings.empty() ? "wrong page count"
                                                  : result.findings.front().message.c_str());
      break;
    }
  }
}
BENCHMARK(BM_CheckLargeBookWithoutAudio)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace orva::orvabook
