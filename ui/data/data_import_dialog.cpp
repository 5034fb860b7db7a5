#include "ui/data/data_import_dialog.h"

#include <algorithm>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileInfo>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/number_text.h"
#include "reliability/analysis_texts.h"
#include "ui/common/locale_text.h"
#include "ui/data/number_cells.h"

namespace teravo {

namespace {

constexpr DataLayout kLayouts[] = {DataLayout::FailureTimes, DataLayout::Intervals,
                                   DataLayout::Counts};
constexpr TimeUnit kUnits[] = {TimeUnit::Seconds, TimeUnit::Hours, TimeUnit::Days, TimeUnit::Weeks};
const QColor kFaultyRow(255, 215, 215);

}  // namespace

DataImportDialog::DataImportDialog(QString path, FailureData preview, char separator,
                                   MessageSink& messages, QWidget* parent)
    : QDialog(parent), path_(std::move(path)), separator_(separator), messages_(messages) {
  setObjectName(QStringLiteral("DataImportDialog"));
  setWindowTitle(ToQString("Данные об отказах: ") + QFileInfo(path_).fileName());

  layout_ = new QComboBox(this);
  layout_->setObjectName(QStringLiteral("cbLayout"));
  layout_->addItem(ToQString("определить по заголовку"), -1);
  for (const DataLayout layout : kLayouts)
    layout_->addItem(ToQString(LayoutName(layout)), static_cast<int>(layout));
  unit_ = new QComboBox(this);
  unit_->setObjectName(QStringLiteral("cbUnit"));
  for (const TimeUnit unit : kUnits)
    unit_->addItem(ToQString(UnitName(unit)), static_cast<int>(unit));
  unit_->setCurrentIndex(unit_->findData(static_cast<int>(TimeUnit::Days)));
  share_ = new QLineEdit(ToQString(FloatToStr(AnalysisOptions{}.holdout_share, separator_)), this);
  share_->setObjectName(QStringLiteral("edHoldoutShare"));
  share_->setToolTip(
      ToQString("Модели подгоняются по этой доле времени наблюдения, а прогноз проверяется на "
                "остальных данных (PSSE)"));

  auto* form = new QFormLayout;
  auto label = [this](const char* caption, QWidget* buddy) {
    auto* made = new QLabel(ToQString(caption), this);
    made->setBuddy(buddy);
    return made;
  };
  form->addRow(label("&Вид данных:", layout_), layout_);
  form->addRow(label("&Единица времени в файле:", unit_), unit_);
  form->addRow(label("&Доля данных для подгонки:", share_), share_);

  fault_ = new QLabel(this);
  fault_->setObjectName(QStringLiteral("lbDataFault"));
  fault_->setWordWrap(true);
  preview_ = new QTableWidget(this);
  preview_->setObjectName(QStringLiteral("tbPreview"));
  preview_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  preview_->verticalHeader()->hide();
  preview_->setMinimumSize(460, 260);

  auto* buttons = new QDialogButtonBox(this);
  ok_ = buttons->addButton(ToQString("&Анализировать"), QDialogButtonBox::AcceptRole);
  ok_->setObjectName(QStringLiteral("buAnalyse"));
  buttons->addButton(ToQString("Отмена"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &DataImportDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* root = new QVBoxLayout(this);
  root->addLayout(form);
  root->addWidget(fault_);
  root->addWidget(preview_, 1);
  root->addWidget(buttons);

  ShowPreview(preview);
  connect(layout_, &QComboBox::currentIndexChanged, this, &DataImportDialog::Reread);
  connect(unit_, &QComboBox::currentIndexChanged, this, &DataImportDialog::Reread);
}

ImportOptions DataImportDialog::Chosen() const {
  ImportOptions options;
  const int layout = layout_->currentData().toInt();
  if (layout >= 0) options.layout = static_cast<DataLayout>(layout);
  options.unit = static_cast<TimeUnit>(unit_->currentData().toInt());
  return options;
}

void DataImportDialog::Reread() {
  try {
    ShowPreview(PreviewFailureFile(ToFsPath(path_), Chosen()));
  } catch (const std::exception& error) {
    // A layout the file does not hold: said in the fault line, the rows go.
    preview_->clear();
    preview_->setRowCount(0);
    preview_->setColumnCount(0);
    fault_->setText(ToQString(error.what()));
    fault_->setStyleSheet(QStringLiteral("color: darkred"));
  }
}

void DataImportDialog::ShowPreview(const FailureData& preview) {
  const auto& rows = preview.rows;
  const int shown = std::min(static_cast<int>(rows.size()), kPreviewRows);
  std::size_t cells = 0;
  for (int i = 0; i < shown; ++i)
    cells = std::max(cells, rows[static_cast<std::size_t>(i)].cells.size());
  preview_->clear();
  preview_->setColumnCount(static_cast<int>(cells) + 1);
  QStringList headers{ToQString("Строка")};
  for (std::size_t column = 0; column < cells; ++column)
    headers << ToQString("Столбец %1").arg(column + 1);
  preview_->setHorizontalHeaderLabels(headers);
  preview_->setRowCount(shown);
  for (int i = 0; i < shown; ++i) {
    const DataRow& row = rows[static_cast<std::size_t>(i)];
    preview_->setItem(i, 0, new QTableWidgetItem(QString::number(row.line)));
    for (std::size_t column = 0; column < row.cells.size(); ++column)
      preview_->setItem(i, static_cast<int>(column) + 1,
                        new QTableWidgetItem(ToQString(row.cells[column])));
    if (row.fault.empty()) continue;
    for (int column = 0; column < preview_->columnCount(); ++column) {
      QTableWidgetItem* item = preview_->item(i, column);
      if (!item) preview_->setItem(i, column, item = new QTableWidgetItem);
      item->setBackground(kFaultyRow);
      item->setToolTip(ToQString(row.fault));
    }
  }
  preview_->resizeColumnsToContents();

  QString note;
  if (!preview.fault.empty()) {
    note = ToQString(preview.fault);
  } else {
    note = ToQString("Читается: %1, отказов: %2, наблюдение %3 сут.")
               .arg(ToQString(LayoutName(preview.layout)))
               .arg(static_cast<qlonglong>(preview.FailureCount()))
               .arg(ShortNumber(preview.LastTime(), separator_));
  }
  if (static_cast<int>(rows.size()) > shown)
    note += ToQString(" Показаны первые %1 строк из %2.").arg(shown).arg(rows.size());
  fault_->setText(note);
  fault_->setStyleSheet(preview.fault.empty() ? QString() : QStringLiteral("color: darkred"));
}

void DataImportDialog::accept() {
  const auto share = ParseReal(share_->text().toStdString(), separator_);
  if (!share || !(*share > 0 && *share < 1)) {
    messages_.Info(this, ToQString("Доля данных для подгонки должна быть числом больше 0 и "
                                   "меньше 1, например %1.")
                             .arg(ToQString(FloatToStr(0.7, separator_))));
    return;
  }
  try {
    data_ = ReadFailureFile(ToFsPath(path_), Chosen());
  } catch (const std::exception& error) {
    messages_.Info(this, ToQString(error.what()));
    return;
  }
  options_ = {};
  options_.holdout_share = static_cast<double>(*share);
  options_.prediction = RequestScaledTo(*data_);
  QDialog::accept();
}

}  // namespace teravo
