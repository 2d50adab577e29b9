#include "tools/orvabook/daisy_book.h"

#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <unordered_map>

#include "common/platform/path_resolver.h"
#include "common/runtime/text.h"
#include "tools/orvabook/book_check.h"
#include "tools/orvabook/html_reader.h"

namespace orva::orvabook {

namespace {

namespace fs = std::filesystem;

std::string Quoted(std::string_view s) { return "«" + std::string(s) + "»"; }

void AppendText(const MarkupNode& node, std::string& out) {
  out += node.text;
  for (const MarkupNode& child : node.children) AppendText(child, out);
}

// A place in the reading: the first clip and the first text reference at
// or after it.
struct Point {
  std::size_t clip = 0;
  std::size_t text = 0;
};

struct Smil {
  Point start;
  std::unordered_map<std::string, Point> ids;
};

// A SMIL text element: where its section's text is to be found.
struct TextReference {
  fs::path smil;
  long line = 0;
  std::string src;
};

struct NccEntry {
  int level = 0;
  std::string text;
  Point point;
  long line = 0;
};

bool HasClass(const MarkupNode& node, std::string_view wanted) {
  std::istringstream classes(node.Attribute("class"));
  for (std::string name; classes >> name;)
    if (name == wanted) return true;
  return false;
}

const MarkupNode* FirstLink(const MarkupNode& node) {
  for (const MarkupNode& child : node.children) {
    if (child.tag == "a" && !child.Attribute("href").empty()) return &child;
    if (const MarkupNode* link = FirstLink(child)) return link;
  }
  return nullptr;
}

class DaisyReader {
 public:
  DaisyReader(const std::string& ncc, const DocumentReader& reader) : reader_(reader) {
    std::error_code ec;
    fs::path path = fs::absolute(ncc, ec).lexically_normal();
    shownFolder_ = fs::path(ncc).parent_path();
    // A book's folder stands for the ncc.html in it.
    if (fs::is_directory(path, ec)) {
      shownFolder_ = ncc;
      const std::optional<std::string> found = paths_.Resolve((path / "ncc.html").string());
      if (!found) throw std::runtime_error(ncc + ": nella cartella non c'è ncc.html");
      path = *found;
    }
    ncc_ = path;
    folder_ = path.parent_path();
  }

  DaisyBook Read() {
    const MarkupNode tree = Parse(ncc_, false);
    ReadNcc(tree);
    DaisyBook book;
    book.title = title_.empty() ? htmlTitle_ : title_;
    book.language = language_;
    const NccEntry* previous = nullptr;
    std::vector<std::size_t> headings;
    for (std::size_t i = 0; i < entries_.size(); ++i) {
      const NccEntry& entry = entries_[i];
      if (entry.level == 0) continue;
      if (previous && (entry.point.clip < previous->point.clip || entry.point.text < previous->point.text))
        Fail(ncc_, entry.line,
             "il titolo " + Quoted(entry.text) +
                 " rimanda a un punto della lettura che viene prima di quello " + "del titolo precedente, " +
                 Quoted(previous->text) + " alla riga " + std::to_string(previous->line));
      previous = &entry;
      headings.push_back(i);
    }
    if (headings.empty()) Fail(ncc_, 0, "non ha titoli (h1 ... h6): non è l'ncc.html di un libro DAISY 2.02");
    if (book.title.empty()) book.title = entries_[headings.front()].text;
    for (const NccEntry& entry : entries_)
      book.entries.push_back({entry.level, entry.text, entry.point.clip, {}});
    for (std::size_t h = 0; h < headings.size(); ++h) {
      const std::size_t end = h + 1 < headings.size() ? entries_[headings[h + 1]].point.text : texts_.size();
      DaisyEntry& heading = book.entries[headings[h]];
      for (std::size_t t = entries_[headings[h]].point.text; t < end; ++t) {
        std::string text = SectionText(texts_[t]);
        if (!text.empty() && !(heading.texts.empty() && text == heading.text))
          heading.texts.push_back(std::move(text));
      }
    }
    book.clips = std::move(clips_);
    return book;
  }

 private:
  // A file as the user would name it: under the folder the ncc.html was
  // given in.
  std::string Shown(const fs::path& file) const {
    const std::string path = file.string();
    const std::string folder = folder_.string() + "/";
    if (path.compare(0, folder.size(), folder) != 0) return path;
    return (shownFolder_ / path.substr(folder.size())).string();
  }

