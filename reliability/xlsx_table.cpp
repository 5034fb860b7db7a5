// The first sheet of an XLSX workbook as a table of cell texts. libzip opens the archive and
// expat parses its XML: this layer is standard C++, so Qt's XML reader is not available here.

#include <expat.h>
#include <zip.h>

#include <exception>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/number_text.h"
#include "reliability/text_table.h"

namespace teravo {
namespace {

// A sheet of a 50 MB workbook may unpack much larger, but not without end.
constexpr zip_uint64_t kMaxUnpackedBytes = 512ULL * 1024 * 1024;

[[noreturn]] void RefuseWorkbook() {
  RefuseNotATable("это не книга XLSX или она повреждена");
}

class Archive {
 public:
  explicit Archive(std::string_view bytes) {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* source = zip_source_buffer_create(bytes.data(), bytes.size(), 0, &error);
    if (source != nullptr) {
      zip_ = zip_open_from_source(source, ZIP_RDONLY, &error);
      if (zip_ == nullptr) zip_source_free(source);
    }
    zip_error_fini(&error);
    if (zip_ == nullptr) RefuseWorkbook();
  }
  ~Archive() { zip_discard(zip_); }
  Archive(const Archive&) = delete;
  Archive& operator=(const Archive&) = delete;

  // The unpacked entry; empty when the archive has none of that name.
  std::optional<std::string> Read(const std::string& name) const {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat(zip_, name.c_str(), 0, &stat) != 0) return std::nullopt;
    if ((stat.valid & ZIP_STAT_SIZE) == 0 || stat.size > kMaxUnpackedBytes) RefuseWorkbook();
    std::unique_ptr<zip_file_t, int (*)(zip_file_t*)> file(zip_fopen(zip_, name.c_str(), 0),
                                                           zip_fclose);
    if (!file) RefuseWorkbook();
    std::string text(stat.size, '\0');
    if (zip_fread(file.get(), text.data(), stat.size) != static_cast<zip_int64_t>(stat.size)) {
      RefuseWorkbook();
    }
    return text;
  }

