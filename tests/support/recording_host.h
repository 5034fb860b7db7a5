#pragma once

#include <algorithm>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "play/play_host.h"

namespace teravo::testing {

// A host that keeps every window as a plain record and remembers what the drivers asked of it.
class RecordingHost : public PlayHost {
 public:
  explicit RecordingHost(char separator = ',') : separator_(separator) {}

  std::shared_ptr<PlayRecord> OpenPlayWindow() override {
    playWindows.push_back(std::make_shared<PlayRecord>(separator_));
    return playWindows.back();
  }
  void ShowPlayWindow(PlayRecord& record, WindowState state) override {
    shown.emplace_back(&record, state);
  }
  void Repaint(PlayRecord& record) override {
    repaints.push_back(&record);
    repaintTimes.push_back(record.Text(Field::edCurTime));
  }
  void ClosePlayWindow(PlayRecord& record) override {
    ++closeRequests;
    if (failClose-- == 0) throw std::runtime_error("cannot close");
    std::erase_if(playWindows, [&record](const auto& window) { return window.get() == &record; });
  }
  std::shared_ptr<DistributionsRecord> OpenDistributionsWindow() override {
    distributions.push_back(std::make_shared<DistributionsRecord>(separator_));
    return distributions.back();
  }
  void Repaint(DistributionsRecord& /*record*/) override { ++distributionRepaints; }
  void ShowMessage(const std::string& text) override { messages.push_back(text); }
  std::string DateTimeText() override { return dateTime; }
  std::string TotalTimeText() override { return totalTime; }
  char DecimalSeparator() override { return separator_; }
  void SeriesProgress(int done, int total) override { progress.emplace_back(done, total); }

  std::vector<std::shared_ptr<PlayRecord>> playWindows;
  std::vector<std::shared_ptr<DistributionsRecord>> distributions;
  std::vector<std::pair<PlayRecord*, WindowState>> shown;
  std::vector<PlayRecord*> repaints;
  std::vector<std::string> repaintTimes;  // edCurTime as each repaint showed it
  std::vector<std::string> messages;
  std::vector<std::pair<int, int>> progress;
  int distributionRepaints = 0;
  int closeRequests = 0;
  int failClose = -1;  // the index of the close request that throws, if any
  std::string dateTime = "08.12.2026 4:39:53";
  std::string totalTime = "10";

 private:
  char separator_;
};

}  // namespace teravo::testing
