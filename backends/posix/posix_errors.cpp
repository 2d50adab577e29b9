#include "backends/posix/posix_errors.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include "common/runtime/vb_error.h"

namespace orva {

int VbErrorFromErrno(int err, Missing missing) {
  switch (err) {
    case ENOENT:
    case ENOTDIR: return missing == Missing::kFile ? vberr::kFileNotFound : vberr::kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
    case EBUSY: return vberr::kPermissionDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG: return vberr::kDiskFull;
    case EISDIR:
    case ELOOP: return vberr::kPathFileAccessError;
    case ENAMETOOLONG:
    case EINVAL:
    case EILSEQ: return vberr::kBadFileName;
    case ENOMEM: return vberr::kOutOfMemory;
    default: return vberr::kDeviceIoError;
  }
}

void RaiseFromErrno(int err, Missing missing, const char* path) {
  if (missing == Missing::kFile && path && (err == ENOENT || err == ENOTDIR)) {
    std::error_code ec;
    const std::filesystem::path parent = std::filesystem::path(path).parent_path();
    if (!parent.empty() && !std::filesystem::is_directory(parent, ec)) RaiseVbError(vberr::kPathNotFound);
  }
  RaiseVbError(VbErrorFromErrno(err, missing));
}

}  // namespace orva
