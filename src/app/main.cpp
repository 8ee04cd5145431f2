// quillwright: the editor. It takes no command line and keeps no settings.
#include <QApplication>

#include "shell/frm_edit32.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName("Quillwright");
  qw::shell::frmEdit32 window;
  window.show();
  return app.exec();
}
