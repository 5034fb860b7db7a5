#pragma once

#include <functional>
#include <memory>
#include <utility>

#include "play/play_host.h"
#include "ui/common/message_sink.h"

class QMdiArea;

namespace teravo {

class TAllPlayResults;
class TfmPlayResults;

// The play drivers' windows as child windows of the main window's MDI area. Each window
// holds its record, so closing a window releases what the play left.
class QtPlayHost : public PlayHost {
 public:
  // The distributions windows report what their buttons meet to `messages`.
  QtPlayHost(QMdiArea& area, MessageSink& messages);

  void OpenPlayWindow(std::shared_ptr<PlayRecord> record) override;
  void ShowPlayWindow(PlayRecord& record, WindowState state) override;
  void Repaint(PlayRecord& record) override;
  void ClosePlayWindow(PlayRecord& record) override;
  void OpenDistributionsWindow(std::shared_ptr<DistributionsRecord> record) override;
  void Repaint(DistributionsRecord& record) override;

  TfmPlayResults* WindowOf(const PlayRecord& record) const;
  TAllPlayResults* WindowOf(const DistributionsRecord& record) const;

  // Called after each repaint of a play window: how a play in the window thread gets to
  // look at the user's input. Empty to call nothing.
  void SetAfterRepaint(std::function<void()> hook) { afterRepaint_ = std::move(hook); }

 private:
  QMdiArea& area_;
  MessageSink& messages_;
  std::function<void()> afterRepaint_;
};

}  // namespace teravo
