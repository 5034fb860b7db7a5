#include "ui/common/export_dialog.h"

#include <algorithm>
#include <filesystem>

#include <QAbstractScrollArea>
#include <QBuffer>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTextEdit>
#include <QVBoxLayout>

#include <qcustomplot.h>

#include "core/safe_file.h"
#include "ui/common/error_report.h"
#include "ui/common/locale_text.h"
#include "ui/common/message_sink.h"

namespace teravo {

namespace {

const QString kDirectoryKey = QStringLiteral("export/directory");
// Pixels per inch of a whole window written as PDF: one pixel of the screen is one of the page.
constexpr int kScreenDpi = 96;
constexpr double kPointsPerInch = 72.0;
constexpr double kPageMarginMm = 12;

struct FormatInfo {
  ExportFormat format;
  const char* caption;
  const char* suffix;
  const char* filter;
};

const FormatInfo kFormats[] = {
    {ExportFormat::Csv, "Таблица CSV (все данные окна)", "csv", "Таблица CSV (*.csv)"},
    {ExportFormat::Png, "Рисунок PNG", "png", "Рисунок PNG (*.png)"},
    {ExportFormat::Pdf, "Документ PDF", "pdf", "Документ PDF (*.pdf)"},
};

const FormatInfo& InfoOf(ExportFormat format) {
  for (const FormatInfo& info : kFormats)
    if (info.format == format) return info;
  return kFormats[0];
}

QString Shown(const QString& path) {
  return QDir::toNativeSeparators(path);
}

QString CannotWrite(const QString& path, const QString& reason) {
  QString text = ToQString("Не удалось сохранить файл «%1»").arg(Shown(path));
  if (!reason.isEmpty()) text += QStringLiteral(": ") + reason;
  if (!text.endsWith(QLatin1Char('.'))) text += QLatin1Char('.');
  return text;
}

// For savers that take only a file name (QCustomPlot's): they fill a temporary file of the
// safe writer's, which then replaces the target.
QString ThroughTemporary(const QString& path, const std::function<bool(const QString&)>& write) {
  const auto failure =
      WriteFileThrough(ToFsPath(path), [&](const std::filesystem::path& temporary) {
        return write(QFile::decodeName(temporary.c_str()));
      });
  return failure ? CannotWrite(path, ToQString(FileProblemText(*failure))) : QString();
}

// For writers that take a device: they write into memory, which the safe writer then writes.
QString ThroughMemory(const QString& path, const std::function<bool(QIODevice&)>& write) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  if (!write(buffer)) return CannotWrite(path, {});
  const QByteArray& bytes = buffer.data();
  const auto failure =
      WriteFileSafely(ToFsPath(path), std::string_view(bytes.constData(), bytes.size()));
  return failure ? CannotWrite(path, ToQString(FileProblemText(*failure))) : QString();
}

// A window that has never been shown has not been laid out: it is given its natural size.
QSize LaidOut(QWidget& whole) {
  if (!whole.isVisible()) {
    if (QLayout* layout = whole.layout()) layout->activate();
    whole.resize(whole.sizeHint().expandedTo(whole.minimumSizeHint()));
  }
  return whole.size();
}

// A4 landscape with margins, the picture scaled to fit and centred; or a page of the picture's
// own size. `draw` paints a picture of `size` pixels.
bool WritePdf(QSize size, bool ownPageSize, const QString& title, QIODevice& device,
              const std::function<void(QCPPainter&)>& draw) {
  QPdfWriter writer(&device);
  writer.setTitle(title);
  writer.setCreator(ToQString(kApplicationTitle));
  writer.setResolution(kScreenDpi);
  if (ownPageSize) {
    const QSizeF points = QSizeF(size) * (kPointsPerInch / kScreenDpi);
    writer.setPageLayout(
        QPageLayout(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch),
                    QPageLayout::Portrait, QMarginsF()));
  } else {
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape,
                    QMarginsF(kPageMarginMm, kPageMarginMm, kPageMarginMm, kPageMarginMm),
                    QPageLayout::Millimeter));
  }
  // A chart draws itself through QCustomPlot's painter, which a widget takes as any other.
  QCPPainter painter;
  if (!painter.begin(&writer)) return false;
  if (!ownPageSize && !size.isEmpty()) {
    const QRect page = writer.pageLayout().paintRectPixels(kScreenDpi);
    const double scale = std::min(static_cast<double>(page.width()) / size.width(),
                                  static_cast<double>(page.height()) / size.height());
    painter.translate((page.width() - size.width() * scale) / 2,
                      (page.height() - size.height() * scale) / 2);
    painter.scale(scale, scale);
  }
  draw(painter);
  return painter.end();
}

