#include "ui/shell/main_form.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>

#include "params/settings_form.h"
#include "play/commands.h"
#include "play/run_budget.h"
#include "ui/common/error_report.h"
#include "ui/common/locale_text.h"
#include "ui/data/calibration_control.h"
#include "ui/data/data_file_actions.h"
#include "ui/decisions/decisions_control.h"
#include "ui/plays/distributions_window.h"
#include "ui/plays/play_control.h"
#include "ui/plays/play_results_window.h"
#include "ui/plays/qt_play_host.h"
#include "ui/settings/parameter_file_actions.h"
#include "ui/settings/settings_dialog.h"
#include "ui/shell/about_form.h"
#include "ui/shell/application_setup.h"
#include "ui/shell/help_window.h"
#include "ui/shell/mdi_arrangement.h"
#include "ui/shell/status_hint_router.h"
#include "ui/shell/window_commands.h"
#include "ui/shell/window_placement.h"
#include "ui/sweep/sweep_control.h"

namespace teravo {

namespace {

// Windows past the ninth are listed without a number key.
constexpr int kNumberedWindows = 9;

// A window's title in the window list; a series' windows add which series they stand for,
// as every series titles its averages and distributions alike.
QString ListedTitle(const QMdiSubWindow& window) {
  std::string series;
  if (const auto* play = qobject_cast<const TfmPlayResults*>(&window); play && play->Record())
    series = play->Record()->SeriesLabel;
  else if (const auto* all = qobject_cast<const TAllPlayResults*>(&window); all && all->Record())
    series = all->Record()->SeriesLabel;
  QString title = window.windowTitle();
  if (!series.empty()) title += QStringLiteral(" — ") + ToQString(series);
  return title;
}

const char kCaption[] = "Программа моделирования надежности ПО методом Монте-Карло";
// After the file's name (or the caption) while the dialog holds texts F3 would not run.
const char kNotAcceptedMark[] = "*";
const char kNotAcceptedHint[] =
    "Тексты окна параметров отличаются от принятых: F3 и F4 берут принятые";

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
  setWindowTitle(ToQString(kCaption));
  setWindowIcon(ProgramIcon());
  mdiArea_->setObjectName(QStringLiteral("MdiArea"));
  setCentralWidget(mdiArea_);
  statusBar()->setObjectName(QStringLiteral("StatusLine"));
  qApp->installEventFilter(new StatusHintRouter(statusBar(), this));
  // A permanent widget: the menus' hints, which replace the status line's message, leave it.
  notAccepted_ = new QLabel(ToQString("Параметры не приняты"), this);
  notAccepted_->setObjectName(QStringLiteral("lbNotAccepted"));
  notAccepted_->setStyleSheet(QStringLiteral("color: darkred"));
  notAccepted_->hide();
  statusBar()->addPermanentWidget(notAccepted_);

  CreateActions();
  CreateMenus();
  CreateToolBar();

