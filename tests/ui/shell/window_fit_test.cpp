// Every window at the size it opens with, and again at 1.5 scaling: no caption, button or
// figure may get less width than its text needs, and no window may squeeze its content below
// the size that content needs (it must scroll instead).
#include <functional>

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

#include <qcustomplot.h>

#include "tests/ui/ui_fixture.h"
#include "ui/decisions/decisions_window.h"
#include "ui/plays/play_results_view.h"
#include "ui/shell/about_form.h"

namespace teravo::test {
namespace {

QString WithoutMnemonic(QString text) {
  text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
  text.remove(QLatin1Char('&'));
  text.replace(QStringLiteral("\x01"), QStringLiteral("&"));
  return text;
}

// What each widget under `root` would cut off, as "name 'text' needs N, has M".
QStringList CutOff(QWidget& root) {
  QStringList cut;
  auto check = [&cut](const QWidget* widget, const QString& text, int need, int room) {
    if (need > room)
      cut << QStringLiteral("%1 '%2' needs %3, has %4")
                 .arg(widget->objectName(), text)
                 .arg(need)
                 .arg(room);
  };
  for (QWidget* widget : root.findChildren<QWidget*>()) {
    if (!widget->isVisibleTo(&root)) continue;
    const QFontMetrics metrics = widget->fontMetrics();
    if (auto* label = qobject_cast<QLabel*>(widget); label && !label->wordWrap()) {
      const QString text = label->buddy() ? WithoutMnemonic(label->text()) : label->text();
      check(label, text, metrics.horizontalAdvance(text),
            label->contentsRect().width() - 2 * label->margin());
    } else if (auto* button = qobject_cast<QAbstractButton*>(widget);
               button && !button->text().isEmpty()) {
      check(button, button->text(), button->sizeHint().width(), button->width());
    } else if (auto* box = qobject_cast<QGroupBox*>(widget)) {
      check(box, box->title(), metrics.horizontalAdvance(WithoutMnemonic(box->title())),
            box->width());
    } else if (auto* edit = qobject_cast<QLineEdit*>(widget); edit && edit->isReadOnly()) {
      // A figure: QLineEdit keeps two pixels on either side of its text.
      const QMargins margins = edit->textMargins();
      const int frame = edit->hasFrame() ? 2 * edit->style()->pixelMetric(
                                                   QStyle::PM_DefaultFrameWidth, nullptr, edit)
                                         : 0;
      check(edit, edit->text(), metrics.horizontalAdvance(edit->text()),
            edit->width() - frame - 4 - margins.left() - margins.right());
    }
    if (auto* pane = qobject_cast<QScrollArea*>(widget); pane && pane->widget()) {
      const QSize need = pane->widget()->minimumSizeHint();
      const QSize has = pane->widget()->size();
      if (has.width() < need.width() || has.height() < need.height())
        cut << QStringLiteral("content of %1 squeezed to %2x%3 below %4x%5")
                   .arg(pane->parentWidget()->objectName())
                   .arg(has.width())
                   .arg(has.height())
                   .arg(need.width())
                   .arg(need.height());
    }
  }
  return cut;
}

// The main window at the size and place it opens with, not the fixture's.
class WindowsFit : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    const TMainForm fresh;
    form_->setGeometry(fresh.geometry());
    Activate(form_.get());
  }

  void ExpectNothingCut(QWidget* window, const char* what) {
    ASSERT_NE(window, nullptr) << what;
    QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    QApplication::processEvents();
    const QStringList cut = CutOff(*window);
    EXPECT_TRUE(cut.isEmpty()) << what << ":\n" << cut.join(QLatin1Char('\n')).toStdString();
  }

  TAllPlayResults* RunSeries() {
    AcceptSmallPlays("3");
    Press(Qt::Key_F4);
    QApplication::processEvents();
    return DistributionWindows().at(0);
  }
};

