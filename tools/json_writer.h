#pragma once

#include <string>
#include <string_view>

#include "tools/sim_host.h"

namespace teravo::sim {

// A JSON string literal: quotes, backslashes and control characters escaped; other bytes
// (UTF-8 included) pass through unchanged.
std::string JsonString(std::string_view text);
// The shortest text that reads back to the same double; null for what JSON cannot hold.
std::string JsonNumber(double value);

// The whole run as one JSON document: every play window, and for a series the averages
// window and the distributions window. Without point arrays the charts are left out.
std::string RunJson(const SimHost& host, bool pointArrays);

}  // namespace teravo::sim
