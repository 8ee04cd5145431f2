// The module files of a subcommand that works on several at once (qwtool list
// and find with several FILEs, or -r): which files they are, in which order,
// and the run over them on every core, whose output comes out in that order
// whatever order the files were done in.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"

namespace qw::cli {

// True when the file name of `path` ends in .bas, .frm, .cls or .prg, letter
// case ignored.
bool IsModuleFileName(std::string_view path);

struct ModuleFile {
  std::string path;
  bool listed_regular = false;  // a folder's listing told that it is a regular file
  bool operator<(const ModuleFile& other) const { return path < other.path; }
};

struct ModuleFileList {
  std::vector<ModuleFile> files;    // sorted by path, bytes compared, no repeats
  std::vector<std::string> faults;  // "qwtool: PATH: REASON", a folder that could not be walked
};

// The files `operands` name. With `recursive`, an operand that is a folder
// stands for every file beneath it whose name IsModuleFileName accepts;
// symbolic links met on the way are not followed (neither to files nor to
// folders), a folder that cannot be read is told in `faults` and the walk
// goes on. Any other operand stands for itself, whatever it is: a folder
// without `recursive` or a missing file is then refused when it is opened.
ModuleFileList CollectModuleFiles(const std::vector<std::string>& operands, bool recursive);

// One file's work: writes the file's output lines to `out` (empty at first);
// the messages of the editor go through `port`, which collects them for this
// file alone. `bytes` are the file's whole content, or null when the file
// could not be read (the work then reads it by its path, which tells why). A
// Refusal it throws is told as "qwtool: WHAT", and the file counts as failed.
using FileWork = std::function<void(const std::string& path, const std::string_view* bytes,
                                    HeadlessPort& port, std::string& out)>;

// Reads every file of `files` (ReadFileInto, from its folder) and runs `work`
// on it, on as many threads as there are
// cores (at most one per file, this one among them), then writes each file's
// output to ctx.out and its message lines to ctx.err, file after file in the
// order of `files`, as soon as it and the files before it are done (the
// output in large writes, always before the messages of a later file). True
// when no file's port told of a refusal or a fault. `work` must touch nothing
// shared but what it only reads.
bool RunOverFiles(Context& ctx, const std::vector<ModuleFile>& files, const FileWork& work);

}  // namespace qw::cli
