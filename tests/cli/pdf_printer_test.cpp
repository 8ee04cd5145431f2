// OpenPdfPrinter loads libqwpdf.so from QW_PLUGIN_DIR (set here to the plugin's
// build folder) and hands back its printer; the printer's faults reach the
// caller as qw::Fault across the module boundary.
#include "cli/pdf_printer.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>

#include "document/doc_fixture.h"
#include "platform/fault.h"

namespace qw::testing {
namespace {

#ifdef QW_PDF_PLUGIN_DIR
constexpr const char* kPluginDir = QW_PDF_PLUGIN_DIR;
#else
constexpr const char* kPluginDir = nullptr;  // built without Qt: no plugin
#endif

class PdfPrinterTest : public TempDirTest {
 protected:
  void TearDown() override {
    unsetenv("QW_PLUGIN_DIR");
    TempDirTest::TearDown();
  }
  static void UsePluginDir(const std::string& dir) { setenv("QW_PLUGIN_DIR", dir.c_str(), 1); }
};

TEST_F(PdfPrinterTest, WritesEachPageIntoThePdf) {
  if (kPluginDir == nullptr) GTEST_SKIP() << "built without Qt: no PDF plugin";
  UsePluginDir(kPluginDir);
  const auto printer = cli::OpenPdfPrinter(Path("out.pdf"));
  printer->SetFontName("Courier");
  printer->SetFontSize(10);
  printer->PrintLine("' first page");
  printer->NewPage();
  printer->PrintLine("second page");
  printer->EndDoc();
  const std::string pdf = Read(Path("out.pdf"));
  EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
  EXPECT_NE(pdf.find("/Count 2"), std::string::npos);  // the page tree's count
  EXPECT_EQ(pdf.substr(pdf.size() - 6), "%%EOF\n");    // complete
}

TEST_F(PdfPrinterTest, FailuresArePrinterErrors) {
  const std::string empty = Path("empty"), broken = Path("broken");
  std::filesystem::create_directories(empty);
  Write("broken/libqwpdf.so", "not a shared object");
  const struct {
    const char* name;
    const char* plugin_dir;
    std::string pdf;
    std::string named;  // in the description
  } cases[] = {
      {"PluginMissing", empty.c_str(), Path("a.pdf"), empty + "/libqwpdf.so"},
      {"PluginBroken", broken.c_str(), Path("b.pdf"), broken + "/libqwpdf.so"},
      {"PdfUnwritable", kPluginDir, Path("none/c.pdf"), Path("none/c.pdf")},
  };
  for (const auto& c : cases) {
    if (c.plugin_dir == nullptr) continue;
    UsePluginDir(c.plugin_dir);
    try {
      cli::OpenPdfPrinter(c.pdf)->PrintLine(" ");
      ADD_FAILURE() << c.name << ": no fault";
    } catch (const Fault& fault) {
      EXPECT_EQ(fault.number(), 482) << c.name;
      EXPECT_NE(fault.description().find(c.named), std::string::npos)
          << c.name << ": " << fault.description();
    }
  }
}

}  // namespace
}  // namespace qw::testing
