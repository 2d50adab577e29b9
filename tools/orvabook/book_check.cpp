#include "tools/orvabook/book_check.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <stdexcept>
#include <unordered_map>

#include "common/platform/host_paths.h"
#include "common/platform/path_resolver.h"
#include "common/runtime/conversions.h"
#include "common/runtime/text.h"
#include "common/runtime/vb_error.h"
#include "player/bookmarks/book_walk.h"
#include "player/browser/addresses.h"
#include "player/browser/book_format.h"

namespace orva::orvabook {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kNextHtmlPrefix = "ZUVPLAYER_AUDIO_NEXTHTML_";
constexpr std::string_view kIndexAnchorPrefix = "OrvaIndex_";
constexpr std::string_view kPositionMarker = "ZUVPLAYER_AUDIO_POS=";
constexpr std::string_view kTitleElement = "TITLE";

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

std::string Quoted(std::string_view s) { return "«" + std::string(s) + "»"; }

// Seconds for a message, with the decimal comma of the messages' language.
std::string SecondsText(double seconds) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.1f", seconds);
  std::string text = buf;
  std::replace(text.begin(), text.end(), '.', ',');
  if (text.size() > 2 && text.compare(text.size() - 2, 2, ",0") == 0) text.resize(text.size() - 2);
  return text + " s";
}

// A host path as the browser writes it in a page's address.
std::string FileAddress(std::string_view hostPath) {
  static constexpr std::string_view kKept = "-._~!$&'()*+,;=:@/";
  std::string out = "file://";
  for (const char c : hostPath) {
    const auto u = static_cast<unsigned char>(c);
    if (std::isalnum(u) && u < 0x80) {
      out += c;
    } else if (kKept.find(c) != std::string_view::npos) {
      out += c;
    } else {
      char buf[4];
      std::snprintf(buf, sizeof buf, "%%%02X", u);
      out += buf;
    }
  }
  return out;
}

std::string PercentDecode(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size() && std::isxdigit(static_cast<unsigned char>(s[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(s[i + 2]))) {
      out += static_cast<char>(std::stoi(std::string(s.substr(i + 1, 2)), nullptr, 16));
      i += 2;
    } else {
      out += s[i];
    }
  }
  return out;
}

// The names and ids of a page's elements, each once, in document order.
std::vector<std::string> Keys(const PageMarkup& markup) {
  std::vector<std::string> keys;
  std::set<std::string> seen;
  for (const MarkupElement& e : markup.Elements())
    for (const std::string* key : {&e.name, &e.id})
      if (!key->empty() && seen.insert(*key).second) keys.push_back(*key);
  return keys;
}

bool AllDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The number of a numbered name as the player writes it: decimal digits
// without leading zeros. None for anything else.
std::optional<int> NumberOf(std::string_view digits) {
  if (!AllDigits(digits) || digits.size() > 5 || digits.front() == '0') return std::nullopt;
  return std::stoi(std::string(digits));
}

// Host paths without a folder are taken from the player's current folder.
class CurrentFolderFileSystem final : public FileSystem {
 public:
  CurrentFolderFileSystem(FileSystem& inner, std::string folder)
      : inner_(inner), folder_(std::move(folder)) {}

  std::string Absolute(const std::string& path) const {
    return path.empty() || path.front() == '/' ? path : folder_ + "/" + path;
  }
  bool FileExists(const std::string& path) const override { return inner_.FileExists(Absolute(path)); }
  bool FolderExists(const std::string& path) const override { return inner_.FolderExists(Absolute(path)); }
  std::vector<std::string> SubFolders(const std::string& folder) const override {
    return inner_.SubFolders(Absolute(folder));
  }
  std::vector<std::string> Files(const std::string& folder) const override {
    return inner_.Files(Absolute(folder));
  }
  void DeleteFile(const std::string& path) override { inner_.DeleteFile(Absolute(path)); }
  std::string ReadText(const std::string& path) const override { return inner_.ReadText(Absolute(path)); }
  void WriteText(const std::string& path, const std::string& text) override {
    inner_.WriteText(Absolute(path), text);
  }

