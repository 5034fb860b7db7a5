#include "tools/sim_host.h"

#include <algorithm>

#include "core/number_text.h"

namespace teravo::sim {

SimHost::SimHost(const SimSettingsForm& form, std::ostream& err, bool showProgress)
    : form_(form), err_(err), showProgress_(showProgress) {}

std::shared_ptr<PlayRecord> SimHost::OpenPlayWindow() {
  playWindows_.push_back(std::make_shared<PlayRecord>(form_.DecimalSeparator()));
  return playWindows_.back();
}

void SimHost::ShowPlayWindow(PlayRecord& record, WindowState state) {
  record.State = state;
}

void SimHost::ClosePlayWindow(PlayRecord& record) {
  std::erase_if(playWindows_, [&record](const auto& window) { return window.get() == &record; });
}

std::shared_ptr<DistributionsRecord> SimHost::OpenDistributionsWindow() {
  distributions_ = std::make_shared<DistributionsRecord>(form_.DecimalSeparator());
  return distributions_;
}

void SimHost::ShowMessage(const std::string& text) {
  ++messagesShown_;
  err_ << text << '\n';
}

std::string SimHost::TotalTimeText() {
  return form_.Text(edit::Time);
}

void SimHost::SeriesProgress(int playsDone, int playsTotal) {
  if (!showProgress_) return;
  err_ << "\rРозыгрыш " << IntToStr(playsDone) << " из " << IntToStr(playsTotal);
  if (playsDone == playsTotal) err_ << '\n';
  err_.flush();
}

}  // namespace teravo::sim
