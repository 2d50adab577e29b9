#include "common/runtime/locale_settings.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

namespace orva {
namespace {

class MapEnvironment final : public Environment {
 public:
  explicit MapEnvironment(std::map<std::string, std::string> values) : values_(std::move(values)) {}
  std::optional<std::string> Get(const std::string& name) const override {
    const auto it = values_.find(name);
    if (it == values_.end()) return std::nullopt;
    return it->second;
  }

 private:
  std::map<std::string, std::string> values_;
};

constexpr NumberFormat kPoint{'.', ','};
constexpr NumberFormat kItalian{',', '.'};

struct LocaleCase {
  const char* name;
  std::map<std::string, std::string> variables;
  NumberFormat expected;
};

const LocaleCase kLocaleCases[] = {
    {"italian_lang", {{"LANG", "it_IT.UTF-8"}}, kItalian},
    {"english_lang", {{"LANG", "en_US.UTF-8"}}, kPoint},
    {"nothing_set", {}, kPoint},
    {"c_locale", {{"LANG", "C"}}, kPoint},
    {"posix_locale", {{"LANG", "POSIX"}}, kPoint},
    {"c_utf8", {{"LANG", "C.UTF-8"}}, kPoint},
    {"unknown_language", {{"LANG", "xx_YY"}}, kPoint},
    {"language_only", {{"LANG", "de"}}, kItalian},
    {"modifier", {{"LANG", "it_IT@euro"}}, kItalian},
    {"german", {{"LANG", "de_DE.UTF-8"}}, kItalian},
    {"brazilian", {{"LANG", "pt_BR.UTF-8"}}, kItalian},
    {"swiss_italian_uses_point", {{"LANG", "it_CH.UTF-8"}}, NumberFormat{'.', '\''}},
    {"mexican_spanish_uses_point", {{"LANG", "es_MX.UTF-8"}}, kPoint},
    {"french_groups_with_blank", {{"LANG", "fr_FR.UTF-8"}}, NumberFormat{',', '\0'}},
    {"lc_numeric_beats_lang", {{"LANG", "en_US.UTF-8"}, {"LC_NUMERIC", "it_IT.UTF-8"}}, kItalian},
    {"lc_all_beats_lc_numeric",
     {{"LANG", "it_IT.UTF-8"}, {"LC_NUMERIC", "it_IT.UTF-8"}, {"LC_ALL", "en_GB.UTF-8"}},
     kPoint},
    {"empty_lc_all_is_unset", {{"LC_ALL", ""}, {"LANG", "it_IT.UTF-8"}}, kItalian},
    {"other_categories_ignored", {{"LC_MONETARY", "it_IT.UTF-8"}, {"LANG", "en_US"}}, kPoint},
};

TEST(LocaleSettingsTest, FormatFromEnvironment) {
  for (const auto& c : kLocaleCases) {
    SCOPED_TRACE(c.name);
    const NumberFormat format = NumberFormatFromEnvironment(MapEnvironment(c.variables));
    EXPECT_EQ(format.decimal, c.expected.decimal);
    EXPECT_EQ(format.thousands, c.expected.thousands);
  }
}

TEST(LocaleSettingsTest, ScopedOverrideRestoresPreviousFormat) {
  const NumberFormat before = CurrentNumberFormat();
  {
    ScopedNumberFormat italian(kItalian);
    EXPECT_EQ(CurrentNumberFormat(), kItalian);
    {
      ScopedNumberFormat point(kPoint);
      EXPECT_EQ(CurrentNumberFormat(), kPoint);
    }
    EXPECT_EQ(CurrentNumberFormat(), kItalian);
  }
  EXPECT_EQ(CurrentNumberFormat(), before);
}

}  // namespace
}  // namespace orva
