#include "core/utf8_text.h"

namespace teravo {

bool IsUtf8(std::string_view text) {
  const auto* byte = reinterpret_cast<const unsigned char*>(text.data());
  const auto* const end = byte + text.size();
  while (byte < end) {
    const unsigned char lead = *byte++;
    if (lead < 0x80) continue;
    int more = 0;
    // The lowest second byte each lead allows, which rules out overlong forms, surrogates and
    // code points past U+10FFFF.
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
      more = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      more = 2;
      if (lead == 0xE0) low = 0xA0;
      if (lead == 0xED) high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      more = 3;
      if (lead == 0xF0) low = 0x90;
      if (lead == 0xF4) high = 0x8F;
    } else {
      return false;
    }
    if (end - byte < more || *byte < low || *byte > high) return false;
    for (++byte, --more; more > 0; --more, ++byte) {
      if (*byte < 0x80 || *byte > 0xBF) return false;
    }
  }
  return true;
}

}  // namespace teravo
