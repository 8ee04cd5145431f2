#include "platform/report.h"

namespace qw {

std::string FormatProgramError(int number, const std::string& description,
                               const std::string& procname, const std::string& subproc) {
  // The number keeps a sign place: a blank for 0 and above, "-" below.
  const std::string code = number < 0 ? std::to_string(number) : " " + std::to_string(number);
  return "Err Code: " + code + "\nErr Desc: " + description + "\nProcname: " + procname +
         "\nSub Proc: " + subproc;
}

void ReportProgramError(Port& port, int number, const std::string& description,
                        const std::string& procname, const std::string& subproc) {
  port.MessageBox({NoticeKind::kFault, FormatProgramError(number, description, procname, subproc),
                   kProgramErrorTitle, Buttons::kOk, Icon::kStop});
}

void ReportProgramError(Port& port, const Fault& fault, const std::string& procname) {
  ReportProgramError(port, fault.number(), fault.description(), procname, "");
}

void ShowProcedureError(Port& port, const Fault& fault) {
  port.MessageBox(
      {NoticeKind::kFault, fault.description(), kProcedureErrorTitle, Buttons::kOk, Icon::kStop});
}

}  // namespace qw
