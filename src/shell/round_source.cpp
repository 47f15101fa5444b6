#include "shell/round_source.h"

#include <algorithm>
#include <utility>

namespace shell {

using books::kGroupSize;

int RoundSource::LastGroup() const {
  const int count = loaded_->book.Count();
  return count / kGroupSize + (count % kGroupSize != 0 ? 1 : 0);
}

bool RoundSource::ChooseGroup(int group, ui::Random& random) {
  const std::vector<books::Word>& book = loaded_->book.words;
  if (group < 0 || group > LastGroup() || book.empty()) return false;
  words_.clear();
  books_.clear();
  reviewing_ = false;
  if (group == 0) {
    for (int k = 0; k < kGroupSize; ++k)
      words_.push_back(book[static_cast<std::size_t>(random.Below(loaded_->book.Count()))]);
    return true;
  }
  const auto first = static_cast<std::size_t>(group - 1) * kGroupSize;
  const std::size_t end = std::min(first + kGroupSize, book.size());
  words_.assign(book.begin() + static_cast<std::ptrdiff_t>(first),
                book.begin() + static_cast<std::ptrdiff_t>(end));
  return true;
}

bool RoundSource::ChooseReview(std::vector<ReviewWord> words, Review review) {
  if (words.empty()) return false;
  words_.clear();
  books_.clear();
  for (ReviewWord& w : words) {
    words_.push_back(std::move(w.word));
    books_.push_back(std::move(w.book));
  }
  reviewing_ = true;
  review_ = review;
  return true;
}

bool RoundSource::ChooseAgain(int group, ui::Random& random) {
  return reviewing_ || ChooseGroup(group, random);
}

void RoundSource::Drop() {
  words_.clear();
  books_.clear();
  reviewing_ = false;
}

const std::string& RoundSource::BookOf(const books::Word& word) const {
  if (reviewing_) {
    // The journal holds each word once.
    const auto it = std::find(words_.begin(), words_.end(), word);
    if (it != words_.end()) return books_[static_cast<std::size_t>(it - words_.begin())];
  }
  return loaded_->label;
}

}  // namespace shell
