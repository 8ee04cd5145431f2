// A generator of large synthetic .BAS modules for the document benchmarks:
// declarations, then `procedures` Subs and Functions of a few lines each
// (about 150 bytes), with one entry of about 2 KB ("Big2K") in the middle.
// 60,000 procedures give about 9 MB. The output is the same on every run.
#pragma once

#include <string>

namespace qw::bench {

inline std::string SyntheticModule(int procedures) {
  std::string m;
  m.reserve(static_cast<size_t>(procedures) * 160 + 4096);
  m += "Attribute VB_Name = \"Synthetic\"\r\nOption Explicit\r\n";
  for (int i = 0; i < 40; ++i)
    m += "Public Const LIMIT_" + std::to_string(i) + " = " + std::to_string(i * 7) + "\r\n";
  m += "\r\n";
  for (int i = 0; i < procedures; ++i) {
    const std::string n = std::to_string(i);
    if (i == procedures / 2) {
      m += "Public Sub Big2K(ByVal n As Long)\r\n";
      for (int k = 0; k < 57; ++k)
        m += "    total = total + n * " + std::to_string(k) + " ' step\r\n";
      m += "End Sub\r\n\r\n";
    }
    if (i % 1000 == 0) m += "' ---- section " + n + " ----\r\n";
    const std::string note = "    ' note " + n + "\r\n";
    switch (i % 3) {
      case 0:
        m += "Public Function Calc" + n + "(ByVal a As Long, ByVal b As Long) As Long\r\n";
        m += "    Calc" + n + " = a * " + n + " + b\r\n";
        m += note;
        m += "    If a > 0 Then Calc" + n + " = Calc" + n + " - 1\r\n";
        m += "End Function\r\n\r\n";
        break;
      case 1:
        m += "Private Sub Handle" + n + "_Click()\r\n";
        m += "    Dim s As String\r\n";
        m += note;
        m += "    s = \"Item " + n + "\" & CStr(mCount)\r\n";
        m += "    Call Calc" + std::to_string(i - 1) + "(1, 2)\r\n";
        m += "End Sub\r\n\r\n";
        break;
      default:
        m += "Sub Step" + n + "()\r\n";
        m += "    Static hits As Long\r\n";
        m += note;
        m += "    hits = hits + 1: mCount = mCount + " + n + "\r\n";
        m += "End Sub\r\n\r\n";
        break;
    }
  }
  return m;
}

}  // namespace qw::bench
