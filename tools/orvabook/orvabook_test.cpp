// The check's command line, in process: the sample book checks clean, and a copy of it with one fault of each
// kind reports every fault with its page and element, and nothing else.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <regex>
#include <set>
#include <sstream>
#include <tuple>

#include "backends/libxml_html/libxml_html_reader.h"
#include "backends/posix/posix_file_system.h"
#include "tools/orvabook/orvabook.h"

namespace orva::orvabook {
namespace {

namespace fs = std::filesystem;
const fs::path kSampleBook = fs::path(ORVA_TEST_SOURCE_DIR) / "sample-book";

// The media engine as the check sees it: MPEG and RIFF files play for half a minute, nothing else plays.
struct HalfMinuteDecoder final : AudioDecoder {
  DecodeResult Decode(const std::string& hostPath) override {
    char head[4] = {};
    std::ifstream(hostPath, std::ios::binary).read(head, sizeof head);
    if (head[0] == '\xff' || std::string(head, sizeof head) == "RIFF") return {30.0, ""};
    return {std::nullopt, "formato sconosciuto"};
  }
};

struct Output {
  int code = -1;
  std::string out;
};

Output Orvabook(const std::vector<std::string>& args) {
  PosixFileSystem files;
  LibxmlHtmlReader html;
  OrvabookServices services{files, html, [] { return std::make_unique<HalfMinuteDecoder>(); }};
  std::ostringstream out, err;
  return {RunOrvabook(args, services, out, err), out.str()};
}

void Edit(const fs::path& file, const std::string& from, const std::string& to) {
  std::string s(fs::file_size(file), '\0');
  std::ifstream(file).read(s.data(), static_cast<std::streamsize>(s.size()));
  const std::size_t at = s.find(from);
  ASSERT_NE(at, std::string::npos) << from << " in " << file;
  std::ofstream(file) << s.replace(at, from.size(), to);
}

struct Fault {
  const char* name;
  std::function<void(const fs::path& book)> make;
  const char* kind;
  const char* page;
  const char* element;
};

TEST(OrvabookCheck, SampleBookChecksCleanAndABrokenCopyReportsEachFaultAndNothingElse) {
  const Output clean = Orvabook({"check", kSampleBook.string()});
  EXPECT_EQ(clean.code, 0) << clean.out;
  EXPECT_NE(clean.out.find(": nessun problema."), std::string::npos) << clean.out;
  const std::vector<Fault> faults = {
      {"a later audio beside its page, where only the first audio is looked for",
       [](const fs::path& b) { fs::rename(b / "Libro/pagina1_2b.mp3", b / "Cap01/pagina1_2b.mp3"); }, "audio",
       "Cap01/Pagina1_2.htm", "ZUVPLAYER_AUDIO_1"},
      {"a chain whose last audio has no next page, though the book goes on",
       [](const fs::path& b) {
         Edit(b / "Cap01/Pagina1_2.htm",
              "<meta name=\"ZUVPLAYER_AUDIO_NEXTHTML_2\" content=\"../Cap02/Pagina2_1.htm\">", "");
       },
       "catena", "Cap01/Pagina1_2.htm", "ZUVPLAYER_AUDIO_NEXTHTML_2"},
      {"a previous page that does not exist",
       [](const fs::path& b) {
         Edit(b / "Cap02/Pagina2_1.htm", "PREVHTML\" content=\"../Cap01/", "PREVHTML\" content=\"X/");
       },
       "collegamento", "Cap02/Pagina2_1.htm", "ZUVPLAYER_AUDIO_PREVHTML"},
      {"a title that is not the file name",
       [](const fs::path& b) {
         Edit(b / "Cap02/Pagina2_2.htm", "<title>Pagina2_2.htm", "<title>Pagina due");
       },
       "titolo", "Cap02/Pagina2_2.htm", "TITLE"},
      {"index anchors with a gap in their numbers",
       [](const fs::path& b) { Edit(b / "Cap02/Pagina2_1.htm", "OrvaIndex_3", "OrvaIndex_5"); }, "indice",
       "Cap02/Pagina2_1.htm", "OrvaIndex_3"},
      {"an index position that goes back", [](const fs::path& b) { Edit(b / "Index.htm", "POS=9", "POS=2"); },
       "indice", "Index.htm", "OrvaIndex_3"},
      {"style sheets with a gap in their numbers",
       [](const fs::path& b) { fs::rename(b / "INCLUDE/Style2.CSS", b / "INCLUDE/Style4.CSS"); }, "stili",
       "INCLUDE", "Style2.CSS"},
      {"no help page", [](const fs::path& b) { fs::remove(b / "INCLUDE/help.htm"); }, "file-del-libro",
       "INCLUDE", "help.htm"},
      {"a start position past the end of its audio",
       [](const fs::path& b) { Edit(b / "Cap01/Pagina1_1.htm", "POS\" content=\"0", "POS\" content=\"60"); },
       "posizione", "Cap01/Pagina1_1.htm", "ZUVPLAYER_AUDIO_POS"},
      {"an audio file the engine cannot decode",
       [](const fs::path& b) { std::ofstream(b / "Libro/pagina2_2a.mp3") << "non è audio\n"; }, "decodifica",
       "Cap02/Pagina2_2.htm", "ZUVPLAYER_AUDIO"},
  };
  const fs::path book = fs::temp_directory_path() / ("orvabook-test-" + std::to_string(getpid()));
  fs::remove_all(book);
  fs::copy(kSampleBook, book, fs::copy_options::recursive);
  using Key = std::tuple<std::string, std::string, std::string>;
  std::set<Key> expected;
  for (const Fault& fault : faults) {
    SCOPED_TRACE(fault.name);
    fault.make(book);
    expected.insert({fault.kind, fault.page, fault.element});
  }

  const Output run = Orvabook({"check", "--json", book.string()});
  EXPECT_EQ(run.code, 2);
  std::set<Key> found;
  const std::regex finding(R"re("kind":"([^"]*)","page":"([^"]*)","element":"([^"]*)")re");
  for (std::sregex_iterator f(run.out.begin(), run.out.end(), finding), end; f != end; ++f)
    found.insert({(*f)[1], (*f)[2], (*f)[3]});
  EXPECT_EQ(found, expected) << run.out;
  // The same for people: one line for each, then the summary.
  const Output text = Orvabook({"check", book.string()});
  EXPECT_EQ(std::count(text.out.begin(), text.out.end(), '\n'), static_cast<long>(faults.size() + 1))
      << text.out;
  fs::remove_all(book);
}

}  // namespace
}  // namespace orva::orvabook
