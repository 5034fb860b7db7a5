#pragma once

#include <cmath>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/number_text.h"
#include "reliability/trend.h"

namespace teravo {

// A JSON document written as text, commas placed by its structure. Not built with nlohmann:
// its Grisu2 misses the shortest round-trip text now and then, and the numbers here are
// those texts.
class JsonText {
 public:
  JsonText& Open(char bracket) {
    Value();
    out_ += bracket;
    first_.push_back(true);
    return *this;
  }
  JsonText& Close(char bracket) {
    out_ += bracket;
    first_.pop_back();
    return *this;
  }
  JsonText& Key(std::string_view key) {
    Separate();
    AppendString(key);
    out_ += ':';
    afterKey_ = true;
    return *this;
  }
  JsonText& Text(std::string_view text) {
    Value();
    AppendString(text);
    return *this;
  }
  // Infinities and NaN, which JSON cannot hold, are null.
  JsonText& Number(double value) {
    Value();
    if (!std::isfinite(value)) {
      out_ += "null";
      return *this;
    }
    out_ += ShortestText(value);
    return *this;
  }
  JsonText& Integer(std::int64_t value) {
    Value();
    out_ += IntToStr(value);
    return *this;
  }
  JsonText& Null() {
    Value();
    out_ += "null";
    return *this;
  }
  JsonText& Optional(const std::optional<double>& value) { return value ? Number(*value) : Null(); }
  JsonText& Bool(bool value) {
    Value();
    out_ += value ? "true" : "false";
    return *this;
  }
  JsonText& Numbers(const std::vector<double>& values) {
    Open('[');
    for (double value : values) Number(value);
    return Close(']');
  }
  JsonText& Points(const std::vector<SeriesPoint>& points) {
    Open('[');
    for (const SeriesPoint& point : points) Open('[').Number(point.x).Number(point.y).Close(']');
    return Close(']');
  }

  std::string Take() { return std::move(out_); }

 private:
  void Separate() {
    if (first_.empty()) return;
    if (!first_.back()) out_ += ',';
    first_.back() = false;
  }
  // A value after its key needs no comma; one in an array does.
  void Value() {
    if (afterKey_) {
      afterKey_ = false;
      return;
    }
    Separate();
  }
  // A byte that is not UTF-8 becomes U+FFFD, so the document stays valid JSON.
  void AppendString(std::string_view text);

  std::string out_;
  std::vector<bool> first_;
  bool afterKey_ = false;
};

}  // namespace teravo
