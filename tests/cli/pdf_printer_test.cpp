// OpenPdfPrinter loads libqwpdf.so from QW_PLUGIN_DIR when that is set: a
// plugin that is missing or broken is a printer error naming it. (A PDF
// printed through the plugin is checked with qwtool print.)
#include "cli/pdf_printer.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "document/doc_fixture.h"
#include "platform/fault.h"

namespace qw::testing {
namespace {

using PdfPrinterTest = TempDirTest;

TEST_F(PdfPrinterTest, APluginThatCannotBeLoadedIsAPrinterError) {
  std::filesystem::create_directories(Path("empty"));
  Write("broken/libqwpdf.so", "not a shared object");
  for (const std::string& folder : {Path("empty"), Path("broken")}) {
    setenv("QW_PLUGIN_DIR", folder.c_str(), 1);
    try {
      cli::OpenPdfPrinter(Path("a.pdf"))->PrintLine(" ");
      ADD_FAILURE() << folder << ": no fault";
    } catch (const Fault& fault) {
      EXPECT_EQ(fault.number(), kFaultPrinter) << folder;
      EXPECT_NE(fault.description().find(folder + "/libqwpdf.so"), std::string::npos)
          << fault.description();
    }
  }
  unsetenv("QW_PLUGIN_DIR");
}

}  // namespace
}  // namespace qw::testing
