#include "launcher/fileini.h"

#include <gtest/gtest.h>

#include "fakes/memory_file_system.h"

namespace orva::smart {
namespace {

TEST(LeggiIni, ReadsOneValue) {
  fakes::MemoryFileSystem fs;
  fs.AddFile("/cd/smart.ini",
             "[nuovo]\r\n"
             "desc=OrvaPlayer 2\r\n"
             "file = ./setup.sh --quiet \r\n"
             "vuoto=\r\n"
             "lungo=" +
                 std::string(300, 'x') +
                 "\r\n"
                 "[Vecchi]\r\n"
                 "invoice=2\r\n");
  struct Case {
    const char* name;
    const char* section;
    const char* key;
    std::string path;
    std::string expected;
  } cases[] = {
      {"present", "nuovo", "desc", "/cd/smart.ini", "OrvaPlayer 2"},
      {"trimmed", "nuovo", "file", "/cd/smart.ini", "./setup.sh --quiet"},
      {"names_in_any_case", "VECCHI", "Invoice", "/cd/smart.ini", "2"},
      {"present_but_empty", "nuovo", "vuoto", "/cd/smart.ini", ""},
      {"cut_to_255", "nuovo", "lungo", "/cd/smart.ini", std::string(255, 'x')},
      {"key_absent", "nuovo", "versione", "/cd/smart.ini", ""},
      {"key_of_other_section", "vecchi", "desc", "/cd/smart.ini", ""},
      {"section_absent", "installation", "versione", "/cd/smart.ini", ""},
      {"file_absent", "nuovo", "desc", "/cd/missing.ini", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(LeggiIni(fs, c.section, c.key, c.path), c.expected);
  }
}

}  // namespace
}  // namespace orva::smart
