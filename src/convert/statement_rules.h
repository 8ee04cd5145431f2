// The statement chain of the converter: the fixed sequence of rules that each
// xBase line passes through after its comments have been handled. Declarations
// become Dim/Global lines, database commands become record-set calls on the
// current record-set name, control flow becomes its Basic form, procedure
// headers become Sub/Function headers, and statements with no Basic
// counterpart become comments. The order of the rules is part of the result.
#pragma once

#include <string>

#include "convert/conversion_state.h"

namespace qw {

// How a line leaves the chain: it is to be emitted (renamed and written), or
// the rule that took it has written its own lines (or none).
enum class ChainEnd { kEmit, kNextLine };

// Runs the chain on state.line (upper_line set from it). Rewrites the line,
// updates the state, and appends the lines a rule writes ahead of the
// line (each ended by CR LF) to `out`. A 16-bit overflow of the block depth
// throws Fault 6 when the limits apply.
ChainEnd RunStatementChain(ConversionState& state, std::string& out);

}  // namespace qw