 private:
  FileSystem& inner_;
  std::string folder_;
};

struct Page {
  std::string name;  // inside the book, "/" separated
  std::string core;  // the player's path
  std::string host;  // the file on disk
  std::string url;   // the address the browser shows for it
  PageMarkup markup;
  bool read = false;
  int audios = 0;                     // its chain: ZUVPLAYER_AUDIO, _1, ... without a gap
  std::optional<std::size_t> audio0;  // the file of ZUVPLAYER_AUDIO, once found
  bool namedAsPrevious = false;       // another page's previous page
};

struct Use {
  std::size_t page;
  std::string element;
};

struct Audio {
  std::string host;
  Use first;
};

struct Position {
  std::size_t file;
  Use use;
  double seconds;
};

class Checker {
 public:
  Checker(FileSystem& host, const HtmlReader& html, const std::string& bookFolder,
          const CheckOptions& options)
      : hostFiles_(host),
        caseless_(host),
        current_(caseless_, bookFolder),
        files_(current_),
        html_(html),
        book_(bookFolder),
        programFolder_(CoreFolderFromHost(bookFolder)),
        options_(options) {}

  CheckResult Run() {
    CheckBookFiles();
    FindPages();
    for (std::size_t i = 0; i < pages_.size(); ++i) {
      Progress("pagine", i, pages_.size());
      CheckPage(i);
    }
    for (std::size_t i = 0; i < pages_.size(); ++i) CheckChainEnd(i);
    if (options_.decoder) Decode();
    result_.pages = static_cast<int>(pages_.size());
    result_.decoded = options_.decoder != nullptr;
    for (std::size_t i = 0; i < audio_.size(); ++i) result_.audio[i].file = Inside(audio_[i].host);
    // Page by page, the index page first and then in the order of the book
    // walk; the book's own files last.
    std::stable_sort(result_.findings.begin(), result_.findings.end(),
                     [this](const Finding& a, const Finding& b) { return Order(a.page) < Order(b.page); });
    return std::move(result_);
  }

 private:
  void Add(Severity severity, std::string kind, std::string page, std::string element, std::string message) {
    result_.findings.push_back(
        {severity, std::move(kind), std::move(page), std::move(element), std::move(message)});
  }
  void Add(Severity severity, std::string kind, const Use& use, std::string message) {
    Add(severity, std::move(kind), pages_[use.page].name, use.element, std::move(message));
  }

  std::size_t Order(const std::string& page) const {
    const auto it = order_.find(page);
    return it == order_.end() ? pages_.size() : it->second;
  }

  void Progress(std::string_view step, std::size_t done, std::size_t total) const {
    if (options_.progress) options_.progress(step, done, total);
  }

  bool Exists(const std::string& corePath) const {
    try {
      return files_.FileExists(corePath);
    } catch (const std::exception&) {
      return false;
    }
  }

  // The file on disk that a path of the player names, letter case as on disk.
  std::string HostPath(const std::string& corePath) {
    const std::string host = current_.Absolute(HostPathFromCore(
        corePath, [this](const std::string& folder) { return hostFiles_.FolderExists(folder); }));
    const std::string found = paths_.Resolve(host).value_or(host);
    return fs::path(found).lexically_normal().string();
  }

  // A host path inside the book, "/" separated; the path itself outside it.
  std::string Inside(const std::string& host) const {
    return StartsWith(host, book_ + "/") ? host.substr(book_.size() + 1) : host;
  }

