#pragma once

#include <QDialog>

class QListWidget;
class QTextBrowser;

namespace teravo {

// "Руководство пользователя": the user's guide, shown from the Markdown built into the
// program, with the list of its sections beside it. It does not block the window it was
// opened from; its pictures are those the package installs beside the guide's HTML page, or
// those in the working folder's screenshots/ when the program runs from its source tree.
class HelpWindow : public QDialog {
  Q_OBJECT
 public:
  explicit HelpWindow(QWidget* parent = nullptr);

  // Brings the window up at the section whose heading reads `heading`; an empty or unknown
  // heading shows the guide from the start.
  void ShowSection(const QString& heading = {});

  QTextBrowser* Browser() const { return browser_; }
  QListWidget* Sections() const { return sections_; }

 private:
  void LoadGuide();

  QTextBrowser* browser_;
  QListWidget* sections_;
};

// The heading of the guide's part about the settings edits.
inline constexpr const char* kParametersSection = "Параметры розыгрыша";

// Shows the guide at `heading` in the help window that belongs to `owner`, created on first
// use. A window of its own for each owner, so that the guide opened from a modal dialog is
// usable while that dialog is.
HelpWindow& ShowGuide(QWidget& owner, const QString& heading = {});

}  // namespace teravo