bool WriteWholePdf(QWidget& whole, const QString& title, bool ownPageSize, QIODevice& device) {
  const QSize size = LaidOut(whole);
  const CleanForPicture clean(whole);
  return WritePdf(size, ownPageSize, title, device,
                  [&](QCPPainter& painter) { whole.render(&painter); });
}

}  // namespace

QString ExportFileStem(const QString& title) {
  QString stem = title.simplified();
  for (QChar& c : stem)
    if (QStringLiteral("/\\:*?\"<>|").contains(c) || c.unicode() < 0x20) c = QLatin1Char('_');
  while (stem.startsWith(QLatin1Char('.'))) stem.remove(0, 1);
  return stem.isEmpty() ? ToQString("окно") : stem;
}

QString CsvTablePath(const QString& chosen, const std::string& table) {
  const QFileInfo info(chosen);
  return info.dir().filePath(info.completeBaseName() + QLatin1Char('_') + ToQString(table));
}

QString WriteExport(const ExportSource& source, const ExportChoice& choice) {
  const QString& path = choice.path;
  if (path.isEmpty()) return ToQString("Не указано имя файла.");
  if (!QFileInfo(path).absoluteDir().exists())
    return CannotWrite(path, ToQString("нет такой папки"));
  if (choice.format == ExportFormat::Csv && source.csvTables) {
    for (const auto& [name, text] : source.csvTables()) {
      const QString error = ThroughMemory(CsvTablePath(path, name), [&](QIODevice& file) {
        return file.write(text.data(), static_cast<qint64>(text.size())) ==
               static_cast<qint64>(text.size());
      });
      if (!error.isEmpty()) return error;
    }
    return {};
  }
  if (choice.format == ExportFormat::Csv) {
    if (!source.csv) return CannotWrite(path, {});
    const std::string text = source.csv();
    return ThroughMemory(path, [&](QIODevice& file) {
      return file.write(text.data(), static_cast<qint64>(text.size())) ==
             static_cast<qint64>(text.size());
    });
  }
  if (choice.chart >= 0) {
    if (choice.chart >= static_cast<int>(source.charts.size())) return CannotWrite(path, {});
    const ExportSource::Chart& chart = source.charts[static_cast<std::size_t>(choice.chart)];
    QCustomPlot* plot = chart.plot;
    return ThroughTemporary(path, [&](const QString& file) {
      // The chart at the size it has on screen (its smallest size if it was never laid out).
      const QSize size = plot->size().expandedTo(plot->minimumSize());
      if (choice.format == ExportFormat::Png)
        return plot->savePng(file, size.width(), size.height());
      if (choice.ownPageSize)
        return plot->savePdf(file, size.width(), size.height(), QCP::epAllowCosmetic,
                             ToQString(kApplicationTitle), chart.title);
      QFile out(file);
      if (!out.open(QIODevice::WriteOnly)) return false;
      return WritePdf(size, false, chart.title, out, [&](QCPPainter& painter) {
        plot->toPainter(&painter, size.width(), size.height());
      });
    });
  }
  if (!source.whole) return CannotWrite(path, {});
  if (choice.format == ExportFormat::Png) {
    LaidOut(*source.whole);
    const CleanForPicture clean(*source.whole);
    const QPixmap picture = source.whole->grab();
    if (picture.isNull()) return CannotWrite(path, ToQString("окно не удалось нарисовать"));
    return ThroughMemory(path, [&](QIODevice& file) { return picture.save(&file, "PNG"); });
  }
  return ThroughMemory(path, [&](QIODevice& file) {
    return WriteWholePdf(*source.whole, source.title, choice.ownPageSize, file);
  });
}