  void CheckBookFiles() {
    struct BookFile {
      std::string_view path;
      Severity severity;
      const char* why;
    };
    for (const BookFile& file :
         {BookFile{book::kHelpPage, Severity::kError, "F1 non apre l'aiuto"},
          BookFile{book::kSplashPicture, Severity::kWarning, "la pagina di avvio resta senza immagine"}}) {
      if (!Exists(programFolder_ + std::string(file.path)))
        Add(file.severity, "file-del-libro", "INCLUDE", Mid(file.path, InStrRev(file.path, "\\") + 1),
            std::string("manca: ") + file.why);
    }
    // The style switch goes from each sheet to the next number and back to
    // 1 when that file is missing.
    std::set<int> styles;
    const std::string include = programFolder_ + "\\" + std::string(book::kIncludeFolder);
    try {
      if (files_.FolderExists(include)) {
        for (const std::string& file : files_.Files(include)) {
          const std::string upper = UCase(file);
          if (!StartsWith(upper, "STYLE") || upper.size() < 9 || upper.substr(upper.size() - 4) != ".CSS")
            continue;
          const std::string digits = upper.substr(5, upper.size() - 9);
          if (const std::optional<int> n = NumberOf(digits))
            styles.insert(*n);
          else if (AllDigits(digits))
            Add(Severity::kWarning, "stili", "INCLUDE", file,
                "il lettore non lo trova: i fogli di stile si numerano 1, 2, 3... senza zeri iniziali");
        }
      }
    } catch (const std::exception& e) {
      Add(Severity::kError, "file-del-libro", "INCLUDE", "",
          std::string("la cartella non si legge: ") + e.what());
    }
    int missing = 1;
    while (styles.count(missing)) ++missing;
    const std::string sheet = "Style" + std::to_string(missing) + ".CSS";
    if (missing == 1)
      Add(Severity::kWarning, "stili", "INCLUDE", sheet,
          "manca: le pagine si vedono senza lo stile del libro");
    else if (!styles.empty() && missing < *styles.rbegin())
      Add(Severity::kWarning, "stili", "INCLUDE", sheet,
          "manca: Alt+9 torna a Style1.CSS dopo Style" + std::to_string(missing - 1) +
              ".CSS e non raggiunge gli stili con i numeri dopo");
  }

  void AddPage(std::string name, std::string core) {
    Page page;
    page.name = std::move(name);
    page.core = std::move(core);
    page.host = HostPath(page.core);
    page.url = FileAddress(page.host);
    order_.emplace(page.name, pages_.size());
    pagesByHost_.emplace(page.host, pages_.size());
    pages_.push_back(std::move(page));
  }

  void FindPages() {
    // Every page's address names its file as it is on disk: the browser is
    // sent on to that file when a link writes its name in another case.
    const std::string index = book::IndexPathOf(programFolder_);
    if (Exists(index)) {
      AddPage(Inside(HostPath(index)), index);
    } else {
      Add(Severity::kError, "pagina", std::string(book::kIndexPage), "",
          "manca la pagina indice: il lettore non ha da dove cominciare");
    }
    try {
      WalkBook(files_, programFolder_, [this](const BookFile& file) {
        const std::string upper = UCase(file.file);
        const std::size_t dot = upper.rfind('.');
        const std::string extension = dot == std::string::npos ? std::string() : upper.substr(dot);
        if (extension == ".HTM" || extension == ".HTML") {
          AddPage(file.folder + "/" + file.file, file.Path(programFolder_));
        }
        return WalkNext::kNextFile;
      });
    } catch (const std::exception& e) {
      Add(Severity::kError, "pagina", "", "",
          std::string("le cartelle del libro non si leggono: ") + e.what());
    }
  }

  void CheckPage(std::size_t index) {
    Page& page = pages_[index];
    try {
      page.markup = html_.Read(files_.ReadText(page.core));
      page.read = true;
    } catch (const std::exception& e) {
      Add(Severity::kError, "pagina", page.name, "", std::string("la pagina non si legge: ") + e.what());
      return;
    }
    CheckTitle(page);
    CheckAudio(index);
    CheckLinks(page);
    CheckIndexAnchors(index);
  }

