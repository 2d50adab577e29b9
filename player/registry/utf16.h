#pragma once
// UTF-16LE, the text of version-5 registry files and of registry hives,
// against the UTF-8 used inside the system.

#include <string>
#include <string_view>

namespace orva {

// Bytes of UTF-16LE text as UTF-8. An unpaired surrogate becomes U+FFFD; an
// odd last byte is dropped.
std::string Utf16LeToUtf8(std::string_view bytes);
// UTF-8 text as UTF-16LE bytes. Ill-formed UTF-8 becomes U+FFFD.
std::string Utf8ToUtf16Le(std::string_view utf8);

}  // namespace orva
