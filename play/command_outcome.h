#pragma once

#include <exception>
#include <string>
#include <utility>

namespace teravo {

// What became of a command: it ran, it was refused with a message (nothing changed), or it
// failed with a general error (what it had opened stays open). The caller shows the text.
struct CommandOutcome {
  enum class Kind { Ran, Refused, Failed };
  Kind kind = Kind::Ran;
  std::string text;

  static CommandOutcome Ran() { return {}; }
  static CommandOutcome Refused(std::string message) { return {Kind::Refused, std::move(message)}; }
  static CommandOutcome Failed(std::string error) { return {Kind::Failed, std::move(error)}; }
  bool ran() const { return kind == Kind::Ran; }
  bool operator==(const CommandOutcome&) const = default;
};

// Runs `command` (which returns a CommandOutcome) and turns an exception into a failure.
template <class Command>
CommandOutcome Guarded(Command&& command) {
  try {
    return command();
  } catch (const std::exception& error) {
    return CommandOutcome::Failed(error.what());
  }
}

}  // namespace teravo
