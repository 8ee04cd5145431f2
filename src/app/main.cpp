// quillwright: the editor.
#include <QApplication>

#include "shell/frm_edit32.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  qw::shell::frmEdit32 window;
  window.show();
  return app.exec();
}
