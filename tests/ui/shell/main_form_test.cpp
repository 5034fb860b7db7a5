#include <functional>

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStatusBar>
#include <QToolBar>
#include <QTranslator>

#include "play/commands.h"
#include "tests/ui/ui_fixture.h"
#include "ui/shell/about_form.h"
#include "ui/shell/application_setup.h"
#include "ui/shell/mdi_arrangement.h"

namespace teravo::test {
namespace {

using MainForm = MainFormTest;

// What a menu or tool bar shows, separators as "-".
QStringList Items(const QList<QAction*>& actions) {
  QStringList items;
  for (const QAction* action : actions)
    items << (action->isSeparator() ? QStringLiteral("-") : action->text());
  return items;
}

QMenu* MenuNamed(QMenuBar* bar, const QString& title) {
  for (QAction* action : bar->actions())
    if (action->text() == title) return action->menu();
  return nullptr;
}

TEST_F(MainForm, StartsWithItsCaptionAZeroModelAndHiddenDialogs) {
  EXPECT_EQ(form_->windowTitle(),
            QStringLiteral("Программа моделирования надежности ПО методом Монте-Карло"));
  const TTeravo& model = form_->Model();
  EXPECT_EQ(model.FClientsNum, 0);
  EXPECT_EQ(model.FM, 0);
  EXPECT_EQ(model.FK, 0);
  EXPECT_EQ(model.FDT, 0);
  EXPECT_FALSE(model.FShowProgress);
  EXPECT_FALSE(form_->Settings().isVisible());
  EXPECT_FALSE(form_->About().isVisible());
  EXPECT_TRUE(form_->MdiArea().subWindowList().isEmpty());
  EXPECT_EQ(form_->statusBar()->objectName(), QStringLiteral("StatusLine"));
}

TEST_F(MainForm, MenusAndToolBarHoldTheActionsInOrder) {
  QMenuBar* bar = form_->menuBar();
  EXPECT_EQ(Items(bar->actions()),
            (QStringList{"&File", "&Настройки", "&Window", "&Help", "&Справка"}));
  // The commands for files come first; the play commands keep their order after them.
  EXPECT_EQ(Items(MenuNamed(bar, "&File")->actions()),
            (QStringList{"&Открыть параметры…", "&Сохранить параметры…", "Сохранить &как…", "-",
                         "Открыть &данные об отказах…", "Последние данные об отказах", "-",
                         "Розыгрыш итерации (F3)", "Розыгрыш многократный (F4)", "-", "E&xit"}));
  EXPECT_EQ(Items(MenuNamed(bar, "&Настройки")->actions()),
            (QStringList{"&Настройки (F2)", "&Исследование параметра…",
                         "Когда цель будет достигнута?…"}));
  EXPECT_EQ(Items(MenuNamed(bar, "&Window")->actions()),
            (QStringList{"&Tile", "&Cascade", "&Arrange All", "Закрыть все окна"}));
  EXPECT_EQ(Items(MenuNamed(bar, "&Help")->actions()), (QStringList{"-", "&About..."}));

  auto* toolBar = form_->findChild<QToolBar*>(QStringLiteral("tbMain"));
  ASSERT_NE(toolBar, nullptr);
  EXPECT_EQ(Items(toolBar->actions()),
            (QStringList{"&Настройки (F2)", "-", "Розыгрыш итерации (F3)", "-",
                         "Розыгрыш многократный (F4)"}));
  EXPECT_EQ(toolBar->actions()[0]->shortcut(), QKeySequence(Qt::Key_F2));
  EXPECT_EQ(toolBar->actions()[2]->shortcut(), QKeySequence(Qt::Key_F3));
  EXPECT_EQ(toolBar->actions()[4]->shortcut(), QKeySequence(Qt::Key_F4));
  // What the main window's context menu offers to hide or show.
  EXPECT_EQ(toolBar->toggleViewAction()->text(), QStringLiteral("Панель инструментов"));
}

TEST_F(MainForm, WindowMenuListsTheWindowsAndRaisesTheOneChosen) {
  AcceptSmallPlays("2");
  Press(Qt::Key_F4);
  emit form_->WindowMenu().aboutToShow();
  const QList<QAction*> items = form_->WindowMenu().actions();
  const auto windows = form_->MdiArea().subWindowList();
  constexpr int kCommands = 5;
  ASSERT_EQ(items.size(), kCommands + windows.size());
  EXPECT_EQ(Items(items.mid(0, kCommands)),
            (QStringList{"&Tile", "&Cascade", "&Arrange All", "Закрыть все окна", "-"}));
  for (int i = 0; i < windows.size(); ++i) {
    // A series' averages and distributions add which series they stand for.
    EXPECT_TRUE(items[kCommands + i]->text().startsWith(
        QStringLiteral("&%1 %2").arg(i + 1).arg(windows[i]->windowTitle())));
    EXPECT_EQ(items[kCommands + i]->isChecked(), windows[i] == form_->MdiArea().activeSubWindow())
        << i;
  }
  ASSERT_TRUE(windows[0]->isMinimized());
  items[kCommands]->trigger();
  EXPECT_FALSE(windows[0]->isMinimized());
  EXPECT_EQ(form_->MdiArea().activeSubWindow(), windows[0]);

  // Every window goes, the distributions too, which their close box only minimises.
  items[3]->trigger();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(form_->MdiArea().subWindowList().isEmpty());
}

TEST_F(MainForm, OpensAtThreeQuartersOfTheScreenWithItsWholeToolBar) {
  const TMainForm fresh;
  const QRect screen = fresh.screen()->availableGeometry();
  EXPECT_TRUE(screen.contains(fresh.geometry()));
  EXPECT_EQ(fresh.height(), screen.height() * 3 / 4);
  EXPECT_GE(fresh.width(), screen.width() * 3 / 4);
  EXPECT_GE(fresh.width(),
            fresh.findChild<QToolBar*>(QStringLiteral("tbMain"))->sizeHint().width());
}

TEST_F(MainForm, DialogsOpenCentredOverTheMainWindowAndOnScreen) {
  const QRect screen = form_->screen()->availableGeometry();
  const std::pair<const char*, std::function<QWidget*()>> dialogs[] = {
      {"settings",
       [this] {
         form_->aSettingsExecute();
         return &form_->Settings();
       }},
      {"about",
       [this] {
         form_->HelpAbout();
         return &form_->About();
       }},
  };
  for (const auto& [name, open] : dialogs) {
    form_->setGeometry(screen.adjusted(40, 40, -40, -40));
    QWidget* dialog = open();
    const QPoint offset = dialog->frameGeometry().center() - form_->frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2) << name;
    EXPECT_TRUE(screen.contains(dialog->frameGeometry())) << name;
    dialog->close();
  }
}

TEST(QtTranslation, MakesQtsOwnMenusRussian) {
  QTranslator* russian =
      InstallQtTranslation(*QCoreApplication::instance(), QLocale(QLocale::Russian));
  if (!russian) GTEST_SKIP() << "Qt's Russian translation is not installed";
  const QString restore = QCoreApplication::translate("QMdiSubWindow", "&Restore");
  const QString paste = QCoreApplication::translate("QWidgetTextControl", "&Paste");
  QCoreApplication::removeTranslator(russian);
  delete russian;
  EXPECT_EQ(restore, QStringLiteral("&Восстановить"));
  EXPECT_EQ(QString(paste).remove(QLatin1Char('&')), QStringLiteral("Вставить"));
}

TEST_F(MainForm, MenuHintsShowInTheStatusLine) {
  const std::pair<const char*, const char*> hints[] = {
      {"&File", "Exit this application"},    {"&Window", "Tile all windows"},
      {"&Window", "Cascade all windows"},    {"&Window", "Arrange minimized windows"},
      {"&Help", "Show program information"},
  };
  for (const auto& [menuTitle, hint] : hints) {
    QMenu* menu = MenuNamed(form_->menuBar(), QString::fromUtf8(menuTitle));
    QAction* item = nullptr;
    for (QAction* action : menu->actions())
      if (action->statusTip() == QString::fromUtf8(hint)) item = action;
    ASSERT_NE(item, nullptr) << hint;
    item->showStatusText(menu);
    EXPECT_EQ(form_->statusBar()->currentMessage(), QString::fromUtf8(hint));
  }
}

TEST_F(MainForm, F2OpensTheSettingsDialog) {
  Press(Qt::Key_F2);
  EXPECT_TRUE(form_->Settings().isVisible());
}

TEST_F(MainForm, PlaysBeforeAnyAcceptanceAreRefusedAndOpenNothing) {
  Press(Qt::Key_F3);
  Press(Qt::Key_F4);
  ASSERT_EQ(messages_.size(), 2u);
  for (const Message& message : messages_) {
    EXPECT_FALSE(message.error);
    EXPECT_EQ(message.text.toStdString(), kParametersNotSet);
  }
  EXPECT_TRUE(form_->MdiArea().subWindowList().isEmpty());
}

TEST_F(MainForm, AboutShowsItsLinesAndClosingHidesIt) {
  form_->HelpAbout();
  TfrmAbout& about = form_->About();
  EXPECT_TRUE(about.isVisible());
  EXPECT_EQ(about.windowTitle(), QStringLiteral("О программе"));
  const QString text = about.Memo()->toPlainText();
  EXPECT_TRUE(text.startsWith(
      QStringLiteral("Программа для прогнозирования поведения надежности ПО во времене на ")));
  EXPECT_TRUE(text.contains(QStringLiteral("высоконадежного ПО.\n \nверсия 1.00 09.06.2003")));
  EXPECT_TRUE(about.Memo()->isReadOnly());
  about.close();
  EXPECT_FALSE(about.isVisible());
  form_->HelpAbout();
  EXPECT_TRUE(form_->About().isVisible());
}

TEST_F(MainForm, TileStacksTheShownWindowsAcrossTheWholeWidth) {
  AcceptSmallPlays();
  Press(Qt::Key_F3);
  Press(Qt::Key_F3);
  form_->WindowTile();
  const auto windows = PlayWindows();
  ASSERT_EQ(windows.size(), 2u);
  const QSize frame = form_->MdiArea().viewport()->size();
  EXPECT_EQ(windows[0]->geometry(), QRect(0, 0, frame.width(), frame.height() / 2));
  EXPECT_EQ(windows[1]->geometry(),
            QRect(0, frame.height() / 2, frame.width(), frame.height() / 2));
}

// Strips a few lines high show nothing of a window: past that Tile cascades.
TEST_F(MainForm, TileNeverLeavesAWindowLowerThanTwoHundredPixels) {
  AcceptSmallPlays();
  const int fit = form_->MdiArea().viewport()->height() / kLeastTiledHeight;
  for (int i = 0; i <= fit; ++i) Press(Qt::Key_F3);
  form_->WindowTile();
  const auto windows = PlayWindows();
  ASSERT_EQ(windows.size(), static_cast<std::size_t>(fit) + 1);
  for (const TfmPlayResults* window : windows)
    EXPECT_GE(window->height(), kLeastTiledHeight) << window->windowTitle().toStdString();
}

TEST_F(MainForm, ArrangeLinesUpTheMinimisedWindowsAlongTheBottom) {
  AcceptSmallPlays("3");
  Press(Qt::Key_F4);
  for (TfmPlayResults* window : PlayWindows())
    if (window->isMinimized()) window->move(200, 10);
  form_->WindowArrange();
  const int bottom = form_->MdiArea().viewport()->height();
  int left = 0;
  for (TfmPlayResults* window : PlayWindows()) {
    if (!window->isMinimized()) continue;
    EXPECT_EQ(window->geometry().bottom() + 1, bottom);
    EXPECT_EQ(window->x(), left);
    left += window->width();
  }
  EXPECT_GT(left, 0);
}

// After a series, and whatever the window menu then does, the shown windows stay above the
// row of minimised plays.
TEST_F(MainForm, SeriesWindowsLeaveTheMinimisedPlaysInSight) {
  AcceptSmallPlays("3");
  Press(Qt::Key_F4);
  const std::pair<const char*, std::function<void()>> arrangements[] = {
      {"as the series left them", [] {}},
      {"tiled", [this] { form_->WindowTile(); }},
      {"cascaded", [this] { form_->WindowCascade(); }},
      {"arranged", [this] { form_->WindowArrange(); }},
  };
  for (const auto& [name, arrange] : arrangements) {
    arrange();
    const QRect free = FreeArea(form_->MdiArea());
    int shown = 0;
    for (QMdiSubWindow* window : form_->MdiArea().subWindowList()) {
      if (window->isMinimized()) {
        EXPECT_GT(window->y(), free.bottom()) << name;
        continue;
      }
      ++shown;
      EXPECT_TRUE(free.contains(window->geometry())) << name;
      // A useful size, not one just large enough for the title.
      EXPECT_GE(window->height(), free.height() / 3) << name;
    }
    EXPECT_EQ(shown, 2) << name;
  }
}

// The main window's members outlive the windows that refer to them.
class MainFormClosing : public MainFormTest {
 protected:
  // What a window saw of the sink when it was deleted.
  struct Sighting {
    bool deleted = false;
    bool sinkAlive = false;
  };

