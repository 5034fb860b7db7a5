#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace teravo {

// A part of a run carries a digest of its own bytes, so that merging refuses a part edited
// after the runner wrote it (a number changed by hand would otherwise be averaged in). The
// digest is FNV-1a 64: it guards against edits and damage, not against forgery — whoever can
// edit a part can recompute any digest that has no key, SHA-256 too — and no library below
// the desktop offers a cryptographic hash. It is taken over the bytes exactly as written, from
// the document's opening brace up to the digest member, because re-serialising the JSON would
// not give the runner's number texts back.
//
// The document ends `,\n"digest":"fnv1a64:<16 hex digits>"}\n`.

class PartDigest {
 public:
  void Add(std::string_view bytes);
  // `,\n"digest":"fnv1a64:…"}\n`: what closes the document after the bytes added.
  std::string Ending() const;

 private:
  std::uint64_t state_ = 14695981039346656037ULL;
};

// Why `document` does not carry its own digest; nullopt when it does.
std::optional<std::string> DigestProblem(std::string_view document);

// `document` without its digest member, sealed again with the digest of what it now holds:
// for tests and fuzzing, which change parts on purpose.
std::string Resealed(std::string_view document);

}  // namespace teravo
