#pragma once

#include <string>
#include <string_view>

#include "params/settings_edits.h"

namespace teravo {

// The settings dialog as the parameter logic sees it. The Qt dialog implements it; tests
// implement it with a fake that records what happens.
class SettingsForm {
 public:
  virtual ~SettingsForm() = default;

  virtual std::string Text(std::string_view edit) const = 0;
  virtual void SetText(std::string_view edit, const std::string& text) = 0;
  virtual bool IsEnabled(std::string_view edit) const = 0;
  virtual void SetEnabled(std::string_view edit, bool enabled) = 0;
  // Makes the edit the dialog's active control (it takes the keyboard focus).
  virtual void Focus(std::string_view edit) = 0;
  virtual bool IsProbabilityChecked() const = 0;  // rbP checked (otherwise rbI)
  virtual void SetProbabilityChecked(bool checked) = 0;
  // A modal message box with one OK button; returns when the user has closed it.
  virtual void ShowMessage(const std::string& text) = 0;
  virtual void Close() = 0;
  // The decimal separator of the user's locale, used for every real read or written.
  virtual char DecimalSeparator() const = 0;
};

}  // namespace teravo
