#pragma once

#include <functional>

#include <QList>
#include <QObject>
#include <QString>

#include "params/parameter_file.h"
#include "ui/common/message_sink.h"
#include "ui/shell/recent_files.h"

class QAction;
class QMenu;
class QWidget;

namespace teravo {

class TfmSettings;

// "Открыть параметры…", "Сохранить параметры…" and the last files of the File menu: the
// settings dialog's texts and new-error mode in a *.teravo.json file. Opening fills the dialog
// and accepts its texts as F2 in the dialog would, so every check applies with its message and
// the plays that follow run what the file says.
class ParameterFileActions : public QObject {
  Q_OBJECT
 public:
  // Asks for a file to open (`save` false) or to save to; empty when the user cancelled.
  using PathChooser = std::function<QString(bool save)>;

  ParameterFileActions(TfmSettings& settings, MessageSink& messages, QWidget& frame);

  // Puts the commands at the top of `menu`: open, save, `also` (if any), the recent files.
  void AddTo(QMenu& menu, QAction* also);

  // Fills the dialog from the file and accepts its texts; a file that does not open is
  // reported, dropped from the recent files and leaves the dialog as it was. True when it
  // opened, whether or not its texts were accepted.
  bool Open(const QString& path);
  // Writes what the dialog holds now; true when written.
  bool Save(const QString& path);
  // Writes `file` (a set the dialog does not hold, a fitted one) to a file the user chooses, as
  // the menu's command does with the dialog's texts; true when written.
  bool SaveAsked(const ParameterFile& file);

  QAction* OpenAction() const { return aOpen_; }
  QAction* SaveAction() const { return aSave_; }
  // Empties the list of recent files.
  QAction* ClearRecentAction() const { return aClearRecent_; }
  // The menu's items for the recent files, newest first.
  const QList<QAction*>& RecentActions() const { return recentItems_; }
  RecentFiles& Recent() { return recent_; }
  void SetPathChooser(PathChooser chooser) { choose_ = std::move(chooser); }
  // The file last opened or saved with the dialog's texts; empty before any.
  const QString& CurrentFile() const { return current_; }

 signals:
  void CurrentFileChanged(const QString& path);

 private:
  QString ChooseWithDialog(bool save) const;
  // The path to save to, with the double suffix; empty when the user cancelled.
  QString AskSavePath() const;
  bool Save(const QString& path, const ParameterFile& file);
  void UpdateRecentItems();
  void SetCurrentFile(const QString& path);

  TfmSettings& settings_;
  MessageSink& messages_;
  QWidget& frame_;
  PathChooser choose_;
  RecentFiles recent_;
  QString current_;
  QAction* aOpen_ = nullptr;
  QAction* aSave_ = nullptr;
  QMenu* menu_ = nullptr;
  QAction* anchor_ = nullptr;        // the menu's first item before these were added
  QAction* recentEnd_ = nullptr;     // the separator after the recent files, while there are any
  QAction* aClearRecent_ = nullptr;  // "Очистить список", under the recent files
  QList<QAction*> recentItems_;
};

}  // namespace teravo