TEST_F(WindowsFit, MainWindowShowsItsWholeToolBar) {
  auto* toolBar = form_->findChild<QToolBar*>(QStringLiteral("tbMain"));
  ASSERT_NE(toolBar, nullptr);
  auto* more = toolBar->findChild<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"));
  EXPECT_TRUE(more == nullptr || !more->isVisible()) << "the tool bar hides actions behind »";
  ExpectNothingCut(form_.get(), "main window");
}

TEST_F(WindowsFit, Dialogs) {
  Press(Qt::Key_F2);
  ExpectNothingCut(&Dialog(), "settings dialog");
  Dialog().close();
  form_->HelpAbout();
  ExpectNothingCut(&form_->About(), "about");
}

TEST_F(WindowsFit, PlayWindow) {
  AcceptSmallPlays();
  Press(Qt::Key_F3);
  TfmPlayResults* window = PlayWindows().at(0);
  ExpectNothingCut(window, "play window");
  // The charts are the window's main content: their first row shows at least half without
  // scrolling, above the figures' own pane.
  auto* pane = qobject_cast<QScrollArea*>(window->widget());
  ASSERT_NE(pane, nullptr);
  for (Chart chart : {Chart::chErrorsIntensity, Chart::chNums}) {
    const QWidget* plot = window->View()->ChartOf(chart).Plot();
    const int top = plot->mapTo(pane->viewport(), QPoint()).y();
    EXPECT_LE(top + plot->height() / 2, pane->viewport()->height())
        << plot->objectName().toStdString() << " starts at " << top << " of "
        << pane->viewport()->height();
  }
  // The figures move below the groups rather than scroll sideways.
  const QScrollArea* figures = window->View()->FiguresPane();
  EXPECT_LE(figures->widget()->minimumSizeHint().width(), figures->viewport()->width());
  EXPECT_FALSE(figures->horizontalScrollBar()->isVisible());
}

TEST_F(WindowsFit, SeriesWindowsAsOpenedAndTiled) {
  TAllPlayResults* distributions = RunSeries();
  ExpectNothingCut(PlayWindows().back(), "averages");
  ExpectNothingCut(distributions, "distributions");
  form_->WindowTile();
  ExpectNothingCut(PlayWindows().back(), "tiled averages");
  ExpectNothingCut(distributions, "tiled distributions");
}

TEST_F(WindowsFit, QuestionsWindowNeedsNoSidewaysScroll) {
  auto* menu = form_->menuBar()->findChild<QMenu*>(QStringLiteral("SettingsMenu"));
  ASSERT_NE(menu, nullptr);
  for (QAction* action : menu->actions()) {
    if (action->text() == QString::fromUtf8("Когда цель будет достигнута?…")) action->trigger();
  }
  auto* window = form_->findChild<TDecisionsWindow*>();
  ExpectNothingCut(window, "questions window");
  const auto* pane = qobject_cast<QScrollArea*>(window->widget());
  ASSERT_NE(pane, nullptr);
  EXPECT_FALSE(pane->horizontalScrollBar()->isVisible())
      << "content " << pane->widget()->minimumSizeHint().width() << " in "
      << pane->viewport()->width();
}

// The same walk again in a process of its own, where Qt scales everything by 1.5.
TEST(WindowsFitScaled, AtOneAndAHalf) {
  if (qEnvironmentVariableIsSet("QT_SCALE_FACTOR")) GTEST_SKIP() << "this is the scaled run";
  QProcess run;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_SCALE_FACTOR"), QStringLiteral("1.5"));
  run.setProcessEnvironment(environment);
  run.setProcessChannelMode(QProcess::MergedChannels);
  run.start(QCoreApplication::applicationFilePath(),
            {QStringLiteral("--gtest_filter=WindowsFit.*")});
  ASSERT_TRUE(run.waitForFinished(120000));
  const QString output = QString::fromUtf8(run.readAll());
  EXPECT_EQ(run.exitCode(), 0) << output.toStdString();
  EXPECT_TRUE(output.contains(QStringLiteral("[  PASSED  ] 5 tests"))) << output.toStdString();
}

}  // namespace
}  // namespace teravo::test
