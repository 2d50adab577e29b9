#include "tools/orvabook/orvabook.h"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <string_view>

#include "common/automation/trace.h"
#include "tools/orvabook/daisy_convert.h"

namespace orva::orvabook {

namespace {

namespace fs = std::filesystem;

using CommandRun = int (*)(const std::vector<std::string>& args, OrvabookServices& services,
                           std::ostream& out, std::ostream& err);

struct Command {
  std::string_view name;
  std::string_view usage;  // after "orvabook "
  std::string_view help;   // indented lines
  CommandRun run;
};

int Check(const std::vector<std::string>& args, OrvabookServices& services, std::ostream& out,
          std::ostream& err);
int FromDaisy(const std::vector<std::string>& args, OrvabookServices& services, std::ostream& out,
              std::ostream& err);

constexpr Command kCommands[] = {
    {"check", "check [--json] [--no-audio] [--durate] LIBRO",
     "      controlla il libro nella cartella LIBRO come lo legge il lettore, con le sue stesse regole:\n"
     "      audio che il lettore non trova o che il motore multimediale non riproduce, catene di audio\n"
     "      interrotte, pagine successive e precedenti che non esistono, titoli da cui il lettore non\n"
     "      ricava la cartella della pagina, voci OrvaIndex_ e fogli di stile numerati male, posizioni\n"
     "      oltre la fine dell'audio, aiuto e immagine di avvio mancanti. Una riga per problema\n"
     "      (LIBRO/PAGINA: ...), poi un riepilogo. Il libro si legge come dal suo CD: la cartella\n"
     "      del programma e la cartella corrente del lettore sono quella del libro.\n"
     "        --json      il risultato in JSON, per altri programmi\n"
     "        --no-audio  non decodifica l'audio: più veloce, ma non controlla che si riproduca né\n"
     "                    che le posizioni cadano prima della sua fine\n"
     "        --durate    elenca la durata di ogni file audio\n"
     "      Codici di uscita: 0 nessun problema, 1 solo avvisi, 2 errori.\n",
     Check},
    {"from-daisy", "from-daisy NCC CARTELLA",
     "      converte il libro DAISY 2.02 di NCC (il suo ncc.html, o la cartella che lo contiene) in un\n"
     "      libro di OrvaPlayer nella CARTELLA, che non deve esistere: Index.htm con i titoli del libro,\n"
     "      una pagina per titolo con il suo audio e il suo testo, i numeri di pagina e i sottotitoli\n"
     "      come voci dell'indice della pagina, l'audio in Libro e gli stili e l'aiuto del libro di\n"
     "      prova in INCLUDE. Un errore nel libro DAISY si segnala con il file e la riga, e la CARTELLA\n"
     "      non resta scritta a metà. Codici di uscita: 0 convertito, 2 errore.\n",
     FromDaisy},
};

std::string Usage() {
  std::string text = "Uso: orvabook COMANDO ...\nStrumenti per chi prepara i libri di OrvaPlayer.\n\n";
  for (const Command& command : kCommands)
    text += "  orvabook " + std::string(command.usage) + "\n" + std::string(command.help) + "\n";
  text += "  orvabook --help\n      mostra questo aiuto\n";
  return text;
}

std::string Plural(std::size_t n, std::string_view one, std::string_view many) {
  return std::to_string(n) + " " + std::string(n == 1 ? one : many);
}

std::string Number(double value) {
  char buf[32];
  const auto end = std::to_chars(buf, buf + sizeof buf, std::round(value * 1000) / 1000).ptr;
  return std::string(buf, end);
}

std::string SecondsText(double seconds) {
  std::string text = Number(std::round(seconds * 10) / 10);
  for (char& c : text)
    if (c == '.') c = ',';
  return text + " s";
}

std::string HoursText(double seconds) {
  const long total = std::lround(seconds);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60, total % 60);
  return buf;
}

// One line on the terminal, rewritten as the check goes on; shown only once
// the check has taken more than a second, and wiped at the end.
class ProgressLine {
 public:
  explicit ProgressLine(std::ostream& err) : err_(err), start_(Clock::now()) {}
  ~ProgressLine() {
    if (width_ > 0) err_ << '\r' << std::string(width_, ' ') << '\r' << std::flush;
  }
  ProgressLine(const ProgressLine&) = delete;
  ProgressLine& operator=(const ProgressLine&) = delete;

