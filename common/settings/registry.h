#pragma once
// The registry as the programs see it: a tree of keys under a few predefined
// roots, each key holding named, typed values. The calls have the shape of
// the Windows registry calls and return Windows error codes, so the modules
// written against those calls (the settings API, the registry text files,
// the launcher's key helpers) read the same here.
//
// Names are case-insensitive and keep the case they were created with.
// Subkeys are listed sorted without regard to case; values in the order they
// were first created. Text crosses this interface as UTF-8; conversion to the
// 8-bit code page belongs to whoever writes files in it.
//
// Writes made while one event is handled are committed together by
// Commit(), which the event loop calls when the handling ends (and the
// program at exit).

#include <cstdint>
#include <string>
#include <string_view>

namespace orva {

// A key handle. The predefined roots have fixed values; opened keys get
// small numbers from the implementation.
using RegHandle = std::uint32_t;
// A Windows error code (0 = success).
using RegStatus = std::int32_t;

inline constexpr RegHandle kHkeyClassesRoot = 0x80000000u;
inline constexpr RegHandle kHkeyCurrentUser = 0x80000001u;
inline constexpr RegHandle kHkeyLocalMachine = 0x80000002u;
inline constexpr RegHandle kHkeyUsers = 0x80000003u;
inline constexpr RegHandle kHkeyCurrentConfig = 0x80000005u;

inline constexpr bool IsRootHandle(RegHandle h) {
  return h == kHkeyClassesRoot || h == kHkeyCurrentUser || h == kHkeyLocalMachine || h == kHkeyUsers ||
         h == kHkeyCurrentConfig;
}

// Error codes.
inline constexpr RegStatus kErrorSuccess = 0;
inline constexpr RegStatus kErrorFileNotFound = 2;
inline constexpr RegStatus kErrorAccessDenied = 5;
inline constexpr RegStatus kErrorInvalidHandle = 6;
inline constexpr RegStatus kErrorInvalidParameter = 87;
inline constexpr RegStatus kErrorBadPathname = 161;
inline constexpr RegStatus kErrorMoreData = 234;
inline constexpr RegStatus kErrorNoMoreItems = 259;
inline constexpr RegStatus kErrorKeyDeleted = 1018;

// Value kinds. Any other number is kept as raw bytes with its number.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;

// Access masks.
inline constexpr std::uint32_t kKeyQueryValue = 0x0001;
inline constexpr std::uint32_t kKeySetValue = 0x0002;
inline constexpr std::uint32_t kKeyCreateSubKey = 0x0004;
inline constexpr std::uint32_t kKeyEnumerateSubKeys = 0x0008;
inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyWrite = 0x20006;
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;

// Root name as written in registry text files and tool arguments
// ("HKEY_CURRENT_USER"); the empty text for an unknown handle.
std::string_view RootName(RegHandle root);
// The root a name stands for (full name or HKCU-style short name, any case);
// 0 when none.
RegHandle RootFromName(std::string_view name);

class Registry {
 public:
  virtual ~Registry() = default;

  // Opens parent\subKey (subKey may be empty: a new handle on parent itself).
  // 2 when the key does not exist.
  virtual RegStatus OpenKey(RegHandle parent, std::string_view subKey, std::uint32_t access,
                            RegHandle* result) = 0;
  // Opens parent\subKey with full access, creating it and its missing
  // parents. `created` (may be null) tells whether the key is new.
  virtual RegStatus CreateKey(RegHandle parent, std::string_view subKey, RegHandle* result,
                              bool* created = nullptr) = 0;
  virtual RegStatus CloseKey(RegHandle key) = 0;

  // Reads value `name` ("" = the default value) of an open key. `type` and
  // `size` may be null. With `data` null only the type and the size are
  // given. When *size is too small for the data, 234 is returned and *size
  // holds the size needed.
  virtual RegStatus QueryValue(RegHandle key, std::string_view name, std::uint32_t* type, std::uint8_t* data,
                               std::uint32_t* size) = 0;
  virtual RegStatus SetValue(RegHandle key, std::string_view name, std::uint32_t type,
                             const std::uint8_t* data, std::uint32_t size) = 0;
  virtual RegStatus DeleteValue(RegHandle key, std::string_view name) = 0;

  // The index-th subkey name (registry order); 259 past the end.
  virtual RegStatus EnumKey(RegHandle key, std::uint32_t index, std::string* name) = 0;
  // The index-th value (creation order); 259 past the end. `data`/`size`
  // work as in QueryValue: 234 with *size set when the buffer is too small
  // (the name and type are given all the same).
  virtual RegStatus EnumValue(RegHandle key, std::uint32_t index, std::string* name, std::uint32_t* type,
                              std::uint8_t* data, std::uint32_t* size) = 0;

  // Deletes parent\subKey with its values; 5 when it still has subkeys.
  virtual RegStatus DeleteKey(RegHandle parent, std::string_view subKey) = 0;
  // Deletes parent\subKey with all it holds (subKey empty: everything
  // parent holds, parent stays).
  virtual RegStatus DeleteTree(RegHandle parent, std::string_view subKey) = 0;

  // Reads value `name` of parent\subKey in one call, without a handle.
  // `data` receives the bytes as stored. The default opens, queries and
  // closes; stores with a faster path override it.
  virtual RegStatus GetValue(RegHandle parent, std::string_view subKey, std::string_view name,
                             std::uint32_t* type, std::string* data);

  // True when keys under `root` may be written.
  virtual bool CanWrite(RegHandle root) const = 0;

  // Ends the handled event's transaction: everything written since the last
  // Commit becomes durable and visible to the other programs together.
  virtual void Commit() = 0;
};

// Closes a key handle when it goes out of scope.
class RegKey {
 public:
  RegKey() = default;
  RegKey(Registry& registry, RegHandle handle) : registry_(&registry), handle_(handle) {}
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  RegKey(RegKey&& other) noexcept : registry_(other.registry_), handle_(other.handle_) {
    other.registry_ = nullptr;
  }
  RegKey& operator=(RegKey&& other) noexcept;
  ~RegKey() { Close(); }

  RegHandle get() const { return handle_; }
  explicit operator bool() const { return registry_ != nullptr; }
  void Close();

 private:
  Registry* registry_ = nullptr;
  RegHandle handle_ = 0;
};

}  // namespace orva