 private:
  zip_t* zip_ = nullptr;
};

std::string_view LocalName(std::string_view name) {
  const std::size_t colon = name.rfind(':');
  return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

// Element events with local names (prefixes dropped), and the text between tags.
struct XmlHandler {
  std::function<void(std::string_view name, const char** attributes)> start;
  std::function<void(std::string_view name)> end;
  std::function<void(std::string_view text)> text;
};

// Exceptions must not unwind through expat's C frames: a handler's exception stops the
// parser and is thrown again once XML_Parse has returned.
struct XmlContext {
  XmlHandler& handler;
  XML_Parser parser;
  std::exception_ptr error;

  template <typename Call>
  static void Guard(void* user, Call call) {
    auto& context = *static_cast<XmlContext*>(user);
    try {
      call(context.handler);
    } catch (...) {
      context.error = std::current_exception();
      XML_StopParser(context.parser, XML_FALSE);
    }
  }
};

void ParseXml(const std::string& xml, XmlHandler& handler) {
  if (xml.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) RefuseWorkbook();
  std::unique_ptr<XML_ParserStruct, void (*)(XML_Parser)> parser(XML_ParserCreate("UTF-8"),
                                                                 XML_ParserFree);
  XmlContext context{handler, parser.get(), nullptr};
  XML_SetUserData(parser.get(), &context);
  XML_SetElementHandler(
      parser.get(),
      [](void* user, const XML_Char* name, const XML_Char** attributes) {
        XmlContext::Guard(user, [&](XmlHandler& h) {
          if (h.start) h.start(LocalName(name), attributes);
        });
      },
      [](void* user, const XML_Char* name) {
        XmlContext::Guard(user, [&](XmlHandler& h) {
          if (h.end) h.end(LocalName(name));
        });
      });
  XML_SetCharacterDataHandler(parser.get(), [](void* user, const XML_Char* text, int length) {
    XmlContext::Guard(user, [&](XmlHandler& h) {
      if (h.text) h.text(std::string_view(text, static_cast<std::size_t>(length)));
    });
  });
  const auto status = XML_Parse(parser.get(), xml.data(), static_cast<int>(xml.size()), XML_TRUE);
  if (context.error) std::rethrow_exception(context.error);
  if (status != XML_STATUS_OK) RefuseWorkbook();
}

std::string_view Attribute(const char** attributes, std::string_view local_name) {
  for (int i = 0; attributes[i] != nullptr; i += 2) {
    if (LocalName(attributes[i]) == local_name) return attributes[i + 1];
  }
  return {};
}

// The first sheet's part: workbook.xml names its relationship, the relationships its file.
std::string FirstSheetPath(const Archive& archive) {
  const std::string fallback = "xl/worksheets/sheet1.xml";
  const auto workbook = archive.Read("xl/workbook.xml");
  const auto relations = archive.Read("xl/_rels/workbook.xml.rels");
  if (!workbook || !relations) return fallback;
  std::string id;
  XmlHandler sheets;
  sheets.start = [&](std::string_view name, const char** attributes) {
    if (name == "sheet" && id.empty()) id = Attribute(attributes, "id");
  };
  ParseXml(*workbook, sheets);
  std::string target;
  XmlHandler links;
  links.start = [&](std::string_view name, const char** attributes) {
    if (name == "Relationship" && Attribute(attributes, "Id") == id) {
      target = Attribute(attributes, "Target");
    }
  };
  ParseXml(*relations, links);
  if (id.empty() || target.empty()) return fallback;
  return target.starts_with('/') ? target.substr(1) : "xl/" + target;
}

// Shared strings: the text runs of each <si>, phonetic hints (<rPh>) left out.
std::vector<std::string> SharedStrings(const Archive& archive) {
  std::vector<std::string> strings;
  const auto xml = archive.Read("xl/sharedStrings.xml");
  if (!xml) return strings;
  bool in_text = false;
  bool in_phonetic = false;
  XmlHandler handler;
  handler.start = [&](std::string_view name, const char**) {
    if (name == "si") strings.emplace_back();
    if (name == "rPh") in_phonetic = true;
    if (name == "t") in_text = !in_phonetic && !strings.empty();
  };
  handler.end = [&](std::string_view name) {
    if (name == "rPh") in_phonetic = false;
    if (name == "t") in_text = false;
  };
  handler.text = [&](std::string_view text) {
    if (in_text) strings.back() += text;
  };
  ParseXml(*xml, handler);
  return strings;
}

// "BC12" -> 54 (0-based column); -1 without letters.
int ColumnIndex(std::string_view reference) {
  int column = 0;
  std::size_t i = 0;
  for (; i < reference.size() && reference[i] >= 'A' && reference[i] <= 'Z' && column < 20000;
       ++i) {
    column = column * 26 + (reference[i] - 'A' + 1);
  }
  return i == 0 ? -1 : column - 1;
}

class SheetReader {
 public:
  explicit SheetReader(const std::vector<std::string>& shared) : shared_(shared) {}

  TextTable Read(const std::string& xml) {
    XmlHandler handler;
    handler.start = [this](std::string_view name, const char** attributes) {
      Start(name, attributes);
    };
    handler.end = [this](std::string_view name) { End(name); };
    handler.text = [this](std::string_view text) {
      if (capture_) value_ += text;
    };
    ParseXml(xml, handler);
    table_.decimal_comma = true;  // numeric cells are written with '.', text cells may differ
    return std::move(table_);
  }

 private:
  // Wide enough for any sheet that fits the size limits, and no wider.
  static constexpr int kMaxColumns = 16384;

  void Start(std::string_view name, const char** attributes) {
    if (name == "row") {
      const auto r = ParseInt(Attribute(attributes, "r"));
      row_ = {r && *r > 0 ? *r : row_.line + 1, {}, {}};
      column_ = -1;
    } else if (name == "c") {
      const int index = ColumnIndex(Attribute(attributes, "r"));
      column_ = index >= 0 ? index : column_ + 1;
      type_ = Attribute(attributes, "t");
      value_.clear();
    } else if (name == "v" || name == "t") {
      capture_ = true;
    }
  }

  void End(std::string_view name) {
    if (name == "v" || name == "t") {
      capture_ = false;
    } else if (name == "c") {
      StoreCell();
    } else if (name == "row") {
      bool blank = true;
      for (const auto& cell : row_.cells) blank = blank && cell.empty();
      if (blank) return;
      if (static_cast<int>(table_.rows.size()) > kMaxRows) RefuseTooManyRows();
      table_.rows.push_back(std::move(row_));
      row_.cells.clear();
    }
  }

  void StoreCell() {
    if (column_ < 0 || column_ >= kMaxColumns) RefuseWorkbook();
    std::string text = value_;
    if (type_ == "s") {
      const auto index = ParseInt(value_);
      if (!index || *index < 0 || static_cast<std::size_t>(*index) >= shared_.size()) {
        RefuseWorkbook();
      }
      text = shared_[static_cast<std::size_t>(*index)];
    }
    const auto at = static_cast<std::size_t>(column_);
    if (row_.cells.size() <= at) row_.cells.resize(at + 1);
    const auto first = text.find_first_not_of(" \t");
    const auto last = text.find_last_not_of(" \t");
    row_.cells[at] =
        first == std::string::npos ? std::string() : text.substr(first, last - first + 1);
  }

  const std::vector<std::string>& shared_;
  TextTable table_;
  DataRow row_;
  int column_ = -1;
  std::string type_;
  std::string value_;
  bool capture_ = false;
};

}  // namespace

TextTable ReadXlsxSheet(std::string_view bytes) {
  if (static_cast<std::int64_t>(bytes.size()) > kMaxFileBytes) RefuseTooLarge();
  const Archive archive(bytes);
  const auto sheet = archive.Read(FirstSheetPath(archive));
  if (!sheet) RefuseWorkbook();
  return SheetReader(SharedStrings(archive)).Read(*sheet);
}

}  // namespace teravo
