#include "results/distributions_record.h"

#include <utility>

namespace teravo {

std::vector<std::shared_ptr<PlayRecord>> DistributionsRecord::OpenPlayWindows() {
  std::vector<std::shared_ptr<PlayRecord>> open;
  open.reserve(FPlayWindows.size());
  std::erase_if(FPlayWindows, [&open](const std::weak_ptr<PlayRecord>& window) {
    std::shared_ptr<PlayRecord> record = window.lock();
    if (!record) return true;
    open.push_back(std::move(record));
    return false;
  });
  return open;
}

}  // namespace teravo
