#include "cli/cmd_module.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <optional>

#include "cli/module_files.h"
#include "document/editor.h"
#include "document/entry_text.h"
#include "document/module_document.h"
#include "document/module_file.h"
#include "document/module_index.h"
#include "find/module_search.h"
#include "find/text_search.h"
#include "platform/fault.h"
#include "platform/report.h"
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
      if (entries.name(i) == wanted) return i;
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

// The characters of `s` as a JSON string holds them, without the quotes.
void AppendJsonChars(std::string& out, std::string_view s) {
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
}

void AppendJsonString(std::string& out, std::string_view s) {
  out += '"';
  AppendJsonChars(out, s);
  out += '"';
}

// Writes the entry list of a module as qwtool list prints it, straight from
// the index: the names are views into the module's bytes, copied once, into
// the output. Alone, a file's entries are "NAME|0001234" lines, or one JSON
// array; with `path` (several files), "PATH|NAME|0001234" lines, or one
// JSON object per line. With `spill`, the output is written there whenever
// it holds a chunk, so that it never grows beyond one.
class Listing : public EntrySink {
 public:
  // A chunk of 64 KB: each fresh page of the output costs a fault, dearer than a write.
  static constexpr size_t kChunk = 64 * 1024;
  // Room the plain lines are written into at once, at most; `out` is cut
  // back to what was written by Trim.
  static constexpr size_t kRoom = 64 * 1024;

  Listing(std::string& out, const std::string* path, bool json, TextOut* spill = nullptr)
      : out_(out), path_(path), json_(json), spill_(spill) {
    if (json_ && !path_) out_ += '[';
    used_ = out_.size();
  }
  // `out` holds exactly the listing's bytes again, whatever ended the index.
  ~Listing() { Trim(); }
  Listing(const Listing&) = delete;
  Listing& operator=(const Listing&) = delete;

  void Add(std::string_view name, std::string_view suffix, Int position) override {
    // The usual line is written by a call of its own, kept lean: the first
    // entry and the JSON objects go the longer way.
    if (count_ == 0 || json_) {
      AddFirstOrJson(name, suffix, position);
    } else {
      AddLine(name, suffix, position);
      ++count_;
    }
    if (spill_ && used_ >= kChunk) Spill();
  }
  // Ends the listing; the first entry when there is one.
  const ProcedureEntry* Finish() {
    Trim();
    if (json_ && !path_) out_ += count_ ? "\n]\n" : "]\n";
    used_ = out_.size();
    return count_ ? &first_ : nullptr;
  }

 private:
  // Add of the first entry (kept) and of every JSON object.
  __attribute__((noinline)) void AddFirstOrJson(std::string_view name, std::string_view suffix,
                                                Int position) {
    if (count_ == 0) first_ = {std::string(name).append(suffix), position};
    if (!json_) {
      AddLine(name, suffix, position);
    } else {
      if (path_) {
        out_ += "{\"path\": ";
        AppendJsonString(out_, *path_);
        out_ += ", \"index\": ";
      } else {
        out_ += count_ ? ",\n {\"index\": " : "\n {\"index\": ";
      }
      out_ += std::to_string(count_) + ", \"name\": \"";
      AppendJsonChars(out_, name);
      AppendJsonChars(out_, suffix);
      out_ += "\", \"position\": " + std::to_string(position) + '}';
      if (path_) out_ += '\n';
      used_ = out_.size();
    }
    ++count_;
  }
  // Writes out the chunk the output holds.
  __attribute__((noinline)) void Spill() {
    spill_->Write(std::string_view(out_.data(), used_));
    used_ = 0;
    if (json_) out_.clear();
  }
  // "PATH|NAME|0001234" or "NAME|0001234", written into the room after
  // used_ without a call per piece.
  void AddLine(std::string_view name, std::string_view suffix, Int position) {
    const size_t need =
        (path_ ? path_->size() + 1 : 0) + name.size() + suffix.size() + kPositionRoom + 2;
    if (out_.size() - used_ < need) Grow(need);
    char* p = out_.data() + used_;
    if (path_) {
      p = CopyBytes(p, *path_);
      *p++ = '|';
    }
    p = CopyBytes(p, name);
    if (!suffix.empty()) p = CopyBytes(p, suffix);
    *p++ = '|';
    p = WritePosition(p, position);
    *p++ = '\n';
    used_ = static_cast<size_t>(p - out_.data());
  }
  // Room for `need` bytes after used_. The room doubles up to a chunk: the
  // listing of one small module of many does not clear a whole chunk of room.
  __attribute__((noinline)) void Grow(size_t need) {
    out_.resize(used_ + std::max(need, std::min(kRoom, std::max(used_, size_t{256}))));
  }
  void Trim() {
    if (out_.size() > used_) out_.resize(used_);
  }

