#include "ui/decisions/decisions_window.h"

#include <algorithm>
#include <utility>

#include <qcustomplot.h>
#include <QAction>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/number_text.h"
#include "decisions/answer_tables.h"
#include "decisions/answer_texts.h"
#include "ui/common/content_menu.h"
#include "ui/common/locale_text.h"
#include "ui/common/scrolling_pane.h"
#include "ui/common/window_metrics.h"
#include "ui/data/analysis_widgets.h"
#include "ui/decisions/question_form.h"
#include "ui/shell/window_placement.h"

namespace teravo {

namespace {

const QColor kShareColor(20, 60, 160);
const QColor kProbabilityColor(190, 30, 30);
const QColor kDateColor(20, 130, 60);
const QColor kBandColor(20, 60, 160, 45);
// The charts share the window with the question and the answers: they may be lower than
// the other windows' charts.
constexpr int kPlotHeight = 160;

QTableWidgetItem* Cell(const QString& text, bool bold = false) {
  QTableWidgetItem* item = TextItem(text);
  if (bold) {
    QFont font = item->font();
    font.setBold(true);
    item->setFont(font);
  }
  return item;
}

QString Html(const std::string& text) {
  return ToQString(text).toHtmlEscaped();
}

}  // namespace

TDecisionsWindow::TDecisionsWindow(char separator, MessageSink& messages, Asker ask,
                                   QWidget* parent)
    : QMdiSubWindow(parent),
      separator_(separator),
      messages_(messages),
      askQuestion_(std::move(ask)),
      exportAsk_([this](ExportDialog& dialog) {
        PlaceCentred(dialog, *window());
        return dialog.exec() == QDialog::Accepted;
      }) {
  setObjectName(QStringLiteral("Decisions"));
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(ToQString("Когда цель будет достигнута?"));

  content_ = new QWidget(this);
  auto* layout = new QVBoxLayout(content_);
  form_ = new QuestionForm(separator, content_);
  layout->addWidget(form_);

  auto* row = new QHBoxLayout;
  parameters_ = new QLabel(content_);
  parameters_->setObjectName(QStringLiteral("lbParameterSet"));
  parameters_->setWordWrap(true);
  ask_ = new QPushButton(ToQString("&Ответить"), content_);
  ask_->setObjectName(QStringLiteral("buAsk"));
  ask_->setDefault(true);
  ask_->setToolTip(
      ToQString("Разыграть и ответить; Esc или кнопка в строке состояния "
                "останавливает расчёт"));
  auto* save = new QPushButton(ToQString("Сохранить &как…"), content_);
  save->setObjectName(QStringLiteral("buSaveDecisions"));
  row->addWidget(parameters_, 1);
  row->addWidget(ask_);
  row->addWidget(save);
  layout->addLayout(row);

  answer_ =
      new QLabel(ToQString("Задайте цель и нажмите «Ответить»: ответы появятся здесь."), content_);
  answer_->setObjectName(QStringLiteral("lbAnswer"));
  answer_->setWordWrap(true);
  answer_->setTextFormat(Qt::RichText);
  QFont answerFont = answer_->font();
  answerFont.setPointSize(kValuePointSize);
  answer_->setFont(answerFont);
  layout->addWidget(answer_);
  details_ = new QLabel(content_);
  details_->setObjectName(QStringLiteral("lbAnswerDetails"));
  details_->setWordWrap(true);
  layout->addWidget(details_);

  tabs_ = new QTabWidget(content_);
  tabs_->setObjectName(QStringLiteral("twDecisions"));
  tabs_->addTab(MakeTimeTab(), ToQString("&Время до цели"));
  tabs_->addTab(MakeStaffingTab(), ToQString("&Программисты"));
  tabs_->addTab(MakeCostTab(), ToQString("С&тоимость выпуска"));
  layout->addWidget(tabs_, 1);
  setWidget(new ScrollingPane(content_, this));

  aSaveAs_ = new QAction(ToQString("Сохранить как…"), this);
  aSaveAs_->setObjectName(QStringLiteral("aSaveAs"));
  connect(aSaveAs_, &QAction::triggered, this, &TDecisionsWindow::SaveAs);
  connect(save, &QPushButton::clicked, this, &TDecisionsWindow::SaveAs);
  connect(ask_, &QPushButton::clicked, this, [this] {
    if (auto question = form_->Read(messages_); question && askQuestion_) askQuestion_(*question);
  });
  resize(1000, 760);
}

QWidget* TDecisionsWindow::MakeTimeTab() {
  auto* tab = new QWidget;
  auto* layout = new QHBoxLayout(tab);
  distribution_ =
      MakePlot(tab, QStringLiteral("chTimeToTarget"), "Время от начала t, сутки", "Вероятность");
  distribution_->plotLayout()->insertRow(0);
  distribution_->plotLayout()->addElement(
      0, 0,
      new QCPTextElement(distribution_, ToQString("Вероятность достичь цели к моменту t"),
                         QFont(font().family(), kChartTitlePointSize, QFont::Bold)));
  distribution_->setToolTip(ToQString(
      "Ступенчатая линия — доля розыгрышей, достигших цели к моменту t; где она пересекает "
      "линию вероятности, там и ответ. Не достигшие цели до конца розыгрыша в доле не "
      "учтены, но в знаменателе остаются"));
  // The legend goes under the chart, in two columns: inside it would hide the rising steps.
  QCPLegend* legend = distribution_->legend;
  legend->setVisible(true);
  legend->setFont(distribution_->font());
  distribution_->axisRect()->insetLayout()->take(legend);
  distribution_->plotLayout()->addElement(2, 0, legend);
  distribution_->plotLayout()->setRowStretchFactor(2, 0.001);
  legend->setFillOrder(QCPLegend::foColumnsFirst);
  legend->setWrap(2);
  legend->setBorderPen(Qt::NoPen);
  distribution_->setMinimumHeight(kPlotHeight);
  layout->addWidget(distribution_, 1);
  quantiles_ = MakeTable(tab, "tbQuantiles",
                         {ToQString("Вероятность"), ToQString("Срок, сут."), ToQString("от"),
                          ToQString("до"), ToQString("Доверие")});
  quantiles_->setToolTip(ToQString(
      "Срок, к которому цель достигается с данной вероятностью, и интервал для него по "
      "порядковым статистикам (биномиальный): с указанным доверием истинный срок лежит между "
      "«от» и «до»"));
  quantiles_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  layout->addWidget(quantiles_, 1);
  return tab;
}

QWidget* TDecisionsWindow::MakeStaffingTab() {
  auto* tab = new QWidget;
  auto* layout = new QVBoxLayout(tab);
  staffingAnswer_ = new QLabel(
      ToQString("Число программистов подбирается, когда отмечено «Подобрать число программистов» "
                "и задан срок. Каждое число разыгрывается на одних и тех же посевах; ответ и "
                "число на единицу меньше затем проверяются на новых посевах. Строки — в порядке "
                "проб."),
      tab);
  staffingAnswer_->setObjectName(QStringLiteral("lbStaffing"));
  staffingAnswer_->setWordWrap(true);
  layout->addWidget(staffingAnswer_);
  staffing_ =
      MakeTable(tab, "tbStaffing",
                {ToQString("Программистов"), ToQString("Посевы"), ToQString("Розыгрышей"),
                 ToQString("Достигли цели к сроку"), ToQString("Вероятность"), ToQString("Итог")});
  staffing_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
  staffing_->horizontalHeader()->setStretchLastSection(true);
  layout->addWidget(staffing_, 1);
  return tab;
}

QWidget* TDecisionsWindow::MakeCostTab() {
  auto* tab = new QWidget;
  auto* layout = new QVBoxLayout(tab);
  costModel_ = new QLabel(
      ToQString("Стоимость выпуска в момент t = программистов × стоимость дня программиста × t + "
                "стоимость отказа × отказы после t до горизонта. Отметьте «Стоимость выпуска»."),
      tab);
  costModel_->setObjectName(QStringLiteral("lbCostModel"));
  costModel_->setWordWrap(true);
  layout->addWidget(costModel_);
  costPlot_ =
      MakePlot(tab, QStringLiteral("chReleaseCost"), "Момент выпуска t, сутки", "Стоимость");
  costPlot_->setMinimumHeight(kPlotHeight);
  layout->addWidget(costPlot_, 1);
  return tab;
}

void TDecisionsWindow::ShowParameters(const TParameters& parameters, bool accepted) {
  form_->FitToPlay(parameters);
  const long double end = static_cast<long double>(parameters.FM) * parameters.FDT;
  parameters_->setText(
      ToQString("Набор параметров: %1. Программистов %2, розыгрыш %3 сут. (шаг %4 сут.).")
          .arg(ToQString(accepted ? "принятый в настройках (F2)"
                                  : "настройки по умолчанию — другой набор задайте в F2, "
                                    "откройте из файла или примите из калибровки"))
          .arg(parameters.FProgrammersNum)
          .arg(ToQString(FloatToStr(end, separator_)))
          .arg(ToQString(FloatToStr(parameters.FDT, separator_))));
}

void TDecisionsWindow::ShowAnswers(Answers answers, Question question) {
  answers_ = std::move(answers);
  question_ = std::move(question);
  const Answers& a = *answers_;
  QString lines = QStringLiteral("<span style=\"font-size:large\"><b>") +
                  Html(TimeAnswerText(a, question_, separator_)) + QStringLiteral("</b></span>");
  for (const std::string& text : {ByDateText(a, separator_), StaffingText(a, question_, separator_),
                                  CostText(a, separator_)}) {
    if (!text.empty()) lines += QStringLiteral("<br>• ") + Html(text);
  }
  answer_->setText(lines);
  details_->setText(ToQString("Цель: ") + ToQString(TargetText(question_.target, separator_)) +
                    QStringLiteral(", ") + ToQString(HoldingText(question_.target.holding)) +
                    QStringLiteral(". ") + ToQString(TimeBasisText(a, separator_)));
  ShowDistribution();
  ShowStaffing();
  ShowCost();
}

void TDecisionsWindow::ShowDistribution() {
  const Answers& a = *answers_;
  const TimeToTarget& time = a.time;
  distribution_->clearGraphs();
  distribution_->clearItems();
  // The share reached by t rises by 1/n at each play's first time.
  std::vector<double> xs = {0};
  std::vector<double> ys = {0};
  for (std::size_t i = 0; i < time.reachedTimes.size(); ++i) {
    xs.push_back(time.reachedTimes[i]);
    ys.push_back(static_cast<double>(i + 1) / time.plays);
  }
  xs.push_back(time.playEnd);
  ys.push_back(ys.back());
  QCPGraph* share = AddGraph(distribution_, xs, ys, QPen(kShareColor, 2),
                             ToQString("доля розыгрышей, достигших цели к t"));
  share->setLineStyle(QCPGraph::lsStepLeft);
  const double p = question_.probability;
  const QString percent = ToQString(PercentText(p, separator_));
  AddGraph(distribution_, {0, time.playEnd}, {p, p}, QPen(kProbabilityColor, 1.5, Qt::DashLine),
           ToQString("вероятность ") + percent);
  if (time.answer.time) {
    const double t = *time.answer.time;
    AddGraph(distribution_, {t, t}, {0, p}, QPen(kProbabilityColor, 1.5),
             ToQString("с вероятностью %1 — к %2 сут.")
                 .arg(percent, ToQString(DaysText(t, separator_))));
  }
  if (a.by) {
    AddGraph(distribution_, {*a.by, *a.by}, {0, 1}, QPen(kDateColor, 1, Qt::DotLine),
             ToQString("срок %1 сут.").arg(ToQString(DaysText(*a.by, separator_))));
  }
  distribution_->xAxis->setRange(0, time.playEnd);
  distribution_->yAxis->setRange(0, 1.05);
  distribution_->replot();

  std::vector<const QuantileAnswer*> rows = {&time.answer};
  for (const QuantileAnswer& quantile : time.quantiles)
    if (quantile.probability != time.answer.probability) rows.push_back(&quantile);
  quantiles_->setRowCount(static_cast<int>(rows.size()));
  const QString notReached = ToQString("не достигнута");
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    const QuantileAnswer& q = *rows[static_cast<std::size_t>(r)];
    const bool asked = r == 0;
    quantiles_->setItem(r, 0, Cell(ToQString(PercentText(q.probability, separator_)), asked));
    quantiles_->setItem(
        r, 1, Cell(q.time ? ToQString(DaysText(*q.time, separator_)) : notReached, asked));
    quantiles_->setItem(r, 2, Cell(q.low ? ToQString(DaysText(*q.low, separator_)) : notReached));
    quantiles_->setItem(r, 3, Cell(q.high ? ToQString(DaysText(*q.high, separator_)) : notReached));
    quantiles_->setItem(r, 4, Cell(ToQString(PercentText(q.coverage, separator_))));
  }
}

