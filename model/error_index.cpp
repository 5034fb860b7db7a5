#include "model/error_index.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace teravo {

namespace {

// Up to this length an appended error goes straight into the sorted positions; beyond it
// into the tail, merged once it is as long as the square root of the sorted part.
constexpr std::size_t kDirectInsert = 4096;

std::uint64_t Bits(double x) {
  return std::bit_cast<std::uint64_t>(x);
}

}  // namespace

void ErrorIndex::Rebuild(const ErrorList& list) {
  struct Item {
    double position;
    std::uint64_t rank;  // also the error's place in the list
  };
  std::vector<Item> items;
  items.reserve(list.size());
  for (std::uint64_t rank = 0; rank < list.size(); ++rank) {
    const double position = list[rank]->FPosition;
    if (!std::isnan(position)) items.push_back({position, rank});
  }
  std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
    return a.position < b.position || (a.position == b.position && a.rank < b.rank);
  });
  positions_.clear();
  entries_.clear();
  tail_.clear();
  positions_.reserve(items.size());
  entries_.reserve(items.size());
  for (const Item& item : items) {
    positions_.push_back(item.position);
    entries_.push_back({item.rank, list[item.rank].get()});
  }
  nextRank_ = list.size();
  RebuildGuide();
  built_ = true;
  Seen(list);
}

void ErrorIndex::RebuildGuide() {
  const std::size_t buckets = std::max<std::size_t>(positions_.size(), 1);
  // A word of fine buckets for each position, at most a megabyte of them.
  const std::size_t words = std::min<std::size_t>(buckets, std::size_t{1} << 17);
  guideLow_ = 0;
  guideScale_ = 0;
  fineScale_ = 0;
  const auto finite = [](double x) { return std::isfinite(x); };
  const auto first = std::find_if(positions_.begin(), positions_.end(), finite);
  const auto last = std::find_if(positions_.rbegin(), positions_.rend(), finite);
  if (first != positions_.end()) {
    // The data area [0, 1) at least, where requests fall too.
    const double low = std::min(*first, 0.0);
    const double span = std::max(*last, 1.0) - low;
    guideLow_ = low;
    guideScale_ = static_cast<double>(buckets) / span;
    fineScale_ = static_cast<double>(words * 64) / span;
  }
  guideTop_ = static_cast<double>(buckets - 1);
  guide_.assign(buckets + 1, 0);
  for (const double position : positions_) ++guide_[Bucket(position) + 1];
  for (std::size_t b = 1; b <= buckets; ++b) guide_[b] += guide_[b - 1];
  fineTop_ = static_cast<double>(words * 64 - 1);
  occupied_.assign(words, 0);
  for (const double position : positions_) MarkFine(position);
}

bool ErrorIndex::InStep(const ErrorList& list) const {
  if (!built_ || list.size() != listSize_) return false;
  if (list.empty()) return true;
  const TError* last = list.back().get();
  return last == last_ && Bits(last->FPosition) == lastBits_;
}

void ErrorIndex::Seen(const ErrorList& list) {
  listSize_ = list.size();
  last_ = list.empty() ? nullptr : list.back().get();
  lastBits_ = list.empty() ? 0 : Bits(list.back()->FPosition);
}

void ErrorIndex::Follow(const ErrorList& list) {
  if (!InStep(list)) Rebuild(list);
}

void ErrorIndex::Insert(TError* error) {
  const std::uint64_t rank = nextRank_++;
  const double position = error->FPosition;
  if (std::isnan(position)) return;
  if (!tail_.empty() || positions_.size() >= kDirectInsert) {
    // Moving a long sorted run for every error would cost more than the tail's searches.
    tail_.push_back({rank, error});
    if (tail_.size() * tail_.size() >= positions_.size()) MergeTail();
    return;
  }
  // After its equals: the newest error is the last of them in list order too.
  const auto at = std::upper_bound(positions_.begin(), positions_.end(), position);
  const std::ptrdiff_t i = at - positions_.begin();
  positions_.insert(at, position);
  entries_.insert(entries_.begin() + i, Entry{rank, error});
  if (positions_.size() > 2 * (guide_.size() - 1)) {
    RebuildGuide();  // crowded buckets: spread them again
  } else {
    for (std::size_t b = Bucket(position) + 1; b < guide_.size(); ++b) ++guide_[b];
    MarkFine(position);
  }
}

void ErrorIndex::MergeTail() {
  // Stable: equal positions keep list order, as in the sorted part.
  std::stable_sort(tail_.begin(), tail_.end(), [](const Entry& a, const Entry& b) {
    return a.error->FPosition < b.error->FPosition;
  });
  std::vector<double> positions;
  std::vector<Entry> entries;
  positions.reserve(positions_.size() + tail_.size());
  entries.reserve(positions_.size() + tail_.size());
  std::size_t i = 0;
  for (const Entry& added : tail_) {
    // Before an equal position go the sorted errors: they all come earlier in the list.
    const double position = added.error->FPosition;
    for (; i < positions_.size() && !(position < positions_[i]); ++i) {
      positions.push_back(positions_[i]);
      entries.push_back(entries_[i]);
    }
    positions.push_back(position);
    entries.push_back(added);
  }
  for (; i < positions_.size(); ++i) {
    positions.push_back(positions_[i]);
    entries.push_back(entries_[i]);
  }
  positions_.swap(positions);
  entries_.swap(entries);
  tail_.clear();
  RebuildGuide();
}

