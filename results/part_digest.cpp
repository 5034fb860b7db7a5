#include "results/part_digest.h"

namespace teravo {

namespace {

constexpr std::string_view kMember = ",\n\"digest\":\"";
constexpr std::string_view kScheme = "fnv1a64:";

}  // namespace

void PartDigest::Add(std::string_view bytes) {
  for (const char c : bytes) {
    state_ ^= static_cast<unsigned char>(c);
    state_ *= 1099511628211ULL;
  }
}

std::string PartDigest::Ending() const {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string ending(kMember);
  ending += kScheme;
  for (int shift = 60; shift >= 0; shift -= 4) ending += kHex[(state_ >> shift) & 0xF];
  ending += "\"}\n";
  return ending;
}

std::optional<std::string> DigestProblem(std::string_view document) {
  const std::size_t at = document.rfind(kMember);
  if (at == std::string_view::npos) {
    return std::string("it carries no digest: it was not written whole by teravo-sim");
  }
  PartDigest digest;
  digest.Add(document.substr(0, at));
  if (document.substr(at) != digest.Ending()) {
    return std::string(
        "its content disagrees with its digest: it was changed after teravo-sim wrote it");
  }
  return std::nullopt;
}

std::string Resealed(std::string_view document) {
  std::size_t end = document.rfind(kMember);
  if (end == std::string_view::npos) {
    // A document without one: everything before its closing brace.
    end = document.find_last_not_of(" \n\r\t");
    if (end == std::string_view::npos || document[end] != '}') return std::string(document);
  }
  PartDigest digest;
  digest.Add(document.substr(0, end));
  return std::string(document.substr(0, end)) + digest.Ending();
}

}  // namespace teravo
