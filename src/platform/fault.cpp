#include "platform/fault.h"

#include <cerrno>
#include <cstring>

namespace qw {

std::string FaultDescription(int number) {
  switch (number) {
    case kFaultInvalidCall:
      return "Invalid procedure call or argument";
    case kFaultOverflow:
      return "Overflow: a number is too large for its 16-bit place";
    case kFaultSubscript:
      return "Subscript out of range";
    case kFaultBadFileName:
      return "Bad file name or number";
    case kFaultFileNotFound:
      return "File not found";
    case kFaultInputPastEnd:
      return "Input past end of file";
    case kFaultPermission:
      return "Permission denied";
    case kFaultPathFileAccess:
      return "Path/File access error";
    case kFaultPathNotFound:
      return "Path not found";
    case kFaultPrinter:
      return "Printer error";
    case kFaultCancel:
      return "Cancel was selected";
    default:
      return "Application-defined or object-defined error";
  }
}

Fault FileFault(int errno_value) {
  int number = kFaultPathFileAccess;
  switch (errno_value) {
    case ENOENT:
      number = kFaultFileNotFound;
      break;
    case ENOTDIR:
      number = kFaultPathNotFound;
      break;
    case EACCES:
    case EPERM:
    case EROFS:
    case ETXTBSY:
      number = kFaultPermission;
      break;
    case ENAMETOOLONG:
    case EINVAL:
      number = kFaultBadFileName;
      break;
    default:
      break;
  }
  // The system's reason is told once: not "Permission denied (Permission denied)".
  const std::string own = FaultDescription(number), reason = std::strerror(errno_value);
  return Fault(number, own == reason ? own : own + " (" + reason + ")");
}

}  // namespace qw
