#include "ui/shell/window_commands.h"

#include <QAction>
#include <QDir>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QStatusBar>

#include "play/play_driver.h"
#include "results/csv_export.h"
#include "ui/common/error_report.h"
#include "ui/common/locale_text.h"
#include "ui/data/calibration_window.h"
#include "ui/data/data_window.h"
#include "ui/plays/distributions_window.h"
#include "ui/plays/play_results_view.h"
#include "ui/plays/play_results_window.h"
#include "ui/shell/window_placement.h"
#include "ui/sweep/sweep_window.h"

namespace teravo {

namespace {

// How long the status line says where a window was saved.
constexpr int kSavedNoteMs = 5000;

}  // namespace

ExportSource ExportSourceOf(QMdiSubWindow& window) {
  ExportSource source{window.windowTitle(), nullptr, {}, {}, {}};
  if (auto* play = qobject_cast<TfmPlayResults*>(&window)) {
    const PlayRecord* record = play->Record();
    if (!record) return source;
    PlayResultsView* view = play->BuiltView();
    source.whole = view;
    for (Chart chart : ChartsInWindowOrder()) {
      const ChartView& shown = view->ChartOf(chart);
      source.charts.push_back({shown.Title(), shown.Plot()});
    }
    source.csv = [record] { return PlayRecordCsv(*record); };
  } else if (auto* distributions = qobject_cast<TAllPlayResults*>(&window)) {
    const DistributionsRecord* record = distributions->Record();
    if (!record) return source;
    source.whole = distributions->Content();
    for (const ChartView* chart :
         {&distributions->WorkClients(), &distributions->ErrorsInClients()})
      source.charts.push_back({chart->Title(), chart->Plot()});
    source.csv = [record] { return DistributionsCsv(*record); };
  } else if (auto* sweep = qobject_cast<TSweepResults*>(&window)) {
    return sweep->Export();
  } else if (auto* data = qobject_cast<TDataAnalysisWindow*>(&window)) {
    return data->Export();
  } else if (auto* calibration = qobject_cast<TCalibrationWindow*>(&window)) {
    return calibration->Export();
  }
  return source;
}

WindowCommands::WindowCommands(TTeravo& model, PlayHost& host, MessageSink& messages,
                               ContextSource context, QMainWindow& frame, QMdiArea& area)
    : QObject(&frame),
      model_(model),
      host_(host),
      messages_(messages),
      context_(std::move(context)),
      frame_(frame),
      area_(area),
      ask_([&frame](ExportDialog& dialog) {
        PlaceCentred(dialog, frame);
        return dialog.exec() == QDialog::Accepted;
      }) {
  setObjectName(QStringLiteral("WindowCommands"));
  aSaveAs_ = new QAction(ToQString("Сохранить &как…"), this);
  aSaveAs_->setObjectName(QStringLiteral("aSaveWindowAs"));
  aSaveAs_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  aSaveAs_->setStatusTip(ToQString("Сохранить активное окно в файл CSV, PNG или PDF"));
  connect(aSaveAs_, &QAction::triggered, this, [this] {
    if (QMdiSubWindow* window = area_.currentSubWindow()) SaveAs(*window);
  });
  connect(&area_, &QMdiArea::subWindowActivated, this, &WindowCommands::UpdateSaveAsAction);
  UpdateSaveAsAction();
}

WindowCommands* WindowCommands::Of(const QWidget& widget) {
  const QWidget* top = widget.window();
  return top ? top->findChild<WindowCommands*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
}

void WindowCommands::UpdateSaveAsAction() {
  // Without building the window: a minimised play stays light until it is shown.
  QMdiSubWindow* window = area_.currentSubWindow();
  auto* play = qobject_cast<TfmPlayResults*>(window);
  auto* distributions = qobject_cast<TAllPlayResults*>(window);
  aSaveAs_->setEnabled((play && play->Record()) || (distributions && distributions->Record()) ||
                       qobject_cast<TSweepResults*>(window) ||
                       qobject_cast<TDataAnalysisWindow*>(window) ||
                       qobject_cast<TCalibrationWindow*>(window));
}

void WindowCommands::SaveAs(QMdiSubWindow& window) {
  RunGuarded(messages_, &frame_, [&] {
    const QPointer<QMdiSubWindow> guard(&window);
    ExportChoice choice;
    {
      const ExportSource offered = ExportSourceOf(window);
      if (!offered.whole) return;
      ExportDialog dialog(offered, &frame_);
      if (!ask_(dialog)) return;
      choice = dialog.Choice();
    }
    // The window might have gone while the dialog was open.
    if (!guard) return;
    const ExportSource source = ExportSourceOf(window);
    if (!source.whole) return;
    const QString error = WriteExport(source, choice);
    if (!error.isEmpty()) {
      messages_.Error(&frame_, error);
      return;
    }
    frame_.statusBar()->showMessage(
        ToQString("Сохранено: %1").arg(QDir::toNativeSeparators(choice.path)), kSavedNoteMs);
  });
}

void WindowCommands::SaveAs(QWidget& owner, const std::function<ExportSource()>& source) {
  SaveAsAsked(owner, messages_, ask_, source);
}

void WindowCommands::Replay(const PlayRecord& record) {
  // The context is taken now, as F3 takes it; the replay itself keeps the play's own time.
  const PlayContext context = context_();
  auto replay = [&](const PlayOptions& options) {
    return ReplayPlay(model_, host_, context, record, options);
  };
  ReportOutcome(messages_, &frame_, runPlay_ ? runPlay_(replay) : replay(PlayOptions{}));
}

}  // namespace teravo
