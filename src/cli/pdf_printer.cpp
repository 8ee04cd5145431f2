#include "cli/pdf_printer.h"

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "cli/pdf_plugin_calls.h"
#include "platform/fault.h"

namespace qw::cli {

namespace {

constexpr char kPluginFile[] = "libqwpdf.so";

// The plugin's printer, driven through its plain calls; a fault it reports
// is thrown here, by qwtool's own runtime.
class PluginPrinter final : public Printer {
 public:
  PluginPrinter(void* printer, PdfCallFn call, PdfCloseFn close)
      : printer_(printer), call_(call), close_(close) {}
  ~PluginPrinter() override { close_(printer_); }
  PluginPrinter(const PluginPrinter&) = delete;
  PluginPrinter& operator=(const PluginPrinter&) = delete;

  void SetFontName(const std::string& name) override { Call(kPdfSetFontName, name, 0); }
  void SetFontSize(int points) override { Call(kPdfSetFontSize, {}, points); }
  void SetBold(bool bold) override { Call(kPdfSetBold, {}, bold ? 1 : 0); }
  void PrintLine(std::string_view text) override { Call(kPdfPrintLine, text, 0); }
  void NewPage() override { Call(kPdfNewPage, {}, 0); }
  void EndDoc() override { Call(kPdfEndDoc, {}, 0); }

 private:
  void Call(PdfCall call, std::string_view text, int value) {
    char error[4096] = "";
    const int number = call_(printer_, call, text.data(), text.size(), value, error, sizeof error);
    if (number != 0) throw Fault(number, error);
  }

  void* printer_;
  PdfCallFn call_;
  PdfCloseFn close_;
};

Fault Unavailable(const std::string& why) {
  return Fault(kFaultPrinter, "Printer error: PDF printing is not available: " + why);
}

std::string PluginFolder() {
  const char* override_dir = std::getenv("QW_PLUGIN_DIR");
  if (override_dir != nullptr && *override_dir != '\0') return override_dir;
  std::error_code ec;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) throw Unavailable("cannot find the folder of qwtool (" + ec.message() + ")");
  // Beside qwtool in the build tree; in the library folder once installed.
  const std::filesystem::path installed = exe.parent_path() / QW_INSTALLED_PLUGIN_DIR;
  if (!std::filesystem::exists(exe.parent_path() / kPluginFile, ec) &&
      std::filesystem::exists(installed / kPluginFile, ec)) {
    return installed.lexically_normal().string();
  }
  return exe.parent_path().string();
}

}  // namespace

std::unique_ptr<Printer> OpenPdfPrinter(const std::string& pdf_path) {
  const std::string plugin = PluginFolder() + "/" + kPluginFile;
  // Never closed: the plugin's Qt objects live until the process exits.
  void* handle = dlopen(plugin.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) throw Unavailable(std::string(dlerror()));
  dlerror();
  void* open_fn = dlsym(handle, kPdfOpenSymbol);
  void* call_fn = dlsym(handle, kPdfCallSymbol);
  void* close_fn = dlsym(handle, kPdfCloseSymbol);
  if (open_fn == nullptr || call_fn == nullptr || close_fn == nullptr) {
    throw Unavailable(plugin + " has no " + kPdfOpenSymbol + ", " + kPdfCallSymbol + " or " +
                      kPdfCloseSymbol);
  }
  char error[4096] = "";
  void* printer = reinterpret_cast<PdfOpenFn>(open_fn)(pdf_path.c_str(), error, sizeof error);
  if (printer == nullptr) {
    throw Unavailable(error[0] != '\0' ? error : "the plugin made no printer");
  }
  return std::make_unique<PluginPrinter>(printer, reinterpret_cast<PdfCallFn>(call_fn),
                                         reinterpret_cast<PdfCloseFn>(close_fn));
}

}  // namespace qw::cli