CleanForPicture::CleanForPicture(QWidget& whole) {
  for (QLineEdit* edit : whole.findChildren<QLineEdit*>()) {
    if (!edit->hasSelectedText()) continue;
    const int start = edit->selectionStart();
    const int length = static_cast<int>(edit->selectedText().size());
    const QPointer<QLineEdit> kept(edit);
    edit->deselect();
    restore_.push_back([kept, start, length] {
      if (kept) kept->setSelection(start, length);
    });
  }
  for (QTextEdit* edit : whole.findChildren<QTextEdit*>()) {
    if (!edit->textCursor().hasSelection()) continue;
    const QTextCursor cursor = edit->textCursor();
    const QPointer<QTextEdit> kept(edit);
    QTextCursor plain = cursor;
    plain.clearSelection();
    edit->setTextCursor(plain);
    restore_.push_back([kept, cursor] {
      if (kept) kept->setTextCursor(cursor);
    });
  }
  for (QAbstractScrollArea* area : whole.findChildren<QAbstractScrollArea*>()) {
    const QPointer<QAbstractScrollArea> kept(area);
    const Qt::ScrollBarPolicy vertical = area->verticalScrollBarPolicy();
    const Qt::ScrollBarPolicy horizontal = area->horizontalScrollBarPolicy();
    area->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    area->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    restore_.push_back([kept, vertical, horizontal] {
      if (!kept) return;
      kept->setVerticalScrollBarPolicy(vertical);
      kept->setHorizontalScrollBarPolicy(horizontal);
    });
  }
}

CleanForPicture::~CleanForPicture() {
  for (auto it = restore_.rbegin(); it != restore_.rend(); ++it) (*it)();
}

ExportDialog::ExportDialog(const ExportSource& source, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("ExportDialog"));
  setWindowTitle(ToQString("Сохранить как"));

  format_ = new QComboBox(this);
  format_->setObjectName(QStringLiteral("ExportFormat"));
  for (const FormatInfo& info : kFormats)
    format_->addItem(ToQString(info.caption), static_cast<int>(info.format));
  part_ = new QComboBox(this);
  part_->setObjectName(QStringLiteral("ExportPart"));
  part_->addItem(ToQString("Всё окно"));
  for (const ExportSource::Chart& chart : source.charts)
    part_->addItem(ToQString("График «%1»").arg(chart.title));

  path_ = new QLineEdit(this);
  path_->setObjectName(QStringLiteral("ExportPath"));
  path_->setMinimumWidth(fontMetrics().averageCharWidth() * 50);
  const QString directory = QSettings().value(kDirectoryKey, QDir::homePath()).toString();
  path_->setText(QDir(directory).filePath(ExportFileStem(source.title) + QStringLiteral(".csv")));
  auto* browse = new QPushButton(ToQString("&Обзор…"), this);
  browse->setObjectName(QStringLiteral("ExportBrowse"));
  browse->setAutoDefault(false);
  auto* file = new QHBoxLayout;
  file->addWidget(path_, 1);
  file->addWidget(browse);

  ownPage_ = new QCheckBox(ToQString("Страница PDF по размеру окна (иначе A4, альбомная)"), this);
  ownPage_->setObjectName(QStringLiteral("ExportOwnPageSize"));

  auto* buttons = new QDialogButtonBox(this);
  save_ = buttons->addButton(ToQString("&Сохранить"), QDialogButtonBox::AcceptRole);
  save_->setObjectName(QStringLiteral("ExportSave"));
  buttons->addButton(ToQString("Отмена"), QDialogButtonBox::RejectRole);

  // The file's row holds a layout, which QFormLayout gives no buddy: the labels are made here.
  auto label = [this](const char* caption, QWidget* buddy) {
    auto* made = new QLabel(ToQString(caption), this);
    made->setBuddy(buddy);
    return made;
  };
  auto* form = new QFormLayout;
  form->addRow(label("&Формат:", format_), format_);
  form->addRow(label("&Что сохранить:", part_), part_);
  form->addRow(label("&Имя файла:", path_), file);
  form->addRow(QString(), ownPage_);
  auto* root = new QVBoxLayout(this);
  root->addLayout(form);
  root->addWidget(buttons);

  connect(format_, &QComboBox::currentIndexChanged, this, &ExportDialog::FormatChanged);
  connect(browse, &QPushButton::clicked, this, &ExportDialog::Browse);
  connect(path_, &QLineEdit::textChanged, this,
          [this](const QString& text) { save_->setEnabled(!text.trimmed().isEmpty()); });
  connect(buttons, &QDialogButtonBox::accepted, this, &ExportDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  FormatChanged();
}

