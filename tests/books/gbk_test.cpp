// GBK decoding, encoding and the first-character step of catalogue books.
#include "books/gbk.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "books/gbk_table.h"

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
  const std::optional<std::string> gbk = books::EncodeGbk("苹果 apple…·—");
  ASSERT_TRUE(gbk.has_value());
  books::GbkDecoder decoder;
  EXPECT_EQ(decoder.Decode(*gbk), "苹果 apple…·—");
  EXPECT_EQ(books::EncodeGbk("apple"), "apple") << "ASCII as it stands";
  EXPECT_FALSE(books::EncodeGbk("smile 😀")) << "no GBK code";
  EXPECT_FALSE(books::EncodeGbk("한국어")) << "Hangul";
  EXPECT_FALSE(books::EncodeGbk("bad \xC3(")) << "not UTF-8";
  books::GbkEncoder encoder;
  EXPECT_EQ(encoder.Encode("苹果"), gbk->substr(0, 4)) << "one converter for many texts";
  EXPECT_FALSE(encoder.Encode("😀"));
  EXPECT_TRUE(encoder.Encode("梨")) << "a refused text leaves the converter fit for the next";
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

// Every single byte from 0x80 and every lead and trail pair decodes, alone, to what the
// converter the tables were made from gave when they were made (its digest is in the tables),
// so a book decodes to the same text on every system the program is built for.
TEST(Gbk, EveryCodeDecodesAsTheSystemConverterDecodedIt) {
  books::GbkDecoder decoder;
  std::uint64_t digest = 1469598103934665603ULL;
  auto add = [&digest, &decoder](std::string gbk) {
    for (const unsigned char c : decoder.Decode(gbk)) digest = (digest ^ c) * 1099511628211ULL;
  };
  for (int b = 0x80; b <= 0xFF; ++b)
    if (b < 0x81 || b > 0xFE) add(std::string(1, static_cast<char>(b)));
  for (int lead = 0x81; lead <= 0xFE; ++lead)
    for (int trail = 0x40; trail <= 0xFE; ++trail)
      if (trail != 0x7F) add({static_cast<char>(lead), static_cast<char>(trail)});
  EXPECT_EQ(digest, books::gbk_table::kDigest);
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

}  // namespace
