#pragma once

#include <string>
#include <string_view>

namespace teravo::testing {

// A runner document without the date and time at the end of each play title, so that two
// runs at different moments compare equal.
inline std::string WithoutDates(std::string json) {
  constexpr std::string_view kBeforeDate = " розыгрыш  ";
  for (std::size_t at = json.find(kBeforeDate); at != std::string::npos;
       at = json.find(kBeforeDate, at + 1)) {
    const std::size_t date = at + kBeforeDate.size();
    json.erase(date, json.find('"', date) - date);
  }
  return json;
}

}  // namespace teravo::testing
