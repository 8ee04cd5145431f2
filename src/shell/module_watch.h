// Module watch: keeps an eye on the open module's file on disk while the
// window shows it, and tells the editor when another program changed it, so
// that the user is asked whether to list its entries again.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <string>

namespace qw {
class Editor;
}

namespace qw::shell {

class ModuleWatch : public QObject {
 public:
  ModuleWatch(Editor& editor, QObject* parent);
  // Watches the document's file as it now stands: call after every handler.
  // A save replaces the file by a new one, which is watched again.
  void Follow();

 private:
  void Changed();
  Editor& editor_;
  QFileSystemWatcher* watcher_;
  std::string watched_;
};

}  // namespace qw::shell
