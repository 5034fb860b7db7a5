#pragma once

#include <string>

#include <QDialog>
#include <QString>

#include "results/play_record.h"

class QAction;
class QLabel;
class QTableWidget;

namespace teravo {

// Series of at least this many plays show the 5–95 % band of their mean curves at first.
inline constexpr int kBandsByDefaultFrom = 10;

bool BandsByDefault(const PlayRecord& record);

// The spread of an averaged field for its tool tip: the standard deviation and the half-width
// of the 95 % interval, or why there is none. Empty for a field that is not averaged.
QString SpreadToolTip(const PlayRecord& record, Field field);

// "Разброс по розыгрышам": the averaged figures of a series with their mean, standard
// deviation and the half-width of the 95 % interval of the mean, one row a figure.
class SpreadTable : public QDialog {
  Q_OBJECT
 public:
  SpreadTable(const PlayRecord& record, const QString& windowTitle, QWidget* parent = nullptr);

  QTableWidget* Table() const { return table_; }
  // "Сохранить как…" (Ctrl+Shift+S): the table as CSV (full values), PNG or PDF.
  QAction* SaveAsAction() const { return aSaveAs_; }
  // The table's cells as CSV, numbers in full, under its heading.
  std::string Csv() const;
  // Says why the spread columns are empty; hidden when they are filled.
  QLabel* Note() const { return note_; }

 private:
  QTableWidget* table_ = nullptr;
  QLabel* note_ = nullptr;
  QAction* aSaveAs_ = nullptr;
  QString heading_;
  char separator_;
};

}  // namespace teravo
