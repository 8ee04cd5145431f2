#include "shell/module_watch.h"

#include <QFileInfo>

#include "document/editor.h"

namespace qw::shell {

ModuleWatch::ModuleWatch(Editor& editor, QObject* parent)
    : QObject(parent), editor_(editor), watcher_(new QFileSystemWatcher(this)) {
  connect(watcher_, &QFileSystemWatcher::fileChanged, this, [this] { Changed(); });
}

void ModuleWatch::Follow() {
  const ModuleDocument& doc = editor_.doc();
  const std::string wanted = doc.indexed() ? doc.file_name() : std::string();
  const QString path = QString::fromStdString(wanted);
  if (wanted == watched_ && (wanted.empty() || watcher_->files().contains(path))) return;
  if (!watcher_->files().isEmpty()) watcher_->removePaths(watcher_->files());
  watched_ = wanted;
  if (!wanted.empty() && QFileInfo::exists(path)) watcher_->addPath(path);
}

void ModuleWatch::Changed() {
  editor_.FileChangedOnDisk();
  watched_.clear();  // a file replaced by a rename is watched anew
  Follow();
}

}  // namespace qw::shell