void TDecisionsWindow::ShowStaffing() {
  const Answers& a = *answers_;
  staffing_->setRowCount(0);
  if (!a.staffing) {
    staffingAnswer_->setText(
        ToQString("Число программистов не подбиралось: отметьте «Подобрать "
                  "число программистов» и задайте срок."));
    return;
  }
  staffingAnswer_->setText(ToQString(StaffingText(a, question_, separator_)) +
                           ToQString(" Строки — в порядке проб: поиск делением пополам на общих "
                                     "посевах, затем проверка на новых."));
  const Staffing& staffing = *a.staffing;
  staffing_->setRowCount(static_cast<int>(staffing.trials.size()));
  for (int r = 0; r < static_cast<int>(staffing.trials.size()); ++r) {
    const StaffingTrial& trial = staffing.trials[static_cast<std::size_t>(r)];
    const bool enough = trial.Share() >= question_.probability;
    const bool answer = staffing.answer && trial.programmers == *staffing.answer;
    staffing_->setItem(r, 0, Cell(QString::number(trial.programmers), answer));
    staffing_->setItem(r, 1, Cell(ToQString(trial.freshSeeds ? "новые (проверка)" : "общие")));
    staffing_->setItem(r, 2, Cell(QString::number(trial.plays)));
    staffing_->setItem(r, 3, Cell(QString::number(trial.reached)));
    staffing_->setItem(r, 4, Cell(ToQString(PercentText(trial.Share(), separator_)), answer));
    staffing_->setItem(r, 5,
                       Cell(ToQString(enough ? "не ниже %1" : "ниже %1")
                                .arg(ToQString(PercentText(question_.probability, separator_)))));
  }
}

