#include "ui/distributions_window.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <qcustomplot.h>

#include "ui/design_placer.h"
#include "ui/error_report.h"
#include "ui/locale_text.h"
#include "ui/window_metrics.h"

namespace teravo {

namespace {

constexpr int kDesignWidth = 824;
constexpr int kDesignHeight = 345;

constexpr DesignRect kTimeLabel{16, 8, 40, 21};
constexpr DesignRect kTimeEdit{56, 8, 81, 21};
constexpr DesignRect kTimeUnit{144, 8, 60, 21};
constexpr DesignRect kWorkClientsChart{8, 40, 400, 250};
constexpr DesignRect kErrorsInClientsChart{416, 40, 400, 250};
constexpr DesignRect kRecallButton{96, 312, 217, 25};
constexpr DesignRect kDeleteButton{504, 312, 273, 25};

}  // namespace

TAllPlayResults::TAllPlayResults(std::shared_ptr<DistributionsRecord> record, PlayHost& host,
                                 MessageSink& messages, QWidget* parent)
    : QMdiSubWindow(parent), record_(std::move(record)), host_(host), messages_(messages) {
  auto* content = new QWidget;
  content->setObjectName(QStringLiteral("AllPlayResults"));
  content->setAutoFillBackground(true);
  QPalette white = content->palette();
  white.setColor(QPalette::Window, Qt::white);
  content->setPalette(white);
  QFont normal = content->font();
  normal.setPointSize(kTextPointSize);
  content->setFont(normal);

  const char* recallCaption = "&Пересчитать для текущего времени";
  const char* deleteCaption = "&Удалить все результаты этого розыгрыша";
  const DesignPlacer at(FitScale(normal, {{ToQString("Время:"), kTimeLabel.width},
                                          {ToQString(recallCaption), kRecallButton.width},
                                          {ToQString(deleteCaption), kDeleteButton.width}}));

  auto* label1 = new QLabel(ToQString("Время:"), content);
  label1->setObjectName(QStringLiteral("Label1"));
  at.Place(label1, kTimeLabel);
  edCurTime_ = new QLineEdit(content);
  edCurTime_->setObjectName(QStringLiteral("edCurTime"));
  at.Place(edCurTime_, kTimeEdit);
  auto* label2 = new QLabel(ToQString("(сутки)"), content);
  label2->setObjectName(QStringLiteral("Label2"));
  at.Place(label2, kTimeUnit);

  chWorkClients_ = std::make_unique<ChartView>(content, QStringLiteral("chWorkClients"),
                                               ToQString("Распределение числа рабочих клиентов"),
                                               ChartView::Kind::Bars, QColor(229, 229, 229));
  at.Place(chWorkClients_->Plot(), kWorkClientsChart);
  chErrorsInClients_ =
      std::make_unique<ChartView>(content, QStringLiteral("chErrorsInClients"),
                                  ToQString("Распределение числа ошибок в клиентах"),
                                  ChartView::Kind::Bars, QColor(232, 232, 232));
  at.Place(chErrorsInClients_->Plot(), kErrorsInClientsChart);

  edRecall_ = new QPushButton(ToQString(recallCaption), content);
  edRecall_->setObjectName(QStringLiteral("edRecall"));
  at.Place(edRecall_, kRecallButton);
  buDelete_ = new QPushButton(ToQString(deleteCaption), content);
  buDelete_->setObjectName(QStringLiteral("buDelete"));
  at.Place(buDelete_, kDeleteButton);
  content->setMinimumSize(at.X(kDesignWidth), kDesignHeight);
  setWidget(content);

  connect(edRecall_, &QPushButton::clicked, this, [this] {
    record_->CurTimeText = edCurTime_->text().toStdString();
    ReportOutcome(messages_, this, Guarded([this] { return edRecallClick(*record_, host_); }));
    Show();
  });
  connect(buDelete_, &QPushButton::clicked, this,
          [this] { RunGuarded(messages_, this, [this] { buDeleteClick(*record_, host_); }); });
  Show();
}

void TAllPlayResults::Show() {
  setWindowTitle(ToQString(record_->Caption));
  const QString moment = ToQString(record_->CurTimeText);
  if (edCurTime_->text() != moment) edCurTime_->setText(moment);
  chWorkClients_->Show(record_->WorkClients);
  chErrorsInClients_->Show(record_->ErrorsInClients);
}

void TAllPlayResults::PaintNow() {
  Show();
  repaint();
}

void TAllPlayResults::closeEvent(QCloseEvent* event) {
  event->ignore();
  showMinimized();
}

}  // namespace teravo
