#include "ui/decisions/decisions_control.h"

#include <exception>
#include <utility>

#include <QAction>
#include <QMainWindow>
#include <QMdiArea>
#include <QProgressBar>

#include "params/settings_edits.h"
#include "play/commands.h"
#include "ui/common/error_report.h"
#include "ui/common/locale_text.h"
#include "ui/common/progress_line.h"

namespace teravo {

DecisionsControl::DecisionsControl(QMainWindow& window, QMdiArea& area, MessageSink& messages,
                                   TTeravo& model, QList<QAction*> commands)
    : QObject(&window),
      main_(window),
      area_(area),
      messages_(messages),
      model_(model),
      open_(new QAction(ToQString("Когда цель будет достигнута?…"), this)),
      run_(window, std::move(commands), ToQString("Остановить расчёт ответов")) {
  setObjectName(QStringLiteral("DecisionsControl"));
  open_->setObjectName(QStringLiteral("aDecisions"));
  open_->setStatusTip(
      ToQString("С какой вероятностью и когда цель будет достигнута, сколько "
                "нужно программистов, когда выпускать"));
  run_.Progress().setObjectName(QStringLiteral("DecisionsProgressLine"));
  run_.StopAction().setObjectName(QStringLiteral("aStopDecisions"));
  connect(open_, &QAction::triggered, this, &DecisionsControl::Open);
  connect(&run_, &BackgroundRun::Ended, this, &DecisionsControl::RunEnded);
}

TParameters DecisionsControl::AnsweredSet() const {
  // Nothing accepted yet leaves every parameter zero: the dialog's defaults stand in.
  return Accepted() ? model_.Parameters() : ParametersFromTexts({});
}

void DecisionsControl::Open() {
  RunGuarded(messages_, &main_, [this] {
    if (!window_) {
      window_ = new TDecisionsWindow(LocaleDecimalSeparator(), messages_,
                                     [this](const Question& question) { Start(question); });
      area_.addSubWindow(window_);
    }
    window_->ShowParameters(AnsweredSet(), Accepted());
    window_->show();
    area_.setActiveSubWindow(window_);
  });
}

bool DecisionsControl::Start(const Question& question) {
  if (const CommandOutcome busy = run_.CanStart(); !busy.ran()) {
    ReportOutcome(messages_, &main_, busy);
    return false;
  }
  if (!window_) Open();
  const TParameters given = AnsweredSet();
  window_->ShowParameters(given, Accepted());
  TTeravo check;
  static_cast<TParameters&>(check) = given;
  if (const CommandOutcome refused = CheckBeforeRun(check, question.plays, false, 0);
      !refused.ran()) {
    ReportOutcome(messages_, &main_, refused);
    return false;
  }
  pending_ = question;
  ProgressLine& line = run_.Progress();
  line.ShowSeries(1000);
  line.Bar()->setFormat(ToQString("Ответы: подготовка"));
  run_.StartInBackground(
      [this, given, question](const BackgroundJob& job) {
        QuestionControl control;
        control.stop = job.Stop();
        control.progress = [this, &job](QuestionStage stage, std::int64_t done,
                                        std::int64_t total) {
          job.Report([this, stage, done, total] {
            ProgressLine& bar = run_.Progress();
            bar.SetPlaysDone(static_cast<int>(1000 * done / std::max<std::int64_t>(total, 1)));
            bar.Bar()->setFormat(
                ToQString(stage == QuestionStage::Times
                              ? "Время до цели: розыгрышей %1 (всего не более %2)"
                              : "Подбор программистов: розыгрышей %1 (всего не более %2)")
                    .arg(done)
                    .arg(total));
          });
        };
        Ran ran;
        try {
          ran.answers = AskQuestions(given, question, control);
        } catch (const std::exception& error) {
          ran.error = error.what();
        }
        return ran;
      },
      [this](Ran&& ran) {
        if (!ran.answers) {
          messages_.Info(&main_, ToQString(ran.error));
          return;
        }
        if (ran.answers->time.plays == 0) {
          messages_.Info(&main_, ToQString("Расчёт остановлен до конца первого розыгрыша: "
                                           "отвечать не из чего."));
          return;
        }
        if (!window_) return;  // closed meanwhile
        RunGuarded(messages_, &main_,
                   [&] { window_->ShowAnswers(std::move(*ran.answers), pending_); });
      });
  return true;
}

}  // namespace teravo
