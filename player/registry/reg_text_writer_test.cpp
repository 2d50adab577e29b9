#include "player/registry/reg_text_writer.h"

#include <gtest/gtest.h>

#include "common/settings/memory_registry.h"
#include "player/registry/reg_importer.h"
#include "player/registry/utf16.h"

namespace orva {
namespace {

void Put(MemoryRegistry& reg, std::string_view path, std::string_view name, std::uint32_t type,
         std::string_view data) {
  reg.LoadValue(kHkeyCurrentUser, path, name, type, data);
}

std::string Sz(std::string_view text) { return std::string(text) + '\0'; }

TEST(RegTextWriterTest, ValueLines) {
  struct Case {
    const char* name;
    std::string valueName;
    std::uint32_t type;
    std::string data;
    std::string line;
  };
  const Case cases[] = {
      {"drive path doubled", "p", kRegSz, Sz("C:\\LIBRI\\A"), "\"p\"=\"C:\\\\LIBRI\\\\A\""},
      {"comma drive doubled", "p", kRegSz, Sz(",:\\X"), "\"p\"=\",:\\\\X\""},
      {"plain backslash kept", "p", kRegSz, Sz("LIBRO\\A"), "\"p\"=\"LIBRO\\A\""},
      {"quote escaped", "p", kRegSz, Sz("il \"Gattopardo\""), "\"p\"=\"il \\\"Gattopardo\\\"\""},
      {"trailing backslash doubled", "p", kRegSz, Sz("cartella\\"), "\"p\"=\"cartella\\\\\""},
      {"default value", "", kRegSz, Sz("d"), "@=\"d\""},
      {"dword", "n", kRegDword, std::string("\x1A\0\0\0", 4), "\"n\"=dword:0000001A"},
      {"binary", "b", kRegBinary, std::string("\x0A\xFF", 2), "\"b\"=hex:0A,FF"},
      {"other kind kept as bytes", "o", 11, std::string("\x01\x02", 2), "\"o\"=hex(b):01,02"},
      {"multi-text", "m", kRegMultiSz, std::string("a\0b\0\0", 5), "\"m\"=hex(7):61,00,62,00,00"},
      {"text with a line break", "t", kRegSz, Sz("a\r\nb"), "\"t\"=hex(1):61,0D,0A,62,00"},
      {"text without its zero", "t", kRegSz, "ab", "\"t\"=hex(1):61,62"},
      {"short dword", "n", kRegDword, "\x01", "\"n\"=hex(4):01"},
      {"Latin letters in Windows-1252", "è", kRegSz, Sz("città"), "\"\xE8\"=\"citt\xE0\""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryRegistry reg;
    Put(reg, "K", c.valueName, c.type, c.data);
    const RegTextOutput out = BuildRegText(reg, kHkeyCurrentUser, "K", false, nullptr);
    EXPECT_EQ(out.bytes, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\K]\r\n" + c.line + "\r\n\r\n");
  }
}

TEST(RegTextWriterTest, AppendingAddsAHeaderOnlyWhereThereIsNone) {
  MemoryRegistry reg;
  reg.LoadKey(kHkeyCurrentUser, "K");
  const std::string block = "[HKEY_CURRENT_USER\\K]\r\n\r\n";
  const std::string withHeader = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\X]\r\n\r\n";
  EXPECT_EQ(BuildRegText(reg, kHkeyCurrentUser, "K", false, &withHeader).bytes, withHeader + block);
  const std::string without = "; notes\r\n";
  EXPECT_EQ(BuildRegText(reg, kHkeyCurrentUser, "K", false, &without).bytes,
            without + "REGEDIT4\r\n\r\n" + block);
}

TEST(RegTextWriterTest, TextOutsideWindows1252MakesTheWholeFileVersion5) {
  MemoryRegistry reg;
  Put(reg, "K\\A", "latin", kRegSz, Sz("città"));
  Put(reg, "K\\B", "greek", kRegSz, Sz("Ἰλιάς"));
  const RegTextOutput out = BuildRegText(reg, kHkeyCurrentUser, "K", true, nullptr);
  ASSERT_EQ(out.format, RegTextFormat::kVersion5);
  ASSERT_EQ(out.bytes.substr(0, 2), "\xFF\xFE");
  EXPECT_EQ(Utf16LeToUtf8(out.bytes.substr(2)),
            "Windows Registry Editor Version 5.00\r\n\r\n"
            "[HKEY_CURRENT_USER\\K]\r\n\r\n"
            "[HKEY_CURRENT_USER\\K\\A]\r\n\"latin\"=\"città\"\r\n\r\n"
            "[HKEY_CURRENT_USER\\K\\B]\r\n\"greek\"=\"Ἰλιάς\"\r\n\r\n");

  // Appending such text to a Windows-1252 file turns the file into version 5.
  const std::string old = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Vecchio \xE8]\r\n\r\n";
  const RegTextOutput appended = BuildRegText(reg, kHkeyCurrentUser, "K\\B", false, &old);
  EXPECT_EQ(appended.format, RegTextFormat::kVersion5);
  EXPECT_EQ(Utf16LeToUtf8(appended.bytes.substr(2)),
            "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Vecchio è]\r\n\r\n"
            "[HKEY_CURRENT_USER\\K\\B]\r\n\"greek\"=\"Ἰλιάς\"\r\n\r\n");

  // Windows-1252 bytes that read as UTF-8 ("Ã€" is C3 80) would come back
  // changed: version 5 too.
  MemoryRegistry mojibake;
  Put(mojibake, "K", "m", kRegSz, Sz("Ã€"));
  EXPECT_EQ(BuildRegText(mojibake, kHkeyCurrentUser, "K", true, nullptr).format, RegTextFormat::kVersion5);
}

}  // namespace
}  // namespace orva
