#pragma once
// Failures in the old runtime's terms: a number and an Italian description.
// Every user-visible error text of the system is Italian, and stored data and
// reports depend on these numbers, so backends translate their own failures
// into them.

#include <stdexcept>
#include <string>

namespace orva {

namespace vberr {
inline constexpr int kInvalidCall = 5;
inline constexpr int kOverflow = 6;
inline constexpr int kOutOfMemory = 7;
inline constexpr int kSubscriptOutOfRange = 9;
inline constexpr int kDivisionByZero = 11;
inline constexpr int kTypeMismatch = 13;
inline constexpr int kInternalError = 51;
inline constexpr int kBadFileName = 52;
inline constexpr int kFileNotFound = 53;
inline constexpr int kDeviceIoError = 57;
inline constexpr int kDiskFull = 61;
inline constexpr int kPermissionDenied = 70;
inline constexpr int kPathFileAccessError = 75;
inline constexpr int kPathNotFound = 76;
inline constexpr int kObjectNotSet = 91;
inline constexpr int kObjectRequired = 424;
inline constexpr int kNotSupported = 438;
inline constexpr int kDuplicateKey = 457;
}  // namespace vberr

// The runtime's own description of an error number; the empty text for a
// number it does not know.
std::string VbErrorDescription(int number);

class VbError : public std::runtime_error {
 public:
  // With no description, the runtime's own text for the number is used.
  explicit VbError(int number, std::string description = {});

  int Number() const noexcept { return number_; }
  const std::string& Description() const noexcept { return description_; }

 private:
  int number_;
  std::string description_;
};

[[noreturn]] void RaiseVbError(int number);

// The runtime's Err object: what a handler reads about the failure it traps.
struct ErrObject {
  int Number = 0;
  std::string Description;
};

// Describes whatever was thrown, the way the old runtime would have: a
// VbError keeps its number; running out of memory is 7; anything else is an
// internal error carrying its own text.
ErrObject ErrFromException(std::exception_ptr error);

}  // namespace orva
