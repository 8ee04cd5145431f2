// A generator of realistic xBase program text for the converter's benchmark:
// procedures and functions with declarations, work areas, DO WHILE loops with
// DO CASE inside, nested IFs, BEGIN SEQUENCE, record moves, REPLACE, string
// functions, comments of every kind and continuation lines, in the mixed
// letter case of real code bases. Lines end with CR LF (edit-pane text).
#pragma once

#include <string>

namespace qw::bench {

// Program text of at least `bytes` bytes, made of whole procedures; each
// procedure differs from the others in its names.
inline std::string XBaseProgram(size_t bytes) {
  std::string text;
  for (int n = 0; text.size() < bytes; ++n) {
    const std::string id = std::to_string(n);
    const std::string area = n % 3 == 0 ? "customer" : n % 3 == 1 ? "orders" : "items";
    const char* lines[] = {
        "*****************************************************",
        "* Module ",
        "*****************************************************",
        "",
        n % 2 ? "FUNCTION Calc" : "PROCEDURE Report",
        "   LOCAL nTotal := 0, nCount := 0, cLine := ''",
        "   PRIVATE cTitle, lDone",
        "   SET DELETED ON",
        "   SELECT ",
        "   GO TOP",
        "   /* walk every record and sum",
        "      the open balances */",
        "   DO WHILE .NOT. EOF() .AND. !lDone",
        "      DO CASE",
        "      CASE ->balance > 1000   // large",
        "         nTotal += ->balance",
        "         nCount++",
        "      CASE EMPTY(->name)",
        "         SKIP",
        "         LOOP",
        "      OTHERWISE",
        "         IF SUBSTR(->code, 1, 2) == 'AB' .OR. ;",
        "            ALLTRIM(->city) $ cList",
        "            REPLACE flag WITH .T.",
        "         ELSEIF ->qty < 0",
        "            DO Notify WITH ->name, nTotal",
        "         ELSE",
        "            cLine := UPPER(->name) + ' ' + STR(nTotal)  && report line",
        "         ENDIF",
        "      ENDCASE",
        "      SKIP",
        "   ENDDO",
        "   BEGIN SEQUENCE",
        "      IF nCount = 0",
        "         BREAK",
        "      ENDIF",
        "      @ 10, 5 SAY 'Total: ' + STR(nTotal)",
        "   END",
        "   SEEK cKey + 'A'",
        "   IF FOUND()",
        "      aList[nCount] := ->name",
        "   ENDIF",
        n % 2 ? "RETURN (nTotal)" : "RETURN",
        "",
    };
    for (const char* l : lines) {
      std::string line = l;
      if (line == "* Module ") line += id + ": sums the open balances of " + area;
      if (line == "   SELECT ") line += area;
      if (line.ends_with("FUNCTION Calc") || line.ends_with("PROCEDURE Report")) line += id;
      for (size_t at;
           (at = line.find("->")) != std::string::npos &&
           (at == 0 || line[at - 1] == ' ' || line[at - 1] == '(' || line[at - 1] == '[');) {
        line.insert(at, area);
      }
      text += line + "\r\n";
    }
  }
  return text;
}

}  // namespace qw::bench
