#include <QListWidget>
#include <QMenuBar>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>

#include "params/settings_edits.h"
#include "tests/ui/ui_fixture.h"
#include "ui/common/locale_text.h"
#include "ui/shell/help_window.h"

namespace teravo::test {
namespace {

using HelpGuide = MainFormTest;

// The text of the guide's section under `heading`, up to the next heading of its level.
QString SectionText(const QTextDocument& document, const QString& heading) {
  QString text;
  int level = 0;
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    const int blockLevel = block.blockFormat().headingLevel();
    if (level > 0 && blockLevel > 0 && blockLevel <= level) break;
    if (level > 0) text += block.text() + QLatin1Char('\n');
    if (blockLevel > 0 && block.text() == heading) level = blockLevel;
  }
  return text;
}

// The heading at the top of the browser's view.
QString TopHeading(QTextBrowser& browser) {
  return browser.cursorForPosition(QPoint(0, 0)).block().text();
}

TEST(HelpWindow, ParametersSectionExplainsEveryEditTheUserTypes) {
  HelpWindow window;
  const QString parameters =
      SectionText(*window.Browser()->document(), ToQString(kParametersSection));
  ASSERT_FALSE(parameters.isEmpty());
  for (const SettingsEdit& edit : SettingsEdits()) {
    if (edit.kind == EditKind::Display) continue;
    EXPECT_TRUE(parameters.contains(ToQString(edit.name))) << edit.name;
  }
  // The sections list names every part, the parameters among them.
  QStringList sections;
  for (int i = 0; i < window.Sections()->count(); ++i)
    sections << window.Sections()->item(i)->data(Qt::UserRole).toString();
  EXPECT_TRUE(sections.contains(ToQString(kParametersSection)));
  EXPECT_TRUE(sections.contains(ToQString("Когда цель будет достигнута?")));
}

TEST_F(HelpGuide, F1ShowsTheGuideFromTheMainWindowAndItsParametersFromTheSettings) {
  Press(Qt::Key_F1);
  auto* fromMain = form_->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
  ASSERT_NE(fromMain, nullptr);
  EXPECT_TRUE(fromMain->isVisible());
  EXPECT_EQ(fromMain->Browser()->verticalScrollBar()->value(), 0);

  // The same command stands in the Russian help menu beside the original one.
  QMenu* guideMenu = form_->menuBar()->findChild<QMenu*>(QStringLiteral("GuideMenu"));
  ASSERT_NE(guideMenu, nullptr);
  EXPECT_EQ(guideMenu->title(), ToQString("&Справка"));
  ASSERT_EQ(guideMenu->actions().size(), 1);
  EXPECT_EQ(guideMenu->actions()[0]->text(), ToQString("&Руководство"));
  EXPECT_EQ(guideMenu->actions()[0]->shortcut(), QKeySequence(Qt::Key_F1));

  Press(Qt::Key_F2);
  Activate(&Dialog());
  QTest::keyClick(&Dialog(), Qt::Key_F1);
  auto* fromSettings = Dialog().findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
  ASSERT_NE(fromSettings, nullptr);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(fromSettings));
  EXPECT_EQ(TopHeading(*fromSettings->Browser()), ToQString(kParametersSection));
  EXPECT_EQ(fromSettings->Sections()->currentItem()->data(Qt::UserRole).toString(),
            ToQString(kParametersSection));
  // The settings dialog stays as it was: open, with its own F2.
  EXPECT_TRUE(Dialog().isVisible());
}

}  // namespace
}  // namespace teravo::test
