// Which words a round of a game plays, without any control: a group of the loaded book, a
// group of words drawn at random from the whole book, or the words of the learner's journal
// whose time has come; and the book each of them came from.
#pragma once

#include <string>
#include <vector>

#include "books/word_book.h"
#include "progress/journal.h"
#include "shell/book_choice.h"
#include "shell/practice.h"
#include "shell/tally.h"
#include "ui/random.h"

namespace shell {

// A review round is a group's worth of words at most: both fill one round of either game.
static_assert(books::kGroupSize == progress::kReviewRoundSize);

// Which words a review takes: those due now, or, asked for when none is, those due soonest.
enum class Review { Due, Ahead };

class RoundSource {
 public:
  // The groups come from `loaded`, as it stands when one is chosen; it must outlive the source
  // and its copies.
  explicit RoundSource(const LoadedBook& loaded) : loaded_(&loaded) {}

  // The groups of the loaded book are numbered 0 to LastGroup(): group g >= 1 is its g-th run
  // of kGroupSize words (the last one shorter when the book ends inside it), group 0 words
  // drawn at random. 0 without a word.
  int LastGroup() const;

  // Chooses group `group` (-1: none is chosen): group 0 takes kGroupSize words, each drawn
  // from the whole book in turn; another group its run. False, with nothing drawn and the
  // choice as it was, when there is no such group.
  bool ChooseGroup(int group, ui::Random& random);
  // Chooses the journal's words to review (`review` says which they are), in their order.
  // False, and the choice as it was, when there are none.
  bool ChooseReview(std::vector<ReviewWord> words, Review review = Review::Due);
  // The same kind of round once more: the same words to review, or else group `group` chosen
  // anew (drawn again for group 0).
  bool ChooseAgain(int group, ui::Random& random);
  // No round: the learner went back to a list.
  void Drop();

  bool Reviewing() const { return reviewing_; }
  // A review of the words due soonest, none being due.
  bool ReviewingAhead() const { return reviewing_ && review_ == Review::Ahead; }
  // What a round of these words holds: a group's places, or a review's words alone.
  RoundSize Size() const { return reviewing_ ? RoundSize::Words : RoundSize::Group; }
  // The words chosen, in the order the round takes them.
  const std::vector<books::Word>& Words() const { return words_; }
  // The book `word` of the round came from: its own in a review round, else the loaded one.
  const std::string& BookOf(const books::Word& word) const;

 private:
  const LoadedBook* loaded_;
  std::vector<books::Word> words_;
  std::vector<std::string> books_;  // of each review word; empty for a group
  bool reviewing_ = false;
  Review review_ = Review::Due;
};

}  // namespace shell
