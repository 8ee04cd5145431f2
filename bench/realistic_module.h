// A generator of real-looking Basic modules for the whole-tree benchmarks:
// standard modules, classes full of Property procedures and forms with their
// description blocks, with comments, strings, Declare lines and some long
// lines, about 20 KB each. Module `n` is the same on every run.
#pragma once

#include <random>
#include <string>

namespace qw::bench {

// The file name extension of module `n`: BAS, CLS or FRM.
inline const char* RealisticKind(int n) {
  static const char* const kKinds[] = {"bas", "cls", "frm", "bas", "Cls", "FRM"};
  return kKinds[n % 6];
}

inline std::string RealisticModule(int n) {
  std::mt19937 rng(static_cast<unsigned>(n) * 2654435761u + 1);
  auto pick = [&rng](int k) { return std::uniform_int_distribution<int>(0, k - 1)(rng); };
  const std::string kind = RealisticKind(n);
  std::string m;
  m.reserve(24 * 1024);
  auto line = [&m](const std::string& s) { m.append(s).append("\r\n"); };
  if (kind == "frm" || kind == "FRM") {
    line("VERSION 5.00");
    line("Begin VB.Form frm" + std::to_string(n));
    line("   Caption         =   \"Form " + std::to_string(n) + "\"");
    for (int c = 0; c < 12; ++c) {
      line("   Begin VB.CommandButton cmd" + std::to_string(c));
      line("      Caption         =   \"&Button " + std::to_string(c) + "\"");
      line("      Height          =   375");
      line("   End");
    }
    line("End");
  } else if (kind != "bas") {
    line("VERSION 1.0 CLASS");
    line("BEGIN");
    line("  MultiUse = -1  'True");
    line("END");
  }
  line("Attribute VB_Name = \"M" + std::to_string(n) + "\"");
  line("Option Explicit");
  line("Private Declare Function GetTickCount Lib \"kernel32\" () As Long");
  for (int i = 0; i < 8; ++i) line("Private m" + std::to_string(i) + " As String ' state");
  const int procedures = 40 + pick(20);
  for (int p = 0; p < procedures; ++p) {
    const std::string name = "Proc" + std::to_string(n) + "_" + std::to_string(p);
    line("");
    line("' " + name + ": what it does, in a comment line of some length");
    const int shape = pick(6);
    std::string end = "End Sub";
    if (shape == 0 && kind != "bas") {
      line("Public Property Get " + name + "() As String");
      end = "End Property";
    } else if (shape == 1) {
      line("Private Function " + name + "(ByVal a As Long, s As String) As Long");
      end = "End Function";
    } else if (shape == 2) {
      line("Private Sub cmd" + std::to_string(p) + "_Click()");
    } else {
      line("Public Sub " + name + "(Optional ByVal flag As Boolean = False)");
    }
    for (int k = 3 + pick(8); k > 0; --k) {
      switch (pick(5)) {
        case 0:
          line("    s = \"a string with Sub and Function in it\" & CStr(" + std::to_string(k) + ")");
          break;
        case 1:
          line("    ' Sub in a comment: End Sub is only text here");
          break;
        case 2:
          line("    If flag Then Debug.Print \"" + std::string(100 + pick(200), 'x') + "\"");
          break;
        case 3:
          line("        total = total + " + std::to_string(k) + " * factor ' running sum");
          break;
        default:
          line("    Static calls As Long: calls = calls + 1");
          break;
      }
    }
    line(end);
  }
  return m;
}

}  // namespace qw::bench
