#include "tools/selection.h"

#include "platform/report.h"
#include "textlib/cliplib.h"

namespace qw {

std::optional<std::string> TextToWorkOn(Port& port, EmptyPane empty, const char* message,
                                        WholeText whole) {
  if (port.PaneSelLength() > 0) return port.PaneSelectedText();
  std::string text = port.PaneText();
  const bool counts_empty =
      empty == EmptyPane::kBlank ? IsEmptyValue(std::string_view(text)) : text.empty();
  if (counts_empty) {
    port.MessageBox({NoticeKind::kRefusal, message, "Error", Buttons::kOk, Icon::kExclamation});
    return std::nullopt;
  }
  if (whole == WholeText::kSelect) port.SetPaneSelection(0, static_cast<long>(text.size()));
  return text;
}

void RewriteSelection(Port& port, EmptyPane empty, const char* message,
                      std::string (*rewrite)(std::string_view)) {
  RunTrapped(port, [&] {
    const std::optional<std::string> text = TextToWorkOn(port, empty, message);
    if (text) ReplaceThroughPaste(port, rewrite(*text));
  });
}

}  // namespace qw
