#include "tools/orvabook/daisy_convert.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <stdexcept>
#include <unordered_map>

#include "common/runtime/text.h"
#include "common/runtime/utf8.h"
#include "player/browser/book_format.h"

namespace orva::orvabook {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPagesFolder = "Pagine";

std::string Escape(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default: out += c;
    }
  }
  return out;
}

// A file name the player and the browser agree on: the page's title is its
// file name, and the player finds the page's folder by removing the title
// from the page's address, where anything but ASCII letters and digits may
// stand escaped. Accented letters lose their accents; every other run of
// characters becomes one "_".
std::string FileNamePart(std::string_view text, std::size_t most) {
  // U+00C0 to U+00FF without their accents.
  static constexpr std::string_view kLatin1 =
      "AAAAAAACEEEEIIIIDNOOOOO_OUUUUYTsaaaaaaaceeeeiiiidnooooo_ouuuuyty";
  std::string out;
  for (std::size_t pos = 0; pos < text.size() && out.size() < most;) {
    const char32_t c = DecodeUtf8Char(text, pos);
    char plain = '_';
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '-' || c == '.')
      plain = static_cast<char>(c);
    else if (c >= 0xC0 && c <= 0xFF)
      plain = kLatin1[c - 0xC0];
    if (plain != '_' || (!out.empty() && out.back() != '_')) out += plain;
  }
  while (!out.empty() && (out.back() == '_' || out.back() == '.')) out.pop_back();
  return out;
}

std::string Meta(std::string_view name, std::string_view content) {
  return "<meta name=\"" + std::string(name) + "\" content=\"" + Escape(content) + "\">\n";
}

std::string PageStart(const std::string& language, const std::string& title) {
  return "<!DOCTYPE html>\n<html" +
         (language.empty() ? std::string() : " lang=\"" + Escape(language) + "\"") +
         ">\n<head>\n<meta charset=\"utf-8\">\n<title>" + Escape(title) + "</title>\n";
}

struct Anchor {
  long seconds = 0;
  std::string label;
};

class Converter {
 public:
  explicit Converter(const DaisyBook& book) : book_(book) {
    for (std::size_t i = 0; i < book.entries.size(); ++i)
      if (book.entries[i].level > 0) headings_.push_back(i);
    const std::size_t width = std::max<std::size_t>(3, std::to_string(headings_.size()).size());
    for (std::size_t h = 0; h < headings_.size(); ++h) {
      std::string number = std::to_string(h + 1);
      number.insert(0, width - number.size(), '0');
      std::string name = FileNamePart(book.entries[headings_[h]].text, 40);
      names_.push_back(number + "_" + (name.empty() ? "Sezione" : name) + ".htm");
    }
  }

  ConvertedBook Run() {
    ConvertedBook out;
    out.files.push_back({std::string(book::kIndexPage), IndexPage()});
    for (std::size_t h = 0; h < headings_.size(); ++h)
      out.files.push_back({std::string(kPagesFolder) + "/" + names_[h], Page(h)});
    for (const IncludeFile& file : SampleIncludeFiles())
      out.files.push_back(
          {std::string(book::kIncludeFolder) + "/" + std::string(file.name), std::string(file.bytes)});
    out.audio = std::move(audio_);
    out.pages = static_cast<int>(headings_.size());
    return out;
  }

 private:
  static long Seconds(double seconds) { return std::max(0L, static_cast<long>(std::floor(seconds))); }

  // The name in Libro of a source audio file, given once per file; names
  // differ without regard to letter case, as the player compares them.
  std::string AudioName(const std::string& source) {
    if (const auto it = audioNames_.find(source); it != audioNames_.end()) return it->second;
    const fs::path path(source);
    std::string stem = FileNamePart(path.stem().string(), 60);
    if (stem.empty()) stem = "audio";
    const std::string extension = FileNamePart(path.extension().string(), 10);
    std::string name = stem + extension;
    for (int n = 2; !audioUsed_.insert(UCase(name)).second; ++n)
      name = stem + "_" + std::to_string(n) + extension;
    audio_.emplace_back(std::string(book::kAudioFolder) + "/" + name, source);
    return audioNames_.emplace(source, name).first->second;
  }

