#include "cli/pdf_printer.h"

#include <dlfcn.h>

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/fault.h"

namespace qw::cli {

namespace {

constexpr char kPluginFile[] = "libqwpdf.so";
constexpr char kOpenSymbol[] = "qw_open_pdf_printer";

using OpenFn = Printer* (*)(const char* pdf_path, char* error, size_t error_size);

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
  void* symbol = dlsym(handle, kOpenSymbol);
  if (symbol == nullptr) throw Unavailable(plugin + " has no " + kOpenSymbol);
  const auto open = reinterpret_cast<OpenFn>(symbol);
  char error[512] = "";
  std::unique_ptr<Printer> printer(open(pdf_path.c_str(), error, sizeof error));
  if (!printer) throw Unavailable(error[0] != '\0' ? error : "the plugin made no printer");
  return printer;
}

}  // namespace qw::cli