  [[noreturn]] void Fail(const fs::path& file, long line, const std::string& message) const {
    throw std::runtime_error(Shown(file) + (line > 0 ? ":" + std::to_string(line) : std::string()) + ": " +
                             message);
  }

  MarkupNode Parse(const fs::path& file, bool xml) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    if (!(in && bytes << in.rdbuf())) {
      // An empty file reads as nothing at all, which is no document either.
      Fail(file, 0, in ? "il file è vuoto" : "il file non si apre");
    }
    try {
      return xml ? reader_.ReadXml(bytes.str()) : reader_.ReadHtml(bytes.str());
    } catch (const MarkupError& e) {
      Fail(file, e.Line(), std::string(xml ? "XML non valido: " : "") + e.what());
    }
  }

  // The file a link of `from` names, with the letter case on disk; a link
  // that leaves the book's folder is refused, so that a book cannot have
  // files from elsewhere on the disk copied.
  fs::path Resolve(const fs::path& from, long line, const std::string& link) {
    const std::string file = LinkFile(link);
    if (file.empty() || file.front() == '/' || link.find("://") != std::string::npos)
      Fail(from, line, Quoted(link) + " non è un file della cartella del libro");
    const fs::path path = (from.parent_path() / file).lexically_normal();
    const std::string inside = folder_.string() + "/";
    if (path.string().compare(0, inside.size(), inside) != 0)
      Fail(from, line, Quoted(file) + " è fuori dalla cartella del libro");
    const std::optional<std::string> found = paths_.Resolve(path.string());
    std::error_code ec;
    if (!found || !fs::is_regular_file(*found, ec)) Fail(from, line, Quoted(file) + " non esiste");
    return *found;
  }

  void ReadNcc(const MarkupNode& node) {
    if (node.tag == "meta") {
      const std::string name = LCase(node.Attribute("name"));
      if (name == "dc:title") title_ = CollapseBlanks(node.Attribute("content"));
      if (name == "dc:language") language_ = CollapseBlanks(node.Attribute("content"));
    }
    if (node.tag == "title" && htmlTitle_.empty()) htmlTitle_ = node.Text();
    int level = -1;
    if (node.tag.size() == 2 && node.tag[0] == 'h' && node.tag[1] >= '1' && node.tag[1] <= '6')
      level = node.tag[1] - '0';
    else if (node.tag == "span" && (HasClass(node, "page-normal") || HasClass(node, "page-front") ||
                                    HasClass(node, "page-special")))
      level = 0;
    if (level < 0) {
      for (const MarkupNode& child : node.children) ReadNcc(child);
      return;
    }
    NccEntry entry{level, node.Text(), {}, node.line};
    const MarkupNode* link = FirstLink(node);
    if (link == nullptr)
      Fail(ncc_, node.line,
           std::string(level > 0 ? "il titolo " : "il numero di pagina ") + Quoted(entry.text) +
               " non rimanda al suo punto in un file SMIL");
    entry.point = PointOf(link->Attribute("href"), node.line);
    entries_.push_back(std::move(entry));
  }

  Point PointOf(const std::string& href, long line) {
    const fs::path file = Resolve(ncc_, line, href);
    const Smil& smil = LoadSmil(file);
    const std::size_t hash = href.find('#');
    if (hash == std::string::npos || hash + 1 == href.size()) return smil.start;
    const auto it = smil.ids.find(href.substr(hash + 1));
    if (it == smil.ids.end())
      Fail(ncc_, line,
           Quoted(href) + ": in " + Shown(file) + " non c'è l'id " + Quoted(href.substr(hash + 1)));
    return it->second;
  }

  const Smil& LoadSmil(const fs::path& file) {
    const auto found = smils_.find(file.string());
    if (found != smils_.end()) return found->second;
    const MarkupNode tree = Parse(file, true);
    Smil smil;
    smil.start = {clips_.size(), texts_.size()};
    ReadSmil(tree, file, nullptr, smil);
    return smils_.emplace(file.string(), std::move(smil)).first->second;
  }

  // An id inside a par stands for the whole par, whatever comes first in it.
  void ReadSmil(const MarkupNode& node, const fs::path& file, const Point* par, Smil& smil) {
    const Point here{clips_.size(), texts_.size()};
    if (node.tag == "par") par = &here;
    if (const std::string id = node.Attribute("id"); !id.empty()) smil.ids.emplace(id, par ? *par : here);
    if (node.tag == "audio") {
      const std::string src = node.Attribute("src");
      if (src.empty()) Fail(file, node.line, "l'elemento audio non ha src");
      const fs::path audio = Resolve(file, node.line, src);
      double begin = 0;
      if (const std::string text = node.Attribute("clip-begin"); !text.empty()) {
        try {
          begin = ParseClockValue(text);
        } catch (const std::invalid_argument&) {
          Fail(file, node.line, "clip-begin " + Quoted(text) + " non è un tempo");
        }
      }
      clips_.push_back({audio.string(), begin});
    } else if (node.tag == "text" && !node.Attribute("src").empty()) {
      texts_.push_back({file, node.line, node.Attribute("src")});
    }
    for (const MarkupNode& child : node.children) ReadSmil(child, file, par, smil);
  }

