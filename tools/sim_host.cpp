#include "tools/sim_host.h"

#include <algorithm>

#include "core/number_text.h"

namespace teravo::sim {

SimHost::SimHost(std::ostream& err, bool showProgress) : err_(err), showProgress_(showProgress) {}

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

void SimHost::SeriesProgress(int playsDone, int playsTotal) {
  if (!showProgress_) return;
  err_ << "\rРозыгрыш " << IntToStr(playsDone) << " из " << IntToStr(playsTotal);
  if (playsDone == playsTotal) err_ << '\n';
  err_.flush();
}

}  // namespace teravo::sim
