#pragma once

#include <exception>
#include <utility>

#include <QString>

#include "play/command_outcome.h"
#include "ui/common/message_sink.h"

class QWidget;

namespace teravo {

// The text the default error handler shows: the error's own text with a full stop added
// when it does not already end in one.
QString ErrorReportText(const char* what);

// The default error handler: shows the error with an error icon; the program goes on.
void ReportError(MessageSink& sink, QWidget* parent, const std::exception& error);

// Shows what a command's outcome says: a refusal as a message, a failure as the default
// error handler would; nothing when it ran.
void ReportOutcome(MessageSink& sink, QWidget* parent, const CommandOutcome& outcome);

// Every command entry point runs through this, so an error ends only the command where it
// arose: exceptions must never cross a Qt event handler, and whatever the command had
// already opened stays as it is.
template <class Command>
void RunGuarded(MessageSink& sink, QWidget* parent, Command&& command) {
  try {
    std::forward<Command>(command)();
  } catch (const std::exception& error) {
    ReportError(sink, parent, error);
  }
}

}  // namespace teravo
