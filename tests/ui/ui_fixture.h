#pragma once

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include "model/seed_source.h"
#include "ui/common/message_sink.h"
#include "ui/plays/distributions_window.h"
#include "ui/plays/play_control.h"
#include "ui/plays/play_results_window.h"
#include "ui/settings/settings_dialog.h"
#include "ui/shell/main_form.h"

namespace teravo::test {

struct Message {
  bool error;
  QString text;
};

// Keeps what the program would have shown in message boxes.
class RecordingSink : public MessageSink {
 public:
  explicit RecordingSink(std::vector<Message>& log) : log_(log) {}
  void Info(QWidget*, const QString& text) override { log_.push_back({false, text}); }
  void Error(QWidget*, const QString& text) override { log_.push_back({true, text}); }
  // Questions are kept like messages and answered No, so nothing long ever starts.
  bool Ask(QWidget*, const QString& text) override {
    log_.push_back({false, text});
    return false;
  }

 private:
  std::vector<Message>& log_;
};

// A shown main window whose modal windows open without blocking, with fixed seeds.
class MainFormTest : public ::testing::Test {
 protected:
  void SetUp() override { Open(std::make_unique<RecordingSink>(messages_)); }

  // A new main window whose messages go to `sink`, in place of the one open.
  void Open(std::unique_ptr<MessageSink> sink) {
    form_ = std::make_unique<TMainForm>(std::move(sink));
    form_->SetModalRunner([](QDialog& dialog) {
      dialog.show();
      QApplication::setActiveWindow(&dialog);
    });
    form_->Model().SetSeedSource(std::make_unique<FixedSeedSource>(20240601u));
    form_->resize(1100, 800);
    form_->show();
    Activate(form_.get());
  }

  void TearDown() override {
    form_.reset();
    // Windows closed during a test are deleted later; do it before the next test starts.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  }

  static void Activate(QWidget* window) {
    QApplication::setActiveWindow(window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
  }

  TfmSettings& Dialog() { return form_->Settings(); }
  // The separator the dialog writes reals with, so typed texts parse wherever tests run.
  std::string Real(std::string text) {
    for (char& c : text)
      if (c == ',') c = Dialog().DecimalSeparator();
    return text;
  }

  // F2 in the main window, the given texts typed in, F2 in the dialog.
  void AcceptSettings(const std::map<std::string, std::string>& texts) {
    Activate(form_.get());
    QTest::keyClick(form_.get(), Qt::Key_F2);
    ASSERT_TRUE(Dialog().isVisible());
    for (const auto& [name, text] : texts) Dialog().SetText(name, Real(text));
    Activate(&Dialog());
    QTest::keyClick(&Dialog(), Qt::Key_F2);
    ASSERT_FALSE(Dialog().isVisible());
    Activate(form_.get());
  }

  // Small plays keep the tests fast.
  void AcceptSmallPlays(const std::string& plays = "3") {
    AcceptSettings({{"edM", "200"}, {"edK", plays}});
  }

  void Press(Qt::Key key) {
    Activate(form_.get());
    QTest::keyClick(form_.get(), key);
    WaitForPlays();
  }

  // A series plays on worker threads: this waits until its windows have opened.
  void WaitForPlays() {
    ASSERT_TRUE(QTest::qWaitFor([this] { return !form_->Plays().Running(); }, 60000));
  }

  template <class Window>
  std::vector<Window*> Windows() const {
    std::vector<Window*> found;
    for (QMdiSubWindow* child : form_->MdiArea().subWindowList())
      if (auto* window = qobject_cast<Window*>(child); window && window->Record())
        found.push_back(window);
    return found;
  }
  std::vector<TfmPlayResults*> PlayWindows() const { return Windows<TfmPlayResults>(); }
  std::vector<TAllPlayResults*> DistributionWindows() const { return Windows<TAllPlayResults>(); }

  std::vector<Message> messages_;
  std::unique_ptr<TMainForm> form_;
};

// A main window whose settings (recent files and folders) go to a settings file of the suite,
// cleared before every test, never to the user's.
class IsolatedSettingsTest : public MainFormTest {
 protected:
  static void SetUpTestSuite() {
    settingsDir_ = new QTemporaryDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir_->path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir_->path());
  }
  static void TearDownTestSuite() {
    delete settingsDir_;
    settingsDir_ = nullptr;
  }
  void SetUp() override {
    QSettings().clear();
    MainFormTest::SetUp();
  }

 private:
  static inline QTemporaryDir* settingsDir_ = nullptr;
};

}  // namespace teravo::test
