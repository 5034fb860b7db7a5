#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include <QObject>

#include "reliability/failure_analysis.h"

namespace teravo {

// One analysis of failure data on a thread of its own, its outcome handed back on the thread
// of this object. The fits take seconds on large data; the window thread stays free meanwhile.
class AnalysisRun : public QObject {
  Q_OBJECT
 public:
  struct Outcome {
    std::optional<FailureAnalysis> analysis;
    std::string error;  // the layer's Russian text when there is no analysis
  };
  using Done = std::function<void(const Outcome&)>;

  explicit AnalysisRun(QObject* parent = nullptr) : QObject(parent) {}
  // Waits for an analysis still running: its outcome is then dropped with this object.
  ~AnalysisRun() override;

  bool Running() const { return running_; }
  // `done` is called on this object's thread, unless this object is gone by then.
  void Start(FailureData data, AnalysisOptions options, Done done);

 private:
  bool running_ = false;
  // Last: it is joined before the rest of this object goes.
  std::jthread worker_;
};

}  // namespace teravo
