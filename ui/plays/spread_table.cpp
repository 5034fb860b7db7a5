#include "ui/plays/spread_table.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string_view>
#include <vector>

#include <QAction>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/csv_text.h"
#include "core/number_text.h"
#include "ui/common/locale_text.h"
#include "ui/common/table_copy.h"
#include "ui/data/number_cells.h"
#include "ui/plays/play_results_view.h"
#include "ui/shell/window_commands.h"

namespace teravo {

namespace {

const char kNoSpread[] = "Один розыгрыш: разброс не определён";
const char kNotDefined[] = "—";

QString Number(long double value, char separator) {
  // A spread is never infinite or NaN for real plays; should one be, it is not shown.
  if (!std::isfinite(value)) return ToQString(kNotDefined);
  return ToQString(FloatToStr(value, separator));
}

}  // namespace

bool BandsByDefault(const PlayRecord& record) {
  return record.Kind == RecordKind::Averages && record.PlayCount >= kBandsByDefaultFrom;
}

QString SpreadToolTip(const PlayRecord& record, Field field) {
  if (record.Kind != RecordKind::Averages || !IsAveragedField(field)) return {};
  const char separator = record.Separator();
  // The window rounds an integer field's mean; where that changed it, the tip gives it as it is.
  QString tip;
  if (const auto& mean = record.ExactMeans[static_cast<std::size_t>(field)]) {
    const QString exact = Number(*mean, separator);
    if (exact != ToQString(record.Text(field))) tip = ToQString("Точное среднее: %1\n").arg(exact);
  }
  const auto& spread = record.Spreads[static_cast<std::size_t>(field)];
  if (!spread) return tip + ToQString(kNoSpread);
  return tip + ToQString("СКО: %1 ; 95 % интервал: ± %2")
                   .arg(Number(spread->deviation, separator), Number(spread->halfWidth, separator));
}

SpreadTable::SpreadTable(const PlayRecord& record, const QString& windowTitle, QWidget* parent)
    : QDialog(parent), separator_(record.Separator()) {
  setObjectName(QStringLiteral("SpreadTable"));
  setWindowTitle(ToQString("Разброс по розыгрышам"));
  setAttribute(Qt::WA_DeleteOnClose);

  heading_ = record.Kind == RecordKind::Averages
                 ? ToQString("%1\nРозыгрышей: %2").arg(windowTitle).arg(record.PlayCount)
                 : windowTitle;
  auto* heading = new QLabel(heading_, this);
  note_ = new QLabel(ToQString(kNoSpread), this);
  note_->setObjectName(QStringLiteral("NoSpreadNote"));

  const QStringList headers = {ToQString("Показатель"), ToQString("Среднее"), ToQString("СКО"),
                               ToQString("95 % интервал, ±")};
  std::vector<Field> fields;
  for (Field field : FieldsInWindowOrder())
    if (field != Field::edCurTime) fields.push_back(field);
  table_ =
      new QTableWidget(static_cast<int>(fields.size()), static_cast<int>(headers.size()), this);
  table_->setObjectName(QStringLiteral("SpreadCells"));
  table_->setHorizontalHeaderLabels(headers);
  table_->verticalHeader()->setVisible(false);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setSelectionMode(QAbstractItemView::ContiguousSelection);
  EnableCopy(*table_);

  bool anySpread = false;
  const char separator = record.Separator();
  for (int row = 0; row < static_cast<int>(fields.size()); ++row) {
    const Field field = fields[static_cast<std::size_t>(row)];
    const auto& spread = record.Spreads[static_cast<std::size_t>(field)];
    anySpread = anySpread || spread.has_value();
    const QString notDefined = ToQString(kNotDefined);
    const auto number = [&](std::optional<long double> value) {
      return NumberItem(value ? std::optional<double>(static_cast<double>(*value)) : std::nullopt,
                        notDefined, separator);
    };
    table_->setItem(row, 0, new QTableWidgetItem(FieldTitle(field)));
    // The mean as it is: the averages window rounds an integer field's.
    table_->setItem(
        row, 1,
        record.Text(field).empty() ? new QTableWidgetItem : number(record.ExactValue(field)));
    table_->setItem(row, 2, number(spread ? std::optional(spread->deviation) : std::nullopt));
    table_->setItem(row, 3, number(spread ? std::optional(spread->halfWidth) : std::nullopt));
  }
  note_->setVisible(!anySpread);
  table_->resizeColumnsToContents();
  table_->horizontalHeader()->setStretchLastSection(true);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  buttons->button(QDialogButtonBox::Close)->setText(ToQString("Закрыть"));
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* save = buttons->addButton(ToQString("Сохранить &как…"), QDialogButtonBox::ActionRole);
  save->setObjectName(QStringLiteral("buSaveSpread"));
  aSaveAs_ = new QAction(ToQString("Сохранить как…"), this);
  aSaveAs_->setObjectName(QStringLiteral("aSaveAs"));
  aSaveAs_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  addAction(aSaveAs_);
  connect(save, &QPushButton::clicked, aSaveAs_, &QAction::trigger);
  connect(aSaveAs_, &QAction::triggered, this, [this] {
    // A dialog is a window of its own: the commands belong to the frame of the window it
    // came from.
    WindowCommands* commands = WindowCommands::Of(parentWidget() ? *parentWidget() : *this);
    if (!commands) return;
    commands->SaveAs(*this, [this] {
      ExportSource source{this->windowTitle(), table_, {}, {}, {}};
      source.csv = [this] { return Csv(); };
      return source;
    });
  });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(heading);
  layout->addWidget(note_);
  layout->addWidget(table_, 1);
  layout->addWidget(buttons);

  // Room for every row and column without scrolling, where the screen allows.
  int width = 2 * table_->frameWidth() + table_->verticalScrollBar()->sizeHint().width();
  for (int column = 0; column < table_->columnCount(); ++column)
    width += table_->columnWidth(column);
  int height = 2 * table_->frameWidth() + table_->horizontalHeader()->sizeHint().height();
  for (int row = 0; row < table_->rowCount(); ++row) height += table_->rowHeight(row);
  table_->setMinimumSize(std::min(width, 900), std::min(height, 600));
}

std::string SpreadTable::Csv() const {
  CsvText csv(separator_);
  for (const QString& line : heading_.split(QLatin1Char('\n')))
    csv.Cell(line.toStdString()).EndRow();
  csv.EndRow();
  for (int column = 0; column < table_->columnCount(); ++column)
    csv.Cell(table_->horizontalHeaderItem(column)->text().toStdString());
  csv.EndRow();
  for (int row = 0; row < table_->rowCount(); ++row) {
    for (int column = 0; column < table_->columnCount(); ++column)
      csv.Cell(FullText(table_->item(row, column)).toStdString());
    csv.EndRow();
  }
  return csv.Take();
}

}  // namespace teravo
