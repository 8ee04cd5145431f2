// The module indexer: one forward pass over a module's bytes that records
// its entries (the declarations entry and one per procedure header), each as
// a name and the 1-based byte position of its first line. The index holds
// names and positions only, never text.
//
// The file's own name decides whether there is a declarations entry
// (KindOfModule): a module (.BAS, .PRG, .CLS) has one at the first line, a
// form (.FRM) at the line after its description block. Procedure headers are named by HeaderName;
// after each entry the pass reads on to the next line where IndexerStop stops, so that lines inside
// a procedure are never taken for headers unless they look like one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "document/line_rules.h"
#include "document/module_document.h"
#include "platform/port.h"

namespace qw {

// What a file is, by the extension of its own name (after the last "." of
// the part after the last "/" or "\\", letter case ignored): folder names
// never count, so 'visual.frm.d/Main.bas' is a module and 'x.bas/NOTES.TXT'
// is neither.
enum class ModuleKind {
  kPlain,   // no declarations entry: entries start at the first header
  kModule,  // .BAS, .PRG, .CLS: declarations from the first line
  kForm,    // .FRM: declarations after the form's description block
};
ModuleKind KindOfModule(std::string_view file_name);

// Takes the entries of a module as the indexer finds them, in file order.
class EntrySink {
 public:
  virtual ~EntrySink() = default;
  // The entry named `name` followed by `suffix`, whose first line starts at
  // the 1-based byte `position`. The views are valid during the call only.
  virtual void Add(std::string_view name, std::string_view suffix, Int position) = 0;
};

// The entries of `bytes`, as the list below holds them, handed to `sink`
// one by one: nothing is copied.
void IndexModule(std::string_view bytes, const std::string& file_name, IndexOptions options,
                 Port& port, EntrySink& sink);

// The entries IndexModule hands over from the start of `bytes` on when an
// entry's first line ends just before them: the lines are read on as they are
// after any entry. Nothing is reported (there is no form description).
void IndexModuleAfterEntry(std::string_view bytes, IndexOptions options, EntrySink& sink);

// The entries of `bytes`, the content of the file named `file_name`, in file
// order, by the rules `options` chooses. Never throws: a fault of a step is reported through `port`
// in the procedure error box and the pass goes on where the list builder would. A form file whose
// description block never closes is reported (fault 62) and gives no entries, so that nothing is
// ever read or saved at a position that does not belong to the declarations. `reuse` lends its
// storage: an index built again (after every save) does not grow a new list from nothing.
EntryList IndexModule(std::string_view bytes, const std::string& file_name, IndexOptions options,
                      Port& port, EntryList reuse = {});

}  // namespace qw
