// The two forms in which a working procedure reports a fault: the procedure
// error box, used by the editor's own procedures, and the "Program Error"
// report, used by the text library, the word scanners and the converter.
// Both are modal and keep no state: once reported, the fault is gone.
#pragma once

#include <exception>
#include <string>

#include "platform/fault.h"
#include "platform/port.h"

namespace qw {

inline constexpr char kProcedureErrorTitle[] = "Quillwright Error";
inline constexpr char kProgramErrorTitle[] = "Program Error";

// The text of the "Program Error" report: "Err Code: " with the number after a
// sign place (" 5", "-1"), "Err Desc: ", "Procname: ", "Sub Proc: ", joined by
// LF, no LF after the last line.
std::string FormatProgramError(int number, const std::string& description,
                               const std::string& procname, const std::string& subproc);

// Shows the "Program Error" report: OK button, stop icon.
void ReportProgramError(Port& port, int number, const std::string& description,
                        const std::string& procname, const std::string& subproc);
void ReportProgramError(Port& port, const Fault& fault, const std::string& procname);

// Shows the procedure error box: the description alone, OK, stop icon,
// title "Quillwright Error".
void ShowProcedureError(Port& port, const Fault& fault);

// Runs `body`, a working procedure: a fault escaping it (or any other
// exception, shown as fault 5 with its own text) is shown in the procedure
// error box and goes no further. Returns false when a fault ended the body.
template <typename Body>
bool RunTrapped(Port& port, Body&& body) {
  try {
    body();
    return true;
  } catch (const Fault& f) {
    ShowProcedureError(port, f);
  } catch (const std::exception& e) {
    ShowProcedureError(port, Fault(kFaultInvalidCall, e.what()));
  }
  return false;
}

}  // namespace qw
