#include "core/utf8_text.h"

#include <gtest/gtest.h>

#include <string_view>

namespace teravo {
namespace {

TEST(Utf8Text, TellsWellFormedTextFromEveryMalformedKind) {
  const std::pair<std::string_view, bool> cases[] = {
      {"", true},
      {"0,0001", true},
      {"Розыгрыш", true},
      {"\xE2\x82\xAC", true},       // U+20AC
      {"\xF4\x8F\xBF\xBF", true},   // U+10FFFF
      {"\xff\xfe", false},          // a byte order mark of UTF-16
      {"\x80", false},              // a continuation alone
      {"\xC0\xAF", false},          // overlong
      {"\xE0\x80\xAF", false},      // overlong
      {"\xED\xA0\x80", false},      // a surrogate
      {"\xF4\x90\x80\x80", false},  // past U+10FFFF
      {"\xD0", false},              // cut short
      {"\xE2\x82", false},          // cut short
      {"ok\xD0\x41", false},        // a lead before a plain byte
  };
  for (const auto& [text, valid] : cases) EXPECT_EQ(IsUtf8(text), valid) << text;
}

}  // namespace
}  // namespace teravo
