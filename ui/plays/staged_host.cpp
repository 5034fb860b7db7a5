#include "ui/plays/staged_host.h"

#include <utility>

namespace teravo {

void StagedHost::OpenPlayWindow(std::shared_ptr<PlayRecord> record) {
  steps_.push_back(
      {true, [record = std::move(record)](PlayHost& host) { host.OpenPlayWindow(record); }});
}

void StagedHost::ShowPlayWindow(PlayRecord& record, WindowState state) {
  steps_.push_back(
      {false, [&record, state](PlayHost& host) { host.ShowPlayWindow(record, state); }});
}

void StagedHost::Repaint(PlayRecord& record) {
  steps_.push_back({false, [&record](PlayHost& host) { host.Repaint(record); }});
}

void StagedHost::ClosePlayWindow(PlayRecord& record) {
  steps_.push_back({false, [&record](PlayHost& host) { host.ClosePlayWindow(record); }});
}

void StagedHost::OpenDistributionsWindow(std::shared_ptr<DistributionsRecord> record) {
  steps_.push_back({true, [record = std::move(record)](PlayHost& host) {
                      host.OpenDistributionsWindow(record);
                    }});
}

void StagedHost::Repaint(DistributionsRecord& record) {
  steps_.push_back({false, [&record](PlayHost& host) { host.Repaint(record); }});
}

bool StagedHost::PassOn(PlayHost& host, std::chrono::steady_clock::duration budget) {
  const auto until = std::chrono::steady_clock::now() + budget;
  while (next_ < steps_.size()) {
    steps_[next_++].pass(host);
    const bool between = next_ == steps_.size() || steps_[next_].opens;
    if (between && std::chrono::steady_clock::now() >= until) break;
  }
  return next_ == steps_.size();
}

}  // namespace teravo
