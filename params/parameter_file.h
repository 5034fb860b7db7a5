#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "params/settings_form.h"

namespace teravo {

// A parameter file (*.teravo.json): the texts of the settings edits a user types and the
// new-error mode, as a small versioned JSON document. Texts are stored with a dot for the
// decimal separator and shown with the user's.
struct ParameterFile {
  std::vector<std::pair<std::string, std::string>> texts;  // edit name, text with a dot
  bool byProbability = true;
};

inline constexpr int kParameterFileVersion = 1;
inline constexpr std::uintmax_t kMaxParameterFileBytes = 1 << 20;

// What the form holds now.
ParameterFile ParameterFileOf(const SettingsForm& form);
// Fills the form's edits and the radio pair from the file; nothing is accepted.
void LoadIntoForm(const ParameterFile& file, SettingsForm& form);

std::string ParameterFileText(const ParameterFile& file);
// The file read from a document, or what is wrong with it (the first problem, in Russian).
// A key given twice is refused, and so is a real written with a comma.
std::variant<ParameterFile, std::string> ParseParameterFile(std::string_view document);

// Reads a file; the error text names the file. Refuses files over kMaxParameterFileBytes.
std::variant<ParameterFile, std::string> ReadParameterFile(const std::filesystem::path& path);
// Writes a file through the safe writer: a failure never leaves half a file, and a target that
// is not a writable regular file is refused. A text that is not UTF-8 is refused, naming its
// edit. Empty on success, otherwise what went wrong (naming the file).
std::string WriteParameterFile(const std::filesystem::path& path, const ParameterFile& file);
// What WriteParameterFile would refuse in the target itself (a folder, a link, a device, a
// read-only file, a missing folder), told before any content is formed; empty otherwise.
std::string CheckParameterFileTarget(const std::filesystem::path& path);

}  // namespace teravo
