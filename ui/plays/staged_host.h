#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <memory>
#include <vector>

#include "play/play_host.h"

namespace teravo {

// Keeps what a driver asks of its host and passes it on to the real host later, a few steps
// at a time. QMdiArea spends longer on each minimised window the more there are, so the
// thousand windows of a large series, opened at once, would hold the window thread for
// seconds; opened a slice per turn of the event loop, they leave it free.
class StagedHost : public PlayHost {
 public:
  void OpenPlayWindow(std::shared_ptr<PlayRecord> record) override;
  void ShowPlayWindow(PlayRecord& record, WindowState state) override;
  void Repaint(PlayRecord& record) override;
  void ClosePlayWindow(PlayRecord& record) override;
  void OpenDistributionsWindow(std::shared_ptr<DistributionsRecord> record) override;
  void Repaint(DistributionsRecord& record) override;

  // Passes steps on, in the order they came, until `budget` has run out; true when none is
  // left. A window is opened, placed and painted in one go: a window left shown until the
  // next turn would build its charts, and a play of a series is to stay minimised and light.
  bool PassOn(PlayHost& host, std::chrono::steady_clock::duration budget);
  std::size_t Passed() const { return next_; }
  std::size_t Steps() const { return steps_.size(); }

 private:
  // The steps that open windows hold their records, and no step goes before the host does:
  // the later steps name those records by reference.
  struct Step {
    bool opens;
    std::function<void(PlayHost&)> pass;
  };
  std::vector<Step> steps_;
  std::size_t next_ = 0;
};

}  // namespace teravo
