#include "tools/orvareg/orvareg.h"

#include <algorithm>
#include <cstdint>
#include <optional>

#include "common/platform/file_system.h"
#include "common/runtime/codepage.h"
#include "common/runtime/text.h"
#include "common/settings/registry.h"
#include "player/registry/hive_reader.h"
#include "player/registry/hive_restore.h"
#include "player/registry/reg_importer.h"
#include "player/registry/reg_listing.h"
#include "player/registry/reg_text_writer.h"

namespace orva {
namespace {

struct KeyArg {
  RegHandle root = 0;
  std::string path;
};

std::optional<KeyArg> ParseKey(std::string_view text) {
  const std::size_t sep = text.find('\\');
  KeyArg key;
  key.root = RootFromName(text.substr(0, sep));
  if (!key.root) return std::nullopt;
  if (sep != std::string_view::npos) key.path = std::string(text.substr(sep + 1));
  while (!key.path.empty() && key.path.back() == '\\') key.path.pop_back();
  return key;
}

std::string KeyName(const KeyArg& key) {
  std::string name(RootName(key.root));
  if (!key.path.empty()) name += "\\" + key.path;
  return name;
}

bool KeyExists(Registry& registry, const KeyArg& key) {
  if (key.path.empty()) return true;
  RegHandle h = 0;
  if (registry.OpenKey(key.root, key.path, kKeyRead, &h) != kErrorSuccess) return false;
  registry.CloseKey(h);
  return true;
}

std::string DisplayLine(const RegListedValue& v) {
  const bool latin = FitsCp1252(v.raw);
  return FormatRegValueLine(v, latin ? RegTextFormat::kRegedit4 : RegTextFormat::kVersion5);
}

std::optional<std::uint32_t> ParseType(std::string_view t) {
  struct Named {
    std::string_view name;
    std::uint32_t type;
  };
  static constexpr Named kTypes[] = {
      {"REG_SZ", kRegSz},       {"REG_EXPAND_SZ", kRegExpandSz}, {"REG_BINARY", kRegBinary},
      {"REG_DWORD", kRegDword}, {"REG_MULTI_SZ", kRegMultiSz},   {"REG_NONE", kRegNone}};
  for (const Named& n : kTypes)
    if (AsciiEqualsNoCase(t, n.name)) return n.type;
  return std::nullopt;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The bytes a `set` stores for DATA of the given type.
std::optional<std::string> ParseData(std::uint32_t type, std::string_view data) {
  std::string bytes;
  switch (type) {
    case kRegSz:
    case kRegExpandSz: return std::string(data) + '\0';
    case kRegMultiSz: {
      // Strings separated by "\0", as the registry tools write them.
      for (std::size_t start = 0;;) {
        const std::size_t sep = data.find("\\0", start);
        bytes.append(data.substr(start, sep == std::string_view::npos ? data.npos : sep - start));
        bytes += '\0';
        if (sep == std::string_view::npos) break;
        start = sep + 2;
      }
      return bytes + '\0';
    }
    case kRegDword: {
      // Decimal, or hexadecimal after 0x.
      std::uint64_t n = 0;
      const bool hex = data.size() > 2 && data[0] == '0' && (data[1] == 'x' || data[1] == 'X');
      const std::string_view digits = hex ? data.substr(2) : data;
      if (digits.empty()) return std::nullopt;
      for (char c : digits) {
        const int d = hex ? HexDigit(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
        if (d < 0) return std::nullopt;
        n = n * (hex ? 16 : 10) + static_cast<std::uint64_t>(d);
        if (n > 0xFFFFFFFFull) return std::nullopt;
      }
      for (int i = 0; i < 4; ++i) bytes += static_cast<char>((n >> (8 * i)) & 0xFF);
      return bytes;
    }
    default: {
      // Hex digit pairs, optionally separated by commas.
      std::string digits;
      for (char c : data)
        if (c != ',' && c != ' ') digits += c;
      if (digits.size() % 2 != 0) return std::nullopt;
      for (std::size_t i = 0; i < digits.size(); i += 2) {
        const int hi = HexDigit(digits[i]), lo = HexDigit(digits[i + 1]);
        if (hi < 0 || lo < 0) return std::nullopt;
        bytes += static_cast<char>(hi * 16 + lo);
      }
      return bytes;
    }
  }
}

class Command {
 public:
  Command(Registry& registry, FileSystem& fs, HiveReader* hives, std::ostream& out, std::ostream& err)
      : registry_(registry), fs_(fs), hives_(hives), out_(out), err_(err) {}

  int Refuse(const std::string& message) {
    err_ << "orvareg: " << message << "\n";
    return kOrvaregRefused;
  }

  int Import(const std::string& file, bool silent) {
    std::string bytes;
    try {
      bytes = fs_.ReadText(file);
    } catch (const std::exception& e) {
      return Refuse("impossibile leggere " + file + ": " + e.what());
    }
    const RegImportSummary s = ImportRegText(registry_, bytes);
    registry_.Commit();
    for (const RegImportWarning& w : s.warnings)
      err_ << file << ": riga " << w.line << ": " << w.message << "\n";
    if (s.refused) return kOrvaregRefused;
    if (!silent)
      out_ << DescribeImport(RegImportSummary{false,
                                              s.format,
                                              s.keys,
                                              s.keysDeleted,
                                              s.values,
                                              s.valuesDeleted,
                                              s.skippedLines,
                                              s.skippedBlocks,
                                              {}});
    return s.Complete() ? kOrvaregOk : kOrvaregPartly;
  }

  int Export(const KeyArg& key, const std::string& file) {
    if (!KeyExists(registry_, key)) return Refuse("chiave inesistente: " + KeyName(key));
    const RegTextOutput text = BuildRegText(registry_, key.root, key.path, true, nullptr);
    try {
      fs_.WriteText(file, text.bytes);
    } catch (const std::exception& e) {
      return Refuse("impossibile scrivere " + file + ": " + e.what());
    }
    out_ << "Esportate " << text.keys << " chiavi e " << text.values << " valori in " << file << " ("
         << (text.format == RegTextFormat::kVersion5 ? "versione 5, UTF-16" : "REGEDIT4") << ")\n";
    return kOrvaregOk;
  }

  int Restore(const KeyArg& key, const std::string& file);

  int Query(const KeyArg& key, const std::string* name) {
    if (!KeyExists(registry_, key)) return Refuse("chiave inesistente: " + KeyName(key));
    const std::vector<RegListedValue> values = ListRegValues(registry_, key.root, key.path);
    if (name) {
      const std::string wanted = *name == "@" ? std::string() : *name;
      for (const RegListedValue& v : values) {
        if (AsciiEqualsNoCase(v.name, wanted)) {
          out_ << DisplayLine(v) << "\n";
          return kOrvaregOk;
        }
      }
      return Refuse("valore inesistente: " + *name);
    }
    out_ << "[" << KeyName(key) << "]\n";
    for (const RegListedValue& v : values) out_ << DisplayLine(v) << "\n";
    for (const std::string& sub : ListRegSubkeys(registry_, key.root, key.path))
      out_ << "[" << KeyName(key) << "\\" << sub << "]\n";
    return kOrvaregOk;
  }

  int Set(const KeyArg& key, const std::string& name, const std::string& typeText, const std::string& data) {
    const auto type = ParseType(typeText);
    if (!type) return Refuse("tipo sconosciuto: " + typeText);
    const auto bytes = ParseData(*type, data);
    if (!bytes) return Refuse("dato non valido per " + typeText + ": " + data);
    RegHandle h = 0;
    RegStatus rc = registry_.CreateKey(key.root, key.path, &h);
    if (rc != kErrorSuccess)
      return Refuse("chiave rifiutata dal registro (codice " + std::to_string(rc) + ")");
    rc = registry_.SetValue(h, name == "@" ? std::string_view() : std::string_view(name), *type,
                            reinterpret_cast<const std::uint8_t*>(bytes->data()),
                            static_cast<std::uint32_t>(bytes->size()));
    registry_.CloseKey(h);
    registry_.Commit();
    if (rc != kErrorSuccess)
      return Refuse("valore rifiutato dal registro (codice " + std::to_string(rc) + ")");
    return kOrvaregOk;
  }

  int Delete(const KeyArg& key, const std::string* name) {
    RegStatus rc;
    if (name) {
      RegHandle h = 0;
      rc = registry_.OpenKey(key.root, key.path, kKeyAllAccess, &h);
      if (rc == kErrorSuccess) {
        rc = registry_.DeleteValue(h, *name == "@" ? std::string_view() : std::string_view(*name));
        registry_.CloseKey(h);
      }
    } else {
      if (key.path.empty()) return Refuse("una radice del registro non si può cancellare");
      rc = registry_.DeleteTree(key.root, key.path);
    }
    registry_.Commit();
    if (rc == kErrorFileNotFound)
      return Refuse(name ? "valore inesistente: " + *name : "chiave inesistente: " + KeyName(key));
    if (rc != kErrorSuccess)
      return Refuse("cancellazione rifiutata dal registro (codice " + std::to_string(rc) + ")");
    return kOrvaregOk;
  }

 private:
  Registry& registry_;
  FileSystem& fs_;
  HiveReader* hives_;
  std::ostream& out_;
  std::ostream& err_;
};

int Command::Restore(const KeyArg& key, const std::string& file) {
  if (!hives_) return Refuse("lettura dei file hive non disponibile");
  HiveKey tree;
  std::string error;
  if (!hives_->ReadHive(file, &tree, &error)) return Refuse(error);
  const bool ok = RestoreHiveTree(registry_, key.root, key.path, tree, &error);
  registry_.Commit();
  if (!ok) return Refuse(error);
  out_ << "Ripristinata " << KeyName(key) << " da " << file << "\n";
  return kOrvaregOk;
}

}  // namespace

std::string OrvaregUsage() {
  return "Uso: orvareg COMANDO ...\n"
         "Editor del registro delle impostazioni di OrvaPlayer.\n"
         "\n"
         "  orvareg import FILE            importa un file di registro (REGEDIT4 o versione 5)\n"
         "  orvareg /s FILE                come import, senza riepilogo\n"
         "  orvareg export CHIAVE FILE     esporta la chiave con le sottochiavi in un file di registro\n"
         "  orvareg restore CHIAVE HIVE    sostituisce il contenuto della chiave con quello di un file hive\n"
         "  orvareg query CHIAVE [NOME]    mostra i valori e le sottochiavi della chiave, o un valore\n"
         "  orvareg set CHIAVE NOME TIPO DATO\n"
         "                                 scrive un valore; TIPO: REG_SZ, REG_EXPAND_SZ, REG_MULTI_SZ\n"
         "                                 (stringhe separate da \\0), REG_DWORD (decimale o 0x...),\n"
         "                                 REG_BINARY o REG_NONE (byte esadecimali, es. 0A,FF)\n"
         "  orvareg delete CHIAVE [NOME]   cancella la chiave con tutto il suo contenuto, o un valore\n"
         "  orvareg --help                 mostra questo aiuto\n"
         "\n"
         "CHIAVE comincia con la radice: HKEY_CURRENT_USER\\Software\\... (o HKCU\\..., HKLM\\...).\n"
         "NOME @ indica il valore predefinito della chiave.\n"
         "\n"
         "Codici di uscita: 0 riuscito, 1 applicato in parte (righe ignorate), 2 rifiutato.\n";
}

int RunOrvareg(const std::vector<std::string>& args, Registry& registry, FileSystem& fs, HiveReader* hives,
               std::ostream& out, std::ostream& err) {
  Command command(registry, fs, hives, out, err);
  if (args.empty()) {
    err << OrvaregUsage();
    return kOrvaregRefused;
  }
  const std::string& verb = args[0];
  if (verb == "--help" || verb == "-h" || verb == "/?") {
    out << OrvaregUsage();
    return kOrvaregOk;
  }
  auto wrongUse = [&] {
    err << OrvaregUsage();
    return kOrvaregRefused;
  };
  auto key = [&](std::size_t i) { return ParseKey(args[i]); };
  const std::size_t n = args.size();
  if ((verb == "import" || verb == "/s" || verb == "/S") && n == 2)
    return command.Import(args[1], verb != "import");
  if (verb != "export" && verb != "restore" && verb != "query" && verb != "set" && verb != "delete")
    return wrongUse();
  if (n < 2) return wrongUse();
  const std::optional<KeyArg> k = key(1);
  if (!k) return command.Refuse("chiave non valida (manca la radice): " + args[1]);
  if (verb == "export" && n == 3) return command.Export(*k, args[2]);
  if (verb == "restore" && n == 3) return command.Restore(*k, args[2]);
  if (verb == "query" && (n == 2 || n == 3)) return command.Query(*k, n == 3 ? &args[2] : nullptr);
  if (verb == "set" && n == 5) return command.Set(*k, args[2], args[3], args[4]);
  if (verb == "delete" && (n == 2 || n == 3)) return command.Delete(*k, n == 3 ? &args[2] : nullptr);
  return wrongUse();
}

}  // namespace orva
