#include "ui/shell/recent_files.h"

#include <QFileInfo>
#include <QSettings>

namespace teravo {

namespace {

// One file reached by two spellings of its path is one entry.
QString Normalised(const QString& path) {
  return QFileInfo(path).absoluteFilePath();
}

}  // namespace

QStringList RecentFiles::List() const {
  QStringList files = QSettings().value(key_).toStringList();
  files.removeAll(QString());
  files.removeDuplicates();
  return files.mid(0, kMaxFiles);
}

void RecentFiles::Add(const QString& path) {
  const QString file = Normalised(path);
  QStringList files = List();
  files.removeAll(file);
  files.prepend(file);
  Store(files.mid(0, kMaxFiles));
}

void RecentFiles::Remove(const QString& path) {
  QStringList files = List();
  files.removeAll(Normalised(path));
  files.removeAll(path);
  Store(files);
}

void RecentFiles::Clear() {
  Store({});
}

void RecentFiles::Store(const QStringList& files) const {
  QSettings().setValue(key_, files);
}

}  // namespace teravo