  static bool NamesNextPage(const PageMarkup& markup) {
    for (const MarkupElement& e : markup.Elements())
      if ((StartsWith(e.name, kNextHtmlPrefix) || StartsWith(e.id, kNextHtmlPrefix)) && !e.content.empty())
        return true;
    return false;
  }

  // The player takes the page's folder from its address by removing the
  // location name, which for a page with a title is the title.
  void CheckTitle(const Page& page) {
    const std::string bare = page.url.substr(0, page.url.find_first_of("?#"));
    const std::string fileName = bare.substr(bare.rfind('/') + 1);
    const std::string locationName = page.markup.title.empty() ? fileName : page.markup.title;
    if (PageFolderAddress(page.url, locationName) == bare.substr(0, bare.rfind('/') + 1)) return;
    const bool links = NamesNextPage(page.markup) || !page.markup.Content(book::kPrevHtmlElement).empty();
    Add(links ? Severity::kError : Severity::kWarning, "titolo", page.name, std::string(kTitleElement),
        "il titolo " + Quoted(page.markup.title) + " non è il nome del file " + Quoted(fileName) +
            ": il lettore non ricava la cartella della pagina" +
            (links ? " e non apre la pagina successiva e la precedente" : ""));
  }

  std::size_t AudioFileOf(const std::string& host, const Use& use) {
    const auto [it, added] = audioByHost_.emplace(host, audio_.size());
    if (added) {
      audio_.push_back({host, use});
      result_.audio.emplace_back();
    }
    return it->second;
  }

  // Each audio as reading reaches it: the first when the page loads, every
  // later one from the audio before it, when the page's address is no
  // longer given.
  void CheckAudio(std::size_t index) {
    Page& page = pages_[index];
    auto exists = [this](const std::string& path) { return Exists(path); };
    for (std::int32_t n = 0;; ++n) {
      const Use use{index, book::AudioElement(n)};
      const std::string reference = page.markup.Content(use.element);
      if (reference.empty()) break;
      page.audios = n + 1;
      const book::ResolvedAudio found =
          book::ResolveAudioReference(reference, n == 0 ? page.url : "", programFolder_, exists);
      if (!Exists(found.path)) {
        std::string where =
            n == 0 ? "nella cartella della pagina, nella cartella corrente, " : "nella cartella corrente, ";
        std::string message = Quoted(reference) + " non si trova: il lettore lo cerca " + where +
                              "nella cartella del libro e in Libro";
        if (n > 0 && Exists(book::ResolveAudioReference(reference, page.url, programFolder_, exists).path))
          message += " (è nella cartella della pagina, dove il lettore cerca solo il primo audio)";
        Add(Severity::kError, "audio", use, message);
        continue;
      }
      const std::size_t file = AudioFileOf(HostPath(found.path), use);
      if (n == 0) page.audio0 = file;
      const Use position{index, book::PositionElement(n)};
      if (const std::string text = page.markup.Content(position.element); !text.empty())
        AddPosition(file, position, text);
    }
  }

  void AddPosition(std::size_t file, const Use& use, const std::string& text) {
    try {
      positions_.push_back({file, use, book::ParsePosition(text)});
    } catch (const VbError&) {
      Add(Severity::kError, "posizione", use,
          Quoted(text) + " non è un numero di secondi: il lettore lo segnala come errore");
    }
  }

  // Where a link of the page leads, on disk; nothing when it leaves the book.
  std::optional<std::string> Target(const Page& page, std::string_view link) const {
    const std::string file = LinkFile(link);
    const std::string folder = page.host.substr(0, page.host.rfind('/'));
    const std::string target = (fs::path(folder) / file).lexically_normal().string();
    if (!StartsWith(target, book_ + "/")) return std::nullopt;
    return target;
  }

