#include "cli/cmd_text.h"

#include <memory>
#include <optional>

#include "cli/pdf_printer.h"
#include "convert/converter.h"
#include "tools/clipboard_commands.h"
#include "tools/comment.h"
#include "tools/indenter.h"
#include "tools/print_layout.h"
#include "tools/print_listing.h"

namespace qw::cli {
namespace {

// Takes the FILE operand (stdin when absent or "-") and the options named in
// `valued` (each with a value) or `flags`; anything else is bad usage.
struct TextArgs {
  std::string input = "-";
  std::optional<std::string> pdf;
  bool layout = false;
};

TextArgs ParseTextArgs(const std::vector<std::string>& args, bool print) {
  TextArgs parsed;
  bool have_input = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (print && a == "--pdf") {
      if (i + 1 >= args.size()) throw UsageError("missing value for --pdf");
      parsed.pdf = args[++i];
    } else if (print && a == "--layout") {
      parsed.layout = true;
    } else if (a.size() > 1 && a[0] == '-') {
      throw UsageError("unknown option " + a);
    } else if (have_input) {
      throw UsageError("one FILE at most");
    } else {
      parsed.input = a;
      have_input = true;
    }
  }
  if (print && parsed.pdf.has_value() == parsed.layout) {
    throw UsageError("print takes either --pdf OUT or --layout");
  }
  return parsed;
}

// Puts the input into the pane, runs `command` and writes what its Paste put
// in place of the selection.
int RunPasteCommand(Context& ctx, const std::vector<std::string>& args, void (*command)(Port&)) {
  const TextArgs parsed = ParseTextArgs(args, false);
  HeadlessPort& port = ctx.port;
  port.SetPaneText(ToPaneText(ReadInput(ctx, parsed.input)));
  std::optional<std::string> pasted;
  port.on_keys = [&](const std::string& keys) {
    if (keys != kPasteKeys) return;
    pasted = port.ClipboardText();
    PasteClipboard(port);
  };
  command(port);
  port.on_keys = nullptr;
  if (!pasted) return kExitFailed;
  ctx.out << *pasted;
  return kExitDone;
}

// The PDF printer, loaded at its first use, so that a listing that is never
// printed (a blank input) never loads it, and a plugin that cannot be loaded
// is a fault of the listing like any printer error.
class PdfFilePrinter final : public Printer {
 public:
  explicit PdfFilePrinter(std::string path) : path_(std::move(path)) {}
  void SetFontName(const std::string& name) override { Get().SetFontName(name); }
  void SetFontSize(int points) override { Get().SetFontSize(points); }
  void SetBold(bool bold) override { Get().SetBold(bold); }
  void PrintLine(std::string_view text) override { Get().PrintLine(text); }
  void NewPage() override { Get().NewPage(); }
  void EndDoc() override { Get().EndDoc(); }

 private:
  Printer& Get() {
    if (!printer_) printer_ = OpenPdfPrinter(path_);
    return *printer_;
  }
  std::string path_;
  std::unique_ptr<Printer> printer_;
};

}  // namespace

int RunIndent(Context& ctx, const std::vector<std::string>& args) {
  return RunPasteCommand(ctx, args, IndentSelection);
}

int RunComment(Context& ctx, const std::vector<std::string>& args) {
  return RunPasteCommand(ctx, args, CommentSelection);
}

int RunUncomment(Context& ctx, const std::vector<std::string>& args) {
  return RunPasteCommand(ctx, args, UncommentSelection);
}

int RunConvert(Context& ctx, const std::vector<std::string>& args) {
  return RunPasteCommand(ctx, args, ConvertXBaseProc);
}

int RunPrint(Context& ctx, const std::vector<std::string>& args) {
  const TextArgs parsed = ParseTextArgs(args, true);
  HeadlessPort& port = ctx.port;
  port.SetPaneText(ToPaneText(ReadInput(ctx, parsed.input)));
  LayoutPrinter layout;
  std::unique_ptr<PdfFilePrinter> pdf;
  if (parsed.pdf) pdf = std::make_unique<PdfFilePrinter>(*parsed.pdf);
  port.SetPrinter(pdf ? static_cast<Printer*>(pdf.get()) : &layout);
  PrintSelection(port);
  port.SetPrinter(nullptr);
  if (port.failed()) return kExitFailed;
  if (parsed.layout) ctx.out << layout.text();
  return kExitDone;
}

}  // namespace qw::cli
