// GBK (code page 936) text: decoding to UTF-8 and the first-character step of catalogue books.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace books {

class GbkTable;

class GbkDecoder {
 public:
  GbkDecoder();
  ~GbkDecoder();
  GbkDecoder(const GbkDecoder&) = delete;
  GbkDecoder& operator=(const GbkDecoder&) = delete;

  // Decodes GBK bytes to UTF-8; each byte sequence that is not GBK becomes U+FFFD.
  std::string Decode(std::string_view gbk);
  // How many sequences were replaced by U+FFFD since construction.
  int InvalidSequences() const { return invalid_; }

 private:
  const GbkTable* table_;
  int invalid_ = 0;
};

// UTF-8 text in GBK; nothing when some character has no GBK code or the text is not UTF-8.
std::optional<std::string> EncodeGbk(std::string_view utf8);

// The same, for the code that encodes many texts.
class GbkEncoder {
 public:
  std::optional<std::string> Encode(std::string_view utf8);
};

// Raises the code of the first character (single byte or double-byte GBK code) by one.
void RaiseFirstCharacter(std::string& gbk);
// The inverse: lowers the first character's code by one (used when writing books).
void LowerFirstCharacter(std::string& gbk);

}  // namespace books
