#pragma once

#include <QString>
#include <QStringList>

namespace teravo {

// The parameter files opened or saved last, newest first, kept in the program's settings so
// the next start offers them too.
class RecentFiles {
 public:
  static constexpr int kMaxFiles = 5;

  QStringList List() const;
  // Puts `path` first; the oldest beyond kMaxFiles drops out.
  void Add(const QString& path);
  void Remove(const QString& path);

 private:
  static void Store(const QStringList& files);
};

}  // namespace teravo
