#pragma once
// The old runtime's error numbers for the failures of system calls.

namespace orva {

// Which "not found" a missing path means: a file (53) or a folder (76).
enum class Missing { kFile, kFolder };

// The error number for `err` (an errno value). `missing` decides ENOENT.
int VbErrorFromErrno(int err, Missing missing);

// Throws VbError for `err`. For a missing file, a missing parent folder
// is reported as 76, as the old runtime did.
[[noreturn]] void RaiseFromErrno(int err, Missing missing, const char* path = nullptr);

}  // namespace orva
