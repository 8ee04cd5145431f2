#include "cli/cmd_module.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>
#include <ostream>

#include "cli/module_files.h"
#include "document/editor.h"
#include "document/module_document.h"
#include "document/module_file.h"
#include "document/module_index.h"
#include "find/module_search.h"
#include "platform/fault.h"
#include "textlib/cliplib.h"

namespace qw::cli {

namespace {

// An Editor wired to the headless port as the window wires it to its controls.
class Session {
 public:
  explicit Session(Context& ctx) : ctx_(ctx), editor_(ctx.port) {
    ctx_.port.on_entry_click = [this] { editor_.ChooseEntry(); };
    ctx_.port.on_pane_change = [this] { editor_.NotePaneEdited(); };
    editor_.StartUp();
    editor_.SetIndexOptions(ctx.index_options);
  }
  ~Session() {
    ctx_.port.on_entry_click = nullptr;
    ctx_.port.on_pane_change = nullptr;
  }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  Editor& editor() { return editor_; }
  const ModuleDocument& doc() const { return editor_.doc(); }
  // True when a box of this run of qwtool told of a refusal or a fault.
  bool Failed() const { return ctx_.port.failed(); }

  // Module Open of `file`: true when it was indexed without a failure.
  bool Open(const std::string& file) {
    editor_.LoadFile(file, OpenMode::kIndexed);
    return !Failed();
  }

  // The index of the entry named by `wanted` ("#N" or a name as listed).
  size_t FindEntry(const std::string& wanted) const {
    const auto& entries = doc().entries();
    if (wanted.size() > 1 && wanted[0] == '#') {
      size_t n = 0;
      const char* first = wanted.data() + 1;
      const char* last = wanted.data() + wanted.size();
      const auto [end, ec] = std::from_chars(first, last, n);
      if (ec != std::errc() || end != last || n >= entries.size()) {
        throw UsageError("unknown entry " + wanted);
      }
      return n;
    }
    for (size_t i = 0; i < entries.size(); ++i) {
      if (entries[i].name == wanted) return i;
    }
    throw UsageError("unknown entry " + wanted);
  }

  // Selects entry `index` as the entry list does: true when no failure followed.
  bool Select(size_t index) {
    ctx_.port.SetEntrySelectedIndex(static_cast<int>(index));
    return !Failed();
  }

 private:
  Context& ctx_;
  Editor editor_;
};

// Splits the arguments into operands and the values of the options named in
// `valued`; `flags` are options without a value. Throws UsageError for any
// other option.
struct Parsed {
  std::vector<std::string> operands;
  std::vector<std::pair<std::string, std::string>> options;
  std::optional<std::string> Option(const std::string& name) const {
    for (const auto& [n, v] : options) {
      if (n == name) return v;
    }
    return std::nullopt;
  }
};

Parsed Parse(const std::vector<std::string>& args, const std::vector<std::string>& flags,
             const std::vector<std::string>& valued) {
  Parsed p;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (a.size() > 1 && a[0] == '-') {
      if (std::find(flags.begin(), flags.end(), a) != flags.end()) {
        p.options.emplace_back(a, "");
        continue;
      }
      if (std::find(valued.begin(), valued.end(), a) != valued.end()) {
        if (i + 1 >= args.size()) throw UsageError("missing value for " + a);
        p.options.emplace_back(a, args[++i]);
        continue;
      }
      throw UsageError("unknown option " + a);
    }
    p.operands.push_back(a);
  }
  return p;
}

void AppendJsonString(std::string& out, std::string_view s) {
  out += '"';
  for (const char c : s) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", u);
      out += buf;
    } else {
      out += c;
    }
  }
  out += '"';
}

// The entry list of one file of several: one line per entry, prefixed by the
// file's path ("PATH|NAME|0001234"), or one JSON object per line.
void AppendPathListing(std::string& out, const std::string& path,
                       const std::vector<ProcedureEntry>& entries, bool json) {
  for (size_t i = 0; i < entries.size(); ++i) {
    const ProcedureEntry& e = entries[i];
    if (json) {
      out += "{\"path\": ";
      AppendJsonString(out, path);
      out += ", \"index\": " + std::to_string(i) + ", \"name\": ";
      AppendJsonString(out, e.name);
      out += ", \"position\": " + std::to_string(e.position) + "}\n";
    } else {
      out.append(path).append("|").append(e.name).append("|");
      out.append(FormatPosition(e.position)).push_back('\n');
    }
  }
}

// qwtool list with several FILEs or -r.
int RunListMany(Context& ctx, const std::vector<std::string>& operands, bool recursive, bool json) {
  const ModuleFileList list = CollectModuleFiles(operands, recursive);
  for (const std::string& fault : list.faults) ctx.err << fault << '\n';
  const IndexOptions options = ctx.index_options;
  const bool ok = RunOverFiles(ctx, list.files,
                               [&](const std::string& path, HeadlessPort& port, std::string& out) {
                                 Editor editor(port);
                                 editor.StartUp();
                                 editor.SetIndexOptions(options);
                                 editor.LoadFile(path, OpenMode::kIndexed);
                                 AppendPathListing(out, path, editor.doc().entries(), json);
                               });
  return ok && list.faults.empty() ? kExitDone : kExitFailed;
}

}  // namespace

