#include "ui/data/data_file_actions.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenu>
#include <QSettings>
#include <QStatusBar>

#include "ui/common/locale_text.h"
#include "ui/data/data_import_dialog.h"
#include "ui/data/data_window.h"
#include "ui/shell/window_placement.h"

namespace teravo {

namespace {

const QString kRecentKey = QStringLiteral("failureData/recent");
const QString kDirectoryKey = QStringLiteral("failureData/directory");
const char kFilter[] = "Данные об отказах (*.csv *.xlsx);;Все файлы (*)";

}  // namespace

DataFileActions::DataFileActions(MessageSink& messages, QMainWindow& frame, QMdiArea& area)
    : QObject(&frame),
      messages_(messages),
      frame_(frame),
      area_(area),
      choose_([this] { return ChooseWithDialog(); }),
      runModal_([](QDialog& dialog) { dialog.exec(); }),
      recent_(kRecentKey),
      run_(new AnalysisRun(this)) {
  setObjectName(QStringLiteral("DataFileActions"));
  aOpen_ = new QAction(ToQString("Открыть &данные об отказах…"), this);
  aOpen_->setObjectName(QStringLiteral("aOpenFailureData"));
  aOpen_->setStatusTip(
      ToQString("Оценить модели роста надежности по наблюдаемым отказам из файла CSV или XLSX"));
  connect(aOpen_, &QAction::triggered, this, [this] {
    const QString path = choose_();
    if (!path.isEmpty()) Open(path);
  });
  recentMenu_ = new QMenu(ToQString("Последние данные об отказах"));
  recentMenu_->setObjectName(QStringLiteral("RecentDataMenu"));
  recentMenu_->menuAction()->setObjectName(QStringLiteral("aRecentFailureData"));
  connect(recentMenu_, &QMenu::aboutToShow, this, &DataFileActions::UpdateRecentMenu);
  connect(this, &QObject::destroyed, recentMenu_, &QObject::deleteLater);
}

void DataFileActions::AddTo(QMenu& menu, QAction* before) {
  menu.insertAction(before, aOpen_);
  menu.insertMenu(before, recentMenu_);
  menu.insertSeparator(before);
  UpdateRecentMenu();
}

DataImportDialog* DataFileActions::ImportDialog() const {
  return dialog_;
}

TDataAnalysisWindow* DataFileActions::LastWindow() const {
  return lastWindow_;
}

QString DataFileActions::ChooseWithDialog() const {
  QSettings settings;
  const QString directory = settings.value(kDirectoryKey, QDir::homePath()).toString();
  const QString path = QFileDialog::getOpenFileName(&frame_, ToQString("Открыть данные об отказах"),
                                                    directory, ToQString(kFilter));
  if (!path.isEmpty()) settings.setValue(kDirectoryKey, QFileInfo(path).absolutePath());
  return path;
}

bool DataFileActions::Open(const QString& path) {
  if (Running() || dialog_) return false;
  FailureData preview;
  try {
    preview = PreviewFailureFile(ToFsPath(path), {std::nullopt, TimeUnit::Days});
  } catch (const std::exception& error) {
    recent_.Remove(path);
    UpdateRecentMenu();
    messages_.Info(&frame_, ToQString(error.what()));
    return false;
  }
  auto* dialog =
      new DataImportDialog(path, std::move(preview), LocaleDecimalSeparator(), messages_, &frame_);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog_ = dialog;
  connect(dialog, &QDialog::accepted, this, [this, dialog, path] { Analyse(*dialog, path); });
  PlaceCentred(*dialog, frame_);
  runModal_(*dialog);
  return true;
}

void DataFileActions::Analyse(const DataImportDialog& dialog, const QString& path) {
  recent_.Add(path);
  UpdateRecentMenu();
  DataAnalysisResult result{QFileInfo(path).fileName(), dialog.Data(), {}, dialog.Options()};
  frame_.statusBar()->showMessage(ToQString("Анализ данных…"));
  const QPointer<QMdiArea> area(&area_);
  // Copied before the call: the callback below takes `result` over.
  FailureData data = result.data;
  const AnalysisOptions options = result.options;
  run_->Start(
      std::move(data), options,
      [this, area, result = std::move(result)](const AnalysisRun::Outcome& outcome) mutable {
        frame_.statusBar()->clearMessage();
        if (!outcome.analysis) {
          messages_.Info(&frame_, ToQString(outcome.error));
          return;
        }
        if (!area) return;
        result.analysis = *outcome.analysis;
        auto* window =
            new TDataAnalysisWindow(std::move(result), LocaleDecimalSeparator(), messages_);
        area->addSubWindow(window);
        window->show();
        area->setActiveSubWindow(window);
        lastWindow_ = window;
      });
}

void DataFileActions::UpdateRecentMenu() {
  recentMenu_->clear();
  const QStringList files = recent_.List();
  recentMenu_->setEnabled(!files.isEmpty());
  for (int i = 0; i < files.size(); ++i) {
    const QString& path = files[i];
    QString name = QFileInfo(path).fileName();
    name.replace(QLatin1Char('&'), QStringLiteral("&&"));
    QAction* item = recentMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(name));
    item->setObjectName(QStringLiteral("aRecentData%1").arg(i + 1));
    item->setStatusTip(QDir::toNativeSeparators(path));
    // Queued: the menu that holds the item is rebuilt while the file opens.
    connect(
        item, &QAction::triggered, this, [this, path] { Open(path); }, Qt::QueuedConnection);
  }
}

}  // namespace teravo
