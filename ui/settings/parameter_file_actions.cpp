#include "ui/settings/parameter_file_actions.h"

#include <variant>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QSettings>

#include "params/parameter_file.h"
#include "ui/common/locale_text.h"
#include "ui/settings/settings_dialog.h"

namespace teravo {

namespace {

const QString kSuffix = QStringLiteral(".teravo.json");
const QString kDirectoryKey = QStringLiteral("parameterFiles/directory");
const char kFilter[] = "Параметры розыгрыша (*.teravo.json);;Все файлы (*)";

// Menu texts take '&' as the mark of a key.
QString MenuText(QString text) {
  return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

}  // namespace

ParameterFileActions::ParameterFileActions(TfmSettings& settings, MessageSink& messages,
                                           QWidget& frame)
    : QObject(&frame),
      settings_(settings),
      messages_(messages),
      frame_(frame),
      choose_([this](bool save) { return ChooseWithDialog(save); }) {
  setObjectName(QStringLiteral("ParameterFileActions"));
  aOpen_ = new QAction(ToQString("&Открыть параметры…"), this);
  aOpen_->setObjectName(QStringLiteral("aOpenParameters"));
  aOpen_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  aOpen_->setStatusTip(ToQString("Заполнить окно параметров из файла *.teravo.json и принять их"));
  aSave_ = new QAction(ToQString("&Сохранить параметры…"), this);
  aSave_->setObjectName(QStringLiteral("aSaveParameters"));
  aSave_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  aSave_->setStatusTip(ToQString("Записать тексты окна параметров в файл *.teravo.json"));
  aClearRecent_ = new QAction(ToQString("Очистить список"), this);
  aClearRecent_->setObjectName(QStringLiteral("aClearRecentFiles"));
  aClearRecent_->setStatusTip(ToQString("Убрать из меню последние файлы параметров"));
  connect(aClearRecent_, &QAction::triggered, this, [this] {
    recent_.Clear();
    UpdateRecentItems();
  });
  connect(aOpen_, &QAction::triggered, this, [this] {
    const QString path = choose_(false);
    if (!path.isEmpty()) Open(path);
  });
  connect(aSave_, &QAction::triggered, this, [this] {
    const QString path = AskSavePath();
    if (!path.isEmpty()) Save(path);
  });
}

void ParameterFileActions::AddTo(QMenu& menu, QAction* also) {
  menu_ = &menu;
  anchor_ = menu.actions().isEmpty() ? nullptr : menu.actions().first();
  menu.insertAction(anchor_, aOpen_);
  menu.insertAction(anchor_, aSave_);
  if (also) menu.insertAction(anchor_, also);
  menu.insertSeparator(anchor_);
  connect(&menu, &QMenu::aboutToShow, this, &ParameterFileActions::UpdateRecentItems);
  UpdateRecentItems();
}

QString ParameterFileActions::ChooseWithDialog(bool save) const {
  QSettings settings;
  const QString directory = settings.value(kDirectoryKey, QDir::homePath()).toString();
  const QString path =
      save ? QFileDialog::getSaveFileName(
                 &frame_, ToQString("Сохранить параметры"),
                 QDir(directory).filePath(ToQString("параметры") + kSuffix), ToQString(kFilter))
           : QFileDialog::getOpenFileName(&frame_, ToQString("Открыть параметры"), directory,
                                          ToQString(kFilter));
  if (!path.isEmpty()) settings.setValue(kDirectoryKey, QFileInfo(path).absolutePath());
  return path;
}

bool ParameterFileActions::Open(const QString& path) {
  auto read = ReadParameterFile(ToFsPath(path));
  if (const auto* error = std::get_if<std::string>(&read)) {
    // A file that no longer opens is no use in the list.
    recent_.Remove(path);
    UpdateRecentItems();
    messages_.Info(&frame_, ToQString(*error));
    return false;
  }
  LoadIntoForm(std::get<ParameterFile>(read), settings_);
  recent_.Add(path);
  UpdateRecentItems();
  SetCurrentFile(path);
  // A refusal has said why; the texts stay in the dialog for the user to correct.
  settings_.AcceptTexts();
  return true;
}

bool ParameterFileActions::Save(const QString& path) {
  if (!Save(path, ParameterFileOf(settings_))) return false;
  // Only the dialog's own texts make the file the one the main window names.
  SetCurrentFile(path);
  return true;
}

QString ParameterFileActions::AskSavePath() const {
  QString path = choose_(true);
  if (path.isEmpty()) return path;
  // The program finds its files by their double suffix.
  if (!path.endsWith(kSuffix, Qt::CaseInsensitive)) {
    if (path.endsWith(QStringLiteral(".json"), Qt::CaseInsensitive)) path.chop(5);
    path += kSuffix;
  }
  return path;
}

bool ParameterFileActions::SaveAsked(const ParameterFile& file) {
  const QString path = AskSavePath();
  return !path.isEmpty() && Save(path, file);
}

bool ParameterFileActions::Save(const QString& path, const ParameterFile& file) {
  const std::string error = WriteParameterFile(ToFsPath(path), file);
  if (!error.empty()) {
    messages_.Error(&frame_, ToQString(error));
    return false;
  }
  recent_.Add(path);
  UpdateRecentItems();
  return true;
}

void ParameterFileActions::SetCurrentFile(const QString& path) {
  current_ = path;
  emit CurrentFileChanged(path);
}

void ParameterFileActions::UpdateRecentItems() {
  // An item may be the one being chosen right now: it goes once its signal has returned.
  for (QAction* item : recentItems_) {
    if (menu_) menu_->removeAction(item);
    item->deleteLater();
  }
  recentItems_.clear();
  if (menu_) menu_->removeAction(aClearRecent_);
  if (recentEnd_) {
    if (menu_) menu_->removeAction(recentEnd_);
    recentEnd_->deleteLater();
    recentEnd_ = nullptr;
  }
  if (!menu_) return;
  const QStringList files = recent_.List();
  // The recent files form a group of their own, under the commands; none, no group.
  if (!files.isEmpty()) recentEnd_ = menu_->insertSeparator(anchor_);
  for (int i = 0; i < files.size(); ++i) {
    const QString& path = files[i];
    auto* item = new QAction(
        QStringLiteral("&%1 %2").arg(i + 1).arg(MenuText(QFileInfo(path).fileName())), this);
    item->setObjectName(QStringLiteral("aRecentFile%1").arg(i + 1));
    item->setStatusTip(QDir::toNativeSeparators(path));
    item->setToolTip(QDir::toNativeSeparators(path));
    connect(item, &QAction::triggered, this, [this, path] { Open(path); });
    menu_->insertAction(recentEnd_, item);
    recentItems_.push_back(item);
  }
  if (!files.isEmpty()) menu_->insertAction(recentEnd_, aClearRecent_);
}

}  // namespace teravo
