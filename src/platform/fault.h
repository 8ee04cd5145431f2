// A fault is a run-time error of the editor's own operations: a number and a
// description, in the manner of the classic Basic run-time. Working procedures
// throw a Fault, catch it at their own boundary and report it in one of the two
// forms of report.h; a fault never escapes an event handler.
#pragma once

#include <stdexcept>
#include <string>

namespace qw {

// The fault numbers the editor raises.
enum FaultNumber : int {
  kFaultInvalidCall = 5,      // a procedure called with an argument it cannot take
  kFaultOverflow = 6,         // a 16-bit value out of -32,768..32,767
  kFaultSubscript = 9,        // an index outside a list
  kFaultBadFileName = 52,     // a file name the file system refuses
  kFaultFileNotFound = 53,    // no such file
  kFaultInputPastEnd = 62,    // a read beyond the end of a file
  kFaultPermission = 70,      // the file system refused access
  kFaultPathFileAccess = 75,  // a folder where a file was expected, a failed write, ...
  kFaultPathNotFound = 76,    // no such folder
  kFaultPrinter = 482,        // no printer, or the printer failed
  kFaultCancel = 32755,       // the user cancelled a file dialog
};

// The standard description of a fault number; a generic text for numbers the
// editor does not raise.
std::string FaultDescription(int number);

class Fault : public std::runtime_error {
 public:
  // A fault with the standard description of its number.
  explicit Fault(int number) : Fault(number, FaultDescription(number)) {}
  Fault(int number, std::string description)
      : std::runtime_error(description), number_(number), description_(std::move(description)) {}

  int number() const { return number_; }
  const std::string& description() const { return description_; }

 private:
  int number_;
  std::string description_;
};

// The fault for an errno value of a failed file operation (ENOENT is 53, EACCES
// 70, ...). The description names the system's own reason too.
Fault FileFault(int errno_value);

}  // namespace qw
