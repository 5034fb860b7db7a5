#include "ui/shell/help_window.h"

#include <algorithm>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QListWidget>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>

#include "ui/common/locale_text.h"

namespace teravo {

namespace {

// Screenshots are taken of the whole screen; this width keeps them readable beside the text.
constexpr int kPictureWidth = 720;

// Where the guide's pictures (its "screenshots/…" paths) may be found.
QStringList PictureFolders() {
  return {QDir(QCoreApplication::applicationDirPath())
              .absoluteFilePath(QStringLiteral("../share/doc/teravo/guide")),
          QDir::currentPath()};
}

// Every picture at one width: the height follows from the picture itself.
void FitPictures(QTextDocument& document) {
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
      const QTextFragment fragment = it.fragment();
      if (!fragment.charFormat().isImageFormat()) continue;
      QTextImageFormat picture = fragment.charFormat().toImageFormat();
      picture.setWidth(kPictureWidth);
      QTextCursor cursor(&document);
      cursor.setPosition(fragment.position());
      cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
      cursor.setCharFormat(picture);
    }
  }
}

// Each heading becomes an anchor named by its own text, so that a section can be shown by
// its heading; the list beside the text names the same headings.
void MarkHeadings(QTextDocument& document, QListWidget& sections) {
  for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
    const int level = block.blockFormat().headingLevel();
    if (level < 2) continue;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    QTextCharFormat anchor;
    anchor.setAnchor(true);
    anchor.setAnchorNames({block.text()});
    cursor.mergeCharFormat(anchor);
    auto* item = new QListWidgetItem(QString(2 * (level - 2), QLatin1Char(' ')) + block.text());
    item->setData(Qt::UserRole, block.text());
    sections.addItem(item);
  }
}

}  // namespace

HelpWindow::HelpWindow(QWidget* parent)
    : QDialog(parent), browser_(new QTextBrowser(this)), sections_(new QListWidget(this)) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(ToQString("Руководство пользователя"));
  setWindowFlag(Qt::WindowMaximizeButtonHint);
  setModal(false);
  browser_->setObjectName(QStringLiteral("GuideText"));
  browser_->setOpenExternalLinks(true);
  browser_->setSearchPaths(PictureFolders());
  sections_->setObjectName(QStringLiteral("GuideSections"));
  auto* splitter = new QSplitter(this);
  splitter->addWidget(sections_);
  splitter->addWidget(browser_);
  splitter->setStretchFactor(1, 1);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(splitter);
  LoadGuide();
  // A click, or Enter on the keyboard, shows the section.
  const auto showItem = [this](QListWidgetItem* item) {
    browser_->scrollToAnchor(item->data(Qt::UserRole).toString());
  };
  connect(sections_, &QListWidget::itemClicked, this, showItem);
  connect(sections_, &QListWidget::itemActivated, this, showItem);
  const QSize available = screen()->availableSize();
  resize(available.width() * 3 / 4, available.height() * 3 / 4);
  // The list is as wide as its longest heading, the text takes the rest.
  int listWidth = 0;
  for (int i = 0; i < sections_->count(); ++i)
    listWidth = std::max(listWidth, fontMetrics().horizontalAdvance(sections_->item(i)->text()));
  listWidth += 2 * sections_->frameWidth() + 4 * fontMetrics().averageCharWidth();
  splitter->setSizes({listWidth, width() - listWidth});
}

void HelpWindow::LoadGuide() {
  QFile guide(QStringLiteral(":/teravo/guide.md"));  // built into the program
  if (!guide.open(QIODevice::ReadOnly)) return;
  browser_->setMarkdown(QString::fromUtf8(guide.readAll()));
  QTextDocument& document = *browser_->document();
  FitPictures(document);
  MarkHeadings(document, *sections_);
}

void HelpWindow::ShowSection(const QString& heading) {
  show();
  raise();
  activateWindow();
  for (int i = 0; i < sections_->count(); ++i) {
    QListWidgetItem* item = sections_->item(i);
    if (item->data(Qt::UserRole).toString() == heading) {
      sections_->setCurrentItem(item);
      browser_->scrollToAnchor(heading);
      return;
    }
  }
  browser_->verticalScrollBar()->setValue(0);
}

HelpWindow& ShowGuide(QWidget& owner, const QString& heading) {
  auto* window = owner.findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
  if (!window) window = new HelpWindow(&owner);
  window->ShowSection(heading);
  return *window;
}

}  // namespace teravo
