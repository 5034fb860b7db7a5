#pragma once

#include <cstdio>
#include <cstdlib>
#include <string_view>

namespace teravo {

// Reports a broken property as a finding: the target, what broke and the input's detail on
// stderr, then an abort, which libFuzzer keeps as a crash with its input.
[[noreturn]] inline void ReportFinding(const char* target, const char* what,
                                       std::string_view detail = {}) {
  std::fprintf(stderr, "%s: %s [%.*s]\n", target, what, static_cast<int>(detail.size()),
               detail.data());
  std::abort();
}

}  // namespace teravo
