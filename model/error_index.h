#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/error_list.h"

namespace teravo {

// A search of one error list by position that answers exactly as ScanErrors does, without
// visiting every error: the positions sorted, each with the error's rank in list order, and
// a guide into them by value. Errors appended to a long list wait in a short tail, in list
// order, until enough of them are merged at once.
//
// The index follows its list through the operations below. A list changed behind its back is
// noticed by its length and its last error, so appending from outside is safe; any other
// change made from outside needs Rebuild before the next search.
class ErrorIndex {
 public:
  // Indexes `list` anew.
  void Rebuild(const ErrorList& list);
  // Rebuilds unless the index is known to be in step with `list`.
  void Follow(const ErrorList& list);

  // After `list.push_back(error)`: indexes the new last error.
  void Appended(const ErrorList& list);
  // Removes `error` from `list` and from the index; nothing when the list does not hold it.
  void Remove(ErrorList& list, const TError* error);

  // As ScanErrors(list, halfWidth, position); `list` must be the one followed. Inline: a
  // play searches once or twice for each request, and mostly finds nothing near.
  TError* Find(const ErrorList& list, double halfWidth, double position) const {
    if (!std::isfinite(position) || !(halfWidth >= 0)) return FindOdd(list, halfWidth, position);
    // Double bounds widened by 2^-40 relative, where the roundings are within 2^-52: an error
    // below `low` or above `high` is certainly out of reach. They only narrow the search; what
    // lies between is decided by the scan's own comparison.
    const double slack = (std::fabs(position) + halfWidth) * 0x1p-40 + 0x1p-1000;
    const double low = (position - halfWidth) - slack;
    const double high = (position + halfWidth) + slack;
    // Most searches end here: no position in any fine bucket that [low, high] touches.
    const std::size_t first = Fine(low);
    const std::size_t last = Fine(high);
    if ((first >> 6) == (last >> 6)) {
      const std::uint64_t bits =
          (~std::uint64_t{0} << (first & 63)) & (~std::uint64_t{0} >> (63 - (last & 63)));
      if ((occupied_[first >> 6] & bits) == 0) return FindInTail(halfWidth, position);
    }
    const std::size_t start = LowerBound(low);
    if (start == positions_.size() || positions_[start] > high) {
      return FindInTail(halfWidth, position);
    }
    return FindFrom(list, halfWidth, position, start, high);
  }

  std::size_t Size() const { return positions_.size() + tail_.size(); }

 private:
  struct Entry {
    std::uint64_t rank;  // grows in list order; removals leave gaps
    TError* error;
  };
  bool InStep(const ErrorList& list) const;
  void Seen(const ErrorList& list);
  void Insert(TError* error);
  void RebuildGuide();
  // The guide's bucket of a position: never decreasing with it, however the arithmetic
  // rounds, which is all the guide relies on.
  std::size_t Bucket(double x) const {
    const double t = (x - guideLow_) * guideScale_;
    if (!(t >= 1)) return 0;
    if (t >= guideTop_) return guide_.size() - 2;
    return static_cast<std::size_t>(static_cast<std::int64_t>(t));
  }
  // The fine bucket of a position: also never decreasing with it. A NaN goes to bucket 0.
  std::size_t Fine(double x) const {
    double t = (x - guideLow_) * fineScale_;
    t = std::max(0.0, t);
    t = std::min(fineTop_, t);
    return static_cast<std::size_t>(static_cast<std::int64_t>(t));  // t < 2^63 by now
  }
  void MarkFine(double x) { occupied_[Fine(x) >> 6] |= std::uint64_t{1} << (Fine(x) & 63); }
  // A position that is not finite, a half-width that is negative or NaN.
  static TError* FindOdd(const ErrorList& list, double halfWidth, double position);
  // The first error of the tail within reach: every one of them comes after the sorted ones
  // in list order, so it is looked at only when those have none.
  TError* FindInTail(double halfWidth, double position) const {
    return tail_.empty() ? nullptr : ScanTail(halfWidth, position);
  }
  TError* ScanTail(double halfWidth, double position) const;
  void MergeTail();
  TError* FindFrom(const ErrorList& list, double halfWidth, double position, std::size_t start,
                   double high) const;
  // First index whose position is not below `value`.
  std::size_t LowerBound(double value) const {
    // Positions in an earlier bucket than `value` lie below it, in a later one above it; a
    // bucket holds about one.
    const std::size_t bucket = Bucket(value);
    std::size_t i = guide_[bucket];
    const std::size_t end = guide_[bucket + 1];
    if (end - i > 8) return CrowdedLowerBound(i, end, value);
    while (i < end && positions_[i] < value) ++i;
    return i;
  }
  std::size_t CrowdedLowerBound(std::size_t from, std::size_t to, double value) const;
  // First index from `from` on whose position `holds` fails; `holds` must hold on a prefix.
  template <typename Predicate>
  std::size_t Advance(std::size_t from, Predicate holds) const;

  // Ascending; errors at NaN are left out, since no search can find them.
  std::vector<double> positions_;
  std::vector<Entry> entries_;  // parallel to positions_
  // Appended since the last merge, in list order; their ranks exceed every sorted one's.
  std::vector<Entry> tail_;
  // guide_[b]: how many positions lie in buckets before b, the last one all of them. The
  // buckets split the span of the positions and the data area [0, 1) evenly, about one
  // position to a bucket, so a search starts next to its answer.
  std::vector<std::uint32_t> guide_{0, 0};
  double guideLow_ = 0;
  double guideScale_ = 0;
  double guideTop_ = 0;  // the last bucket's number
  // One bit for each of 64 times as many buckets over the same span (at most a megabyte):
  // whether a position lies in it.
  std::vector<std::uint64_t> occupied_{0};
  double fineScale_ = 0;
  double fineTop_ = 0;
  std::uint64_t nextRank_ = 0;
  // What the list looked like when the index last followed it.
  std::size_t listSize_ = 0;
  const TError* last_ = nullptr;
  std::uint64_t lastBits_ = 0;  // the last error's position, against a reused address
  bool built_ = false;
};

}  // namespace teravo
