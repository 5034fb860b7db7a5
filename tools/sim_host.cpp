#include "tools/sim_host.h"

#include <algorithm>

#include "core/number_text.h"

namespace teravo::sim {

void SimHost::OpenPlayWindow(std::shared_ptr<PlayRecord> record) {
  playWindows_.push_back(std::move(record));
}

void SimHost::ShowPlayWindow(PlayRecord& record, WindowState state) {
  record.State = state;
}

void SimHost::ClosePlayWindow(PlayRecord& record) {
  std::erase_if(playWindows_, [&record](const auto& window) { return window.get() == &record; });
}

void SimHost::OpenDistributionsWindow(std::shared_ptr<DistributionsRecord> record) {
  distributions_ = std::move(record);
}

RunWindows SimHost::Windows() const {
  RunWindows run;
  for (const auto& window : playWindows_) {
    if (window->Kind == RecordKind::Averages) {
      run.averages = window;
    } else {
      run.plays.push_back(window);
    }
  }
  if (run.averages) run.distributions = distributions_;
  return run;
}

}  // namespace teravo::sim
