#include "common/automation/program_options.h"

#include <sstream>

#include "common/automation/script.h"

namespace orva {
namespace {

// Adds `flag` unless the flags already hold it as a whole word.
void AddFlag(std::string& flags, const std::string& flag) {
  std::istringstream words(flags);
  for (std::string word; words >> word;)
    if (word == flag) return;
  if (!flags.empty()) flags += ' ';
  flags += flag;
}

}  // namespace

ProgramOptions ParseProgramOptions(const ProgramSpec& spec, const std::vector<std::string>& args) {
  ProgramOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--help" || arg == "-h") {
      options.help = true;
      continue;
    }
    if (arg.empty() || arg.front() != '-') {
      if (!spec.takesBook) throw UsageError("unexpected argument \"" + arg + "\"");
      if (arg.empty()) throw UsageError("the book's path is empty");
      if (!options.bookDir.empty()) throw UsageError("only one book can be opened, not also \"" + arg + "\"");
      options.bookDir = arg;
      continue;
    }
    std::string name = arg;
    std::string value;
    bool hasValue = false;
    if (const std::size_t eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
      name = arg.substr(0, eq);
      value = arg.substr(eq + 1);
      hasValue = true;
    }
    std::string* target = nullptr;
    if (name == "--trace")
      target = &options.traceFile;
    else if (name == "--script")
      target = &options.scriptFile;
    else if (name == "--book" && spec.takesBook)
      target = &options.bookDir;
    else if (name == "--audio" && spec.takesBook)
      target = &options.audio;
    if (!target) throw UsageError("unknown option \"" + arg + "\"");
    if (!hasValue) {
      if (i + 1 == args.size()) throw UsageError(name + " needs a value");
      value = args[++i];
    }
    if (value.empty()) throw UsageError(name + " needs a value");
    if (!target->empty())
      throw UsageError(target == &options.bookDir ? "only one book can be opened, not also \"" + value + "\""
                                                  : name + " is given twice");
    if (target == &options.audio && value != "device" && value != "null" && value != "fast")
      throw UsageError("--audio takes device, null or fast, not \"" + value + "\"");
    *target = value;
  }
  return options;
}

std::string ProgramUsage(const ProgramSpec& spec, const ScriptActions& actions) {
  std::ostringstream out;
  out << "Usage: " << spec.name << " [--help] [--trace FILE] [--script FILE]"
      << (spec.takesBook ? " [--book PATH] [--audio device|null|fast] [PATH]" : "") << "\n\n"
      << spec.summary << "\n\n"
      << "Options:\n"
      << "  --help         show this text and exit\n"
      << "  --trace FILE   write what the program shows and does to FILE, one JSON object a line (\"-\": "
         "standard output)\n"
      << "  --script FILE  play the timed actions and dialog answers of FILE; the program ends with it\n";
  if (spec.takesBook) {
    out << "  --book PATH    read the book at PATH instead of the one beside the program: its folder, or\n"
        << "                 one of its pages (the page's folder is the book); PATH alone does the same\n"
        << "  --audio MODE   device (default): play aloud; null: play in real time without sound;\n"
        << "                 fast: without sound and as fast as the audio can be decoded\n";
  }
  out << "\nQt's own options (-platform NAME, -style NAME, ...) are passed to Qt.\n";
  out << "\nScript actions (one a line; \"#\" starts a comment):\n";
  for (const std::string& usage : actions.Usages()) out << "  " << usage << '\n';
  out << "\nWith QT_QPA_PLATFORM=offscreen the program runs without a display; dialogs that the script\n"
         "does not answer then take their first button.\n";
  return out.str();
}

BrowserProcessSettings BrowserSettingsFor(bool runningAsRoot, bool hasGpu, const std::string& currentFlags) {
  BrowserProcessSettings settings;
  settings.chromiumFlags = currentFlags;
  if (runningAsRoot) {
    settings.disableSandbox = true;
    AddFlag(settings.chromiumFlags, "--no-sandbox");
  }
  if (!hasGpu) AddFlag(settings.chromiumFlags, "--disable-gpu");
  return settings;
}

}  // namespace orva
