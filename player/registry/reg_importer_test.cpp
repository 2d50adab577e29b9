#include "player/registry/reg_importer.h"

#include <gtest/gtest.h>

#include "common/settings/memory_registry.h"
#include "player/registry/reg_listing.h"
#include "player/registry/utf16.h"

namespace orva {
namespace {

// The tree under root as text: one line per key and per value.
void Dump(Registry& reg, RegHandle root, const std::string& path, std::string& out) {
  out += "[" + path + "]\n";
  for (const RegListedValue& v : ListRegValues(reg, root, path)) {
    out += "  " + v.name + " (" + std::to_string(v.type) + ") =";
    for (unsigned char c : v.raw) {
      char buf[4];
      std::snprintf(buf, sizeof buf, " %02x", c);
      out += buf;
    }
    out += "\n";
  }
  for (const std::string& name : ListRegSubkeys(reg, root, path))
    Dump(reg, root, path.empty() ? name : path + "\\" + name, out);
}

std::string Dump(Registry& reg, RegHandle root = kHkeyCurrentUser) {
  std::string out;
  Dump(reg, root, "", out);
  return out;
}

TEST(RegImporterTest, FollowsTheRegistryEditorsRules) {
  struct Case {
    const char* name;
    std::string body;  // after the "REGEDIT4" line
    std::string tree;
    std::size_t skippedLines = 0;
    const char* warning = nullptr;  // the value a warning must name
  };
  const Case cases[] = {
      {"key with its parents", "\r\n[HKEY_CURRENT_USER\\A\\B]\r\n", "[]\n[A]\n[A\\B]\n"},
      {"text with escapes", "[HKCU\\A]\r\n\"n\"=\"a\\\\b\\\"c\\x\"\r\n",
       "[]\n[A]\n  n (1) = 61 5c 62 22 63 5c 78 00\n"},
      {"default value", "[HKCU\\A]\r\n@=\"d\"\r\n", "[]\n[A]\n   (1) = 64 00\n"},
      {"dword of eight digits", "[HKCU\\A]\r\n\"n\"=DWORD:8000001A\r\n", "[]\n[A]\n  n (4) = 1a 00 00 80\n"},
      {"dword of nine digits", "[HKCU\\A]\r\n\"n\"=dword:000000001\r\n", "[]\n[A]\n", 1},
      {"hex(2) text from Windows-1252", "[HKCU\\A]\r\n\"e\"=hex(2):e8,00\r\n",
       "[]\n[A]\n  e (2) = c3 a8 00\n"},
      // Windows-1252 as the old program wrote it; UTF-8 without its mark as
      // an editor on Linux saves it.
      {"text in Windows-1252", "[HKCU\\A]\r\n\"e\"=\"\xE8\"\r\n", "[]\n[A]\n  e (1) = c3 a8 00\n"},
      {"text in UTF-8 without its mark", "[HKCU\\A]\r\n\"e\"=\"\xC3\xA8\"\r\n",
       "[]\n[A]\n  e (1) = c3 a8 00\n"},
      {"bad hex byte", "[HKCU\\A]\r\n\"b\"=hex:01,0g\r\n", "[]\n[A]\n", 1},
      {"bad hex(n) type", "[HKCU\\A]\r\n\"b\"=hex(zz):01\r\n", "[]\n[A]\n", 1},
      {"unknown value data", "[HKCU\\A]\r\n\"b\"=qword:01\r\n", "[]\n[A]\n", 1},
      {"value deleted", "[HKCU\\A]\r\n\"n\"=\"1\"\r\n\"m\"=\"2\"\r\n\"N\"=-\r\n",
       "[]\n[A]\n  m (1) = 32 00\n"},
      {"key subtree deleted", "[HKCU\\A\\B\\C]\r\n[HKCU\\A\\D]\r\n[-HKEY_CURRENT_USER\\A\\B]\r\n",
       "[]\n[A]\n[A\\D]\n"},
      {"comments and blank lines", "; a\r\n# b\r\n\r\n  \r\n[HKCU\\A]\r\n  ;\"x\"=\"1\"\r\n", "[]\n[A]\n"},
      {"LF line ends", "[HKCU\\A]\n\"n\"=\"1\"\n", "[]\n[A]\n  n (1) = 31 00\n"},
      {"CR line ends", "[HKCU\\A]\r\"n\"=\"1\"\r", "[]\n[A]\n  n (1) = 31 00\n"},
      {"unknown root", "[HKEY_NOWHERE\\A]\r\n\"n\"=\"1\"\r\n", "[]\n", 2},
      {"value before any key", "\"n\"=\"1\"\r\n[HKCU\\A]\r\n", "[]\n[A]\n", 1},
      {"unterminated text", "[HKCU\\A]\r\n\"n\"=\"1\r\n\"m\"=\"2\"\r\n", "[]\n[A]\n  m (1) = 32 00\n", 1},
      {"stray text", "[HKCU\\A]\r\nhello\r\n", "[]\n[A]\n", 1},
      {"key line without bracket", "[HKCU\\A\r\n", "[]\n", 1},
      {"empty name inside a key", "[HKCU\\A\\\\B]\r\n", "[]\n", 1},
      {"root cannot be deleted", "[-HKCU]\r\n", "[]\n", 1},
      {"comments after the data, not between quotes; blanks after dword:",
       "[HKCU\\A]\r\n\"n\"=\"a;b\" ;c\r\n\"d\"=dword: \t1;c\r\n\"h\"=hex:01 ;c\r\n",
       "[]\n[A]\n  n (1) = 61 3b 62 00\n  d (4) = 01 00 00 00\n  h (3) = 01\n"},
      {"blank and comment lines inside hex data", "[HKCU\\A]\r\n\"b\"=hex:01,\\ ;c\r\n\r\n; x\r\n  02\r\n",
       "[]\n[A]\n  b (3) = 01 02\n"},
      {"hex data cut by a value line", "[HKCU\\A]\r\n\"b\"=hex:01,\\\r\n\r\n\"n\"=\"1\"\r\n",
       "[]\n[A]\n  n (1) = 31 00\n", 1, "\"b\""},
      {"hex data going on without its \\", "[HKCU\\A]\r\n\"b\"=hex:01,\r\n  02\r\n", "[]\n[A]\n", 2, "\"b\""},
      {"\\ without a comma before it", "[HKCU\\A]\r\n\"b\"=hex:01,0\\\r\n  2\r\n", "[]\n[A]\n", 1, "\"b\""},
      {"hex(2) and hex(7) get their closing zeros",
       "[HKCU\\A]\r\n\"e\"=hex(2):61\r\n\"m\"=hex(7):61,00,62\r\n",
       "[]\n[A]\n  e (2) = 61 00\n  m (7) = 61 00 62 00 00\n"},
      {"text older players wrote unescaped", "[HKCU\\A]\r\n\"n\"=\"a\"b\"\r\n\"p\"=\"c\\\"\r\n",
       "[]\n[A]\n  n (1) = 61 22 62 00\n  p (1) = 63 5c 00\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryRegistry reg;
    const RegImportSummary s = ImportRegText(reg, "REGEDIT4\r\n" + c.body);
    EXPECT_FALSE(s.refused);
    EXPECT_EQ(Dump(reg), c.tree);
    EXPECT_EQ(s.skippedLines, c.skippedLines);
    EXPECT_EQ(s.warnings.size(), c.skippedLines);
    if (c.warning) {
      EXPECT_NE(DescribeImport(s).find(c.warning), std::string::npos) << DescribeImport(s);
    }
    EXPECT_EQ(reg.OpenHandleCount(), 0u);
  }
}

TEST(RegImporterTest, AnyOtherHeaderRefusesTheWholeFile) {
  const std::string body = "\r\n[HKCU\\A]\r\n\"n\"=\"1\"\r\n";
  struct Case {
    const char* name;
    std::string bytes;
    bool refused;
  };
  const Case cases[] = {
      {"version 5 in 8 bits", "Windows Registry Editor Version 5.00" + body, false},
      {"version 5 in UTF-16", "\xFF\xFE" + Utf8ToUtf16Le("Windows Registry Editor Version 5.00" + body),
       false},
      {"REGEDIT4 in UTF-16", "\xFF\xFE" + Utf8ToUtf16Le("REGEDIT4" + body), true},
      {"blanks before the header", " \tREGEDIT4" + body, false},
      {"no header", body, true},
      {"empty file", "", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryRegistry reg;
    const RegImportSummary s = ImportRegText(reg, c.bytes);
    EXPECT_EQ(s.refused, c.refused);
    EXPECT_EQ(Dump(reg) == "[]\n", c.refused);
  }
}

}  // namespace
}  // namespace orva