  std::string IndexPage() const {
    std::string text = PageStart(book_.language, std::string(book::kIndexPage));
    if (!names_.empty())
      text += Meta(book::NextHtmlElement(1), std::string(kPagesFolder) + "/" + names_.front());
    text += "</head>\n<body>\n<h1>" + Escape(book_.title) + "</h1>\n";
    text += "<p class=\"testo\">Scegli un titolo, o premi Ctrl+7 per cominciare dalla prima pagina.</p>\n";
    // Nested lists, one level of list per level of heading.
    std::vector<int> open;
    for (std::size_t h = 0; h < headings_.size(); ++h) {
      const int level = book_.entries[headings_[h]].level;
      while (!open.empty() && open.back() > level) {
        text += "</li>\n</ul>\n";
        open.pop_back();
      }
      if (!open.empty() && open.back() == level) {
        text += "</li>\n";
      } else {
        text += "<ul>\n";
        open.push_back(level);
      }
      text += "<li><a href=\"" + std::string(kPagesFolder) + "/" + Escape(names_[h]) + "\">" +
              Escape(book_.entries[headings_[h]].text) + "</a>";
    }
    for (; !open.empty(); open.pop_back()) text += "</li>\n</ul>\n";
    text += "<p><a href=\"INCLUDE/help.htm\">Aiuto: i comandi da tastiera</a></p>\n</body>\n</html>\n";
    return text;
  }

  // The position index: the heading, then what lies under it (its page
  // numbers, its sub-headings and theirs) as far as its first audio file
  // runs on. The index keys compare whole seconds, so entries that start in
  // the same second share one anchor, and one that goes back is left out.
  std::vector<Anchor> Anchors(std::size_t h, std::size_t first, std::size_t runEnd) const {
    std::vector<Anchor> anchors;
    const std::size_t at = headings_[h];
    const int level = book_.entries[at].level;
    for (std::size_t i = at; i < book_.entries.size(); ++i) {
      const DaisyEntry& entry = book_.entries[i];
      if (i > at && entry.level > 0 && entry.level <= level) break;
      if (entry.clip < first || entry.clip >= runEnd) continue;
      const long seconds = Seconds(book_.clips[entry.clip].begin);
      const std::string label = entry.level > 0 ? entry.text : "Pagina " + entry.text;
      if (anchors.empty() || seconds > anchors.back().seconds)
        anchors.push_back({seconds, label});
      else if (seconds == anchors.back().seconds)
        anchors.back().label += ", " + label;
    }
    return anchors;
  }

  std::string Page(std::size_t h) {
    const DaisyEntry& heading = book_.entries[headings_[h]];
    const std::string& name = names_[h];
    const std::size_t clips = book_.clips.size();
    // The section runs to the next heading's clip; a heading that points
    // where the next one does still starts its own page there.
    const std::size_t first = heading.clip;
    std::size_t end = h + 1 < headings_.size() ? book_.entries[headings_[h + 1]].clip : clips;
    end = std::min(clips, std::max(end, first + 1));
    std::string text = PageStart(book_.language, name);
    std::int32_t audios = 0;
    for (std::size_t c = first; c < end; ++c) {
      if (c > first && book_.clips[c].audio == book_.clips[c - 1].audio) continue;
      text += Meta(book::AudioElement(audios),
                   "../" + std::string(book::kAudioFolder) + "/" + AudioName(book_.clips[c].audio));
      text += Meta(book::PositionElement(audios), std::to_string(Seconds(book_.clips[c].begin)));
      ++audios;
    }
    const bool last = h + 1 == headings_.size();
    if (!last) {
      text += Meta(book::NextHtmlElement(1), names_[h + 1]);
      if (audios > 1) text += Meta(book::NextHtmlElement(audios), names_[h + 1]);
    }
    const std::string previous = h == 0 ? "../" + std::string(book::kIndexPage) : names_[h - 1];
    text += Meta(book::kPrevHtmlElement, previous);
    text += "</head>\n<body>\n<h1>" + Escape(heading.text) + "</h1>\n";
    for (const std::string& paragraph : heading.texts)
      text += "<p class=\"testo\">" + Escape(paragraph) + "</p>\n";
    if (first < end) {
      std::size_t runEnd = first;
      while (runEnd < clips && book_.clips[runEnd].audio == book_.clips[first].audio) ++runEnd;
      text += "<h2>Indice della pagina</h2>\n<ul>\n";
      int n = 0;
      for (const Anchor& anchor : Anchors(h, first, runEnd))
        text += "<li><a id=\"" + book::IndexAnchorElement(++n) + "\" href=\"" + Escape(name) + "#" +
                std::string(book::kPositionElement) + "=" + std::to_string(anchor.seconds) + "\">" +
                Escape(anchor.label) + "</a></li>\n";
      text += "</ul>\n";
    }
    text += "<h2>Navigazione</h2>\n<ul>\n";
    if (h > 0)
      text += "<li><a href=\"" + Escape(previous) +
              "\">Pagina precedente: " + Escape(book_.entries[headings_[h - 1]].text) + "</a></li>\n";
    if (!last)
      text += "<li><a href=\"" + Escape(names_[h + 1]) +
              "\">Pagina successiva: " + Escape(book_.entries[headings_[h + 1]].text) + "</a></li>\n";
    text += "<li><a href=\"../" + std::string(book::kIndexPage) +
            "\">Torna all'indice del libro</a></li>\n</ul>\n</body>\n</html>\n";
    return text;
  }