  fmSettings_ = new TfmSettings(*model_, *messages_, this);
  frmAbout_ = new TfrmAbout(this);
  host_ = std::make_unique<QtPlayHost>(*mdiArea_, *messages_);
  // Parameter files, the active window's export and the recent files head the File menu.
  windowCommands_ = new WindowCommands(
      *model_, *host_, *messages_, [this] { return Context(); }, *this, *mdiArea_);
  parameterFiles_ = new ParameterFileActions(*fmSettings_, *messages_, *this);
  connect(fmSettings_, &TfmSettings::AcceptanceFinished, this, [this](bool accepted) {
    notAccepted_->setVisible(!accepted);
    if (!fmSettings_->SeparatorNote().isEmpty())
      statusBar()->showMessage(fmSettings_->SeparatorNote());
    UpdateTitle();
  });
  connect(fmSettings_, &TfmSettings::TextsChanged, this, &TMainForm::UpdateTitle);
  connect(parameterFiles_, &ParameterFileActions::CurrentFileChanged, this,
          &TMainForm::UpdateTitle);
  dataFiles_ = new DataFileActions(*messages_, *this, *mdiArea_);
  if (auto* fileMenu = menuBar()->findChild<QMenu*>(QStringLiteral("FileMenu"))) {
    // Failure data follow the parameter files, which then anchor on them.
    dataFiles_->AddTo(*fileMenu, aPlayIteration_);
    parameterFiles_->AddTo(*fileMenu, windowCommands_->SaveAsAction());
    connect(fileMenu, &QMenu::aboutToShow, windowCommands_, &WindowCommands::UpdateSaveAsAction);
  }
  CreatePlayControl();
  sweeps_ = new SweepControl(*this, *mdiArea_, *messages_,
                             {aSettings_, aPlayIteration_, aPlayPlay_, aSweep_});
  calibrations_ =
      new CalibrationControl(*this, *mdiArea_, *messages_, *model_, *fmSettings_, *parameterFiles_,
                             {aSettings_, aPlayIteration_, aPlayPlay_, aSweep_});
  auto* decisions = new DecisionsControl(*this, *mdiArea_, *messages_, *model_,
                                         {aSettings_, aPlayIteration_, aPlayPlay_, aSweep_});
  if (auto* settingsMenu = menuBar()->findChild<QMenu*>(QStringLiteral("SettingsMenu")))
    settingsMenu->addAction(&decisions->OpenAction());
  windowCommands_->SetPlayRunner(
      [this](const WindowCommands::PlayCommand& replay) { return plays_->RunPlay(replay); });
  for (QDialog* dialog : {static_cast<QDialog*>(fmSettings_), static_cast<QDialog*>(frmAbout_)})
    connect(dialog, &QDialog::finished, this, &TMainForm::TakeFocusBack);
  // The dialog's hints are about its fields, which are gone with it.
  connect(fmSettings_, &QDialog::finished, statusBar(), &QStatusBar::clearMessage);
  PlaceOnScreen(*this, toolBar_->sizeHint().width() + 2 * toolBar_->iconSize().width());
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
  // No function key: F2-F4 keep the meaning they have always had.
  aSweep_ = MakeAction(this, "aSweep", "&Исследование параметра…",
                       "Многократный розыгрыш при нескольких значениях одного параметра");
  aFileExit_ = MakeAction(this, "FileExitItem", "E&xit", "Exit this application");
  aWindowTile_ = MakeAction(this, "WindowTileItem", "&Tile", "Tile all windows");
  aWindowCascade_ = MakeAction(this, "WindowCascadeItem", "&Cascade", "Cascade all windows");
  aWindowArrange_ =
      MakeAction(this, "WindowArrangeItem", "&Arrange All", "Arrange minimized windows");
  aWindowCloseAll_ = MakeAction(this, "WindowCloseAllItem", "Закрыть все окна",
                                "Закрыть все окна розыгрышей, распределений и исследований");
  aHelpAbout_ = MakeAction(this, "HelpAboutItem", "&About...", "Show program information");
  aHelpGuide_ = MakeAction(this, "aHelpGuide", "&Руководство",
                           "Руководство пользователя: модель, параметры, окна и графики");
  aHelpGuide_->setShortcut(QKeySequence(Qt::Key_F1));
  // The keys work wherever the focus is in the main window, menus and tool bar included.
  addActions({aSettings_, aPlayIteration_, aPlayPlay_, aHelpGuide_});

