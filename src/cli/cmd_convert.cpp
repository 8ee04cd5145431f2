#include "cli/cmd_convert.h"

#include <algorithm>
#include <ostream>

#include "convert/converter.h"
#include "platform/report.h"

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
  const size_t boxes_before = port.titles().size();
  ConvertXBaseProc(port);
  port.on_keys = nullptr;

  if (did_paste) ctx.out << pasted;
  const auto& titles = port.titles();
  const bool fault = std::find(titles.begin() + static_cast<long>(boxes_before), titles.end(),
                               kProgramErrorTitle) != titles.end();
  return fault || !did_paste ? kExitFailed : kExitDone;
}

}  // namespace qw::cli
