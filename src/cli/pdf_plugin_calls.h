// The calls between qwtool and its PDF printer plugin (libqwpdf.so): plain C,
// so that no C++ object, allocation or exception crosses from one to the
// other. qwtool carries its own C++ runtime inside it while the plugin runs
// on the one Qt uses; each side keeps its objects and its exceptions to
// itself, and a printer fault comes back as its number and its description.
#pragma once

#include <cstddef>

namespace qw::cli {

// What qw_pdf_call does to the printer, each as the Printer function of the
// same name: the text (`text`, `size` bytes) goes to SetFontName and
// PrintLine, the value to SetFontSize and SetBold (0 or 1).
enum PdfCall : int {
  kPdfSetFontName = 1,
  kPdfSetFontSize = 2,
  kPdfSetBold = 3,
  kPdfPrintLine = 4,
  kPdfNewPage = 5,
  kPdfEndDoc = 6,
};

// The symbols the plugin exports, by name and type.
constexpr char kPdfOpenSymbol[] = "qw_pdf_open";
constexpr char kPdfCallSymbol[] = "qw_pdf_call";
constexpr char kPdfCloseSymbol[] = "qw_pdf_close";

// A printer writing into the PDF file `pdf_path`; nullptr with the reason in
// `error` (always ended by a zero byte) when none can be made.
using PdfOpenFn = void* (*)(const char* pdf_path, char* error, size_t error_size);
// Does `call` on `printer`: 0 when done, else the fault's number with its
// description in `error`.
using PdfCallFn = int (*)(void* printer, int call, const char* text, size_t size, int value,
                          char* error, size_t error_size);
// Ends `printer` (from PdfOpenFn) and frees it.
using PdfCloseFn = void (*)(void* printer);

}  // namespace qw::cli
