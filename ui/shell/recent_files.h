#pragma once

#include <utility>

#include <QString>
#include <QStringList>

namespace teravo {

// The files opened or saved last, newest first, kept in the program's settings under `key`
// so the next start offers them too: parameter files unless another key is given.
class RecentFiles {
 public:
  static constexpr int kMaxFiles = 5;

  explicit RecentFiles(QString key = QStringLiteral("parameterFiles/recent"))
      : key_(std::move(key)) {}

  QStringList List() const;
  // Puts `path` first; the oldest beyond kMaxFiles drops out.
  void Add(const QString& path);
  void Remove(const QString& path);
  void Clear();

 private:
  void Store(const QStringList& files) const;

  QString key_;
};

}  // namespace teravo