  // Says when the main window destroys it.
  class WatchedSink : public RecordingSink {
   public:
    WatchedSink(std::vector<Message>& log, bool& alive) : RecordingSink(log), alive_(alive) {
      alive_ = true;
    }
    ~WatchedSink() override { alive_ = false; }

   private:
    bool& alive_;
  };

  // Goes with its parent window, as any child of the window would.
  class Probe : public QObject {
   public:
    Probe(QObject* window, const bool& sinkAlive, Sighting& sighting)
        : QObject(window), sinkAlive_(sinkAlive), sighting_(sighting) {}
    ~Probe() override { sighting_ = {true, sinkAlive_}; }

   private:
    const bool& sinkAlive_;
    Sighting& sighting_;
  };

  // Fixture members, so a failed assertion that leaves the form to TearDown finds them alive.
  bool sinkAlive_ = false;
  Sighting playWindow_;
  Sighting settings_;
};

TEST_F(MainFormClosing, DeletesThePlayWindowsAndTheDialogBeforeTheSink) {
  Open(std::make_unique<WatchedSink>(messages_, sinkAlive_));
  AcceptSmallPlays();
  Press(Qt::Key_F3);
  ASSERT_EQ(PlayWindows().size(), 1u);
  new Probe(PlayWindows().front(), sinkAlive_, playWindow_);
  new Probe(&form_->Settings(), sinkAlive_, settings_);

  form_.reset();
  EXPECT_FALSE(sinkAlive_);
  EXPECT_TRUE(playWindow_.deleted);
  EXPECT_TRUE(playWindow_.sinkAlive);
  EXPECT_TRUE(settings_.deleted);
  EXPECT_TRUE(settings_.sinkAlive);
}

TEST_F(MainForm, ExitClosesTheMainWindow) {
  form_->FileExit();
  EXPECT_FALSE(form_->isVisible());
}

// A play that may take days asks first; answered No, nothing starts.
TEST_F(MainForm, ALongRunAsksBeforeItStarts) {
  AcceptSettings({{"edProgrammersNum", "2147483647"}, {"edMu", "0,000001"}});
  for (Qt::Key key : {Qt::Key_F3, Qt::Key_F4}) {
    messages_.clear();
    Press(key);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_TRUE(messages_[0].text.startsWith(QStringLiteral("Розыгрыш может занять около")));
    EXPECT_TRUE(messages_[0].text.endsWith(QStringLiteral("Начать?")));
    EXPECT_TRUE(form_->MdiArea().subWindowList().isEmpty());
  }
}

}  // namespace
}  // namespace teravo::test
