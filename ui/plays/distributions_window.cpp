#include "ui/plays/distributions_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <qcustomplot.h>

#include "ui/common/content_menu.h"
#include "ui/common/error_report.h"
#include "ui/common/figure_edit.h"
#include "ui/common/locale_text.h"
#include "ui/common/scrolling_pane.h"
#include "ui/common/window_metrics.h"
#include "ui/shell/window_commands.h"

namespace teravo {

namespace {

// Room in the moment's edit, in digits.
constexpr int kMomentDigits = 12;
constexpr QSize kChart(320, 220);

const char kNoPlaysLeft[] = "Розыгрышей не осталось";
const char kPlaysAxis[] = "Доля розыгрышей";
const char kClosePlaysHint[] =
    "Закрывает окна розыгрышей этой серии; окна средних и распределений остаются";

}  // namespace

TAllPlayResults::TAllPlayResults(std::shared_ptr<DistributionsRecord> record, PlayHost& host,
                                 MessageSink& messages, QWidget* parent)
    : QMdiSubWindow(parent), record_(std::move(record)), host_(host), messages_(messages) {
  auto* content = content_ = new QWidget;
  content->setObjectName(QStringLiteral("AllPlayResults"));
  content->setAutoFillBackground(true);
  QPalette white = content->palette();
  white.setColor(QPalette::Window, Qt::white);
  content->setPalette(white);
  QFont normal = content->font();
  normal.setPointSize(kTextPointSize);
  content->setFont(normal);

  auto* label1 = new QLabel(ToQString("Время:"), content);
  label1->setObjectName(QStringLiteral("Label1"));
  edCurTime_ = new QLineEdit(content);
  edCurTime_->setObjectName(QStringLiteral("edCurTime"));
  edCurTime_->setFixedWidth(DigitsWidth(*edCurTime_, kMomentDigits));
  auto* label2 = new QLabel(ToQString("(сутки)"), content);
  label2->setObjectName(QStringLiteral("Label2"));

  chWorkClients_ = std::make_unique<ChartView>(
      content, QStringLiteral("chWorkClients"), ToQString("Распределение числа рабочих клиентов"),
      ChartView::Kind::Bars, QColor(229, 229, 229), ChartView::Counts{.x = true});
  chErrorsInClients_ = std::make_unique<ChartView>(
      content, QStringLiteral("chErrorsInClients"),
      ToQString("Распределение числа ошибок в клиентах"), ChartView::Kind::Bars,
      QColor(232, 232, 232), ChartView::Counts{.x = true});
  chWorkClients_->SetAxisTitles(ToQString("Число рабочих клиентов"), ToQString(kPlaysAxis));
  chErrorsInClients_->SetAxisTitles(ToQString("Число ошибок в клиентах (нижняя граница класса)"),
                                    ToQString(kPlaysAxis));
  for (ChartView* chart : {chWorkClients_.get(), chErrorsInClients_.get()}) {
    chart->Plot()->setMinimumSize(kChart);
    chart->SetEmptyNote(ToQString(kNoPlaysLeft));
  }

  edRecall_ = new QPushButton(ToQString("&Пересчитать для текущего времени"), content);
  edRecall_->setObjectName(QStringLiteral("edRecall"));
  buDelete_ = new QPushButton(ToQString("&Удалить все результаты этого розыгрыша"), content);
  buDelete_->setObjectName(QStringLiteral("buDelete"));
  // The described caption says "results"; what goes is the series' play windows.
  buDelete_->setToolTip(ToQString(kClosePlaysHint));

  auto* moment = new QHBoxLayout;
  moment->addWidget(label1);
  moment->addWidget(edCurTime_);
  moment->addWidget(label2);
  moment->addStretch();
  auto* charts = new QHBoxLayout;
  charts->addWidget(chWorkClients_->Plot());
  charts->addWidget(chErrorsInClients_->Plot());
  // Each button under its chart, as the original window had them.
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(edRecall_);
  buttons->addStretch(2);
  buttons->addWidget(buDelete_);
  buttons->addStretch();
  auto* root = new QVBoxLayout(content);
  root->addLayout(moment);
  root->addLayout(charts, 1);
  root->addLayout(buttons);
  setWidget(new ScrollingPane(content));

  connect(edRecall_, &QPushButton::clicked, this, [this] {
    record_->CurTimeText = edCurTime_->text().toStdString();
    const CommandOutcome outcome =
        Guarded([this] { return RecomputeDistributions(*record_, host_); });
    refusedMoment_ = outcome.ran() ? std::string() : record_->CurTimeText;
    ReportOutcome(messages_, this, outcome);
    Show();
  });
  aClosePlays_ = new QAction(ToQString("Закрыть розыгрыши серии"), this);
  aClosePlays_->setObjectName(QStringLiteral("aCloseSeriesPlays"));
  aClosePlays_->setStatusTip(ToQString(kClosePlaysHint));
  connect(aClosePlays_, &QAction::triggered, this,
          [this] { RunGuarded(messages_, this, [this] { CloseSeriesPlays(*record_, host_); }); });
  connect(buDelete_, &QPushButton::clicked, aClosePlays_, &QAction::trigger);
  aSaveAs_ = new QAction(ToQString("Сохранить как…"), this);
  aSaveAs_->setObjectName(QStringLiteral("aSaveAs"));
  connect(aSaveAs_, &QAction::triggered, this, [this] {
    if (WindowCommands* commands = WindowCommands::Of(*this)) commands->SaveAs(*this);
  });
  Show();
}

void TAllPlayResults::Show() {
  setWindowTitle(ToQString(record_->Caption));
  const QString moment = ToQString(record_->CurTimeText);
  if (edCurTime_->text() != moment) {
    edCurTime_->setText(moment);
    edCurTime_->setCursorPosition(0);
  }
  chWorkClients_->Show(record_->WorkClients);
  chErrorsInClients_->Show(record_->ErrorsInClients);
  // The caption names no moment: the charts say which one they were counted at.
  if (!record_->CurTimeText.empty() && record_->CurTimeText != refusedMoment_) {
    const QString at = ToQString("в момент %1 (сутки)").arg(moment);
    for (ChartView* chart : {chWorkClients_.get(), chErrorsInClients_.get()})
      if (chart->Subtitle() != at) chart->SetSubtitle(at);
  }
}

void TAllPlayResults::PaintNow() {
  Show();
  repaint();
}

void TAllPlayResults::contextMenuEvent(QContextMenuEvent* event) {
  if (!ShowContentMenu(*this, *event, {aSaveAs_, aClosePlays_}))
    QMdiSubWindow::contextMenuEvent(event);
}

void TAllPlayResults::closeEvent(QCloseEvent* event) {
  event->ignore();
  showMinimized();
}

}  // namespace teravo
