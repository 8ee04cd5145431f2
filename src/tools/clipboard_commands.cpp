#include "tools/clipboard_commands.h"

#include <optional>
#include <string>

#include "platform/report.h"
#include "tools/selection.h"

namespace qw {

void ConcatenateToClipboard(Port& port) {
  RunTrapped(port, [&] {
    const std::optional<std::string> text =
        TextToWorkOn(port, EmptyPane::kBlank, "You have no text to concatenate!");
    if (!text) return;
    const std::string joined = port.ClipboardText() + *text;
    port.ClearClipboard();
    port.SetClipboardText(joined);
  });
}

void CutSelection(Port& port) {
  port.SetClipboardText(port.PaneSelectedText());
  port.ReplacePaneSelection("");
}

void CopySelection(Port& port) {
  port.SetClipboardText(port.PaneSelectedText());
}

void PasteClipboard(Port& port) {
  RunTrapped(port, [&] { port.ReplacePaneSelection(port.ClipboardText()); });
}

void ClearClipboard(Port& port) {
  port.ClearClipboard();
}

}  // namespace qw
