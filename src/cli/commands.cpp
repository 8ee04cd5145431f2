#include "cli/commands.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <system_error>

#include "cli/cmd_module.h"
#include "cli/cmd_text.h"

namespace qw::cli {

const std::vector<Command>& Commands() {
  static const std::vector<Command> commands = {
      {"list", RunList, "list [--json] [-r] FILE...    list the entries of modules (-r: folders)"},
      {"show", RunShow, "show FILE ENTRY               print one entry's text"},
      {"replace", RunReplace, "replace FILE ENTRY [TEXTFILE|-] [--to NEWFILE]  save one entry"},
      {"find", RunFind, "find [--match-case] [-r] FILE... TEXT  print every line that holds TEXT"},
      {"indent", RunIndent, "indent [FILE|-]               indent Basic code by its blocks"},
      {"comment", RunComment, "comment [FILE|-]              comment out every line"},
      {"uncomment", RunUncomment,
       "uncomment [FILE|-]            take one comment mark off every line"},
      {"convert", RunConvert, "convert [FILE|-]              convert xBase code to Basic"},
      {"print", RunPrint, "print [FILE|-] --pdf OUT | --layout  print a listing"},
  };
  return commands;
}

namespace {

std::string ReadFd(int fd, size_t size_hint) {
  std::string text;
  text.reserve(size_hint);
  char block[1 << 16];
  for (;;) {
    const ssize_t got = ::read(fd, block, sizeof block);
    if (got > 0) {
      text.append(block, static_cast<size_t>(got));
    } else if (got == 0) {
      return text;
    } else if (errno != EINTR) {
      throw std::system_error(errno, std::generic_category());
    }
  }
}

}  // namespace

std::string ReadInput(Context& ctx, const std::string& path) {
  if (path == "-") {
    try {
      return ReadFd(ctx.in, 0);
    } catch (const std::system_error& e) {
      throw Refusal(std::string("cannot read standard input: ") + std::strerror(e.code().value()));
    }
  }
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) throw Refusal("cannot read " + path + ": " + std::strerror(errno));
  struct stat st {};
  std::string text;
  try {
    if (::fstat(fd, &st) != 0) throw std::system_error(errno, std::generic_category());
    if (S_ISDIR(st.st_mode)) throw std::system_error(EISDIR, std::generic_category());
    if (!S_ISREG(st.st_mode)) {
      ::close(fd);
      throw Refusal("cannot read " + path + ": not a regular file");
    }
    text = ReadFd(fd, static_cast<size_t>(st.st_size));
  } catch (const std::system_error& e) {
    ::close(fd);
    throw Refusal("cannot read " + path + ": " + std::strerror(e.code().value()));
  }
  ::close(fd);
  return text;
}

int FinishOutput(TextOut& out, TextOut& err, int status) {
  int why = out.Flush() ? 0 : out.Error();
  // Standard output is closed here, so that an error the system tells only
  // at the close is seen too; nothing is written to it after this.
  if (why == 0 && ::close(STDOUT_FILENO) != 0 && errno != EBADF) why = errno;
  if (why == 0) return status;
  err << "qwtool: cannot write the output: " << std::strerror(why) << "\n";
  return kExitFailed;
}

std::string ToPaneText(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  char prev = '\0';
  for (char c : text) {
    if (c == '\n' && prev != '\r') out += '\r';
    out += c;
    prev = c;
  }
  return out;
}

}  // namespace qw::cli
