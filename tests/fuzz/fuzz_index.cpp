// Fuzz target: an arbitrary byte string indexed as a module (.BAS), a form
// (.FRM) and an xBase program (.PRG), and every entry shown. Positions must
// grow and lie in the file, and each result must be the same twice.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "document/entry_text.h"
#include "document/module_index.h"
#include "fuzz_check.h"
#include "platform/limits.h"
#include "platform/port.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace qw;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  SetClassicLimits(size > 0 && (data[0] & 1) != 0);
  for (const char* name : {"F.BAS", "F.FRM", "F.PRG"}) {
    fuzz::Twice(name, [&] {
      std::string shown;
      const auto entries = IndexModule(bytes, name, {}, CurrentPort());
      Int last = 1;
      for (const EntryView e : entries) {
        if (e.position < last || e.position > static_cast<Int>(size) + 1) {
          std::fprintf(stderr, "%s: entry %s at %lld out of order\n", name,
                       std::string(e.name).c_str(), static_cast<long long>(e.position));
          std::abort();
        }
        last = e.position;
        shown += e.Text() + "\n" +
                 fuzz::Outcome([&] { return EntryTextOf(bytes, e, {}, CurrentPort()); });
      }
      return shown;
    });
  }
  return 0;
}
