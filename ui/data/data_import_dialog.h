#pragma once

#include <optional>

#include <QDialog>
#include <QString>

#include "reliability/failure_analysis.h"
#include "ui/common/message_sink.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace teravo {

// How a file of failure data is read: its layout, its time unit and the share of its time
// span the holdout fits see, with a preview of its rows where each faulty row is marked. OK
// reads the file strictly: a refusal is shown as the reader words it and the dialog stays.
class DataImportDialog : public QDialog {
  Q_OBJECT
 public:
  // The preview shows this many rows at most; the fault line still names the first fault.
  static constexpr int kPreviewRows = 1000;

  // `preview` is the file read leniently with the dialog's first choices (layout from the
  // header, unit days).
  DataImportDialog(QString path, FailureData preview, char separator, MessageSink& messages,
                   QWidget* parent = nullptr);

  // After OK: the data read and the options chosen.
  const FailureData& Data() const { return *data_; }
  AnalysisOptions Options() const { return options_; }

  QComboBox* LayoutBox() const { return layout_; }
  QComboBox* UnitBox() const { return unit_; }
  QLineEdit* ShareEdit() const { return share_; }
  QTableWidget* Preview() const { return preview_; }
  QLabel* FaultLine() const { return fault_; }
  QPushButton* OkButton() const { return ok_; }

  void accept() override;

 private:
  ImportOptions Chosen() const;
  void Reread();
  void ShowPreview(const FailureData& preview);

  QString path_;
  char separator_;
  MessageSink& messages_;
  std::optional<FailureData> data_;
  AnalysisOptions options_;
  QComboBox* layout_ = nullptr;
  QComboBox* unit_ = nullptr;
  QLineEdit* share_ = nullptr;
  QLabel* fault_ = nullptr;
  QTableWidget* preview_ = nullptr;
  QPushButton* ok_ = nullptr;
};

}  // namespace teravo
