#include "ui/main_form.h"

#include <vector>

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include "params/settings_form.h"
#include "play/commands.h"
#include "ui/about_form.h"
#include "ui/error_report.h"
#include "ui/locale_text.h"
#include "ui/qt_play_host.h"
#include "ui/settings_dialog.h"
#include "ui/status_hint_router.h"

namespace teravo {

namespace {

// Where the main window first opens on the screen, and its size there.
constexpr QPoint kDesignPosition(214, 112);
constexpr QSize kDesignSize(409, 249);

QAction* MakeAction(QObject* parent, const char* name, const char* caption, const char* hint) {
  auto* action = new QAction(ToQString(caption), parent);
  action->setObjectName(ToQString(name));
  if (hint) action->setStatusTip(ToQString(hint));
  return action;
}

}  // namespace

TMainForm::TMainForm(std::unique_ptr<MessageSink> messages, QWidget* parent)
    : QMainWindow(parent),
      messages_(messages ? std::move(messages) : std::make_unique<MessageBoxSink>()),
      model_(std::make_unique<TTeravo>()),
      mdiArea_(new QMdiArea(this)),
      runModal_([](QDialog& dialog) { dialog.exec(); }) {
  setObjectName(QStringLiteral("MainForm"));
  setWindowTitle(ToQString("Программа моделирования надежности ПО методом Монте-Карло"));
  mdiArea_->setObjectName(QStringLiteral("MdiArea"));
  setCentralWidget(mdiArea_);
  statusBar()->setObjectName(QStringLiteral("StatusLine"));
  qApp->installEventFilter(new StatusHintRouter(statusBar(), this));

  CreateActions();
  CreateMenus();
  CreateToolBar();

  fmSettings_ = new TfmSettings(*model_, *messages_, this);
  frmAbout_ = new TfrmAbout(this);
  host_ = std::make_unique<QtPlayHost>(*mdiArea_, *messages_);
  move(kDesignPosition);
  resize(kDesignSize);
}

TMainForm::~TMainForm() {
  // The child windows and the settings dialog refer to the sink, the model and the host;
  // left to QObject they would be deleted only after these members are gone.
  for (QMdiSubWindow* window : mdiArea_->subWindowList()) delete window;
  delete fmSettings_;
}

void TMainForm::CreateActions() {
  aSettings_ = MakeAction(this, "aSettings", "&Настройки (F2)", nullptr);
  aSettings_->setShortcut(QKeySequence(Qt::Key_F2));
  aPlayIteration_ = MakeAction(this, "aPlayIteration", "Розыгрыш итерации (F3)", nullptr);
  aPlayIteration_->setShortcut(QKeySequence(Qt::Key_F3));
  aPlayPlay_ = MakeAction(this, "aPlayPlay", "Розыгрыш многократный (F4)", nullptr);
  aPlayPlay_->setShortcut(QKeySequence(Qt::Key_F4));
  aFileExit_ = MakeAction(this, "FileExitItem", "E&xit", "Exit this application");
  aWindowTile_ = MakeAction(this, "WindowTileItem", "&Tile", "Tile all windows");
  aWindowCascade_ = MakeAction(this, "WindowCascadeItem", "&Cascade", "Cascade all windows");
  aWindowArrange_ =
      MakeAction(this, "WindowArrangeItem", "&Arrange All", "Arrange minimized windows");
  aHelpAbout_ = MakeAction(this, "HelpAboutItem", "&About...", "Show program information");
  // The keys work wherever the focus is in the main window, menus and tool bar included.
  addActions({aSettings_, aPlayIteration_, aPlayPlay_});

  connect(aSettings_, &QAction::triggered, this, &TMainForm::aSettingsExecute);
  connect(aPlayIteration_, &QAction::triggered, this, &TMainForm::aPlayIterationExecute);
  connect(aPlayPlay_, &QAction::triggered, this, &TMainForm::aPlayPlayExecute);
  connect(aFileExit_, &QAction::triggered, this, &TMainForm::FileExit);
  connect(aWindowTile_, &QAction::triggered, this, &TMainForm::WindowTile);
  connect(aWindowCascade_, &QAction::triggered, this, &TMainForm::WindowCascade);
  connect(aWindowArrange_, &QAction::triggered, this, &TMainForm::WindowArrange);
  connect(aHelpAbout_, &QAction::triggered, this, &TMainForm::HelpAbout);
}

void TMainForm::CreateMenus() {
  QMenu* fileMenu = menuBar()->addMenu(ToQString("&File"));
  fileMenu->setObjectName(QStringLiteral("FileMenu"));
  fileMenu->addAction(aPlayIteration_);
  fileMenu->addAction(aPlayPlay_);
  fileMenu->addSeparator();
  fileMenu->addAction(aFileExit_);
  QMenu* settingsMenu = menuBar()->addMenu(ToQString("&Настройки"));
  settingsMenu->setObjectName(QStringLiteral("SettingsMenu"));
  settingsMenu->addAction(aSettings_);
  QMenu* windowMenu = menuBar()->addMenu(ToQString("&Window"));
  windowMenu->setObjectName(QStringLiteral("WindowMenu"));
  windowMenu->addActions({aWindowTile_, aWindowCascade_, aWindowArrange_});
  QMenu* helpMenu = menuBar()->addMenu(ToQString("&Help"));
  helpMenu->setObjectName(QStringLiteral("HelpMenu"));
  helpMenu->addSeparator();
  helpMenu->addAction(aHelpAbout_);
}

void TMainForm::CreateToolBar() {
  QToolBar* toolBar = addToolBar(QStringLiteral("tbMain"));
  toolBar->setObjectName(QStringLiteral("tbMain"));
  toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  toolBar->addAction(aSettings_);
  toolBar->addSeparator();
  toolBar->addAction(aPlayIteration_);
  toolBar->addSeparator();
  toolBar->addAction(aPlayPlay_);
}

template <class Command>
void TMainForm::Run(Command&& command) {
  RunGuarded(*messages_, this, std::forward<Command>(command));
}

void TMainForm::aSettingsExecute() {
  Run([this] { runModal_(*fmSettings_); });
}

PlayContext TMainForm::Context() const {
  return {fmSettings_->Text(edit::Time), LocaleDecimalSeparator(), LocalDateTimeNow};
}

void TMainForm::aPlayIterationExecute() {
  ReportOutcome(*messages_, this, ::teravo::aPlayIterationExecute(*model_, *host_, Context()));
}

void TMainForm::aPlayPlayExecute() {
  ReportOutcome(*messages_, this, ::teravo::aPlayPlayExecute(*model_, *host_, Context()));
}

void TMainForm::FileExit() {
  close();
}

void TMainForm::WindowTile() {
  std::vector<QMdiSubWindow*> shown;
  for (QMdiSubWindow* window : mdiArea_->subWindowList())
    if (window->isVisible() && !window->isMinimized()) shown.push_back(window);
  if (shown.empty()) return;
  const QSize frame = mdiArea_->viewport()->size();
  const int height = frame.height() / static_cast<int>(shown.size());
  int top = 0;
  for (QMdiSubWindow* window : shown) {
    if (window->isMaximized()) window->showNormal();
    window->setGeometry(0, top, frame.width(), height);
    top += height;
  }
}

void TMainForm::WindowCascade() {
  mdiArea_->cascadeSubWindows();
}

void TMainForm::WindowArrange() {
  const QSize frame = mdiArea_->viewport()->size();
  int left = 0;
  int bottom = frame.height();
  for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
    if (!window->isVisible() || !window->isMinimized()) continue;
    const QSize icon = window->size();
    if (left > 0 && left + icon.width() > frame.width()) {
      left = 0;
      bottom -= icon.height();
    }
    window->move(left, bottom - icon.height());
    left += icon.width();
  }
}

void TMainForm::HelpAbout() {
  Run([this] { runModal_(*frmAbout_); });
}

}  // namespace teravo
