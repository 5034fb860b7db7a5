// libFuzzer target: the readers of the files a user may hand the program, the parameter file
// (--params, the settings dialog's Open) and the part of a run (teravo-sim merge).
//
// Input: the first byte chooses the reader (even: a parameter file, odd: a part); the rest is
// the file. A part is sealed with its own digest first, so that the reading goes past the
// digest to what the part holds. A refusal is an expected outcome; anything else that
// escapes, a sanitizer report or a broken property below is a finding.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "params/parameter_file.h"
#include "results/part_digest.h"
#include "tests/fuzz/finding.h"
#include "tools/sim_parts.h"

namespace teravo {
namespace {

[[noreturn]] void Fail(const char* what, std::string_view detail) {
  ReportFinding("teravo_files_fuzz", what, detail);
}

// A file that reads is written back to a document that reads as the same file.
void CheckParameterFile(std::string_view document) {
  const auto parsed = ParseParameterFile(document);
  const auto* file = std::get_if<ParameterFile>(&parsed);
  if (file == nullptr) return;
  const auto again = ParseParameterFile(ParameterFileText(*file));
  const auto* back = std::get_if<ParameterFile>(&again);
  if (back == nullptr) Fail("a file read does not read back", std::get<std::string>(again));
  if (back->texts != file->texts || back->byProbability != file->byProbability) {
    Fail("a file read back differs", document);
  }
}

// A part is read, or refused with a text naming it.
void CheckPart(std::string_view document) {
  try {
    const sim::Part part = sim::ReadPartText(Resealed(document), "fuzz.json");
    if (part.range.first < 1 || part.range.last < part.range.first || part.range.last > part.total)
      Fail("a part read has a range outside its run", document);
  } catch (const sim::MergeRefusal& refusal) {
    if (refusal.text.find("fuzz.json") == std::string::npos)
      Fail("a refusal names no file", refusal.text);
  }
}

}  // namespace
}  // namespace teravo

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string_view file(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (data[0] % 2 == 0) {
    teravo::CheckParameterFile(file);
  } else {
    teravo::CheckPart(file);
  }
  return 0;
}
