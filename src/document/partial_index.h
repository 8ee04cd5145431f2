// The partial index: the entries of a module that hold given byte offsets,
// found without indexing the whole module. A search that has found a few
// occurrences needs only the entries around them.
//
// It rests on one property of the indexer: a line that stops the indexer
// after an entry as a candidate header, and is a header, starts an entry
// whatever came before it, and the indexer leaves it in the same state. Such a
// line (a sure header) is a point the index can be taken up from. Before each
// far-off offset the module is searched backwards, line by line, for the
// nearest sure header; its entry is handed over, and the indexer reads on from
// the line after it over the offset's line. The stretch between is passed
// over. Near offsets, and offsets with no sure header near before them, are
// reached by indexing on.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "document/module_index.h"

namespace qw {

// Hands `sink`, in file order, a part of the entries IndexModule hands over
// for the same bytes: for every offset in `offsets` (ascending byte offsets
// into `bytes`) the last entry that starts at or before it, and any entries
// between those; an entry is never handed over twice. The entries handed over
// are the same, with the same names and positions, as IndexModule's, so that
// "the last entry handed over that starts at or before an offset" is the same
// entry in both lists. A file without a declarations entry (KindOfModule is
// kPlain), and a form whose description block never closes, are indexed whole
// (the latter reported through `port`, as IndexModule reports it). Nothing is
// handed over for no offsets, unless the file is indexed whole. Returns
// whether the module has an entry at all (handed over or not).
//
// `reach` says how far apart offsets must lie for the stretch between them to
// be passed over, and how far back a sure header is looked for; the defaults
// suit modules of any size.
struct NearReach {
  size_t gap = 384;
  size_t back = 64 * 1024;
};
bool IndexModuleNear(std::string_view bytes, const std::string& file_name, IndexOptions options,
                     Port& port, const std::vector<size_t>& offsets, EntrySink& sink,
                     NearReach reach = {});

}  // namespace qw
