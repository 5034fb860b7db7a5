#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "params/settings_form.h"

namespace teravo::test {

// A settings form without widgets: it starts as the dialog does and writes everything that
// happens to it into one log, so tests can check exact sequences.
class FakeSettingsForm : public SettingsForm {
 public:
  explicit FakeSettingsForm(char separator = ',') : separator_(separator) {
    for (const EditDefault& e : DefaultEdits(separator)) {
      texts_[std::string(e.name)] = e.text;
      enabled_[std::string(e.name)] = e.enabled;
    }
  }

  std::string Text(std::string_view edit) const override { return texts_.at(std::string(edit)); }
  void SetText(std::string_view edit, const std::string& text) override {
    texts_.at(std::string(edit)) = text;
    log.push_back("text " + std::string(edit) + "=" + text);
  }
  bool IsEnabled(std::string_view edit) const override { return enabled_.at(std::string(edit)); }
  void SetEnabled(std::string_view edit, bool enabled) override {
    enabled_.at(std::string(edit)) = enabled;
  }
  void Focus(std::string_view edit) override {
    ASSERT_TRUE(IsEnabled(edit)) << "focus on disabled " << edit;
    log.push_back("focus " + std::string(edit));
  }
  bool IsProbabilityChecked() const override { return probability_; }
  void SetProbabilityChecked(bool checked) override { probability_ = checked; }
  void ShowMessage(const std::string& text) override { log.push_back("message " + text); }
  void Close() override { log.push_back("close"); }
  char DecimalSeparator() const override { return separator_; }

  // Typing into an edit: no log entry, as the user's typing is not the logic's doing.
  void Type(std::string_view edit, std::string text) {
    texts_.at(std::string(edit)) = std::move(text);
  }

  std::vector<std::string> log;

 private:
  char separator_;
  bool probability_ = true;
  std::map<std::string, std::string> texts_;
  std::map<std::string, bool> enabled_;
};

}  // namespace teravo::test
