#pragma once

#include <map>
#include <ostream>
#include <string>
#include <string_view>

#include "params/settings_form.h"

namespace teravo::sim {

// The settings dialog without a window: it starts with the dialog's defaults, and every
// message box it would show is written to `messages` instead.
class SimSettingsForm : public SettingsForm {
 public:
  SimSettingsForm(char separator, std::ostream& messages);

  std::string Text(std::string_view edit) const override;
  void SetText(std::string_view edit, const std::string& text) override;
  bool IsEnabled(std::string_view edit) const override;
  void SetEnabled(std::string_view edit, bool enabled) override;
  void Focus(std::string_view edit) override;
  bool IsProbabilityChecked() const override { return probability_; }
  void SetProbabilityChecked(bool checked) override { probability_ = checked; }
  void ShowMessage(const std::string& text) override;
  void Close() override {}
  char DecimalSeparator() const override { return separator_; }

 private:
  struct Edit {
    std::string text;
    bool enabled = true;
  };
  char separator_;
  std::ostream& messages_;
  std::map<std::string, Edit, std::less<>> edits_;
  bool probability_ = true;
};

}  // namespace teravo::sim
