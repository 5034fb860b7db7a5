#pragma once

#include <functional>

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include "ui/common/message_sink.h"
#include "ui/data/analysis_run.h"
#include "ui/shell/recent_files.h"

class QAction;
class QDialog;
class QMainWindow;
class QMdiArea;
class QMenu;

namespace teravo {

class DataImportDialog;
class TDataAnalysisWindow;

// "Открыть данные об отказах…" and the data files opened last, in the File menu: a file is
// previewed in the import dialog, analysed off the window thread and shown in a child window.
class DataFileActions : public QObject {
  Q_OBJECT
 public:
  using PathChooser = std::function<QString()>;
  using ModalRunner = std::function<void(QDialog&)>;

  DataFileActions(MessageSink& messages, QMainWindow& frame, QMdiArea& area);

  // Puts the command and the submenu of recent files into `menu` before `before`.
  void AddTo(QMenu& menu, QAction* before);

  // Previews the file in the import dialog; a file that is no table is reported and dropped
  // from the recent files. The analysis starts when the dialog is accepted. True when the
  // dialog opened.
  bool Open(const QString& path);

  QAction* OpenAction() const { return aOpen_; }
  QMenu* RecentMenu() const { return recentMenu_; }
  RecentFiles& Recent() { return recent_; }
  bool Running() const { return run_->Running(); }
  // The import dialog while it is open, and the window the last analysis opened.
  DataImportDialog* ImportDialog() const;
  TDataAnalysisWindow* LastWindow() const;
  void SetPathChooser(PathChooser chooser) { choose_ = std::move(chooser); }
  // How the import dialog is shown: exec() unless replaced (a test shows it without blocking).
  void SetModalRunner(ModalRunner runner) { runModal_ = std::move(runner); }

 private:
  QString ChooseWithDialog() const;
  void Analyse(const DataImportDialog& dialog, const QString& path);
  void UpdateRecentMenu();

  MessageSink& messages_;
  QMainWindow& frame_;
  QMdiArea& area_;
  PathChooser choose_;
  ModalRunner runModal_;
  RecentFiles recent_;
  AnalysisRun* run_ = nullptr;
  QAction* aOpen_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  QPointer<DataImportDialog> dialog_;
  QPointer<TDataAnalysisWindow> lastWindow_;
};

}  // namespace teravo