void ErrorIndex::Appended(const ErrorList& list) {
  // Only an index in step with the list as it was before the append may take one error on.
  if (built_ && list.size() == listSize_ + 1) {
    const std::size_t before = listSize_;
    const bool wasInStep = before == 0 || (list[before - 1].get() == last_ &&
                                           Bits(list[before - 1]->FPosition) == lastBits_);
    if (wasInStep) {
      Insert(list.back().get());
      Seen(list);
      return;
    }
  }
  Rebuild(list);
}

void ErrorIndex::Remove(ErrorList& list, const TError* error) {
  const auto it = std::find_if(list.begin(), list.end(), [error](const std::unique_ptr<TError>& e) {
    return e.get() == error;
  });
  if (it == list.end()) return;
  Follow(list);
  const double position = error->FPosition;
  bool removed = std::isnan(position);
  const auto inTail = std::find_if(tail_.begin(), tail_.end(),
                                   [error](const Entry& e) { return e.error == error; });
  if (!removed && inTail != tail_.end()) {
    tail_.erase(inTail);
    removed = true;
  }
  if (!removed) {
    auto i = std::lower_bound(positions_.begin(), positions_.end(), position) - positions_.begin();
    const auto n = static_cast<std::ptrdiff_t>(positions_.size());
    while (i < n && positions_[i] == position && entries_[i].error != error) ++i;
    if (i < n && entries_[i].error == error) {
      positions_.erase(positions_.begin() + i);
      entries_.erase(entries_.begin() + i);
      for (std::size_t b = Bucket(position) + 1; b < guide_.size(); ++b) --guide_[b];
      // The fine bucket stays marked while a neighbour shares it.
      const std::size_t fine = Fine(position);
      const bool shared =
          (i > 0 && Fine(positions_[i - 1]) == fine) || (i < n - 1 && Fine(positions_[i]) == fine);
      if (!shared) occupied_[fine >> 6] &= ~(std::uint64_t{1} << (fine & 63));
      removed = true;
    }
  }
  list.erase(it);
  if (removed) {
    Seen(list);
  } else {
    Rebuild(list);  // cannot happen while in step; rather than trust it
  }
}

TError* ErrorIndex::FindOdd(const ErrorList& list, double halfWidth, double position) {
  // Around an infinite position the differences are not monotone in the error's position.
  if (!std::isfinite(position)) return ScanErrors(list, halfWidth, position);
  return nullptr;  // no distance is within a negative or NaN half-width
}

TError* ErrorIndex::FindFrom(const ErrorList& list, double halfWidth, double position,
                             std::size_t start, double high) const {
  const long double width = halfWidth;
  const long double at = position;
  // The extended-precision difference e - at only grows with e, so the errors the scan
  // accepts, -width <= e - at <= width, are one run of the sorted positions; its ends are
  // decided by that very comparison (the test against `high` only saves it where it could
  // not hold).
  const auto below = [at, width, high](double e) { return e <= high && e - at < -width; };
  const auto within = [at, width, high](double e) { return e <= high && e - at <= width; };
  const std::size_t lo = Advance(start, below);
  const std::size_t hi = Advance(lo, within);
  const std::size_t count = hi - lo;
  if (count == 0) return FindInTail(halfWidth, position);
  // A wide run: the scan meets one of its errors after about size / count errors, sooner
  // than the run is searched for its first in list order.
  if (count > 16 && list.size() / count < count) return ScanErrors(list, halfWidth, position);
  const Entry* entry = entries_.data() + lo;
  const Entry* best = entry;
  for (std::size_t i = 1; i < count; ++i) {
    if (entry[i].rank < best->rank) best = &entry[i];
  }
  return best->error;
}

TError* ErrorIndex::ScanTail(double halfWidth, double position) const {
  const long double width = halfWidth;
  const long double at = position;
  for (const Entry& entry : tail_) {
    if (std::fabs(entry.error->FPosition - at) <= width) return entry.error;
  }
  return nullptr;
}

std::size_t ErrorIndex::CrowdedLowerBound(std::size_t from, std::size_t to, double value) const {
  const auto first = positions_.begin();
  return static_cast<std::size_t>(std::lower_bound(first + static_cast<std::ptrdiff_t>(from),
                                                   first + static_cast<std::ptrdiff_t>(to), value) -
                                  first);
}

template <typename Predicate>
std::size_t ErrorIndex::Advance(std::size_t from, Predicate holds) const {
  // The run ends within a step or two as a rule; a binary search for the rest.
  const std::size_t n = positions_.size();
  std::size_t i = from;
  for (int step = 0; step < 4; ++step, ++i) {
    if (i == n || !holds(positions_[i])) return i;
  }
  const auto first = positions_.begin() + static_cast<std::ptrdiff_t>(i);
  return static_cast<std::size_t>(std::partition_point(first, positions_.end(), holds) -
                                  positions_.begin());
}

}  // namespace teravo
