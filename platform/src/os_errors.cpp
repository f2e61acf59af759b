#include "os_errors.h"

#include <cerrno>
#include <cstring>
#include <system_error>

#include "platform/files.h"

namespace platform::detail {

unsigned windows_error_from_errno(int error) {
  switch (error) {
    case 0: return kErrorSuccess;
    case ENOENT: return kErrorFileNotFound;
    case ENOTDIR:
    case ELOOP: return kErrorPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR: return kErrorAccessDenied;
    case EBUSY:
    case ETXTBSY: return kErrorSharingViolation;
    case EEXIST: return kErrorFileExists;
    case EINVAL: return kErrorInvalidParameter;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
      return kErrorDiskFull;
    case ENAMETOOLONG: return kErrorFilenameTooLong;
    case EFBIG: return kErrorFileTooLarge;
    case EIO: return kErrorWriteFault;
    default: return kErrorGenFailure;
  }
}

std::string os_failure(const char* what, const std::string& path, int error) {
  return std::string(what) + " " + path + ": " + std::generic_category().message(error);
}

}  // namespace platform::detail
