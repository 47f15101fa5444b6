// GBK decoding against the system's code page 936 converter, and the first-character step of
// catalogue books: decoding always gives UTF-8, agrees with iconv wherever iconv takes the
// bytes as GBK and replaces something exactly where it does not; a first character the
// writer lowers comes back when the loader raises it.
#include <errno.h>
#include <iconv.h>

#include <cstdint>

#include "books/gbk.h"
#include "fuzz_book.h"
#include "text/text.h"

namespace {

// The bytes decoded by iconv; false when iconv does not take all of them.
bool IconvDecode(iconv_t cd, std::string_view gbk, std::string& utf8) {
  iconv(cd, nullptr, nullptr, nullptr, nullptr);
  utf8.assign(4 * gbk.size() + 4, '\0');
  char* in = const_cast<char*>(gbk.data());
  std::size_t in_left = gbk.size(), out_left = utf8.size();
  char* out = utf8.data();
  if (iconv(cd, &in, &in_left, &out, &out_left) == static_cast<std::size_t>(-1) || in_left)
    return false;
  utf8.resize(utf8.size() - out_left);
  return true;
}

iconv_t Open(const char* charset) {
  iconv_t cd = iconv_open("UTF-8", charset);
  FUZZ_CHECK(cd != reinterpret_cast<iconv_t>(-1));
  return cd;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
  static const iconv_t kCp936 = Open("CP936"), kGbk = Open("GBK");
  const std::string data(reinterpret_cast<const char*>(bytes), size);

  books::GbkDecoder decoder;
  const std::string decoded = decoder.Decode(data);
  FUZZ_CHECK(text::IsValidUtf8(decoded));
  std::string expected;
  const bool taken = IconvDecode(kCp936, data, expected);
  FUZZ_CHECK(taken == (decoder.InvalidSequences() == 0));
  if (taken) FUZZ_CHECK(decoded == expected);
  if (IconvDecode(kGbk, data, expected)) FUZZ_CHECK(decoded == expected);

  // The loader raises the first character of whatever line it is given: only the first
  // character's bytes change, and the line still decodes.
  std::string raised = data;
  books::RaiseFirstCharacter(raised);
  FUZZ_CHECK(raised.size() == data.size());
  FUZZ_CHECK(size < 2 || raised.compare(2, std::string::npos, data, 2) == 0);
  FUZZ_CHECK(text::IsValidUtf8(decoder.Decode(raised)));

  // Text the writer lowers, when it is GBK and the lowering changes it, is raised back.
  if (taken && !data.empty()) {
    std::string lowered = data;
    books::LowerFirstCharacter(lowered);
    if (lowered != data) {
      std::string back = lowered;
      books::RaiseFirstCharacter(back);
      FUZZ_CHECK(back == data);
    }
  }
  return 0;
}