  // The text a SMIL text element shows: the element of that id in a text
  // document. References into the ncc.html are its headings, not text.
  std::string SectionText(const TextReference& reference) {
    const std::size_t hash = reference.src.find('#');
    if (hash == std::string::npos) return {};
    const fs::path document = Resolve(reference.smil, reference.line, reference.src);
    if (document == ncc_) return {};
    auto it = documents_.find(document.string());
    if (it == documents_.end()) {
      std::unordered_map<std::string, std::string> ids;
      IndexTexts(Parse(document, false), ids);
      it = documents_.emplace(document.string(), std::move(ids)).first;
    }
    const auto text = it->second.find(reference.src.substr(hash + 1));
    if (text == it->second.end())
      Fail(reference.smil, reference.line,
           Quoted(reference.src) + ": in " + Shown(document) + " non c'è l'id " +
               Quoted(reference.src.substr(hash + 1)));
    return text->second;
  }

  static void IndexTexts(const MarkupNode& node, std::unordered_map<std::string, std::string>& ids) {
    if (const std::string id = node.Attribute("id"); !id.empty()) ids.emplace(id, node.Text());
    for (const MarkupNode& child : node.children) IndexTexts(child, ids);
  }

  const DocumentReader& reader_;
  CaseInsensitivePaths paths_;
  fs::path shownFolder_;
  fs::path ncc_;
  fs::path folder_;
  std::string title_;
  std::string htmlTitle_;
  std::string language_;
  std::vector<NccEntry> entries_;
  std::map<std::string, Smil> smils_;
  std::vector<DaisyClip> clips_;
  std::vector<TextReference> texts_;
  std::unordered_map<std::string, std::unordered_map<std::string, std::string>> documents_;
};

// A decimal number without sign or exponent: digits, then a fraction.
std::optional<double> Decimal(std::string_view text) {
  if (text.empty() || text.front() < '0' || text.front() > '9') return std::nullopt;
  double value = 0;
  const auto [end, error] =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace

std::string MarkupNode::Attribute(std::string_view name) const {
  for (const auto& [key, value] : attributes)
    if (key == name) return value;
  return {};
}

std::string MarkupNode::Text() const {
  std::string all;
  AppendText(*this, all);
  return CollapseBlanks(all);
}

DaisyBook ReadDaisyBook(const std::string& ncc, const DocumentReader& reader) {
  return DaisyReader(ncc, reader).Read();
}

double ParseClockValue(std::string_view text) {
  std::string_view value = text;
  while (!value.empty() && value.front() == ' ') value.remove_prefix(1);
  while (!value.empty() && value.back() == ' ') value.remove_suffix(1);
  if (value.substr(0, 4) == "npt=") value.remove_prefix(4);
  const auto invalid = [&] { return std::invalid_argument(std::string(text) + " is no clock value"); };
  if (value.find(':') != std::string_view::npos) {
    // hh:mm:ss.f or mm:ss.f: whole hours and minutes, seconds with a fraction.
    double seconds = 0;
    std::size_t parts = 0;
    while (true) {
      const std::size_t colon = value.find(':');
      const std::optional<double> part = Decimal(value.substr(0, colon));
      if (!part || (colon != std::string_view::npos && *part != std::floor(*part)) || ++parts > 3)
        throw invalid();
      seconds = seconds * 60 + *part;
      if (colon == std::string_view::npos) break;
      value.remove_prefix(colon + 1);
    }
    return seconds;
  }
  double scale = 1;
  for (const auto& [unit, factor] :
       {std::pair<std::string_view, double>{"ms", 0.001}, {"min", 60}, {"h", 3600}, {"s", 1}}) {
    if (value.size() > unit.size() && value.substr(value.size() - unit.size()) == unit) {
      value.remove_suffix(unit.size());
      scale = factor;
      break;
    }
  }
  const std::optional<double> number = Decimal(value);
  if (!number) throw invalid();
  return *number * scale;
}

}  // namespace orva::orvabook
