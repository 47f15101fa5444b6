// GBK decoding, encoding and the first-character step of catalogue books.
#include "books/gbk.h"
#include "text/text.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const std::string kFffd = "\xEF\xBF\xBD";

TEST(Gbk, DecodesGbkAndReplacesEachBadSequenceOnce) {
  struct Row {
    const char* what;
    std::string gbk;
    std::string utf8;
    int invalid;
  } rows[] = {
      {"ascii", "apple 1", "apple 1", 0},
      {"two characters", "\xC6\xBB\xB9\xFB", "苹果", 0},
      {"mixed",
       "a\xD6\xD0"
       "b",
       "a中b", 0},
      {"euro sign, a single byte", "\x80", "€", 0},
      {"extension area", "\x81\x40", "丂", 0},
      {"0xFF",
       "a\xFF"
       "b",
       "a" + kFffd + "b", 1},
      {"lead byte at the end", "ab\xC6", "ab" + kFffd, 1},
      {"lead byte before ascii keeps the ascii",
       "\xC6"
       "0",
       kFffd + "0", 1},
      {"unassigned pair is one sequence", "\xAA\xA1x", kFffd + "x", 1},
      {"several", "\xFF\xD6\xD0\xFF", kFffd + "中" + kFffd, 2},
  };
  for (const Row& r : rows) {
    books::GbkDecoder decoder;
    EXPECT_EQ(decoder.Decode(r.gbk), r.utf8) << r.what;
    EXPECT_EQ(decoder.InvalidSequences(), r.invalid) << r.what;
  }
}

TEST(Gbk, EncodesWhatGbkHoldsAndRefusesTheRest) {
  std::string out;
  EXPECT_TRUE(books::EncodeGbk("苹果 apple…·—", out));
  books::GbkDecoder decoder;
  EXPECT_EQ(decoder.Decode(out), "苹果 apple…·—");
  EXPECT_FALSE(books::EncodeGbk("smile 😀", out)) << "no GBK code";
  EXPECT_FALSE(books::EncodeGbk("한국어", out)) << "Hangul";
  EXPECT_FALSE(books::EncodeGbk("bad \xC3(", out)) << "not UTF-8";
}

// Every GBK character, lowered as a book stores it and raised as the loader restores it,
// comes back unchanged, including those whose second byte is the first of its range.
TEST(Gbk, FirstCharacterStepsAreInverseForEveryGbkCharacter) {
  books::GbkDecoder decoder;
  int characters = 0;
  for (int lead = 0x81; lead <= 0xFE; ++lead)
    for (int trail = 0x40; trail <= 0xFE; ++trail) {
      std::string original = {static_cast<char>(lead), static_cast<char>(trail), 'x'};
      if (decoder.Decode(original).find(kFffd) != std::string::npos) continue;
      ++characters;
      std::string stored = original;
      books::LowerFirstCharacter(stored);
      ASSERT_NE(stored, original);
      books::RaiseFirstCharacter(stored);
      ASSERT_EQ(stored, original) << std::hex << lead << " " << trail;
    }
  EXPECT_GT(characters, 21000) << "the table lost characters";
  for (int c = 0x21; c < 0x7F; ++c) {
    std::string s = {static_cast<char>(c), 'b'};
    books::LowerFirstCharacter(s);
    books::RaiseFirstCharacter(s);
    EXPECT_EQ(s, std::string({static_cast<char>(c), 'b'}));
  }
}

TEST(Gbk, RaisingChangesOnlyTheFirstCharacter) {
  struct Row {
    std::string stored, restored;
  } rows[] = {
      {"`pple", "apple"},
      {"`", "a"},
      {"", ""},
      {"\xC6\xBA\xB9\xFB", "\xC6\xBB\xB9\xFB"},  // 苹 stored one below, then 果
      {"\x81\x3F"
       "a",
       "\x81\x40"
       "a"},             // 丂: its second byte left the trail range
      {"\xC6", "\xC7"},  // a lone lead byte is a single byte
  };
  for (const Row& r : rows) {
    std::string s = r.stored;
    books::RaiseFirstCharacter(s);
    EXPECT_EQ(s, r.restored);
  }
}

TEST(Gbk, RecognisesWellFormedUtf8Only) {
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
TEST(Gbk, DecodesUtf16AndRepairsUtf8OneReplacementPerBadUnit) {
  const std::string& bad = kFffd;
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
    EXPECT_EQ(got.Text, r.text) << r.text;
    EXPECT_EQ(got.Valid, r.valid) << r.text;
    EXPECT_EQ(got.Invalid, r.invalid) << r.text;
    EXPECT_TRUE(text::IsValidUtf8(got.Text)) << r.text;
  }
  for (const auto& [cp, utf8] :
       {std::pair{U'a', std::string("a")}, std::pair{U'\x1F600', std::string("\xF0\x9F\x98\x80")},
        std::pair{U'\0', bad}, std::pair{char32_t{0xD800}, bad}, std::pair{char32_t{0xDFFF}, bad},
        std::pair{char32_t{0x110000}, bad}}) {
    char buffer[4];
    EXPECT_EQ(std::string(buffer, text::PutUtf8(buffer, cp)), utf8) << static_cast<int>(cp);
  }
}

}  // namespace
