// Random accepted parameter sets, each played step by step with the model's invariants checked
// after every step. The generator has a fixed seed, so a failure names a set that replays.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/general_error.h"
#include "core/number_text.h"
#include "model/teravo.h"
#include "params/acceptance.h"
#include "params/estimators.h"
#include "tests/support/fake_settings_form.h"
#include "tests/support/model_invariants.h"
#include "tests/support/size_clamp.h"

namespace teravo {
namespace {

constexpr int kSoakSets = 300;
constexpr std::uint32_t kGeneratorSeed = 20260113;

// Looser than the fuzz target's bounds, since these sets are sane: a few hundred steps, tens
// of clients, hundreds of errors, short new-error chains.
constexpr testing::SizeBounds kSoakBounds{40, 8, 300, 500, 300, 0.9, 2};

// Appends rather than prepends: GCC 12 warns falsely (-Wrestrict) on "literal" + string.
std::string Joined(std::string_view a, std::string_view b, std::string_view c = {}) {
  return std::string(a).append(b).append(c);
}

// The texts of one parameter set, as a user might type them.
struct TypedSet {
  char separator = ',';
  bool byProbability = true;
  std::uint32_t playSeed = 0;
  std::vector<std::pair<std::string_view, std::string>> texts;

  std::string Describe() const {
    std::string s = Joined("separator '", std::string(1, separator), "', ");
    s.append(byProbability ? "by probability" : "by intensity");
    s.append(", play seed ").append(IntToStr(playSeed)).append(":");
    for (const auto& [name, text] : texts) s.append(Joined(" ", name, "='")).append(text + "'");
    return s;
  }
};

class Generator {
 public:
  explicit Generator(std::uint32_t seed) : random_(seed) {}

  TypedSet Next() {
    TypedSet set;
    set.separator = Chance(0.5) ? ',' : '.';
    set.byProbability = Chance(0.6);
    set.playSeed = static_cast<std::uint32_t>(random_());
    const char sep = set.separator;
    auto add = [&set](std::string_view edit, std::string text) {
      set.texts.emplace_back(edit, std::move(text));
    };
    add(edit::ClientsNum, Integer(1, 40));
    add(edit::ProgrammersNum, Integer(1, 8));
    add(edit::A, Real(std::pow(10.0, Uniform(-5, -0.5)), sep));
    add(edit::ErrorsNum0, Integer(1, 300));
    add(edit::CoeffComplexity, Real(std::pow(10.0, Uniform(-2, 1.5)), sep));
    add(edit::Yk, Real(std::pow(10.0, Uniform(-1, 3)), sep));
    add(edit::Mu, Real(std::pow(10.0, Uniform(-2, 2)), sep));
    add(edit::P_newErr, Chance(0.3) ? "0" : Real(Uniform(0, 0.9), sep));
    add(edit::Y_newErr, Chance(0.3) ? "0" : Real(std::pow(10.0, Uniform(-3, 2)), sep));
    add(edit::DT, Real(std::pow(10.0, Uniform(-4, 0)), sep));
    add(edit::M, Integer(1, 500));
    add(edit::K, Integer(1, 10));
    // Now and then a text acceptance must refuse: white space other than a space.
    if (Chance(0.05)) {
      auto& text = set.texts[static_cast<std::size_t>(Index(set.texts.size()))].second;
      text = Joined(Chance(0.5) ? "\t" : "", text, Chance(0.5) ? "\n" : "\r");
    }
    return set;
  }

 private:
  bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }
  double Uniform(double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random_);
  }
  std::int64_t Index(std::size_t size) {
    return std::uniform_int_distribution<std::int64_t>(
        0, static_cast<std::int64_t>(size) - 1)(random_);
  }
  // The forms a user types: plain, with leading spaces, signed, or hexadecimal.
  std::string Integer(int low, int high) {
    const int value = std::uniform_int_distribution<int>(low, high)(random_);
    switch (std::uniform_int_distribution<int>(0, 5)(random_)) {
      case 0:
        return Joined("  ", IntToStr(value));
      case 1:
        return Joined("+", IntToStr(value));
      case 2: {
        static constexpr char kHex[] = "0123456789ABCDEF";
        std::string hex;
        for (int v = value; v > 0; v /= 16) hex.insert(hex.begin(), kHex[v % 16]);
        return Joined("$", hex);
      }
      default:
        return IntToStr(value);
    }
  }
  // The program's own general format, now and then with blanks around it or an exponent.
  std::string Real(double value, char sep) {
    std::string text = FloatToStr(value, sep);
    switch (std::uniform_int_distribution<int>(0, 5)(random_)) {
      case 0:
        return Joined(" ", text, "  ");
      case 1:
        if (text.find('E') == std::string::npos) return text + "e0";
        return text;
      default:
        return text;
    }
  }

  std::mt19937 random_;
};

bool Finite(double v) {
  return std::isfinite(v) && v >= 0;
}

struct Counters {
  double failures = 0;
  std::int32_t newClient = 0, newServer = 0;
};

// What the plays went through, so that the sets are seen to exercise every transition.
struct Seen {
  int waiting = 0, inCorrection = 0, serverDown = 0, newClientErrors = 0, newServerErrors = 0;
};

