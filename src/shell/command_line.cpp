#include "shell/command_line.h"

#include <QDir>
#include <QFile>

#include "document/editor.h"
#include "shell/frm_edit32.h"

namespace qw::shell {

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  bool options = true;
  auto bad = [&line](std::string why) {
    line.action = CommandLine::Action::kBadUsage;
    line.error = std::move(why);
    return line;
  };
  for (const std::string& a : args) {
    if (options && a == "--") {
      options = false;
    } else if (options && (a == "--help" || a == "-h")) {
      line.action = CommandLine::Action::kHelp;
      return line;
    } else if (options && a == "--version") {
      line.action = CommandLine::Action::kVersion;
      return line;
    } else if (options && a == "--whole") {
      line.whole = true;
    } else if (options && a.size() > 1 && a[0] == '-') {
      return bad("unknown option '" + a + "'");
    } else if (!line.file.empty()) {
      return bad("more than one FILE: '" + line.file + "' and '" + a + "'");
    } else if (a.empty()) {
      return bad("an empty FILE name");
    } else {
      line.file = a;
    }
  }
  if (line.whole && line.file.empty()) return bad("--whole needs a FILE");
  return line;
}

std::string UsageText() {
  return "usage: quillwright [--whole] [FILE]\n"
         "       quillwright --help | --version\n\n"
         "Starts the editor. A .bas, .frm, .cls or .prg FILE (in either letter case)\n"
         "is indexed into its entries, as Module Open does; any other FILE opens whole,\n"
         "as File Open does. Without FILE the window starts empty.\n\n"
         "Options:\n"
         "  --whole     open FILE whole, whatever its kind\n"
         "  --help      show this help\n"
         "  --version   show the version\n"
         "  --          what follows is FILE, even when it begins with '-'\n";
}

std::string VersionText() {
  return std::string("quillwright ") + QW_VERSION + "\n";
}

void OpenFromCommandLine(frmEdit32& window, const CommandLine& line) {
  if (line.file.empty()) return;
  const QString given = QFile::decodeName(QByteArray::fromStdString(line.file));
  const QByteArray full = QFile::encodeName(QDir::current().absoluteFilePath(given));
  const std::string path = full.toStdString();
  const OpenMode mode = line.whole ? OpenMode::kWholeText : OpenModeForFile(path);
  window.Run([&window, &path, mode] { window.editor().LoadFile(path, mode); });
}

}  // namespace qw::shell
