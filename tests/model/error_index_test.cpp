#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "model/error_index.h"
#include "model/teravo.h"

namespace teravo {
namespace {

// Positions that make ties: a coarse grid (duplicates, differences exact in a double), the
// ends of the data area, and the odd value outside it; the rest at random.
double RandomPosition(std::mt19937_64& gen) {
  std::uniform_real_distribution<double> uniform(0, 1);
  switch (gen() % 8) {
    case 0:
    case 1:
    case 2:
      return static_cast<double>(gen() % 17) / 16;
    case 3:
      return std::nextafter(static_cast<double>(gen() % 17) / 16, gen() % 2 ? 2.0 : -1.0);
    case 4:
      return gen() % 2 ? -0.25 : 1.5;
    default:
      return uniform(gen);
  }
}

// A search around an error with the half-width at, just inside or just beyond its distance,
// or a plain random one; now and then a degenerate half-width or position.
void RandomQuery(std::mt19937_64& gen, const ErrorList& list, double& halfWidth, double& position) {
  std::uniform_real_distribution<double> uniform(0, 1);
  // Any error, or one of the latest, which a long list may not have sorted in yet.
  auto anError = [&] {
    const std::size_t n = list.size();
    return list[gen() % 2 ? gen() % n : n - 1 - gen() % std::min<std::size_t>(n, 64)]->FPosition;
  };
  position = gen() % 2 || list.empty() ? RandomPosition(gen) : anError();
  if (gen() % 3 == 0) position += (uniform(gen) - 0.5) * 1e-3;
  switch (gen() % 10) {
    case 0:
      halfWidth = uniform(gen) * 0.5;  // wide: many candidates
      break;
    case 1:
      halfWidth = gen() % 2 ? 0.0 : -0.0;
      break;
    case 2:
      halfWidth = gen() % 2 ? -0.01 : std::numeric_limits<double>::quiet_NaN();
      break;
    case 3:
      halfWidth = std::numeric_limits<double>::infinity();
      break;
    case 4:
      position = gen() % 2 ? std::numeric_limits<double>::infinity() : 1e300;
      halfWidth = uniform(gen);
      break;
    default: {
      if (list.empty()) {
        halfWidth = uniform(gen) * 1e-3;
        break;
      }
      const double e = anError();
      halfWidth = static_cast<double>(std::fabs(e - static_cast<long double>(position)));
      if (gen() % 3 == 0) halfWidth = std::nextafter(halfWidth, gen() % 2 ? 0.0 : 1.0);
    }
  }
}

// Random lists, searched, then changed as a play changes them: an error removed from
// anywhere, a few appended; searched again. Long lists take their appends another way.
void CheckAgainstTheScan(std::mt19937_64& gen, int length, int changes, int queries, int& found) {
  ErrorList list;
  for (int i = 0; i < length; ++i) list.push_back(std::make_unique<TError>(RandomPosition(gen)));
  ErrorIndex index;
  index.Rebuild(list);
  for (int change = 0; change < changes; ++change) {
    for (int q = 0; q < queries; ++q) {
      double halfWidth = 0, position = 0;
      RandomQuery(gen, list, halfWidth, position);
      const TError* expected = ScanErrors(list, halfWidth, position);
      ASSERT_EQ(index.Find(list, halfWidth, position), expected)
          << "length " << length << ", change " << change << ", half-width " << halfWidth
          << ", position " << position;
      found += expected != nullptr;
    }
    if (!list.empty() && gen() % 2) {
      const std::size_t n = list.size();
      const std::size_t at = gen() % 2 ? gen() % n : n - 1 - gen() % std::min<std::size_t>(n, 64);
      index.Remove(list, list[at].get());
    }
    for (int k = static_cast<int>(gen() % 3); k > 0; --k) {
      list.push_back(std::make_unique<TError>(RandomPosition(gen)));
      index.Appended(list);
    }
    ASSERT_EQ(index.Size(), list.size());
  }
}

TEST(ErrorIndexTest, FindsWhatTheScanFindsWhileTheListChanges) {
  std::mt19937_64 gen(20240301);
  int found = 0;
  for (int round = 0; round < 400; ++round) {
    CheckAgainstTheScan(gen, static_cast<int>(gen() % 64), 8, 40, found);
    if (HasFatalFailure()) return;
  }
  // Long enough for appends to wait in the tail and be merged a few times.
  for (int round = 0; round < 2; ++round) {
    CheckAgainstTheScan(gen, 4300 + static_cast<int>(gen() % 200), 250, 8, found);
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(found, 10000);  // the searches were not all misses
}

// Plays with many corrections and new errors, the model's searches checked against the scan
// after every step: its own changes keep the indexes in step.
TEST(ErrorIndexTest, ModelSearchesAgreeWithTheScanThroughPlays) {
  std::mt19937_64 gen(7);
  for (const bool byProbability : {true, false}) {
    TTeravo m(std::make_unique<FixedSeedSource>(99));
    m.FClientsNum = 30;
    m.FProgrammersNum = 4;
    m.FA = 0.02;
    m.FErrorsNum0 = 200;
    m.FCoeffComplexity = 1;
    m.FYk = 40;
    m.FMu = 30;
    m.FDT = 0.01;
    m.FByProbability = byProbability;
    m.FP_newErr = 0.6;
    m.FY_newErr = 60;
    m.FM = 300;
    ASSERT_TRUE(IsUsable(m));
    m.InitPlay();
    for (int step = 0; step <= m.FM; ++step) {
      m.Iteration();
      for (const ErrorList* list : {&m.FClientErrors, &m.FServerErrors}) {
        for (int q = 0; q < 5; ++q) {
          double halfWidth = 0, position = 0;
          RandomQuery(gen, *list, halfWidth, position);
          ASSERT_EQ(m.FindError(*list, halfWidth, position), ScanErrors(*list, halfWidth, position))
              << "step " << step;
        }
      }
    }
    EXPECT_GT(m.FNewClientErrorAdd + m.FNewServerErrorAdd, 50);
  }
}

// The model's own lists may be appended to from outside (as hand-made situations do) and
// still be searched right; a changed last error is noticed too.
TEST(ErrorIndexTest, ModelNoticesListsChangedFromOutside) {
  TTeravo m;
  auto agrees = [&m](double halfWidth, double position) {
    return m.FindError(m.FClientErrors, halfWidth, position) ==
           ScanErrors(m.FClientErrors, halfWidth, position);
  };
  m.FClientErrors.push_back(std::make_unique<TError>(0.5));
  EXPECT_EQ(m.FindError(m.FClientErrors, 0.1, 0.45), m.FClientErrors[0].get());
  m.FClientErrors.push_back(std::make_unique<TError>(0.2));
  EXPECT_EQ(m.FindError(m.FClientErrors, 0.1, 0.25), m.FClientErrors[1].get());
  m.FClientErrors.pop_back();
  m.FClientErrors.push_back(std::make_unique<TError>(0.8));  // perhaps at the same address
  EXPECT_EQ(m.FindError(m.FClientErrors, 0.1, 0.25), nullptr);
  EXPECT_EQ(m.FindError(m.FClientErrors, 0.1, 0.75), m.FClientErrors[1].get());
  EXPECT_TRUE(agrees(0.4, 0.6));
  m.FClientErrors.clear();
  EXPECT_EQ(m.FindError(m.FClientErrors, 1, 0.5), nullptr);

  // Any other change from outside is announced.
  m.FServerErrors.push_back(std::make_unique<TError>(0.1));
  m.FServerErrors.push_back(std::make_unique<TError>(0.3));
  EXPECT_EQ(m.FindError(m.FServerErrors, 0.05, 0.12), m.FServerErrors[0].get());
  m.FServerErrors[0] = std::make_unique<TError>(0.9);
  m.ReindexErrors();
  EXPECT_EQ(m.FindError(m.FServerErrors, 0.05, 0.12), nullptr);
  EXPECT_EQ(m.FindError(m.FServerErrors, 0.05, 0.88), m.FServerErrors[0].get());
}

}  // namespace
}  // namespace teravo