  void Show(std::string_view step, std::size_t done, std::size_t total) {
    const Clock::time_point now = Clock::now();
    if (now - start_ < std::chrono::seconds(1) || now - shown_ < std::chrono::milliseconds(100)) return;
    shown_ = now;
    const std::string text =
        "orvabook: " + std::string(step) + " " + std::to_string(done + 1) + " di " + std::to_string(total);
    err_ << '\r' << text << std::string(width_ > text.size() ? width_ - text.size() : 0, ' ') << std::flush;
    width_ = std::max(width_, text.size());
  }

 private:
  using Clock = std::chrono::steady_clock;
  std::ostream& err_;
  Clock::time_point start_;
  Clock::time_point shown_;
  std::size_t width_ = 0;
};

std::string Where(const std::string& book, const std::string& page) {
  return page.empty() ? book : book + "/" + page;
}

void WriteText(const CheckResult& result, const std::string& book, bool durations, std::ostream& out) {
  for (const Finding& f : result.findings) {
    out << Where(book, f.page) << ": " << (f.severity == Severity::kError ? "errore" : "avviso") << ": "
        << (f.element.empty() ? "" : f.element + ": ") << f.message << "\n";
  }
  double total = 0;
  for (const AudioFile& file : result.audio) {
    total += file.seconds.value_or(0);
    if (durations && file.seconds)
      out << Where(book, file.file) << ": " << SecondsText(*file.seconds) << "\n";
  }
  out << "Controllate " << Plural(static_cast<std::size_t>(result.pages), "pagina", "pagine") << " e "
      << Plural(result.audio.size(), "file audio", "file audio")
      << (result.decoded ? " (durata totale " + HoursText(total) + ")" : " (audio non decodificato)") << ": ";
  const int errors = result.Count(Severity::kError);
  const int warnings = result.Count(Severity::kWarning);
  if (errors + warnings == 0)
    out << "nessun problema.\n";
  else
    out << Plural(static_cast<std::size_t>(errors), "errore", "errori") << ", "
        << Plural(static_cast<std::size_t>(warnings), "avviso", "avvisi") << ".\n";
}

void WriteJson(const CheckResult& result, const std::string& book, std::ostream& out) {
  out << "{\"book\":" << JsonQuote(book) << ",\"pages\":" << result.pages
      << ",\"decoded\":" << (result.decoded ? "true" : "false")
      << ",\"errors\":" << result.Count(Severity::kError)
      << ",\"warnings\":" << result.Count(Severity::kWarning) << ",\"findings\":[";
  const char* separator = "";
  for (const Finding& f : result.findings) {
    out << separator << "{\"severity\":" << (f.severity == Severity::kError ? "\"error\"" : "\"warning\"")
        << ",\"kind\":" << JsonQuote(f.kind) << ",\"page\":" << JsonQuote(f.page)
        << ",\"element\":" << JsonQuote(f.element) << ",\"message\":" << JsonQuote(f.message) << "}";
    separator = ",";
  }
  out << "],\"audio\":[";
  separator = "";
  for (const AudioFile& file : result.audio) {
    out << separator << "{\"file\":" << JsonQuote(file.file);
    if (file.seconds) out << ",\"seconds\":" << Number(*file.seconds);
    if (!file.error.empty()) out << ",\"error\":" << JsonQuote(file.error);
    out << "}";
    separator = ",";
  }
  out << "]}\n";
}

int Check(const std::vector<std::string>& args, OrvabookServices& services, std::ostream& out,
          std::ostream& err) {
  bool json = false;
  bool decode = true;
  bool durations = false;
  std::vector<std::string> books;
  for (const std::string& arg : args) {
    if (arg == "--json")
      json = true;
    else if (arg == "--no-audio")
      decode = false;
    else if (arg == "--durate")
      durations = true;
    else if (arg.size() > 1 && arg.front() == '-')
      return err << "orvabook check: opzione sconosciuta " << arg << "\n\n" << Usage(), 2;
    else
      books.push_back(arg);
  }
  if (books.size() != 1) return err << Usage(), 2;
  // The book's folder, or the folder of a page of it, as the player takes it.
  std::string shown = books.front();
  while (shown.size() > 1 && shown.back() == '/') shown.pop_back();
  std::error_code ec;
  fs::path folder = fs::absolute(shown, ec);
  if (!services.files.FolderExists(folder.string())) {
    if (!services.files.FileExists(folder.string()))
      return err << "orvabook check: " << shown << ": la cartella del libro non esiste\n", 2;
    folder = folder.parent_path();
    shown = fs::path(shown).parent_path().string();
    if (shown.empty()) shown = ".";
  }
  const fs::path canonical = fs::weakly_canonical(folder, ec);
  std::string book = (ec ? folder.lexically_normal() : canonical).string();
  while (book.size() > 1 && book.back() == '/') book.pop_back();

  std::unique_ptr<AudioDecoder> decoder;
  if (decode) {
    try {
      if (!services.decoder) throw std::runtime_error("non disponibile");
      decoder = services.decoder();
    } catch (const std::exception& e) {
      err << "orvabook check: il motore multimediale non parte (" << e.what()
          << "): l'audio non si può decodificare; --no-audio controlla il resto\n";
      return 2;
    }
  }
  std::unique_ptr<ProgressLine> progress;
  CheckOptions options;
  options.decoder = decoder.get();
  if (services.terminal) {
    progress = std::make_unique<ProgressLine>(err);
    options.progress = [&progress](std::string_view step, std::size_t done, std::size_t total) {
      progress->Show(step, done, total);
    };
  }
  const CheckResult result = CheckBook(services.files, services.html, book, options);
  progress.reset();
  if (json)
    WriteJson(result, shown, out);
  else
    WriteText(result, shown, durations, out);
  return result.ExitCode();
}

int FromDaisy(const std::vector<std::string>& args, OrvabookServices& services, std::ostream& out,
              std::ostream& err) {
  std::vector<std::string> paths;
  for (const std::string& arg : args) {
    if (arg.size() > 1 && arg.front() == '-')
      return err << "orvabook from-daisy: opzione sconosciuta " << arg << "\n\n" << Usage(), 2;
    paths.push_back(arg);
  }
  if (paths.size() != 2) return err << Usage(), 2;
  if (!services.documents) throw std::runtime_error("nessun lettore di documenti");
  // Before the book is read, which may take a while.
  CheckNewFolder(paths[1]);
  const ConvertedBook book = ConvertDaisyBook(ReadDaisyBook(paths[0], *services.documents));
  WriteBook(book, paths[1]);
  out << "Convertito in " << paths[1] << ": "
      << Plural(static_cast<std::size_t>(book.pages), "pagina", "pagine") << " e "
      << Plural(book.audio.size(), "file audio", "file audio") << ".\n";
  return 0;
}

}  // namespace

int RunOrvabook(const std::vector<std::string>& args, OrvabookServices& services, std::ostream& out,
                std::ostream& err) {
  if (args.empty()) return err << Usage(), 2;
  if (args[0] == "--help" || args[0] == "-h") return out << Usage(), 0;
  for (const Command& command : kCommands) {
    if (args[0] != command.name) continue;
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    for (const std::string& arg : rest)
      if (arg == "--help" || arg == "-h")
        return out << "Uso: orvabook " << command.usage << "\n" << command.help, 0;
    try {
      return command.run(rest, services, out, err);
    } catch (const std::exception& e) {
      err << "orvabook " << command.name << ": " << e.what() << "\n";
      return 2;
    }
  }
  err << "orvabook: comando sconosciuto " << args[0] << "\n\n" << Usage();
  return 2;
}

}  // namespace orva::orvabook
