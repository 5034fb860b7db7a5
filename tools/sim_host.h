#pragma once

#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "play/play_host.h"
#include "tools/sim_settings_form.h"

namespace teravo::sim {

// Keeps every window a run opens as a plain record, in the order of opening; messages go to
// `err`, and so does the progress of a series when `err` is a terminal.
class SimHost : public PlayHost {
 public:
  SimHost(const SimSettingsForm& form, std::ostream& err, bool showProgress);

  std::shared_ptr<PlayRecord> OpenPlayWindow() override;
  void ShowPlayWindow(PlayRecord& record, WindowState state) override;
  void Repaint(PlayRecord& /*record*/) override {}
  void ClosePlayWindow(PlayRecord& record) override;
  std::shared_ptr<DistributionsRecord> OpenDistributionsWindow() override;
  void Repaint(DistributionsRecord& /*record*/) override {}
  void ShowMessage(const std::string& text) override;
  std::string DateTimeText() override { return LocalDateTimeNow(); }
  std::string TotalTimeText() override;
  char DecimalSeparator() override { return form_.DecimalSeparator(); }
  void SeriesProgress(int playsDone, int playsTotal) override;

  const std::vector<std::shared_ptr<PlayRecord>>& PlayWindows() const { return playWindows_; }
  const std::shared_ptr<DistributionsRecord>& Distributions() const { return distributions_; }
  int MessagesShown() const { return messagesShown_; }

 private:
  const SimSettingsForm& form_;
  std::ostream& err_;
  bool showProgress_;
  int messagesShown_ = 0;
  std::vector<std::shared_ptr<PlayRecord>> playWindows_;
  std::shared_ptr<DistributionsRecord> distributions_;
};

}  // namespace teravo::sim