  connect(aSettings_, &QAction::triggered, this, &TMainForm::aSettingsExecute);
  connect(aPlayIteration_, &QAction::triggered, this, &TMainForm::aPlayIterationExecute);
  connect(aPlayPlay_, &QAction::triggered, this, &TMainForm::aPlayPlayExecute);
  connect(aSweep_, &QAction::triggered, this, &TMainForm::aSweepExecute);
  connect(aFileExit_, &QAction::triggered, this, &TMainForm::FileExit);
  connect(aWindowTile_, &QAction::triggered, this, &TMainForm::WindowTile);
  connect(aWindowCascade_, &QAction::triggered, this, &TMainForm::WindowCascade);
  connect(aWindowArrange_, &QAction::triggered, this, &TMainForm::WindowArrange);
  connect(aWindowCloseAll_, &QAction::triggered, this, &TMainForm::WindowCloseAll);
  connect(aHelpAbout_, &QAction::triggered, this, &TMainForm::HelpAbout);
  connect(aHelpGuide_, &QAction::triggered, this, &TMainForm::HelpGuide);
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
  settingsMenu->addAction(aSweep_);
  windowMenu_ = menuBar()->addMenu(ToQString("&Window"));
  windowMenu_->setObjectName(QStringLiteral("WindowMenu"));
  windowMenu_->addActions({aWindowTile_, aWindowCascade_, aWindowArrange_, aWindowCloseAll_});
  connect(windowMenu_, &QMenu::aboutToShow, this, &TMainForm::UpdateWindowMenu);
  QMenu* helpMenu = menuBar()->addMenu(ToQString("&Help"));
  helpMenu->setObjectName(QStringLiteral("HelpMenu"));
  helpMenu->addSeparator();
  helpMenu->addAction(aHelpAbout_);
  // The guide has a Russian menu of its own beside the original help menu.
  QMenu* guideMenu = menuBar()->addMenu(ToQString("&Справка"));
  guideMenu->setObjectName(QStringLiteral("GuideMenu"));
  guideMenu->addAction(aHelpGuide_);
}

void TMainForm::CreateToolBar() {
  // The title is what the main window's context menu offers to hide or show.
  toolBar_ = addToolBar(ToQString("Панель инструментов"));
  toolBar_->setObjectName(QStringLiteral("tbMain"));
  toolBar_->setToolButtonStyle(Qt::ToolButtonTextOnly);
  toolBar_->addAction(aSettings_);
  toolBar_->addSeparator();
  toolBar_->addAction(aPlayIteration_);
  toolBar_->addSeparator();
  toolBar_->addAction(aPlayPlay_);
}

void TMainForm::UpdateTitle() {
  const QString file = QFileInfo(parameterFiles_->CurrentFile()).fileName();
  // Before any file and any acceptance there is nothing to tell apart.
  const bool marked =
      fmSettings_->DiffersFromAccepted() && (fmSettings_->AnyAccepted() || !file.isEmpty());
  const QString mark = marked ? ToQString(kNotAcceptedMark) : QString();
  setWindowTitle(file.isEmpty() ? ToQString(kCaption) + mark
                                : file + mark + QStringLiteral(" — ") + ToQString(kCaption));
  notAccepted_->setToolTip(marked ? ToQString(kNotAcceptedHint) : QString());
}

void TMainForm::UpdateWindowMenu() {
  windowMenu_->clear();
  windowMenu_->addActions({aWindowTile_, aWindowCascade_, aWindowArrange_, aWindowCloseAll_});
  const QList<QMdiSubWindow*> windows = mdiArea_->subWindowList();
  if (windows.isEmpty()) return;
  windowMenu_->addSeparator();
  for (int i = 0; i < windows.size(); ++i) {
    QMdiSubWindow* window = windows[i];
    QString title = ListedTitle(*window);
    title.replace(QLatin1Char('&'), QStringLiteral("&&"));
    const QString text = i < kNumberedWindows ? QStringLiteral("&%1 %2").arg(i + 1).arg(title)
                                              : QStringLiteral("%1 %2").arg(i + 1).arg(title);
    QAction* item = windowMenu_->addAction(text);
    item->setCheckable(true);
    item->setChecked(window == mdiArea_->activeSubWindow());
    connect(item, &QAction::triggered, window, [this, window] { RaiseWindow(window); });
  }
}

void TMainForm::RaiseWindow(QMdiSubWindow* window) {
  if (window->isMinimized()) {
    window->showNormal();
    KeepClearOfMinimised(*window);
  }
  mdiArea_->setActiveSubWindow(window);
}

void TMainForm::RunModal(QDialog& dialog) {
  PlaceCentred(dialog, *this);
  runModal_(dialog);
}

void TMainForm::TakeFocusBack() {
  activateWindow();
  if (QMdiSubWindow* active = mdiArea_->activeSubWindow())
    active->setFocus(Qt::ActiveWindowFocusReason);
  else
    mdiArea_->setFocus(Qt::ActiveWindowFocusReason);
}

template <class Command>
void TMainForm::Run(Command&& command) {
  RunGuarded(*messages_, this, std::forward<Command>(command));
}

void TMainForm::aSettingsExecute() {
  Run([this] { RunModal(*fmSettings_); });
}

PlayContext TMainForm::Context() const {
  return {fmSettings_->Text(edit::Time), LocaleDecimalSeparator(), LocalDateTimeNow};
}

void TMainForm::CreatePlayControl() {
  plays_ = std::make_unique<PlayControl>(
      *this, *mdiArea_, *host_, QList<QAction*>{aSettings_, aPlayIteration_, aPlayPlay_, aSweep_});
}

bool TMainForm::AgreedToLongRun(std::int32_t plays) {
  // Only a usable set is estimated; the command itself says why another one is refused.
  if (!CheckBeforeRun(*model_, plays, true, 0).ran()) return true;
  const auto question = LongRunQuestion(EstimateNeeds(*model_, plays, true, 0));
  return !question || messages_->Ask(this, ToQString(*question));
}

void TMainForm::aPlayIterationExecute() {
  if (!AgreedToLongRun(1)) return;
  const CommandOutcome outcome = plays_->RunPlay([this](const PlayOptions& options) {
    return ::teravo::CheckedPlay(*model_, *host_, Context(), options);
  });
  ReportOutcome(*messages_, this, outcome);
}

// Returns at once: the series reports when its windows have opened.
void TMainForm::aPlayPlayExecute() {
  if (!AgreedToLongRun(model_->FK)) return;
  plays_->StartSeries(*model_, Context(), [this](const CommandOutcome& outcome) {
    ReportOutcome(*messages_, this, outcome);
  });
}

void TMainForm::aSweepExecute() {
  Run([this] { sweeps_->Execute(*model_, Context().Separator); });
}

void TMainForm::FileExit() {
  close();
}

void TMainForm::WindowTile() {
  TileStacked(*mdiArea_);
}

void TMainForm::WindowCascade() {
  Cascade(*mdiArea_);
}

void TMainForm::WindowArrange() {
  ArrangeMinimised(*mdiArea_);
}

void TMainForm::WindowCloseAll() {
  for (QMdiSubWindow* window : mdiArea_->subWindowList()) {
    if (qobject_cast<TAllPlayResults*>(window))
      window->deleteLater();
    else
      window->close();
  }
}

void TMainForm::HelpAbout() {
  Run([this] { RunModal(*frmAbout_); });
}

void TMainForm::HelpGuide() {
  Run([this] { ShowGuide(*this); });
}

}  // namespace teravo
