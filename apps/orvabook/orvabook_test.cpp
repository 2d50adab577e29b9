// The real orvabook program on the sample book, which checks clean, and on a
// copy of it with one fault of each kind: every fault is reported with its
// page and element, and nothing else is.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <sstream>
#include <tuple>

namespace {

namespace fs = std::filesystem;

const fs::path kSampleBook = fs::path(ORVA_TEST_SOURCE_DIR) / "sample-book";

struct Output {
  int code = -1;
  std::string out;
};

Output Orvabook(const std::string& args) {
  Output run;
  FILE* pipe = popen((std::string(ORVA_ORVABOOK) + " " + args + " 2>/dev/null").c_str(), "r");
  if (!pipe) return run;
  char buf[4096];
  for (std::size_t n; (n = fread(buf, 1, sizeof buf, pipe)) > 0;) run.out.append(buf, n);
  const int status = pclose(pipe);
  run.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

void Edit(const fs::path& file, const std::string& from, const std::string& to) {
  std::stringstream text;
  text << std::ifstream(file).rdbuf();
  std::string s = text.str();
  const std::size_t at = s.find(from);
  ASSERT_NE(at, std::string::npos) << from << " in " << file;
  std::ofstream(file) << s.replace(at, from.size(), to);
}

TEST(OrvabookCheck, SampleBookChecksClean) {
  const Output run = Orvabook("check '" + kSampleBook.string() + "'");
  EXPECT_EQ(run.code, 0) << run.out;
  EXPECT_NE(run.out.find(": nessun problema."), std::string::npos) << run.out;
}

struct Fault {
  const char* name;
  std::function<void(const fs::path& book)> make;
  const char* kind;
  const char* page;
  const char* element;
};

TEST(OrvabookCheck, BrokenCopyReportsEachFaultAndNothingElse) {
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
      {"no splash picture", [](const fs::path& b) { fs::remove(b / "INCLUDE/avvio.jpg"); }, "file-del-libro",
       "INCLUDE", "avvio.jpg"},
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

  const Output run = Orvabook("check --json '" + book.string() + "'");
  EXPECT_EQ(run.code, 2);
  std::set<Key> found;
  const QJsonObject result = QJsonDocument::fromJson(QByteArray::fromStdString(run.out)).object();
  for (const QJsonValue& f : result.value("findings").toArray())
    found.insert({f["kind"].toString().toStdString(), f["page"].toString().toStdString(),
                  f["element"].toString().toStdString()});
  EXPECT_EQ(found, expected) << run.out;
  // The same for people: one line for each, then the summary.
  const Output text = Orvabook("check '" + book.string() + "'");
  EXPECT_EQ(std::count(text.out.begin(), text.out.end(), '\n'), static_cast<long>(faults.size() + 1))
      << text.out;
  fs::remove_all(book);
}

}  // namespace
