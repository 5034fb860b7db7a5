#include "play/commands.h"

#include <string>

#include "play/multi_play.h"
#include "play/play_driver.h"

namespace teravo {

void aPlayIterationExecute(TTeravo& model, PlayHost& host) {
  if (!IsUsable(model)) {
    host.ShowMessage(std::string(kParametersNotSet));
    return;
  }
  Play(model, host);
}

void aPlayPlayExecute(TTeravo& model, PlayHost& host) {
  if (!IsUsable(model) || model.FK < 1) {
    host.ShowMessage(std::string(kParametersNotSet));
    return;
  }
  PlayMultiple(model, host);
}

}  // namespace teravo
