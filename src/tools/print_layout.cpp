#include "tools/print_layout.h"

#include "platform/fault.h"

namespace qw {

void LayoutPrinter::SetFontName(const std::string&) {}

void LayoutPrinter::SetFontSize(int) {}

void LayoutPrinter::SetBold(bool bold) {
  bold_ = bold;
}

void LayoutPrinter::PrintLine(std::string_view text) {
  CheckOpen();
  text_ += bold_ ? "B " : "  ";
  text_ += text;
  text_ += "\r\n";
}

void LayoutPrinter::NewPage() {
  CheckOpen();
  text_ += "\f\r\n";
}

void LayoutPrinter::EndDoc() {
  CheckOpen();
  ended_ = true;
}

void LayoutPrinter::CheckOpen() const {
  if (ended_) throw Fault(kFaultInvalidCall);
}

}  // namespace qw