  void CheckLinks(const Page& page) {
    // Pages the walk does not find (beside the index page, for one) are
    // still read when a page leads to them; added after the loop, as adding
    // moves the page being read.
    std::vector<std::string> reached;
    for (const std::string& key : Keys(page.markup)) {
      if (key != book::kPrevHtmlElement && !StartsWith(key, kNextHtmlPrefix)) continue;
      const std::string content = page.markup.Content(key);
      if (content.empty()) continue;
      const std::optional<std::string> target = Target(page, content);
      if (!target) {
        Add(Severity::kError, "collegamento", page.name, key,
            Quoted(content) + " porta fuori dalla cartella del libro: il lettore non lo apre");
      } else if (!current_.FileExists(*target)) {
        Add(Severity::kError, "collegamento", page.name, key, "la pagina " + Quoted(content) + " non esiste");
      } else {
        const auto it = pagesByHost_.find(paths_.Resolve(*target).value_or(*target));
        if (it == pagesByHost_.end())
          reached.push_back(*target);
        else if (key == book::kPrevHtmlElement)
          pages_[it->second].namedAsPrevious = true;
      }
    }
    for (const std::string& target : reached)
      if (!pagesByHost_.count(paths_.Resolve(target).value_or(target)))
        AddPage(Inside(HostPath(target)), target);
  }

  void CheckIndexAnchors(std::size_t index) {
    const Page& page = pages_[index];
    std::set<int> numbers;
    for (const std::string& key : Keys(page.markup)) {
      if (!StartsWith(key, kIndexAnchorPrefix)) continue;
      const std::string_view digits = std::string_view(key).substr(kIndexAnchorPrefix.size());
      if (const std::optional<int> n = NumberOf(digits))
        numbers.insert(*n);
      else if (AllDigits(digits))
        Add(Severity::kWarning, "indice", page.name, key,
            "i tasti dell'indice non trovano questa voce: le voci si numerano 1, 2, 3... senza zeri "
            "iniziali");
    }
    int missing = 1;
    while (numbers.count(missing)) ++missing;
    if (!numbers.empty() && missing < *numbers.rbegin())
      Add(Severity::kWarning, "indice", page.name, book::IndexAnchorElement(missing),
          missing == 1 ? std::string("manca: i tasti dell'indice non trovano le voci della pagina")
                       : "manca: i tasti dell'indice si fermano a " + book::IndexAnchorElement(missing - 1));
    // The index keys compare positions as whole seconds.
    std::optional<std::int16_t> previous;
    for (int n = 1; n < missing; ++n) {
      const Use use{index, book::IndexAnchorElement(n)};
      const std::string href = page.markup.All(use.element)->href;
      const std::size_t marker = href.find(kPositionMarker);
      if (marker == std::string::npos) {
        Add(Severity::kWarning, "indice", use,
            "l'indirizzo non ha ZUVPLAYER_AUDIO_POS=: i tasti dell'indice gli danno la posizione della voce "
            "precedente");
        continue;
      }
      const std::string text = href.substr(marker + kPositionMarker.size());
      double seconds = 0;
      std::int16_t whole = 0;
      try {
        seconds = CDbl(text);
        whole = CInt(seconds);
      } catch (const VbError&) {
        Add(Severity::kError, "posizione", use, Quoted(text) + " non è un numero di secondi");
        continue;
      }
      if (previous && whole <= *previous)
        Add(Severity::kWarning, "indice", use,
            "la posizione " + text +
                " non viene dopo quella della voce precedente: le voci vanno in ordine di "
                "posizione");
      previous = whole;
      // An anchor into its own page starts the page's first audio there.
      const std::string file = LinkFile(href);
      const std::optional<std::string> target = file.empty() ? page.host : Target(page, href);
      if (page.audio0 && target && paths_.Resolve(*target).value_or(*target) == page.host)
        positions_.push_back({*page.audio0, use, seconds});
    }
  }