  std::string& out_;
  const std::string* path_;
  bool json_;
  TextOut* spill_;
  size_t used_ = 0;  // the bytes of `out` written; room may follow them
  size_t count_ = 0;
  ProcedureEntry first_;
};

// Appends the listing of the module `path` to `out`, as the Editor would
// list it when it opens the module: the boxes it would show (the index's
// faults, and those of showing entry 0: "Procedure Too Large", "Large File
// Warning", a fault of reading it) go through `port`, the module is read once
// and entry 0 is shown from those bytes. False, with nothing appended and
// nothing told, when the module cannot be read: the Editor then opens it and
// tells why. With `spill`, the output goes there a chunk at a time as it grows
// (Listing); what is left of it stays in `out`. `spare` as FileBytes::Read
// takes it.
// AppendListing of the module's `bytes`, already read.
void AppendBytesListing(std::string& out, std::string_view bytes, const std::string& path,
                        bool with_path, bool json, IndexOptions options, Port& port,
                        TextOut* spill = nullptr) {
  // A module alone may list many entries: its listing takes room for a chunk
  // of them and the room after it at once (it is written out before it grows
  // further). One of several grows as it needs, in the room earlier ones left.
  if (spill) {
    out.reserve(out.size() + std::min(bytes.size() / 4, Listing::kChunk) + Listing::kRoom + 4096);
  }
  Listing listing(out, with_path ? &path : nullptr, json, spill);
  IndexModule(bytes, path, options, port, listing);
  if (const ProcedureEntry* first = listing.Finish()) {
    try {
      TellEntrySize(bytes, first->view(), options, port);
    } catch (const Fault& f) {
      ShowProcedureError(port, f);
    }
  }
}

bool AppendListing(std::string& out, const std::string& path, bool with_path, bool json,
                   IndexOptions options, Port& port, std::string& spare, TextOut* spill = nullptr) {
  FileBytes bytes;
  try {
    bytes = FileBytes::Read(path, spare);
  } catch (const Fault&) {
    return false;
  }
  AppendBytesListing(out, bytes.view(), path, with_path, json, options, port, spill);
  return true;
}

// The listing of a module AppendListing could not read, as the Editor gives it
// when it opens the module: it tells why through `port`.
void AppendEditorListing(std::string& out, const std::string& path, bool with_path, bool json,
                         IndexOptions options, Port& port) {
  Editor editor(port);
  editor.StartUp();
  editor.SetIndexOptions(options);
  editor.LoadFile(path, OpenMode::kIndexed);
  Listing listing(out, with_path ? &path : nullptr, json);
  for (const EntryView e : editor.doc().entries()) listing.Add(e.name, {}, e.position);
  listing.Finish();
}