void CheckState(const TTeravo& m, std::int64_t steps, std::int64_t serverErrors0, Counters& last,
                Seen& seen) {
  const long double slack = 1 + 1e-9L;
  const long double elapsed = static_cast<long double>(steps) * m.FDT * slack;
  const auto clients = static_cast<std::int64_t>(m.FClients.size());
  ASSERT_EQ(clients, m.FClientsNum);

  ASSERT_GE(m.FNewClientErrorAdd, last.newClient);
  ASSERT_GE(m.FNewServerErrorAdd, last.newServer);
  ASSERT_GE(m.FFailureNum, last.failures);
  ASSERT_LE(m.FFailureNum, last.failures + static_cast<double>(clients));
  ASSERT_EQ(m.FFailureNum, std::floor(m.FFailureNum));
  last = {m.FFailureNum, m.FNewClientErrorAdd, m.FNewServerErrorAdd};
  ASSERT_LE(static_cast<std::int64_t>(m.FClientErrors.size()),
            static_cast<std::int64_t>(m.FErrorsNum0) + m.FNewClientErrorAdd);
  ASSERT_LE(static_cast<std::int64_t>(m.FServerErrors.size()),
            serverErrors0 + m.FNewServerErrorAdd);

  for (const ErrorList* list : {&m.FClientErrors, &m.FServerErrors}) {
    for (const auto& e : *list) {
      ASSERT_NE(e.get(), nullptr);
      ASSERT_TRUE(e->GetPosition() >= 0 && e->GetPosition() < 1) << e->GetPosition();
    }
  }

  ASSERT_NO_FATAL_FAILURE(testing::ExpectModelInvariants(m));
  std::int64_t working = 0, inCorrection = 0;
  for (const auto& c : m.FClients) {
    working += c->FState == ClientState::Working;
    inCorrection += c->FState == ClientState::InCorrection;
    ASSERT_TRUE(Finite(c->FCorrectTime) && Finite(c->FWaitTime));
    ASSERT_LE(c->FCorrectTime + static_cast<long double>(c->FWaitTime), elapsed);
    ASSERT_TRUE(c->FCenter >= 0 && c->FCenter < 1);
    ASSERT_TRUE(Finite(c->FSpread));
  }
  seen.inCorrection += inCorrection > 0;
  seen.waiting += clients - working - inCorrection > 0;
  seen.serverDown += m.FServerState == ServerState::Failed;

  for (const double t : {m.FCorrectServerTime, m.FDownTime, m.FCurTer, m.FTer, m.FAverTer}) {
    ASSERT_TRUE(Finite(t)) << t;
  }
  ASSERT_LE(m.FCorrectServerTime, elapsed);
  ASSERT_LE(m.FCurTer, elapsed);
  ASSERT_LE(m.FDownTime, elapsed * (static_cast<long double>(clients) + 1));
  ASSERT_TRUE(m.FPer >= 0 && m.FPer <= 1) << m.FPer;
}

// One play driven as the play driver drives it, checked after every step.
void SoakPlay(TTeravo& m, Seen& seen) {
  m.InitPlay();
  const auto serverErrors0 = static_cast<std::int64_t>(m.FServerErrors.size());
  Counters last;
  ASSERT_NO_FATAL_FAILURE(CheckState(m, 0, serverErrors0, last, seen));
  for (std::int64_t i = 0; i <= m.FM; ++i) {
    m.Iteration();
    m.ExtendFailureFreeRun();
    m.UpdateFailureProbability();
    SCOPED_TRACE("after step " + IntToStr(i));
    ASSERT_NO_FATAL_FAILURE(CheckState(m, i + 1, serverErrors0, last, seen));
  }
  seen.newClientErrors += m.FNewClientErrorAdd > 0;
  seen.newServerErrors += m.FNewServerErrorAdd > 0;
  const TPlayEnd end = m.EndPlay();
  for (const long double figure : {end.AverCorrectTime, end.AverWaitTime}) {
    ASSERT_TRUE(std::isfinite(figure) && figure >= 0) << figure;
  }
  ASSERT_TRUE(Finite(end.AverTer));
  // Rounding may leave the coefficient a hair outside [0, 1], never more.
  ASSERT_TRUE(end.Kg >= -1e-12L && end.Kg <= 1 + 1e-12L) << end.Kg;
}

TEST(SoakTest, RandomAcceptedSetsKeepTheInvariantsAfterEveryStep) {
  Generator generator(kGeneratorSeed);
  int played = 0;
  Seen seen;
  for (int k = 0; k < kSoakSets; ++k) {
    const TypedSet set = generator.Next();
    SCOPED_TRACE("set " + IntToStr(k) + " of generator seed " + IntToStr(kGeneratorSeed) + ", " +
                 set.Describe());
    test::FakeSettingsForm form(set.separator);
    if (!set.byProbability) rbIClick(form);
    for (const auto& [name, text] : set.texts) form.Type(name, text);
    TTeravo m(std::make_unique<FixedSeedSource>(set.playSeed));
    if (!AcceptParameters(m, form) || !IsUsable(m)) continue;
    testing::ClampSize(m.Parameters(), kSoakBounds);
    ASSERT_TRUE(IsUsable(m));
    try {
      SoakPlay(m, seen);
    } catch (const GeneralError& e) {
      FAIL() << "the play raised: " << e.what();
    }
    if (HasFatalFailure()) return;
    ++played;
  }
  // The generator mostly makes sets acceptance takes; a few it refuses on purpose.
  EXPECT_GE(played, kSoakSets * 8 / 10);
  EXPECT_GT(seen.waiting, 0);
  EXPECT_GT(seen.inCorrection, 0);
  EXPECT_GT(seen.serverDown, 0);
  EXPECT_GT(seen.newClientErrors, 0);
  EXPECT_GT(seen.newServerErrors, 0);
}

}  // namespace
}  // namespace teravo
