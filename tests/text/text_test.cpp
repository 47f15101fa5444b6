#include "text/text.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>

namespace {

TEST(TextTest, CountsAndCutsByCharactersNotBytes) {
  struct Row {
    std::string text;
    std::size_t count;
  } rows[] = {{"", 0}, {"abc", 3}, {"苹果", 2}, {"a苹b", 3}, {"\xFF\xFE", 2}, {"\xE8\x8B", 1}};
  for (const auto& row : rows) EXPECT_EQ(text::CharCount(row.text), row.count) << row.text;
  EXPECT_EQ(text::CharOffset("一心一意", 2), 6u);
  EXPECT_EQ(text::CharOffset("ab", 5), 2u);
}

TEST(TextTest, RecognisesWellFormedUtf8Only) {
  struct Row {
    std::string text;
    bool valid;
  } rows[] = {
      {"", true},
      {"plain", true},
      {"苹果", true},
      {"\xEF\xBB\xBF"
       "bom",
       true},
      {"\xF0\x9F\x98\x80", true},
      {"\xC6\xBB\xB9\xFB", false},  // GBK
      {"\xC0\x80", false},          // overlong
      {"\xE0\x80\x80", false},      // overlong
      {"\xED\xA0\x80", false},      // surrogate
      {"\xE8\x8B", false},          // cut short
      {"\xF5\x80\x80\x80", false},  // beyond U+10FFFF
  };
  for (const Row& r : rows) EXPECT_EQ(text::IsValidUtf8(r.text), r.valid) << r.text;
}

// UTF-16 to UTF-8 and the repair of stray bytes: what is well formed passes unchanged, each
// unit or byte that is not becomes one U+FFFD and is counted.
TEST(TextTest, DecodesUtf16AndRepairsUtf8OneReplacementPerBadUnit) {
  const std::string bad = "\xEF\xBF\xBD";  // U+FFFD
  struct Utf16Row {
    std::string le;  // little endian; the big-endian form is these units byte-swapped
    std::string utf8;
    int invalid;
  } utf16[] = {
      {"", "", 0},
      {std::string("a\0\xF9\x82", 4), "a苹", 0},
      {std::string("\x3D\xD8\x00\xDE", 4), "\xF0\x9F\x98\x80", 0},  // surrogate pair
      {std::string("\x3D\xD8x\0", 4), bad + "x", 1},                // high, no low
      {std::string("\x00\xDEx\0", 4), bad + "x", 1},                // low alone
      {"\x3D\xD8", bad, 1},                                         // high at the end
      {std::string("x\0\0\0", 4), "x" + bad, 1},                    // NUL
      {std::string("x\0y", 3), "x" + bad, 1},                       // odd byte count
      {std::string("\x3D\xD8\x3D\xD8\x00\xDE", 6), bad + "\xF0\x9F\x98\x80",
       1},  // high, then a pair
  };
  for (const Utf16Row& r : utf16) {
    std::string be = r.le;
    for (std::size_t i = 0; i + 1 < be.size(); i += 2) std::swap(be[i], be[i + 1]);
    for (const auto& [bytes, big] : {std::pair{r.le, false}, std::pair{be, true}}) {
      int invalid = 0;
      EXPECT_EQ(text::Utf16ToUtf8(bytes, big, invalid), r.utf8) << r.utf8 << (big ? " BE" : " LE");
      EXPECT_EQ(invalid, r.invalid) << r.utf8 << (big ? " BE" : " LE");
    }
  }
  struct RepairRow {
    std::string bytes, text;
    int valid, invalid;
  } repairs[] = {
      {"ab", "ab", 0, 0},
      {"苹果", "苹果", 2, 0},
      {"a\xFF"
       "b",
       "a" + bad + "b", 0, 1},
      {"\xE8\x8B", bad + bad, 0, 2},            // cut short: each byte once
      {"\xED\xA0\x80", bad + bad + bad, 0, 3},  // an encoded surrogate
      {"\xE8\x8B\xB9\xC0\x80", "苹" + bad + bad, 1, 2},
  };
  for (const RepairRow& r : repairs) {
    const text::Repaired got = text::RepairUtf8(r.bytes);
    EXPECT_EQ(got.text, r.text) << r.text;
    EXPECT_EQ(got.valid, r.valid) << r.text;
    EXPECT_EQ(got.invalid, r.invalid) << r.text;
    EXPECT_TRUE(text::IsValidUtf8(got.text)) << r.text;
  }
  for (const auto& [cp, utf8] :
       {std::pair{U'a', std::string("a")}, std::pair{U'\x1F600', std::string("\xF0\x9F\x98\x80")},
        std::pair{U'\0', bad}, std::pair{char32_t{0xD800}, bad}, std::pair{char32_t{0xDFFF}, bad},
        std::pair{char32_t{0x110000}, bad}}) {
    char buffer[4];
    EXPECT_EQ(std::string(buffer, text::PutUtf8(buffer, cp)), utf8) << static_cast<int>(cp);
  }
}

TEST(TextTest, TellsLatinLettersAndChineseCharactersApart) {
  const struct {
    const char* text;
    bool latin, han;
  } rows[] = {
      {"knowledge", true, false}, {"一心一意", false, true},
      {"café", true, false},      {"DNA 脱氧核糖核酸", true, true},
      {"123 ,.!", false, false},  {"（）《》", false, false},
      {"\xE4\xB8", false, false},  // a cut-off character
      {"𠀀", false, true},
  };
  for (const auto& row : rows) {
    EXPECT_EQ(text::HasLatinLetter(row.text), row.latin) << row.text;
    EXPECT_EQ(text::HasHan(row.text), row.han) << row.text;
  }
}

}  // namespace
