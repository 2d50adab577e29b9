#include "common/runtime/locale_settings.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "fakes/fake_environment.h"

namespace orva {
namespace {

constexpr NumberFormat kPoint{'.', ','};
constexpr NumberFormat kItalian{',', '.'};

TEST(LocaleSettingsTest, FormatFromEnvironment) {
  const struct {
    const char* name;
    std::map<std::string, std::string> variables;
    NumberFormat expected;
  } cases[] = {
      {"italian_lang", {{"LANG", "it_IT.UTF-8"}}, kItalian},
      {"nothing_set", {}, kPoint},
      {"c_utf8", {{"LANG", "C.UTF-8"}}, kPoint},
      {"unknown_language", {{"LANG", "xx_YY"}}, kPoint},
      {"language_only", {{"LANG", "de"}}, kItalian},
      {"modifier", {{"LANG", "it_IT@euro"}}, kItalian},
      {"swiss_italian_uses_point", {{"LANG", "it_CH.UTF-8"}}, NumberFormat{'.', '\''}},
      {"mexican_spanish_uses_point", {{"LANG", "es_MX.UTF-8"}}, kPoint},
      {"french_groups_with_blank", {{"LANG", "fr_FR.UTF-8"}}, NumberFormat{',', '\0'}},
      {"lc_numeric_beats_lang", {{"LANG", "en_US.UTF-8"}, {"LC_NUMERIC", "it_IT.UTF-8"}}, kItalian},
      {"lc_all_beats_lc_numeric", {{"LC_NUMERIC", "it_IT.UTF-8"}, {"LC_ALL", "en_GB.UTF-8"}}, kPoint},
      {"empty_lc_all_is_unset", {{"LC_ALL", ""}, {"LANG", "it_IT.UTF-8"}}, kItalian},
      {"other_categories_ignored", {{"LC_MONETARY", "it_IT.UTF-8"}, {"LANG", "en_US"}}, kPoint},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(NumberFormatFromEnvironment(fakes::FakeEnvironment(c.variables)), c.expected);
  }
}

}  // namespace
}  // namespace orva
