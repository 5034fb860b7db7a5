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
  void OpenPlayWindow(std::shared_ptr<PlayRecord> record) override {
    playWindows.push_back(std::move(record));
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
  void OpenDistributionsWindow(std::shared_ptr<DistributionsRecord> record) override {
    distributions.push_back(std::move(record));
  }
  void Repaint(DistributionsRecord& /*record*/) override { ++distributionRepaints; }

  std::vector<std::shared_ptr<PlayRecord>> playWindows;
  std::vector<std::shared_ptr<DistributionsRecord>> distributions;
  std::vector<std::pair<PlayRecord*, WindowState>> shown;
  std::vector<PlayRecord*> repaints;
  std::vector<std::string> repaintTimes;  // edCurTime as each repaint showed it
  int distributionRepaints = 0;
  int closeRequests = 0;
  int failClose = -1;  // the index of the close request that throws, if any
};

// What the tests' plays take from outside: the dialog's default total time, a comma and a
// fixed date and time.
inline PlayContext TestContext(char separator = ',') {
  return {"10", separator, [] { return std::string("08.12.2026 4:39:53"); }};
}

}  // namespace teravo::testing
