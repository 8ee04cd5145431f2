// The PDF printer of qwtool. qwtool links no Qt: the printer lives in the
// plugin libqwpdf.so beside the qwtool executable (the folder named by
// QW_PLUGIN_DIR instead, when that is set), loaded only when a PDF is printed.
#pragma once

#include <memory>
#include <string>

#include "platform/printer.h"

namespace qw::cli {

// A printer that writes each document into `pdf_path`. Throws Fault 482 when
// the plugin cannot be loaded or cannot make the printer. The plugin stays
// loaded until the process exits.
std::unique_ptr<Printer> OpenPdfPrinter(const std::string& pdf_path);

}  // namespace qw::cli