  // A page whose last audio has no next page stops there; that is a fault
  // where the book goes on after it.
  void CheckChainEnd(std::size_t index) {
    const Page& page = pages_[index];
    if (!page.read || page.audios == 0) return;
    const std::string next = book::NextHtmlElement(page.audios);
    if (!page.markup.Content(next).empty()) return;
    if (!NamesNextPage(page.markup) && !page.namedAsPrevious) return;
    Add(Severity::kError, "catena", page.name, next,
        "manca: dopo l'ultimo audio (" + book::AudioElement(page.audios - 1) +
            ") la lettura si ferma, ma il libro continua dopo questa pagina");
  }

  void Decode() {
    for (std::size_t i = 0; i < audio_.size(); ++i) {
      Progress("audio", i, audio_.size());
      DecodeResult decoded;
      try {
        decoded = options_.decoder->Decode(audio_[i].host);
      } catch (const std::exception& e) {
        decoded.error = e.what();
      }
      if (decoded.error.empty() && !(decoded.seconds && *decoded.seconds > 0)) decoded.error = "nessun suono";
      AudioFile& file = result_.audio[i];
      file.error = decoded.error;
      if (decoded.error.empty())
        file.seconds = decoded.seconds;
      else
        Add(Severity::kError, "decodifica", audio_[i].first,
            Quoted(Inside(audio_[i].host)) + " non si riproduce: " + decoded.error);
    }
    for (const Position& position : positions_) {
      const AudioFile& file = result_.audio[position.file];
      if (file.seconds && position.seconds >= *file.seconds)
        Add(Severity::kError, "posizione", position.use,
            "la posizione " + SecondsText(position.seconds) + " è oltre la fine di " +
                Quoted(Inside(audio_[position.file].host)) + " (" + SecondsText(*file.seconds) +
                "): l'audio finisce appena comincia");
    }
  }

  FileSystem& hostFiles_;
  CaseInsensitiveFileSystem caseless_;
  CurrentFolderFileSystem current_;
  HostPathFileSystem files_;
  CaseInsensitivePaths paths_;
  const HtmlReader& html_;
  const std::string book_;
  const std::string programFolder_;
  const CheckOptions& options_;

  std::vector<Page> pages_;
  std::unordered_map<std::string, std::size_t> order_;
  std::unordered_map<std::string, std::size_t> pagesByHost_;
  std::vector<Audio> audio_;
  std::unordered_map<std::string, std::size_t> audioByHost_;
  std::vector<Position> positions_;
  CheckResult result_;
};

}  // namespace

std::string LinkFile(std::string_view link) {
  std::string file(link.substr(0, link.find_first_of("#?")));
  std::replace(file.begin(), file.end(), '\\', '/');
  return PercentDecode(file);
}

int CheckResult::Count(Severity severity) const {
  return static_cast<int>(std::count_if(findings.begin(), findings.end(),
                                        [severity](const Finding& f) { return f.severity == severity; }));
}

int CheckResult::ExitCode() const {
  if (Count(Severity::kError) > 0) return 2;
  return Count(Severity::kWarning) > 0 ? 1 : 0;
}

CheckResult CheckBook(FileSystem& host, const HtmlReader& html, const std::string& bookFolder,
                      const CheckOptions& options) {
  return Checker(host, html, bookFolder, options).Run();
}

void PageMarkup::Add(MarkupElement element) {
  for (const std::string* key : {&element.name, &element.id})
    if (!key->empty()) first_.emplace(*key, elements_.size());
  elements_.push_back(std::move(element));
}

const MarkupElement* PageMarkup::All(std::string_view nameOrId) const {
  const auto it = first_.find(std::string(nameOrId));
  return it == first_.end() ? nullptr : &elements_[it->second];
}

std::string PageMarkup::Content(std::string_view nameOrId) const {
  const MarkupElement* element = All(nameOrId);
  return element ? element->content : std::string();
}

std::string CollapseBlanks(std::string_view text) {
  std::string out;
  bool blank = false;
  for (const char c : text) {
    if (c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f') {
      blank = !out.empty();
    } else {
      if (blank) out += ' ';
      blank = false;
      out += c;
    }
  }
  return out;
}

}  // namespace orva::orvabook