int RunList(Context& ctx, const std::vector<std::string>& args) {
  const Parsed p = Parse(args, {"--json", "-r"}, {});
  if (p.operands.empty()) throw UsageError("list takes one FILE or more");
  const bool json = p.Option("--json").has_value();
  if (p.operands.size() > 1 || p.Option("-r")) {
    return RunListMany(ctx, p.operands, p.Option("-r").has_value(), json);
  }
  Session s(ctx);
  const bool ok = s.Open(p.operands[0]);
  const auto& entries = s.doc().entries();
  std::string text;
  if (json) {
    text += '[';
    for (size_t i = 0; i < entries.size(); ++i) {
      text += i ? ",\n " : "\n ";
      text += "{\"index\": " + std::to_string(i) + ", \"name\": ";
      AppendJsonString(text, entries[i].name);
      text += ", \"position\": " + std::to_string(entries[i].position) + '}';
    }
    text += entries.empty() ? "]\n" : "\n]\n";
  } else {
    text.reserve(entries.size() * 24);
    for (const ProcedureEntry& e : entries) {
      text.append(e.name).append("|").append(FormatPosition(e.position)).push_back('\n');
    }
  }
  ctx.out << text;
  return ok ? kExitDone : kExitFailed;
}

int RunShow(Context& ctx, const std::vector<std::string>& args) {
  const Parsed p = Parse(args, {}, {});
  if (p.operands.size() != 2) throw UsageError("show takes FILE and ENTRY");
  Session s(ctx);
  if (!s.Open(p.operands[0])) return kExitFailed;
  const size_t index = s.FindEntry(p.operands[1]);
  if (!s.Select(index)) return kExitFailed;
  ctx.out << ctx.port.PaneText();
  return kExitDone;
}

int RunReplace(Context& ctx, const std::vector<std::string>& args) {
  // The module stays locked from its indexing to the save: a second replace
  // of the same module waits and then works on the file this one wrote.
  const Parsed p = Parse(args, {}, {"--to"});
  if (p.operands.size() < 2 || p.operands.size() > 3) {
    throw UsageError("replace takes FILE, ENTRY and an optional TEXTFILE");
  }
  const std::optional<std::string> to = p.Option("--to");
  if (to && IsEmptyValue(std::string_view(*to))) throw UsageError("--to needs a file name");
  const std::string text_path = p.operands.size() == 3 ? p.operands[2] : "-";
  Session s(ctx);
  s.editor().HoldModuleLock(!to);
  if (!s.Open(p.operands[0])) return kExitFailed;
  const size_t index = s.FindEntry(p.operands[1]);
  const std::string text = ToPaneText(ReadInput(ctx, text_path));
  // A text of blanks and line ends only would delete the entry: refused.
  if (text.find_first_not_of(" \r\n") == std::string::npos) {
    ctx.err << "qwtool: the new text is empty: nothing was saved\n";
    return kExitFailed;
  }
  if (!s.Select(index)) return kExitFailed;
  ctx.port.SetPaneText(text);
  if (to) {
    s.editor().SaveTo(*to);
  } else {
    s.editor().Save();
  }
  return s.Failed() ? kExitFailed : kExitDone;
}

}  // namespace qw::cli

namespace qw::cli {

namespace {

// The hit lines of one file: "ENTRY|LINE|TEXT", each after `prefix`. Throws
// Refusal when the file cannot be read.
std::string FindInFile(const std::string& path, const std::string& pattern, bool match_case,
                       IndexOptions options, Port& port, const std::string& prefix) {
  // The file is read once: the index and the search share its mapped bytes.
  FileBytes bytes;
  try {
    bytes = FileBytes::Read(path);
  } catch (const Fault& f) {
    throw Refusal("cannot read " + path + ": " + f.description());
  }
  const std::vector<ProcedureEntry> entries = IndexModule(bytes.view(), path, options, port);
  const std::vector<ModuleHit> hits =
      entries.empty() ? FindLinesInText(bytes.view(), pattern, match_case)
                      : FindInModuleBytes(bytes.view(), entries, options, pattern, match_case);
  std::string out;
  out.reserve(hits.size() * 64);
  for (const ModuleHit& h : hits) {
    out.append(prefix).append(h.entry_name).push_back('|');
    out.append(std::to_string(h.line)).push_back('|');
    out.append(h.line_text).push_back('\n');
  }
  return out;
}

}  // namespace

int RunFind(Context& ctx, const std::vector<std::string>& args) {
  const Parsed p = Parse(args, {"--match-case", "-r"}, {});
  if (p.operands.size() < 2) throw UsageError("find takes FILE and TEXT");
  const std::string& pattern = p.operands.back();
  if (pattern.empty()) throw UsageError("find needs a TEXT to search for");
  const bool match_case = p.Option("--match-case").has_value();
  const std::vector<std::string> files(p.operands.begin(), p.operands.end() - 1);
  if (files.size() == 1 && !p.Option("-r")) {
    ctx.out << FindInFile(files[0], pattern, match_case, ctx.index_options, ctx.port, "");
    return kExitDone;
  }
  const ModuleFileList list = CollectModuleFiles(files, p.Option("-r").has_value());
  for (const std::string& fault : list.faults) ctx.err << fault << '\n';
  const IndexOptions options = ctx.index_options;
  const bool ok = RunOverFiles(
      ctx, list.files, [&](const std::string& path, HeadlessPort& port, std::string& out) {
        out = FindInFile(path, pattern, match_case, options, port, path + "|");
      });
  return ok && list.faults.empty() ? kExitDone : kExitFailed;
}

}  // namespace qw::cli
