#include "play/run_budget.h"

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <thread>

#include "core/number_text.h"
#include "params/settings_edits.h"

namespace teravo {

namespace {

// Sizes measured on this build, with the allocator's overhead: a client, an error with its
// place in the look-up index, and one step of a play's four curves (two counts, two reals).
constexpr long double kClientBytes = 80;
constexpr long double kErrorBytes = 64;
constexpr long double kStepBytes = 24;
// An averages window keeps its five mean curves and the two percentile bands as plain pairs.
constexpr long double kAverageStepBytes = 16 * 4 + 2 * 16 * 4;
// What the program itself takes besides the plays.
constexpr long double kBaseBytes = 64.0L * 1024 * 1024;
// Random draws of one step: a working client always draws its chance to send a request, and
// a request draws at most nine more (two Gauss positions of about three draws each, two
// widths, a correction); while the server is down every programmer draws instead, a fix and
// the start of a new-error chain.
constexpr long double kDrawsPerRequest = 9;
constexpr long double kDrawsPerProgrammerStep = 2;
// A draw with everything around it, on this machine, rounded up.
constexpr long double kSecondsPerDraw = 20e-9;

// The label of an edit as a sentence starts it: "Кол-во итераций".
std::string Subject(std::string_view edit) {
  std::string label(FindSettingsEdit(edit)->label);
  std::erase(label, '&');
  if (!label.empty() && label.back() == ':') label.pop_back();
  return label;
}

std::string OneDecimal(long double value) {
  return FloatToStr(std::round(value * 10) / 10, ',');
}

}  // namespace

RunNeeds EstimateNeeds(const TParameters& p, std::int32_t plays, bool keepPoints, int threads) {
  const long double steps = static_cast<long double>(std::max(p.FM, 0)) + 1;
  const long double clients = std::max(p.FClientsNum, 0);
  const long double errors =
      std::max(p.FErrorsNum0, 0) * (1 + std::max(p.FCoeffComplexity, 0.0) / 10) + 1;
  const long double workers =
      plays > 1
          ? std::min<long double>(
                plays, threads > 0 ? threads : std::max(1u, std::thread::hardware_concurrency()))
          : 1;

  const long double clientBytes = clients * kClientBytes * workers;
  const long double errorBytes = errors * kErrorBytes * workers;
  const long double playBytes = keepPoints ? steps * kStepBytes : 0;
  const long double kept = plays > 1 ? plays : 1;
  const long double pointBytes =
      playBytes * kept + (plays > 1 && keepPoints ? steps * kAverageStepBytes : 0);

  RunNeeds needs;
  needs.bytes = kBaseBytes + clientBytes + errorBytes + pointBytes;
  if (pointBytes >= clientBytes && pointBytes >= errorBytes) {
    needs.memoryEdit = plays > 1 && kept >= steps ? edit::K : edit::M;
  } else {
    needs.memoryEdit = clientBytes >= errorBytes ? edit::ClientsNum : edit::ErrorsNum0;
  }

  const long double request =
      1 - std::exp(-std::max(0.0L, static_cast<long double>(p.FYk) * p.FDT));
  const long double perStep = std::max(clients * (1 + kDrawsPerRequest * request),
                                       std::max(p.FProgrammersNum, 0) * kDrawsPerProgrammerStep);
  needs.draws = perStep * steps * kept + clients * 2 + errors;
  needs.seconds = needs.draws * kSecondsPerDraw / workers;
  return needs;
}

std::uint64_t MachineMemoryBytes() {
  // What the machine has free for a new run, when the system says; else all of it.
  std::ifstream meminfo("/proc/meminfo");
  std::string key;
  std::uint64_t kilobytes = 0;
  std::string unit;
  while (meminfo >> key >> kilobytes >> unit) {
    if (key == "MemAvailable:") return kilobytes * 1024;
  }
  const long pages = sysconf(_SC_PHYS_PAGES);
  const long pageSize = sysconf(_SC_PAGE_SIZE);
  if (pages <= 0 || pageSize <= 0) return 0;
  return static_cast<std::uint64_t>(pages) * static_cast<std::uint64_t>(pageSize);
}

std::optional<std::string> MemoryRefusal(const RunNeeds& needs, std::int32_t plays,
                                         std::uint64_t memory) {
  if (memory == 0 || needs.bytes <= static_cast<long double>(memory)) return std::nullopt;
  const std::string what = plays > 1 ? "для серии розыгрышей" : "для розыгрыша";
  // "Кол-во ... слишком велико", "Начальное кол-во ошибок слишком велико".
  return Subject(needs.memoryEdit) + " слишком велико: " + what + " нужно " +
         AboutBytes(needs.bytes) + " памяти, а у компьютера " +
         AboutBytes(static_cast<long double>(memory)) + ".";
}

std::optional<std::string> LongRunQuestion(const RunNeeds& needs, std::string_view what) {
  if (needs.seconds <= kLongRunSeconds) return std::nullopt;
  return std::string(what) + " может занять " + AboutDuration(needs.seconds) +
         ". Его можно остановить клавишей Esc. Начать?";
}

std::string AboutBytes(long double bytes) {
  constexpr long double kMega = 1024.0L * 1024;
  constexpr long double kGiga = kMega * 1024;
  if (bytes >= 10 * kGiga) return "около " + FloatToStr(std::round(bytes / kGiga), ',') + " ГБ";
  if (bytes >= kGiga) return "около " + OneDecimal(bytes / kGiga) + " ГБ";
  return "около " + FloatToStr(std::max<long double>(1, std::round(bytes / kMega)), ',') + " МБ";
}

std::string AboutDuration(long double seconds) {
  if (seconds >= 2 * 86400) return "около " + FloatToStr(std::round(seconds / 86400), ',') + " сут";
  if (seconds >= 3600) return "около " + OneDecimal(seconds / 3600) + " ч";
  return "около " + FloatToStr(std::max<long double>(1, std::round(seconds / 60)), ',') + " мин";
}

}  // namespace teravo
