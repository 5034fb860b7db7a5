#pragma once

#include <string_view>

namespace teravo {

// Whether `text` is well-formed UTF-8: no stray continuation bytes, no overlong forms, no
// surrogates, nothing past U+10FFFF. Texts the program stores or shows must be.
bool IsUtf8(std::string_view text);

}  // namespace teravo
