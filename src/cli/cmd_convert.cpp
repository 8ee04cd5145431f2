#include "cli/cmd_convert.h"

#include <ostream>

#include "convert/converter.h"

namespace qw::cli {

int RunConvert(Context& ctx, const std::vector<std::string>& args) {
  if (args.size() > 1) throw UsageError("convert takes one FILE at most");
  const std::string path = args.empty() ? "-" : args.front();
  if (path.size() > 1 && path.front() == '-') throw UsageError("unknown option " + path);

  HeadlessPort& port = ctx.port;
  port.SetPaneText(ToPaneText(ReadInput(ctx, path)));
  // The window's Paste command: the clipboard replaces the selection.
  std::string pasted;
  bool did_paste = false;
  port.on_keys = [&](const std::string& keys) {
    if (keys != kPasteKeys) return;
    pasted = port.ClipboardText();
    port.ReplacePaneSelection(pasted);
    did_paste = true;
  };
  ConvertXBaseProc(port);
  port.on_keys = nullptr;

  if (did_paste) ctx.out << pasted;
  return did_paste ? kExitDone : kExitFailed;
}

}  // namespace qw::cli