ExportChoice ExportDialog::Choice() const {
  ExportChoice choice;
  choice.format = static_cast<ExportFormat>(format_->currentData().toInt());
  choice.chart = choice.format == ExportFormat::Csv ? -1 : part_->currentIndex() - 1;
  choice.path = path_->text().trimmed();
  choice.ownPageSize = choice.format == ExportFormat::Pdf && ownPage_->isChecked();
  return choice;
}

void ExportDialog::FormatChanged() {
  const ExportFormat format = static_cast<ExportFormat>(format_->currentData().toInt());
  // A table holds the whole window's data; only pictures and documents can hold one chart.
  const bool csv = format == ExportFormat::Csv;
  if (csv) part_->setCurrentIndex(0);
  part_->setEnabled(!csv);
  ownPage_->setEnabled(format == ExportFormat::Pdf);
  QString path = path_->text();
  const QFileInfo info(path);
  for (const FormatInfo& known : kFormats) {
    if (info.suffix().compare(QLatin1String(known.suffix), Qt::CaseInsensitive) == 0) {
      path.chop(static_cast<int>(info.suffix().size()) + 1);
      break;
    }
  }
  path_->setText(path + QLatin1Char('.') + QLatin1String(InfoOf(format).suffix));
}

void ExportDialog::Browse() {
  const FormatInfo& info = InfoOf(Choice().format);
  QString chosen = QFileDialog::getSaveFileName(this, ToQString("Сохранить как"), path_->text(),
                                                ToQString(info.filter));
  if (chosen.isEmpty()) return;
  const QString suffix = QLatin1Char('.') + QLatin1String(info.suffix);
  if (!chosen.endsWith(suffix, Qt::CaseInsensitive)) chosen += suffix;
  path_->setText(chosen);
  confirmed_ = chosen;
}

void ExportDialog::accept() {
  const QString path = Choice().path;
  if (path.isEmpty()) return;
  // The file dialog has already asked about a file it chose; a typed name has not.
  if (path != confirmed_ && QFileInfo::exists(path)) {
    const auto answer =
        QMessageBox::question(this, ToQString(kApplicationTitle),
                              ToQString("Файл «%1» уже есть. Заменить его?").arg(Shown(path)));
    if (answer != QMessageBox::Yes) return;
  }
  QSettings().setValue(kDirectoryKey, QFileInfo(path).absolutePath());
  QDialog::accept();
}

void SaveAsAsked(QWidget& owner, MessageSink& messages, const ExportAsker& ask,
                 const std::function<ExportSource()>& source) {
  RunGuarded(messages, &owner, [&] {
    const QPointer<QWidget> guard(&owner);
    ExportChoice choice;
    {
      ExportDialog dialog(source(), owner.window());
      if (!ask(dialog) || !guard) return;
      choice = dialog.Choice();
    }
    const QString error = WriteExport(source(), choice);
    if (!error.isEmpty()) messages.Error(owner.window(), error);
  });
}

}  // namespace teravo
