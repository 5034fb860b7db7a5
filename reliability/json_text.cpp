#include "reliability/json_text.h"

#include <nlohmann/json.hpp>

namespace teravo {

// A byte that is not UTF-8 becomes U+FFFD, so the document stays valid JSON.
void JsonText::AppendString(std::string_view text) {
  out_ += nlohmann::json(std::string(text))
              .dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace teravo
