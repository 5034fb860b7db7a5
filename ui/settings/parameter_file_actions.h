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
// settings dialog's texts and new-error mode in a *.teravo.json file. Opening only fills the
// dialog and shows it; the user accepts with F2 as after typing, so every check applies.
class ParameterFileActions : public QObject {
  Q_OBJECT
 public:
  // Asks for a file to open (`save` false) or to save to; empty when the user cancelled.
  using PathChooser = std::function<QString(bool save)>;

  ParameterFileActions(TfmSettings& settings, MessageSink& messages,
                       std::function<void()> showSettings, QWidget& frame);

  // Puts the commands at the top of `menu`: open, save, `also` (if any), the recent files.
  void AddTo(QMenu& menu, QAction* also);

  // Fills the dialog from the file and shows it; a file that does not open is reported,
  // dropped from the recent files and leaves the dialog as it was. True when it opened.
  bool Open(const QString& path);
  // Writes what the dialog holds now; true when written.
  bool Save(const QString& path);
  // Writes `file` (a set the dialog does not hold, a fitted one) to a file the user chooses, as
  // the menu's command does with the dialog's texts; true when written.
  bool SaveAsked(const ParameterFile& file);

  QAction* OpenAction() const { return aOpen_; }
  QAction* SaveAction() const { return aSave_; }
  // The menu's items for the recent files, newest first.
  const QList<QAction*>& RecentActions() const { return recentItems_; }
  RecentFiles& Recent() { return recent_; }
  void SetPathChooser(PathChooser chooser) { choose_ = std::move(chooser); }

 private:
  QString ChooseWithDialog(bool save) const;
  bool Save(const QString& path, const ParameterFile& file);
  void UpdateRecentItems();

  TfmSettings& settings_;
  MessageSink& messages_;
  std::function<void()> showSettings_;
  QWidget& frame_;
  PathChooser choose_;
  RecentFiles recent_;
  QAction* aOpen_ = nullptr;
  QAction* aSave_ = nullptr;
  QMenu* menu_ = nullptr;
  QAction* anchor_ = nullptr;     // the menu's first item before these were added
  QAction* recentEnd_ = nullptr;  // the separator after the recent files, while there are any
  QList<QAction*> recentItems_;
};

}  // namespace teravo
