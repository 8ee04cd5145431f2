// libqwpdf: the PDF printer of qwtool, in a module of its own so that qwtool
// loads Qt only when it prints (see cli/pdf_printer.h). The printer is the
// editor's own QtPrinter writing into a file, reached through the plain calls
// of cli/pdf_plugin_calls.h.
#include <QCoreApplication>
#include <QGuiApplication>
#include <cstddef>
#include <cstdio>
#include <exception>
#include <memory>
#include <string>
#include <string_view>

#include "pdf_plugin_calls.h"
#include "platform/fault.h"
#include "shell/qt_printer.h"

namespace {

// qwtool's stderr carries its own message lines only: Qt's warnings (a missing
// runtime folder, font fallbacks) are dropped. A fatal one is still told before
// Qt ends the process.
void QuietMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type == QtFatalMsg) std::fprintf(stderr, "qwtool: Qt: %s\n", qPrintable(message));
}

void CopyMessage(const char* message, char* error, size_t error_size) {
  if (error != nullptr && error_size > 0) std::snprintf(error, error_size, "%s", message);
}

// Fonts and QPrinter need a QGuiApplication. qwtool has none: the first call
// makes one, on the window-less "offscreen" platform, and silences Qt's
// messages. It lives until the process exits
// and is deliberately never destroyed: at exit it would go down with Qt's own
// globals in no fixed order.
bool EnsureGuiApplication(char* error, size_t error_size) {
  if (QCoreApplication::instance() != nullptr) {
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) return true;
    CopyMessage("the running Qt application has no graphical part", error, error_size);
    return false;
  }
  qInstallMessageHandler(QuietMessages);
  // Printing into a file needs no display, whatever platform the user's
  // environment names for windows.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "qwtool";
  static char* argv[] = {name, nullptr};
  [[maybe_unused]] static QGuiApplication* const app = new QGuiApplication(argc, argv);
  return true;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void* qw_pdf_open(const char* pdf_path,
                                                                    char* error,
                                                                    size_t error_size) {
  if (pdf_path == nullptr) {
    CopyMessage("no PDF file named", error, error_size);
    return nullptr;
  }
  try {
    if (!EnsureGuiApplication(error, error_size)) return nullptr;
    return std::make_unique<qw::shell::QtPrinter>(pdf_path).release();
  } catch (const std::exception& e) {
    CopyMessage(e.what(), error, error_size);
    return nullptr;
  }
}

extern "C" __attribute__((visibility("default"))) int qw_pdf_call(void* printer, int call,
                                                                  const char* text, size_t size,
                                                                  int value, char* error,
                                                                  size_t error_size) {
  auto& p = *static_cast<qw::shell::QtPrinter*>(printer);
  const std::string_view bytes = size == 0 ? std::string_view() : std::string_view(text, size);
  try {
    switch (call) {
      case qw::cli::kPdfSetFontName:
        p.SetFontName(std::string(bytes));
        break;
      case qw::cli::kPdfSetFontSize:
        p.SetFontSize(value);
        break;
      case qw::cli::kPdfSetBold:
        p.SetBold(value != 0);
        break;
      case qw::cli::kPdfPrintLine:
        p.PrintLine(bytes);
        break;
      case qw::cli::kPdfNewPage:
        p.NewPage();
        break;
      case qw::cli::kPdfEndDoc:
        p.EndDoc();
        break;
      default:
        CopyMessage("Printer error: the PDF printer has no such call", error, error_size);
        return qw::kFaultPrinter;
    }
    return 0;
  } catch (const qw::Fault& f) {
    CopyMessage(f.description().c_str(), error, error_size);
    return f.number();
  } catch (const std::exception& e) {
    CopyMessage(e.what(), error, error_size);
    return qw::kFaultPrinter;
  }
}

extern "C" __attribute__((visibility("default"))) void qw_pdf_close(void* printer) {
  const std::unique_ptr<qw::shell::QtPrinter> owned(static_cast<qw::shell::QtPrinter*>(printer));
}
