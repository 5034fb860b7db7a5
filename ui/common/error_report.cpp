#include "ui/common/error_report.h"

#include "ui/common/locale_text.h"

namespace teravo {

QString ErrorReportText(const char* what) {
  QString text = ToQString(what);
  if (!text.endsWith(QLatin1Char('.'))) text += QLatin1Char('.');
  return text;
}

void ReportError(MessageSink& sink, QWidget* parent, const std::exception& error) {
  sink.Error(parent, ErrorReportText(error.what()));
}

void ReportOutcome(MessageSink& sink, QWidget* parent, const CommandOutcome& outcome) {
  switch (outcome.kind) {
    case CommandOutcome::Kind::Ran:
      break;
    case CommandOutcome::Kind::Refused:
      sink.Info(parent, ToQString(outcome.text));
      break;
    case CommandOutcome::Kind::Failed:
      sink.Error(parent, ErrorReportText(outcome.text.c_str()));
      break;
  }
}

}  // namespace teravo
