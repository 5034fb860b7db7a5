#pragma once

#include <functional>
#include <memory>
#include <string>

#include "play/play_host.h"
#include "ui/message_sink.h"

class QMdiArea;
class QWidget;

namespace teravo {

class TAllPlayResults;
class TfmPlayResults;

// The play drivers' windows as child windows of the main window's MDI area. Each window
// holds its record, so closing a window releases what the play left.
class QtPlayHost : public PlayHost {
 public:
  // `totalTimeText` reads the settings dialog's total time as it stands.
  QtPlayHost(QMdiArea& area, MessageSink& messages, std::function<std::string()> totalTimeText);

  std::shared_ptr<PlayRecord> OpenPlayWindow() override;
  void ShowPlayWindow(PlayRecord& record, WindowState state) override;
  void Repaint(PlayRecord& record) override;
  void ClosePlayWindow(PlayRecord& record) override;
  std::shared_ptr<DistributionsRecord> OpenDistributionsWindow() override;
  void Repaint(DistributionsRecord& record) override;
  void ShowMessage(const std::string& text) override;
  std::string DateTimeText() override;
  std::string TotalTimeText() override;
  char DecimalSeparator() override { return separator_; }

  TfmPlayResults* WindowOf(const PlayRecord& record) const;
  TAllPlayResults* WindowOf(const DistributionsRecord& record) const;

 private:
  QWidget* MessageParent() const;

  QMdiArea& area_;
  MessageSink& messages_;
  std::function<std::string()> totalTimeText_;
  char separator_;
};

}  // namespace teravo
