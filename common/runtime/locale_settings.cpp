#include "common/runtime/locale_settings.h"

#include <array>
#include <cstdlib>
#include <optional>
#include <string>

namespace orva {

namespace {

struct LocaleFormat {
  std::string_view locale;  // a language ("it") or a language and territory ("de_CH")
  NumberFormat format;
};

constexpr NumberFormat kDotComma{'.', ','};
constexpr NumberFormat kCommaDot{',', '.'};
constexpr NumberFormat kCommaBlank{',', '\0'};
constexpr NumberFormat kDotApostrophe{'.', '\''};

// Territories that differ from their language come first: a language and
// territory entry wins over the language alone. Languages not listed write
// numbers with a decimal point.
constexpr std::array kLocaleFormats = {
    LocaleFormat{"de_CH", kDotApostrophe}, LocaleFormat{"de_LI", kDotApostrophe},
    LocaleFormat{"it_CH", kDotApostrophe}, LocaleFormat{"fr_CH", kDotApostrophe},
    LocaleFormat{"es_MX", kDotComma},      LocaleFormat{"es_US", kDotComma},
    LocaleFormat{"es_PR", kDotComma},      LocaleFormat{"es_DO", kDotComma},
    LocaleFormat{"es_GT", kDotComma},      LocaleFormat{"es_HN", kDotComma},
    LocaleFormat{"es_NI", kDotComma},      LocaleFormat{"es_PA", kDotComma},
    LocaleFormat{"es_SV", kDotComma},      LocaleFormat{"it", kCommaDot},
    LocaleFormat{"de", kCommaDot},         LocaleFormat{"es", kCommaDot},
    LocaleFormat{"pt", kCommaDot},         LocaleFormat{"nl", kCommaDot},
    LocaleFormat{"da", kCommaDot},         LocaleFormat{"id", kCommaDot},
    LocaleFormat{"tr", kCommaDot},         LocaleFormat{"el", kCommaDot},
    LocaleFormat{"ro", kCommaDot},         LocaleFormat{"hr", kCommaDot},
    LocaleFormat{"sl", kCommaDot},         LocaleFormat{"sr", kCommaDot},
    LocaleFormat{"bs", kCommaDot},         LocaleFormat{"ca", kCommaDot},
    LocaleFormat{"gl", kCommaDot},         LocaleFormat{"eu", kCommaDot},
    LocaleFormat{"is", kCommaDot},         LocaleFormat{"vi", kCommaDot},
    LocaleFormat{"fr", kCommaBlank},       LocaleFormat{"sv", kCommaBlank},
    LocaleFormat{"fi", kCommaBlank},       LocaleFormat{"nb", kCommaBlank},
    LocaleFormat{"nn", kCommaBlank},       LocaleFormat{"no", kCommaBlank},
    LocaleFormat{"pl", kCommaBlank},       LocaleFormat{"cs", kCommaBlank},
    LocaleFormat{"sk", kCommaBlank},       LocaleFormat{"hu", kCommaBlank},
    LocaleFormat{"bg", kCommaBlank},       LocaleFormat{"ru", kCommaBlank},
    LocaleFormat{"uk", kCommaBlank},       LocaleFormat{"be", kCommaBlank},
    LocaleFormat{"et", kCommaBlank},       LocaleFormat{"lv", kCommaBlank},
    LocaleFormat{"lt", kCommaBlank},       LocaleFormat{"kk", kCommaBlank},
};

std::optional<NumberFormat> Lookup(std::string_view locale) {
  for (const auto& entry : kLocaleFormats) {
    if (entry.locale == locale) return entry.format;
  }
  return std::nullopt;
}

class ProcessEnvironment final : public Environment {
 public:
  std::optional<std::string> Get(const std::string& name) const override {
    const char* value = std::getenv(name.c_str());
    if (!value) return std::nullopt;
    return std::string(value);
  }
};

NumberFormat& ProcessFormat() {
  static NumberFormat format = NumberFormatFromEnvironment(ProcessEnvironment{});
  return format;
}

}  // namespace

NumberFormat NumberFormatFromLocaleName(std::string_view name) {
  // language[_territory][.codeset][@modifier]
  const std::size_t end = name.find_first_of(".@");
  const std::string_view base = name.substr(0, end);
  const std::size_t underscore = base.find('_');
  if (auto format = Lookup(base)) return *format;
  if (underscore != std::string_view::npos) {
    if (auto format = Lookup(base.substr(0, underscore))) return *format;
  }
  return kDotComma;
}

NumberFormat NumberFormatFromEnvironment(const Environment& environment) {
  for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
    const auto value = environment.Get(variable);
    if (value && !value->empty()) return NumberFormatFromLocaleName(*value);
  }
  return kDotComma;
}

const NumberFormat& CurrentNumberFormat() { return ProcessFormat(); }

void SetNumberFormat(NumberFormat format) { ProcessFormat() = format; }

ScopedNumberFormat::ScopedNumberFormat(NumberFormat format) : previous_(CurrentNumberFormat()) {
  SetNumberFormat(format);
}

ScopedNumberFormat::~ScopedNumberFormat() { SetNumberFormat(previous_); }

}  // namespace orva
