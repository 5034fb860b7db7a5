#pragma once

#include <ostream>
#include <string>

#include "tools/sim_host.h"

namespace teravo::sim {

// The whole run as one JSON document: every play window, and for a series the averages
// window and the distributions window. Without point arrays the charts are left out.
void WriteRunJson(const SimHost& host, bool pointArrays, std::ostream& out);
std::string RunJson(const SimHost& host, bool pointArrays);

}  // namespace teravo::sim
