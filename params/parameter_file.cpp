#include "params/parameter_file.h"

#include <algorithm>
#include <fstream>
#include <sstream>
#include <system_error>

#include <nlohmann/json.hpp>

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
  const nlohmann::json json = nlohmann::json::parse(document, nullptr, false);
  if (json.is_discarded()) return std::string("это не документ JSON");
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
  std::error_code error;
  const std::uintmax_t size = std::filesystem::file_size(path, error);
  if (error) return prefix + "файл не найден или недоступен";
  if (size > kMaxParameterFileBytes) return prefix + "файл больше 1 МБ";
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  if (!in && !in.eof()) return prefix + "ошибка чтения";
  auto parsed = ParseParameterFile(text.str());
  if (auto* problem = std::get_if<std::string>(&parsed)) return prefix + *problem + ".";
  return parsed;
}

std::string WriteParameterFile(const std::filesystem::path& path, const ParameterFile& file) {
  const std::string failed = "Файл параметров " + Quoted(path) + " не сохранён";
  std::filesystem::path temporary = path;
  temporary += ".part";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << ParameterFileText(file);
    out.flush();
    if (!out) {
      std::error_code ignored;
      std::filesystem::remove(temporary, ignored);
      return failed + ": ошибка записи.";
    }
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) {
    std::filesystem::remove(temporary, error);
    return failed + ": не удалось заменить файл.";
  }
  return {};
}

}  // namespace teravo
