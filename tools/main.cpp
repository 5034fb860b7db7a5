#include <unistd.h>

#include <clocale>
#include <iostream>
#include <string_view>
#include <vector>

#include "tools/sim_runner.h"

int main(int argc, char** argv) {
  // The one place the user's locale is consulted: its decimal separator is the default for
  // every number text. Number texts themselves never depend on the C locale.
  std::setlocale(LC_ALL, "");
  char separator = ',';
  if (const std::lconv* conventions = std::localeconv();
      conventions != nullptr && conventions->decimal_point != nullptr &&
      std::string_view(conventions->decimal_point).size() == 1) {
    separator = conventions->decimal_point[0];
  }
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  return teravo::sim::RunSim(args, separator, isatty(STDERR_FILENO) == 1, std::cout, std::cerr);
}
