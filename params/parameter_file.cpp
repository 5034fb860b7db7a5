#include "params/parameter_file.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>
#include <system_error>
#include <vector>

#include <nlohmann/json.hpp>

#include "core/safe_file.h"
#include "core/utf8_text.h"

namespace teravo {

namespace {

constexpr std::string_view kFormat = "teravo-parameters";

bool IsInput(const SettingsEdit& edit) {
  return edit.kind != EditKind::Display;
}

std::string Replaced(std::string text, char from, char to) {
  std::replace(text.begin(), text.end(), from, to);
  return text;
}

std::string Quoted(const std::filesystem::path& path) {
  return "«" + path.string() + "»";
}

// Notes the first key that an object of the document holds twice, as the parser meets the
// keys. JSON leaves a repeated key to the reader, which would keep one of the two silently; a
// parameter file with one is refused.
nlohmann::json::parser_callback_t RepeatedKeyWatch(std::vector<std::set<std::string>>& objects,
                                                   std::optional<std::string>& repeated) {
  return [&objects, &repeated](int, nlohmann::json::parse_event_t event, nlohmann::json& parsed) {
    using Event = nlohmann::json::parse_event_t;
    if (event == Event::object_start) objects.emplace_back();
    if (event == Event::object_end && !objects.empty()) objects.pop_back();
    if (event == Event::key && !objects.empty() && !repeated &&
        !objects.back().insert(parsed.get<std::string>()).second) {
      repeated = parsed.get<std::string>();
    }
    return true;
  };
}

}  // namespace

ParameterFile ParameterFileOf(const SettingsForm& form) {
  ParameterFile file;
  const char separator = form.DecimalSeparator();
  for (const SettingsEdit& edit : SettingsEdits()) {
    if (!IsInput(edit)) continue;
    std::string text = form.Text(edit.name);
    if (edit.kind == EditKind::Real) text = Replaced(std::move(text), separator, '.');
    file.texts.emplace_back(edit.name, std::move(text));
  }
  file.byProbability = form.IsProbabilityChecked();
  return file;
}

void LoadIntoForm(const ParameterFile& file, SettingsForm& form) {
  const char separator = form.DecimalSeparator();
  for (const auto& [name, text] : file.texts) {
    const SettingsEdit* edit = FindSettingsEdit(name);
    form.SetText(name, edit->kind == EditKind::Real ? Replaced(text, '.', separator) : text);
  }
  form.SetProbabilityChecked(file.byProbability);
  form.SetEnabled(edit::P_newErr, file.byProbability);
  form.SetEnabled(edit::Y_newErr, !file.byProbability);
}

std::string ParameterFileText(const ParameterFile& file) {
  nlohmann::ordered_json edits = nlohmann::ordered_json::object();
  for (const auto& [name, text] : file.texts) edits[name] = text;
  const nlohmann::ordered_json document = {
      {"format", kFormat},
      {"version", kParameterFileVersion},
      {"newErrors", file.byProbability ? "probability" : "intensity"},
      {"edits", edits},
  };
  return document.dump(2) + "\n";
}

std::variant<ParameterFile, std::string> ParseParameterFile(std::string_view document) {
  if (!IsUtf8(document)) return std::string("текст не в кодировке UTF-8");
  std::vector<std::set<std::string>> objects;
  std::optional<std::string> repeated;
  const nlohmann::json json =
      nlohmann::json::parse(document, RepeatedKeyWatch(objects, repeated), false);
  if (json.is_discarded()) return std::string("это не документ JSON");
  if (repeated) return "ключ \"" + *repeated + "\" записан дважды";
  if (!json.is_object()) return std::string("документ должен быть объектом JSON");
  if (!json.contains("format") || json["format"] != kFormat) {
    return std::string("это не файл параметров (нет \"format\": \"teravo-parameters\")");
  }
  if (!json.contains("version") || !json["version"].is_number_integer()) {
    return std::string("нет номера версии (\"version\")");
  }
  if (json["version"] != kParameterFileVersion) {
    return "версия " + json["version"].dump() + " не поддерживается (ожидается " +
           std::to_string(kParameterFileVersion) + ")";
  }
  const auto mode = json.find("newErrors");
  if (mode == json.end() || !mode->is_string() ||
      (*mode != "probability" && *mode != "intensity")) {
    return std::string("\"newErrors\" должно быть \"probability\" или \"intensity\"");
  }
  const auto edits = json.find("edits");
  if (edits == json.end() || !edits->is_object()) {
    return std::string("нет раздела \"edits\" с текстами полей");
  }
  for (const auto& [name, value] : edits->items()) {
    const SettingsEdit* edit = FindSettingsEdit(name);
    if (edit == nullptr || !IsInput(*edit)) return "неизвестное поле \"" + name + "\"";
    if (!value.is_string()) return "значение поля " + name + " должно быть строкой";
    // Reals are stored with a dot whatever the user's separator, so that a file reads the same
    // everywhere; a comma would be read as a dot by some users and refused by others.
    if (edit->kind == EditKind::Real && value.get<std::string>().find(',') != std::string::npos) {
      return "в поле " + name + " запятая: числа в файле пишутся с точкой";
    }
  }
  ParameterFile file;
  file.byProbability = *mode == "probability";
  for (const SettingsEdit& edit : SettingsEdits()) {
    if (!IsInput(edit)) continue;
    const auto value = edits->find(std::string(edit.name));
    if (value == edits->end()) return "нет поля " + std::string(edit.name);
    file.texts.emplace_back(edit.name, value->get<std::string>());
  }
  return file;
}

std::variant<ParameterFile, std::string> ReadParameterFile(const std::filesystem::path& path) {
  const std::string prefix = "Файл параметров " + Quoted(path) + " не прочитан: ";
  if (const auto problem = CheckFileToRead(path)) return prefix + FileProblemText(*problem) + ".";
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return prefix + FileProblemText(FailureOf(error)) + ".";
  if (size > kMaxParameterFileBytes) return prefix + "файл больше 1 МБ";
  std::ifstream in(path, std::ios::binary);
  if (!in) return prefix + FileProblemText(FailureOf({errno, std::generic_category()})) + ".";
  std::ostringstream text;
  text << in.rdbuf();
  if (!in && !in.eof()) return prefix + "ошибка чтения.";
  auto parsed = ParseParameterFile(text.str());
  if (auto* problem = std::get_if<std::string>(&parsed)) return prefix + *problem + ".";
  return parsed;
}

namespace {

std::string NotSaved(const std::filesystem::path& path) {
  return "Файл параметров " + Quoted(path) + " не сохранён: ";
}

}  // namespace

std::string CheckParameterFileTarget(const std::filesystem::path& path) {
  if (const auto failure = CheckFileTarget(path))
    return NotSaved(path) + FileProblemText(*failure) + ".";
  return {};
}

std::string WriteParameterFile(const std::filesystem::path& path, const ParameterFile& file) {
  const std::string failed = NotSaved(path);
  for (const auto& [name, text] : file.texts) {
    if (!IsUtf8(text)) return failed + "текст поля " + name + " не в кодировке UTF-8.";
  }
  if (const auto failure = WriteFileSafely(path, ParameterFileText(file))) {
    return failed + FileProblemText(*failure) + ".";
  }
  return {};
}

}  // namespace teravo
