#include "play/commands.h"

#include <string>

#include "play/multi_play.h"
#include "play/play_driver.h"

namespace teravo {

CommandOutcome aPlayIterationExecute(TTeravo& model, PlayHost& host, const PlayContext& context) {
  if (!IsUsable(model)) return CommandOutcome::Refused(std::string(kParametersNotSet));
  return Guarded([&] {
    Play(model, host, context);
    return CommandOutcome::Ran();
  });
}

CommandOutcome aPlayPlayExecute(TTeravo& model, PlayHost& host, const PlayContext& context,
                                const SeriesOptions& options) {
  if (!IsUsable(model) || model.FK < 1) {
    return CommandOutcome::Refused(std::string(kParametersNotSet));
  }
  return Guarded([&] { return PlayMultiple(model, host, context, options); });
}

}  // namespace teravo
