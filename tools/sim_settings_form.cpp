#include "tools/sim_settings_form.h"

namespace teravo::sim {

SimSettingsForm::SimSettingsForm(char separator, std::ostream& messages)
    : separator_(separator), messages_(messages) {
  for (const EditDefault& edit : DefaultEdits(separator)) {
    edits_[std::string(edit.name)] = Edit{edit.text, edit.enabled};
  }
}

std::string SimSettingsForm::Text(std::string_view edit) const {
  const auto it = edits_.find(edit);
  return it == edits_.end() ? std::string() : it->second.text;
}

void SimSettingsForm::SetText(std::string_view edit, const std::string& text) {
  edits_[std::string(edit)].text = text;
}

bool SimSettingsForm::IsEnabled(std::string_view edit) const {
  const auto it = edits_.find(edit);
  return it != edits_.end() && it->second.enabled;
}

void SimSettingsForm::SetEnabled(std::string_view edit, bool enabled) {
  edits_[std::string(edit)].enabled = enabled;
}

// Nothing takes the focus without a window; the message already names the field.
void SimSettingsForm::Focus(std::string_view /*edit*/) {}

void SimSettingsForm::ShowMessage(const std::string& text) {
  messages_ << text << '\n';
}

}  // namespace teravo::sim