// qwtool list with several FILEs or -r.
int RunListMany(Context& ctx, const std::vector<std::string>& operands, bool recursive, bool json) {
  const ModuleFileList list = CollectModuleFiles(operands, recursive);
  for (const std::string& fault : list.faults) ctx.err << fault << '\n';
  const IndexOptions options = ctx.index_options;
  const bool ok =
      RunOverFiles(ctx, list.files,
                   [&](const std::string& path, const std::string_view* bytes, HeadlessPort& port,
                       std::string& out) {
                     std::string spare;
                     if (bytes) {
                       AppendBytesListing(out, *bytes, path, true, json, options, port);
                     } else if (!AppendListing(out, path, true, json, options, port, spare)) {
                       AppendEditorListing(out, path, true, json, options, port);
                     }
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
  std::string text, spare;
  if (!AppendListing(text, p.operands[0], false, json, ctx.index_options, ctx.port, spare,
                     &ctx.out)) {
    AppendEditorListing(text, p.operands[0], false, json, ctx.index_options, ctx.port);
  }
  ctx.out << text;
  return ctx.port.failed() ? kExitFailed : kExitDone;
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

// FindInFile in the file's `bytes`, already read.
void FindInBytes(std::string_view view, const std::string& path, const std::string& pattern,
                 bool match_case, IndexOptions options, Port& port, const std::string& prefix,
                 std::string& out, TextOut* flush_to = nullptr) {
  constexpr size_t kBlock = 64 * 1024;
  if (flush_to) out.reserve(kBlock + 1024);
  const auto flush = [&] {
    flush_to->Write(out);
    out.clear();
  };
  const HitSink write = [&](const ModuleHitView& h) {
    // Room for the whole line first, then its pieces copied in.
    const size_t at = out.size();
    out.resize(at + prefix.size() + h.entry_name.size() + h.line_text.size() + 24);
    char* p = out.data() + at;
    const auto put = [&p](std::string_view piece) {
      std::memcpy(p, piece.data(), piece.size());
      p += piece.size();
    };
    put(prefix);
    put(h.entry_name);
    *p++ = '|';
    p = std::to_chars(p, p + 20, h.line).ptr;
    *p++ = '|';
    put(h.line_text);
    *p++ = '\n';
    out.resize(static_cast<size_t>(p - out.data()));
    if (flush_to && out.size() >= kBlock) flush();
  };
  FindInModuleFile(view, path, options, pattern, match_case, port, write);
  if (flush_to) flush();
}

// The hit lines of one file: "ENTRY|LINE|TEXT", each after `prefix`, appended to `out`; when
// `flush_to` is given, `out` is written to it whenever it grows past a block, and at the end.
// Throws Refusal when the file cannot be read. `spare` as FileBytes::Read takes it.
void FindInFile(const std::string& path, const std::string& pattern, bool match_case,
                IndexOptions options, Port& port, const std::string& prefix, std::string& spare,
                std::string& out, TextOut* flush_to = nullptr) {
  // The file is read once: the index and the search share its bytes.
  FileBytes bytes;
  try {
    bytes = FileBytes::Read(path, spare);
  } catch (const Fault& f) {
    throw Refusal("cannot read " + path + ": " + f.description());
  }
  FindInBytes(bytes.view(), path, pattern, match_case, options, port, prefix, out, flush_to);
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
    std::string spare;
    std::string out;
    FindInFile(files[0], pattern, match_case, ctx.index_options, ctx.port, "", spare, out,
               &ctx.out);
    return kExitDone;
  }
  const ModuleFileList list = CollectModuleFiles(files, p.Option("-r").has_value());
  for (const std::string& fault : list.faults) ctx.err << fault << '\n';
  const IndexOptions options = ctx.index_options;
  const bool ok = RunOverFiles(
      ctx, list.files,
      [&](const std::string& path, const std::string_view* bytes, HeadlessPort& port,
          std::string& out) {
        std::string spare;
        if (bytes) {
          FindInBytes(*bytes, path, pattern, match_case, options, port, path + "|", out);
        } else {
          FindInFile(path, pattern, match_case, options, port, path + "|", spare, out);
        }
      });
  return ok && list.faults.empty() ? kExitDone : kExitFailed;
}

}  // namespace qw::cli
