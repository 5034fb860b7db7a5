#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "model/parameters.h"
#include "results/chart_series.h"
#include "results/result_fields.h"

namespace teravo {

enum class WindowState { Normal, Minimised, Maximised };

// What a play results window stands for: one play, or the means of a series.
enum class RecordKind { Play, Averages };

inline constexpr std::string_view kPlayWindowTitle = "Розыгрыш №";
inline constexpr std::string_view kBeginSettingsHeading = "Начальные условия розыгрыша:";

// Everything a play results window holds: the record of one play (or of the means of a
// series). Values are kept as numbers and turned into text only when read, since a play
// sets ten fields on every pass but a window shows them about a hundred times.
class PlayRecord {
 public:
  explicit PlayRecord(char separator) : separator_(separator) {}

  RecordKind Kind = RecordKind::Play;
  // The plays behind the figures: 1 for a play, those of the series for its averages.
  std::int32_t PlayCount = 1;
  std::string Title{kPlayWindowTitle};
  // Which series an averages window stands for (its plays' numbers and start), so that the
  // window list tells two of them apart; empty for a play.
  std::string SeriesLabel;
  std::vector<std::string> BeginSettings{std::string(kBeginSettingsHeading)};
  WindowState State = WindowState::Normal;
  std::uint32_t Seed = 0;  // the seed its play started from (0 for an averages window)
  bool Stopped = false;    // the play was stopped before its last step
  // What the play ran with, so that it can be replayed exactly.
  TParameters Parameters;
  std::string TotalTimeText;

  // How the plays of a series scatter around a mean (averages windows only): the sample
  // standard deviation and the half-width of the 95 % confidence interval of the mean.
  struct Spread {
    long double deviation = 0;
    long double halfWidth = 0;
  };
  // Empty for a field that is not averaged, and for every field of a series of one play.
  std::array<std::optional<Spread>, kFieldCount> Spreads{};
  // The means of the averaged fields as they are, where the window shows an integer field's
  // mean rounded (averages windows only; empty for a field that is not averaged).
  std::array<std::optional<long double>, kFieldCount> ExactMeans{};
  // The mean as it is, or else the value the window shows.
  long double ExactValue(Field field) const;
  // The 5th and 95th percentiles over the plays at each point of each mean curve.
  std::array<ChartSeries, kChartCount> BandLow{};
  std::array<ChartSeries, kChartCount> BandHigh{};

  // Inline: a play sets ten fields at every step.
  void SetInt(Field field, std::int64_t value) { values_[static_cast<int>(field)] = value; }
  // Shown in the general number format.
  void SetReal(Field field, long double value) { values_[static_cast<int>(field)] = value; }
  void SetText(Field field, std::string text);
  // The text the window shows: plain decimal for integers, the general number format for
  // reals, empty for a field never set.
  std::string Text(Field field) const;
  // The value as the window shows it (a real rounded to its 15 shown digits): what a series
  // averages. A field never set, or set to a text that is not a number, throws GeneralError.
  long double DisplayedValue(Field field) const;

  ChartSeries& Series(Chart chart) { return series_[static_cast<int>(chart)]; }
  const ChartSeries& Series(Chart chart) const { return series_[static_cast<int>(chart)]; }

  char Separator() const { return separator_; }

 private:
  // Empty for a field never set.
  using Value = std::variant<std::monostate, std::string, std::int64_t, long double>;
  char separator_;
  std::array<Value, kFieldCount> values_{};
  std::array<ChartSeries, kChartCount> series_{};
};

}  // namespace teravo