  const DaisyBook& book_;
  std::vector<std::size_t> headings_;  // their entries
  std::vector<std::string> names_;     // their pages' file names
  std::unordered_map<std::string, std::string> audioNames_;
  std::set<std::string> audioUsed_;
  std::vector<std::pair<std::string, std::string>> audio_;
};

void WriteFile(const fs::path& path, std::string_view bytes) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw std::runtime_error(path.string() + ": non si scrive");
}

fs::path Folder(const std::string& out) {
  fs::path path = fs::path(out).lexically_normal();
  if (path.filename().empty()) path = path.parent_path();
  return path;
}

}  // namespace

ConvertedBook ConvertDaisyBook(const DaisyBook& book) { return Converter(book).Run(); }

void CheckNewFolder(const std::string& out) {
  const fs::path path = Folder(out);
  std::error_code ec;
  if (path.empty()) throw std::runtime_error("manca la cartella del libro convertito");
  if (fs::exists(fs::symlink_status(path, ec)))
    throw std::runtime_error(out + ": esiste già; il libro convertito va in una cartella nuova");
  const fs::path parent = path.has_parent_path() ? path.parent_path() : fs::path(".");
  if (!fs::is_directory(parent, ec)) throw std::runtime_error(parent.string() + ": la cartella non esiste");
}

void WriteBook(const ConvertedBook& book, const std::string& out) {
  CheckNewFolder(out);
  const fs::path path = Folder(out);
  const fs::path parent = path.has_parent_path() ? path.parent_path() : fs::path(".");
  // A hidden folder beside the book's, on the same file system, so that
  // the last step is a rename and the book appears whole or not at all.
  std::random_device random;
  fs::path work;
  for (int tries = 0;; ++tries) {
    work = parent / ("." + path.filename().string() + ".orvabook-" + std::to_string(random() % 1000000));
    std::error_code ec;
    if (fs::create_directory(work, ec)) break;
    if (ec || tries > 100) throw std::runtime_error(parent.string() + ": la cartella non si scrive");
  }
  try {
    for (const BookFile& file : book.files) WriteFile(work / file.path, file.bytes);
    for (const auto& [inside, source] : book.audio) {
      const fs::path target = work / inside;
      fs::create_directories(target.parent_path());
      std::error_code ec;
      fs::create_hard_link(source, target, ec);
      if (ec) fs::copy_file(source, target);
    }
    fs::rename(work, path);
  } catch (const std::exception& e) {
    std::error_code ignored;
    fs::remove_all(work, ignored);
    const auto* failure = dynamic_cast<const fs::filesystem_error*>(&e);
    if (!failure) throw;
    throw std::runtime_error(out + ": il libro non si scrive (" + failure->path1().string() + ": " +
                             failure->code().message() + ")");
  }
}

}  // namespace orva::orvabook