void TDecisionsWindow::ShowCost() {
  const Answers& a = *answers_;
  costPlot_->clearGraphs();
  costPlot_->clearItems();
  if (!a.cost || !question_.costs) {
    costModel_->setText(ToQString("Стоимость выпуска не считалась: отметьте «Стоимость выпуска»."));
    costPlot_->replot();
    return;
  }
  const ReleaseCost& cost = *a.cost;
  costModel_->setText(ToQString(CostModelText(a, *question_.costs, separator_)) +
                      QLatin1Char('\n') + ToQString(CostText(a, separator_)));
  QCPGraph* low = AddGraph(costPlot_, cost.times, cost.low, QPen(Qt::NoPen), QString());
  low->removeFromLegend();
  QCPGraph* high = AddGraph(costPlot_, cost.times, cost.high, QPen(Qt::NoPen),
                            ToQString("90 % розыгрышей (полоса 5–95 %)"));
  high->setBrush(kBandColor);
  high->setChannelFillGraph(low);
  AddGraph(costPlot_, cost.times, cost.mean, QPen(kShareColor, 2),
           ToQString("ожидаемая стоимость"));
  const double best = cost.times[cost.best];
  const double top = *std::max_element(cost.high.begin(), cost.high.end());
  AddGraph(costPlot_, {best, best}, {0, top}, QPen(kProbabilityColor, 1.5, Qt::DashLine),
           ToQString("дешевле всего: выпуск в %1 сут.").arg(ToQString(DaysText(best, separator_))));
  ShowLegend(costPlot_, Qt::AlignTop | Qt::AlignRight);
  FitAxes(costPlot_);
}

std::vector<std::pair<std::string, std::string>> TDecisionsWindow::CsvTables() const {
  if (!answers_) return {};
  return AnswerCsvTables(*answers_, separator_);
}

ExportSource TDecisionsWindow::Export() const {
  ExportSource source{windowTitle(), content_, {}, {}, {}};
  source.charts.push_back({ToQString("Время до цели"), distribution_});
  source.charts.push_back({ToQString("Стоимость выпуска"), costPlot_});
  source.csvTables = [this] { return CsvTables(); };
  return source;
}

void TDecisionsWindow::SaveAs() {
  if (!answers_) {
    messages_.Info(this, ToQString("Сохранять пока нечего: сначала нажмите «Ответить»."));
    return;
  }
  SaveAsAsked(*this, messages_, exportAsk_, [this] { return Export(); });
}

void TDecisionsWindow::contextMenuEvent(QContextMenuEvent* event) {
  if (!ShowContentMenu(*this, *event, {aSaveAs_})) QMdiSubWindow::contextMenuEvent(event);
}

}  // namespace teravo
