#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace teravo {

// Names of the settings form's edits, as the dialog's controls are named.
namespace edit {
inline constexpr std::string_view ClientsNum = "edClientsNum";
inline constexpr std::string_view ProgrammersNum = "edProgrammersNum";
inline constexpr std::string_view A = "edA";
inline constexpr std::string_view ErrorsNum0 = "edErrorsNum0";
inline constexpr std::string_view Y0 = "edY0";
inline constexpr std::string_view E_aver = "edE_aver";
inline constexpr std::string_view OptimT = "edOptimT";
inline constexpr std::string_view CoeffComplexity = "edCoeffComplexity";
inline constexpr std::string_view Yk = "edYk";
inline constexpr std::string_view Mu = "edMu";
inline constexpr std::string_view P_newErr = "edP_newErr";
inline constexpr std::string_view Y_newErr = "edY_newErr";
inline constexpr std::string_view DT = "edDT";
inline constexpr std::string_view M = "edM";
inline constexpr std::string_view Time = "edTime";
inline constexpr std::string_view K = "edK";
}  // namespace edit

// What the settings dialog looks like at creation: every edit's text (a text with a decimal
// separator is written with `separator`), and whether it is enabled. rbP starts checked.
struct EditDefault {
  std::string_view name;
  std::string text;
  bool enabled;
};
std::vector<EditDefault> DefaultEdits(char separator);

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
