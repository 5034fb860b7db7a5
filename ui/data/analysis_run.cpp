#include "ui/data/analysis_run.h"

#include <exception>

#include <QMetaObject>

namespace teravo {

AnalysisRun::~AnalysisRun() {
  // A call queued by the worker after this point is discarded with this object.
  if (worker_.joinable()) worker_.join();
}

void AnalysisRun::Start(FailureData data, AnalysisOptions options, Done done) {
  if (worker_.joinable()) worker_.join();
  running_ = true;
  worker_ = std::jthread([this, data = std::move(data), options, done = std::move(done)] {
    auto outcome = std::make_shared<Outcome>();
    try {
      outcome->analysis = AnalyseFailureData(data, options);
    } catch (const std::exception& error) {
      outcome->error = error.what();
    }
    // Queued to this object: Qt drops the call if the object has been deleted first.
    QMetaObject::invokeMethod(
        this,
        [this, outcome, done] {
          running_ = false;
          done(*outcome);
        },
        Qt::QueuedConnection);
  });
}

}  // namespace teravo
