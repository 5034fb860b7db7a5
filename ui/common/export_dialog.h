#pragma once

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <QDialog>
#include <QString>

class QCheckBox;
class QComboBox;
class QCustomPlot;
class QLineEdit;
class QPushButton;

namespace teravo {

enum class ExportFormat { Csv, Png, Pdf };

// What a window can be saved as: its data as CSV, the whole window or one of its charts as a
// picture or a document.
struct ExportSource {
  struct Chart {
    QString title;
    QCustomPlot* plot;
  };
  QString title;   // the window's title, the suggested file name
  QWidget* whole;  // the window's content, drawn whole even where it is scrolled out
  std::vector<Chart> charts;
  std::function<std::string()> csv;
  // A window whose data make several tables gives them here instead of `csv`, by file name:
  // each is written beside the chosen file, named "<chosen stem>_<name>".
  std::function<std::vector<std::pair<std::string, std::string>>()> csvTables;
};

struct ExportChoice {
  ExportFormat format = ExportFormat::Csv;
  int chart = -1;  // an index into the source's charts; -1: the whole window
  QString path;
  // A PDF page of the window's (or chart's) own size instead of A4 landscape with margins.
  bool ownPageSize = false;
};

// While it lives, the widget and its children show no text selection and no scroll bar, as a
// picture or a document of them should; everything comes back as it was afterwards.
class CleanForPicture {
 public:
  explicit CleanForPicture(QWidget& whole);
  ~CleanForPicture();
  CleanForPicture(const CleanForPicture&) = delete;
  CleanForPicture& operator=(const CleanForPicture&) = delete;

 private:
  std::vector<std::function<void()>> restore_;
};

// The files a CSV export of several tables writes for the chosen path.
QString CsvTablePath(const QString& chosen, const std::string& table);

// Writes what was chosen, through a temporary file that replaces the target only once it is
// whole. Empty on success, otherwise what went wrong, in Russian, naming the file.
QString WriteExport(const ExportSource& source, const ExportChoice& choice);

// A file name from a window title: characters that file systems refuse become '_'.
QString ExportFileStem(const QString& title);

// "Сохранить как": the format, what to save (the whole window, or one chart for a picture or
// a document) and the file.
class ExportDialog : public QDialog {
  Q_OBJECT
 public:
  ExportDialog(const ExportSource& source, QWidget* parent = nullptr);

  ExportChoice Choice() const;

  QComboBox* FormatBox() const { return format_; }
  QComboBox* PartBox() const { return part_; }
  QLineEdit* PathEdit() const { return path_; }
  QPushButton* SaveButton() const { return save_; }
  QCheckBox* OwnPageSizeBox() const { return ownPage_; }

  void accept() override;

 private:
  void FormatChanged();
  void Browse();

  QComboBox* format_ = nullptr;
  QComboBox* part_ = nullptr;
  QLineEdit* path_ = nullptr;
  QPushButton* save_ = nullptr;
  QCheckBox* ownPage_ = nullptr;
  // The path as the file dialog confirmed it: replacing that file was already agreed.
  QString confirmed_;
};

class MessageSink;

// Asks with `ask` how to save what `source` offers of `owner` and saves it; a failure is told
// as an error. The source is taken again after the dialog, and nothing is saved when the
// owner went meanwhile.
using ExportAsker = std::function<bool(ExportDialog&)>;
void SaveAsAsked(QWidget& owner, MessageSink& messages, const ExportAsker& ask,
                 const std::function<ExportSource()>& source);

}  // namespace teravo
