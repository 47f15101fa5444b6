#include "dictionary/book_sample.h"

#include <cstdint>
#include <vector>

#include "text/text.h"

namespace bench {
namespace {

// A small fixed generator, so every run measures the same book.
class Lcg {
 public:
  std::uint32_t Next(std::uint32_t n) {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::uint32_t>((state_ >> 33) % n);
  }

 private:
  std::uint64_t state_ = 20240601;
};

// Letters roughly by their frequency in English text.
constexpr std::string_view kLetters =
    "eeeeeeeeeeeetttttttttaaaaaaaaooooooooiiiiiiinnnnnnnssssss"
    "hhhhhhrrrrrrddddllllcccuuummwwffggyyppbbvkjxqz";
constexpr std::string_view kHanzi =
    "的一是不了人我在有他这中大来上国个到说们为子和你地出道也时年得就那要下以生会自着去之过家"
    "学对可她里后小么心多天而能好都然没日于起还发成事只作当想看文无开手十用主行方又如前所本见经"
    "头面公同三已老从动两长知民样现分将外但身些与高意进把法此实回二理美点月明其种声全工己话儿者"
    "向情部正名定女问力机给等几很业最间新什打便位因重被走电四第门相次东政海口使教西再平真听世气"
    "信北少关并内加化由却代军产入先山五太水万市眼体别处总才场师书比住员九笑性通目华报立马命张活"
    "放弃抛让喜爱欢苹果菠萝词典查询";

void AppendHanzi(Lcg& rng, std::string& out, std::size_t count) {
  static const std::vector<std::string_view> kChars = [] {
    std::vector<std::string_view> all;
    for (std::size_t i = 0, n = text::CharCount(kHanzi); i < n; ++i) {
      std::size_t from = text::CharOffset(kHanzi, i);
      all.push_back(kHanzi.substr(from, text::CharOffset(kHanzi, i + 1) - from));
    }
    return all;
  }();
  for (std::size_t k = 0; k < count; ++k)
    out += kChars[rng.Next(static_cast<std::uint32_t>(kChars.size()))];
}

}  // namespace

books::WordBook SampleBook(int count) {
  Lcg rng;
  books::WordBook book;
  book.words.resize(static_cast<std::size_t>(count));
  for (books::Word& entry : book.words) {
    std::string& word = entry.english;
    for (std::uint32_t n = 3 + rng.Next(10); n > 0; --n)
      word += kLetters[rng.Next(static_cast<std::uint32_t>(kLetters.size()))];
    std::string& meaning = entry.chinese;
    for (std::uint32_t senses = 1 + rng.Next(3), s = 0; s < senses; ++s) {
      if (s > 0) meaning += "；";
      AppendHanzi(rng, meaning, 2 + rng.Next(3));
    }
  }
  return book;
}

std::size_t CountBlocks(std::string_view result) {
  std::size_t blocks = 0;
  for (std::size_t at = result.find("\r\n\r\n"); at != std::string_view::npos;
       at = result.find("\r\n\r\n", at + 4))
    ++blocks;
  return blocks;
}

}  // namespace bench
