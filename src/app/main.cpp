// quillwright: the editor. `quillwright [--whole] [FILE]`; see shell/command_line.h.
#include <QApplication>
#include <cstring>
#include <iostream>
#include <string>
#include <vector>

#include "shell/command_line.h"
#include "shell/frm_edit32.h"

namespace {

// Answers --help and --version before any window system is needed: they work
// without a display. Returns -1 when the editor is to start.
int AnswerWithoutWindow(int argc, char** argv) {
  for (int i = 1; i < argc && std::strcmp(argv[i], "--") != 0; ++i) {
    if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
      std::cout << qw::shell::UsageText();
      return 0;
    }
    if (!std::strcmp(argv[i], "--version")) {
      std::cout << qw::shell::VersionText();
      return 0;
    }
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (const int status = AnswerWithoutWindow(argc, argv); status >= 0) return status;
  QApplication app(argc, argv);
  QApplication::setApplicationName("Quillwright");
  QApplication::setDesktopFileName("quillwright");

  // Qt has taken its own options (-platform, -style, ...) out of the arguments.
  std::vector<std::string> args;
  const QStringList given = QApplication::arguments();
  for (qsizetype i = 1; i < given.size(); ++i) args.push_back(given[i].toLocal8Bit().toStdString());
  const qw::shell::CommandLine line = qw::shell::ParseCommandLine(args);
  if (line.action == qw::shell::CommandLine::Action::kBadUsage) {
    std::cerr << "quillwright: " << line.error << "\n" << qw::shell::UsageText();
    return 1;
  }

  qw::shell::frmEdit32 window;
  window.show();
  qw::shell::OpenFromCommandLine(window, line);
  return app.exec();
}
